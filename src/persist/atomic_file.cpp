#include "persist/atomic_file.h"

#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include "model/path_text.h"

namespace velo {

namespace fs = std::filesystem;

namespace {

// As many links as the system itself follows before it gives up.
constexpr int MaxLinkHops = 40;

constexpr const char* DefaultAdvice = "выберите другую папку или освободите место на диске и сохраните ещё раз";

constexpr const char* TemporarySuffix = ".saving";

constexpr const char* WriteBroken = "запись на диск прервалась";

// Names drawn before a save gives up: each is taken only by a file of
// that very name, which a random number almost never meets.
constexpr int MaxNameDraws = 64;

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

// Temporary files of this target that no save holds: "name.saving" and a
// number, left by saves that were killed. Earlier versions of the program
// named them "name.saving", "name.saving1", ..., which the same pattern
// takes. Only regular files are removed: a folder of that name is the
// user's.
void RemoveAbandonedTemporaries(const fs::path& target) {
    const std::string prefix = PathText(target.filename()) + TemporarySuffix;
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(target), error), end; !error && it != end; it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
        native::RemoveAbandoned(it->path());
    }
}

// The reason and the advice of a temporary file that could not be made,
// written or renamed; `otherwise` when the system's reason is none of these.
std::pair<std::string, std::string> CreateFailure(native::CreateProblem problem,
                                                  std::pair<std::string, std::string> otherwise) {
    switch (problem) {
    case native::CreateProblem::NoFolder:
        return {"папки, в которой он должен лежать, нет", "выберите существующую папку и сохраните ещё раз"};
    case native::CreateProblem::NoPermission:
        return {"в эту папку запрещено записывать", "выберите другую папку и сохраните ещё раз"};
    case native::CreateProblem::ReadOnlyDisk:
        return {"диск доступен только для чтения", "выберите папку на другом диске и сохраните ещё раз"};
    case native::CreateProblem::NoSpace:
        return {"на диске не осталось места",
                "освободите место на диске или выберите другой диск и сохраните ещё раз"};
    case native::CreateProblem::NameTooLong:
        return {"имя файла слишком длинное", "сохраните под более коротким именем"};
    case native::CreateProblem::Folder:
        return {"это имя носит папка", "сохраните под другим именем"};
    case native::CreateProblem::Busy:
        return {"файл занят другой программой", "закройте её и сохраните ещё раз или сохраните под другим именем"};
    case native::CreateProblem::Exists:
    case native::CreateProblem::None:
    case native::CreateProblem::Other:
        break;
    }
    return otherwise;
}

}  // namespace

std::string SaveFailure(const fs::path& path, const std::string& reason, const std::string& advice) {
    // Only a file that is there can have been left unchanged.
    const bool kept = native::Inspect(path).Kind == native::PathKind::Regular;
    return "Не удалось сохранить файл " + PathText(path) + ": " + reason +
           (kept ? ". Прежний файл не изменён; " : "; ") + (advice.empty() ? std::string(DefaultAdvice) : advice) +
           ".";
}

AtomicFile::AtomicFile(const fs::path& path) : path_(path) {
    const std::optional<fs::path> target = FollowLinks(path);
    if (!target) {
        Fail("ссылка по этому пути ведёт по кругу или через слишком много других ссылок",
             "исправьте ссылку или сохраните под другим именем");
        return;
    }
    target_ = *target;
    native::PathFacts facts = native::Inspect(target_);
    // Some links lead to no name but straight to an open file: /dev/stdout
    // names the process's output through /proc, "pipe:[...]" when it is a
    // pipe. The system itself still tells what the path opens.
    if (facts.Kind == native::PathKind::Missing) {
        const native::PathFacts opened = native::Inspect(path_);
        if (opened.Kind == native::PathKind::Special || opened.Kind == native::PathKind::Folder) facts = opened;
    }
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
        // The user protected the file; a replacement would ignore that.
        if (!native::MayWrite(target_)) {
            Fail("файл защищён от записи", "снимите с файла защиту от записи или сохраните под другим именем");
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
    RemoveAbandonedTemporaries(target_);
    std::optional<fs::path> model;
    if (facts.Kind == native::PathKind::Regular) model = target_;
    std::random_device numbers;
    for (int draw = 0; draw < MaxNameDraws; ++draw) {
        fs::path temporary = target_;
        temporary += TemporarySuffix + std::to_string(numbers());
        file_ = native::OutputFile::Create(temporary, model);
        if (file_.IsOpen()) {
            temporary_ = std::move(temporary);
            return;
        }
        if (file_.Problem() != native::CreateProblem::Exists) break;
    }
    const auto [reason, advice] =
        CreateFailure(file_.Problem(), {"рядом с ним не удалось создать временный файл", {}});
    Fail(reason, advice);
}

AtomicFile::~AtomicFile() {
    if (committed_ || temporary_.empty()) return;
    file_.RemoveAndClose(temporary_);
}

void AtomicFile::Fail(const std::string& reason, const std::string& advice) {
    if (problem_.empty()) problem_ = SaveFailure(path_, reason, advice);
}

bool AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (!Ok()) return false;
    if (bytes.empty() || file_.Write(bytes.data(), bytes.size())) return true;
    const auto [reason, advice] = CreateFailure(file_.Problem(), {WriteBroken, {}});
    Fail(reason, advice);
    return false;
}

bool AtomicFile::Write(std::string_view text) {
    return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

SaveResult AtomicFile::Commit() {
    SaveResult result;
    // Renamed while still held, so that no sweep takes it in between.
    if (Ok()) file_.TakeModelRights();
    if (Ok() && readOnly_ && !file_.RemoveWriteRights(temporary_)) {
        Fail("файл не удалось защитить от записи", "проверьте права на эту папку и сохраните ещё раз");
    }
    if (Ok() && !file_.Sync()) {
        const auto [reason, advice] = CreateFailure(file_.Problem(), {WriteBroken, {}});
        Fail(reason, advice);
    }
    if (Ok()) {
        const native::CreateProblem renamed = file_.RenameTo(target_);
        if (renamed != native::CreateProblem::None) {
            const auto [reason, advice] = CreateFailure(
                renamed, {"файл не удалось заменить", "сохраните под другим именем или в другую папку"});
            Fail(reason, advice);
        }
    }
    if (!Ok()) {
        result.Message = problem_;
        return result;
    }
    committed_ = true;
    file_.Close();
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
