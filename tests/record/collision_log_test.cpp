#include "record/collision_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "../../examples/example_scenes.h"
#include "engine/imitator.h"
#include "engine/rod_scenes.h"
#include "engine/step_scenes.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::PlaceLaval;
using testing::AddRod;
using testing::StillScene;

// A cradle without gravity: ball 3 runs into ball 2, which touches ball 1;
// ball 1 then flies on into a wall.
std::unique_ptr<World> CradleScene() {
    auto world = StillScene(0);
    PlaceBall(*world, {0, 0});
    PlaceBall(*world, {0.2, 0});
    PlaceBall(*world, {0.5, 0}, 0.1, 7800, {-1, 0});
    const int wall = ++world->WallCount;
    world->Walls[wall] = HandWall{1, -0.3, -1, 1, 0.05, false, true, 0};
    return world;
}

void RunSteps(World& world, StepContext& context, int steps) {
    SilentMessenger messenger;
    for (int i = 0; i < steps; ++i) ASSERT_TRUE(MechanicalStep(world, 0.001, messenger, context));
}

double Length(Vec2 v) { return std::sqrt(Dot(v, v)); }

TEST(CollisionLog, CradleImpulsesConserveMomentumAndTheWallIsNamed) {
    auto world = CradleScene();
    const double m = world->Balls[1].Mass;
    CollisionLog log;
    StepContext context;
    log.Attach(context);
    RunSteps(*world, context, 1000);

    int pairs = 0, walls = 0;
    for (std::size_t i = 0; i < log.Count(); ++i) {
        const ImpulseEvent& e = log.At(i);
        const Vec2 taken = (e.FirstAfter - e.FirstBefore) * m;
        EXPECT_NEAR(Length(taken), std::hypot(e.NormalImpulse, e.TangentialImpulse), 1e-12);
        EXPECT_GT(e.NormalImpulse, 0) << "pushes the first ball off";
        EXPECT_EQ(e.FirstKind, KindBall);
        if (e.SecondKind == KindBall) {
            ++pairs;
            EXPECT_LT(e.SecondNumber, e.FirstNumber);
            const Vec2 before = (e.FirstBefore + e.SecondBefore) * m;
            const Vec2 after = (e.FirstAfter + e.SecondAfter) * m;
            EXPECT_NEAR(before.X, after.X, 1e-12 * m);
            EXPECT_NEAR(before.Y, after.Y, 1e-12 * m);
        } else {
            ++walls;
            EXPECT_EQ(e.SecondKind, KindWall);
            EXPECT_EQ(e.SecondNumber, 1);
            EXPECT_EQ(e.FirstNumber, 1);
            EXPECT_EQ(e.SecondAfter, (Vec2{0, 0}));
        }
        if (i > 0) {
            EXPECT_GE(e.Step, log.At(i - 1).Step);
        }
    }
    EXPECT_GE(pairs, 2);
    EXPECT_GE(walls, 1);
    EXPECT_EQ(log.DroppedCount(), 0u);
}

TEST(CollisionLog, ListeningChangesNoResultAndDetachStopsIt) {
    auto quiet = CradleScene();
    auto logged = CradleScene();
    StepContext quietContext, loggedContext;
    CollisionLog log;
    log.Attach(loggedContext);
    RunSteps(*quiet, quietContext, 600);
    RunSteps(*logged, loggedContext, 600);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(quiet->Balls[n].Position, logged->Balls[n].Position) << n;
        EXPECT_EQ(quiet->Balls[n].Velocity, logged->Balls[n].Velocity) << n;
    }
    const std::size_t count = log.Count();
    ASSERT_GT(count, 0u);
    log.Detach(loggedContext);
    EXPECT_EQ(loggedContext.Impulses, nullptr);
    RunSteps(*logged, loggedContext, 600);
    EXPECT_EQ(log.Count(), count);
}

ImpulseEvent AtStep(int step) {
    ImpulseEvent event;
    event.Step = step;
    event.FirstAfter = {0.5, 0};
    return event;
}

// Rounding-size impulses between bodies at rest are no strikes; a small
// but real one is kept.
TEST(CollisionLog, KeepsOnlyImpulsesThatChangeAVelocity) {
    CollisionLog log(10);
    for (const auto& [after, kept] : {std::pair{Vec2{7.5e-17, 0}, false}, std::pair{Vec2{0, 0}, false},
                                      std::pair{Vec2{0, -1e-9}, true}}) {
        ImpulseEvent event;
        event.SecondAfter = after;
        const std::uint64_t before = log.Received();
        log.OnImpulse(event);
        EXPECT_EQ(log.Received(), before + (kept ? 1 : 0)) << after.X << " " << after.Y;
    }
    EXPECT_EQ(log.DroppedCount(), 0u);
}

TEST(CollisionLog, RingDropsTheOldestEvents) {
    CollisionLog log(3);
    const std::uint64_t revision = log.Revision();
    for (int i = 1; i <= 2500; ++i) log.OnImpulse(AtStep(i));
    EXPECT_GT(log.Revision(), revision);
    EXPECT_EQ(log.Count(), 3u);
    EXPECT_EQ(log.DroppedCount(), 2497u);
    EXPECT_EQ(log.At(0).Step, 2498);
    EXPECT_EQ(log.Last(1)[0].Step, 2500);
    log.SetCapacity(CollisionLog::BlockEvents + 5);
    EXPECT_EQ(log.Count(), 0u);
    for (int i = 1; i <= 2500; ++i) log.OnImpulse(AtStep(i));
    EXPECT_EQ(log.At(0).Step, 2500 - static_cast<int>(CollisionLog::BlockEvents) - 4);
    // Two blocks, the second only as long as the capacity needs.
    EXPECT_LE(log.MemoryBytes(), (CollisionLog::BlockEvents + 5) * sizeof(ImpulseEvent) + 256);
}

// A ball hung on a radius of 0.9 m swings into a second one hanging at rest
// (from `swing` rad; with 0 and a spacing of two radii they touch at rest).
std::unique_ptr<World> HungPairScene(double swing = 0.35, double spacing = 0.1601) {
    auto world = StillScene(9.81);
    for (int i = 0; i < 2; ++i) {
        const Vec2 point{i * spacing, 1};
        PlaceLaval(*world, point);
        const double direction = std::numbers::pi / 2 - (i == 0 ? swing : 0.0);
        const int n = PlaceBall(*world, point - Vec2{std::cos(direction), std::sin(direction)} * 0.9, 0.08);
        Ball& b = world->Balls[n];
        b.BindKind = BindLaval;
        b.BindNumber = i + 1;
        b.BindAngle = direction;
        RecomputeBall(*world, n);
    }
    return world;
}

// Two hung balls touching at rest strike nothing.
TEST(CollisionLog, TouchingBallsAtRestLogNothing) {
    auto world = HungPairScene(0, 0.16);
    StepContext context;
    SilentMessenger messenger;
    CollisionLog log;
    log.Attach(context);
    for (int i = 0; i < 500; ++i) ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(log.Received(), 0u);
}

// A free rod 1 m long dropped flat from 0.5 m onto a support.
std::unique_ptr<World> FallingRodScene() {
    auto world = StillScene(9.81);
    const int support = ++world->HandCount;
    world->Hands[support] = HandWall{1, 0, -2, 2, 0.05, false, true, 0};
    AddRod(*world, {0, 0.6}, 0, 1, 0.02);
    return world;
}

std::unique_ptr<World> DumbbellScene() {
    auto world = std::make_unique<World>();
    for (const ExampleScene& scene : ExampleScenes()) {
        if (scene.FileName == "dumbbell.qvs") BuildExample(*world, scene);
    }
    return world;
}

// Balls that a rod carries or that hang on points report their strikes,
// with the velocities of their centres, stamped with the time the step
// ends at (the time of the sample taken after it).
TEST(CollisionLog, HeldBallsReportTheirStrikesAtTheEndOfTheStep) {
    const struct Case {
        const char* Name;
        std::unique_ptr<World> (*Scene)();
        std::uint8_t First;
        std::uint8_t Second;
    } cases[] = {{"dumbbell", DumbbellScene, KindBall, KindSurface},
                 {"hung pair", [] { return HungPairScene(); }, KindBall, KindBall},
                 {"rod on a support", FallingRodScene, KindPeg, KindHand}};
    for (const Case& c : cases) {
        auto world = c.Scene();
        CollisionLog log;
        StepContext context;
        log.Attach(context);
        SilentMessenger messenger;
        bool stampedAtTheEnd = true;
        for (int step = 0; step < 3000 && log.Count() == 0; ++step) {
            ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context)) << c.Name;
            if (log.Count() > 0) stampedAtTheEnd = log.At(0).Time == world->T;
        }
        ASSERT_GT(log.Count(), 0u) << c.Name;
        const ImpulseEvent& e = log.At(0);
        EXPECT_TRUE(stampedAtTheEnd) << c.Name;
        EXPECT_EQ(e.FirstKind, c.First) << c.Name;
        EXPECT_EQ(e.SecondKind, c.Second) << c.Name;
        EXPECT_GT(e.NormalImpulse, 0) << c.Name;
        // A centre was moving before the strike (the dumbbell's ball, the
        // swinging ball of the pair), and the strike changed the first one's.
        EXPECT_GT(Length(e.FirstBefore) + Length(e.SecondBefore), 0.1) << c.Name;
        EXPECT_GT(Length(e.FirstAfter - e.FirstBefore), 0.1) << c.Name;
    }
}

}  // namespace
}  // namespace velo
