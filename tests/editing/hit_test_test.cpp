// The hit test: which object the pointer finds, in the editor's order.
#include <gtest/gtest.h>

#include "editing/hit_test.h"
#include "engine/contact_scenes.h"

namespace velo {
namespace {

using namespace velo::testing;

// A scene at FieldScale 1000 (1 field point = 1 mm) with one object of
// every fixed kind, far apart, and balls and rods in between.
std::unique_ptr<World> Scene() {
    auto w = EmptyScene();
    w->Params.FieldScale = 1000;
    w->PointsPerPixel = 10;
    AddLaval(*w, {-4, 3});
    AddHand(*w, -3, -4, -2, 0.05);
    AddWall(*w, 4, -1, 1, 0.05);
    AddPlane(*w, {-1, -1}, {1, 0}, 0.05, false);
    AddPlane(*w, {2, -3}, {3, -2}, 0, true);
    AddSurface(*w, {{-3, 1}, {-2, 1.5}, {-1, 1}}, false, 0.02);
    AddCurve(*w, Ellipse, {2, 2}, 0, 0.5, 0.3, -3.2, 3.2, 0.02);
    return w;
}

Vec2 Field(Vec2 model) { return model * 1000.0; }

TEST(HitTest, FindsEachKindAndNothingBesideIt) {
    auto w = Scene();
    struct Case {
        const char* What;
        Vec2 At;
        HitResult Expected;
    } cases[] = {
        {"empty space", {0, 3}, {}},
        {"suspension point symbol", {-4, 3.05}, {KindLaval, 1, false}},
        {"support", {-3, -3.04}, {KindHand, 1, false}},
        {"support end", {-4.01, -3}, {}},
        {"wall", {4.04, 0}, {KindWall, 1, false}},
        {"plate", {0, -0.5}, {KindPlane, 1, false}},
        {"plate beside its band", {0, -0.4}, {}},
        {"wedge inside", {2.9, -2.5}, {KindPlane, 2, false}},
        {"above the wedge", {2.1, -2.5}, {}},
        {"polyline", {-2, 1.51}, {KindSurface, 1, false}},
        {"ellipse", {2.5, 2.01}, {13, 1, false}},
        {"ellipse centre", {2, 2}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ObjectAt(*w, Field(c.At)), c.Expected) << c.What;
}

TEST(HitTest, MovableObjectsComeFirstByLayerThenByNumber) {
    auto w = Scene();
    Ball& low = AddBall(*w, {-4, 3}, 0.1);
    low.Z = 10;
    Ball& high = AddBall(*w, {-3.95, 3}, 0.1);
    high.Z = 200;
    EXPECT_EQ(ObjectAt(*w, Field({-3.97, 3})), (HitResult{KindBall, 2, false}));
    high.Z = 5;
    EXPECT_EQ(ObjectAt(*w, Field({-3.97, 3})), (HitResult{KindBall, 1, false}));
    // A tiny ball is found within 8 field points of its centre.
    Ball& tiny = AddBall(*w, {0, 3}, 0.001);
    tiny.Shape = ShapeCylinder;
    tiny.Selected = true;
    EXPECT_EQ(ObjectAt(*w, Field({0.007, 3})), (HitResult{KindCylinder, 3, true}));
    EXPECT_FALSE(ObjectAt(*w, Field({0.009, 3})).Any());
}

TEST(HitTest, RodsWithinHalfTheirWidthOrFourPoints) {
    auto w = Scene();
    Peg& rod = w->Pegs[++w->PegCount];
    rod.Exists = true;
    rod.End1 = {0, 2};
    rod.End2 = {1, 2};
    rod.Width = 0.03;
    EXPECT_EQ(ObjectAt(*w, Field({0.5, 2.014})).Kind, KindPeg);
    EXPECT_FALSE(ObjectAt(*w, Field({0.5, 2.016})).Any());
    EXPECT_FALSE(ObjectAt(*w, Field({1.1, 2})).Any());
}

TEST(HitTest, DeletedObjectsAreNeverFound) {
    auto w = Scene();
    for (Plane& p : w->Planes) p.Exists = false;
    w->Hands[1].Exists = false;
    EXPECT_FALSE(ObjectAt(*w, Field({0, -0.5})).Any());
    EXPECT_FALSE(ObjectAt(*w, Field({2.9, -2.5})).Any());
    EXPECT_FALSE(ObjectAt(*w, Field({-3, -3})).Any());
}

}  // namespace
}  // namespace velo
