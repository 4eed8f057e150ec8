#include "example_scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "engine/ball_forces.h"
#include "engine/rod_phase.h"
#include "model/materials.h"
#include "model/world_ops.h"

namespace velo {

namespace {

constexpr double Pi = std::numbers::pi;

int AddLaval(World& w, Vec2 position) {
    const int n = NewObject(w, KindLaval).Number;
    w.Lavals[n].Position = position;
    return n;
}

int AddSupport(World& w, double y, double left, double right, int material = 1) {
    const int n = NewObject(w, KindHand).Number;
    HandWall& h = w.Hands[n];
    h.Coord = y;
    h.Bound1 = left;
    h.Bound2 = right;
    h.Material = static_cast<std::uint8_t>(material);
    return n;
}

int AddWall(World& w, double x, double bottom, double top) {
    const int n = NewObject(w, KindWall).Number;
    HandWall& h = w.Walls[n];
    h.Coord = x;
    h.Bound1 = top;
    h.Bound2 = bottom;
    return n;
}

int AddPlane(World& w, Vec2 p1, Vec2 p2, int material, bool triangular) {
    const int n = NewObject(w, KindPlane).Number;
    Plane& p = w.Planes[n];
    p.P1 = p1;
    p.P2 = p2;
    p.Material = static_cast<std::uint8_t>(material);
    p.Triangular = triangular ? 1 : 0;
    const double dx = p2.X - p1.X, dy = p2.Y - p1.Y;
    p.Length = std::sqrt(dx * dx + dy * dy);
    p.Angle = p2.X == p1.X ? Pi / 2 : std::fabs(std::atan((p2.Y - p1.Y) / (p2.X - p1.X)));
    return n;
}

// A ball (or a cylinder of the given height) of the material's density.
int AddBall(World& w, Vec2 position, double radius, int material = 1, double cylinderHeight = 0) {
    const bool cylinder = cylinderHeight > 0;
    const int n = NewObject(w, cylinder ? KindCylinder : KindBall).Number;
    Ball& b = w.Balls[n];
    b.Position = position;
    b.Radius = radius;
    b.Height = cylinder ? cylinderHeight : 0;
    b.Material = static_cast<std::uint8_t>(material);
    b.Density = w.Materials.Items[material].Density;
    b.Volume = cylinder ? Pi * radius * radius * cylinderHeight : 4.0 / 3.0 * Pi * radius * radius * radius;
    b.Mass = b.Density * b.Volume;
    b.Z = 0;  // one layer, so that the bodies of a scene meet each other
    b.Marked = true;
    return n;
}

// A rod of rectangular section; its Position is the rotation centre.
int AddRod(World& w, Vec2 position, double length, double phi, double width = 0.04) {
    const int n = NewObject(w, KindPeg).Number;
    Peg& r = w.Pegs[n];
    r.Position = position;
    r.Length = length;
    r.Phi = phi;
    r.Width = width;
    r.Depth = width;
    r.SectionShape = 1;
    r.SectionArea = width * width;
    r.SectionInertiaFactor = 1.0 / 12.0;
    r.LinearDensity = r.Density * r.SectionArea;
    r.Mass = r.LinearDensity * r.Length;
    return n;
}

void HangRod(World& w, int rod, int laval, double fraction) {
    w.Pegs[rod].HangLaval = laval;
    w.Pegs[rod].HangFraction = fraction;
}

// Fastens ball `ball` at end 1 or 2 of rod `rod`.
void FastenBall(World& w, int rod, int end, int ball) {
    Peg& r = w.Pegs[rod];
    const std::uint8_t kind = w.Balls[ball].Shape == ShapeCylinder ? KindCylinder : KindBall;
    if (end == 1) {
        r.End1Kind = kind;
        r.End1Number = ball;
    } else {
        r.End2Kind = kind;
        r.End2Number = ball;
    }
    w.Balls[ball].BindKind = BindPegEnd;
    w.Balls[ball].BindNumber = rod;
}

int AddMaterial(World& w, const char* name, double density, std::int32_t colour) {
    MaterialTable& m = w.Materials;
    const int n = ++m.MaterialCount;
    m.Items[n] = Material{name, density, 0, colour};
    // Like the ideal material, every pair starts elastic and frictionless
    // until it is given its own coefficients.
    for (int j = 0; j <= n; ++j) {
        m.Restitution[PairIndex(0, j)] = m.Restitution[PairIndex(j, 0)] = 1;
    }
    return n;
}

// The field is 10000 points across and 7000 down, whatever the window.
constexpr double FieldWidth = 10000;
constexpr double FieldHeight = 7000;

// A view that frames the box [low, high] of the model in the middle of the
// field: the scale is the largest round one (two significant digits) at
// which the box fits, and the box's centre goes to the field's centre.
void FrameView(World& w, Vec2 low, Vec2 high) {
    const double fit = std::min(FieldWidth / (high.X - low.X), FieldHeight / (high.Y - low.Y));
    const double step = std::pow(10.0, std::floor(std::log10(fit)) - 1);
    const double scale = std::floor(fit / step) * step;
    w.Params.FieldScale = scale;
    w.Params.FieldOriginX = static_cast<std::int32_t>(std::lround(FieldWidth / 2 - scale * (low.X + high.X) / 2));
    w.Params.FieldOriginY = static_cast<std::int32_t>(std::lround(FieldHeight / 2 + scale * (low.Y + high.Y) / 2));
}

void BallBounce(World& w) {
    FrameView(w, {-2.3, -0.3}, {2.3, 1.9});
    AddSupport(w, 0, -2, 2);
    AddBall(w, {0, 1.5}, 0.1);
    const int rubber = AddMaterial(w, "Резина", 1200, Rgb(40, 40, 40));
    SetPairSymmetric(w.Materials, rubber, 1, PairCoefficients{0.85, 0.6, 0.4, 0.02});
    SetPairSymmetric(w.Materials, rubber, rubber, PairCoefficients{0.9, 0.8, 0.5, 0.02});
    AddBall(w, {0.5, 1.0}, 0.1, rubber);
}

void InclinedPlanes(World& w) {
    FrameView(w, {-1.3, -0.3}, {9.3, 1.7});
    const int wood = AddMaterial(w, "Дерево", 700, Rgb(150, 100, 50));
    const int ice = AddMaterial(w, "Лёд", 900, Rgb(200, 230, 255));
    SetPairSymmetric(w.Materials, wood, 1, PairCoefficients{0.4, 0.5, 0.4, 0.03});
    SetPairSymmetric(w.Materials, ice, 1, PairCoefficients{0.3, 0.05, 0.03, 0.001});
    SetPairSymmetric(w.Materials, wood, wood, PairCoefficients{0.4, 0.6, 0.5, 0.04});
    SetPairSymmetric(w.Materials, ice, ice, PairCoefficients{0.2, 0.02, 0.01, 0.001});
    SetPairSymmetric(w.Materials, wood, ice, PairCoefficients{0.3, 0.1, 0.08, 0.01});
    AddSupport(w, 0, -1, 9);
    // Three slopes of 30 degrees side by side: steel, wood and ice, and a
    // solid triangle of wood at 45 degrees with a cylinder on it.
    const double rise = std::tan(Pi / 6) * 1.5;
    const int materials[3] = {1, wood, ice};
    for (int i = 0; i < 3; ++i) {
        const double x = 2.0 * i;
        AddPlane(w, {x, rise + 0.2}, {x + 1.5, 0.2}, materials[i], false);
        AddBall(w, {x + 0.15, rise + 0.2 + 0.05 + 0.1 + 0.05}, 0.1, 1);
    }
    AddPlane(w, {6.2, 1.2}, {7.4, 0.0}, wood, true);
    AddBall(w, {6.35, 1.2 + 0.12}, 0.1, 1, 0.3);
    // The cylinder leaves the triangle fast: a wall at the end of the
    // support sends it back before it reaches the edge of the field.
    AddWall(w, 8.85, 0, 1);
}

void NewtonCradle(World& w) {
    FrameView(w, {-1.2, -0.2}, {1.2, 1.7});
    AddSupport(w, 0, -2, 2);
    // Polished hardened steel: the balls strike nearly elastically and slide
    // on each other without friction, so that the strike runs through the
    // row and the last ball swings off alone.
    const int hardened = AddMaterial(w, "Закалённая сталь", 7800, Rgb(150, 150, 165));
    SetPairSymmetric(w.Materials, hardened, hardened, PairCoefficients{0.99, 0, 0, 0});
    const double radius = 0.1;
    const double length = 0.8;
    for (int i = 0; i < 5; ++i) {
        const double x = -0.4 + i * (2 * radius + 0.001);
        const int laval = AddLaval(w, {x, 1.5});
        // The first rod is pulled aside by 0.5 rad to the left.
        const double phi = -Pi / 2 - (i == 0 ? 0.5 : 0.0);
        const int rod = AddRod(w, {x, 1.5}, length, phi, 0.01);
        HangRod(w, rod, laval, 0);
        const int ball = AddBall(w, {x, 1.5 - length - radius}, radius, hardened);
        FastenBall(w, rod, 2, ball);
    }
}

void PhysicalPendulum(World& w) {
    FrameView(w, {-1.3, -0.2}, {1.3, 1.8});
    const int laval = AddLaval(w, {0, 1.5});
    // Hung at a tenth of its length, released 40 degrees from the vertical.
    const int rod = AddRod(w, {0, 1.5}, 1.0, -Pi / 2 + 40 * Pi / 180, 0.05);
    HangRod(w, rod, laval, 0.1);
    AddSupport(w, 0, -2, 2);
}

void DumbbellOnSurface(World& w) {
    FrameView(w, {-2.4, -0.2}, {2.4, 2.1});
    const int n = NewObject(w, KindSurface).Number;
    Surface& s = w.Surfaces[n];
    const Vec2 points[] = {{-2, 1.0}, {-1, 0.3}, {0, 0.0}, {0.6, 0.25}, {1.2, 0.1}, {2, 0.8}};
    s.PointCount = static_cast<std::int32_t>(std::size(points));
    for (int k = 0; k < s.PointCount; ++k) s.Points[k] = points[k];
    AddWall(w, -2.1, 0, 2);
    AddWall(w, 2.1, 0, 2);
    const int rod = AddRod(w, {-0.2, 1.4}, 0.6, 0.3, 0.03);
    w.Pegs[rod].Omega = 2.0;
    const int left = AddBall(w, {-0.5, 1.3}, 0.08);
    const int right = AddBall(w, {0.1, 1.5}, 0.08);
    FastenBall(w, rod, 1, left);
    FastenBall(w, rod, 2, right);
}

void ParabolicBowl(World& w) {
    FrameView(w, {-1.4, -0.2}, {1.4, 1.3});
    const int n = NewObject(w, KindSurface2).Number;
    Surface2& s = w.Surfaces2[n];
    // u = a t^2 along the rotated axis (up), v = b t across it: y = x^2.
    s.Centre = {0, 0};
    s.Rotation = Pi / 2;
    s.ParamA = 1;
    s.ParamB = 1;
    s.TFrom = -1;
    s.TTo = 1;
    s.SurfaceKind = Parabola;
    // The ball touches the thickened bowl at x = 0.7, its centre R + t out
    // along the normal there.
    const double x = 0.7;
    const double radius = 0.1;
    const Vec2 normal = Vec2{-2 * x, 1} * (1 / std::sqrt(1 + 4 * x * x));
    AddBall(w, Vec2{x, x * x} + normal * (s.HalfThickness + radius), radius);
}

// Three balls hung on suspension points by radii of 0.4, 0.9 and 1.6,
// released 20 degrees from the vertical: the periods go as the square root
// of the length (2 : 3 : 4).
void HungPendulums(World& w) {
    FrameView(w, {-2.2, -0.2}, {2.2, 2.2});
    AddSupport(w, 0, -2, 2);
    const double lengths[] = {0.4, 0.9, 1.6};
    const double swing = 20 * Pi / 180;
    for (int i = 0; i < 3; ++i) {
        const Vec2 point{-1.2 + 1.2 * i, 2.0};
        const int laval = AddLaval(w, point);
        const double length = lengths[i];
        const Vec2 centre{point.X + length * std::sin(swing), point.Y - length * std::cos(swing)};
        const int ball = AddBall(w, centre, 0.08);
        Ball& b = w.Balls[ball];
        b.BindKind = BindLaval;
        b.BindNumber = laval;
        // Phi + BindAngle is the direction from the centre to the point.
        b.BindAngle = std::atan2(point.Y - centre.Y, point.X - centre.X);
    }
}

void BallsInWind(World& w) {
    FrameView(w, {-3.3, -0.2}, {3.3, 3.2});
    w.Params.Wind = {3, 0};
    w.Params.AirDensity = 1;
    AddSupport(w, 0, -3, 3);
    AddWall(w, 3, 0, 3);
    AddWall(w, -3, 0, 3);
    const double radii[] = {0.05, 0.1, 0.2};
    auto light = [&w](int b, double density) {
        Ball& ball = w.Balls[b];
        ball.Density = density;
        ball.Mass = ball.Density * ball.Volume;
        ball.DragLinear = 0.1;
        ball.DragQuadratic = 0.5;
    };
    for (int i = 0; i < 3; ++i) light(AddBall(w, {-2 + i * 0.8, 2.0}, radii[i], 0), 500);
    // A light cylinder too: drag acts on its side.
    light(AddBall(w, {1.0, 1.5}, 0.1, 0, 0.2), 300);
}

}  // namespace

const std::vector<ExampleScene>& ExampleScenes() {
    static const std::vector<ExampleScene> scenes = {
        {"ball_bounce.qvs", "Пример: мяч, подпрыгивающий на опоре", BallBounce},
        {"inclined_planes.qvs", "Пример: шары на наклонных плоскостях из разных материалов",
         InclinedPlanes},
        {"newton_cradle.qvs", "Пример: маятник Ньютона", NewtonCradle},
        {"physical_pendulum.qvs", "Пример: физический маятник", PhysicalPendulum},
        {"dumbbell.qvs", "Пример: гантель падает на поверхность", DumbbellOnSurface},
        {"parabolic_bowl.qvs", "Пример: шар в параболической чаше", ParabolicBowl},
        {"hung_pendulums.qvs", "Пример: шары на подвесах разной длины", HungPendulums},
        {"balls_in_wind.qvs", "Пример: шары на ветру", BallsInWind},
    };
    return scenes;
}

void BuildExample(World& world, const ExampleScene& scene) {
    DefaultWorld(world);
    world.ProjectKind = ProjectMechanical;
    scene.Build(world);
    for (int n = 1; n <= world.BallCount; ++n) RecomputeBall(world, n);
    // Rods last: they place the balls fastened at their ends.
    for (int n = 1; n <= world.PegCount; ++n) RecomputeRod(world, n);
    ClearSelection(world);
    world.CurrentNumber = 0;
    world.Changed = false;
}

}  // namespace velo
