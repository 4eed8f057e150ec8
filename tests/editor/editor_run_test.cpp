// The run loop of the main window: run and pause with the caption, the
// toolbar buttons and the hidden menus; the T display; the free-running
// loop; the freeze message; the start point and the autosave copy.
#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <QDir>
#include <QImage>

#include <cmath>
#include <filesystem>
#include <random>
#include <vector>

#include "editing/celestial_edits.h"
#include "editor/scene_editor.h"
#include "editor_harness.h"
#include "engine/time_display.h"
#include "forms/parse_number.h"

using namespace velo;

namespace {

class ManualClock final : public Clock {
public:
    double Now() override { return now; }
    double now = 100;
};

struct RunHarness : WindowHarness {
    ManualClock clock;
    explicit RunHarness(int latency) : WindowHarness(ThreeWayAnswer::No, &clock) {
        settings.SetInt("Latency", latency);
        window->NewMechanical();
        AddBall(window->world(), Vec2{1.0, 2.0});
    }
};

const char* const EditingMenus[] = {"mnFile", "mnAdd", "mnObj", "mnActions", "mnTools", "mnAllSettings", "mnHelp"};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void runAndPauseToggleCaptionButtonsAndMenus();
    void firstRunStepsAreTiny();
    void timeTextFollowsT();
    void freeRunningLoopEndsWhenPaused();
    void frozenBallPausesTheRun();
    void runStartWritesAutosaveAndStartPoint();
    void sceneKeysDoNothingWhileRunning();
    void celestialRunGoesForwardsAndShowsT();
    void celestialRunPicture();
};

void RunTest::runAndPauseToggleCaptionButtonsAndMenus() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    QAction* command = window.Item("mnRunStop");
    QCOMPARE(command->text(), QStringLiteral("Запуск имитации"));

    command->trigger();
    QVERIFY(window.Running());
    QVERIFY(window.Metatimer()->isActive());
    QCOMPARE(window.Metatimer()->interval(), 50);
    QCOMPARE(command->text(), QStringLiteral("Приостановить имитацию"));
    QVERIFY(!window.RunButton(0)->isVisible());
    QVERIFY(window.RunButton(1)->isVisible());
    for (const char* name : EditingMenus) QVERIFY2(!window.Item(name)->isVisible(), name);
    QVERIFY(window.Item("mnImitate")->isVisible());
    QVERIFY(!window.Item("mnLang")->isEnabled());
    QVERIFY(!window.Item("mnParam")->isEnabled());

    command->trigger();
    QVERIFY(!window.Running());
    QVERIFY(!window.Metatimer()->isActive());
    QCOMPARE(command->text(), QStringLiteral("Запуск имитации"));
    QVERIFY(window.RunButton(0)->isVisible());
    QVERIFY(!window.RunButton(1)->isVisible());
    for (const char* name : EditingMenus) QVERIFY2(window.Item(name)->isVisible(), name);
    // The celestial add menu stays hidden in a mechanical project.
    QVERIFY(!window.Item("mnAddH")->isVisible());
    QVERIFY(window.world().Changed);
}

void RunTest::firstRunStepsAreTiny() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    World& world = window.world();
    window.RunStop();
    // However long the first ticks take, the first run of the program has
    // no measurement yet: 11 and then 12 steps of 1e-16.
    harness.clock.now += 0.5;
    window.Tick();
    QCOMPARE(world.T, 11 * 1e-16);
    harness.clock.now += 0.5;
    window.Tick();
    QVERIFY(std::abs(world.T - 23e-16) < 1e-28);
    const QString text = window.TimeLabel()->text();
    QVERIFY2(text.startsWith(QStringLiteral("T = 2")) && text.endsWith(QStringLiteral("E-15")), qPrintable(text));
    // From the third tick on, the steps follow the measured time: the 0.5 s
    // measured by the second tick, capped by MaxStep 0.001 per step for its
    // 13 steps.
    harness.clock.now += 0.02;
    window.Tick();
    QVERIFY(std::abs(world.T - (23e-16 + 13 * 0.001)) < 1e-12);
    window.RunStop();
}

void RunTest::timeTextFollowsT() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    window.world().T = 1234.56789;
    window.ShowTime();
    const std::string separator = window.driver().DecimalSeparator;
    QCOMPARE(window.TimeLabel()->text().toStdString(), "T = 1234" + separator + "568");
    window.world().T = 0;
    window.ShowTime();
    QCOMPARE(window.TimeLabel()->text(), QStringLiteral("T = 0"));
}

void RunTest::freeRunningLoopEndsWhenPaused() {
    WindowHarness harness;
    frmMain& window = *harness.window;
    window.NewMechanical();
    AddBall(window.world(), Vec2{1.0, 2.0});
    window.show();
    // The pause arrives through the event processing between ticks.
    QTimer::singleShot(200, &window, [&window] { window.RunStop(); });
    window.RunStop();
    QVERIFY(!window.Running());
    QVERIFY(!window.Metatimer()->isActive());
    QVERIFY(window.world().T > 0);
    QVERIFY(window.world().Balls[1].Position.Y < 2.0);
    QCOMPARE(window.Item("mnRunStop")->text(), QStringLiteral("Запуск имитации"));
    QVERIFY(window.driver().LastTps() > 0);
}

void RunTest::frozenBallPausesTheRun() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    window.world().Balls[1].Omega = 1e17;
    window.RunStop();
    harness.clock.now += 0.1;
    window.Tick();
    QVERIFY(!window.Running());
    QVERIFY(harness.Asked("Слишком быстрое вращение объекта. Объект будет \"заморожен\""));
    QVERIFY(window.world().Balls[1].Selected);
    QVERIFY(!window.world().Balls[1].Movable);
    QCOMPARE(window.Item("mnRunStop")->text(), QStringLiteral("Запуск имитации"));
}

void RunTest::runStartWritesAutosaveAndStartPoint() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    window.RunStop();
    for (int tick = 0; tick < 5; ++tick) {
        harness.clock.now += 0.05;
        window.Tick();
    }
    window.RunStop();
    QVERIFY(window.world().Balls[1].Position.Y < 2.0);
    int copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(harness.folders.AutosaveFolder)) {
        if (entry.path().filename().string().rfind("autosave_", 0) == 0) ++copies;
    }
    QCOMPARE(copies, 1);
    // The run started at T = 0, so its start point brings the ball back.
    window.Item("mnRecover")->trigger();
    QCOMPARE(window.world().Balls[1].Position.Y, 2.0);
    QCOMPARE(window.world().T, 0.0);
}

void RunTest::sceneKeysDoNothingWhileRunning() {
    RunHarness harness(50);
    frmMain& window = *harness.window;
    window.RunStop();
    QVERIFY(!window.SceneKey(Qt::Key_F3, Qt::NoModifier));
    QVERIFY(!window.SceneKey(Qt::Key_S, Qt::ControlModifier));
    window.Item("mnOpen")->trigger();
    QCOMPARE(harness.dialogs.OpenCalls, 0);
    // A menu shortcut of a hidden menu leaves the grid's tick alone.
    window.Item("mnGrid")->trigger();
    QVERIFY(!window.Item("mnGrid")->isChecked());
    QVERIFY(!harness.settings.GetBool("Grid", false));
    window.RunStop();
    QVERIFY(window.SceneKey(Qt::Key_F3, Qt::NoModifier));
    QCOMPARE(harness.dialogs.OpenCalls, 1);
}

void RunTest::celestialRunGoesForwardsAndShowsT() {
    ManualClock clock;
    WindowHarness harness(ThreeWayAnswer::No, &clock);
    harness.settings.SetInt("Latency", 50);
    frmMain& window = *harness.window;
    window.NewCelestial();
    World& world = window.world();
    QCOMPARE(CreateCelestialBody(world, {0, 0}, 10, [] { return 0.75; }), 1);
    const double z = world.HBodies[1].Position.Z;  // moving at +5000 m/s in z
    // A negative time scale runs time forwards all the same.
    world.Celestial.CelestialTimeScale = -3600;
    window.RunStop();
    for (int tick = 0; tick < 3; ++tick) {
        clock.now += 0.05;
        window.Tick();
    }
    window.RunStop();
    QVERIFY(world.T > 0);
    QVERIFY(std::abs(world.HBodies[1].Position.Z - (z + 5000 * world.T)) < 1e-3);
    // The celestial label shows T unrounded.
    const auto* label = window.findChild<QLabel*>(QStringLiteral("lblT2"));
    NumberLocale locale;
    locale.DecimalSeparator = window.driver().DecimalSeparator;
    QCOMPARE(label->text().toStdString(), "T = " + FormatRounded(world.T, locale));
    world.T = 1234.56789;
    window.ShowTime();
    QCOMPARE(label->text().toStdString(), "T = 1234" + locale.DecimalSeparator + "56789");
}

// The picture of the README: fifty bodies made by clicks in mode 20, then
// running. Written only when VELO_DOCS_DIR names a folder.
void RunTest::celestialRunPicture() {
    const QString folder = qEnvironmentVariable("VELO_DOCS_DIR");
    if (folder.isEmpty()) QSKIP("VELO_DOCS_DIR not set");
    WindowHarness harness;
    // The timer runs the ticks, so that the picture is taken while running.
    harness.settings.SetInt("Latency", 20);
    frmMain& window = *harness.window;
    window.resize(1280, 860);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.NewCelestial();
    window.editor().SeedRandom(50);
    QWidget* scene = window.Scene();
    std::mt19937 random(50);
    std::uniform_real_distribution<double> uniform(0.06, 0.94);
    std::vector<QPoint> placed;
    while (placed.size() < 50) {
        const QPoint p(static_cast<int>(uniform(random) * scene->width()),
                       static_cast<int>(uniform(random) * scene->height()));
        bool apart = true;
        for (const QPoint& q : placed) apart = apart && QPointF::dotProduct(p - q, p - q) > 70 * 70;
        if (!apart) continue;
        placed.push_back(p);
        window.Item("mnHBody")->trigger();
        QTest::mouseClick(scene, Qt::LeftButton, Qt::NoModifier, p);
    }
    QCOMPARE(window.world().HBodyCount, 50);
    window.MWRefresh(true);
    window.RunStop();
    QTest::qWait(1500);
    QVERIFY(window.Running());
    const QImage shot = window.grab().toImage();
    window.RunStop();
    qInfo("T = %g s after %d steps", window.world().T, window.world().Params.StepCounter);
    QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("celestial_running.png"))));
}

QTEST_MAIN(RunTest)
#include "editor_run_test.moc"
