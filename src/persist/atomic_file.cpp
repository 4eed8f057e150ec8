#include "persist/atomic_file.h"

#include <optional>
#include <system_error>

namespace velo {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up.
constexpr int MaxLinkHops = 40;

constexpr const char* DefaultAdvice = "выберите другую папку или освободите место на диске и сохраните ещё раз";

}  // namespace

std::optional<fs::path> FollowLinks(const fs::path& path) {
    fs::path at = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(at, error))) return at;
        const fs::path link = fs::read_symlink(at, error);
        if (error) return std::nullopt;
        at = link.is_absolute() ? link : at.parent_path() / link;
    }
    return std::nullopt;
}

namespace {

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Temporary files of this target left by interrupted saves: "name.saving",
// and "name.saving1", "name.saving2", ... of earlier versions, which drew a
// new name whenever the old one was taken.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = target.filename().string() + ".saving";
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
        std::error_code ignored;
        const fs::file_type type = it->symlink_status(ignored).type();
        if (type == fs::file_type::regular || type == fs::file_type::symlink) fs::remove(it->path(), ignored);
    }
}

}  // namespace

fs::path TemporaryPathOf(const fs::path& target) {
    fs::path temporary = target;
    temporary += ".saving";
    return temporary;
}

std::string SaveFailure(const fs::path& path, const std::string& reason, const std::string& advice) {
    return "Не удалось сохранить файл " + path.string() + ": " + reason + ". Прежний файл не изменён; " +
           (advice.empty() ? std::string(DefaultAdvice) : advice) + ".";
}

AtomicFile::AtomicFile(const fs::path& path) : path_(path) {
    const std::optional<fs::path> target = FollowLinks(path);
    if (!target) {
        Fail("ссылка по этому пути ведёт по кругу или через слишком много других ссылок",
             "исправьте ссылку или сохраните под другим именем");
        return;
    }
    target_ = *target;
    const native::PathFacts facts = native::Inspect(target_);
    switch (facts.Kind) {
    case native::PathKind::Folder:
        Fail("это имя носит папка", "сохраните под другим именем");
        return;
    case native::PathKind::Special:
        Fail("по этому пути находится не обычный файл, а устройство, канал или сокет",
             "сохраните в обычный файл, выбрав другое имя");
        return;
    case native::PathKind::Regular:
        // Writing in place would keep the other names, but a crash half-way
        // would then destroy the only copy; a replacement would leave them
        // with the old content. Neither is a safe save.
        if (facts.Links > 1) {
            Fail("у файла есть и другие имена (жёсткие ссылки), которые замена файла оставила бы со старым "
                 "содержимым",
                 "сохраните под другим именем");
            return;
        }
        break;
    case native::PathKind::Missing:
    case native::PathKind::Unknown:
        if (target_.filename().empty()) {
            Fail("не задано имя файла", "укажите имя файла и сохраните ещё раз");
            return;
        }
        break;
    }
    RemoveStaleTemporaries(target_);
    temporary_ = TemporaryPathOf(target_);
    std::optional<fs::path> model;
    if (facts.Kind == native::PathKind::Regular) model = target_;
    file_ = native::OutputFile::Create(temporary_, model);
    if (!file_.IsOpen()) {
        temporary_.clear();
        Fail("папка недоступна для записи или не существует");
    }
}

AtomicFile::~AtomicFile() {
    if (committed_ || temporary_.empty()) return;
    file_ = native::OutputFile();
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

void AtomicFile::Fail(const std::string& reason, const std::string& advice) {
    if (problem_.empty()) problem_ = SaveFailure(path_, reason, advice);
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (!Ok()) return false;
    if (bytes.empty() || file_.Write(bytes.data(), bytes.size())) return true;
    Fail("запись на диск прервалась");
    return false;
}

bool AtomicFile::Write(std::string_view text) {
    return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

SaveResult AtomicFile::Commit() {
    SaveResult result;
    if (Ok() && !file_.SyncAndClose()) Fail("запись на диск прервалась");
    if (Ok()) {
        std::error_code error;
        fs::rename(temporary_, target_, error);
        if (error) Fail("файл не удалось заменить");
    }
    if (!Ok()) {
        result.Message = problem_;
        return result;
    }
    committed_ = true;
    native::SyncFolder(FolderOf(target_));
    result.Ok = true;
    return result;
}

SaveResult WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file(path);
    file.Write(bytes);
    return file.Commit();
}

SaveResult WriteFileAtomically(const fs::path& path, std::string_view text) {
    AtomicFile file(path);
    file.Write(text);
    return file.Commit();
}

}  // namespace velo
