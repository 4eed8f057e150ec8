// The reading of the preferences at start-up and their writing, over a
// store of named texts (the registry key of the current user on Windows,
// the platform's configuration file elsewhere; a map in the tests).
//
// A damaged store never stops the program: a value of the wrong kind or
// too long counts as missing and gets its default, a text in the wrong
// form is read by the value rules, and each such reading leaves a note
// saying what was taken.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "prefs/settings_table.h"

namespace velo {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text; nothing when the value is missing or is not a text.
    virtual std::optional<std::string> Read(const std::string& name) = 0;
    // False when the store did not take the value.
    virtual bool Write(const std::string& name, const std::string& text) = 0;
};

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> Read(const std::string& name) override;
    bool Write(const std::string& name, const std::string& text) override;
    std::map<std::string, std::string> Texts;
    // The names in the order they were written.
    std::vector<std::string> WriteOrder;
    bool RefuseWrites = false;
};

using SettingValues = std::map<std::string, SettingValue>;

struct StartupSettings {
    SettingValues Values;  // every setting of the table
    std::vector<std::string> Notes;  // how damaged or odd values were read
};

// The settings side of program start: "Reserved" written as a single
// blank; every stored setting read in the table's order, a missing one
// written as its default followed by a NUL; the appearance values taken
// when present; the in-memory settings at their defaults.
StartupSettings ReadSettingsAtStart(SettingsStore& store, const std::filesystem::path& programFolder,
                                    const NumberLocale& locale, const UserFolders& user = {});

// Writes one value in its text form, without NUL. A text longer than
// MaxSettingLength is not written. False when nothing was written.
bool WriteSetting(SettingsStore& store, const SettingDefinition& setting, const SettingValue& value);

// The program's end: the three remembered folders, leading blanks trimmed.
void WriteFoldersAtExit(SettingsStore& store, const SettingValues& values);

}  // namespace velo
