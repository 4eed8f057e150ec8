// The language menu and language files applied to the main window: the
// shipped English and Russian files, names with dots, the keys of the menu
// items, damaged files, Qt's own texts and the user guide of F1.
#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

#include <fstream>

#include "editor_harness.h"
#include "persist/ini_file.h"
#include "persist/language_file.h"

using namespace velo;
namespace fs = std::filesystem;

namespace {

const fs::path ShippedLanguages = fs::path(VELO_SOURCE_DIR) / "data" / "Language";

struct LanguageHarness : WindowHarness {
    LanguageHarness() {
        fs::create_directories(Language());
        for (const char* name : {"English.lng", "Русский.lng"}) fs::copy_file(ShippedLanguages / name, Language() / name);
    }
    fs::path Program() const { return Path("program"); }
    fs::path Language() const { return Program() / "Language"; }
    // Program start; the message about the missing template of new
    // projects is not this test's business.
    void Start() {
        window->Startup(QString());
        messenger.ClearRecords();
    }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(Language() / name, std::ios::binary) << bytes;
    }
    QList<QAction*> Entries() const { return window->Menu(QStringLiteral("mnLang"))->actions(); }
    QStringList EntryCaptions() const {
        QStringList captions;
        for (QAction* entry : Entries()) captions << entry->text();
        return captions;
    }
    void Choose(const QString& caption) const {
        for (QAction* entry : Entries()) {
            if (entry->text() == caption) return entry->trigger();
        }
        QFAIL(qPrintable(QStringLiteral("no language entry ") + caption));
    }
    QString Caption(const char* name) const { return window->Item(QString::fromUtf8(name))->text(); }
    QString Tip(const char* button) const {
        return window->MechanicalToolbar()->findChild<QAction*>(QString::fromUtf8(button))->toolTip();
    }
    std::string Stored() const { return settings.GetText("Language", "(none)"); }
};

// Every menu item of the window, submenus included, by control name.
void CollectItems(QMenu* menu, QList<QAction*>& items) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        items << action;
        if (action->menu()) CollectItems(action->menu(), items);
    }
}

// A "Cancel" of Qt's own dialogs, as the installed translation renders it.
QString ToolkitCancel() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT

public slots:
    void openUrl(const QUrl& url) { opened << url; }

private slots:
    void englishEntryAppliesTheFileAndIsStored();
    void startupAppliesTheStoredLanguage();
    void dottedNameLooksForTheShortName();
    void menuItemKeys();
    void damagedFilesKeepTheTexts();
    void startupWithoutTheLanguageFile_data();
    void startupWithoutTheLanguageFile();
    void everyReplaceableTextHasAnEnglishEntry();
    void noTwoItemsOfAMenuShareAnAccessKey();
    void f1OpensTheGuideOfTheLanguage();

private:
    QList<QUrl> opened;
};

void LanguageTest::englishEntryAppliesTheFileAndIsStored() {
    LanguageHarness h;
    h.Start();
    QCOMPARE(h.Stored(), std::string("Русский"));
    QCOMPARE(h.EntryCaptions(), QStringList({QStringLiteral("English"), QStringLiteral("Русский")}));
    const QString russianCancel = ToolkitCancel();

    h.Choose(QStringLiteral("English"));
    QCOMPARE(h.Stored(), std::string("English"));
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("&File"));
    QCOMPARE(h.Caption("mnRunStop"), QStringLiteral("Start Simulation"));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Mechanical Systems Simulation"));
    QCOMPARE(h.window->Texts().ZeroSupportName, QStringLiteral("Zero-level support"));
    QCOMPARE(h.Tip("tb_mnSel"), QStringLiteral("Select Object"));
    QCOMPARE(h.Tip("tb_run"), QStringLiteral("Start Simulation"));
    QCOMPARE(h.Tip("tb_pause"), QStringLiteral("Pause Simulation"));
    QCOMPARE(ToolkitCancel(), QStringLiteral("Cancel"));
    QCOMPARE(h.window->findChild<QLabel*>(QStringLiteral("lblLayer"))->text(), QStringLiteral("Layer"));
    QCOMPARE(h.window->findChild<QLabel*>(QStringLiteral("lblCurrent"))->text(), QStringLiteral("Current object: none"));
    QVERIFY(h.messenger.Records().empty());

    h.Choose(QStringLiteral("Русский"));
    QCOMPARE(h.Stored(), std::string("Русский"));
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("Файл"));
    QCOMPARE(h.Tip("tb_mnSel"), QStringLiteral("Выбрать объект"));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Моделирование механических систем"));
    QCOMPARE(ToolkitCancel(), russianCancel);
    // Qt's Russian texts are there once the system's translations are.
    if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm"))) {
        QCOMPARE(ToolkitCancel(), QStringLiteral("Отмена"));
    }
}

void LanguageTest::startupAppliesTheStoredLanguage() {
    LanguageHarness h;
    h.settings.SetText("Language", "English");
    h.Start();
    QCOMPARE(h.Caption("mnImitate"), QStringLiteral("&Simulation"));
    QCOMPARE(h.Stored(), std::string("English"));
    QVERIFY(h.messenger.Records().empty());
}

void LanguageTest::dottedNameLooksForTheShortName() {
    LanguageHarness h;
    h.Start();
    fs::remove(h.Language() / "English.lng");
    h.Put("a.b.lng", "[MenuItems]\nmnFile=A\n");
    h.window->FillLanguageMenu();
    QCOMPARE(h.EntryCaptions(), QStringList({QStringLiteral("a"), QStringLiteral("Русский")}));

    h.Choose(QStringLiteral("a"));
    QCOMPARE(h.messenger.Records().size(), std::size_t(1));
    const auto& shown = h.messenger.Records().front();
    QCOMPARE(shown.Title, std::string("File Not Found"));
    QCOMPARE(shown.Text, (h.Language() / "a.lng").string() + " not found.");
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("Файл"));
    QCOMPARE(h.Stored(), std::string("Русский"));
}

void LanguageTest::menuItemKeys() {
    LanguageHarness h;
    h.Put("Test.lng",
          "[MenuItems]\nmnSave=Sa&ve\nmnDel=&Remove\nmnSel=&&Pick\nmn4=Four\nmnOther=\xDF\xE7\xFB\xEA\n");
    h.Start();
    h.Choose(QStringLiteral("English"));
    h.Choose(QStringLiteral("Test"));
    QCOMPARE(h.Caption("mnSave"), QStringLiteral("Sa&ve"));
    QCOMPARE(h.Tip("tb_mnDel"), QStringLiteral("Remove"));
    QCOMPARE(h.Tip("tb_mnSel"), QStringLiteral("&Pick"));
    // Items the file leaves out are shown as built, not in English.
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("Файл"));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Моделирование механических систем"));
    QCOMPARE(h.EntryCaptions(), QStringList(3, QStringLiteral("Язык")));
    // The renamed entries still apply their own files.
    h.Entries().front()->trigger();
    QCOMPARE(h.Stored(), std::string("English"));
    QCOMPARE(h.Caption("mnSave"), QStringLiteral("&Save"));
    QCOMPARE(h.EntryCaptions(), QStringList({QStringLiteral("English"), QStringLiteral("Test"),
                                             QStringLiteral("Русский")}));
}

void LanguageTest::damagedFilesKeepTheTexts() {
    LanguageHarness h;
    h.Start();
    h.Choose(QStringLiteral("English"));
    std::string garbage(4096, '\0');
    for (std::size_t k = 0; k < garbage.size(); ++k) garbage[k] = static_cast<char>((k * 7919u) % 251u);
    h.Put("Garbage.lng", "[MenuItems]\nmnFile=G\n" + garbage);
    h.Put("Huge.lng", std::string(IniFileLimit + 1, 'x'));
    h.window->FillLanguageMenu();

    h.Choose(QStringLiteral("Huge"));
    QCOMPARE(h.messenger.Records().size(), std::size_t(1));
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("&File"));
    QCOMPARE(h.Stored(), std::string("English"));

    h.Choose(QStringLiteral("Garbage"));
    QCOMPARE(h.Stored(), std::string("Garbage"));
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("G"));
    QCOMPARE(h.Caption("mnSave"), QStringLiteral("Сохранить"));
    QCOMPARE(h.Caption("mnRunStop"), QStringLiteral("Запуск имитации"));
}

void LanguageTest::startupWithoutTheLanguageFile_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("withFolder");
    QTest::addColumn<int>("reported");
    QTest::newRow("first start, no folder") << QString() << false << 0;
    QTest::newRow("built-in language, no folder") << QStringLiteral("Русский") << false << 0;
    QTest::newRow("English, no folder") << QStringLiteral("English") << false << 1;
    QTest::newRow("English, its file removed") << QStringLiteral("English") << true << 1;
}

// The built-in language needs no file; a removed language is told once and
// the next start is quiet, in the built-in texts.
void LanguageTest::startupWithoutTheLanguageFile() {
    QFETCH(QString, stored);
    QFETCH(bool, withFolder);
    QFETCH(int, reported);
    LanguageHarness h;
    fs::remove(h.Language() / "English.lng");
    if (!withFolder) fs::remove_all(h.Language());
    if (!stored.isEmpty()) h.settings.SetText("Language", stored.toStdString());
    const auto notFound = [&h] {
        int count = 0;
        for (const auto& record : h.messenger.Records()) count += record.Title == "File Not Found";
        return count;
    };
    h.window->Startup(QString());
    QCOMPARE(notFound(), reported);
    QCOMPARE(h.Stored(), std::string("Русский"));
    QCOMPARE(h.Caption("mnFile"), QStringLiteral("Файл"));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Моделирование механических систем"));
    h.window->ApplyStartupLanguage();
    QCOMPARE(notFound(), reported);
}

void LanguageTest::everyReplaceableTextHasAnEnglishEntry() {
    LanguageHarness h;
    IniFile english;
    QCOMPARE(LoadIniFile(ShippedLanguages / "English.lng", english), IniLoad::Ok);
    IniFile russian;
    QCOMPARE(LoadIniFile(ShippedLanguages / "Русский.lng", russian), IniLoad::Ok);
    QList<QAction*> items;
    for (QAction* top : h.window->menuBar()->actions()) {
        items << top;
        if (top->menu()) CollectItems(top->menu(), items);
    }
    int checked = 0;
    for (QAction* item : items) {
        const std::string name = item->objectName().toStdString();
        if (!QualifiesAsMenuItem(name) || name == "mnOther") continue;
        QVERIFY2(!english.Value("MenuItems", name).empty(), name.c_str());
        // The window is not started: its captions are the built-in ones.
        QCOMPARE(QString::fromStdString(russian.Value("MenuItems", name)), item->text());
        ++checked;
    }
    QVERIFY(checked >= 90);
    for (const char* key : {"Caption", "ReadOnly", "StartImit", "StopImit"}) {
        QVERIFY2(!english.Value("MainWindow", key).empty(), key);
    }
    QVERIFY(!english.Value("Objects", "Handhold0").empty());
    for (const PanelText& text : PanelTexts) QVERIFY2(!english.Value(text.Section, text.Key).empty(), text.Key);
}

// Alt and the letter reach one item only.
void LanguageTest::noTwoItemsOfAMenuShareAnAccessKey() {
    LanguageHarness h;
    h.Start();
    for (const QString& language : {QStringLiteral("English"), QStringLiteral("Русский")}) {
        h.Choose(language);
        QList<QWidget*> menus = {h.window->menuBar()};
        for (QMenu* menu : h.window->findChildren<QMenu*>()) menus << menu;
        for (QWidget* menu : menus) {
            QHash<QKeySequence, QString> taken;
            for (QAction* item : menu->actions()) {
                // The celestial project's "Add" menu stands in the place of
                // the mechanical one, never beside it.
                if (item->isSeparator() || item->objectName() == QStringLiteral("mnAddH")) continue;
                const QKeySequence key = QKeySequence::mnemonic(item->text());
                if (key.isEmpty()) continue;
                QVERIFY2(!taken.contains(key), qPrintable(language + QStringLiteral(": ") + item->objectName() +
                                                          QStringLiteral(" and ") + taken.value(key)));
                taken.insert(key, item->objectName());
            }
        }
    }
}

void LanguageTest::f1OpensTheGuideOfTheLanguage() {
    LanguageHarness h;
    for (const char* locale : {"ru", "en"}) {
        fs::create_directories(h.Program() / "Help" / locale);
        std::ofstream(h.Program() / "Help" / locale / "index.html") << "<html></html>";
    }
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    h.Start();
    h.window->OpenHelpFolder();
    h.Choose(QStringLiteral("English"));
    h.window->OpenHelpFolder();
    // Without a locale of its own, or with one that has no guide, the
    // Russian guide.
    h.Put("Plain.lng", "[MenuItems]\nmnFile=P\n");
    h.Put("Far.lng", "[Language]\nLocale=../Help/en\n");
    h.window->FillLanguageMenu();
    for (const QString& language : {QStringLiteral("Plain"), QStringLiteral("Far")}) {
        h.Choose(language);
        h.window->OpenHelpFolder();
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(opened.size(), 4);
    const fs::path russian = h.Program() / "Help" / "ru" / "index.html";
    QCOMPARE(opened[0].toLocalFile().toStdString(), russian.string());
    QCOMPARE(opened[1].toLocalFile().toStdString(), (h.Program() / "Help" / "en" / "index.html").string());
    QCOMPARE(opened[2].toLocalFile().toStdString(), russian.string());
    QCOMPARE(opened[3].toLocalFile().toStdString(), russian.string());
    QVERIFY(h.messenger.Records().empty());
}

QTEST_MAIN(LanguageTest)
#include "editor_language_test.moc"
