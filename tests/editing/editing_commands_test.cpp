// Creating, selecting, copying and deleting objects as the editor does.
#include <gtest/gtest.h>

#include <random>

#include "editing/creation.h"
#include "editing/moving.h"
#include "editing/selection.h"
#include "engine/contact_scenes.h"
#include "engine/curves.h"

namespace velo {
namespace {

using namespace velo::testing;

std::unique_ptr<World> Blank() {
    auto w = EmptyScene();
    w->Params.FieldScale = 1000;
    w->PointsPerPixel = 10;
    return w;
}

TEST(Creation, NewBodiesGetTheirDefaults) {
    auto w = Blank();
    const double radius = BallSizePixels(3) * w->PointsPerPixel / w->Params.FieldScale;
    EXPECT_DOUBLE_EQ(radius, 0.27);
    const int ball = CreateBody(*w, KindBall, {1, 2}, radius, 7, true);
    const int cylinder = CreateBody(*w, KindCylinder, {3, 2}, radius, 200, false);
    for (int n : {ball, cylinder}) {
        const Ball& b = w->Balls[n];
        EXPECT_EQ(b.DragLinear, 8);
        EXPECT_EQ(b.DragQuadratic, 1);
        EXPECT_TRUE(b.Selected && b.Exists && b.Movable);
        EXPECT_GT(b.Mass, 0);
    }
    EXPECT_EQ(w->Balls[ball].Z, 7);
    EXPECT_EQ(w->Balls[cylinder].Shape, ShapeCylinder);
    EXPECT_EQ(w->Balls[cylinder].InertiaFactor, 0.5);
    EXPECT_EQ(w->CurrentKind, KindCylinder);
}

TEST(Creation, RodHangsOnTheCrossedPointOrTheNearestOrStaysFree) {
    auto w = Blank();
    const int free = CreateRod(*w, {0, 0}, {1, 0}, 3);
    EXPECT_EQ(w->Pegs[free].HangLaval, 0);
    EXPECT_EQ(w->Pegs[free].Z, 3);
    EXPECT_EQ(w->Pegs[free].DragLinear, 8);

    CreateLaval(*w, {5, 5});
    const int crossed = CreateLaval(*w, {0.25, 0.01});
    const int rod = CreateRod(*w, {0, 0}, {1, 0}, 0);
    const Peg& r = w->Pegs[rod];
    EXPECT_EQ(r.HangLaval, crossed);
    EXPECT_NEAR(r.HangFraction, 0.25, 1e-12);
    EXPECT_NEAR(r.End1.Y, 0.01, 1e-12);  // moved across onto the point
    EXPECT_NEAR(r.End2.X, 1, 1e-12);

    const int far = CreateRod(*w, {0, 2}, {1, 2}, 0);
    EXPECT_NE(w->Pegs[far].HangLaval, 0);  // hung on the nearest point
}

TEST(Creation, CurvePassesThroughThePointer) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> coordinate(-3, 3);
    for (int kind = 1; kind <= 3; ++kind) {
        for (int k = 0; k < 200; ++k) {
            const Vec2 centre{coordinate(random), coordinate(random)};
            Surface2 c = CurveAt(kind, centre, std::fabs(coordinate(random)), 1);
            const Vec2 pointer{coordinate(random), coordinate(random)};
            ShapeCurveThrough(c, 1, pointer);
            EXPECT_EQ(c.TFrom, -c.TTo);
            const Vec2 local = ToCurveFrame(c, pointer);
            if (kind == Hyperbola && local.X <= 1e-9) continue;  // behind the branch
            const double near = std::min(Distance(CurvePoint(c, c.TTo), pointer), Distance(CurvePoint(c, c.TFrom), pointer));
            EXPECT_LT(near, 1e-7) << "kind " << kind << " at " << pointer.X << "," << pointer.Y;
        }
    }
}

TEST(Creation, RefusalsOfFullTables) {
    auto w = Blank();
    EXPECT_EQ(CreationRefusal(*w, ModeThread), "Нет ни одного подвеса");
    CreateLaval(*w, {0, 0});
    EXPECT_EQ(CreationRefusal(*w, ModeThread), "");
    w->LavalCount = LavalCapacity;
    w->HandCount = HandCapacity;
    w->BallCount = BallCapacity;
    w->Surface2Count = Surface2Capacity;
    EXPECT_EQ(CreationRefusal(*w, ModeLaval).rfind("Подвес не может быть создан", 0), 0u);
    EXPECT_NE(CreationRefusal(*w, ModeLaval).find(" 200. Попробуйте"), std::string::npos);
    EXPECT_EQ(CreationRefusal(*w, ModeHand).rfind("Опора не может быть создана", 0), 0u);
    EXPECT_EQ(CreationRefusal(*w, ModeCylinder).rfind("Шар или цилиндр", 0), 0u);
    EXPECT_EQ(CreationRefusal(*w, ModeEllipse).rfind("Поверхность второго порядка", 0), 0u);
    EXPECT_EQ(CreateBody(*w, KindBall, {0, 0}, 0.1, 0, false), 0);
    EXPECT_EQ(w->BallCount, BallCapacity);
}

TEST(Selection, CopyTwiceSelectAllAndRectangle) {
    auto w = Blank();
    const int ball = CreateBody(*w, KindBall, {0, 0}, 0.1, 0, false);
    CopySelected(*w);
    CopySelected(*w);
    ASSERT_EQ(w->BallCount, 3);
    EXPECT_EQ(w->Balls[2].Position, (Vec2{2, 1}));
    EXPECT_EQ(w->Balls[3].Position, (Vec2{4, 2}));
    EXPECT_FALSE(w->Balls[ball].Selected || w->Balls[2].Selected);
    EXPECT_TRUE(w->Balls[3].Selected);

    w->Hands[0].Exists = true;
    CreateBar(*w, KindWall, 0.5, -1, 1);
    ClearSelection(*w);
    SelectAll(*w, true);
    EXPECT_FALSE(w->Hands[0].Selected);
    EXPECT_TRUE(w->Walls[1].Selected && w->Balls[1].Selected);
    SelectAll(*w, false);
    EXPECT_TRUE(w->Hands[0].Selected);

    ClearSelection(*w);
    SelectInRectangle(*w, {-1, -1}, {3, 3});
    EXPECT_TRUE(w->Balls[1].Selected && w->Balls[2].Selected);
    EXPECT_FALSE(w->Balls[3].Selected || w->Walls[1].Selected);
    const SelectionCounts counts = CountSelect(*w);
    EXPECT_EQ(counts.ByKind[KindBall], 2);
    EXPECT_EQ(counts.Movable, 2);
    EXPECT_EQ(counts.Fixed, 0);
}

TEST(Selection, DeleteReleasesWhatRefersToTheDeleted) {
    auto w = Blank();
    const int point = CreateLaval(*w, {0.5, 0});
    const int rod = CreateRod(*w, {0, 0}, {1, 0}, 0);
    ASSERT_EQ(w->Pegs[rod].HangLaval, point);
    ClearSelection(*w);
    w->Lavals[point].Selected = true;
    DeleteSelected(*w);
    EXPECT_EQ(w->Pegs[rod].HangLaval, 0);
    EXPECT_TRUE(w->Pegs[rod].Exists);
    EXPECT_TRUE(w->Changed);

    // Linked selection spreads from a point to its rods and their balls.
    auto v = Blank();
    const int p = CreateLaval(*v, {0.5, 0});
    const int r = CreateRod(*v, {0, 0}, {1, 0}, 0);
    const int b = CreateBody(*v, KindBall, {1.2, 0}, 0.1, 0, false);
    v->Pegs[r].End2Kind = KindBall;
    v->Pegs[r].End2Number = b;
    v->Balls[b].BindKind = BindPegEnd;
    v->Balls[b].BindNumber = r;
    ClearSelection(*v);
    v->Lavals[p].Selected = true;
    SelectLinked(*v);
    EXPECT_TRUE(v->Pegs[r].Selected && v->Balls[b].Selected);
}

TEST(Moving, ObjectsLandAtThePointerLessTheGrabOffset) {
    auto w = Blank();
    w->Hands[0] = HandWall{1, 0, -100, 100, 0.05, false, true};
    const int bar = CreateBar(*w, KindHand, 1, -1, 1);
    const int plane = CreatePlane(*w, {0, 0}, {1, 1});
    const int ball = CreateBody(*w, KindBall, {3, 3}, 0.1, 0, false);
    struct Case {
        HitResult Object;
        Vec2 From, To;
    } cases[] = {
        {{KindHand, 0}, {5, 0}, {7, -2}},
        {{KindHand, bar}, {0, 1}, {1, 2}},
        {{KindPlane, plane}, {0.5, 0.5}, {2.5, 0.5}},
        {{KindBall, ball}, {3.05, 3}, {4.05, 2}},
    };
    for (const Case& c : cases) {
        const Grab grab = GrabObject(*w, c.Object, c.From);
        ASSERT_EQ(grab.Object.Kind, c.Object.Kind);
        PlaceGrabbed(*w, grab, c.To);
    }
    EXPECT_EQ(w->Hands[0].Coord, -2);
    EXPECT_EQ(w->Params.ZeroLevel, -2);  // the zero level follows, the bounds stay
    EXPECT_EQ(w->Hands[0].Bound1, -100);
    EXPECT_EQ(w->Hands[bar].Bound1, 0);
    EXPECT_EQ(w->Hands[bar].Bound2, 2);
    EXPECT_EQ(w->Hands[bar].Coord, 2);
    EXPECT_EQ(w->Planes[plane].P1, (Vec2{2, 0}));
    EXPECT_EQ(w->Planes[plane].P2, (Vec2{3, 1}));
    EXPECT_EQ(w->Balls[ball].Position, (Vec2{4, 2}));
}

}  // namespace
}  // namespace velo
