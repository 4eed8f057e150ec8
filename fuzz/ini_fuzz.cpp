// libFuzzer target of the INI reader of the language files: any bytes must
// parse; every value of the keys a language file gives is at most
// IniValueLimit characters, found whatever the case of its names, and
// written out again (UTF-8 with its mark, each value in quotes) reads back
// to the very same values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "persist/ini_file.h"
#include "persist/language_file.h"

namespace {

using Key = std::pair<std::string, std::string>;

// The keys the program asks a language file for, and a few in Cyrillic and
// in odd case to try the folding.
const std::vector<Key>& AskedKeys() {
    static const std::vector<Key> keys = [] {
        std::vector<Key> all = {
            {"Language", "IsSlavonicLanguage"}, {"Language", "Locale"},   {"MainWindow", "Caption"},
            {"MainWindow", "ReadOnly"},         {"MainWindow", "StartImit"}, {"MainWindow", "StopImit"},
            {"Objects", "Handhold0"},           {"MenuItems", "mnFile"},  {"MenuItems", "mnOther"},
            {"MenuItems", "mnRunStop"},         {"MenuItems", "mn4"},     {"a", "b"},
            {"Раздел", "Ключ"},                 {"ЁЖИК", "Ёлка"},         {"", ""},
        };
        for (const velo::PanelText& text : velo::PanelTexts) all.emplace_back(text.Section, text.Key);
        return all;
    }();
    return keys;
}

std::size_t Characters(const std::string& utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Latin capitals only, so that the text stays the same length in bytes.
std::string Shouted(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Longer files are refused before they are parsed.
    if (size > velo::IniFileLimit) return 0;
    const velo::IniFile file = velo::IniFile::Parse(std::string(reinterpret_cast<const char*>(data), size));

    std::string written = "\xEF\xBB\xBF";
    std::vector<std::string> values;
    for (const auto& [section, key] : AskedKeys()) {
        std::string value = file.Value(section, key);
        if (Characters(value) > velo::IniValueLimit) __builtin_trap();
        if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) __builtin_trap();
        if (file.Value(Shouted(section), Shouted(key)) != value) __builtin_trap();
        if (velo::FoldCase(velo::FoldCase(key)) != velo::FoldCase(key)) __builtin_trap();
        if (!section.empty() && !key.empty()) {
            written += "[" + section + "]\n" + key + "=\"" + value + "\"\n";
        }
        values.push_back(std::move(value));
    }
    const velo::IniFile again = velo::IniFile::Parse(written);
    std::size_t k = 0;
    for (const auto& [section, key] : AskedKeys()) {
        const std::string& value = values[k++];
        if (!section.empty() && !key.empty() && again.Value(section, key) != value) __builtin_trap();
    }
    return 0;
}
