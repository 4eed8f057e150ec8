// The few file-system calls the save and open routes need beyond the
// standard library: what a path names, a file created with the permissions
// and owner of the one it will replace, a flush to the disk, a synced
// folder, and a bounded read that never opens a pipe or a device.
//
// POSIX calls where the platform has them. Elsewhere the standard library
// stands in: permissions and owner are not copied, the folder is not
// synced, and a path that changes between the check and the open is not
// caught.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

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
    // followed). With a `model`, an existing regular file, the new file
    // gets its permissions and, as far as the process may set them, its
    // owner and group; without one, the permissions of any new file.
    static OutputFile Create(const std::filesystem::path& path,
                             const std::optional<std::filesystem::path>& model);

    bool IsOpen() const;
    bool Write(const void* data, std::size_t size);
    // Everything written reaches the disk, then the file is closed. False
    // when either step failed; the file is closed in any case.
    bool SyncAndClose();

private:
    void Close();

    int descriptor_ = -1;
    std::unique_ptr<std::ofstream> stream_;
};

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
    int descriptor_ = -1;
    std::unique_ptr<std::ifstream> stream_;
    std::uintmax_t size_ = 0;
};

}  // namespace velo::native
