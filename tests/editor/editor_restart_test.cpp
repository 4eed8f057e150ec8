// Restarts of the program: the preferences kept through QSettings in a
// temporary folder, the main window built over them as the program builds
// it, used, closed and built again. What the user chose in the settings
// windows and the language menu is there after the restart.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "editor/main_window.h"
#include "engine/driver.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/settings_store_qt.h"
#include "platform/toolkit_language.h"
#include "windows/number_field.h"

using namespace velo;
namespace fs = std::filesystem;

namespace {

const fs::path ShippedLanguages = fs::path(VELO_SOURCE_DIR) / "data" / "Language";

// One run of the program, from the reading of the preferences to the
// writing of the folders at its end.
struct ProgramRun {
    QtMessenger messenger;
    ScriptedDialogs dialogs;
    ToolkitLanguage toolkit;
    std::unique_ptr<StoredSettings> settings;
    TempFolders folders;
    std::unique_ptr<frmMain> window;

    explicit ProgramRun(const QTemporaryDir& folder) {
        messenger.UseScriptedAnswers(ThreeWayAnswer::No);
        toolkit.Apply("ru");
        settings = std::make_unique<StoredSettings>(QtSettingsStore::ForCurrentUser(),
                                                    folder.filePath("program").toStdString(), NumberLocale{});
        MainWindowServices services;
        services.Messages = &messenger;
        services.FileDialogs = &dialogs;
        services.Settings = settings.get();
        services.Toolkit = &toolkit;
        services.ProgramFolder = folder.filePath("program").toStdString();
        FolderEnvironment environment;
        environment.Temp = folder.filePath("temp").toStdString();
        environment.AppData = folder.filePath("appdata").toStdString();
        environment.ProcessId = 4242;
        folders = TempFoldersFor(environment);
        services.Folders = folders;
        CreateTempFolders(folders);
        window = std::make_unique<frmMain>(services);
        window->Startup(QString());
    }
    ~ProgramRun() {
        window->close();
        window.reset();
        settings->WriteAtExit();
        RemoveTempFolders(folders);
    }

    QString Caption(const char* name) const { return window->Item(QString::fromUtf8(name))->text(); }
    // Opens a settings window from its menu item.
    QDialog* Open(const char* item, const char* name) const {
        window->Item(QString::fromUtf8(item))->trigger();
        return window->findChild<QDialog*>(QString::fromUtf8(name));
    }
    void Choose(const QString& language) const {
        for (QAction* entry : window->Menu(QStringLiteral("mnLang"))->actions()) {
            if (entry->text() == language) return entry->trigger();
        }
        QFAIL(qPrintable(QStringLiteral("no language entry ") + language));
    }
};

QSettings Raw() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tessalunder"),
                     QStringLiteral("Quorvantel"));
}

// The captions of Qt's standard buttons, as a message box shows them.
QStringList StandardButtons() {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    return {box.button(QDialogButtonBox::Cancel)->text(), box.button(QDialogButtonBox::Yes)->text()};
}

bool HasCyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x400 && c.unicode() < 0x530; });
}

// The texts of the main window a user reads that are still Russian: menu
// items and their tips, labels, the panels' lists. The entry of the Russian
// language is named after its file.
QStringList RussianTexts(const frmMain& window) {
    QStringList found;
    auto check = [&found](const QString& where, const QString& text) {
        if (HasCyrillic(text)) found << where + QStringLiteral(": ") + text;
    };
    check(QStringLiteral("caption"), window.windowTitle());
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (!action->isVisible() || action->objectName() == QLatin1String("mnOther")) continue;
        check(action->objectName(), action->text());
        check(action->objectName() + QStringLiteral(" tip"), action->toolTip());
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) check(label->objectName(), label->text());
    for (const QComboBox* list : window.findChildren<QComboBox*>()) {
        for (int k = 0; k < list->count(); ++k) check(list->objectName(), list->itemText(k));
    }
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        check(widget->objectName() + QStringLiteral(" tip"), widget->toolTip());
    }
    return found;
}

// Pictures of the menus of the menu bar when VELO_SHOT_FOLDER names a
// folder, for a look at their layout in another language.
void SaveMenuShots(const frmMain& window) {
    const QString folder = qEnvironmentVariable("VELO_SHOT_FOLDER");
    if (folder.isEmpty()) return;
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu || !top->isVisible()) continue;
        menu->popup(QPoint(0, 0));
        menu->grab().save(folder + QStringLiteral("/menu_") + menu->objectName() + QStringLiteral(".png"));
        menu->hide();
    }
}

}  // namespace

class RestartTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.filePath("settings"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.filePath("settings"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.filePath("settings"));
        const fs::path languages = folder_.filePath("program/Language").toStdString();
        fs::create_directories(languages);
        for (const char* name : {"English.lng", "Русский.lng"}) {
            fs::copy_file(ShippedLanguages / fs::u8path(name), languages / fs::u8path(name));
        }
        // An installed program has its template of new projects.
        auto defaults = std::make_unique<World>();
        DefaultWorld(*defaults);
        SaveQvsTemplate(*defaults, folder_.filePath("program/New.qvs").toStdString());
    }

    void preferencesChosenInTheirWindowsSurviveARestart() {
        {
            ProgramRun first(folder_);
            QVERIFY(!first.window->Item(QStringLiteral("mnGrid"))->isChecked());
            first.window->Item(QStringLiteral("mnGrid"))->trigger();

            QDialog* control = first.Open("mnControl", "frmControl");
            QVERIFY(control);
            control->findChild<QComboBox*>(QStringLiteral("cmbMiddle"))->setCurrentIndex(1);
            control->findChild<QCheckBox*>(QStringLiteral("chkInvert"))->click();
            control->accept();

            QDialog* performance = first.Open("mnPerform", "frmPerformance");
            QVERIFY(performance);
            auto* latency = performance->findChild<NumberField*>(QStringLiteral("Text2"));
            latency->selectAll();
            QTest::keyClicks(latency, QStringLiteral("25"));
            performance->accept();
            QCOMPARE(first.messenger.Records().size(), std::size_t(0));
        }
        QCOMPARE(Raw().value("Latency").toString(), QStringLiteral("25"));

        ProgramRun second(folder_);
        QVERIFY(second.window->Item(QStringLiteral("mnGrid"))->isChecked());
        QCOMPARE(second.settings->Number("MiddleMouseKey"), 2);
        QVERIFY(second.settings->Flag("InvertNavigation"));
        QCOMPARE(int(second.window->driver().Latency), 25);
        // The windows open on the stored values.
        QDialog* control = second.Open("mnControl", "frmControl");
        QCOMPARE(control->findChild<QComboBox*>(QStringLiteral("cmbMiddle"))->currentIndex(), 1);
        QVERIFY(control->findChild<QCheckBox*>(QStringLiteral("chkInvert"))->isChecked());
        control->reject();
        QDialog* performance = second.Open("mnPerform", "frmPerformance");
        QCOMPARE(performance->findChild<NumberField*>(QStringLiteral("Text2"))->text(), QStringLiteral("25"));
        performance->reject();
    }

    void languageChosenFromTheMenuSurvivesARestart() {
        QStringList builtIn;
        QStringList russianButtons;
        {
            ProgramRun first(folder_);
            QCOMPARE(Raw().value("Language").toString(), QStringLiteral("Русский") + QChar(0));
            for (QAction* item : first.window->findChildren<QAction*>()) builtIn << item->text();
            russianButtons = StandardButtons();
            first.Choose(QStringLiteral("English"));
            QCOMPARE(first.Caption("mnFile"), QStringLiteral("&File"));
        }
        QCOMPARE(Raw().value("Language").toString(), QStringLiteral("English"));
        {
            ProgramRun second(folder_);
            QCOMPARE(second.window->windowTitle(), QStringLiteral("Mechanical Systems Simulation"));
            QCOMPARE(second.Caption("mnFile"), QStringLiteral("&File"));
            QCOMPARE(second.Caption("mnGraph"), QStringLiteral("&Graph..."));
            QCOMPARE(second.Caption("mnRunStop"), QStringLiteral("Start Simulation"));
            QCOMPARE(StandardButtons(), QStringList({QStringLiteral("Cancel"), QStringLiteral("&Yes")}));
            QCOMPARE(second.messenger.Records().size(), std::size_t(0));
            QCOMPARE(RussianTexts(*second.window), QStringList());
            SaveMenuShots(*second.window);
            // A ball made and chosen, then a celestial project: the panels
            // name the mode and the object in English too.
            second.window->Item(QStringLiteral("mnBall"))->trigger();
            QTest::mouseClick(second.window->Scene(), Qt::LeftButton, {}, QPoint(300, 300));
            second.window->Item(QStringLiteral("mnSel"))->trigger();
            QTest::mouseClick(second.window->Scene(), Qt::LeftButton, {}, QPoint(300, 300));
            QCOMPARE(second.window->findChild<QLabel*>(QStringLiteral("lblCurrent"))->text(),
                     QStringLiteral("Current object: Ball #1"));
            QCOMPARE(RussianTexts(*second.window), QStringList());
            second.window->Item(QStringLiteral("mnNewH"))->trigger();
            second.window->Item(QStringLiteral("mnHBody"))->trigger();
            QTest::mouseClick(second.window->Scene(), Qt::LeftButton, {}, QPoint(300, 300));
            QCOMPARE(RussianTexts(*second.window), QStringList());
            second.Choose(QStringLiteral("Русский"));
        }
        ProgramRun third(folder_);
        QCOMPARE(third.messenger.Records().size(), std::size_t(0));
        QVERIFY(!RussianTexts(*third.window).isEmpty());
        QStringList shown;
        for (QAction* item : third.window->findChildren<QAction*>()) shown << item->text();
        // The Russian file gives every text as built, so the window is the
        // one of a first start.
        QCOMPARE(shown, builtIn);
        QCOMPARE(third.window->windowTitle(), QStringLiteral("Моделирование механических систем"));
        QCOMPARE(StandardButtons(), russianButtons);
        if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm"))) {
            QCOMPARE(StandardButtons().front(), QStringLiteral("Отмена"));
        }
    }

    void languageEntriesStartWithTheirFileNames() {
        // A language may rename the entries of the language menu; at the
        // next start they are named after their files again.
        std::ofstream(folder_.filePath("program/Language/Test.lng").toStdString())
            << "[MenuItems]\nmnFile=T\nmnOther=Other\n";
        {
            ProgramRun first(folder_);
            first.Choose(QStringLiteral("Test"));
        }
        ProgramRun second(folder_);
        QCOMPARE(second.Caption("mnFile"), QStringLiteral("T"));
        QStringList entries;
        for (QAction* entry : second.window->Menu(QStringLiteral("mnLang"))->actions()) entries << entry->text();
        QCOMPARE(entries, QStringList({QStringLiteral("English"), QStringLiteral("Test"), QStringLiteral("Русский")}));
    }
};

QTEST_MAIN(RestartTest)
#include "editor_restart_test.moc"
