#include "project/lifecycle.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "celestial/bodies.h"
#include "model/path_text.h"
#include "model/world_ops.h"
#include "project/autosave.h"
#include "persist/atomic_file.h"
#include "persist/celestial_json.h"
#include "persist/native_file.h"
#include "persist/qvs_file.h"
#include "project/start_point.h"

namespace velo {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t AuthorTextLength = 80;

// A working copy of an embedded file, at most one byte beyond the limit of
// embedded files: a larger picture is then refused by the save with its
// own message instead of being read whole.
std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    native::InputFile in;
    if (in.Open(path) != native::InputFile::Status::Ok) return {};
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uintmax_t>(in.Size(), EmbeddedFileLimit + 1));
    std::vector<std::uint8_t> bytes(wanted);
    const std::optional<std::size_t> got = in.Read(bytes.data(), bytes.size());
    bytes.resize(got.value_or(0));
    return bytes;
}

// Writes the file anew; failures are ignored, like the rest of the working
// copies: the project itself is already in the World.
void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string TrimRight(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

bool HasReadOnlyAttribute(const fs::path& path) {
    std::error_code error;
    const fs::perms perms = fs::status(path, error).permissions();
    return !error && (perms & fs::perms::owner_write) == fs::perms::none;
}

// Number of UTF-8 characters and the byte offset of character `count`.
std::size_t Utf8Offset(const std::string& text, std::size_t count) {
    std::size_t offset = 0;
    for (std::size_t characters = 0; offset < text.size() && characters < count; ++characters) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) ++offset;
    }
    return offset;
}

std::size_t Utf8Length(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

fs::path WithDefaultExtension(const fs::path& path) {
    const std::string text = PathText(path);
    if (text.find('.') != std::string::npos) return path;
    return PathOf(text + ".qvs");
}

std::string StripQuotes(const std::string& commandLine) {
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        return commandLine.substr(1, commandLine.size() - 2);
    return commandLine;
}

std::string AuthorTextOfLength80(const std::string& text) {
    std::string result = text.substr(0, Utf8Offset(text, AuthorTextLength));
    result.append(AuthorTextLength - Utf8Length(result), ' ');
    return result;
}

Lifecycle::Lifecycle(World& world, Project& project, const TempFolders& folders, Messenger& messenger,
                     FileChooser& chooser, ProjectWindow& window, LifecycleSettings settings)
    : world_(world),
      project_(project),
      folders_(folders),
      messenger_(messenger),
      chooser_(chooser),
      window_(window),
      settings_(std::move(settings)) {}

bool Lifecycle::IsUntitled() const {
    return project_.CurrentPath.empty() || project_.CurrentPath == folders_.UntitledPath();
}

void Lifecycle::SetRestoreEnabled(bool enabled) {
    project_.RestoreEnabled = enabled;
    window_.SetRestoreAvailable(enabled);
}

void Lifecycle::RememberFolder(const fs::path& path) {
    if (!settings_.KeepFolder) project_.LastFolder = path.parent_path();
}

void Lifecycle::SwitchProjectKind(int kind) {
    if (kind < 0 || kind > ProjectDiffraction) return;
    world_.ProjectKind = static_cast<std::uint8_t>(kind);
    if (kind == ProjectCelestial) {
        // The celestial view looks at the field centre.
        world_.Params.FieldOriginX = 5000;
        world_.Params.FieldOriginY = 3500;
    }
    window_.ShowProjectKind(kind);
}

bool Lifecycle::ConfirmCloseFile() {
    if (!world_.Changed || world_.ProjectKind != ProjectMechanical) return true;
    switch (messenger_.AskThreeWay(MessageIcon::Question, SaveChangesQuestion)) {
    case ThreeWayAnswer::Yes: return Save();
    case ThreeWayAnswer::No: return true;
    case ThreeWayAnswer::Cancel: break;
    }
    return false;
}

// Open of the simulation file: the World, the project kind and the working
// copies of the embedded files. Returns true when the file's project was read.
bool Lifecycle::ReadFile(const fs::path& path) {
    QvsOpenResult result = OpenQvs(world_, path, messenger_);
    if (result.Class == QvsFileClass::NotFound || result.Class == QvsFileClass::NotAFile) return false;
    // The World holds another project now, or none: the start point of the
    // one before is not its own, even should the next one not be written.
    SetRestoreEnabled(false);
    switch (result.Class) {
    case QvsFileClass::Celestial:
        ClearWorld(world_);
        SwitchProjectKind(ProjectCelestial);
        world_.T = 0;
        window_.ShowTime(TimeZeroText);
        return false;
    case QvsFileClass::Mechanical:
        break;
    default:
        window_.ShowProjectKind(world_.ProjectKind);
        window_.Refresh();
        return false;
    }
    RemoveWorkingCopies();
    if (!result.Embedded.Background.empty()) {
        window_.ShowStatus("Загрузка фона ...");
        WriteBytes(folders_.BackgroundPath(), result.Embedded.Background);
    }
    if (!result.Embedded.Description.empty()) {
        window_.ShowStatus("Загрузка описания ...");
        WriteBytes(folders_.DescriptionPath(world_.Params.DescriptionExt), result.Embedded.Description);
    }
    window_.ShowStatus("");
    project_.AuthorText = result.AuthorText;
    // A loaded file starts at T = 0, so that the next run records its start
    // point (also when "Отменить всё" reads the file again).
    world_.T = 0;
    window_.ShowTime(TimeZeroText);
    SwitchProjectKind(ProjectMechanical);
    window_.Refresh();
    world_.Changed = false;
    return true;
}

// The working copies of the background and the description belong to the
// project that was open; a new or newly read project starts without them.
void Lifecycle::RemoveWorkingCopies() {
    std::error_code error;
    for (fs::directory_iterator it(folders_.ImitationFolder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        std::error_code ignored;
        if (name == "Background.bmp" || name.rfind("Description.", 0) == 0) fs::remove(it->path(), ignored);
    }
}

bool Lifecycle::WriteFile(const fs::path& path) {
    QvsSaveOptions options;
    options.AuthorText = project_.AuthorText;
    options.Embedded.Background = ReadBytes(folders_.BackgroundPath());
    options.Embedded.Description = ReadBytes(folders_.DescriptionPath(world_.Params.DescriptionExt));
    const SaveResult saved = SaveQvs(world_, path, options);
    if (!saved.Ok) {
        messenger_.Show(MessageIcon::Error, saved.Message);
        return false;
    }
    world_.Changed = false;
    return true;
}

void Lifecycle::NewMechanicalProject() {
    if (!ConfirmCloseFile()) return;
    NewMechanicalProjectUnconfirmed();
}

void Lifecycle::NewMechanicalProjectUnconfirmed() {
    window_.SetEnabled(false);
    window_.CloseDescriptionViewer();
    ClearWorld(world_);
    DefaultWorld(world_);
    project_.AuthorText.clear();
    RemoveWorkingCopies();
    // The template replaces the built-in units, materials and parameters.
    // A missing one has been reported ("Файл не найден"); a template that
    // cannot be read must not leave a half-read World behind.
    if (!ReadFile(settings_.ProgramFolder / "New.qvs")) {
        ClearWorld(world_);
        DefaultWorld(world_);
        SwitchProjectKind(ProjectMechanical);
        window_.Refresh();
    }
    project_.CurrentPath = folders_.UntitledPath();
    project_.ReadOnly = false;
    world_.T = 0;
    window_.ShowTime(TimeZeroText);
    RefreshCaption();
    SetStartPoint();
    window_.SetEnabled(true);
}

void Lifecycle::NewCelestialProject() {
    if (!ConfirmCloseFile()) return;
    window_.SetEnabled(false);
    SetRestoreEnabled(false);
    ClearWorld(world_);
    // The celestial parameters start from their defaults; the vertical view
    // angle is the one set, the horizontal angle and the distance follow.
    world_.Celestial = CelestialParameters{};
    SetViewAngleV(world_.Celestial, world_.Celestial.ViewAngleV);
    SwitchProjectKind(ProjectCelestial);
    world_.T = 0;
    window_.ShowTime(TimeZeroText);
    window_.SetEnabled(true);
}

void Lifecycle::DiffractionDemonstration() {
    if (!ConfirmCloseFile()) return;
    SwitchProjectKind(ProjectDiffraction);
}

bool Lifecycle::Open() {
    if (!ConfirmCloseFile()) return false;
    const std::optional<FileOpenChoice> choice = chooser_.ChooseFileToOpen(OpenDialogTitle, project_.LastFolder);
    if (!choice) return false;
    return OpenPath(choice->Path, choice->ReadOnly);
}

bool Lifecycle::OpenPath(const fs::path& path, bool readOnlyBox) {
    // A path that names no file (nothing, a folder, a pipe) changes nothing.
    if (const std::optional<QvsOpenResult> refused = PathRefusal(path)) {
        messenger_.Show(MessageIcon::Error, refused->Message);
        return false;
    }
    window_.SetEnabled(false);
    window_.ShowStatus(LoadingStatus);
    window_.CloseDescriptionViewer();
    const bool read = ReadFile(path);
    SetStartPoint();
    // A file that was refused must not become the save target: saving the
    // empty World over it would destroy what may still be recovered.
    if (read) {
        project_.CurrentPath = path;
        project_.ReadOnly = readOnlyBox || HasReadOnlyAttribute(path);
    } else {
        project_.CurrentPath = folders_.UntitledPath();
        project_.ReadOnly = false;
    }
    RefreshCaption();
    RememberFolder(path);
    window_.ShowStatus("");
    window_.SetEnabled(true);
    return read;
}

bool Lifecycle::Save() {
    if (IsUntitled() || project_.ReadOnly) return SaveAs();
    window_.BeforeSave(world_);
    window_.SetEnabled(false);
    const bool written = WriteFile(project_.CurrentPath);
    window_.SetEnabled(true);
    return written;
}

bool Lifecycle::SaveAs() {
    const std::optional<fs::path> chosen = chooser_.ChooseFileToSave(SaveDialogTitle, project_.LastFolder);
    if (!chosen || chosen->empty()) return false;
    const fs::path path = WithDefaultExtension(*chosen);
    window_.BeforeSave(world_);
    if (!WriteFile(path)) return false;
    project_.CurrentPath = path;
    RememberFolder(path);
    project_.ReadOnly = false;
    RefreshCaption();
    return true;
}

void Lifecycle::Close() {
    if (!ConfirmCloseFile()) return;
    SetRestoreEnabled(false);
    ClearWorld(world_);
    SwitchProjectKind(ProjectNone);
    window_.Refresh();
}

void Lifecycle::CancelAll() {
    if (!messenger_.AskYesNo(MessageIcon::Question, CancelAllQuestion)) return;
    if (world_.ProjectKind == ProjectMechanical) {
        // The user has just agreed to drop the changes: no second question.
        if (IsUntitled()) {
            NewMechanicalProjectUnconfirmed();
        } else {
            window_.SetEnabled(false);
            ReadFile(project_.CurrentPath);
            window_.SetEnabled(true);
        }
    } else if (world_.ProjectKind == ProjectCelestial) {
        NewCelestialProject();
    }
    SetRestoreEnabled(false);
}

void Lifecycle::NewWindow() { window_.StartInstance(std::nullopt); }

void Lifecycle::OpenInNewWindow() {
    const std::optional<FileOpenChoice> choice =
        chooser_.ChooseFileToOpen(NewWindowDialogTitle, project_.LastFolder);
    if (!choice) return;
    window_.StartInstance(choice->Path);
}

void Lifecycle::SetStartPoint() {
    world_.T = 0;
    window_.ShowTime(TimeZeroText);
    if (world_.ProjectKind != ProjectMechanical) return;
    const bool inUse = project_.RestoreEnabled;
    SetRestoreEnabled(false);
    if (WriteStartPoint(world_, folders_.StartPointPath(), project_.AuthorText, inUse, messenger_))
        SetRestoreEnabled(true);
}

void Lifecycle::Restore() {
    if (!RestoreStartPoint(world_, folders_.StartPointPath(), messenger_)) return;
    window_.Refresh();
    window_.ShowTime(TimeZeroText);
}

std::optional<fs::path> Lifecycle::Autosave(std::chrono::system_clock::time_point now) {
    if (world_.ProjectKind != ProjectMechanical) return std::nullopt;
    QvsSaveOptions options;
    options.AuthorText = project_.AuthorText;
    options.Embedded.Background = ReadBytes(folders_.BackgroundPath());
    options.Embedded.Description = ReadBytes(folders_.DescriptionPath(world_.Params.DescriptionExt));
    return WriteAutosave(world_, folders_.AutosaveFolder, options, now, messenger_);
}

std::optional<std::uintmax_t> Lifecycle::PrepareFileProperties() {
    if (IsUntitled()) {
        project_.CurrentPath = folders_.UntitledPath();
        const bool changed = world_.Changed;
        // The untitled copy is not the user's file: the project stays changed.
        if (!WriteFile(project_.CurrentPath)) return std::nullopt;
        world_.Changed = changed;
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(project_.CurrentPath, error);
    if (error) return std::nullopt;
    return size;
}

bool Lifecycle::ChooseDescription(const fs::path& document) {
    window_.CloseDescriptionViewer();
    const std::string name = PathText(document.filename());
    const std::size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    project_.DescriptionFolder = document.parent_path();
    // The extension is all that tells the description's type; a blank one
    // would mean "no description".
    if (ext.find_first_not_of(' ') == std::string::npos) {
        messenger_.Show(MessageIcon::Error, "У файла " + PathText(document) +
                                                " нет расширения, по которому узнаётся тип описания. "
                                                "Выберите файл HTM, HTML, MHT или TXT.");
        return false;
    }
    // Only a regular file that fits in a simulation file is taken, read
    // whole before the copy is replaced: a refused or failed choice keeps
    // the old description, and the old copy itself may be chosen again.
    const std::string kept = " Описание проекта не изменено.";
    std::string bytes;
    switch (native::ReadWhole(document, static_cast<std::size_t>(EmbeddedFileLimit), bytes)) {
    case native::ReadOutcome::Ok:
        break;
    case native::ReadOutcome::Missing:
        messenger_.Show(MessageIcon::Error, "Файл описания " + PathText(document) + " не найден." + kept);
        return false;
    case native::ReadOutcome::Folder:
    case native::ReadOutcome::Special:
        messenger_.Show(MessageIcon::Error, PathText(document) +
                                                " не обычный файл, а папка, канал или устройство. Выберите файл "
                                                "HTM, HTML, MHT или TXT." + kept);
        return false;
    case native::ReadOutcome::Unreadable:
        messenger_.Show(MessageIcon::Error, "Не удалось прочитать описание " + PathText(document) +
                                                ". Выберите другой файл." + kept);
        return false;
    case native::ReadOutcome::TooLarge:
        messenger_.Show(MessageIcon::Error, "Описание " + PathText(document) +
                                                " больше 64 МБ и не поместится в файл имитации. Выберите описание "
                                                "поменьше." + kept);
        return false;
    }
    const fs::path target = folders_.DescriptionPath(ext);
    const SaveResult copied = WriteFileAtomically(target, std::string_view(bytes));
    if (!copied.Ok) {
        messenger_.Show(MessageIcon::Error, copied.Message);
        return false;
    }
    std::error_code error;
    const fs::path older = folders_.DescriptionPath(world_.Params.DescriptionExt);
    if (older != target) fs::remove(older, error);
    world_.Params.DescriptionExt = ext;
    world_.Changed = true;
    return true;
}

bool Lifecycle::StoreBackground(const fs::path& picture) {
    std::error_code error;
    if (picture.empty()) {
        fs::remove(folders_.BackgroundPath(), error);
        if (error) {
            messenger_.Show(MessageIcon::Error, "Не удалось убрать фоновый рисунок " + PathText(folders_.BackgroundPath()) +
                                                    ": " + error.message() + ". Рисунок остаётся в проекте.");
            return false;
        }
        return true;
    }
    // The picture is copied whole before it replaces the old one, so a
    // failure leaves the project's picture as it was.
    const std::vector<std::uint8_t> bytes = ReadBytes(picture);
    if (bytes.empty()) {
        messenger_.Show(MessageIcon::Error, "Не удалось прочитать рисунок " + PathText(picture) +
                                                ". Выберите другой файл; фон проекта не изменён.");
        return false;
    }
    if (static_cast<std::int64_t>(bytes.size()) > EmbeddedFileLimit) {
        messenger_.Show(MessageIcon::Error, "Рисунок " + PathText(picture) +
                                                " больше 64 МБ и не поместится в файл имитации. Выберите рисунок "
                                                "поменьше; фон проекта не изменён.");
        return false;
    }
    const SaveResult saved = WriteFileAtomically(folders_.BackgroundPath(), bytes);
    if (!saved.Ok) {
        messenger_.Show(MessageIcon::Error, saved.Message);
        return false;
    }
    if (!settings_.KeepBackgroundFolder) project_.BackgroundFolder = picture.parent_path();
    return true;
}

bool Lifecycle::WriteTemplate() {
    const fs::path path = settings_.ProgramFolder / "New.qvs";
    const SaveResult saved = SaveQvsTemplate(world_, path);
    if (!saved.Ok) {
        messenger_.Show(MessageIcon::Error, "Параметры не записаны как шаблон новых проектов. " + saved.Message);
        return false;
    }
    return true;
}

FileInformation Lifecycle::CurrentFileInformation() const {
    FileInformation information;
    information.AuthorText = project_.AuthorText;
    information.DescriptionExt = world_.Params.DescriptionExt;
    const bool blank = information.DescriptionExt.find_first_not_of(' ') == std::string::npos;
    const fs::path copy = folders_.DescriptionPath(information.DescriptionExt);
    std::error_code error;
    if (!blank && fs::is_regular_file(copy, error)) information.Description = ReadBytes(copy);
    return information;
}

void Lifecycle::PutFileInformation(const FileInformation& information) {
    window_.CloseDescriptionViewer();
    const fs::path current = folders_.DescriptionPath(world_.Params.DescriptionExt);
    const fs::path wanted = folders_.DescriptionPath(information.DescriptionExt);
    std::error_code ignored;
    if (current != wanted) fs::remove(current, ignored);
    if (information.Description) {
        WriteBytes(wanted, *information.Description);
    } else {
        fs::remove(wanted, ignored);
    }
    world_.Params.DescriptionExt = information.DescriptionExt;
    project_.AuthorText = information.AuthorText;
    world_.Changed = true;
}

std::string Lifecycle::Caption() const {
    const std::string stem = PathText(project_.CurrentPath.stem());
    if (stem.empty() || stem == "New") return settings_.CaptionBase;
    std::string caption = settings_.CaptionBase + " - " + window_.DisplayTitle(project_.CurrentPath);
    if (project_.ReadOnly) caption += " (" + settings_.ReadOnlyMarker + ")";
    return caption;
}

void Lifecycle::RefreshCaption() { window_.ShowCaption(Caption()); }

bool Lifecycle::ProgramStart(const std::string& commandLine) {
    const std::string problem = CreateTempFolders(folders_);
    if (!problem.empty()) messenger_.Show(MessageIcon::Error, problem);
    DefaultWorld(world_);
    project_.CurrentPath = folders_.UntitledPath();
    const fs::path path = PathOf(TrimRight(StripQuotes(commandLine)));
    std::optional<QvsOpenResult> refused;
    if (!path.empty()) refused = PathRefusal(path);
    // A folder, a pipe or a device is said to be one; then, as when the path
    // names nothing, the project kind of the settings starts.
    if (refused && refused->Class == QvsFileClass::NotAFile) messenger_.Show(MessageIcon::Error, refused->Message);
    if (!path.empty() && !refused) {
        const bool read = ReadFile(path);
        SetStartPoint();
        if (read) {
            project_.CurrentPath = path;
            project_.ReadOnly = HasReadOnlyAttribute(path);
        }
        RefreshCaption();
    } else if (settings_.StartKind == ProjectMechanical) {
        NewMechanicalProjectUnconfirmed();
    } else if (settings_.StartKind == ProjectCelestial) {
        NewCelestialProject();
    } else {
        SwitchProjectKind(ProjectNone);
        RefreshCaption();
    }
    return problem.empty();
}

void Lifecycle::ProgramEnd() { RemoveTempFolders(folders_); }

bool Lifecycle::ExportCelestialScene() {
    const std::optional<fs::path> chosen = chooser_.ChooseSceneToSave(ExportDialogTitle, project_.LastFolder);
    if (!chosen) return false;
    fs::path path = *chosen;
    if (PathText(path).find('.') == std::string::npos) path += ".json";
    const SaveResult saved = SaveCelestialScene(world_, path);
    if (!saved.Ok) {
        messenger_.Show(MessageIcon::Error, saved.Message);
        return false;
    }
    RememberFolder(path);
    return true;
}

std::unique_ptr<World> Lifecycle::ReadCelestialSceneToImport() {
    const std::optional<fs::path> chosen = chooser_.ChooseSceneToOpen(ImportDialogTitle, project_.LastFolder);
    if (!chosen) return nullptr;
    auto scene = std::make_unique<World>();
    const CelestialReadResult read = LoadCelestialScene(*chosen, *scene);
    if (!read.Ok) {
        messenger_.Show(MessageIcon::Error, read.Message);
        return nullptr;
    }
    RememberFolder(*chosen);
    return scene;
}

}  // namespace velo
