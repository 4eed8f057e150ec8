#include "platform/settings_store_qt.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif
#if defined(VELO_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace velo {

namespace {

// A free name beside the damaged file that no earlier copy carries: the
// date and time, and a counter when two damaged files meet in one second.
QString SetAsideName(const QString& file) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("%1.damaged-%2").arg(file, stamp);
    for (int copy = 2; QFileInfo::exists(name); ++copy) {
        name = QStringLiteral("%1.damaged-%2-%3").arg(file, stamp).arg(copy);
    }
    return name;
}

}  // namespace

std::unique_ptr<QtSettingsStore> QtSettingsStore::ForCurrentUser() {
    auto open = [] {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromUtf8(SettingsOrganisation),
                                           QString::fromUtf8(SettingsApplication));
    };
    std::unique_ptr<QSettings> settings = open();
    std::vector<std::string> problems;
    if (settings->status() == QSettings::FormatError) {
        // Qt reads on past a damaged line: every value it understood is
        // kept. The damaged file is set aside for the user (an earlier
        // copy is never overwritten) and a fresh file gets the kept values.
        std::vector<std::pair<QString, QVariant>> kept;
        for (const QString& key : settings->allKeys()) kept.emplace_back(key, settings->value(key));
        const QString file = settings->fileName();
        settings.reset();
        const QString aside = SetAsideName(file);
        const bool moved = QFile::rename(file, aside);
        settings = open();
        if (moved) {
            for (const auto& [key, value] : kept) settings->setValue(key, value);
            settings->sync();
            problems.push_back("Файл настроек " + file.toStdString() + " повреждён. Он сохранён как " +
                               aside.toStdString() + "; прочитанные из него значения (" +
                               std::to_string(kept.size()) +
                               ") перенесены в новый файл, остальные настройки получили значения по умолчанию.");
        } else {
            problems.push_back("Файл настроек " + file.toStdString() +
                               " повреждён и не может быть заменён: в этом сеансе настройки, которые не удалось "
                               "прочитать, получили значения по умолчанию.");
        }
    } else if (settings->status() == QSettings::AccessError) {
        problems.push_back("Настройки в " + settings->fileName().toStdString() +
                           " не удалось открыть: в этом сеансе действуют значения по умолчанию.");
    }
    auto store = std::make_unique<QtSettingsStore>(std::move(settings));
    store->problems_ = std::move(problems);
    return store;
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::InFile(const QString& path) {
    return std::make_unique<QtSettingsStore>(std::make_unique<QSettings>(path, QSettings::IniFormat));
}

SettingsAtStart ReadStartupSettings(std::unique_ptr<QtSettingsStore> store, const std::filesystem::path& programFolder,
                                    const NumberLocale& locale, const UserFolders& user) {
    const QtSettingsStore& read = *store;
    SettingsAtStart result;
    result.Settings = std::make_unique<StoredSettings>(std::move(store), programFolder, locale, user);
    result.Notes = read.Problems();
    const std::vector<std::string>& notes = result.Settings->Notes();
    result.Notes.insert(result.Notes.end(), notes.begin(), notes.end());
    return result;
}

UserFolders DefaultUserFolders(const std::filesystem::path& programFolder) {
    auto location = [](QStandardPaths::StandardLocation where) {
        const QString folder = QStandardPaths::writableLocation(where);
        return folder.isEmpty() ? std::filesystem::path() : std::filesystem::path(folder.toStdU16String());
    };
    UserFolders user;
    const QFileInfo program(QString::fromStdU16String(programFolder.u16string()));
    if (!program.isDir() || !program.isWritable()) user.Documents = location(QStandardPaths::DocumentsLocation);
#if !defined(Q_OS_WIN)
    user.Pictures = location(QStandardPaths::PicturesLocation);
#endif
    return user;
}

void TellSettingsNotes(Messenger& messages, const std::vector<std::string>& notes) {
    if (notes.empty()) return;
    std::string text = "Некоторые настройки программы не удалось прочитать как есть:";
    for (const std::string& note : notes) {
        std::fprintf(stderr, "velocitronimatics: %s\n", note.c_str());
        text += "\n\n" + note;
    }
    messages.Show(MessageIcon::Information, text);
}

QtSettingsStore::QtSettingsStore(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::Location() const { return settings_->fileName(); }

std::optional<std::string> QtSettingsStore::Read(const std::string& name) {
    const QString key = QString::fromStdString(name);
    const QVariant value = settings_->value(key);
    // A stored value Qt cannot load (a type of another program) reads as
    // invalid although the key is there: it is as foreign as a list.
    if (!value.isValid() && !settings_->contains(key)) return std::nullopt;
    switch (value.typeId()) {
        case QMetaType::QString: return value.toString().toStdString();
        case QMetaType::QByteArray: return value.toByteArray().toStdString();
        default:
            problems_.push_back("Параметр \"" + name + "\" хранит значение, которое не является текстом: взято "
                                "значение по умолчанию.");
            return std::nullopt;
    }
}

bool QtSettingsStore::Write(const std::string& name, const std::string& text) {
#if defined(Q_OS_WIN)
    // QSettings keeps a text holding a NUL as binary data; the defaults
    // written at start-up stay registry texts with their NUL inside.
    if (settings_->format() == QSettings::NativeFormat && text.find('\0') != std::string::npos) {
        return WriteRegistryText(name, text);
    }
#endif
    settings_->setValue(QString::fromStdString(name), QString::fromStdString(text));
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

#if defined(Q_OS_WIN)
bool QtSettingsStore::WriteRegistryText(const std::string& name, const std::string& text) {
    settings_->sync();
    const std::wstring keyName = L"SOFTWARE\\" + QString::fromUtf8(SettingsOrganisation).toStdWString() + L"\\" +
                                 QString::fromUtf8(SettingsApplication).toStdWString();
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring valueName = QString::fromStdString(name).toStdWString();
    const std::wstring value = QString::fromStdString(text).toStdWString();
    // The size counts every character of the text, its NUL included, and
    // the terminator the registry expects after it.
    const LONG written = RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

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

bool FolderEncryptionSupported() { return true; }

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

bool FolderEncryptionSupported() { return false; }
void EncryptFolders(const std::vector<std::filesystem::path>&, bool) {}
std::optional<bool> ReadClassicCaptions() { return std::nullopt; }
bool WriteClassicCaptions(bool) { return false; }

#endif

#if defined(VELO_HAVE_XCB) && QT_CONFIG(xcb)
namespace {

// The screen number of the display name ("host:display.screen"), 0 when
// it names none.
int DefaultScreenNumber() {
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    return dot < 0 ? 0 : display.mid(dot + 1).toInt();
}

// A compositing manager owns the selection "_NET_WM_CM_S<screen>" while it
// runs (the window manager conventions).
bool CompositingManagerRunning() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreenNumber());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.constData()),
        nullptr);
    if (!atom) return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool running = owner && owner->owner != XCB_NONE;
    std::free(owner);
    std::free(atom);
    return running;
}

}  // namespace
#endif

bool WindowTransparencySupported() {
    // Qt's window opacity acts on these window systems; on X11 only while a
    // compositing manager runs, without one the window would stay opaque.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
#if defined(VELO_HAVE_XCB) && QT_CONFIG(xcb)
        return CompositingManagerRunning();
#else
        return true;
#endif
    }
    return platform == QLatin1String("windows") || platform == QLatin1String("cocoa");
}

}  // namespace velo
