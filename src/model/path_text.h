// File names as text. The program keeps every file name it shows, reads
// from a command line or the environment as UTF-8 on every system. Windows
// names files in UTF-16, and the narrow conversions of std::filesystem
// there go through the ANSI code page, which has no letters for most
// names (a folder "Мои имитации" on an English system) and throws on them:
// these two convert through UTF-8 explicitly, the same on every system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velo {

inline std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace velo
