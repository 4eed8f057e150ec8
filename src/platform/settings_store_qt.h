// The preferences' store of the current user through QSettings, organisation
// "Tessalunder" and application "Quorvantel": on Windows the registry key
// SOFTWARE\Tessalunder\Quorvantel of the current user, elsewhere the
// platform's configuration file. Also the other desktop services of the
// settings windows: the compatibility layer's classic window captions and
// whether windows can be made transparent.
#pragma once

#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prefs/settings_store.h"

class QSettings;

namespace velo {

inline constexpr const char* SettingsOrganisation = "Tessalunder";
inline constexpr const char* SettingsApplication = "Quorvantel";

class QtSettingsStore final : public SettingsStore {
public:
    // The store of the current user. A configuration file that cannot be
    // parsed is kept beside itself as "<file>.damaged" and a fresh one is
    // started; Problems() then says so.
    static std::unique_ptr<QtSettingsStore> ForCurrentUser();
    explicit QtSettingsStore(std::unique_ptr<QSettings> settings);
    ~QtSettingsStore() override;

    // A value of another type than text (a list, a number written by
    // another program) counts as missing.
    std::optional<std::string> Read(const std::string& name) override;
    bool Write(const std::string& name, const std::string& text) override;

    // What could not be read: the file as a whole, or a value of the wrong
    // type (one sentence each).
    const std::vector<std::string>& Problems() const { return problems_; }
    QString Location() const;

private:
    std::unique_ptr<QSettings> settings_;
    std::vector<std::string> problems_;
};

// "Классический стиль заголовков окон": on Windows the compatibility layer
// value named by the program's full path holds "DISABLETHEMES". Nothing
// where the system has no such layer.
std::optional<bool> ReadClassicCaptions();
// Writes the layer value, keeping its other words. False when not written.
bool WriteClassicCaptions(bool classic);

// "Разрешить шифрование временных файлов": the file system encrypts the
// instance's temporary folders (or stops encrypting them). Only Windows has
// a call for it; failures are ignored, the folders work either way.
void EncryptFolders(const std::vector<std::filesystem::path>& folders, bool encrypt);

// Whether the window system can show a window semi-transparent (Qt's window
// opacity takes effect).
bool WindowTransparencySupported();

}  // namespace velo
