// Saves that respect what is at the path. Every file the program writes for
// the user (simulation files, autosave copies, the start point, the
// command-line tool's JSON and CSV) goes this way:
//  - a symbolic link is followed: the file it names is replaced, the link
//    stays;
//  - a folder, a pipe, a device or a socket at the path is refused, and so
//    is a file with other names (hard links), which a replacement would
//    part from its new content, and a file the process may not write to
//    (write-protected);
//  - the bytes go to a temporary file of its own beside the target,
//    "name.saving" and a number drawn at random, private to its writer
//    while it is written; it takes the target's permissions and owner, is
//    flushed to the disk and renamed over the target, and the folder is
//    synced, so a crash or a power loss leaves either the old file or the
//    new one;
//  - the save holds its temporary file (a lock) until it is renamed or
//    removed. Temporary files of the same target that nobody holds, left
//    by saves that were killed, are removed first; those of a save of the
//    same target going on at the same time (another window, a long run of
//    the command-line tool) are left alone, and each save renames only its
//    own. A failed save removes its own temporary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "persist/native_file.h"
#include "persist/qvs_file.h"

namespace velo {

// The file a save of `path` replaces, its links followed (a link to nothing
// leads to the name the new file will get); nothing for a loop of links.
std::optional<std::filesystem::path> FollowLinks(const std::filesystem::path& path);

// The text of a failed save: the path, the reason and what to do.
std::string SaveFailure(const std::filesystem::path& path, const std::string& reason,
                        const std::string& advice = {});

// A save in progress. The constructor checks the target and creates the
// temporary file; Write appends; Commit puts the file in place. A save that
// is dropped without Commit, or whose Commit fails, removes its temporary
// file and leaves the target as it was.
class AtomicFile {
public:
    explicit AtomicFile(const std::filesystem::path& path);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    bool Ok() const { return problem_.empty(); }
    // The path as the caller named it.
    const std::filesystem::path& Path() const { return path_; }
    // Why the file cannot be saved (a SaveFailure text); empty while Ok.
    const std::string& Problem() const { return problem_; }
    // The file that will be replaced: the path with its links followed.
    const std::filesystem::path& Target() const { return target_; }
    // The file being written; empty when there is none.
    const std::filesystem::path& Temporary() const { return temporary_; }

    bool Write(std::span<const std::uint8_t> bytes);
    bool Write(std::string_view text);
    // The file takes its place already protected against writing: there is
    // no moment in which the new file could be changed.
    void MakeReadOnly() { readOnly_ = true; }
    SaveResult Commit();

private:
    void Fail(const std::string& reason, const std::string& advice = {});

    std::filesystem::path path_;       // as the caller named it, for messages
    std::filesystem::path target_;     // links followed
    std::filesystem::path temporary_;  // beside the target
    native::OutputFile file_;
    std::string problem_;
    bool committed_ = false;
    bool readOnly_ = false;
};

SaveResult WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
SaveResult WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

}  // namespace velo
