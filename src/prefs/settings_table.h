// The program's preferences: every setting with its type, its default and
// when it is written, and the text form the values take in the store.
//
// The store keeps texts only. Booleans are "True" and "False" and read as
// true exactly when the text, trimmed of blanks and in lower case, is
// "true"; numbers are decimal text. A value written as a default at
// start-up carries a terminating NUL inside the value, one written later
// does not; reading drops one trailing NUL, so both read the same. A value
// longer than MaxSettingLength counts as missing.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "forms/parse_number.h"

namespace velo {

enum class SettingType {
    Text,
    Boolean,
    Byte,     // read as |floor(x)|, 256 and more giving 255
    Integer,  // read as the nearest integer
    Real,     // kept in memory only
};

enum class SettingWrite {
    AtStart,    // read at start-up, a missing value written with its default; every change written at once
    AtExit,     // read at start-up like AtStart, written again when the program ends
    WrittenOnly,  // written by its window; read back when present, never written as a default
    MemoryOnly,   // lives for the process only
};

struct SettingDefinition {
    const char* Name;
    SettingType Type;
    // The default in the stored text form. Empty for the folders that
    // depend on the program's folder (DefaultSettingText fills them in).
    const char* Default;
    SettingWrite Write;
};

using SettingValue = std::variant<bool, int, double, std::string>;

// Every setting, the stored ones in the order of the start-up reading.
std::span<const SettingDefinition> SettingsTable();
// The definition of a name; nothing for a name the table does not know.
const SettingDefinition* FindSetting(std::string_view name);

// The texts longer than this many characters count as missing and are
// never written.
inline constexpr std::size_t MaxSettingLength = 1024;
// The characters of a UTF-8 text (its code points, not its bytes: a
// Cyrillic folder name takes two bytes a letter).
std::size_t SettingLength(std::string_view text);
// Written as a single blank at every start-up, never read.
inline constexpr const char* ReservedSetting = "Reserved";

// The folder the picture dialog starts in before any picture was chosen.
inline constexpr const char* DefaultBackgroundsFolder =
    "D:\\Documents and Settings\\All Users\\Documents\\My Pictures";

// The user's own folders, for a program that cannot keep its files in its
// own folder (installed read-only) or does not run where the picture
// folder's default names a real place. An empty one leaves the default
// as it is.
struct UserFolders {
    std::filesystem::path Documents;  // descriptions and simulations
    std::filesystem::path Pictures;   // background pictures
};

// The default text of a setting; the folders of descriptions and
// simulations lie in the program's folder, or in the user's documents when
// given.
std::string DefaultSettingText(const SettingDefinition& setting, const std::filesystem::path& programFolder,
                               const UserFolders& user = {});
SettingValue DefaultSettingValue(const SettingDefinition& setting, const std::filesystem::path& programFolder,
                                 const UserFolders& user = {});

// Folders kept as settings: the texts are UTF-8 whatever the system's
// narrow code page, so that a folder with any name survives a restart.
std::string SettingTextOfPath(const std::filesystem::path& folder);
std::filesystem::path PathOfSettingText(const std::string& text);

// The value formats.
bool ReadBooleanText(std::string_view text);
std::string BooleanText(bool value);
std::string NumberText(long long value);
// |floor(x)| of the number read, at most 255.
int ReadByteNumber(std::string_view text, const NumberLocale& locale);
// The nearest integer of the number read, kept within 1 to MaxPipeline (a
// step limit below 1 would make a run that never advances, a huge one a
// program that stops answering).
int ReadStepLimit(std::string_view text, const NumberLocale& locale);
// One trailing NUL dropped.
std::string WithoutTrailingNul(std::string text);

// A stored text as the value of its setting. `how` (when given) receives a
// sentence (in Russian, for the user) when the text was not in the
// setting's own form and was read leniently, telling what value was taken. A
// number setting whose text holds no number at all gets its default.
SettingValue ReadSettingText(const SettingDefinition& setting, std::string_view text, const NumberLocale& locale,
                             std::string* how = nullptr);
// The text a value is stored as (no NUL).
std::string SettingText(const SettingDefinition& setting, const SettingValue& value);

}  // namespace velo
