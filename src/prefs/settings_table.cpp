#include "prefs/settings_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "forms/time_scale.h"

namespace velo {
namespace {

using enum SettingType;
using enum SettingWrite;

// The stored settings come first, in the order of the start-up reading:
// on a first start the defaults are written in this order.
constexpr std::array Table = {
    SettingDefinition{"Language", Text, "Русский", AtStart},
    SettingDefinition{"EncryptTempFiles", Boolean, "False", AtStart},
    SettingDefinition{"Backgrounds", Text, DefaultBackgroundsFolder, AtExit},
    SettingDefinition{"Descriptions", Text, "", AtExit},
    SettingDefinition{"Imitations", Text, "", AtExit},
    SettingDefinition{"Grid", Boolean, "False", AtStart},
    SettingDefinition{"Pipeline", Integer, "100", AtStart},
    SettingDefinition{"Latency", Byte, "0", AtStart},
    SettingDefinition{"StartImitType", Byte, "1", AtStart},
    SettingDefinition{"MiddleMouseKey", Byte, "1", AtStart},
    SettingDefinition{"BallSize", Byte, "2", AtStart},
    SettingDefinition{"Optimize", Boolean, "True", AtStart},
    SettingDefinition{"InvertNavigation", Boolean, "False", AtStart},
    SettingDefinition{"SelectNullHand", Boolean, "False", AtStart},
    SettingDefinition{"AllowMoving", Boolean, "True", AtStart},
    SettingDefinition{"NoCreateMarkedObjects", Boolean, "False", AtStart},
    SettingDefinition{"NoChangeB", Boolean, "False", AtStart},
    SettingDefinition{"NoChangeI", Boolean, "False", AtStart},
    SettingDefinition{"NoChangeM", Boolean, "False", AtStart},
    SettingDefinition{"NoChangeR", Boolean, "False", AtStart},
    SettingDefinition{"UseGDI+", Boolean, "True", AtStart},
    // The appearance: written by its window, read back when present; until
    // then the menus and windows start from these defaults.
    SettingDefinition{"ShowExitProg", Boolean, "False", WrittenOnly},
    SettingDefinition{"ShowExitFile", Boolean, "True", WrittenOnly},
    SettingDefinition{"ShowSeparators", Boolean, "True", WrittenOnly},
    SettingDefinition{"TransparentWindows", Boolean, "True", WrittenOnly},
    SettingDefinition{"HideSystemPanel", Boolean, "False", WrittenOnly},
    // For the process only: the drawing of balls, the transparency of the
    // property windows and the fading of windows.
    SettingDefinition{"ShadedBalls", Boolean, "True", MemoryOnly},
    SettingDefinition{"GradientDensity", Real, "0.2", MemoryOnly},
    SettingDefinition{"TransparentLaval", Boolean, "True", MemoryOnly},
    SettingDefinition{"TransparentWallHand", Boolean, "True", MemoryOnly},
    SettingDefinition{"TransparentPlane", Boolean, "True", MemoryOnly},
    SettingDefinition{"TransparentRodExtras", Boolean, "True", MemoryOnly},
    SettingDefinition{"AutoTransparency", Boolean, "True", MemoryOnly},
    SettingDefinition{"FramesOnShow", Integer, "7", MemoryOnly},
    SettingDefinition{"FramesOnHide", Integer, "5", MemoryOnly},
    SettingDefinition{"FramesOnTransparency", Integer, "4", MemoryOnly},
    SettingDefinition{"MaxFrameRate", Integer, "50", MemoryOnly},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    return text.size() == lowerWord.size() &&
           std::equal(text.begin(), text.end(), lowerWord.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

// Whether the text starts (after blanks) with a number: a sign, then a
// digit or a decimal separator followed by a digit. A text without one
// would read as 0, which for the step limit or the middle button is no
// choice the user made.
bool HoldsLeadingNumber(std::string_view text, const NumberLocale& locale) {
    text = Trimmed(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    auto digitAt = [&text](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    if (digitAt(0)) return true;
    for (std::string_view separator : {std::string_view("."), std::string_view(locale.DecimalSeparator)}) {
        if (!separator.empty() && text.starts_with(separator) && digitAt(separator.size())) return true;
    }
    return false;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace

std::span<const SettingDefinition> SettingsTable() { return Table; }

const SettingDefinition* FindSetting(std::string_view name) {
    for (const SettingDefinition& setting : Table) {
        if (name == setting.Name) return &setting;
    }
    return nullptr;
}

std::string DefaultSettingText(const SettingDefinition& setting, const std::filesystem::path& programFolder,
                               const UserFolders& user) {
    const std::string_view name = setting.Name;
    if (name == "Backgrounds" && !user.Pictures.empty()) return SettingTextOfPath(user.Pictures);
    if ((name == "Descriptions" || name == "Imitations") && !user.Documents.empty()) {
        return SettingTextOfPath(user.Documents);
    }
    // Without a program folder (the tests' settings) the dialogs start
    // wherever the system starts them.
    if (name == "Descriptions") return SettingTextOfPath(programFolder);
    if (name == "Imitations") return programFolder.empty() ? std::string() : SettingTextOfPath(programFolder / "Saves");
    return setting.Default;
}

std::string SettingTextOfPath(const std::filesystem::path& folder) {
    const std::u8string text = folder.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathOfSettingText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

SettingValue DefaultSettingValue(const SettingDefinition& setting, const std::filesystem::path& programFolder,
                                 const UserFolders& user) {
    return ReadSettingText(setting, DefaultSettingText(setting, programFolder, user), NumberLocale{});
}

bool ReadBooleanText(std::string_view text) { return EqualsIgnoringCase(Trimmed(text), "true"); }

std::string BooleanText(bool value) { return value ? "True" : "False"; }

std::string NumberText(long long value) { return std::to_string(value); }

int ReadByteNumber(std::string_view text, const NumberLocale& locale) {
    const double whole = std::fabs(std::floor(ParseNumber(text, locale)));
    return whole >= 255.0 ? 255 : static_cast<int>(whole);
}

int ReadStepLimit(std::string_view text, const NumberLocale& locale) {
    const double nearest = std::round(ParseNumber(text, locale));
    return static_cast<int>(std::clamp(nearest, 1.0, double(MaxPipeline)));
}

std::size_t SettingLength(std::string_view text) {
    // Every byte but the continuation bytes (10xxxxxx) starts a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

std::string WithoutTrailingNul(std::string text) {
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

SettingValue ReadSettingText(const SettingDefinition& setting, std::string_view text, const NumberLocale& locale,
                             std::string* how) {
    auto tell = [how, &setting, text](const std::string& taken) {
        if (how) *how = "Параметр " + Quoted(setting.Name) + " содержит " + Quoted(text) + ": " + taken + ".";
    };
    const bool number = setting.Type == SettingType::Byte || setting.Type == SettingType::Integer;
    if (number && !HoldsLeadingNumber(text, locale)) {
        const SettingValue fallback = ReadSettingText(setting, setting.Default, locale);
        tell("в этом тексте нет числа, взято значение по умолчанию " + std::string(setting.Default));
        return fallback;
    }
    switch (setting.Type) {
        case SettingType::Boolean: {
            const bool value = ReadBooleanText(text);
            if (!value && !EqualsIgnoringCase(Trimmed(text), "false")) tell("это не True и не False, взято False");
            return value;
        }
        case SettingType::Byte: {
            const int value = ReadByteNumber(text, locale);
            if (std::to_string(value) != text) tell("взято значение " + std::to_string(value));
            return value;
        }
        case SettingType::Integer: {
            const int value = ReadStepLimit(text, locale);
            if (std::to_string(value) != text) tell("взято значение " + std::to_string(value));
            return value;
        }
        case SettingType::Real: return ParseNumber(text, locale);
        case SettingType::Text: break;
    }
    return std::string(text);
}

std::string SettingText(const SettingDefinition& setting, const SettingValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) return BooleanText(*flag);
    if (const auto* number = std::get_if<int>(&value)) {
        return setting.Type == SettingType::Boolean ? BooleanText(*number != 0) : NumberText(*number);
    }
    if (const auto* real = std::get_if<double>(&value)) return FormatNumber(*real, NumberLocale{".", ""});
    return std::get<std::string>(value);
}

}  // namespace velo
