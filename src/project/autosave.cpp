#include "project/autosave.h"

#include <ctime>
#include <system_error>

#include "model/path_text.h"
#include "persist/native_file.h"

namespace velo {

namespace fs = std::filesystem;

namespace {

std::tm LocalTime(std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

// Temporary files of autosave copies whose writing was interrupted. Every
// copy has a name of its own, so the next save never meets them. Other
// instances of the program share the folder: a temporary file is taken for
// debris only when it is older than an hour and no save holds it (earlier
// versions of the program held none).
void RemoveStaleAutosaveTemporaries(const fs::path& folder) {
    const auto before = fs::file_time_type::clock::now() - std::chrono::hours(1);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        if (name.rfind("autosave_", 0) != 0 || name.find(".qvs.saving") == std::string::npos) continue;
        std::error_code ignored;
        if (!it->is_regular_file(ignored) || it->last_write_time(ignored) > before) continue;
        native::RemoveAbandoned(it->path());
    }
}

}  // namespace

fs::path AutosavePath(const fs::path& folder, std::chrono::system_clock::time_point now) {
    const std::tm t = LocalTime(now);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &t);
    const std::string base = std::string("autosave_") + stamp;
    fs::path path = folder / (base + ".qvs");
    std::error_code error;
    // Copies are read-only and never replaced: a second one in the same
    // second gets a numbered name.
    for (int n = 2; fs::exists(path, error); ++n) path = folder / (base + "_" + std::to_string(n) + ".qvs");
    return path;
}

std::optional<fs::path> WriteAutosave(World& world, const fs::path& folder, const QvsSaveOptions& options,
                                      std::chrono::system_clock::time_point now, Messenger& messenger) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        messenger.Show(MessageIcon::Warning, CantAutosaveMessage);
        return std::nullopt;
    }
    RemoveStaleAutosaveTemporaries(folder);
    const fs::path path = AutosavePath(folder, now);
    const bool changed = world.Changed;
    QvsSaveOptions readOnly = options;
    readOnly.ReadOnly = true;
    const SaveResult saved = SaveQvs(world, path, readOnly);
    world.Changed = changed;
    if (!saved.Ok) {
        messenger.Show(MessageIcon::Warning, std::string(CantAutosaveMessage) + "\r" + saved.Message);
        return std::nullopt;
    }
    return path;
}

}  // namespace velo
