#include "editing/creation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "engine/chain_layout.h"
#include "engine/curves.h"
#include "engine/fastening.h"
#include "engine/geometry.h"
#include "model/derived_fields.h"
#include "model/portable_math.h"
#include "model/world_ops.h"

namespace velo {
namespace {

constexpr const char* CapacityEnding =
    ". Попробуйте оптимизировать имитацию или использовать версию Velocitronimatics, "
    "позволяющую работать с необходимым количеством объектов.";

// The kinds whose command has no message of its own get one in the same
// style, so no record beyond a table's capacity is ever written.
const char* OwnCapacityText(int mode) {
    switch (mode) {
    case ModeHand: return "Опора не может быть создана, так как номер опоры в данной версии не может превышать ";
    case ModeWall: return "Стена не может быть создана, так как номер стены в данной версии не может превышать ";
    case ModeBall:
    case ModeCylinder:
        return "Шар или цилиндр не может быть создан, так как номер шара в данной версии не может превышать ";
    case ModeThread: return "Нить не может быть создана, так как номер нити в данной версии не может превышать ";
    case ModeHBody:
        return "Небесное тело не может быть создано, так как его номер в данной версии программы не может "
               "превышать ";
    default: return nullptr;
    }
}

int TableOfMode(int mode) {
    switch (mode) {
    case ModeLaval: return KindLaval;
    case ModeHand: return KindHand;
    case ModeWall: return KindWall;
    case ModePlane: return KindPlane;
    case ModeBall:
    case ModeCylinder: return KindBall;
    case ModeThread: return KindThread;
    case ModePeg: return KindPeg;
    case ModeSurface: return KindSurface;
    case ModeParabola:
    case ModeHyperbola:
    case ModeEllipse: return KindSurface2;
    case ModeHBody: return KindHBody;
    default: return KindNone;
    }
}

int NewNumber(World& world, int kind) { return NewObject(world, kind).Number; }

}  // namespace

std::string CreationRefusal(const World& world, int mode) {
    const int table = TableOfMode(mode);
    if (table == KindNone) return {};
    const int capacity = CapacityOf(table);
    if (CountOf(world, table) >= capacity) {
        if (const char* own = OwnCapacityText(mode)) return own + std::to_string(capacity) + CapacityEnding;
        // The kinds with a message of their own: the table's refusal.
        auto probe = std::make_unique<World>();
        CountOf(*probe, table) = capacity;
        return NewObject(*probe, mode == ModeCylinder ? KindCylinder : table).Message;
    }
    if (mode == ModeThread) {
        for (int n = 1; n <= std::min(world.LavalCount, LavalCapacity); ++n) {
            if (world.Lavals[n].Exists) return {};
        }
        return NoLavalMessage;
    }
    return {};
}

double BallSizePixels(int ballSize) {
    switch (ballSize) {
    case 2: return 13.5;
    case 3: return 27;
    default: return 8.5;
    }
}

double DirectionAngle(Vec2 a, Vec2 b) {
    double angle = math::Atan2(b.Y - a.Y, b.X - a.X);
    if (angle < 0) angle += 2 * std::numbers::pi;
    return angle;
}

int CreateLaval(World& world, Vec2 at) {
    const int n = NewNumber(world, KindLaval);
    if (n > 0) world.Lavals[n].Position = at;
    return n;
}

int CreateBody(World& world, int kind, Vec2 at, double radius, int layer, bool marked) {
    const int n = NewNumber(world, kind == KindCylinder ? KindCylinder : KindBall);
    if (n == 0) return 0;
    Ball& b = world.Balls[n];
    b.Position = at;
    b.Radius = radius;
    b.Height = b.Shape == ShapeCylinder ? 2 * radius : b.Height;
    b.Z = static_cast<std::uint8_t>(std::clamp(layer, 0, 255));
    b.DragLinear = NewBodyDragLinear;
    b.DragQuadratic = NewBodyDragQuadratic;
    b.Marked = marked;
    RecomputeBall(world, n);
    return n;
}

int CreateBar(World& world, int kind, double coord, double from, double to) {
    const int n = NewNumber(world, kind == KindWall ? KindWall : KindHand);
    if (n == 0) return 0;
    HandWall& bar = kind == KindWall ? world.Walls[n] : world.Hands[n];
    bar.Coord = coord;
    bar.Bound1 = std::min(from, to);
    bar.Bound2 = std::max(from, to);
    return n;
}

int CreatePlane(World& world, Vec2 p1, Vec2 p2) {
    const int n = NewNumber(world, KindPlane);
    if (n == 0) return 0;
    Plane& p = world.Planes[n];
    p.P1 = p1;
    p.P2 = p2;
    p.Length = Distance(p1, p2);
    const double rise = math::Atan2(std::fabs(p2.Y - p1.Y), std::fabs(p2.X - p1.X));
    p.Angle = rise;
    return n;
}

int CreateRod(World& world, Vec2 end1, Vec2 end2, int layer) {
    const int n = NewNumber(world, KindPeg);
    if (n == 0) return 0;
    Peg& r = world.Pegs[n];
    r.End1 = end1;
    r.End2 = end2;
    r.Position = (end1 + end2) / 2;
    r.Length = Distance(end1, end2);
    r.Phi = DirectionAngle(end1, end2);
    r.Z = static_cast<std::uint8_t>(std::clamp(layer, 0, 255));
    r.Width = r.Depth = NewRodWidth;
    r.SectionShape = 0;
    r.SectionArea = std::numbers::pi * r.Width * r.Width / 4;
    r.SectionInertiaFactor = 1.0 / 16;
    r.DragLinear = NewBodyDragLinear;
    r.DragQuadratic = NewBodyDragQuadratic;
    // A suspension point the rod was drawn across, within half its width,
    // holds it where it crosses: the rod moves across its axis onto the
    // point. The last such point in number order wins.
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    for (int k = 1; k <= std::min(world.LavalCount, LavalCapacity); ++k) {
        const Laval& l = world.Lavals[k];
        if (!l.Exists) continue;
        const SegmentFoot foot = FootOnSegment(l.Position, r.End1, r.End2, tolerance);
        if (!foot.OnSegment || Distance(foot.Point, l.Position) > r.Width / 2) continue;
        const Vec2 shift = l.Position - foot.Point;
        r.End1 += shift;
        r.End2 += shift;
        r.HangLaval = k;
        r.Position = l.Position;
        r.HangFraction = r.Length > 0 ? Distance(r.End1, l.Position) / r.Length : 0.5;
    }
    RecomputeRod(world, n);
    if (r.HangLaval == 0) HangRodOnNearestLaval(world, n);
    return n;
}

int CreateSurface(World& world, const std::vector<Vec2>& points, bool closed) {
    if (points.empty()) return 0;
    const int n = NewNumber(world, KindSurface);
    if (n == 0) return 0;
    Surface& s = world.Surfaces[n];
    const int count = std::min<int>(static_cast<int>(points.size()), SurfacePointCapacity);
    std::copy_n(points.begin(), count, s.Points.begin());
    s.PointCount = count;
    s.Closed = closed;
    return n;
}

Surface2 CurveAt(int kind, Vec2 centre, double rotation, double axisLength) {
    Surface2 c;
    c.SurfaceKind = static_cast<std::uint8_t>(std::clamp(kind, 1, 3));
    c.Centre = centre;
    c.Rotation = rotation;
    c.ParamA = c.ParamB = std::max(axisLength, 1e-9);
    c.TFrom = -1;
    c.TTo = 1;
    return c;
}

void ShapeCurveThrough(Surface2& c, double axisLength, Vec2 pointer) {
    const Vec2 local = ToCurveFrame(c, pointer);
    const double u = local.X;
    const double v = std::fabs(local.Y);
    const double tiny = 1e-9;
    const double length = std::max(axisLength, tiny);
    double t = 1;
    switch (c.SurfaceKind) {
    case Parabola:
        // (a t^2, b t) at t = 1 is the pointer.
        c.ParamA = u;
        c.ParamB = std::max(v, tiny);
        break;
    case Hyperbola:
        // Vertex at the axis length (or nearer, when the pointer is), the
        // pointer on the branch at cosh t = u / a.
        if (u > tiny) {
            c.ParamA = std::min(length, u / 1.0001);
            t = math::Acosh(u / c.ParamA);
            c.ParamB = std::max(v / math::Sinh(t), tiny);
        } else {
            c.ParamA = length;
            c.ParamB = std::max(v, tiny);
        }
        break;
    default: {
        // The first half axis is the axis length (or longer, to reach the
        // pointer); the pointer lies on the arc at cos t = u / a.
        c.ParamA = std::max(length, std::fabs(u) * 1.0001);
        t = math::Acos(std::clamp(u / c.ParamA, -1.0, 1.0));
        const double s = math::Sin(t);
        c.ParamB = std::max(s > tiny ? v / s : v, tiny);
        break;
    }
    }
    c.TTo = t;
    c.TFrom = -t;
}

int CreateCurve(World& world, const Surface2& shape) {
    const int n = NewNumber(world, KindSurface2);
    if (n == 0) return 0;
    Surface2& c = world.Surfaces2[n];
    const bool selected = c.Selected;
    const std::uint8_t material = c.Material;
    const double half = c.HalfThickness;
    c = shape;
    c.Material = material;
    c.HalfThickness = half;
    c.Selected = selected;
    c.Exists = true;
    world.CurrentKind = KindSurface2;
    return n;
}

}  // namespace velo
