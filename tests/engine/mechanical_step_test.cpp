// The mechanical step: step counter, freezing of runaway objects, the
// position phase of balls, rods and threads, and determinism.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/imitator.h"
#include "engine/rod_phase.h"
#include "engine/step_scenes.h"
#include "model/portable_math.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::PlaceLaval;
using testing::RecordingMessenger;
using testing::StateHash;
using testing::StillScene;

const char* const RotationText = "Слишком быстрое вращение объекта. Объект будет \"заморожен\"";
const char* const SpeedText = "Слишком большая скорость объекта. Объект будет \"заморожен\"";

TEST(MechanicalStep, StepCounterWrapsAtTwoBillion) {
    auto world = StillScene();
    RecordingMessenger messenger;
    StepContext context;
    world->Params.StepCounter = 1999999998;
    ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Params.StepCounter, 1999999999);
    ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Params.StepCounter, 0);
    ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Params.StepCounter, 1);
    // A counter read from a file at the top of its range does not overflow.
    world->Params.StepCounter = 2147483647;
    ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Params.StepCounter, 147483648);
}

struct FreezeCase {
    const char* Name;
    double Omega;
    Vec2 Velocity;
    const char* Message;
};

TEST(MechanicalStep, RunawayBallIsFrozenAndTheStepFails) {
    const FreezeCase cases[] = {
        {"spinning", 2e16, {0, 0}, RotationText},
        {"spinning backwards", -1.5e16, {0, 0}, RotationText},
        {"flying", 0, {1e41, 0}, SpeedText},
        {"flying diagonally", 0, {-8e39, 8e39}, SpeedText},
        {"both: rotation is tested first", 2e16, {1e41, 0}, RotationText},
    };
    for (const FreezeCase& c : cases) {
        auto world = StillScene();
        const int first = PlaceBall(*world, {-1, 1});
        const int runaway = PlaceBall(*world, {0, 1});
        const int last = PlaceBall(*world, {1, 1});
        world->Balls[runaway].Omega = c.Omega;
        world->Balls[runaway].Velocity = c.Velocity;
        world->T = 2.5;
        world->Params.StepCounter = 7;
        RecordingMessenger messenger;
        StepContext context;
        EXPECT_FALSE(MechanicalStep(*world, 0.001, messenger, context)) << c.Name;
        ASSERT_EQ(messenger.Shown.size(), 1u) << c.Name;
        EXPECT_EQ(messenger.Shown[0].Icon, MessageIcon::Error) << c.Name;
        EXPECT_EQ(messenger.Shown[0].Text, c.Message) << c.Name;
        const Ball& b = world->Balls[runaway];
        EXPECT_TRUE(b.Selected) << c.Name;
        EXPECT_FALSE(b.Movable) << c.Name;
        EXPECT_EQ(world->T, 2.5) << c.Name;
        EXPECT_EQ(world->Params.StepCounter, 8) << c.Name;
        // The step stops at once: the earlier ball has had its velocity
        // phase, the later one nothing, and no ball has moved.
        EXPECT_LT(world->Balls[first].Velocity.Y, 0) << c.Name;
        EXPECT_EQ(world->Balls[first].Position, (Vec2{-1, 1})) << c.Name;
        EXPECT_EQ(world->Balls[last].Velocity, (Vec2{0, 0})) << c.Name;
        EXPECT_FALSE(world->Balls[last].Selected) << c.Name;

        // Frozen, it no longer moves, and the next step goes through.
        messenger.Shown.clear();
        const Vec2 at = b.Position;
        EXPECT_TRUE(MechanicalStep(*world, 0.001, messenger, context)) << c.Name;
        EXPECT_TRUE(messenger.Shown.empty()) << c.Name;
        EXPECT_EQ(b.Position, at) << c.Name;
    }
}

TEST(MechanicalStep, BallsJustBelowTheLimitsMove) {
    auto world = StillScene(0);
    const int n = PlaceBall(*world, {0, 0}, 0.1, 7800, {1e39, 0});
    world->Balls[n].Omega = 1e16;
    RecordingMessenger messenger;
    StepContext context;
    EXPECT_TRUE(MechanicalStep(*world, 1e-30, messenger, context));
    EXPECT_TRUE(world->Balls[n].Movable);
}

Peg& PlaceRod(World& world, Vec2 centre, double length) {
    const int n = ++world.PegCount;
    Peg& rod = world.Pegs[n];
    rod = Peg{};
    rod.Exists = true;
    rod.Movable = true;
    rod.Length = length;
    rod.Width = 0.02;
    rod.Depth = 0.02;
    rod.SectionShape = 1;
    rod.Density = 7800;
    rod.SectionInertiaFactor = 1.0 / 12;
    rod.Position = centre;
    RecomputeRod(world, n);
    return rod;
}

TEST(MechanicalStep, FastTurningRodIsFrozenInThePositionPhase) {
    auto world = StillScene();
    const int ball = PlaceBall(*world, {5, 5});
    Peg& rod = PlaceRod(*world, {0, 3}, 1);
    rod.Omega = 3e16;
    RecordingMessenger messenger;
    StepContext context;
    EXPECT_FALSE(MechanicalStep(*world, 0.001, messenger, context));
    ASSERT_EQ(messenger.Shown.size(), 1u);
    EXPECT_EQ(messenger.Shown[0].Text, RotationText);
    EXPECT_FALSE(rod.Movable);
    EXPECT_TRUE(rod.Selected);
    EXPECT_EQ(world->T, 0);
    // The balls had their position phase before the rods.
    EXPECT_LT(world->Balls[ball].Position.Y, 5);
}

TEST(MechanicalStep, FreeRodMovesAndTurnsHangingRodOnlyTurns) {
    auto world = StillScene(0);
    const int point = PlaceLaval(*world, {2, 2});
    Peg& free = PlaceRod(*world, {0, 0}, 1);
    free.Velocity = {1, 2};
    free.Omega = 0.5;
    Peg& hanging = PlaceRod(*world, {2, 2}, 1);
    hanging.HangLaval = point;
    hanging.HangFraction = 0.5;
    hanging.Velocity = {1, 2};
    hanging.Omega = 0.5;
    RecomputeRod(*world, 2);
    RecordingMessenger messenger;
    StepContext context;
    ASSERT_TRUE(MechanicalStep(*world, 0.01, messenger, context));
    EXPECT_NEAR(free.Position.X, 0.01, 1e-15);
    EXPECT_NEAR(free.Position.Y, 0.02, 1e-15);
    EXPECT_NEAR(free.Phi, 0.005, 1e-15);
    EXPECT_EQ(hanging.Position, (Vec2{2, 2}));
    EXPECT_NEAR(hanging.Phi, 0.005, 1e-15);
}

TEST(MechanicalStep, ThreadJointsFollowTheirSegments) {
    auto world = StillScene(9.81);
    PlaceLaval(*world, {0, 0});
    const int n = ++world->ThreadCount;
    Thread& thread = world->Threads[n];
    thread.Exists = true;
    thread.FirstEndLaval = 1;
    thread.SegmentCount = 3;
    thread.LinearDensity = 0.1;
    for (int k = 0; k <= 3; ++k) thread.Points[k] = {0.1 * k, 0};
    for (int k = 1; k <= 3; ++k) {
        thread.SegmentLength[k] = 0.1;
        thread.SegmentPhi[k] = 0;
    }
    RecordingMessenger messenger;
    StepContext context;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
        EXPECT_EQ(thread.Points[0], (Vec2{0, 0}));
        for (int k = 1; k <= 3; ++k) {
            const double phi = thread.SegmentPhi[k];
            const Vec2 expected = thread.Points[k - 1] +
                                  Vec2{math::Cos(phi), math::Sin(phi)} * thread.SegmentLength[k];
            ASSERT_LT(Magnitude(thread.Points[k] - expected), 1e-15) << "segment " << k;
        }
    }
    // Released horizontally, the thread falls.
    EXPECT_LT(thread.Points[3].Y, 0);
    EXPECT_LT(thread.SegmentOmega[3], 0);
}

TEST(MechanicalStep, DeletedAndFrozenObjectsAreSkipped) {
    auto world = StillScene();
    const int deleted = PlaceBall(*world, {0, 1});
    const int frozen = PlaceBall(*world, {1, 1});
    world->Balls[deleted].Exists = false;
    world->Balls[deleted].Omega = 1e20;  // would freeze the step if visited
    world->Balls[frozen].Movable = false;
    world->Balls[frozen].Velocity = {1, 0};
    RecordingMessenger messenger;
    StepContext context;
    ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Balls[deleted].Position, (Vec2{0, 1}));
    EXPECT_EQ(world->Balls[frozen].Position, (Vec2{1, 1}));
    EXPECT_EQ(world->Balls[frozen].Velocity, (Vec2{1, 0}));
}

// A fixed scene in air with wind, run for a fixed number of steps, always
// ends in the same state to the last bit.
std::uint64_t RunGoldenScene() {
    auto world = StillScene(9.81);
    world->Params.AirDensity = 1.2;
    world->Params.Wind = {3, -0.5};
    for (int i = 0; i < 6; ++i) {
        const int n = PlaceBall(*world, {i * 1.0, 2.0 + 0.1 * i}, 0.05 + 0.01 * i, 500 + 300 * i,
                                {0.5 * i, 1.0 - 0.2 * i});
        world->Balls[n].DragLinear = 0.2 * i;
        world->Balls[n].DragQuadratic = 0.1 * (6 - i);
        world->Balls[n].Omega = 0.3 * i;
    }
    const int point = PlaceLaval(*world, {10, 3});
    const int hung = PlaceBall(*world, {10.4, 2.7}, 0.05, 2000);
    world->Balls[hung].BindKind = BindLaval;
    world->Balls[hung].BindNumber = point;
    RecomputeBall(*world, hung);
    RecordingMessenger messenger;
    StepContext context;
    for (int i = 0; i < 500; ++i) {
        if (!MechanicalStep(*world, 0.0007, messenger, context)) return 0;
    }
    StateHash hash;
    for (int n = 1; n <= world->BallCount; ++n) {
        const Ball& b = world->Balls[n];
        hash.Add(b.Position);
        hash.Add(b.Velocity);
        hash.Add(b.Force);
        hash.Add(b.Omega);
        hash.Add(b.Phi);
        hash.Add(b.KineticEnergy);
        hash.Add(b.AngularMomentum);
    }
    hash.Add(world->T);
    return hash.Value();
}

TEST(MechanicalStep, GoldenSceneIsDeterministic) {
    const std::uint64_t first = RunGoldenScene();
    EXPECT_EQ(first, RunGoldenScene());
    EXPECT_EQ(first, 18065619740203161623ULL);
}

}  // namespace
}  // namespace velo
