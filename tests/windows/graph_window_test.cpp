// The graph window on the program's own run: its series appear and follow
// the running scene, rewinding clears them, the status area shows the
// energy readout, and the exports write their files (or say why not).
// With VELO_SHOT_FOLDER set, pictures of a pendulum's x(t) and a cradle's
// momenta are saved there, and the period and the momentum handed on are
// measured from the recording.
#include <QAbstractAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLineSeries>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <cmath>
#include <fstream>
#include <string>

#include "editor/editor_harness.h"
#include "record/recorder.h"
#include "windows/graph_view.h"
#include "windows/graph_window.h"
#include "windows/number_field.h"
#include "windows/recording.h"
#include "windows/window_test_support.h"

using namespace velo;

namespace {

class ManualClock final : public Clock {
public:
    double Now() override { return now; }
    double now = 100;
};

struct GraphHarness : WindowHarness {
    ManualClock clock;
    explicit GraphHarness(const char* example) : WindowHarness(ThreeWayAnswer::No, &clock) {
        settings.SetInt("Latency", 50);
        window->Startup(QStringLiteral(VELO_SOURCE_DIR "/examples/") + QString::fromUtf8(example));
    }
    frmGraph* OpenGraph(int kind, int number) {
        window->OpenGraph(kind, number, true);
        const QList<frmGraph*> graphs = window->findChildren<frmGraph*>(Qt::FindDirectChildrenOnly);
        return graphs.isEmpty() ? nullptr : graphs.constLast();
    }
    // Runs until the scene's time reaches `seconds`, 20 ms of real time a tick.
    void RunUntil(double seconds) {
        if (!window->Running()) window->RunStop();
        for (int tick = 0; tick < 100000 && window->world().T < seconds; ++tick) {
            clock.now += 0.02;
            window->Tick();
        }
        window->RunStop();
    }
    std::string ReadFile(const QString& name) {
        std::ifstream in(Path(name.toUtf8().constData()));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

void SaveShot(frmGraph* graph, const char* name) {
    const QString shots = qEnvironmentVariable("VELO_SHOT_FOLDER");
    if (shots.isEmpty()) return;
    graph->resize(1100, 600);
    graph->Fit();
    // Under a scale factor (QT_SCALE_FACTOR=2) the picture is named for it:
    // graph_pendulum_x_200.png.
    QString file = QString::fromUtf8(name);
    const int percent = qRound(graph->devicePixelRatioF() * 100);
    if (percent != 100) file.replace(QStringLiteral(".png"), QStringLiteral("_%1.png").arg(percent));
    QVERIFY(graph->grab().save(QDir(shots).filePath(file)));
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private slots:
    void seriesFollowTheRunAndRewindingClearsThem();
    void exportsWriteTheirFilesOrSayWhyNot();
    void anotherProjectEmptiesOrClosesTheWindows();
    void pendulumPeriodAndCradleMomentum();
    void collisionLogListensOnlyWhileAWindowAsks();
    void objectListFollowsTheSceneAndKeepsTheEditedObject();
    void eachWindowExportsItsOwnSeries();
    void cursorReadsEveryLinesNearestSample();
    void aDeletedObjectLeavesAGap();
    void recordingSettingsAreSharedAndChecked();
    void energyDriftIsSmallAndCountsFromTheOwnStart();
};

void GraphWindowTest::seriesFollowTheRunAndRewindingClearsThem() {
    GraphHarness harness("hung_pendulums.qvs");
    frmMain& window = *harness.window;
    frmGraph* graph = harness.OpenGraph(KindBall, 1);
    QVERIFY(graph);
    QCOMPARE(graph->LineCount(), 1);
    QVERIFY(graph->AddSeries({KindBall, 2, Quantity::X}));
    QVERIFY(!graph->AddSeries({KindBall, 2, Quantity::X}));  // once per window
    QCOMPARE(graph->PointCount(0), 0);

    harness.RunUntil(0.5);
    // The pause itself draws the run to its last step.
    const int early = graph->PointCount(0);
    QVERIFY2(early > 10, qPrintable(QString::number(early)));
    const double earlyEnd = graph->Chart()->axes(Qt::Horizontal).first()->property("max").toDouble();
    // The energy readout stays in the status area after the pause.
    const QString readout = window.HintLabel()->text();
    QVERIFY2(readout.startsWith(QStringLiteral("E = ")) && readout.contains(QStringLiteral(" Дж, дрейф ")), qPrintable(readout));
    // A zoom by the user while paused is drawn at once, not at the next
    // tick of the frame timer.
    graph->Chart()->axes(Qt::Horizontal).first()->setRange(0.0, 0.1);
    emit graph->View()->viewChangedByUser();
    QCoreApplication::processEvents();
    QVERIFY2(graph->PointCount(0) < early / 2, qPrintable(QStringLiteral("%1 of %2").arg(graph->PointCount(0)).arg(early)));
    graph->Fit();

    harness.RunUntil(2.0);
    graph->Refresh();
    const double laterEnd = graph->Chart()->axes(Qt::Horizontal).first()->property("max").toDouble();
    QVERIFY2(laterEnd > earlyEnd + 1, qPrintable(QStringLiteral("%1 -> %2").arg(earlyEnd).arg(laterEnd)));
    // However many samples, no more points than about two per pixel column.
    QVERIFY(graph->PointCount(0) <= 4 * std::max(100, static_cast<int>(graph->Chart()->plotArea().width())) + 2);
    QVERIFY(graph->MemoryLabel()->text().startsWith(QStringLiteral("Память записи: ")));
    // Counts are shown with all their digits.
    QCOMPARE(graph->findChild<QLineEdit*>(QStringLiteral("txtCapacity"))->text(), QStringLiteral("1000000"));

    // A second window at once, against x: the trajectory y(x).
    frmGraph* path = harness.OpenGraph(KindBall, 3);
    path->SetAxisQuantity(Quantity::X);
    harness.RunUntil(2.5);
    path->Refresh();
    QVERIFY(path->PointCount(0) > 10);

    window.Recover();
    graph->Refresh();
    QCOMPARE(graph->PointCount(0), 0);
    QCOMPARE(window.recording().Samples.Count(0), std::size_t{0});
}

void GraphWindowTest::exportsWriteTheirFilesOrSayWhyNot() {
    GraphHarness harness("newton_cradle.qvs");
    frmGraph* graph = harness.OpenGraph(KindBall, 1);
    QVERIFY(graph->AddSeries({KindBall, 5, Quantity::MomentumX}));
    graph->CollisionBox()->setChecked(true);
    harness.RunUntil(1.0);
    QVERIFY(graph->ExportCsv(harness.Path("graph.csv")));
    QVERIFY(graph->ExportPng(harness.Path("graph.png")));
    QVERIFY(graph->ExportSvg(harness.Path("graph.svg")));
    QVERIFY(graph->ExportCollisions(harness.Path("collisions.csv")));

    const std::string csv = harness.ReadFile(QStringLiteral("graph.csv"));
    const std::string header = csv.substr(0, csv.find('\n'));
    QVERIFY2(header.find("(м)") != std::string::npos && header.find("Шар №5") != std::string::npos, header.c_str());
    const std::string row = csv.substr(csv.find('\n') + 1, 40);
    QVERIFY2(row.find('.') != std::string::npos, row.c_str());
    QVERIFY(!QImage(QString::fromStdString(harness.Path("graph.png").string())).isNull());
    // The SVG keeps the chart as vectors and texts: its lines, the legend.
    const std::string svg = harness.ReadFile(QStringLiteral("graph.svg"));
    QVERIFY(svg.find("<svg") != std::string::npos && svg.find("<polyline") != std::string::npos);
    QVERIFY2(svg.find("Шар №5") != std::string::npos, svg.substr(0, 400).c_str());
    const std::string collisions = harness.ReadFile(QStringLiteral("collisions.csv"));
    QVERIFY(std::count(collisions.begin(), collisions.end(), '\n') > 1);  // the strikes of the row

    // A folder that is not there: refused with a message, nothing written.
    const auto before = harness.messenger.Records().size();
    QVERIFY(!graph->ExportCsv(harness.Path("missing/graph.csv")));
    QCOMPARE(harness.messenger.Records().size(), before + 1);
    QVERIFY(!std::filesystem::exists(harness.Path("missing")));
}

// Another project empties the recording and the collision log; a window
// keeps the lines of objects the new project has, closes without any, and
// every window closes over a celestial project. A refused "Отменить всё"
// keeps what was recorded.
void GraphWindowTest::anotherProjectEmptiesOrClosesTheWindows() {
    GraphHarness harness("newton_cradle.qvs");
    frmMain& window = *harness.window;
    QPointer<frmGraph> kept = harness.OpenGraph(KindBall, 1);
    QVERIFY(kept->AddSeries({KindBall, 5, Quantity::X}));
    kept->CollisionBox()->setChecked(true);
    QPointer<frmGraph> gone = harness.OpenGraph(KindBall, 5);
    QPointer<frmGraph> scene = harness.OpenGraph(KindNone, 0);
    harness.RunUntil(1.0);
    const Recording& recording = window.recording();
    QVERIFY(recording.Samples.Count(0) > 10);
    QVERIFY(recording.Collisions.Count() > 0);
    kept->Refresh();
    const QString logText = QStringLiteral("Журнал: %1 событий, старые отброшены: 0")
                                .arg(QLocale().toString(static_cast<qulonglong>(recording.Collisions.Count())));
    QCOMPARE(kept->LogLabel()->text(), logText);

    window.CancelAll();  // the scripted answer is "no"
    QVERIFY(recording.Samples.Count(0) > 10);

    // The three pendulums have no ball 5.
    harness.dialogs.OpenAnswers.push_back(
        FileOpenChoice{std::filesystem::path(VELO_SOURCE_DIR "/examples/hung_pendulums.qvs"), false});
    window.OpenFile();
    QTest::qWait(0);
    QCOMPARE(recording.Samples.SamplesTaken(), std::uint64_t{0});
    QCOMPARE(recording.Collisions.Count(), std::size_t{0});
    QVERIFY(!gone);
    QVERIFY(kept && scene);
    QCOMPARE(kept->LineCount(), 1);
    QCOMPARE(kept->PointCount(0), 0);
    harness.RunUntil(0.5);
    kept->Refresh();
    QVERIFY(kept->PointCount(0) > 10);

    window.NewCelestial();
    QTest::qWait(0);
    QVERIFY(!kept && !scene);
}

// What a user reads off the graphs: the period of the 0.4 pendulum from the
// crossings of its rest position, and the momentum the first ball of the
// cradle hands on to the last.
void GraphWindowTest::pendulumPeriodAndCradleMomentum() {
    {
        GraphHarness harness("hung_pendulums.qvs");
        frmGraph* graph = harness.OpenGraph(KindBall, 1);
        // The pendulum as it starts: a ball on a point, swinging about it
        // with its own inertia plus m L^2, from an angle a off the vertical.
        const World& w = harness.window->world();
        const Ball& b = w.Balls[1];
        QCOMPARE(int(b.BindKind), int(BindLaval));
        const Vec2 pivot = w.Lavals[static_cast<std::size_t>(b.BindNumber)].Position;
        const Vec2 arm = b.Position - pivot;
        const double length = std::hypot(arm.X, arm.Y);
        const double a = std::atan2(std::fabs(arm.X), -arm.Y);
        const double inertia = b.Inertia + b.Mass * length * length;
        const double expected = 2 * 3.141592653589793 * std::sqrt(inertia / (b.Mass * 9.81 * length)) *
                                (1 + a * a / 16 + 11 * std::pow(a, 4) / 3072);
        harness.RunUntil(6.0);
        const Recorder& r = harness.window->recording().Samples;
        const int s = r.IndexOf({KindBall, 1, Quantity::X});
        QVERIFY(s >= 0);
        std::vector<double> crossings;  // x rising through the suspension point's x
        for (std::size_t i = 1; i < r.Count(static_cast<std::size_t>(s)); ++i) {
            const double u = r.Value(s, i - 1) - pivot.X, v = r.Value(s, i) - pivot.X;
            if (u < 0 && v >= 0) crossings.push_back(r.Time(s, i - 1) + (r.Time(s, i) - r.Time(s, i - 1)) * (-u / (v - u)));
        }
        QVERIFY(crossings.size() >= 3);
        const double period = (crossings.back() - crossings.front()) / static_cast<double>(crossings.size() - 1);
        qInfo("pendulum 0.4: %zu periods, T = %.4f s (expected %.4f s)", crossings.size() - 1, period, expected);
        QVERIFY(std::abs(period - expected) < 0.005 * expected);
        SaveShot(graph, "graph_pendulum_x.png");
    }
    {
        GraphHarness harness("newton_cradle.qvs");
        frmGraph* graph = harness.OpenGraph(KindBall, 1);
        graph->RemoveSeries(0);
        for (int n = 1; n <= 5; ++n) QVERIFY(graph->AddSeries({KindBall, n, Quantity::MomentumX}));
        harness.RunUntil(1.0);
        const Recorder& r = harness.window->recording().Samples;
        auto largest = [&r](int ball) {
            const int s = r.IndexOf({KindBall, ball, Quantity::MomentumX});
            double most = 0;
            for (std::size_t i = 0; i < r.Count(static_cast<std::size_t>(s)); ++i) most = std::max(most, r.Value(s, i));
            return most;
        };
        const double first = largest(1), last = largest(5);
        qInfo("cradle: largest p_x of ball 1 %.5f, of ball 5 %.5f kg*m/s, handed on %.1f %%", first, last, 100 * last / first);
        QVERIFY(last > 0.8 * first);
        SaveShot(graph, "graph_cradle_momentum.png");
    }
}

// The log slows the step: it listens from the moment a window's box is
// checked, also in the middle of a run, until the last asking window stops
// asking or closes.
void GraphWindowTest::collisionLogListensOnlyWhileAWindowAsks() {
    GraphHarness harness("newton_cradle.qvs");
    frmMain& window = *harness.window;
    const CollisionLog& log = window.recording().Collisions;
    QPointer<frmGraph> first = harness.OpenGraph(KindBall, 1);
    harness.RunUntil(1.0);
    QCOMPARE(log.Received(), std::uint64_t{0});

    window.RunStop();
    const auto runFor = [&](double seconds) {
        const double until = window.world().T + seconds;
        for (int tick = 0; tick < 100000 && window.world().T < until; ++tick) {
            harness.clock.now += 0.02;
            window.Tick();
        }
    };
    QPointer<frmGraph> second = harness.OpenGraph(KindBall, 5);
    second->CollisionBox()->setChecked(true);  // while running
    runFor(1.5);
    const std::uint64_t logged = log.Received();
    QVERIFY(logged > 0);
    first->CollisionBox()->setChecked(true);
    second->close();  // another window still asks
    runFor(1.5);
    QVERIFY(log.Received() > logged);
    first->close();  // the last one
    QTest::qWait(0);
    const std::uint64_t stopped = log.Received();
    runFor(1.5);
    window.RunStop();
    QCOMPARE(log.Received(), stopped);
}

// A ball whose property window shows its working copy is hidden in the
// table and still offered; a ball deleted later leaves the list as it opens.
void GraphWindowTest::objectListFollowsTheSceneAndKeepsTheEditedObject() {
    GraphHarness harness("newton_cradle.qvs");
    World& world = harness.window->world();
    world.Balls[2].Exists = false;
    frmGraph* graph = harness.OpenGraph(KindBall, 2);
    world.Balls[2].Exists = true;
    QComboBox* list = graph->ObjectList();
    QVERIFY(list->findText(QStringLiteral("Шар №2")) >= 0);
    QCOMPARE(list->currentText(), QStringLiteral("Шар №2"));
    world.Balls[4].Exists = false;
    list->showPopup();
    list->hidePopup();
    QCOMPARE(list->findText(QStringLiteral("Шар №4")), -1);
    QVERIFY(list->findText(QStringLiteral("Шар №5")) >= 0);
}

// A window's CSV holds its lines and the series of its x axis, no other
// window's; against a quantity, the scene's line (no x of its own) hides.
void GraphWindowTest::eachWindowExportsItsOwnSeries() {
    GraphHarness harness("newton_cradle.qvs");
    frmGraph* mine = harness.OpenGraph(KindBall, 1);
    QVERIFY(mine->AddSeries({KindNone, 0, Quantity::TotalEnergy}));
    frmGraph* other = harness.OpenGraph(KindBall, 5);
    QVERIFY(other->AddSeries({KindBall, 3, Quantity::VelocityX}));
    mine->SetAxisQuantity(Quantity::Y);
    harness.RunUntil(0.5);
    mine->Refresh();
    QVERIFY(mine->LineShown(0) && !mine->LineShown(1));
    QVERIFY2(mine->NoteLabel()->text().contains(QStringLiteral("Скрыто линий: 1")), qPrintable(mine->NoteLabel()->text()));
    QVERIFY(mine->ExportCsv(harness.Path("mine.csv")));
    const std::string csv = harness.ReadFile(QStringLiteral("mine.csv"));
    const std::string header = csv.substr(0, csv.find('\n'));
    QCOMPARE(std::count(header.begin(), header.end(), ','), 3);  // t, x and y of ball 1, the energy
    QVERIFY2(header.find("Шар №1: y") != std::string::npos, header.c_str());
    QVERIFY2(header.find("Шар №5") == std::string::npos && header.find("Шар №3") == std::string::npos, header.c_str());
    QVERIFY(csv.rfind("\xEF\xBB\xBF", 0) == 0);  // for spreadsheet programs on Windows
}

// Against time the readout shows, for each line, the sample recorded
// nearest the pointer's time, with the line's own symbol and unit.
void GraphWindowTest::cursorReadsEveryLinesNearestSample() {
    GraphHarness harness("hung_pendulums.qvs");
    frmGraph* graph = harness.OpenGraph(KindBall, 1);
    QVERIFY(graph->AddSeries({KindBall, 2, Quantity::VelocityX}));
    harness.RunUntil(1.0);
    const Recorder& r = harness.window->recording().Samples;
    const std::size_t k = r.SampleCount() / 2;
    const double t = r.SampleTime(k);
    graph->ShowCursor(QPointF(t + 1e-6, 1e6), true);  // the pointer high above the lines
    const QString text = graph->CursorLabel()->text();
    const NumberLocale locale = NumberLocaleOf(QLocale());
    const auto value = [&](Quantity what) {
        const std::size_t s = static_cast<std::size_t>(r.IndexOf({KindBall, what == Quantity::X ? 1 : 2, what}));
        return QString::fromStdString(ReadoutValue(InfoOf(what).Symbol, UnitLabel(InfoOf(what).Unit, harness.window->world().Units),
                                                   r.Value(s, k - r.FirstInstant(s)), locale));
    };
    QVERIFY2(text.contains(QStringLiteral("Шар №1: ") + value(Quantity::X)), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Шар №2: ") + value(Quantity::VelocityX)), qPrintable(text));
    graph->ShowCursor({}, false);
    QVERIFY(graph->CursorLabel()->text().isEmpty());
}

// A ball gone for part of the run is drawn as two pieces, not joined
// across the time it was missing.
void GraphWindowTest::aDeletedObjectLeavesAGap() {
    GraphHarness harness("hung_pendulums.qvs");
    frmGraph* graph = harness.OpenGraph(KindBall, 1);
    World& world = harness.window->world();
    harness.RunUntil(0.5);
    const double goneAt = world.T;
    world.Balls[1].Exists = false;
    harness.RunUntil(1.0);
    const double backAt = world.T;
    world.Balls[1].Exists = true;
    harness.RunUntil(1.5);
    graph->Refresh();
    int pieces = 0;
    for (QAbstractSeries* series : graph->Chart()->series()) {
        const auto* line = qobject_cast<QLineSeries*>(series);
        if (!line || line->count() == 0) continue;
        ++pieces;
        for (qsizetype i = 1; i < line->count(); ++i) {
            QVERIFY(!(line->at(i - 1).x() < goneAt && line->at(i).x() > backAt));
        }
    }
    // Steps run ahead of the edit may still see the ball: a few lone points.
    QVERIFY(pieces >= 2);
    QCOMPARE(graph->LineCount(), 1);
}

// Every k-th step and the samples per series belong to the one recording:
// a value typed in one window reaches the recorder and the other windows;
// bad texts change nothing. A budget that cannot hold the capacity says so.
void GraphWindowTest::recordingSettingsAreSharedAndChecked() {
    GraphHarness harness("hung_pendulums.qvs");
    Recorder& r = harness.window->recording().Samples;
    frmGraph* graph = harness.OpenGraph(KindBall, 1);
    frmGraph* other = harness.OpenGraph(KindBall, 2);
    graph->show();
    struct Case {
        NumberField* Field;
        const char* Text;
        std::function<double()> Setting;
    };
    const Case cases[] = {
        {graph->EveryField(), "5", [&r] { return r.Every(); }},
        {graph->CapacityField(), "1000", [&r] { return static_cast<double>(r.RequestedCapacity()); }},
    };
    for (const Case& c : cases) {
        c.Field->setFocus();
        c.Field->selectAll();
        QTest::keyClicks(c.Field, QString::fromLatin1(c.Text));
        QTest::keyClick(c.Field, Qt::Key_Return);
        QCOMPARE(c.Setting(), QString::fromLatin1(c.Text).toDouble());
    }
    other->Refresh();
    QCOMPARE(other->EveryField()->Value(), 5.0);
    QCOMPARE(other->CapacityField()->Value(), 1000.0);
    for (const char* refused : {"0", "2.5", "-3"}) {
        graph->EveryField()->selectAll();
        QTest::keyClicks(graph->EveryField(), QString::fromLatin1(refused));
        QTest::keyClick(graph->EveryField(), Qt::Key_Return);
        QCOMPARE(r.Every(), 5);
    }
    ThrowBadTexts(*graph, [&](NumberField*, const char*) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : graph, Qt::Key_Return);
        QCOMPARE(r.Every(), 5);
        QCOMPARE(r.RequestedCapacity(), std::size_t{1000});
    });
    r.SetMemoryBudget(8 * 100 * 3);  // room for 100 samples of two series and their times
    graph->Refresh();
    QVERIFY2(graph->NoteLabel()->text().contains(QStringLiteral("Памяти записи хватает на")),
             qPrintable(graph->NoteLabel()->text()));

    // Every line removed and one window closed: the window left open
    // records again as soon as it asks for a line.
    while (graph->LineCount() > 0) graph->RemoveSeries(0);
    while (other->LineCount() > 0) other->RemoveSeries(0);
    QVERIFY(other->close());
    QVERIFY(graph->AddSeries({KindBall, 3, Quantity::Y}));
    QVERIFY(r.Enabled());
    harness.RunUntil(0.2);
    QVERIFY(r.Count(static_cast<std::size_t>(r.IndexOf({KindBall, 3, Quantity::Y}))) > 5);
}


namespace {
// The drift the status area reads, or NaN when it shows none.
double ReadoutDrift(const QString& text) {
    const qsizetype at = text.indexOf(QStringLiteral("дрейф "));
    if (at < 0) return NAN;
    QString number = text.mid(at + 6);
    number.chop(2);  // " %"
    number.replace(QChar(0x2212), QChar('-')).replace(QChar(','), QChar('.')).remove(QChar(' '));
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : NAN;
}
}  // namespace

// The pendulums swing through their turning points (kinetic energy near
// zero) and start from rest: the drift reads small at every tick; another
// project counts its drift from its own start energy.
void GraphWindowTest::energyDriftIsSmallAndCountsFromTheOwnStart() {
    GraphHarness harness("hung_pendulums.qvs");
    frmMain& window = *harness.window;
    window.RunStop();
    double largest = 0;
    int read = 0;
    for (int tick = 0; tick < 100000 && window.world().T < 4.0; ++tick) {
        harness.clock.now += 0.02;
        window.Tick();
        const double drift = ReadoutDrift(window.HintLabel()->text());
        if (std::isnan(drift)) continue;
        ++read;
        largest = std::max(largest, std::fabs(drift));
    }
    window.RunStop();
    qInfo("hung pendulums: %d readouts, largest drift %.3f %%", read, largest);
    QVERIFY(read > 50);
    QVERIFY2(largest < 1.0, qPrintable(QString::number(largest)));

    const std::optional<double> first = window.recording().Samples.StartEnergy();
    QVERIFY(first);
    harness.dialogs.OpenAnswers.push_back(
        FileOpenChoice{std::filesystem::path(VELO_SOURCE_DIR "/examples/newton_cradle.qvs"), false});
    window.OpenFile();
    QTest::qWait(0);
    QVERIFY(!window.recording().Samples.StartEnergy());
    const double opened = MechanicalEnergy(window.world());
    harness.RunUntil(0.2);
    QVERIFY(window.recording().Samples.StartEnergy());
    QCOMPARE(*window.recording().Samples.StartEnergy(), opened);
}

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
