// The preferences kept through QSettings, in a temporary folder so that the
// user's own settings are never touched: the first start, a restart, a
// damaged file, and the settings the main window acts on at start-up and
// writes when it closes.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "editor/main_window.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/settings_store_qt.h"

using namespace velo;

namespace {

const std::filesystem::path ProgramFolder = "/opt/velo";

// The settings as the program reads them at start-up, with the notes it tells.
std::unique_ptr<StoredSettings> StartProgram(std::vector<std::string>* problems = nullptr) {
    SettingsAtStart startup = ReadStartupSettings(QtSettingsStore::ForCurrentUser(), ProgramFolder, NumberLocale{});
    if (problems) *problems = std::move(startup.Notes);
    return std::move(startup.Settings);
}

// A main window over the given settings, in folders of its own.
struct MainWindowSetup {
    QtMessenger Messenger;
    ScriptedDialogs Dialogs;
    MainWindowServices Services;
    std::unique_ptr<frmMain> Window;

    MainWindowSetup(SettingsAccess& settings, const QTemporaryDir& folder) {
        Messenger.UseScriptedAnswers(ThreeWayAnswer::No);
        Services.Messages = &Messenger;
        Services.FileDialogs = &Dialogs;
        Services.Settings = &settings;
        Services.ProgramFolder = folder.filePath("program").toStdString();
        FolderEnvironment environment;
        environment.Temp = folder.filePath("temp").toStdString();
        environment.AppData = folder.filePath("appdata").toStdString();
        environment.ProcessId = 4242;
        Services.Folders = TempFoldersFor(environment);
        Window = std::make_unique<frmMain>(Services);
    }
    ~MainWindowSetup() {
        Window.reset();
        RemoveTempFolders(Services.Folders);
    }
};

QSettings Raw() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tessalunder"),
                     QStringLiteral("Quorvantel"));
}

}  // namespace

class StoredSettingsTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    void init() {
        // Every test starts on a clean account of its own.
        QVERIFY(folder_.isValid());
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
    }

    void firstStartWritesTheDefaultsWithTheirNul() {
        std::vector<std::string> problems;
        StartProgram(&problems);
        QVERIFY(problems.empty());
        QSettings raw = Raw();
        QVERIFY(raw.fileName().startsWith(folder_.path()));
        QCOMPARE(raw.value("Reserved").toString(), QStringLiteral(" "));
        QCOMPARE(raw.value("Latency").toString(), QStringLiteral("0") + QChar(0));
        QCOMPARE(raw.value("UseGDI+").toString(), QStringLiteral("True") + QChar(0));
        QCOMPARE(raw.value("Language").toString(), QStringLiteral("Русский") + QChar(0));
        QVERIFY(!raw.contains("ShowSeparators"));
    }

    void settingsSurviveARestart() {
        {
            std::unique_ptr<StoredSettings> first = StartProgram();
            first->SetInt("Latency", 20);
            first->SetBool("UseGDI+", false);
            first->SetText("Language", "English");
            first->SetBool("ShowSeparators", false);
            first->SetText("Imitations", "  /home/user/scenes");
            first->SetBool("ShadedBalls", false);  // for this run only
            first->WriteAtExit();
        }
        QCOMPARE(Raw().value("Latency").toString(), QStringLiteral("20"));
        std::unique_ptr<StoredSettings> second = StartProgram();
        QCOMPARE(second->Number("Latency"), 20);
        QVERIFY(!second->Flag("UseGDI+"));
        QCOMPARE(second->Text("Language"), std::string("English"));
        QVERIFY(!second->Flag("ShowSeparators"));
        QCOMPARE(second->Text("Imitations"), std::string("/home/user/scenes"));
        QVERIFY(second->Flag("ShadedBalls"));
    }

    void damagedFileNeverStopsTheProgram_data() {
        QTest::addColumn<QByteArray>("content");
        QByteArray garbage;
        for (int i = 0; i < 4000; ++i) garbage.append(static_cast<char>((i * 7919 + 13) % 256));
        QTest::newRow("garbage bytes") << garbage;
        QTest::newRow("huge value") << QByteArray("[General]\nLatency=") + QByteArray(2'000'000, '7') + "\n";
        QTest::newRow("wrong types") << QByteArray("[General]\nLatency=1, 2\nPipeline=@Variant(\\0\\0\\0\\x7f)\n"
                                                   "Grid=@ByteArray(1)\nBallSize=@Rect(1 2 3 4)\n");
        QTest::newRow("empty values") << QByteArray("[General]\nLatency=\nPipeline=\nGrid=\n");
    }
    void damagedFileNeverStopsTheProgram() {
        QFETCH(QByteArray, content);
        QFile file(Raw().fileName());
        QDir().mkpath(QFileInfo(file).path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        std::vector<std::string> problems;
        std::unique_ptr<StoredSettings> settings = StartProgram(&problems);
        // Each value is its default or what the value rules make of the text.
        const int latency = settings->Number("Latency");
        QVERIFY(latency == 0 || latency == 255);
        QVERIFY(settings->Number("Pipeline") >= 1);
        QVERIFY(!settings->Flag("Grid"));
        QCOMPARE(settings->Number("BallSize"), 2);
        QCOMPARE(settings->Text("Language").empty(), false);
        if (QTest::currentDataTag() != QByteArray("garbage bytes")) QVERIFY(!problems.empty());
        // And the store takes the values of this run.
        settings->SetInt("Latency", 30);
        QCOMPARE(StartProgram()->Number("Latency"), 30);
    }

    // One damaged line loses only itself: the values read around it move
    // into a fresh file, and each damaged file is kept under a name of its
    // own.
    void damagedLineKeepsTheReadableValues() {
        const QString name = Raw().fileName();
        QDir().mkpath(QFileInfo(name).path());
        for (int start = 1; start <= 2; ++start) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[General]\nLatency=20\nLanguage=English\n[General\nGrid=True\n");
            file.close();
            std::vector<std::string> problems;
            std::unique_ptr<StoredSettings> settings = StartProgram(&problems);
            QCOMPARE(settings->Number("Latency"), 20);
            QCOMPARE(settings->Text("Language"), std::string("English"));
            QVERIFY(!problems.empty());
            QVERIFY(QString::fromStdString(problems.front()).contains(QStringLiteral("повреждён")));
            const QStringList aside = QFileInfo(name).dir().entryList({QFileInfo(name).fileName() + ".damaged-*"});
            QCOMPARE(aside.size(), start);
            QSettings fresh = Raw();
            QCOMPARE(fresh.status(), QSettings::NoError);
            QCOMPARE(fresh.value("Latency").toString(), QStringLiteral("20"));
        }
    }

    // An installed program cannot keep simulations in its own folder, and
    // the picture folder's built-in default names nothing off Windows.
    void foldersOfAnInstalledProgramAreTheUsers() {
        const std::filesystem::path writable = folder_.filePath("program").toStdString();
        std::filesystem::create_directories(writable);
        const UserFolders portable = DefaultUserFolders(writable);
        QVERIFY(portable.Documents.empty());
        const UserFolders installed = DefaultUserFolders(folder_.filePath("missing").toStdString());
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(QString::fromStdU16String(installed.Documents.u16string()), documents);
#if !defined(Q_OS_WIN)
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        QCOMPARE(QString::fromStdU16String(portable.Pictures.u16string()), pictures);
#endif
    }

    // What was read in place of damaged values is told once, in Russian.
    void damagedValuesAreToldInOneBox() {
        QtMessenger messenger;
        messenger.UseScriptedAnswers();
        TellSettingsNotes(messenger, {});
        QVERIFY(messenger.Records().empty());
        {
            QSettings raw = Raw();
            raw.setValue("Pipeline", QStringLiteral("abc"));
            raw.setValue("Grid", QStringLiteral("yes"));
        }
        std::vector<std::string> notes;
        std::unique_ptr<StoredSettings> settings = StartProgram(&notes);
        QCOMPARE(settings->Number("Pipeline"), 100);
        TellSettingsNotes(messenger, notes);
        QCOMPARE(messenger.Records().size(), std::size_t(1));
        const QString text = QString::fromStdString(messenger.Records()[0].Text);
        QCOMPARE(messenger.Records()[0].Icon, MessageIcon::Information);
        QVERIFY(text.contains(QStringLiteral("\"Pipeline\"")) && text.contains(QStringLiteral("\"Grid\"")));
        QVERIFY(text.contains(QStringLiteral("по умолчанию")));
    }

    // A value another program wrote as a list, a rectangle or a variant is
    // replaced by its default, and the user is told which one.
    void valuesOfAnotherTypeAreTold() {
        QFile file(Raw().fileName());
        QDir().mkpath(QFileInfo(file).path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nPipeline=@Variant(\\0\\0\\0\\x7f)\nLatency=@Rect(1 2 3 4)\n"
                   "Imitations=/tmp/a, /tmp/b\n");
        file.close();
        std::vector<std::string> notes;
        std::unique_ptr<StoredSettings> settings = StartProgram(&notes);
        QCOMPARE(settings->Number("Latency"), 0);
        for (const char* name : {"Pipeline", "Latency", "Imitations"}) {
            const std::string quoted = std::string("\"") + name + "\"";
            const bool told = std::any_of(notes.begin(), notes.end(), [&](const std::string& note) {
                return note.find(quoted) != std::string::npos;
            });
            QVERIFY2(told, name);
        }
    }

    void startProjectAndFixedFolderActOnTheMainWindow_data() {
        QTest::addColumn<QString>("startType");
        QTest::addColumn<int>("kind");
        QTest::newRow("nothing") << "0" << int(ProjectNone);
        QTest::newRow("celestial") << "2" << int(ProjectCelestial);
        QTest::newRow("mechanical") << "1" << int(ProjectMechanical);
    }
    void startProjectAndFixedFolderActOnTheMainWindow() {
        QFETCH(QString, startType);
        QFETCH(int, kind);
        {
            QSettings raw = Raw();
            raw.setValue("StartImitType", startType);
            raw.setValue("NoChangeI", QStringLiteral(" TRUE "));
            raw.setValue("Imitations", folder_.filePath("fixed"));
        }
        std::unique_ptr<StoredSettings> settings = StartProgram();
        MainWindowSetup setup(*settings, folder_);
        frmMain* window = setup.Window.get();
        window->Startup(QString());
        QCOMPARE(int(window->world().ProjectKind), kind);

        // A file opened from another folder leaves the folder of the dialogs.
        QDir().mkpath(folder_.filePath("elsewhere"));
        const std::filesystem::path scene = folder_.filePath("elsewhere/scene.qvs").toStdString();
        auto world = std::make_unique<World>();
        DefaultWorld(*world);
        QVERIFY(SaveQvs(*world, scene, {}).Ok);
        setup.Dialogs.OpenAnswers.push_back(FileOpenChoice{scene, false});
        window->Item(QStringLiteral("mnOpen"))->trigger();
        QCOMPARE(setup.Dialogs.OpenCalls, 1);
        QCOMPARE(window->project().CurrentPath, scene);
        QVERIFY(window->close());
        settings->WriteAtExit();
        QCOMPARE(Raw().value("Imitations").toString(), folder_.filePath("fixed"));
    }

    void settingsMenuOpensTheWindowsAndTheirOkActs_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");  // clicked before "ОК"
        QTest::newRow("general") << "mnSettings" << "frmSettings" << "chkNoChangeI";
        QTest::newRow("control") << "mnControl" << "frmControl" << "chkInvert";
        QTest::newRow("performance") << "mnPerform" << "frmPerformance" << "chkGdi";
        QTest::newRow("appearance") << "mnInterface" << "frmAppearance" << "chkExitProg";
        QTest::newRow("effects") << "mnEffects" << "frmEffects" << "";
    }
    void settingsMenuOpensTheWindowsAndTheirOkActs() {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(QString, box);
        MemorySettings settings;
        MainWindowSetup setup(settings, folder_);
        setup.Window->Startup(QString());
        QAction* action = setup.Window->Item(item);
        QVERIFY(action->isEnabled());
        action->trigger();
        auto* dialog = setup.Window->findChild<QDialog*>(window);
        QVERIFY(dialog);
        QVERIFY(dialog->isModal());
        if (!box.isEmpty()) dialog->findChild<QCheckBox*>(box)->click();
        dialog->accept();
        if (item == QLatin1String("mnSettings")) QVERIFY(setup.Window->lifecycle().Settings().KeepFolder);
        if (item == QLatin1String("mnControl")) QVERIFY(settings.Flag("InvertNavigation"));
        if (item == QLatin1String("mnPerform")) QVERIFY(!setup.Window->Scene()->Settings().UseGdiPlus);
        if (item == QLatin1String("mnInterface")) QVERIFY(setup.Window->Item(QStringLiteral("mnExit"))->isVisible());
    }

    // The lists of the settings windows show the menu captions as the menu
    // does: "&&" is a literal "&", a single "&" marks the key.
    void listsShowTheMenuCaptionsAsTheMenuDoes() {
        MemorySettings settings;
        MainWindowSetup setup(settings, folder_);
        setup.Window->Startup(QString());
        setup.Window->Item(QStringLiteral("mnParam"))->setText(QStringLiteral("&Параметры && время"));
        setup.Window->Item(QStringLiteral("mnControl"))->trigger();
        auto* dialog = setup.Window->findChild<QDialog*>(QStringLiteral("frmControl"));
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("cmbMiddle"))->itemText(0),
                 QStringLiteral("Параметры & время"));
        dialog->reject();
    }
};

QTEST_MAIN(StoredSettingsTest)
#include "stored_settings_test.moc"
