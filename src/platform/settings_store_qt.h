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

#include "model/messages.h"
#include "platform/settings.h"
#include "prefs/settings_store.h"

class QSettings;

namespace velo {

inline constexpr const char* SettingsOrganisation = "Tessalunder";
inline constexpr const char* SettingsApplication = "Quorvantel";

class QtSettingsStore final : public SettingsStore {
public:
    // The store of the current user. A configuration file with a damaged
    // line is kept beside itself as "<file>.damaged-<date and time>" and a
    // fresh one starts with every value that could be read from it;
    // Problems() then says so.
    static std::unique_ptr<QtSettingsStore> ForCurrentUser();
    // A store in an INI file of its own (the screenshots of the
    // documentation start from the defaults and leave the user's
    // settings alone).
    static std::unique_ptr<QtSettingsStore> InFile(const QString& path);
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
#if defined(Q_OS_WIN)
    // A registry text value written past QSettings (see Write).
    bool WriteRegistryText(const std::string& name, const std::string& text);
#endif
    std::unique_ptr<QSettings> settings_;
    std::vector<std::string> problems_;
};

// The preferences read at start-up with everything that could not be read
// as it was: the store's own problems (a damaged file), the values of the
// wrong type met while reading, and the notes of the value rules. The
// notes are gathered after the values were read, so none is lost.
struct SettingsAtStart {
    std::unique_ptr<StoredSettings> Settings;
    std::vector<std::string> Notes;
};
SettingsAtStart ReadStartupSettings(std::unique_ptr<QtSettingsStore> store, const std::filesystem::path& programFolder,
                                    const NumberLocale& locale, const UserFolders& user = {});

// The folders the file dialogs start in before the user chose any: the
// program's own folder serves for simulations and descriptions only when
// the program may write there, and the picture folder's built-in default
// names a place only on Windows; otherwise the user's documents and
// pictures (empty where the default stands).
UserFolders DefaultUserFolders(const std::filesystem::path& programFolder);

// Tells the user how the preferences were read when some were damaged:
// each note on the error output and all of them in one information box.
// Nothing when the notes are empty.
void TellSettingsNotes(Messenger& messages, const std::vector<std::string>& notes);

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
// Whether EncryptFolders does anything here.
bool FolderEncryptionSupported();

// Whether the window system can show a window semi-transparent (Qt's window
// opacity takes effect).
bool WindowTransparencySupported();

}  // namespace velo
