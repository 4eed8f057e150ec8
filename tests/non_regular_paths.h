// Paths that name something other than a regular file, which the readers
// and writers must refuse without opening, on every system.
#pragma once

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace velo::test {

// A pipe with no writer, which would block a reader that opened it: made
// at `path` where pipes live in folders; on Windows, where they live in a
// namespace of their own, one of that name there. Empty when none can be
// made.
inline std::filesystem::path MakePipe(const std::filesystem::path& path) {
#ifdef _WIN32
    return std::filesystem::path(L"\\\\.\\pipe\\") / path.filename();
#else
    return mkfifo(path.c_str(), 0644) == 0 ? path : std::filesystem::path();
#endif
}

// A device that reads as empty.
inline std::filesystem::path NullDevice() {
#ifdef _WIN32
    return "NUL";
#else
    return "/dev/null";
#endif
}

// A device that reads without end (Windows has none: its null device).
inline std::filesystem::path EndlessDevice() {
#ifdef _WIN32
    return "NUL";
#else
    return "/dev/zero";
#endif
}

}  // namespace velo::test
