#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/materials.h"
#include "model/world_ops.h"

namespace velo {
namespace {

std::unique_ptr<World> NewDefaultWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    return world;
}

struct LimitCase {
    int Kind;
    int Limit;
    const char* Text;
};

TEST(WorldTables, EveryKindWithAMessageNamesItsLimit) {
    const LimitCase cases[] = {
        {KindPeg, 200, "Невозможно создать стержень, так как номер стержня в данной версии не может превышать "},
        {KindPlane, 200, "Невозможно создать наклонную плоскость, так как её номер в данной версии не может превышать "},
        {KindSurface, 100, "Поверхность с настраиваемыми гранями не может быть создана, так как номер поверхности "
                           "такого типа в данной версии не может превышать "},
        {13, 200, "Поверхность второго порядка не может быть создана, так как номер поверхности такого типа "
                  "в данной версии не может превышать "},
    };
    for (const LimitCase& c : cases) {
        auto world = NewDefaultWorld();
        for (int i = 1; i <= c.Limit; ++i) ASSERT_EQ(NewObject(*world, c.Kind).Number, i) << c.Kind;
        const int current = world->CurrentNumber;
        const NewObjectResult refused = NewObject(*world, c.Kind);
        EXPECT_FALSE(refused.Ok());
        EXPECT_EQ(refused.Message, c.Text + std::to_string(c.Limit) + CapacityMessageEnding);
        EXPECT_EQ(CountOf(*world, c.Kind), c.Limit);
        EXPECT_EQ(world->CurrentNumber, current);
    }
}

TEST(WorldTables, SecondOrderSurfacesOfAllThreeKindsShareOneTable) {
    auto world = NewDefaultWorld();
    for (int i = 0; i < 100; ++i) NewObject(*world, 9);
    for (int i = 0; i < 50; ++i) NewObject(*world, 11);
    for (int i = 0; i < 50; ++i) NewObject(*world, 13);
    EXPECT_FALSE(NewObject(*world, 9).Ok());
    EXPECT_EQ(world->Surfaces2[200].SurfaceKind, Ellipse);
    EXPECT_FALSE(world->Surfaces2[200].Closed);
}

TEST(WorldTables, SilentLimitsOfSupportsWallsAndThreads) {
    auto world = NewDefaultWorld();
    NewObject(*world, KindLaval);
    for (int kind : {KindHand, KindWall, KindThread}) {
        const int limit = CapacityOf(kind);
        for (int i = 0; i < limit; ++i) ASSERT_TRUE(NewObject(*world, kind).Ok());
        const NewObjectResult refused = NewObject(*world, kind);
        EXPECT_FALSE(refused.Ok());
        EXPECT_TRUE(refused.Message.empty());
        EXPECT_EQ(CountOf(*world, kind), limit);
    }
}

TEST(WorldTables, NumbersAreNotHandedOutAgain) {
    auto world = NewDefaultWorld();
    NewObject(*world, KindWall);
    NewObject(*world, KindWall);
    DeleteObject(*world, KindWall, 2);
    EXPECT_EQ(NewObject(*world, KindWall).Number, 3);
    EXPECT_TRUE(world->Walls[2].Selected);  // a deleted slot keeps its data
    EXPECT_FALSE(world->Walls[2].Exists);
}

TEST(WorldTables, ZeroSupportCountsWithNoSupports) {
    auto world = NewDefaultWorld();
    world->Hands[0].Exists = true;
    EXPECT_EQ(world->HandCount, 0);
    EXPECT_EQ(MaterialUsage(*world, false)[1], 1);
    EXPECT_EQ(MaterialUsage(*world, true)[1], 0);  // the ZeroSupport starts unselected
}

TEST(WorldTables, NewObjectsTakeTheDefaultMaterialAndThickness) {
    auto world = NewDefaultWorld();
    world->Params.DefaultMaterial = 0;
    world->Params.DefaultHalfThickness = 0.2;
    NewObject(*world, KindCylinder);
    EXPECT_EQ(world->Balls[1].Material, 0);
    EXPECT_EQ(world->Balls[1].Density, 1000);  // the ideal material's density
    EXPECT_EQ(world->CurrentKind, KindCylinder);
    NewObject(*world, KindSurface);
    EXPECT_EQ(world->Surfaces[1].HalfThickness, 0.2);
    EXPECT_EQ(world->Surfaces[1].Points.size(), static_cast<std::size_t>(SurfacePointCapacity));
    NewObject(*world, KindPlane);
    EXPECT_EQ(world->Planes[1].Material, 0);
}

TEST(WorldTables, DefaultZeroSupport) {
    auto world = NewDefaultWorld();
    const HandWall& zero = world->Hands[0];
    EXPECT_EQ(zero.Material, 1);
    EXPECT_EQ(zero.Coord, 0);
    EXPECT_EQ(zero.HalfThickness, 0.05);
    EXPECT_FALSE(zero.Selected);
}

}  // namespace
}  // namespace velo
