#include "model/world_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/derived_fields.h"

namespace velo {
namespace {

std::unique_ptr<World> NewDefaultWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    return world;
}

TEST(Capacity, DeletedSuspensionPointsKeepTheirNumbers) {
    auto world = NewDefaultWorld();
    for (int i = 1; i <= LavalCapacity; ++i) ASSERT_EQ(NewObject(*world, KindLaval).Number, i);
    for (int i = 1; i <= LavalCapacity; ++i) DeleteObject(*world, KindLaval, i);
    NewObjectResult again = NewObject(*world, KindLaval);
    EXPECT_FALSE(again.Ok());
    EXPECT_EQ(again.Message,
              std::string("Подвес не может быть создан, так как номер подвеса в данной версии не может "
                          "превышать 200") + CapacityMessageEnding);
}

TEST(Capacity, BallsAndCylindersShareOneTable) {
    auto world = NewDefaultWorld();
    for (int i = 0; i < 250; ++i) ASSERT_TRUE(NewObject(*world, KindBall).Ok());
    for (int i = 0; i < 150; ++i) ASSERT_TRUE(NewObject(*world, KindCylinder).Ok());
    EXPECT_EQ(world->BallCount, 400);
    EXPECT_EQ(world->Balls[400].Shape, ShapeCylinder);
    EXPECT_EQ(world->Balls[400].InertiaFactor, 0.5);
    NewObjectResult refused = NewObject(*world, KindBall);
    EXPECT_FALSE(refused.Ok());
    EXPECT_TRUE(refused.Message.empty());  // silent refusal, World unchanged
    EXPECT_EQ(world->BallCount, 400);
    EXPECT_EQ(world->CurrentNumber, 400);
}

TEST(Capacity, ThreadNeedsASuspensionPoint) {
    auto world = NewDefaultWorld();
    EXPECT_EQ(NewObject(*world, KindThread).Message, "Нет ни одного подвеса");
    EXPECT_EQ(world->ThreadCount, 0);
    NewObject(*world, KindLaval);
    EXPECT_TRUE(NewObject(*world, KindThread).Ok());
}

TEST(Creation, DefaultsOfANewProject) {
    auto world = NewDefaultWorld();
    NewObject(*world, KindWall);
    EXPECT_EQ(world->Walls[1].Material, 1);
    EXPECT_EQ(world->Walls[1].HalfThickness, 0.05);
    EXPECT_TRUE(world->Walls[1].Selected);
    EXPECT_EQ(world->CurrentKind, KindWall);
    EXPECT_EQ(NewObject(*world, 13).Number, 1);
    EXPECT_EQ(world->Surfaces2[1].SurfaceKind, Ellipse);
    EXPECT_EQ(NewObject(*world, 11).Number, 2);
    EXPECT_EQ(world->Surfaces2[2].SurfaceKind, Hyperbola);
    const HandWall& zero = world->Hands[0];
    EXPECT_FALSE(zero.Exists);
    EXPECT_EQ(zero.Bound1, -10000);
    EXPECT_EQ(zero.Bound2, 10000);
}

TEST(Deletion, ReleasesReferences) {
    auto world = NewDefaultWorld();
    NewObject(*world, KindLaval);
    NewObject(*world, KindPeg);
    NewObject(*world, KindBall);
    world->Pegs[1].HangLaval = 1;
    world->Pegs[1].Position = {2, 3};
    world->Pegs[1].End2Kind = KindBall;
    world->Pegs[1].End2Number = 1;
    DeleteObject(*world, KindLaval, 1);
    EXPECT_EQ(world->Pegs[1].HangLaval, 0);
    EXPECT_EQ(world->Pegs[1].Position, (Vec2{2, 3}));
    DeleteObject(*world, KindBall, 1);
    EXPECT_EQ(world->Pegs[1].End2Kind, 0);
    EXPECT_EQ(world->BallCount, 1);  // counts do not change
}

double Apart(Vec2 a, Vec2 b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// A rod of length 1 at the origin along x, with a ball of radius 0.1 at
// its second end.
std::unique_ptr<World> RodWithBall() {
    auto world = NewDefaultWorld();
    NewObject(*world, KindLaval);
    const int rod = NewObject(*world, KindPeg).Number;
    const int ball = NewObject(*world, KindBall).Number;
    Peg& r = world->Pegs[rod];
    r.Length = 1;
    r.Width = r.Depth = 0.02;
    r.SectionShape = 1;
    r.Phi = 0.3;
    r.Omega = 2;
    Ball& b = world->Balls[ball];
    b.Radius = 0.1;
    b.Density = 7800;
    b.InertiaFactor = 0.4;
    b.BindKind = BindPegEnd;
    b.BindNumber = rod;
    r.End2Kind = KindBall;
    r.End2Number = ball;
    RecomputeRod(*world, rod);
    return world;
}

TEST(Deletion, DeletedRodReleasesBothSidesAndNeverMovesABall) {
    auto world = RodWithBall();
    DeleteObject(*world, KindPeg, 1);
    EXPECT_EQ(world->Pegs[1].End2Kind, 0);
    EXPECT_EQ(world->Balls[1].BindKind, BindNothing);
    // Moved away, the ball stays where it was put, even when the deleted
    // rod's record still names it (a file written before the release).
    world->Balls[1].Position = {5, 5};
    world->Pegs[1].End2Kind = KindBall;
    RecomputeRod(*world, 1);
    EXPECT_EQ(world->Balls[1].Position, (Vec2{5, 5}));
}

TEST(Deletion, RodLosingItsSuspensionPointKeepsItsEnds) {
    for (const double fraction : {0.0, 0.2, 0.5, 1.0}) {
        auto world = RodWithBall();
        Peg& rod = world->Pegs[1];
        world->Lavals[1].Position = {1, 2};
        world->Lavals[1].Exists = true;
        rod.HangLaval = 1;
        rod.HangFraction = fraction;
        rod.Position = world->Lavals[1].Position;
        RecomputeRod(*world, 1);
        const Vec2 end1 = rod.End1, end2 = rod.End2, ball = world->Balls[1].Position;
        DeleteObject(*world, KindLaval, 1);
        EXPECT_EQ(rod.HangLaval, 0);
        EXPECT_NEAR(Apart(rod.End1, end1), 0, 1e-12) << fraction;
        EXPECT_NEAR(Apart(rod.End2, end2), 0, 1e-12) << fraction;
        EXPECT_NEAR(Apart(world->Balls[1].Position, ball), 0, 1e-12) << fraction;
        // Its ends move on as they moved about the point.
        const Vec2 endVelocity = rod.Velocity + Vec2{-(end2.Y - rod.Position.Y), end2.X - rod.Position.X} * rod.Omega;
        const Vec2 wasMoving = Vec2{-(end2.Y - 2), end2.X - 1} * rod.Omega;
        EXPECT_NEAR(Apart(endVelocity, wasMoving), 0, 1e-12) << fraction;
    }
}

TEST(Deletion, ClearWorldResetsCountsButKeepsTheZeroSupportSlot) {
    auto world = NewDefaultWorld();
    world->Hands[0].Exists = true;
    NewObject(*world, KindSurface);
    ClearWorld(*world);
    EXPECT_EQ(world->SurfaceCount, 0);
    EXPECT_FALSE(world->Hands[0].Exists);
    EXPECT_TRUE(world->Surfaces[1].Points.empty());
}

}  // namespace
}  // namespace velo
