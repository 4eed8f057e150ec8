// The project's life: new, open, save, save as, close, cancel all, the
// changed flag with its confirmation, the caption, and the World's part of
// program start. The main window calls these commands; the dialogs and what
// the window shows are reached through the small interfaces below, so the
// commands run the same in the window program, the command-line tool and
// tests.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/messages.h"
#include "model/path_text.h"
#include "model/world.h"
#include "project/temp_folders.h"

namespace velo {

// The file state of the open project.
struct Project {
    // Full path of the project's file; the untitled project path while the
    // project has never been saved.
    std::filesystem::path CurrentPath;
    bool ReadOnly = false;  // opened read-only: Save behaves as Save As
    std::string AuthorText;  // "Автор и другая информация", at most 80 characters
    std::filesystem::path LastFolder;  // where the open and save dialogs start
    std::filesystem::path BackgroundFolder;   // where the background picture dialog starts
    std::filesystem::path DescriptionFolder;  // where the description dialog starts
    bool RestoreEnabled = false;  // "Стартовые условия" is available
};

// What the file properties window edits, kept for its step of the history:
// the author text and the attached description, its extension and the bytes
// of its working copy.
struct FileInformation {
    std::string AuthorText;
    std::string DescriptionExt;
    std::optional<std::vector<std::uint8_t>> Description;  // nothing: no working copy

    friend bool operator==(const FileInformation&, const FileInformation&) = default;
};

struct FileOpenChoice {
    std::filesystem::path Path;
    bool ReadOnly = false;  // the dialog's read-only box
};

// The file dialogs. An empty answer means the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Filters "Имитация механической системы" (*.qvs) and "Все файлы" (*.*).
    virtual std::optional<FileOpenChoice> ChooseFileToOpen(const std::string& title,
                                                           const std::filesystem::path& folder) = 0;
    // Filter "Имитация механической системы" (*.qvs), overwrite confirmation.
    virtual std::optional<std::filesystem::path> ChooseFileToSave(
        const std::string& title, const std::filesystem::path& folder) = 0;
    // The scenes of a celestial project ("Экспорт", "Импорт"): filter
    // "Сцена небесной механики" (*.json). Choosers without such filters
    // offer their simulation dialogs.
    virtual std::optional<std::filesystem::path> ChooseSceneToOpen(const std::string& title,
                                                                   const std::filesystem::path& folder) {
        const std::optional<FileOpenChoice> choice = ChooseFileToOpen(title, folder);
        if (!choice) return std::nullopt;
        return choice->Path;
    }
    virtual std::optional<std::filesystem::path> ChooseSceneToSave(const std::string& title,
                                                                   const std::filesystem::path& folder) {
        return ChooseFileToSave(title, folder);
    }
};

// What the main window does for the file commands. Every method defaults to
// doing nothing, so tests and the command-line tool override only what they
// look at.
class ProjectWindow {
public:
    virtual ~ProjectWindow() = default;
    virtual void SetEnabled(bool) {}
    virtual void CloseDescriptionViewer() {}
    virtual void ShowStatus(const std::string&) {}
    // The simulated time in the time labels ("T = 0").
    virtual void ShowTime(const std::string&) {}
    virtual void ShowCaption(const std::string&) {}
    // Menus and toolbars of the project kind.
    virtual void ShowProjectKind(int) {}
    virtual void SetRestoreAvailable(bool) {}
    // Full redraw with the selection cleared.
    virtual void Refresh() {}
    // Called before every save of the user's file ("Сохранить", "Сохранить
    // как", never the untitled copy the file properties measure); the
    // window optimises the project here when the setting says so.
    virtual void BeforeSave(World&) {}
    // Starts another instance of the program, with a file when given.
    virtual bool StartInstance(const std::optional<std::filesystem::path>&) { return false; }
    // The system's display title of a file.
    virtual std::string DisplayTitle(const std::filesystem::path& path) {
        return PathText(path.filename());
    }
};

struct LifecycleSettings {
    std::filesystem::path ProgramFolder;  // holds the template "New.qvs"
    std::string CaptionBase = "Моделирование механических систем";
    std::string ReadOnlyMarker = "только чтение";
    // "Неизменный путь доступа к файлам имитаций": the dialogs' folder is
    // not updated after open and save.
    bool KeepFolder = false;
    // "Неизменный путь доступа к графическим файлам": the picture dialog's
    // folder is not updated after a picture was taken.
    bool KeepBackgroundFolder = false;
    // "Создавать при запуске:": ProjectMechanical, ProjectCelestial or
    // ProjectNone.
    int StartKind = ProjectMechanical;
};

inline constexpr const char* SaveChangesQuestion = "Сохранить изменения перед завершением работы с файлом?";
inline constexpr const char* CancelAllQuestion =
    "Отменить все изменения, сделанные с момента последнего сохранения файла?";
inline constexpr const char* LoadingStatus = "Загрузка имитации ...";
inline constexpr const char* OpenDialogTitle = "Открытие имитации";
inline constexpr const char* SaveDialogTitle = "Сохранение имитации";
inline constexpr const char* NewWindowDialogTitle = "Открытие имитации в новом окне";
inline constexpr const char* TimeZeroText = "T = 0";
inline constexpr const char* ExportDialogTitle = "Экспорт системы небесной механики";
inline constexpr const char* ImportDialogTitle = "Импорт системы небесной механики";

// ".qvs" appended when the path holds no "." at all (a dot in a folder name
// counts).
std::filesystem::path WithDefaultExtension(const std::filesystem::path& path);

// The command line with one pair of surrounding double quotes removed.
std::string StripQuotes(const std::string& commandLine);

// Author text cut or blank-padded to 80 characters (UTF-8 characters).
std::string AuthorTextOfLength80(const std::string& text);

class Lifecycle {
public:
    Lifecycle(World& world, Project& project, const TempFolders& folders, Messenger& messenger,
              FileChooser& chooser, ProjectWindow& window, LifecycleSettings settings);

    World& TheWorld() { return world_; }
    Project& TheProject() { return project_; }
    const TempFolders& Folders() const { return folders_; }
    const LifecycleSettings& Settings() const { return settings_; }
    // The fixed folders of "Общие настройки" act at once.
    void KeepFolders(bool simulations, bool pictures) {
        settings_.KeepFolder = simulations;
        settings_.KeepBackgroundFolder = pictures;
    }

    // The caption's texts of the chosen language.
    void SetCaptionTexts(std::string base, std::string readOnlyMarker) {
        settings_.CaptionBase = std::move(base);
        settings_.ReadOnlyMarker = std::move(readOnlyMarker);
    }

    // Asks to save a changed mechanical project; false when the replacing
    // command must stop (Cancel, or a save that did not happen).
    bool ConfirmCloseFile();

    void NewMechanicalProject();  // "Механическая система"
    void NewCelestialProject();   // "Система небесной механики"
    void DiffractionDemonstration();
    bool Open();  // "Открыть", with the dialog; true when a file was read
    // Open of a chosen path, after the dialog. A missing path says "Файл не
    // найден" and changes nothing.
    bool OpenPath(const std::filesystem::path& path, bool readOnlyBox);
    bool Save();    // "Сохранить"; true only when the file was written
    bool SaveAs();  // "Сохранить как"; false when cancelled or not written
    void Close();   // "Закрыть"
    void CancelAll();  // "Отменить всё"
    void NewWindow();  // "Создать": another instance of the program
    void OpenInNewWindow();  // "Открытие имитации в новом окне"

    // Start point and recovery.
    void SetStartPoint();  // also "Точка отсчёта"
    void Restore();        // "Стартовые условия"
    // The automatic copy written when a run starts; the run goes on
    // whatever happens here. Returns the path written, if any. Only a
    // mechanical project has a file form: other kinds write nothing.
    std::optional<std::filesystem::path> Autosave(std::chrono::system_clock::time_point now);

    // "Свойства": an untitled project is first saved to the untitled path,
    // so that the window can show a size. Returns the file size in bytes.
    std::optional<std::uintmax_t> PrepareFileProperties();
    // "Выбрать описание": copies the document to the description copy. A
    // document that cannot be copied, or whose name has no extension to
    // tell its type, is refused with a message and the old description
    // stays.
    bool ChooseDescription(const std::filesystem::path& document);
    // The background picture of the project: a copy of `picture` becomes the
    // picture saved with the project; an empty path takes it away. A picture
    // that cannot be copied is reported and the old one stays.
    bool StoreBackground(const std::filesystem::path& picture);
    // "Применять текущие параметры для всех новых проектов": writes the
    // units, materials, parameters and ZeroSupport of the World as the
    // template "New.qvs" in the program's folder. A failure is reported and
    // leaves the old template as it was.
    bool WriteTemplate();
    // The author text and the description as they are now, and back again
    // (the working copy rewritten or removed); putting marks the project
    // changed.
    FileInformation CurrentFileInformation() const;
    void PutFileInformation(const FileInformation& information);

    // "Экспорт" of a celestial project: its parameters, T and bodies as a
    // JSON scene in a file the user chooses (".json" appended to a name
    // without any dot). True when written; a failure is reported and leaves
    // an older file untouched.
    bool ExportCelestialScene();
    // "Импорт": asks for a JSON scene and reads it into a World of its own;
    // nothing when cancelled or refused (the reason reported). The caller
    // puts the scene into the World.
    std::unique_ptr<World> ReadCelestialSceneToImport();

    // Switches ProjectKind (ignored above 3) and shows its menus.
    void SwitchProjectKind(int kind);
    // Every editing command marks the project changed through this.
    void MarkChanged() { world_.Changed = true; }

    std::string Caption() const;
    void RefreshCaption();

    // The World's part of program start: folders, defaults, then the file
    // named on the command line or the project kind of the settings.
    // Returns false when the temporary folders could not be made (the
    // message was shown; the program runs on without a start point).
    bool ProgramStart(const std::string& commandLine);
    // The World's part of program end: the instance folders are removed.
    void ProgramEnd();

    bool IsUntitled() const;

private:
    void NewMechanicalProjectUnconfirmed();
    bool ReadFile(const std::filesystem::path& path);
    bool WriteFile(const std::filesystem::path& path);
    void RememberFolder(const std::filesystem::path& path);
    void RemoveWorkingCopies();
    void SetRestoreEnabled(bool enabled);

    World& world_;
    Project& project_;
    TempFolders folders_;
    Messenger& messenger_;
    FileChooser& chooser_;
    ProjectWindow& window_;
    LifecycleSettings settings_;
};

}  // namespace velo
