// The simulation driver: batch growth, step length from real time, the
// first batches of a run, freezing, project kinds, run and pause, the
// performance figure and the stop-motion command.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/driver.h"
#include "engine/step_scenes.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::RecordingMessenger;
using testing::StillScene;

class ManualClock final : public Clock {
public:
    double Time = 0;
    double Now() override { return Time; }
};

struct DriverRig {
    std::unique_ptr<World> world = StillScene(9.81);
    RecordingMessenger messenger;
    ManualClock clock;
    std::vector<std::string> events;
    std::string timeText;
    Driver driver{*world, messenger, clock, Hooks()};

    DriverHooks Hooks() {
        DriverHooks hooks;
        hooks.Autosave = [this] { events.push_back("autosave"); };
        hooks.RecordStartPoint = [this] { events.push_back("start point"); };
        hooks.RunningChanged = [this](bool running) { events.push_back(running ? "running" : "paused"); };
        hooks.RedrawMoving = [this] { events.push_back("redraw"); };
        hooks.ShowTime = [this](const std::string& text) { timeText = text; };
        hooks.RedrawAfterFreeze = [this] { events.push_back("redraw after freeze"); };
        return hooks;
    }
};

TEST(Driver, BatchGrowsByATenthUpToPipeline) {
    DriverRig rig;
    rig.driver.StartRun();
    const std::vector<int> expected = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22, 24, 26, 28, 30,
                                       33, 36, 39, 42, 46, 50, 55, 60, 66, 72, 79, 86, 94, 100, 100, 100};
    for (int size : expected) {
        rig.driver.Tick();
        EXPECT_EQ(rig.driver.StepsPerTick(), size);
    }
}

TEST(Driver, SmallPipelineKeepsTheBatch) {
    // A Pipeline of 0 or less from the settings counts as 1.
    for (int pipeline : {1, 5, 9, 10, 0, -5}) {
        DriverRig rig;
        rig.driver.Pipeline = pipeline;
        rig.driver.StartRun();
        const int batch = std::max(pipeline, 1);
        std::int64_t total = 0;
        for (int i = 0; i < 20; ++i) {
            rig.driver.Tick();
            EXPECT_EQ(rig.driver.StepsPerTick(), batch) << "pipeline " << pipeline;
            total += batch;
        }
        EXPECT_EQ(rig.driver.StepsThisRun(), total);
        EXPECT_EQ(rig.world->Params.StepCounter, total);
    }
}

// The first two batches of the first run have steps of 1e-16: nothing was
// measured before the run, and the first tick's measurement is dropped.
TEST(Driver, FirstBatchesOfTheFirstRunAreNegligible) {
    DriverRig rig;
    rig.clock.Time = 100;
    rig.driver.StartRun();
    EXPECT_TRUE(rig.driver.FirstTick());
    EXPECT_EQ(rig.driver.TickElapsed(), 0);
    rig.clock.Time = 100.5;
    rig.driver.Tick();
    EXPECT_NEAR(rig.world->T, 11e-16, 1e-30);
    EXPECT_EQ(rig.driver.TickElapsed(), 1e-30);
    EXPECT_FALSE(rig.driver.FirstTick());
    rig.clock.Time = 100.52;
    rig.driver.Tick();
    EXPECT_NEAR(rig.world->T, 23e-16, 1e-30);
    EXPECT_DOUBLE_EQ(rig.driver.TickElapsed(), 100.52 - 100.5);
}

struct StepSizeCase {
    const char* Name;
    double TimeScale;
    double MaxStep;
    double Elapsed;
    double ExpectedStep;  // of the 13 steps of the third batch
};

TEST(Driver, StepFollowsScaledRealTimeWithinItsCaps) {
    const StepSizeCase cases[] = {
        {"capped by MaxStep", 1, 0.001, 0.026, 0.001},
        {"real time", 1, 0.01, 0.026, 0.026 / 13},
        {"slowed down", 2, 0.01, 0.026, 0.026 / 13 / 2},
        {"sped up", 1 / 1.2, 0.01, 0.026, 0.026 / 13 / (1 / 1.2)},
        {"clock went back", 1, 0.01, -0.026, 0.026 / 13},
        {"no cap", 1, 1e300, 1000, 1000.0 / 13},
        {"negligible time", 1, 0.001, 1e-20, 1e-16},
        {"negative cap", 1, -1, 0.026, 1e-16},
    };
    for (const StepSizeCase& c : cases) {
        DriverRig rig;
        rig.world->Params.TimeScale = c.TimeScale;
        rig.world->Params.MaxStep = c.MaxStep;
        rig.clock.Time = 50;
        rig.driver.StartRun();
        rig.driver.Tick();  // its own measurement is dropped
        rig.clock.Time = 50 + c.Elapsed;
        rig.driver.Tick();  // measures the budget of the third batch
        const double before = rig.world->T;
        rig.driver.Tick();
        ASSERT_EQ(rig.driver.StepsPerTick(), 13) << c.Name;
        EXPECT_NEAR(rig.world->T - before, 13 * c.ExpectedStep, 1e-12 * 13 * c.ExpectedStep) << c.Name;
    }
}

TEST(Driver, AdvancePerTickIsBoundedByBatchTimesMaxStep) {
    DriverRig rig;
    rig.clock.Time = 0;
    rig.driver.StartRun();
    for (int i = 0; i < 60; ++i) {
        rig.clock.Time += 5;  // the machine was blocked for seconds
        const double before = rig.world->T;
        rig.driver.Tick();
        EXPECT_LE(rig.world->T - before, rig.driver.StepsPerTick() * 0.001 * (1 + 1e-12));
    }
    EXPECT_EQ(rig.driver.StepsPerTick(), 100);
    const double before = rig.world->T;
    rig.clock.Time += 5;
    rig.driver.Tick();
    EXPECT_NEAR(rig.world->T - before, 0.1, 1e-12);
}

TEST(Driver, TickElapsedIsKeptFromTheLastRun) {
    DriverRig rig;
    rig.clock.Time = 10;
    rig.driver.StartRun();
    rig.driver.Tick();
    rig.clock.Time = 10.004;
    rig.driver.Tick();  // budget 0.004
    rig.driver.PauseRun();
    const double kept = rig.driver.TickElapsed();
    EXPECT_DOUBLE_EQ(kept, 10.004 - 10);
    rig.clock.Time = 500;
    rig.driver.StartRun();
    const double before = rig.world->T;
    rig.driver.Tick();  // 11 steps from the kept budget
    EXPECT_NEAR(rig.world->T - before, 11 * (kept / 11), 1e-15);
}

TEST(Driver, ShowsTheRoundedTimeAfterEveryTick) {
    DriverRig rig;
    rig.world->T = 1234.56789;
    rig.driver.StartRun();
    rig.driver.Tick();
    EXPECT_EQ(rig.timeText, "T = 1234,568");
    rig.driver.DecimalSeparator = ".";
    rig.driver.Tick();
    EXPECT_EQ(rig.timeText, "T = 1234.568");
}

TEST(Driver, FrozenBallPausesTheRun) {
    DriverRig rig;
    const int n = PlaceBall(*rig.world, {0, 1});
    rig.world->Balls[n].Omega = 5e16;
    rig.driver.ToggleRun();  // free running: ticks until the run ends
    EXPECT_FALSE(rig.driver.Running());
    ASSERT_EQ(rig.messenger.Shown.size(), 1u);
    EXPECT_EQ(rig.messenger.Shown[0].Text, "Слишком быстрое вращение объекта. Объект будет \"заморожен\"");
    EXPECT_EQ(rig.messenger.Shown[0].Icon, MessageIcon::Error);
    EXPECT_TRUE(rig.world->Balls[n].Selected);
    EXPECT_FALSE(rig.world->Balls[n].Movable);
    EXPECT_EQ(rig.world->T, 0);
    const std::vector<std::string> expected = {"autosave", "running", "start point", "redraw", "paused",
                                               "redraw after freeze"};
    EXPECT_EQ(rig.events, expected);
    EXPECT_EQ(rig.driver.StepsThisRun(), 11);

    // The next run goes on without the frozen ball.
    rig.messenger.Shown.clear();
    rig.driver.StartRun();
    rig.driver.Tick();
    EXPECT_TRUE(rig.driver.Running());
    EXPECT_TRUE(rig.messenger.Shown.empty());
    EXPECT_EQ(rig.world->Balls[n].Position, (Vec2{0, 1}));
}

TEST(Driver, PauseDuringEventsIsNotUndoneByAFreeze) {
    DriverRig rig;
    const int n = PlaceBall(*rig.world, {0, 1});
    rig.world->Balls[n].Omega = 5e16;
    rig.driver.Hooks().ProcessEvents = [&] { rig.driver.ToggleRun(); };
    rig.driver.StartRun();
    rig.driver.Tick();
    EXPECT_FALSE(rig.driver.Running());
}

TEST(Driver, StartRecordsTheStartPointOnlyAtTimeZero) {
    DriverRig rig;
    rig.world->T = 0.5;
    rig.world->Changed = false;
    rig.driver.StartRun();
    EXPECT_TRUE(rig.world->Changed);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"autosave", "running"}));
    rig.world->Changed = false;
    rig.driver.PauseRun();
    EXPECT_TRUE(rig.world->Changed);
    EXPECT_EQ(rig.events.back(), "paused");
}

TEST(Driver, FreeRunningLoopsUntilPausedTimerModeReturns) {
    {
        DriverRig rig;
        int ticks = 0;
        rig.driver.Hooks().ProcessEvents = [&] {
            if (++ticks == 5) rig.driver.ToggleRun();
        };
        rig.driver.Latency = 5;  // below the timer floor
        EXPECT_EQ(rig.driver.TimerInterval(), 0);
        rig.driver.ToggleRun();
        EXPECT_EQ(ticks, 5);
        EXPECT_FALSE(rig.driver.Running());
    }
    {
        DriverRig rig;
        rig.driver.Latency = 10;
        EXPECT_EQ(rig.driver.TimerInterval(), 10);
        rig.driver.ToggleRun();
        EXPECT_TRUE(rig.driver.Running());
        EXPECT_EQ(rig.driver.StepsThisRun(), 0);
        rig.driver.ToggleRun();
        EXPECT_FALSE(rig.driver.Running());
    }
}

TEST(Driver, LastTpsIsStepsPerRealSecond) {
    DriverRig rig;
    EXPECT_EQ(rig.driver.LastTps(), 0);
    rig.clock.Time = 20;
    rig.driver.StartRun();
    for (int i = 0; i < 3; ++i) rig.driver.Tick();  // 11 + 12 + 13
    rig.clock.Time = 22;
    rig.driver.PauseRun();
    EXPECT_DOUBLE_EQ(rig.driver.LastTps(), 36 / 2.0);

    // A run that took no measurable time gives no figure rather than a
    // division by zero.
    rig.driver.StartRun();
    rig.driver.Tick();
    rig.driver.PauseRun();
    EXPECT_EQ(rig.driver.LastTps(), 0);
}

TEST(Driver, OtherProjectKindsPauseAtTheFirstTick) {
    for (std::uint8_t kind : {ProjectNone, ProjectCelestial, ProjectDiffraction}) {
        DriverRig rig;
        rig.world->ProjectKind = kind;
        rig.driver.StartRun();
        rig.driver.Tick();
        EXPECT_FALSE(rig.driver.Running()) << int(kind);
        EXPECT_EQ(rig.world->Params.StepCounter, 0) << int(kind);
        EXPECT_EQ(rig.world->T, 0) << int(kind);
    }
}

TEST(Driver, CelestialStepRunsTheBatchAndStopsAtTheFirstFailure) {
    DriverRig rig;
    rig.world->ProjectKind = ProjectCelestial;
    std::vector<double> steps;
    rig.driver.Hooks().CelestialStep = [&](World&, double dt) {
        steps.push_back(dt);
        return steps.size() < 15;
    };
    rig.driver.Hooks().CelestialTimeFactor = [] { return 3.0; };
    rig.clock.Time = 1;
    rig.driver.StartRun();
    rig.driver.Tick();
    EXPECT_EQ(steps.size(), 11u);
    EXPECT_EQ(steps[0], 0);  // no budget before the first run, and no floor
    rig.driver.Tick();
    EXPECT_EQ(steps.size(), 15u);
    EXPECT_DOUBLE_EQ(steps.back(), 1e-30 / 12 * 3);
    EXPECT_FALSE(rig.driver.Running());
    EXPECT_EQ(rig.driver.StepsThisRun(), 23);  // the whole planned batch is counted
    EXPECT_EQ(rig.events.back(), "redraw after freeze");
}

TEST(Driver, LatencyFromRegistryValue) {
    const struct {
        double Value;
        int Expected;
    } cases[] = {{0, 0}, {12.9, 12}, {-3.7, 3}, {255, 255}, {255.9, 255}, {256, 255}, {1e12, 255},
                 {-1e12, 255}, {std::nan(""), 0}};
    for (const auto& c : cases) EXPECT_EQ(LatencyFromRegistry(c.Value), c.Expected) << c.Value;
    EXPECT_EQ(TimerIntervalFor(0), 0);
    EXPECT_EQ(TimerIntervalFor(9), 0);
    EXPECT_EQ(TimerIntervalFor(10), 10);
    EXPECT_EQ(TimerIntervalFor(255), 255);
}

TEST(StopMotion, StopsSelectedBallsAndRodsOnly) {
    auto world = StillScene();
    const int selected = PlaceBall(*world, {0, 1}, 0.1, 7800, {3, 4});
    const int other = PlaceBall(*world, {2, 1}, 0.1, 7800, {3, 4});
    world->Balls[selected].Selected = true;
    world->Balls[selected].Omega = 7;
    world->Balls[other].Omega = 7;
    Peg& rod = world->Pegs[++world->PegCount];
    rod.Exists = true;
    rod.Movable = true;
    rod.Selected = true;
    rod.Length = 1;
    rod.Width = rod.Depth = 0.02;
    rod.Density = 7800;
    rod.Velocity = {1, 1};
    rod.Omega = 2;
    Thread& thread = world->Threads[++world->ThreadCount];
    thread.Exists = true;
    thread.Selected = true;
    thread.SegmentCount = 1;
    thread.SegmentOmega[1] = 4;
    StopMotion(*world);
    EXPECT_EQ(world->Balls[selected].Velocity, (Vec2{0, 0}));
    EXPECT_EQ(world->Balls[selected].Omega, 0);
    EXPECT_EQ(world->Balls[selected].KineticEnergy, 0);
    EXPECT_EQ(world->Balls[other].Velocity, (Vec2{3, 4}));
    EXPECT_EQ(world->Balls[other].Omega, 7);
    EXPECT_EQ(rod.Velocity, (Vec2{0, 0}));
    EXPECT_EQ(rod.Omega, 0);
    EXPECT_EQ(thread.SegmentOmega[1], 4);
}

}  // namespace
}  // namespace velo
