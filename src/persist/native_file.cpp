#include "persist/native_file.h"

#include <utility>

#ifndef _WIN32
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velo::native {

namespace fs = std::filesystem;

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      path_(std::move(other.path_)),
      problem_(other.problem_),
      model_(std::move(other.model_)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, -1);
        path_ = std::move(other.path_);
        problem_ = other.problem_;
        model_ = std::move(other.model_);
    }
    return *this;
}

OutputFile::~OutputFile() { Close(); }

bool OutputFile::IsOpen() const { return handle_ != -1; }

#ifndef _WIN32

InputFile::~InputFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

namespace {

PathKind KindOf(const struct stat& facts) {
    if (S_ISREG(facts.st_mode)) return PathKind::Regular;
    if (S_ISDIR(facts.st_mode)) return PathKind::Folder;
    return PathKind::Special;
}

// The open file is still the one the path names.
bool StillNamed(int descriptor, const fs::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// The problem a system error number stands for.
CreateProblem ProblemOf(int error) {
    switch (error) {
    case EEXIST: return CreateProblem::Exists;
    case ENOENT:
    case ENOTDIR: return CreateProblem::NoFolder;
    case EACCES:
    case EPERM: return CreateProblem::NoPermission;
    case EROFS: return CreateProblem::ReadOnlyDisk;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return CreateProblem::NoSpace;
    case ENAMETOOLONG: return CreateProblem::NameTooLong;
    case EISDIR: return CreateProblem::Folder;
    case EBUSY:
    case ETXTBSY: return CreateProblem::Busy;
    default: return CreateProblem::Other;
    }
}

}  // namespace

PathFacts Inspect(const fs::path& path) {
    PathFacts result;
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) {
        result.Kind = errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
        return result;
    }
    result.Kind = KindOf(facts);
    result.Size = static_cast<std::uintmax_t>(facts.st_size);
    result.Links = static_cast<std::uintmax_t>(facts.st_nlink);
    return result;
}

bool MayWrite(const fs::path& path) { return ::access(path.c_str(), W_OK) == 0 || errno != EACCES; }

OutputFile OutputFile::Create(const fs::path& path, const std::optional<fs::path>& model) {
    OutputFile file;
    struct stat like {};
    const bool replacing = model && ::stat(model->c_str(), &like) == 0 && S_ISREG(like.st_mode);
    // A file that replaces another stays private while it is written: its
    // content is never open to more people than the target allowed, and a
    // target no one may read (mode 0000) does not make the file one that a
    // later sweep cannot open to remove.
    const mode_t mode = replacing ? 0600 : 0666;
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        file.problem_ = ProblemOf(errno);
        return file;
    }
    // Held from the start. A sweep for abandoned files that opened the new
    // name before this lock holds it now and removes it, or already has:
    // the name is then given up as taken. A file system without locks
    // lets the file be written unheld; the sweep cannot lock there either,
    // so it removes nothing.
    const bool held = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    const bool takenMeanwhile = held ? !StillNamed(descriptor, path) : errno == EWOULDBLOCK || errno == EINTR;
    if (takenMeanwhile) {
        ::close(descriptor);
        file.problem_ = CreateProblem::Exists;
        return file;
    }
    file.handle_ = descriptor;
    file.path_ = path;
    if (replacing) file.model_ = *model;
    return file;
}

void OutputFile::TakeModelRights() {
    struct stat like {};
    if (handle_ < 0 || !model_ || ::stat(model_->c_str(), &like) != 0 || !S_ISREG(like.st_mode)) return;
    struct stat mine {};
    if (::fstat(Descriptor(handle_), &mine) != 0) return;
    if (mine.st_uid != like.st_uid || mine.st_gid != like.st_gid) {
        // Only the superuser may give a file away; others may still keep
        // the group when they belong to it.
        if (::fchown(Descriptor(handle_), like.st_uid, like.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(Descriptor(handle_), static_cast<uid_t>(-1), like.st_gid);
        }
        ::fstat(Descriptor(handle_), &mine);
    }
    mode_t permissions = like.st_mode & 07777;
    // The rights of a group or an owner the new file could not take are
    // not handed to the ones it has.
    if (mine.st_gid != like.st_gid) permissions &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
    if (mine.st_uid != like.st_uid) permissions &= ~static_cast<mode_t>(S_ISUID);
    ::fchmod(Descriptor(handle_), permissions);
}

bool OutputFile::RemoveWriteRights(const fs::path&) {
    struct stat facts {};
    if (handle_ < 0 || ::fstat(Descriptor(handle_), &facts) != 0) return false;
    return ::fchmod(Descriptor(handle_), facts.st_mode & 07555) == 0;
}

bool OutputFile::Write(const void* data, std::size_t size) {
    if (handle_ < 0) return false;
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(Descriptor(handle_), at, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            problem_ = ProblemOf(errno);
            return false;
        }
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool OutputFile::Sync() {
    if (handle_ < 0) return false;
    if (::fsync(Descriptor(handle_)) == 0) return true;
    problem_ = ProblemOf(errno);
    return false;
}

CreateProblem OutputFile::RenameTo(const fs::path& target) {
    if (handle_ < 0) return CreateProblem::Other;
    if (::rename(path_.c_str(), target.c_str()) != 0) return ProblemOf(errno);
    path_ = target;
    return CreateProblem::None;
}

void OutputFile::RemoveAndClose(const fs::path& path) {
    if (handle_ < 0) return;
    ::unlink(path.c_str());
    Close();
}

void OutputFile::Close() {
    if (handle_ >= 0) ::close(static_cast<int>(std::exchange(handle_, -1)));
}

bool RemoveAbandoned(const fs::path& path) {
    // Only a regular file is opened: opening a device may act on it.
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return false;
    int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    // A file that keeps the permissions of a write-only target.
    if (descriptor < 0) descriptor = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return false;
    // The lock is taken only when no save holds the file; removing it under
    // the lock, and only while the name still leads to it, keeps the sweep
    // off any file a save is writing.
    const bool removed = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && StillNamed(descriptor, path) &&
                         ::unlink(path.c_str()) == 0;
    ::close(descriptor);
    return removed;
}

void SyncFolder(const fs::path& folder) {
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    const int descriptor = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    // Some file systems cannot sync a folder; the rename has happened
    // anyway, so there is nothing to report.
    ::fsync(descriptor);
    ::close(descriptor);
}

InputFile::Status InputFile::Open(const fs::path& path) {
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Unreadable;
    }
    if (S_ISDIR(facts.st_mode)) return Status::Folder;
    if (!S_ISREG(facts.st_mode)) return Status::Special;
    // Without blocking: should the path have become a pipe since the
    // check, the open returns at once and the check below refuses it.
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return errno == ENOENT ? Status::Missing : Status::Unreadable;
    if (::fstat(descriptor, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(descriptor);
        return S_ISDIR(facts.st_mode) ? Status::Folder : Status::Special;
    }
    handle_ = descriptor;
    size_ = static_cast<std::uintmax_t>(facts.st_size);
    return Status::Ok;
}

std::optional<std::size_t> InputFile::Read(void* data, std::size_t size) {
    if (handle_ < 0) return std::nullopt;
    char* at = static_cast<char*>(data);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(Descriptor(handle_), at + total, size - total);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) break;
        total += static_cast<std::size_t>(got);
    }
    return total;
}

#endif

ReadOutcome ReadWhole(const fs::path& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    InputFile file;
    switch (file.Open(path)) {
    case InputFile::Status::Missing: return ReadOutcome::Missing;
    case InputFile::Status::Folder: return ReadOutcome::Folder;
    case InputFile::Status::Special: return ReadOutcome::Special;
    case InputFile::Status::Unreadable: return ReadOutcome::Unreadable;
    case InputFile::Status::Ok: break;
    }
    if (file.Size() > limit) return ReadOutcome::TooLarge;
    // One byte more than the size is asked for: a file that has grown since
    // its size was taken is then read on, up to one byte beyond the limit.
    std::size_t wanted = static_cast<std::size_t>(file.Size()) + 1;
    std::size_t have = 0;
    for (;;) {
        bytes.resize(wanted);
        const std::optional<std::size_t> got = file.Read(bytes.data() + have, wanted - have);
        if (!got) {
            bytes.clear();
            return ReadOutcome::Unreadable;
        }
        have += *got;
        if (have < wanted) break;
        if (have > limit) {
            bytes.clear();
            return ReadOutcome::TooLarge;
        }
        wanted = limit + 1;
    }
    bytes.resize(have);
    return ReadOutcome::Ok;
}

}  // namespace velo::native
