// File names as text. The program keeps every file name it shows, reads
// from a command line or the environment as UTF-8 on every system. Windows
// names files in UTF-16; how std::filesystem's narrow conversions
// (path::string(), a path made from a std::string) treat them there is up
// to the standard library: MinGW's libstdc++ takes and gives UTF-8, while
// other toolchains go through the ANSI code page, which has no letters for
// most names (a folder "Мои имитации" on an English system). These two
// convert through UTF-8 explicitly, so the program does not depend on it.
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
