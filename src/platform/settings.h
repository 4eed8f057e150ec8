// Access to the program's preferences. The windows and the editor read and
// write them through this interface only. The defaults come from the one
// table of settings (prefs/settings_table.h): MemorySettings starts from
// them, StoredSettings reads the stored values over them at start-up and
// writes every change back.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "prefs/settings_store.h"

namespace velo {

class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;
    virtual bool GetBool(const std::string& name, bool fallback) const = 0;
    virtual int GetInt(const std::string& name, int fallback) const = 0;
    virtual double GetDouble(const std::string& name, double fallback) const = 0;
    virtual std::string GetText(const std::string& name, const std::string& fallback) const = 0;
    virtual void SetBool(const std::string& name, bool value) = 0;
    virtual void SetInt(const std::string& name, int value) = 0;
    virtual void SetDouble(const std::string& name, double value) = 0;
    virtual void SetText(const std::string& name, const std::string& value) = 0;

    // The same, with the table's default as the fallback.
    bool Flag(const std::string& name) const;
    int Number(const std::string& name) const;
    double Real(const std::string& name) const;
    std::string Text(const std::string& name) const;
};

// What "Создавать при запуске:" can choose.
inline constexpr int StartWithMechanical = 1;
inline constexpr int StartWithCelestial = 2;
inline constexpr int StartWithNothing = 0;

class MemorySettings final : public SettingsAccess {
public:
    // Every setting of the table at its default.
    explicit MemorySettings(const std::filesystem::path& programFolder = {}, const UserFolders& user = {});
    bool GetBool(const std::string& name, bool fallback) const override;
    int GetInt(const std::string& name, int fallback) const override;
    double GetDouble(const std::string& name, double fallback) const override;
    std::string GetText(const std::string& name, const std::string& fallback) const override;
    void SetBool(const std::string& name, bool value) override { values_[name] = value; }
    void SetInt(const std::string& name, int value) override { values_[name] = value; }
    void SetDouble(const std::string& name, double value) override { values_[name] = value; }
    void SetText(const std::string& name, const std::string& value) override { values_[name] = value; }

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    const SettingValues& Values() const { return values_; }
    void Put(const std::string& name, const SettingValue& value) { values_[name] = value; }

private:
    SettingValues values_;
};

// The preferences kept in a store: read once at start-up (a missing value
// written with its default), every change by a window written at once, the
// remembered folders written by WriteAtExit.
class StoredSettings final : public SettingsAccess {
public:
    StoredSettings(std::unique_ptr<SettingsStore> store, const std::filesystem::path& programFolder,
                   const NumberLocale& locale, const UserFolders& user = {});

    bool GetBool(const std::string& name, bool fallback) const override;
    int GetInt(const std::string& name, int fallback) const override;
    double GetDouble(const std::string& name, double fallback) const override;
    std::string GetText(const std::string& name, const std::string& fallback) const override;
    void SetBool(const std::string& name, bool value) override { Set(name, value); }
    void SetInt(const std::string& name, int value) override { Set(name, value); }
    void SetDouble(const std::string& name, double value) override { Set(name, value); }
    void SetText(const std::string& name, const std::string& value) override { Set(name, value); }

    // The folders of the picture, description and simulation dialogs.
    void WriteAtExit();
    // How damaged values were read at start-up (empty when all was well).
    const std::vector<std::string>& Notes() const { return notes_; }
    SettingsStore& Store() { return *store_; }

private:
    void Set(const std::string& name, const SettingValue& value);
    // A setting the table does not know, read from the store when asked.
    std::optional<std::string> Unlisted(const std::string& name) const;

    std::unique_ptr<SettingsStore> store_;
    NumberLocale locale_;
    MemorySettings memory_;
    std::vector<std::string> notes_;
};

}  // namespace velo
