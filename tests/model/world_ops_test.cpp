#include "model/world_ops.h"

#include <gtest/gtest.h>

#include <memory>

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
