// The per-process working folders: the instance folder that holds the
// untitled project and the start point, the folder of the working copies of
// the embedded background and description, and the folder of the autosave
// copies, which outlives the process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace velo {

// What the folder layout depends on. Filled from the process environment by
// CurrentFolderEnvironment(); tests fill it by hand.
struct FolderEnvironment {
    std::string Temp;        // "TEMP"; empty when unset
    std::string AppData;     // "APPDATA"; empty when unset
    std::string XdgDataHome; // "XDG_DATA_HOME"; empty when unset
    std::string Home;        // "HOME" (or "USERPROFILE"); empty when unset
    std::filesystem::path SystemTemp;  // the system's temporary folder
    long long ProcessId = 0;
};

FolderEnvironment CurrentFolderEnvironment();

struct TempFolders {
    std::filesystem::path TempRoot;         // <TEMP>/Quorvantel, shared by all instances
    std::filesystem::path TempFolder;       // TempRoot/<process id>
    std::filesystem::path ImitationFolder;  // TempFolder/Imitation
    std::filesystem::path AutosaveFolder;   // <APPDATA>/Quorvantel

    // The file name of a project that has never been saved.
    std::filesystem::path UntitledPath() const { return TempFolder / "New.qvs"; }
    std::filesystem::path StartPointPath() const { return TempFolder / "Point"; }
    std::filesystem::path BackgroundPath() const { return ImitationFolder / "Background.bmp"; }
    // "Description." followed by the extension without trailing blanks.
    std::filesystem::path DescriptionPath(const std::string& descriptionExt) const;
    std::filesystem::path GeneratedPictureFolder() const { return TempRoot / "Different"; }
};

// The layout for the given environment. The instance root lies under
// "TEMP", or the system temporary folder when it is unset; the autosave
// folder under "APPDATA", or else the user's data folder
// (XDG_DATA_HOME, ~/.local/share), or the instance root when there is no
// home at all.
TempFolders TempFoldersFor(const FolderEnvironment& environment);

// Creates TempRoot, TempFolder and ImitationFolder where they are missing.
// Returns an empty text on success, otherwise a message naming the folder
// that could not be made; nothing already on disk is touched either way.
std::string CreateTempFolders(const TempFolders& folders);

// Deletes the files of ImitationFolder and then of TempFolder and removes
// both folders. Not recursive: a folder that still holds something (a
// subfolder, a file that cannot be deleted) stays. Errors are ignored.
void RemoveTempFolders(const TempFolders& folders);

// A name for a picture made by the drawing code: GeneratedPictureFolder, a
// random decimal number below 10,000,000 and the extension (with its dot),
// drawn again until no file of that name exists.
std::filesystem::path GeneratedPicturePath(const TempFolders& folders, const std::string& extension,
                                           std::mt19937& random);

// Creates the folders on construction and removes them on destruction, so
// that every way out of the program cleans up.
class TempFoldersSession {
public:
    explicit TempFoldersSession(TempFolders folders);
    ~TempFoldersSession();
    TempFoldersSession(const TempFoldersSession&) = delete;
    TempFoldersSession& operator=(const TempFoldersSession&) = delete;

    const TempFolders& Folders() const { return folders_; }
    // Empty when the folders exist; otherwise what went wrong.
    const std::string& Problem() const { return problem_; }

private:
    TempFolders folders_;
    std::string problem_;
};

}  // namespace velo
