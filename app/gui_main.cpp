// velocitronimatics: the window program.
//
// Command line: one simulation file, optionally in double quotes.
// Environment variables for documentation and checks (not for users):
//   VELO_SCREENSHOT=file.png   grab the main window into the file and quit;
//   VELO_SCREENSHOT_RUN=s      run the simulation for s seconds before the
//                              grab, then pause it;
//   VELO_REPORT_STARTUP=1      print the time from start to the shown window;
//   VELO_SCREENSHOT_LANGUAGE=n start in the language of "Language/n.lng".
// Either screenshot variable starts from the default settings, kept in a
// temporary folder: the user's own settings are neither read nor changed.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "editor/main_window.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "project/temp_folders.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/settings_store_qt.h"
#include "platform/toolkit_language.h"
#include "platform/window_effects.h"
#include "windows/number_field.h"

namespace {

// A fresh installation has no template for new projects yet (the
// parameters window writes it later): the program's defaults become the
// template, so that a new project does not start with "Файл не найден".
void InstallTemplateWhenMissing(const std::filesystem::path& programFolder) {
    const std::filesystem::path templatePath = programFolder / "New.qvs";
    std::error_code error;
    if (std::filesystem::exists(templatePath, error)) return;
    auto defaults = std::make_unique<velo::World>();
    velo::DefaultWorld(*defaults);
    velo::SaveQvsTemplate(*defaults, templatePath);
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer startClock;
    startClock.start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velocitronimatics"));
    QApplication::setApplicationVersion(QStringLiteral("0.8"));
    // The desktop ties the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("velocitronimatics"));
    // The built-in interface is Russian: the standard dialogs and buttons
    // speak it too when Qt's own translation is installed; the language
    // file chosen at start-up may change that.
    velo::ToolkitLanguage toolkit;
    toolkit.Apply("ru");

    velo::QtMessenger messenger;
    velo::QtDialogs dialogs;
    velo::MainWindowServices services;
    services.ProgramFolder =
        velo::ProgramDataFolder(std::filesystem::path(QApplication::applicationDirPath().toStdU16String()));
    QApplication::setWindowIcon(velo::ProgramIcon(services.ProgramFolder));
    // The preferences of the current user: "Reserved", then every stored
    // setting, a missing one written with its default. A damaged store
    // never stops the program; what was read in its place is told once the
    // main window is up. The screenshots of the documentation start from
    // the defaults in a folder of their own and leave the user's settings
    // as they were.
    const bool screenshot =
        qEnvironmentVariableIsSet("VELO_SCREENSHOT") || qEnvironmentVariableIsSet("VELO_SCREENSHOT_LANGUAGE");
    QTemporaryDir screenshotSettings;
    std::unique_ptr<velo::QtSettingsStore> store =
        screenshot ? velo::QtSettingsStore::InFile(screenshotSettings.filePath(QStringLiteral("settings.ini")))
                   : velo::QtSettingsStore::ForCurrentUser();
    velo::SettingsAtStart startup =
        velo::ReadStartupSettings(std::move(store), services.ProgramFolder, velo::NumberLocaleOf(QLocale()),
                                  velo::DefaultUserFolders(services.ProgramFolder));
    velo::StoredSettings& settings = *startup.Settings;
    const std::vector<std::string>& settingsNotes = startup.Notes;
    services.TransparencySupported = velo::WindowTransparencySupported();
    velo::WindowEffects effects(settings, services.TransparencySupported);
    application.installEventFilter(&effects);
    services.Effects = &effects;
    services.Messages = &messenger;
    services.FileDialogs = &dialogs;
    services.Settings = &settings;
    if (qEnvironmentVariableIsSet("VELO_SCREENSHOT_LANGUAGE")) {
        settings.SetText("Language", qEnvironmentVariable("VELO_SCREENSHOT_LANGUAGE").toUtf8().toStdString());
    }
    services.Toolkit = &toolkit;
    services.Folders = velo::TempFoldersFor(velo::CurrentFolderEnvironment());
    // The temporary folders exist before anything is written into them, so
    // that the encryption chosen in the settings covers every file.
    velo::CreateTempFolders(services.Folders);
    velo::EncryptFolders({services.Folders.TempFolder, services.Folders.ImitationFolder},
                         settings.Flag("EncryptTempFiles"));
    InstallTemplateWhenMissing(services.ProgramFolder);

    int result = 0;
    {
        velo::frmMain window(services);
        dialogs.SetParent(&window);
        // The whole command line names one file; the shell has already split
        // it at blanks, so the pieces are joined again.
        QStringList pieces = QApplication::arguments().mid(1);
        // The main window is always shown maximised; without a window
        // manager (a virtual display) it is given the whole screen itself.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            window.setGeometry(screen->availableGeometry());
        }
        window.showMaximized();
        window.Startup(pieces.join(QLatin1Char(' ')));
        QApplication::processEvents();
        velo::TellSettingsNotes(messenger, settingsNotes);
        if (qEnvironmentVariableIsSet("VELO_REPORT_STARTUP")) {
            std::printf("startup to shown: %lld ms (shown at %lld ms since the epoch)\n",
                        static_cast<long long>(startClock.elapsed()),
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
        }

        const QString shot = qEnvironmentVariable("VELO_SCREENSHOT");
        if (!shot.isEmpty()) {
            const double runSeconds = qEnvironmentVariable("VELO_SCREENSHOT_RUN").toDouble();
            QTimer::singleShot(300, &window, [&window, shot, runSeconds] {
                auto grab = [&window, shot] {
                    window.grab().save(shot);
                    window.world().Changed = false;  // nothing to ask before quitting
                    QApplication::quit();
                };
                if (runSeconds > 0) {
                    QTimer::singleShot(static_cast<int>(runSeconds * 1000), &window, [&window, grab] {
                        if (window.Running()) window.RunStop();
                        // Let the toolbars and menus lay out their paused
                        // state before the picture is taken.
                        QTimer::singleShot(300, &window, grab);
                    });
                    window.RunStop();
                } else {
                    grab();
                }
            });
        }
        result = QApplication::exec();
    }
    settings.WriteAtExit();
    velo::RemoveTempFolders(services.Folders);
    return result;
}
