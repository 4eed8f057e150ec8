// The menu bar of the main window: captions, shortcuts, initial states and
// availability by project kind.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <memory>

#include "editor/main_window.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"

using namespace velo;

namespace {

struct Harness {
    QTemporaryDir folder;
    QtMessenger messenger;
    ScriptedDialogs dialogs;
    MemorySettings settings;
    std::unique_ptr<frmMain> window;

    Harness() {
        messenger.UseScriptedAnswers(ThreeWayAnswer::No);
        MainWindowServices services;
        services.Messages = &messenger;
        services.FileDialogs = &dialogs;
        services.Settings = &settings;
        services.ProgramFolder = folder.filePath("program").toStdString();
        FolderEnvironment environment;
        environment.Temp = folder.filePath("temp").toStdString();
        environment.AppData = folder.filePath("appdata").toStdString();
        environment.ProcessId = 4242;
        services.Folders = TempFoldersFor(environment);
        CreateTempFolders(services.Folders);
        window = std::make_unique<frmMain>(services);
        window->resize(1200, 900);
    }
};

bool VisibleItem(frmMain& window, const char* name) {
    QAction* action = window.Item(QString::fromUtf8(name));
    return action && action->isVisible();
}

bool EnabledItem(frmMain& window, const char* name) {
    QAction* action = window.Item(QString::fromUtf8(name));
    return action && action->isEnabled();
}

}  // namespace

class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void captionsAndShortcuts_data();
    void captionsAndShortcuts();
    void initiallyHiddenItems();
    void menuOrderOfTheBar();
    void availabilityByKind_data();
    void availabilityByKind();
    void panelsAndToolbarsByKind();
    void toolTipsFollowMenuCaptions();
    void gridTickFollowsSetting();
    void scrollLockShowsThread();
    void keypadKeysReachTheSceneFromTheLayerList();
};

void MenuTest::captionsAndShortcuts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const char* rows[][3] = {
        {"mnFile", "Файл", ""},
        {"mnNew", "Создать", ""},
        {"mnNewS", "Механическая система", ""},
        {"mnNewH", "Система небесной механики", ""},
        {"mnNewF", "Демонстрация дифракции", ""},
        {"mnOpen", "Открыть", ""},
        {"mnSave", "Сохранить", ""},
        {"mnSaveAs", "Сохранить как", ""},
        {"mnNewMS", "В новом окне", ""},
        {"mnNMSNew", "Создать", ""},
        {"mnNMSOpen", "Открыть", ""},
        {"mnText", "Описание", ""},
        {"mnFProp", "Свойства", ""},
        {"mnClose", "Закрыть", ""},
        {"mnFileExit", "Выход", ""},
        {"mnAdd", "Добавить", ""},
        {"mnLav", "Подвес", ""},
        {"mnS2h", "Гипербола", ""},
        {"mnThread", "Нить", ""},
        {"mnAddH", "Добавить", ""},
        {"mnHBody", "Небесное тело", ""},
        {"mnObj", "Объект", ""},
        {"mnDel", "Удалить", "Del"},
        {"mnStop", "Остановить", ""},
        {"mnMark", "Пометки", ""},
        {"mnActions", "Действия", ""},
        {"mnSel", "Выбрать объект", "Ctrl+1"},
        {"mnMove", "Переместить объект", "Ctrl+2"},
        {"mnSelRect", "Выбрать группу", "Ctrl+3"},
        {"mnSelAll", "Выбрать всё", "Ctrl+A"},
        {"mnOptimize", "Оптимизировать...", "Ctrl+O"},
        {"mnCancel", "Отменить всё", ""},
        {"mnTools", "Инструменты", ""},
        {"mnGrid", "Сетка", "Ctrl+G"},
        {"mnCalc", "Калькулятор", "Ctrl+C"},
        {"mnImitate", "Имитация", ""},
        {"mnRunStop", "Запуск имитации", "F5"},
        {"mnRecover", "Стартовые условия", "F6"},
        {"mnPoint", "Точка отсчёта", "F7"},
        {"mnParam", "Параметры имитации", "Ctrl+P"},
        {"mnTime", "Масштаб во времени", "Ctrl+T"},
        {"mnAllSettings", "Настройки", ""},
        {"mnPerform", "Производительность", ""},
        {"mnLang", "Язык", ""},
        {"mnHelp", "Информация", ""},
        {"mnInfo", "Справка", "F1"},
        {"mnAbout", "О программе", ""},
        {"mnSysInfo", "О системе", ""},
    };
    for (const auto& row : rows) {
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]);
    }
}

void MenuTest::captionsAndShortcuts() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    Harness harness;
    QAction* item = harness.window->Item(name);
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
}

void MenuTest::initiallyHiddenItems() {
    Harness harness;
    frmMain& window = *harness.window;
    for (const char* name : {"mnNewF", "mnExport", "mnImport", "mnSurface", "mnRing", "mnPrism", "mnThread",
                             "mnImage", "mnSelInv", "mnSelSame", "mnCancelDel", "mnCalcActive", "mnProg",
                             "mnConfirm", "mnUpdating", "mnWindows", "mnMinimize", "mnExit", "mnIAir"}) {
        QVERIFY2(!VisibleItem(window, name), name);
    }
    for (const char* name : {"mnS2h", "mnS2e", "mnHLuminary", "mnSelAny", "mnSelFst", "mnSelInv"}) {
        QVERIFY2(!EnabledItem(window, name), name);
    }
}

void MenuTest::menuOrderOfTheBar() {
    Harness harness;
    QStringList names;
    for (QAction* action : harness.window->menuBar()->actions()) names << action->objectName();
    QCOMPARE(names, QStringList({"mnFile", "mnAdd", "mnAddH", "mnObj", "mnActions", "mnTools", "mnImitate",
                                 "mnProg", "mnAllSettings", "mnHelp"}));
}

void MenuTest::availabilityByKind_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    struct Row {
        int Kind;
        const char* Name;
        bool Visible;
        bool Enabled;
    };
    const Row rows[] = {
        {ProjectNone, "mnAdd", false, true},        {ProjectMechanical, "mnAdd", true, true},
        {ProjectCelestial, "mnAdd", false, true},   {ProjectDiffraction, "mnAdd", false, true},
        {ProjectNone, "mnAddH", false, true},       {ProjectCelestial, "mnAddH", true, true},
        {ProjectMechanical, "mnAddH", false, true}, {ProjectNone, "mnObj", false, true},
        {ProjectMechanical, "mnObj", true, true},   {ProjectCelestial, "mnActions", true, true},
        {ProjectDiffraction, "mnActions", false, true},
        {ProjectNone, "mnTools", false, true},      {ProjectMechanical, "mnTools", true, true},
        {ProjectCelestial, "mnTools", false, true}, {ProjectNone, "mnImitate", false, true},
        {ProjectCelestial, "mnImitate", true, true},
        {ProjectNone, "mnSave", true, false},       {ProjectMechanical, "mnSave", true, true},
        {ProjectCelestial, "mnSave", true, false},  {ProjectDiffraction, "mnSaveAs", true, false},
        {ProjectMechanical, "mnSaveAs", true, true},
        {ProjectNone, "mnClose", true, false},      {ProjectCelestial, "mnClose", true, true},
        {ProjectDiffraction, "mnClose", true, true},
        {ProjectMechanical, "mnFasten", true, false}, {ProjectCelestial, "mnFasten", false, false},
        {ProjectMechanical, "mnGrid", true, true},  {ProjectCelestial, "mnGrid", false, true},
        {ProjectDiffraction, "mnStraight", false, false},
        {ProjectMechanical, "mnGraph", true, true}, {ProjectCelestial, "mnGraph", false, false},
        {ProjectCelestial, "mnExport", true, true}, {ProjectCelestial, "mnImport", true, true},
        {ProjectMechanical, "mnExport", false, true}, {ProjectCelestial, "mnParam", true, true},
    };
    for (const Row& row : rows) {
        QTest::addRow("%d %s", row.Kind, row.Name)
            << row.Kind << QString::fromUtf8(row.Name) << row.Visible << row.Enabled;
    }
}

void MenuTest::availabilityByKind() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    Harness harness;
    // Go through the mechanical kind first, so that "unchanged" entries
    // start from a known state.
    harness.window->SwitchProjectKind(ProjectMechanical);
    harness.window->SwitchProjectKind(kind);
    QCOMPARE(harness.window->world().ProjectKind, kind);
    QAction* item = harness.window->Item(name);
    QCOMPARE(item->isVisible(), visible);
    // A hidden action also reports itself disabled; only a shown one says
    // something about its availability.
    if (visible) QCOMPARE(item->isEnabled(), enabled);
}

void MenuTest::panelsAndToolbarsByKind() {
    Harness harness;
    frmMain& window = *harness.window;
    window.show();
    auto panel = [&window](const char* name) {
        QWidget* widget = window.findChild<QWidget*>(QString::fromUtf8(name));
        return widget && widget->isVisible();
    };
    window.SwitchProjectKind(ProjectMechanical);
    QVERIFY(panel("frmMake") && !panel("frmHMake") && panel("frmPrint") && !panel("frmPrint2"));
    QVERIFY(window.MechanicalToolbar()->isVisible() && !window.CelestialToolbar()->isVisible());
    window.SwitchProjectKind(ProjectCelestial);
    QVERIFY(!panel("frmMake") && panel("frmHMake") && !panel("frmPrint") && panel("frmPrint2"));
    QVERIFY(!window.MechanicalToolbar()->isVisible() && window.CelestialToolbar()->isVisible());
    QCOMPARE(window.world().Params.FieldOriginX, 5000);
    QCOMPARE(window.world().Params.FieldOriginY, 3500);
    window.SwitchProjectKind(ProjectNone);
    QVERIFY(!panel("frmMake") && !panel("frmHMake") && !panel("frmPrint") && !panel("frmPrint2"));
    QVERIFY(!panel("frmContr") && !panel("frmEdit"));
    QVERIFY(!window.MechanicalToolbar()->isVisible() && !window.CelestialToolbar()->isVisible());
    // A kind above 3 is ignored.
    window.SwitchProjectKind(7);
    QCOMPARE(window.world().ProjectKind, ProjectNone);
}

void MenuTest::toolTipsFollowMenuCaptions() {
    Harness harness;
    frmMain& window = *harness.window;
    for (QAction* button : window.MechanicalToolbar()->actions()) {
        if (button->isSeparator()) continue;
        const QString name = button->objectName();
        if (name.startsWith(QStringLiteral("tb_mn"))) {
            QCOMPARE(button->toolTip(), window.Item(name.mid(3))->text().remove(QLatin1Char('&')));
        }
    }
    QCOMPARE(window.RunButton(0)->toolTip(), QStringLiteral("Запуск имитации"));
    QCOMPARE(window.RunButton(1)->toolTip(), QStringLiteral("Приостановить имитацию"));
    QVERIFY(window.RunButton(0)->isVisible());
    QVERIFY(!window.RunButton(1)->isVisible());
}

void MenuTest::gridTickFollowsSetting() {
    Harness harness;
    QVERIFY(!harness.window->Item("mnGrid")->isChecked());
    harness.window->SwitchProjectKind(ProjectMechanical);
    harness.window->Item("mnGrid")->trigger();
    QVERIFY(harness.window->Item("mnGrid")->isChecked());
    QVERIFY(harness.settings.GetBool("Grid", false));
    harness.window->Item("mnGrid")->trigger();
    QVERIFY(!harness.settings.GetBool("Grid", true));
}

void MenuTest::scrollLockShowsThread() {
    Harness harness;
    frmMain& window = *harness.window;
    window.SwitchProjectKind(ProjectMechanical);
    QVERIFY(!window.Item("mnThread")->isVisible());
    QVERIFY(window.SceneKey(Qt::Key_ScrollLock, Qt::NoModifier));
    QVERIFY(window.Item("mnThread")->isVisible());
    QVERIFY(window.SceneKey(Qt::Key_ScrollLock, Qt::NoModifier));
    QVERIFY(!window.Item("mnThread")->isVisible());
}

void MenuTest::keypadKeysReachTheSceneFromTheLayerList() {
    Harness harness;
    frmMain& window = *harness.window;
    window.SwitchProjectKind(ProjectMechanical);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* layers = window.findChild<QWidget*>(QStringLiteral("ZCoord"));
    QVERIFY(layers);
    const int originY = window.world().Params.FieldOriginY;
    QTest::keyClick(layers, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(window.world().Params.FieldOriginY, originY + 200);
    // With "InvertNavigation" the same key moves the other way.
    harness.settings.SetBool("InvertNavigation", true);
    QTest::keyClick(layers, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(window.world().Params.FieldOriginY, originY);
    // The locked view does not move.
    window.world().Params.ViewUnlocked = false;
    QTest::keyClick(layers, Qt::Key_8, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(window.world().Params.FieldOriginY, originY);

    // The celestial view zooms by its horizontal angle.
    window.NewCelestial();
    auto* bodies = window.findChild<QWidget*>(QStringLiteral("HCombo"));
    QVERIFY(bodies);
    const double angle = window.world().Celestial.ViewAngleH;
    QTest::keyClick(bodies, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(window.world().Celestial.ViewAngleH, angle - 0.01);
    QCOMPARE(window.world().Celestial.ObserverDistance, 5000 / std::tan((angle - 0.01) / 2));
    QTest::keyClick(bodies, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(bodies, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(window.world().Celestial.ViewAngleH, angle - 0.01 + 0.01 + 0.01);
}

QTEST_MAIN(MenuTest)
#include "editor_menus_test.moc"
