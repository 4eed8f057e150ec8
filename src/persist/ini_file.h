// INI text files: the language files beside the program. The rules (the
// README repeats them for translators):
//  - a line "[name]" opens a section; "name = value" sets a key in it;
//  - lines whose first non-blank character is ";" or "#" are comments;
//    lines of any other shape are skipped;
//  - blanks (spaces and tabs) around section names, key names and values are
//    trimmed; one pair of double quotes around a value is removed, so that a
//    value can keep blanks at its ends;
//  - section and key names are compared without regard to case (Latin and
//    Cyrillic letters);
//  - the first of duplicate keys wins; a section repeated later adds its new
//    keys to the first one;
//  - a value longer than 254 characters is cut there;
//  - the text is Windows-1251, or UTF-8 or UTF-16 (little or big endian)
//    when it starts with the byte order mark of one; everything in memory
//    is UTF-8;
//  - a zero byte ends the text (what follows is not text), so a damaged
//    file is read as far as it is readable.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

#include "model/messages.h"

namespace velo {

// A language file is a few kilobytes; anything beyond this is not one.
inline constexpr std::size_t IniFileLimit = 1024 * 1024;
inline constexpr std::size_t IniValueLimit = 254;

class IniFile {
public:
    // Reads the text of a whole file (bytes as stored on the disk).
    static IniFile Parse(const std::string& bytes);

    // Empty when the section or the key is missing or the value is empty.
    std::string Value(const std::string& section, const std::string& key) const;
    bool HasSection(const std::string& section) const;

private:
    // Folded section name -> folded key name -> value.
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

// Folds Latin and Cyrillic capitals of a UTF-8 text to small letters.
std::string FoldCase(const std::string& utf8);

enum class IniLoad { Ok, Missing, NotAFile, Unreadable, TooLarge };

// Reads and parses the file at `path`; `file` is left empty unless Ok.
// Folders, pipes and devices are NotAFile, never opened.
IniLoad LoadIniFile(const std::filesystem::path& path, IniFile& file);

// The message for a file that could not be read. The missing file has its
// own box (MissingIniFileTitle over "<path> not found."); the others say
// why the file was refused.
inline constexpr const char* MissingIniFileTitle = "File Not Found";
std::string MissingIniFileText(const std::filesystem::path& path);
std::string RefusedIniFileText(const std::filesystem::path& path, IniLoad outcome);
// Shows the message of a failed load: the "File Not Found" box, or an
// error box saying why the file was refused.
void ReportIniLoad(const std::filesystem::path& path, IniLoad outcome, Messenger& messenger);

// One value of an INI file, read from the disk on every call: empty when
// the key is missing or empty. A file that cannot be read is reported each
// time and gives empty text.
std::string ReadIniValue(const std::filesystem::path& path, const std::string& section, const std::string& key,
                         Messenger& messenger);

}  // namespace velo
