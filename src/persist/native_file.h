// The few file-system calls the save and open routes need beyond the
// standard library: what a path names, a file created with the permissions
// and owner of the one it will replace and held by its writer while it is
// written, a flush to the disk, a synced folder, and a bounded read that
// never opens a pipe or a device.
//
// POSIX calls on Linux and the like (native_file.cpp), Win32 calls on
// Windows (native_file_windows.cpp). On Windows a file is held by opening
// it without sharing: no other program may open, rename or remove it
// meanwhile. Its rights there are the attributes of the file it replaces
// (read-only, hidden); the access list is the folder's, as for any new
// file. Windows cannot sync a folder: the rename itself is flushed
// through the held file instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velo::native {

enum class PathKind {
    Missing,    // nothing at the path (or a link to nothing)
    Regular,    // a regular file
    Folder,
    Special,    // a pipe, a device or a socket
    Unknown,    // the path cannot be examined (no permission on a folder)
};

struct PathFacts {
    PathKind Kind = PathKind::Missing;
    std::uintmax_t Size = 0;
    std::uintmax_t Links = 0;  // the names of a regular file (hard links)
};

// What `path` names, following symbolic links.
PathFacts Inspect(const std::filesystem::path& path);

// False when the file at `path` exists and this process may not write to
// it (a write-protected file; the superuser may write to any).
bool MayWrite(const std::filesystem::path& path);

// Why a new file could not be created, written or renamed.
enum class CreateProblem {
    None,
    Exists,        // something already has the name
    NoFolder,      // the folder does not exist
    NoPermission,  // the folder may not be written to
    ReadOnlyDisk,
    NoSpace,
    NameTooLong,
    Folder,        // a folder has the name a file should take
    Busy,          // another program holds the file
    Other,
};

// A new file being written.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    ~OutputFile();

    // Creates `path`, which must not exist (a link at the path is not
    // followed), and holds it until it is closed: RemoveAbandoned leaves a
    // held file alone. With a `model`, an existing regular file, the new
    // file stays private to its writer (so that a sweep of this process
    // can still open it, should the writer be killed) until TakeModelRights
    // gives it the model's permissions and owner; without one, it has the
    // permissions of any new file. When nothing was created, Problem says
    // why.
    static OutputFile Create(const std::filesystem::path& path,
                             const std::optional<std::filesystem::path>& model);
    // Gives the file the permissions and, as far as the process may set
    // them, the owner and group its model has now. Called just before the
    // file takes the model's place.
    void TakeModelRights();
    // Takes away every right to write to the file (`path` names it).
    bool RemoveWriteRights(const std::filesystem::path& path);
    // Gives the file the name `target`, replacing what has that name,
    // while it is still held; None when it has the new name.
    CreateProblem RenameTo(const std::filesystem::path& target);

    bool IsOpen() const;
    // Why the file could not be created, or why the last Write or Sync
    // failed.
    CreateProblem Problem() const { return problem_; }
    bool Write(const void* data, std::size_t size);
    // Everything written reaches the disk; the file stays open and held.
    bool Sync();
    // Removes the file from its folder while it is still held, then closes
    // it: no one else can take the name in between.
    void RemoveAndClose(const std::filesystem::path& path);
    void Close();

private:
    // A file descriptor, or a Windows handle; -1 for none on both.
    std::intptr_t handle_ = -1;
    std::filesystem::path path_;
    CreateProblem problem_ = CreateProblem::None;
    std::optional<std::filesystem::path> model_;
};

// Removes `path` when it is a regular file that nobody holds as an
// OutputFile: the temporary file of a save that was killed. A file a save
// in progress holds is left alone. True when the file was removed.
bool RemoveAbandoned(const std::filesystem::path& path);

// Makes a rename inside `folder` survive a power loss.
void SyncFolder(const std::filesystem::path& folder);

// A regular file opened for reading.
class InputFile {
public:
    enum class Status { Ok, Missing, Folder, Special, Unreadable };

    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens `path` only when it names a regular file: a folder, a pipe or a
    // device is reported without being opened, so that a pipe with no
    // writer never blocks the program.
    Status Open(const std::filesystem::path& path);
    std::uintmax_t Size() const { return size_; }
    // Reads up to `size` bytes; fewer at the end of the file. Nothing (an
    // empty optional) on a read error.
    std::optional<std::size_t> Read(void* data, std::size_t size);

private:
    std::intptr_t handle_ = -1;  // as OutputFile's
    std::uintmax_t size_ = 0;
};

// What a bounded read of a whole file found.
enum class ReadOutcome { Ok, Missing, Folder, Special, Unreadable, TooLarge };

// Reads the regular file at `path` whole into `bytes`, as InputFile opens
// it. A file longer than `limit` bytes is TooLarge, told from its size
// before anything is read; one that grows while it is read is still never
// read beyond the limit (which must be below SIZE_MAX). `bytes` is
// cleared on any outcome but Ok.
ReadOutcome ReadWhole(const std::filesystem::path& path, std::size_t limit, std::string& bytes);

}  // namespace velo::native
