#include "platform/settings_store_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStringList>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace velo {

std::unique_ptr<QtSettingsStore> QtSettingsStore::ForCurrentUser() {
    auto open = [] {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromUtf8(SettingsOrganisation),
                                           QString::fromUtf8(SettingsApplication));
    };
    std::unique_ptr<QSettings> settings = open();
    std::vector<std::string> problems;
    if (settings->status() == QSettings::FormatError) {
        // The damaged file is kept for the user, and the program starts
        // from the defaults as on a first start.
        const QString file = settings->fileName();
        settings.reset();
        const QString kept = file + QStringLiteral(".damaged");
        QFile::remove(kept);
        if (QFile::rename(file, kept)) {
            problems.push_back("The settings file " + file.toStdString() + " could not be read; it was kept as " +
                               kept.toStdString() + " and the settings start from their defaults.");
        } else {
            problems.push_back("The settings file " + file.toStdString() +
                               " could not be read: the settings of this run start from their defaults.");
        }
        settings = open();
    } else if (settings->status() == QSettings::AccessError) {
        problems.push_back("The settings at " + settings->fileName().toStdString() +
                           " could not be opened: the settings of this run start from their defaults.");
    }
    auto store = std::make_unique<QtSettingsStore>(std::move(settings));
    store->problems_ = std::move(problems);
    return store;
}

QtSettingsStore::QtSettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::Location() const { return settings_->fileName(); }

std::optional<std::string> QtSettingsStore::Read(const std::string& name) {
    const QVariant value = settings_->value(QString::fromStdString(name));
    if (!value.isValid()) return std::nullopt;
    switch (value.typeId()) {
        case QMetaType::QString: return value.toString().toStdString();
        case QMetaType::QByteArray: return value.toByteArray().toStdString();
        default:
            problems_.push_back("\"" + name + "\" holds a value that is not a text: its default is used.");
            return std::nullopt;
    }
}

bool QtSettingsStore::Write(const std::string& name, const std::string& text) {
    settings_->setValue(QString::fromStdString(name), QString::fromStdString(text));
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

#if defined(Q_OS_WIN)
namespace {

const wchar_t* const LayersKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

std::wstring ProgramPath() {
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdWString();
}

std::optional<QString> ReadLayerValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, LayersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    const std::wstring path = ProgramPath();
    const LONG read =
        RegQueryValueExW(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return QString::fromWCharArray(buffer);
}

}  // namespace

void EncryptFolders(const std::vector<std::filesystem::path>& folders, bool encrypt) {
    for (const std::filesystem::path& folder : folders) {
        const std::wstring path = folder.wstring();
        if (encrypt) {
            EncryptFileW(path.c_str());
        } else {
            DecryptFileW(path.c_str(), 0);
        }
    }
}

std::optional<bool> ReadClassicCaptions() {
    const std::optional<QString> value = ReadLayerValue();
    return value && value->contains(QStringLiteral("DISABLETHEMES"), Qt::CaseInsensitive);
}

bool WriteClassicCaptions(bool classic) {
    // The other words of the layer (another compatibility mode, running as
    // administrator) stay as they were.
    QStringList words = ReadLayerValue().value_or(QString()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words.removeIf([](const QString& word) {
        return word.compare(QStringLiteral("DISABLETHEMES"), Qt::CaseInsensitive) == 0 ||
               word.compare(QStringLiteral("ENABLETHEMES"), Qt::CaseInsensitive) == 0;
    });
    words << (classic ? QStringLiteral("DISABLETHEMES") : QStringLiteral("ENABLETHEMES"));
    const std::wstring value = words.join(QLatin1Char(' ')).toStdWString();
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, LayersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring path = ProgramPath();
    const LONG written = RegSetValueExW(key, path.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

#else

void EncryptFolders(const std::vector<std::filesystem::path>&, bool) {}
std::optional<bool> ReadClassicCaptions() { return std::nullopt; }
bool WriteClassicCaptions(bool) { return false; }

#endif

bool WindowTransparencySupported() {
    // Qt's window opacity acts on these window systems; on X11 it needs a
    // compositing manager, without one the window stays opaque and nothing
    // else changes.
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("windows") || platform == QLatin1String("xcb") ||
           platform == QLatin1String("cocoa");
}

}  // namespace velo
