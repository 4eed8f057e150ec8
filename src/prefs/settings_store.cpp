#include "prefs/settings_store.h"

namespace velo {

std::optional<std::string> MemorySettingsStore::Read(const std::string& name) {
    const auto found = Texts.find(name);
    if (found == Texts.end()) return std::nullopt;
    return found->second;
}

bool MemorySettingsStore::Write(const std::string& name, const std::string& text) {
    if (RefuseWrites) return false;
    Texts[name] = text;
    WriteOrder.push_back(name);
    return true;
}

StartupSettings ReadSettingsAtStart(SettingsStore& store, const std::filesystem::path& programFolder,
                                    const NumberLocale& locale, const UserFolders& user) {
    StartupSettings result;
    store.Write(ReservedSetting, " ");
    for (const SettingDefinition& setting : SettingsTable()) {
        const std::string name = setting.Name;
        const std::optional<std::string> stored =
            setting.Write == SettingWrite::MemoryOnly ? std::nullopt : store.Read(name);
        const std::string text = stored.value_or(std::string());
        if (stored && SettingLength(text) > MaxSettingLength) {
            result.Notes.push_back("Параметр \"" + name + "\" длиннее " + std::to_string(MaxSettingLength) +
                                   " символов: взято значение по умолчанию.");
        } else if (stored) {
            std::string how;
            result.Values[name] = ReadSettingText(setting, WithoutTrailingNul(text), locale, &how);
            if (!how.empty()) result.Notes.push_back(how);
            continue;
        }
        const std::string fallback = DefaultSettingText(setting, programFolder, user);
        result.Values[name] = ReadSettingText(setting, fallback, locale);
        const bool defaulted = setting.Write == SettingWrite::AtStart || setting.Write == SettingWrite::AtExit;
        if (defaulted && SettingLength(fallback) < MaxSettingLength) store.Write(name, fallback + '\0');
    }
    return result;
}

bool WriteSetting(SettingsStore& store, const SettingDefinition& setting, const SettingValue& value) {
    const std::string text = SettingText(setting, value);
    if (SettingLength(text) > MaxSettingLength) return false;
    return store.Write(setting.Name, text);
}

void WriteFoldersAtExit(SettingsStore& store, const SettingValues& values) {
    for (const char* name : {"Backgrounds", "Imitations", "Descriptions"}) {
        const auto found = values.find(name);
        if (found == values.end()) continue;
        const auto* folder = std::get_if<std::string>(&found->second);
        if (!folder) continue;
        const std::size_t first = folder->find_first_not_of(' ');
        const std::string trimmed = first == std::string::npos ? std::string() : folder->substr(first);
        WriteSetting(store, *FindSetting(name), trimmed);
    }
}

}  // namespace velo
