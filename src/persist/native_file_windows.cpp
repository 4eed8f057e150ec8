// The file-system calls of native_file.h on Windows. Paths go to the wide
// (UTF-16) calls; the narrow ones would pass through the ANSI code page.
#include "persist/native_file.h"

#include <string>
#include <utility>
#include <vector>

#include <windows.h>

namespace velo::native {

namespace fs = std::filesystem;

namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

CreateProblem ProblemOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return CreateProblem::Exists;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return CreateProblem::NoFolder;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return CreateProblem::NoPermission;
    case ERROR_WRITE_PROTECT: return CreateProblem::ReadOnlyDisk;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_NOT_ENOUGH_QUOTA: return CreateProblem::NoSpace;
    case ERROR_FILENAME_EXCED_RANGE: return CreateProblem::NameTooLong;
    case ERROR_DIRECTORY: return CreateProblem::Folder;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return CreateProblem::Busy;
    default: return CreateProblem::Other;
    }
}

// A name in the device namespace (\\.\pipe\..., \\.\COM1): opening one
// would connect to a pipe or act on a device.
bool IsDeviceName(const fs::path& path) {
    const std::wstring& text = path.native();
    return text.size() > 4 && (text[0] == L'\\' || text[0] == L'/') && (text[1] == L'\\' || text[1] == L'/') &&
           text[2] == L'.' && (text[3] == L'\\' || text[3] == L'/');
}

// What an open handle is.
PathFacts FactsOf(HANDLE handle) {
    PathFacts facts;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        facts.Kind = PathKind::Special;
        return facts;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information)) {
        facts.Kind = PathKind::Unknown;
        return facts;
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        facts.Kind = PathKind::Folder;
        return facts;
    }
    facts.Kind = PathKind::Regular;
    facts.Size = (std::uintmax_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    facts.Links = information.nNumberOfLinks;
    return facts;
}

bool SetAttributes(HANDLE handle, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // times of 0 stay as they are
    basic.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
    return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) != 0;
}

DWORD AttributesOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes : 0;
}

// The attributes of a file that a replacement keeps.
constexpr DWORD KeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

PathFacts Inspect(const fs::path& path) {
    PathFacts facts;
    if (IsDeviceName(path)) {
        facts.Kind = PathKind::Special;
        return facts;
    }
    // No access asked: the handle only tells what the path is, and opens
    // even a file that another program holds without sharing.
    const HANDLE handle =
        CreateFileW(path.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        facts.Kind = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
                             error == ERROR_INVALID_DRIVE || error == ERROR_BAD_NETPATH
                         ? PathKind::Missing
                         : PathKind::Unknown;
        return facts;
    }
    facts = FactsOf(handle);
    CloseHandle(handle);
    return facts;
}

bool MayWrite(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    // The access list may deny writing too. A file another program holds
    // is writable once it lets go: that is no refusal of rights.
    const HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_DATA, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_ACCESS_DENIED;
    CloseHandle(handle);
    return true;
}

OutputFile OutputFile::Create(const fs::path& path, const std::optional<fs::path>& model) {
    OutputFile file;
    // Without sharing, the file is held from the start: no other program,
    // nor a sweep for abandoned files, can open, rename or remove it until
    // it is closed. DELETE lets the holder rename it.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES |
                                                        FILE_WRITE_ATTRIBUTES,
                                      0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder of that name answers "access denied".
        file.problem_ = error == ERROR_ACCESS_DENIED && Inspect(path).Kind == PathKind::Folder ? CreateProblem::Exists
                                                                                               : ProblemOf(error);
        return file;
    }
    file.handle_ = FromHandle(handle);
    file.path_ = path;
    if (model && Inspect(*model).Kind == PathKind::Regular) file.model_ = *model;
    return file;
}

void OutputFile::TakeModelRights() {
    if (!IsOpen() || !model_) return;
    const DWORD modelAttributes = GetFileAttributesW(model_->c_str());
    if (modelAttributes == INVALID_FILE_ATTRIBUTES) return;
    const HANDLE handle = AsHandle(handle_);
    const DWORD attributes = (AttributesOf(handle) & ~KeptAttributes) | (modelAttributes & KeptAttributes);
    SetAttributes(handle, attributes);
}

bool OutputFile::RemoveWriteRights(const fs::path&) {
    if (!IsOpen()) return false;
    const HANDLE handle = AsHandle(handle_);
    return SetAttributes(handle, (AttributesOf(handle) & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_READONLY);
}

bool OutputFile::Write(const void* data, std::size_t size) {
    if (!IsOpen()) return false;
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? DWORD{1u << 30} : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), at, chunk, &written, nullptr)) {
            problem_ = ProblemOf(GetLastError());
            return false;
        }
        // A success that wrote nothing (a full device whose driver says
        // so this way) would loop for ever: it fails the save.
        if (written == 0) {
            problem_ = CreateProblem::Other;
            return false;
        }
        at += written;
        size -= written;
    }
    return true;
}

bool OutputFile::Sync() {
    if (!IsOpen()) return false;
    if (FlushFileBuffers(AsHandle(handle_))) return true;
    problem_ = ProblemOf(GetLastError());
    return false;
}

CreateProblem OutputFile::RenameTo(const fs::path& target) {
    if (!IsOpen()) return CreateProblem::Other;
    // Renamed through the handle, so the file stays held until it has its
    // new name.
    std::error_code error;
    const std::wstring name = fs::absolute(target, error).native();
    if (error) return CreateProblem::Other;
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    if (!SetFileInformationByHandle(AsHandle(handle_), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        const DWORD failure = GetLastError();
        const PathFacts there = Inspect(target);
        if (there.Kind == PathKind::Folder) return CreateProblem::Folder;
        if (failure == ERROR_ACCESS_DENIED && there.Kind == PathKind::Regular) {
            // Refused for a file that another program holds open: it is
            // busy, not forbidden.
            const HANDLE probe =
                CreateFileW(target.c_str(), DELETE, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
            if (probe == INVALID_HANDLE_VALUE) {
                if (GetLastError() == ERROR_SHARING_VIOLATION) return CreateProblem::Busy;
            } else {
                CloseHandle(probe);
            }
        }
        return ProblemOf(failure);
    }
    path_ = target;
    // The new name reaches the disk with the file: Windows has no sync of
    // a folder.
    FlushFileBuffers(AsHandle(handle_));
    return CreateProblem::None;
}

void OutputFile::RemoveAndClose(const fs::path&) {
    if (!IsOpen()) return;
    // Marked for removal through the handle: the name is never free while
    // the file is still there.
    const HANDLE handle = AsHandle(handle_);
    SetAttributes(handle, AttributesOf(handle) & ~FILE_ATTRIBUTE_READONLY);
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
    Close();
}

void OutputFile::Close() {
    if (IsOpen()) CloseHandle(AsHandle(std::exchange(handle_, -1)));
}

bool RemoveAbandoned(const fs::path& path) {
    // Opened without sharing, and only when no save holds the file: a save
    // shares nothing, so this open fails while one writes it. A link is
    // not followed: only the file of that name is removed.
    const HANDLE handle = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const PathFacts facts = FactsOf(handle);
    const DWORD attributes = AttributesOf(handle);
    bool removed = false;
    if (facts.Kind == PathKind::Regular && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // The copy of a killed autosave may already be read-only, which
        // forbids removing it.
        if (attributes & FILE_ATTRIBUTE_READONLY) SetAttributes(handle, attributes & ~FILE_ATTRIBUTE_READONLY);
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        removed = SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != 0;
    }
    CloseHandle(handle);
    return removed;
}

void SyncFolder(const fs::path&) {}

InputFile::~InputFile() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

InputFile::Status InputFile::Open(const fs::path& path) {
    switch (Inspect(path).Kind) {
    case PathKind::Missing: return Status::Missing;
    case PathKind::Folder: return Status::Folder;
    case PathKind::Special: return Status::Special;
    case PathKind::Unknown: return Status::Unreadable;
    case PathKind::Regular: break;
    }
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Status::Missing
                                                                               : Status::Unreadable;
    }
    // The path may have changed between the look and the open.
    const PathFacts facts = FactsOf(handle);
    if (facts.Kind != PathKind::Regular) {
        CloseHandle(handle);
        return facts.Kind == PathKind::Folder ? Status::Folder : Status::Special;
    }
    handle_ = FromHandle(handle);
    size_ = facts.Size;
    return Status::Ok;
}

std::optional<std::size_t> InputFile::Read(void* data, std::size_t size) {
    if (handle_ == -1) return std::nullopt;
    char* at = static_cast<char*>(data);
    std::size_t total = 0;
    while (total < size) {
        const std::size_t left = size - total;
        const DWORD chunk = left > (1u << 30) ? DWORD{1u << 30} : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), at + total, chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        total += got;
    }
    return total;
}

}  // namespace velo::native
