#include "project/temp_folders.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "model/path_text.h"

namespace velo {

namespace fs = std::filesystem;

namespace {

std::string EnvironmentValue(const char* name) {
#ifdef _WIN32
    // The narrow environment is in the ANSI code page, which turns the
    // letters of a profile folder outside it into question marks.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    return value ? PathText(fs::path(value)) : std::string();
#else
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
#endif
}

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

// Creates one folder; an existing folder is fine, an existing file of that
// name is not.
bool MakeFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

void RemoveFilesAndFolder(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) || it->is_symlink(ignored)) {
            // A read-only file cannot be removed on every system; make it writable first.
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
            fs::remove(it->path(), ignored);
        }
    }
    fs::remove(folder, error);  // fails, as intended, when something is left in it
}

}  // namespace

FolderEnvironment CurrentFolderEnvironment() {
    FolderEnvironment environment;
    environment.Temp = EnvironmentValue("TEMP");
    environment.AppData = EnvironmentValue("APPDATA");
    environment.XdgDataHome = EnvironmentValue("XDG_DATA_HOME");
    environment.Home = EnvironmentValue("HOME");
    if (environment.Home.empty()) environment.Home = EnvironmentValue("USERPROFILE");
    std::error_code error;
    environment.SystemTemp = fs::temp_directory_path(error);
    if (error) environment.SystemTemp = "/tmp";
#ifdef _WIN32
    environment.ProcessId = _getpid();
#else
    environment.ProcessId = static_cast<long long>(getpid());
#endif
    return environment;
}

TempFolders TempFoldersFor(const FolderEnvironment& environment) {
    TempFolders folders;
    const fs::path temp = environment.Temp.empty() ? environment.SystemTemp : PathOf(environment.Temp);
    folders.TempRoot = temp / "Quorvantel";
    folders.TempFolder = folders.TempRoot / std::to_string(environment.ProcessId);
    folders.ImitationFolder = folders.TempFolder / "Imitation";
    if (!environment.AppData.empty()) {
        folders.AutosaveFolder = PathOf(environment.AppData) / "Quorvantel";
    } else if (!environment.XdgDataHome.empty()) {
        folders.AutosaveFolder = PathOf(environment.XdgDataHome) / "Quorvantel";
    } else if (!environment.Home.empty()) {
        folders.AutosaveFolder = PathOf(environment.Home) / ".local" / "share" / "Quorvantel";
    } else {
        folders.AutosaveFolder = folders.TempRoot / "Autosave";
    }
    return folders;
}

fs::path TempFolders::DescriptionPath(const std::string& descriptionExt) const {
    return ImitationFolder / PathOf("Description." + TrimRight(descriptionExt));
}

std::string CreateTempFolders(const TempFolders& folders) {
    for (const fs::path& folder : {folders.TempRoot, folders.TempFolder, folders.ImitationFolder}) {
        if (!MakeFolder(folder)) {
            return "Не удалось создать временную папку " + PathText(folder) +
                   ". Укажите в переменной окружения TEMP папку, в которую разрешена запись.";
        }
    }
    return {};
}

void RemoveTempFolders(const TempFolders& folders) {
    RemoveFilesAndFolder(folders.ImitationFolder);
    RemoveFilesAndFolder(folders.TempFolder);
}

fs::path GeneratedPicturePath(const TempFolders& folders, const std::string& extension,
                              std::mt19937& random) {
    std::uniform_int_distribution<int> number(0, 9'999'999);
    const fs::path folder = folders.GeneratedPictureFolder();
    MakeFolder(folder);
    for (;;) {
        fs::path candidate = folder / (std::to_string(number(random)) + extension);
        std::error_code error;
        if (!fs::exists(candidate, error)) return candidate;
    }
}

TempFoldersSession::TempFoldersSession(TempFolders folders) : folders_(std::move(folders)) {
    problem_ = CreateTempFolders(folders_);
}

TempFoldersSession::~TempFoldersSession() { RemoveTempFolders(folders_); }

}  // namespace velo
