// velocitronimatics: the window program.
//
// Command line: one simulation file, optionally in double quotes.
// Environment variables for documentation and checks (not for users):
//   VELO_SCREENSHOT=file.png   grab the main window into the file and quit;
//   VELO_SCREENSHOT_RUN=s      run the simulation for s seconds before the
//                              grab, then pause it;
//   VELO_REPORT_STARTUP=1      print the time from start to the shown window.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "editor/main_window.h"
#include "persist/temp_folders.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"

int main(int argc, char** argv) {
    QElapsedTimer startClock;
    startClock.start();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velocitronimatics"));
    QApplication::setApplicationVersion(QStringLiteral("0.8"));

    velo::QtMessenger messenger;
    velo::QtDialogs dialogs;
    velo::MemorySettings settings;
    velo::MainWindowServices services;
    services.Messages = &messenger;
    services.FileDialogs = &dialogs;
    services.Settings = &settings;
    services.ProgramFolder = QApplication::applicationDirPath().toStdString();
    services.Folders = velo::TempFoldersFor(velo::CurrentFolderEnvironment());

    int result = 0;
    {
        velo::frmMain window(services);
        dialogs.SetParent(&window);
        // The whole command line names one file; the shell has already split
        // it at blanks, so the pieces are joined again.
        QStringList pieces = QApplication::arguments().mid(1);
        window.showMaximized();
        window.Startup(pieces.join(QLatin1Char(' ')));
        QApplication::processEvents();
        if (qEnvironmentVariableIsSet("VELO_REPORT_STARTUP")) {
            std::printf("startup to shown: %lld ms\n", static_cast<long long>(startClock.elapsed()));
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
                        grab();
                    });
                    window.RunStop();
                } else {
                    grab();
                }
            });
        }
        result = QApplication::exec();
    }
    velo::RemoveTempFolders(services.Folders);
    return result;
}
