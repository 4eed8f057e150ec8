// The optimisation window's clean-ups and the group properties window.
#include <gtest/gtest.h>

#include "editing/creation.h"
#include "editing/optimize.h"
#include "engine/contact_scenes.h"
#include "forms/group_properties.h"
#include "forms/movable_properties.h"
#include "model/derived_fields.h"

namespace velo {
namespace {

using namespace velo::testing;

TEST(Optimize, OutsideRenumberAndMaterials) {
    auto w = EmptyScene();
    // The default view shows x from -1 to 9 and y from -0.2 to 6.8.
    for (double x : {1.0, 2.0, 3.0}) CreateBar(*w, KindWall, x, 0, 1);
    DeleteObject(*w, KindWall, 2);
    const int inside = CreateBody(*w, KindBall, {4, 3}, 0.1, 0, false);
    const int outside = CreateBody(*w, KindBall, {20, 3}, 0.1, 0, false);
    const int bound = CreateBody(*w, KindBall, {20, 4}, 0.1, 0, false);
    w->Balls[bound].BindKind = BindPegEnd;
    RemoveObjectsOutsideField(*w);
    EXPECT_TRUE(w->Balls[inside].Exists);
    EXPECT_FALSE(w->Balls[outside].Exists);
    EXPECT_TRUE(w->Balls[bound].Exists);  // bound to a rod: it stays

    const std::uint64_t generation = w->Generation;
    RenumberObjects(*w);
    EXPECT_EQ(w->WallCount, 2);
    EXPECT_EQ(w->Walls[1].Coord, 1);
    EXPECT_EQ(w->Walls[2].Coord, 3);
    EXPECT_GT(w->Generation, generation);
    EXPECT_EQ(w->BallCount, 3);  // balls keep their numbers

    w->Materials.MaterialCount = 3;
    w->Materials.Items[2].Name = "резина";
    w->Materials.Items[3].Name = "лёд";
    RemoveUnusedMaterials(*w);
    EXPECT_EQ(w->Materials.MaterialCount, 1);  // material 1 is in use
}

TEST(GroupProperties, MaterialScalesDensityAndThicknessBecomesTheDefault) {
    auto w = EmptyScene();
    w->Materials.MaterialCount = 2;
    w->Materials.Items[1].Density = 1000;
    w->Materials.Items[2].Name = "тяжёлый";
    w->Materials.Items[2].Density = 2000;
    const int ball = CreateBody(*w, KindBall, {0, 0}, 0.1, 0, false);
    w->Balls[ball].Density = 1500;
    const int wall = CreateBar(*w, KindWall, 1, 0, 1);
    const GroupValues shown = FillGroupWindow(*w);
    EXPECT_TRUE(shown.ThicknessAvailable && shown.MoreAvailable);
    EXPECT_EQ(shown.SelectedCount, 2);
    ASSERT_TRUE(ApplyGroupWindow(*w, shown, {2, true, 0.3}));
    EXPECT_DOUBLE_EQ(w->Balls[ball].Density, 3000);
    EXPECT_EQ(w->Balls[ball].Material, 2);
    EXPECT_DOUBLE_EQ(w->Walls[wall].HalfThickness, 0.15);
    EXPECT_DOUBLE_EQ(w->Params.DefaultHalfThickness, 0.15);
    EXPECT_EQ(w->Params.DefaultMaterial, 2);
    EXPECT_FALSE(ApplyGroupWindow(*w, shown, {2, true, std::nan("")}));

    ClearSelection(*w);
    CreateLaval(*w, {0, 0});
    const GroupValues points = FillGroupWindow(*w);
    EXPECT_TRUE(points.OnlyPoints);
    EXPECT_EQ(points.Lines, std::vector<std::string>{"  Подвес №1"});
}

TEST(MovableProperties, SumsOfTheSelectedBodies) {
    auto w = EmptyScene();
    const int a = CreateBody(*w, KindBall, {0, 0}, 0.1, 0, false);
    const int b = CreateBody(*w, KindBall, {2, 0}, 0.1, 0, false);
    w->Balls[a].Velocity = {1, 0};
    w->Balls[b].Velocity = {0, 2};
    for (int n : {a, b}) {
        w->Balls[n].Selected = true;
        RecomputeBall(*w, n);
    }
    const MovableSummary s = SummariseMovable(*w);
    const double m = w->Balls[a].Mass;
    EXPECT_EQ(s.Count, 2);
    EXPECT_DOUBLE_EQ(s.Mass, 2 * m);
    EXPECT_DOUBLE_EQ(s.CentreOfMass.X, 1);
    EXPECT_DOUBLE_EQ(s.Momentum.Y, 2 * m);
    EXPECT_NEAR(s.Energy, m / 2 + 2 * m + 0, 1e-9 * m + w->Balls[a].Inertia);
}

}  // namespace
}  // namespace velo
