// The forms of the fixed objects' windows: suspension point, support and
// wall, inclined plane, polyline and second-order surface.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "editing/creation.h"
#include "editing/world_change.h"
#include "forms/bar_form.h"
#include "forms/curve_form.h"
#include "forms/laval_form.h"
#include "forms/plane_form.h"
#include "forms/surface_form.h"
#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

std::unique_ptr<World> NewWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    return world;
}

// Every ball and rod as its normalisation leaves it, every plane with the
// length and angle of its ends, and no record left marked as a preview.
::testing::AssertionResult Normalised(const World& world) {
    auto again = std::make_unique<World>(world);
    RecomputeBodies(*again);
    for (Plane& plane : again->Planes) {
        if (plane.Exists) RecomputePlane(plane);
    }
    if (!DiffWorlds(world, *again).Empty()) return ::testing::AssertionFailure() << "derived fields are stale";
    auto marked = [](const auto& table) {
        for (const auto& record : table) {
            if (record.Marker != 0) return true;
        }
        return false;
    };
    if (marked(world.Lavals) || marked(world.Hands) || marked(world.Walls) || marked(world.Planes) ||
        marked(world.Surfaces) || marked(world.Surfaces2)) {
        return ::testing::AssertionFailure() << "a preview marker is left";
    }
    return ::testing::AssertionSuccess();
}

TEST(FixedForms, ChecksOfTheNumericFields) {
    struct Case {
        const char* Name;
        NumberInput::Check Check;
        double Value;
        bool Taken;
    };
    const Case cases[] = {
        {"coordinate", CoordinateCheck(), -12.5, true},
        {"unreadable coordinate", CoordinateCheck(), 1e300, false},
        {"bar thickness 0", PositiveThickness(), 0, false},
        {"unreadable bar thickness", PositiveThickness(), 1e300, false},
        {"surface thickness 0", NonNegativeThickness(), 0, true},
        {"negative surface thickness", NonNegativeThickness(), -0.1, false},
        {"huge t", CurveParameterCheck(), 1e16, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.Check(c.Value), c.Taken) << c.Name;
}

TEST(FixedForms, ZeroSupportHasNoBoundsAndMovesTheZeroLevel) {
    auto world = NewWorld();
    World& w = *world;
    w.Hands[0].Exists = true;
    const int ball = CreateBody(w, KindBall, {0, 3}, 0.1, 0, false);
    const double energy = w.Balls[ball].PotentialEnergy;
    const HandWall zero = w.Hands[0];

    BarForm form(w, KindHand, 0);
    EXPECT_TRUE(form.IsZeroSupport());
    EXPECT_EQ(form.Title(), "Свойства опоры № 0");
    form.SetBound1(-3);
    form.SetBound2(3);
    form.SetCoord(1);
    form.Apply(w);

    EXPECT_EQ(w.Params.ZeroLevel, 1);
    EXPECT_EQ(w.Hands[0].Coord, 1);
    EXPECT_EQ(w.Hands[0].Bound1, zero.Bound1);
    EXPECT_EQ(w.Hands[0].Bound2, zero.Bound2);
    // The potential energies are measured from the new level.
    EXPECT_DOUBLE_EQ(w.Balls[ball].PotentialEnergy, energy * 2 / 3);
    EXPECT_TRUE(Normalised(w));
}

// The entered thickness becomes the default of new segment-like objects;
// the bounds are kept in increasing order.
TEST(FixedForms, BarThicknessBecomesTheDefault) {
    struct Case {
        int Kind;
        const char* Title;
        const char* Thickness;
    };
    const Case cases[] = {{KindHand, "Свойства опоры № 1", "Толщина опоры:"},
                          {KindWall, "Свойства стены № 1", "Толщина стены:"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        auto world = NewWorld();
        World& w = *world;
        CreateBar(w, c.Kind, 0.5, -1, 1);
        BarForm form(w, c.Kind, 1);
        EXPECT_EQ(form.Title(), c.Title);
        EXPECT_STREQ(BarCaptionsFor(c.Kind).Thickness, c.Thickness);
        form.SetThickness(0.3);
        form.SetBound1(4);
        form.SetMaterial(2);
        form.Apply(w);
        const HandWall& bar = c.Kind == KindHand ? w.Hands[1] : w.Walls[1];
        EXPECT_EQ(bar.HalfThickness, 0.15);
        EXPECT_EQ(bar.Bound1, 1);
        EXPECT_EQ(bar.Bound2, 4);
        EXPECT_EQ(bar.Material, 2);
        EXPECT_EQ(w.Params.DefaultHalfThickness, 0.15);
        EXPECT_EQ(w.Hands[CreateBar(w, KindHand, 2, 0, 1)].HalfThickness, 0.15);
        EXPECT_EQ(w.Planes[CreatePlane(w, {0, 0}, {1, 1})].HalfThickness, 0.15);
        EXPECT_TRUE(Normalised(w));
    }
}

TEST(FixedForms, PlaneLengthAndAngleInTheAngleUnit) {
    struct Case {
        const char* Name;
        Vec2 P2;
        double AngleUnit;
        double Length;
        double Angle;
    };
    const double degree = std::numbers::pi / 180;
    const Case cases[] = {
        {"45 degrees", {3, 3}, degree, 2 * std::numbers::sqrt2, 45},
        {"45 degrees in radians", {3, 3}, 1, 2 * std::numbers::sqrt2, std::numbers::pi / 4},
        {"falling to the right", {4, -3}, degree, 5, std::atan(4.0 / 3) / degree},
        {"vertical", {1, 5}, degree, 4, 90},
        {"no usable unit", {3, 3}, 0, 2 * std::numbers::sqrt2, std::numbers::pi / 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto world = NewWorld();
        World& w = *world;
        w.Units.AngleUnit = c.AngleUnit;
        CreatePlane(w, {1, 1}, {3, 3});
        PlaneForm form(w, 1);
        form.SetX2(c.P2.X);
        form.SetY2(c.P2.Y);
        form.SetX1(1);
        form.SetY1(1);
        EXPECT_DOUBLE_EQ(form.Length(), c.Length);
        EXPECT_NEAR(form.AngleShown(w.Units), c.Angle, 1e-12);
    }
}

TEST(FixedForms, TriangularPlaneHidesItsThicknessAndOkWritesTheCopy) {
    auto world = NewWorld();
    World& w = *world;
    CreatePlane(w, {0, 0}, {1, 1});
    w.Planes[1].Triangular = 1;
    PlaneForm form(w, 1);
    EXPECT_TRUE(form.Triangular());
    EXPECT_FALSE(form.ThicknessShown());
    form.SetTriangular(false);
    EXPECT_TRUE(form.ThicknessShown());
    form.SetThickness(0.4);
    form.SetX2(3);
    form.Preview(w);
    EXPECT_EQ(w.Planes[1].Marker, PreviewMarker);
    form.RemovePreview(w);
    // A late edit of a closing window shows nothing.
    form.Preview(w);
    EXPECT_EQ(w.Planes[1].Marker, 0);
    EXPECT_EQ(w.Planes[1].Triangular, 1);
    form.Apply(w);
    EXPECT_EQ(w.Planes[1].Triangular, 0);
    EXPECT_EQ(w.Planes[1].HalfThickness, 0.2);
    EXPECT_EQ(w.Params.DefaultHalfThickness, 0.2);
    EXPECT_DOUBLE_EQ(w.Planes[1].Length, std::sqrt(10.0));
    EXPECT_TRUE(Normalised(w));
}

TEST(FixedForms, VertexCountIsClamped) {
    const std::pair<double, int> cases[] = {{1, 2},    {5000, 1024}, {0, 2},  {-3.7, 3},
                                            {2.9, 2},  {1e300, 1024}, {1024, 1024}, {17, 17}};
    for (const auto& [typed, count] : cases) EXPECT_EQ(ClampedVertexCount(typed), count) << typed;

    auto world = NewWorld();
    World& w = *world;
    CreateSurface(w, {{0, 0}, {1, 0}, {2, 1}, {3, 3}}, false);
    SurfaceForm form(w, 1);
    form.SelectVertex(3);
    EXPECT_EQ(form.VertexCaption(), "4.");
    EXPECT_EQ(form.VertexPoint().Y, 3);
    // Fewer vertices keep the chosen one among them.
    EXPECT_EQ(form.SetVertexCount(1), 2);
    EXPECT_EQ(form.Vertex(), 1);
    EXPECT_EQ(form.SetVertexCount(5000), 1024);
    form.SelectVertex(2000);
    EXPECT_EQ(form.Vertex(), 1023);
}

// "ОК" of a surface: its thickness and material become the defaults of the
// next new objects; a thin line leaves the default thickness alone.
TEST(FixedForms, SurfaceOkSetsTheDefaults) {
    struct Case {
        const char* Name;
        bool Curve;
        double Thickness;
        double DefaultHalf;
    };
    const Case cases[] = {{"polyline", false, 0.2, 0.1}, {"curve", true, 0.2, 0.1}, {"thin polyline", false, 0, 0.05}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto world = NewWorld();
        World& w = *world;
        ASSERT_EQ(w.Params.DefaultHalfThickness, 0.05);
        CreateSurface(w, {{0, 0}, {1, 0}}, false);
        CreateCurve(w, CurveAt(Hyperbola, {1, 1}, 0, 1));
        if (c.Curve) {
            CurveForm form(w, 1);
            form.SetThickness(c.Thickness);
            form.SetMaterial(3);
            form.Apply(w);
            EXPECT_EQ(w.Surfaces2[1].HalfThickness, c.Thickness / 2);
        } else {
            SurfaceForm form(w, 1);
            form.SetThickness(c.Thickness);
            form.SetMaterial(3);
            form.SetClosed(true);
            form.Apply(w);
            EXPECT_TRUE(w.Surfaces[1].Closed);
            EXPECT_EQ(w.Surfaces[1].HalfThickness, c.Thickness / 2);
        }
        EXPECT_EQ(w.Params.DefaultHalfThickness, c.DefaultHalf);
        EXPECT_EQ(w.Params.DefaultMaterial, 3);
        const int next = CreateSurface(w, {{0, 0}, {1, 0}}, false);
        EXPECT_EQ(w.Surfaces[next].HalfThickness, c.DefaultHalf);
        EXPECT_EQ(w.Surfaces[next].Material, 3);
        EXPECT_EQ(w.Walls[CreateBar(w, KindWall, 0, 0, 1)].Material, 3);
        EXPECT_TRUE(Normalised(w));
    }
}

TEST(FixedForms, CurveTypeGivesTheCaptionAndCloseGivesAFullTurn) {
    struct Case {
        int Type;
        const char* Title;
        bool Closes;
    };
    const Case cases[] = {{0, "Свойства параболы № 1", false},
                          {1, "Свойства гиперболы № 1", false},
                          {2, "Свойства эллипса № 1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        auto world = NewWorld();
        World& w = *world;
        CreateCurve(w, CurveAt(Parabola, {1, 1}, 0, 1));
        CurveForm form(w, 1);
        form.SetTypeIndex(c.Type);
        EXPECT_EQ(form.Title(), c.Title);
        EXPECT_EQ(form.CanCloseRange(), c.Closes);
        form.SetTFrom(-1);
        form.SetTTo(1);
        form.CloseRange();
        EXPECT_EQ(form.Copy().TFrom, c.Closes ? 0 : -1);
        EXPECT_EQ(form.Copy().TTo, c.Closes ? 6.28318530717958 : 1);
        // "ОК" is open to every type.
        form.Apply(w);
        EXPECT_EQ(w.Surfaces2[1].SurfaceKind, c.Type + 1);
        EXPECT_TRUE(Normalised(w));
    }
    // A damaged kind shows as the ellipse it is drawn as.
    auto world = NewWorld();
    CreateCurve(*world, CurveAt(Parabola, {1, 1}, 0, 1));
    world->Surfaces2[1].SurfaceKind = 7;
    EXPECT_EQ(CurveForm(*world, 1).TypeIndex(), 2);
}

// A moved suspension point takes the rods and balls hung on it along.
TEST(FixedForms, SuspensionPointTakesWhatHangsOnIt) {
    auto world = NewWorld();
    World& w = *world;
    CreateLaval(w, {0, 2});
    CreateLaval(w, {5, 2});
    const int rod = CreateRod(w, {-0.5, 2}, {1.5, 2}, 0);
    ASSERT_EQ(w.Pegs[rod].HangLaval, 1);
    const int ball = CreateBody(w, KindBall, {0, 1}, 0.1, 0, false);
    w.Balls[ball].BindKind = BindLaval;
    w.Balls[ball].BindNumber = 1;
    RecomputeBall(w, ball);
    const Vec2 rodEnd = w.Pegs[rod].End2;
    const Vec2 ballAt = w.Balls[ball].Position;

    LavalForm form(w, 1);
    EXPECT_EQ(form.Title(), "Свойства подвеса № 1");
    form.SetX(1);
    form.SetY(3);
    form.Apply(w);

    EXPECT_EQ(w.Lavals[1].Position, (Vec2{1, 3}));
    EXPECT_EQ(w.Lavals[2].Position, (Vec2{5, 2}));
    EXPECT_EQ(w.Pegs[rod].Position, (Vec2{1, 3}));
    EXPECT_NEAR(w.Pegs[rod].End2.X, rodEnd.X + 1, 1e-12);
    EXPECT_NEAR(w.Pegs[rod].End2.Y, rodEnd.Y + 1, 1e-12);
    EXPECT_NEAR(w.Balls[ball].Position.X, ballAt.X + 1, 1e-12);
    EXPECT_NEAR(w.Balls[ball].Position.Y, ballAt.Y + 1, 1e-12);
    EXPECT_TRUE(Normalised(w));
}

}  // namespace
}  // namespace velo
