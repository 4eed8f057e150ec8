#include "platform/settings.h"

namespace velo {
namespace {

const SettingValue& DefaultOf(const std::string& name) {
    static const MemorySettings defaults;
    static const SettingValue none = std::string();
    const auto found = defaults.Values().find(name);
    return found == defaults.Values().end() ? none : found->second;
}

}  // namespace

bool SettingsAccess::Flag(const std::string& name) const {
    const SettingValue& fallback = DefaultOf(name);
    const bool* flag = std::get_if<bool>(&fallback);
    return GetBool(name, flag && *flag);
}

int SettingsAccess::Number(const std::string& name) const {
    const SettingValue& fallback = DefaultOf(name);
    const int* number = std::get_if<int>(&fallback);
    return GetInt(name, number ? *number : 0);
}

double SettingsAccess::Real(const std::string& name) const {
    const SettingValue& fallback = DefaultOf(name);
    const double* real = std::get_if<double>(&fallback);
    return GetDouble(name, real ? *real : 0.0);
}

std::string SettingsAccess::Text(const std::string& name) const {
    const SettingValue& fallback = DefaultOf(name);
    const std::string* text = std::get_if<std::string>(&fallback);
    return GetText(name, text ? *text : std::string());
}

MemorySettings::MemorySettings(const std::filesystem::path& programFolder, const UserFolders& user) {
    for (const SettingDefinition& setting : SettingsTable()) {
        values_[setting.Name] = DefaultSettingValue(setting, programFolder, user);
    }
}

bool MemorySettings::GetBool(const std::string& name, bool fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<bool>(&found->second)) return *value;
    if (auto* value = std::get_if<int>(&found->second)) return *value != 0;
    return fallback;
}

int MemorySettings::GetInt(const std::string& name, int fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<int>(&found->second)) return *value;
    if (auto* value = std::get_if<bool>(&found->second)) return *value ? -1 : 0;
    if (auto* value = std::get_if<double>(&found->second)) return static_cast<int>(*value);
    return fallback;
}

double MemorySettings::GetDouble(const std::string& name, double fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<double>(&found->second)) return *value;
    if (auto* value = std::get_if<int>(&found->second)) return *value;
    return fallback;
}

std::string MemorySettings::GetText(const std::string& name, const std::string& fallback) const {
    auto found = values_.find(name);
    if (found == values_.end()) return fallback;
    if (auto* value = std::get_if<std::string>(&found->second)) return *value;
    return fallback;
}

StoredSettings::StoredSettings(std::unique_ptr<SettingsStore> store, const std::filesystem::path& programFolder,
                               const NumberLocale& locale, const UserFolders& user)
    : store_(std::move(store)), locale_(locale), memory_(programFolder, user) {
    StartupSettings read = ReadSettingsAtStart(*store_, programFolder, locale_, user);
    for (const auto& [name, value] : read.Values) memory_.Put(name, value);
    notes_ = std::move(read.Notes);
}

std::optional<std::string> StoredSettings::Unlisted(const std::string& name) const {
    if (memory_.Has(name)) return std::nullopt;
    std::optional<std::string> text = store_->Read(name);
    if (!text || SettingLength(*text) > MaxSettingLength) return std::nullopt;
    return WithoutTrailingNul(*text);
}

bool StoredSettings::GetBool(const std::string& name, bool fallback) const {
    if (const auto text = Unlisted(name)) return ReadBooleanText(*text);
    return memory_.GetBool(name, fallback);
}

int StoredSettings::GetInt(const std::string& name, int fallback) const {
    if (const auto text = Unlisted(name)) {
        const double value = ParseNumber(*text, locale_);
        return value >= -2147483648.0 && value <= 2147483647.0 ? static_cast<int>(value) : fallback;
    }
    return memory_.GetInt(name, fallback);
}

double StoredSettings::GetDouble(const std::string& name, double fallback) const {
    if (const auto text = Unlisted(name)) return ParseNumber(*text, locale_);
    return memory_.GetDouble(name, fallback);
}

std::string StoredSettings::GetText(const std::string& name, const std::string& fallback) const {
    if (const auto text = Unlisted(name)) return *text;
    return memory_.GetText(name, fallback);
}

void StoredSettings::Set(const std::string& name, const SettingValue& value) {
    memory_.Put(name, value);
    // A failed write leaves the value of this run in memory.
    if (const SettingDefinition* setting = FindSetting(name)) {
        if (setting->Write == SettingWrite::AtStart || setting->Write == SettingWrite::WrittenOnly) {
            WriteSetting(*store_, *setting, value);
        }
        return;
    }
    const SettingDefinition unlisted{"", SettingType::Text, "", SettingWrite::AtStart};
    const std::string text = SettingText(unlisted, value);
    if (SettingLength(text) <= MaxSettingLength) store_->Write(name, text);
}

void StoredSettings::WriteAtExit() { WriteFoldersAtExit(*store_, memory_.Values()); }

}  // namespace velo
