#include "record/recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/driver.h"
#include "engine/imitator.h"
#include "engine/step_scenes.h"
#include "record/energy.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::PlaceLaval;
using testing::StillScene;

constexpr double G = 9.8;
constexpr double Dt = 0.001;

// Runs `steps` steps, sampling after each as the driver does.
void RunRecorded(World& world, Recorder& recorder, int steps) {
    StepContext context;
    SilentMessenger messenger;
    recorder.SampleNow(world);
    for (int i = 0; i < steps; ++i) {
        ASSERT_TRUE(MechanicalStep(world, Dt, messenger, context));
        recorder.Sample(world);
    }
}

TEST(Recorder, FallingBallFollowsFreeFallAndKeepsItsEnergy) {
    auto world = StillScene(G);
    const int ball = PlaceBall(*world, {0, 10});
    Recorder recorder;
    recorder.Enable(true);
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::Y}));
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::VelocityY}));
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::TotalEnergy}));
    ASSERT_TRUE(recorder.Add({KindNone, 0, Quantity::TotalEnergy}));
    RunRecorded(*world, recorder, 1000);

    ASSERT_EQ(recorder.Count(0), 1001u);
    const double e0 = recorder.Value(2, 0);
    for (std::size_t i = 0; i < recorder.Count(0); i += 50) {
        const double t = recorder.Time(0, i);
        EXPECT_NEAR(recorder.Value(0, i), 10 - G * t * t / 2, 1e-9) << "t = " << t;
        EXPECT_NEAR(recorder.Value(1, i), -G * t, 1e-9) << "t = " << t;
        EXPECT_NEAR(recorder.Value(2, i), e0, 1e-9 * std::fabs(e0)) << "t = " << t;
        // The only body: the scene's total is the ball's.
        EXPECT_EQ(recorder.Value(3, i), recorder.Value(2, i));
    }
    EXPECT_NEAR(recorder.Time(0, 1000), 1.0, 1e-12);
}

TEST(Recorder, PendulumPeriodReadFromTheRecording) {
    auto world = StillScene(G);
    const Vec2 pivot{0, 2};
    const int point = PlaceLaval(*world, pivot);
    const double amplitude = 0.05;
    const double direction = std::numbers::pi / 2 + amplitude;  // from the centre to the point
    const int ball = PlaceBall(*world, pivot - Vec2{std::cos(direction), std::sin(direction)});
    Ball& b = world->Balls[ball];
    b.BindKind = BindLaval;
    b.BindNumber = point;
    b.BindAngle = direction;
    RecomputeBall(*world, ball);

    Recorder recorder;
    recorder.Enable(true);
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::X}));
    RunRecorded(*world, recorder, 12000);

    // Upward crossings of x = 0, placed between the samples that straddle them.
    std::vector<double> crossings;
    for (std::size_t i = 1; i < recorder.Count(0); ++i) {
        const RecordedPoint a = recorder.At(0, i - 1), c = recorder.At(0, i);
        if (a.Value < 0 && c.Value >= 0) crossings.push_back(a.Time + (c.Time - a.Time) * -a.Value / (c.Value - a.Value));
    }
    ASSERT_GE(crossings.size(), 4u);
    const double measured = (crossings.back() - crossings.front()) / static_cast<double>(crossings.size() - 1);
    const double m = b.Mass, r = b.Radius;
    const double inertia = 0.4 * m * r * r + m;  // about the point, length 1
    const double expected = 2 * std::numbers::pi * std::sqrt(inertia / (m * G)) * (1 + amplitude * amplitude / 16);
    EXPECT_NEAR(measured, expected, 0.005 * expected);
}

TEST(Recorder, RingKeepsTheNewestSamplesAndSaysItDropped) {
    auto world = StillScene(G);
    const int ball = PlaceBall(*world, {0, 10});
    Recorder recorder;
    recorder.Enable(true);
    recorder.SetCapacity(5);
    recorder.SampleEvery(3);
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::Y}));
    StepContext context;
    SilentMessenger messenger;
    std::vector<double> sampledTimes;
    for (int i = 1; i <= 30; ++i) {
        MechanicalStep(*world, Dt, messenger, context);
        if (i == 21) {
            ASSERT_TRUE(recorder.Add({KindCylinder, ball, Quantity::X}));  // found again as a ball
        }
        const std::uint64_t revision = recorder.Revision();
        recorder.Sample(*world);
        if (i % 3 == 0) {
            sampledTimes.push_back(world->T);
            EXPECT_GT(recorder.Revision(), revision);
        }
    }
    // Ten samples, five kept; the series added at step 21 has the last four.
    EXPECT_EQ(recorder.SamplesTaken(), 10u);
    EXPECT_EQ(recorder.Count(0), 5u);
    EXPECT_EQ(recorder.DroppedCount(0), 5u);
    EXPECT_TRUE(recorder.DroppedOldest(0));
    EXPECT_EQ(recorder.IndexOf({KindBall, ball, Quantity::X}), 1);
    EXPECT_EQ(recorder.Count(1), 4u);
    EXPECT_FALSE(recorder.DroppedOldest(1));
    EXPECT_EQ(recorder.FirstInstant(1), 1u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(recorder.Time(0, i), sampledTimes[5 + i]);
    EXPECT_EQ(recorder.Time(1, 0), sampledTimes[6]);
    const std::vector<RecordedPoint> last = recorder.Last(0, 2);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[1].Time, world->T);
    EXPECT_EQ(last[1].Value, world->Balls[ball].Position.Y);

    // Rewinding: the samples go, the series and settings stay.
    recorder.Clear();
    EXPECT_EQ(recorder.Count(0), 0u);
    EXPECT_EQ(recorder.SeriesCount(), 2u);
    EXPECT_EQ(recorder.Every(), 3);
    recorder.Enable(false);
    recorder.SampleNow(*world);
    EXPECT_EQ(recorder.Count(0), 0u);
}

// The rings share one memory budget: each series added shrinks them all,
// keeping the newest samples; a series removed lets them grow again.
TEST(Recorder, MemoryBudgetIsSharedByTheSeries) {
    auto world = StillScene(G);
    const int ball = PlaceBall(*world, {0, 10});
    Recorder recorder;
    recorder.Enable(true);
    recorder.SetMemoryBudget(3 * 10 * sizeof(double));  // times and two series of 10 samples
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::Y}));
    EXPECT_EQ(recorder.Capacity(), 15u);
    RunRecorded(*world, recorder, 14);  // 15 samples with the first
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::VelocityY}));
    EXPECT_EQ(recorder.Capacity(), 10u);
    EXPECT_EQ(recorder.Count(0), 10u);
    EXPECT_EQ(recorder.DroppedCount(0), 5u);
    EXPECT_EQ(recorder.Time(0, 9), world->T);
    EXPECT_EQ(recorder.Value(0, 9), world->Balls[ball].Position.Y);
    EXPECT_LE(recorder.MemoryBytes(), 3 * 10 * sizeof(double) + 1024);
    ASSERT_TRUE(recorder.Remove({KindBall, ball, Quantity::VelocityY}));
    EXPECT_EQ(recorder.Capacity(), 15u);
    EXPECT_EQ(recorder.Count(0), 10u);
    EXPECT_FALSE(recorder.OutOfMemory());
    EXPECT_EQ(recorder.RequestedCapacity(), Recorder::DefaultCapacity);
}

TEST(Recorder, RefusesKeysNoObjectCanHave) {
    struct Case {
        SeriesKey Key;
        bool Accepted;
    } cases[] = {
        {{KindBall, 1, Quantity::X}, true},
        {{KindPeg, PegCapacity, Quantity::Torque}, true},
        {{KindNone, 0, Quantity::Momentum}, true},
        {{KindNone, 0, Quantity::X}, false},  // the scene has no coordinate
        {{KindNone, 3, Quantity::TotalEnergy}, false},
        {{KindWall, 1, Quantity::X}, false},
        {{KindBall, 0, Quantity::X}, false},  // the edit copy
        {{KindBall, BallCapacity + 1, Quantity::X}, false},
        {{KindBall, 1, static_cast<Quantity>(RecordedQuantityCount)}, false},
    };
    for (const Case& c : cases) {
        Recorder recorder;
        EXPECT_EQ(recorder.Add(c.Key), c.Accepted) << int(c.Key.Kind) << " " << c.Key.Number;
        if (c.Accepted) {
            EXPECT_FALSE(recorder.Add(c.Key)) << "twice";
        }
    }
}

TEST(Recorder, MissingObjectRecordsGapsAndMemoryGrowsByBlocks) {
    auto world = StillScene(G);
    const int ball = PlaceBall(*world, {0, 10});
    Recorder recorder;
    recorder.Enable(true);
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::Y}));
    ASSERT_TRUE(recorder.Add({KindPeg, 7, Quantity::Phi}));  // no such rod yet
    const std::size_t empty = recorder.MemoryBytes();
    recorder.SampleNow(*world);
    const std::size_t oneBlock = recorder.MemoryBytes();
    // One block of times and one per series.
    EXPECT_GE(oneBlock - empty, 3 * Recorder::BlockSamples * sizeof(double));
    world->Balls[ball].Exists = false;
    world->T = 1;
    recorder.SampleNow(*world);
    EXPECT_TRUE(std::isnan(recorder.Value(0, 1)));
    EXPECT_TRUE(std::isnan(recorder.Value(1, 0)));
    EXPECT_EQ(recorder.MemoryBytes(), oneBlock);
    recorder.SampleNow(*world);  // same T: not taken twice
    EXPECT_EQ(recorder.Count(0), 2u);
    recorder.Forget();
    EXPECT_EQ(recorder.SeriesCount(), 0u);
    EXPECT_LT(recorder.MemoryBytes(), oneBlock);
}

class StillClock final : public Clock {
public:
    double Now() override { return 0; }
};

TEST(Recorder, DriverSamplesAfterEveryCompletedStepOnly) {
    auto world = StillScene(G);
    const int ball = PlaceBall(*world, {0, 10});
    const int spinning = PlaceBall(*world, {5, 10});
    Recorder recorder;
    recorder.Enable(true);
    ASSERT_TRUE(recorder.Add({KindBall, ball, Quantity::Y}));
    SilentMessenger messenger;
    StillClock clock;
    DriverHooks hooks;
    hooks.RecordStartPoint = [&] {
        recorder.MarkStartPoint(*world);
        recorder.SampleNow(*world);
    };
    hooks.AfterStep = [&](const World& w) { recorder.Sample(w); };
    Driver driver(*world, messenger, clock, hooks);
    driver.StartRun();
    driver.Tick();
    driver.Tick();
    EXPECT_EQ(recorder.Count(0), 1u + 11 + 12);
    EXPECT_EQ(recorder.Time(0, recorder.Count(0) - 1), world->T);
    EXPECT_TRUE(recorder.StartEnergy().has_value());

    // A step that freezes a ball does not complete: no sample of it.
    world->Balls[spinning].Omega = 5e16;
    driver.Tick();
    EXPECT_FALSE(driver.Running());
    EXPECT_EQ(recorder.Count(0), 1u + 11 + 12);
}

// The drift is a share of the energy the scene moves with, so it reads the
// same at any zero level of the potential energy.
TEST(EnergyDrift, PerCentOfTheEnergyTheSceneMovesWith) {
    struct Case {
        double Start, Now, Scale;
        std::optional<double> Drift;
    } cases[] = {
        {100, 101, 100, 1.0}, {-200, -202, 200, -1.0}, {50, 50, 7, 0.0}, {0, 3, 300, 1.0},
        {5, 6, 0, std::nullopt}, {NAN, 1, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> drift = EnergyDriftPercent(c.Start, c.Now, c.Scale);
        ASSERT_EQ(drift.has_value(), c.Drift.has_value()) << c.Start;
        if (drift) {
            EXPECT_NEAR(*drift, *c.Drift, 1e-12);
        }
    }
    // A pendulum swinging for a while: the same drift at two zero levels.
    std::optional<double> drifts[2];
    for (int level = 0; level < 2; ++level) {
        auto world = StillScene(G);
        world->Params.ZeroLevel = level == 0 ? 0 : -1000;
        const int point = PlaceLaval(*world, {0, 2});
        const int ball = PlaceBall(*world, {0.5, 2});
        world->Balls[ball].BindKind = BindLaval;
        world->Balls[ball].BindNumber = point;
        world->Balls[ball].BindAngle = std::numbers::pi;
        RecomputeBall(*world, ball);
        Recorder recorder;
        EXPECT_FALSE(ReadEnergy(*world, recorder).DriftPercent);
        recorder.MarkStartPoint(*world);
        // From rest, the first steps have too little energy to scale by.
        RunRecorded(*world, recorder, 10);
        EXPECT_FALSE(ReadEnergy(*world, recorder).DriftPercent);
        RunRecorded(*world, recorder, 490);
        drifts[level] = ReadEnergy(*world, recorder).DriftPercent;
        ASSERT_TRUE(drifts[level]);
        EXPECT_LT(std::fabs(*drifts[level]), 1.0);
    }
    EXPECT_NEAR(*drifts[0], *drifts[1], 1e-6);
    Recorder forgotten;
    auto world = StillScene(G);
    forgotten.MarkStartPoint(*world);
    forgotten.Forget();
    EXPECT_FALSE(forgotten.StartEnergy());
}

}  // namespace
}  // namespace velo
