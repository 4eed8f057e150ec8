#include "editing/hit_test.h"

#include <algorithm>
#include <cmath>

#include "editing/celestial_edits.h"
#include "engine/curves.h"
#include "engine/geometry.h"

namespace velo {
namespace {

// Tolerances in field points, as the pointer sees the scene.
constexpr double ThreadReachPoints = 3;
constexpr double BallReachPoints = 8;
constexpr double RodReachPoints = 4;
constexpr double LavalReachPoints = 100;
constexpr double LavalSymbolRisePoints = 50;

struct Probe {
    Vec2 Point;        // model units
    double PerPoint;   // model units per field point
    double Tolerance;  // the on-segment tolerance of the feet
};

bool NearSegment(const Probe& p, Vec2 a, Vec2 b, double reach) {
    const SegmentFoot foot = FootOnSegment(p.Point, a, b, p.Tolerance);
    return foot.OnSegment && Distance(foot.Point, p.Point) <= reach;
}

bool ThreadAt(const Thread& thread, const Probe& p) {
    const int segments = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    for (int k = 1; k <= segments; ++k) {
        if (NearSegment(p, thread.Points[k - 1], thread.Points[k], ThreadReachPoints * p.PerPoint)) return true;
    }
    return false;
}

bool BallAt(const Ball& ball, const Probe& p) {
    return Distance(ball.Position, p.Point) <= std::max(ball.Radius, BallReachPoints * p.PerPoint);
}

bool RodAt(const Peg& rod, const Probe& p) {
    return NearSegment(p, rod.End1, rod.End2, std::max(rod.Width / 2, RodReachPoints * p.PerPoint));
}

// The rectangle a support or wall is drawn as; at least one pixel thick, as
// the drawing shows it.
bool BarAt(const HandWall& bar, double along, double across, double minimumHalf) {
    const double low = std::min(bar.Bound1, bar.Bound2);
    const double high = std::max(bar.Bound1, bar.Bound2);
    const double half = std::max(bar.HalfThickness, minimumHalf);
    return low <= along && along <= high && std::fabs(across - bar.Coord) <= half;
}

bool PlaneAt(const Plane& plane, const Probe& p) {
    const Vec2 p1 = plane.P1;
    const Vec2 p2 = plane.P2;
    if (plane.Triangular == 1) {
        const double x = p.Point.X;
        const double y = p.Point.Y;
        const double slope = p1.X == p2.X ? 1e20 : (p2.Y - p1.Y) / (p2.X - p1.X);
        const bool between = std::min(p1.X, p2.X) <= x && x <= std::max(p1.X, p2.X);
        return between && y > std::min(p1.Y, p2.Y) && y <= p1.Y + slope * (x - p1.X);
    }
    const SegmentFoot foot = FootOnSegment(p.Point, p1, p2, p.Tolerance);
    return foot.OnSegment && Distance(foot.Point, p.Point) < plane.HalfThickness;
}

bool SurfaceAt(const Surface& surface, const Probe& p) {
    const int count = static_cast<int>(std::min<long long>(surface.PointCount, static_cast<long long>(surface.Points.size())));
    if (count < 1) return false;
    // A pointer beyond the polyline's box by more than its thickness misses
    // it: the box is far cheaper than the feet on a thousand edges.
    double minX = surface.Points[0].X, maxX = minX, minY = surface.Points[0].Y, maxY = minY;
    for (int k = 1; k < count; ++k) {
        const Vec2 v = surface.Points[static_cast<std::size_t>(k)];
        minX = std::min(minX, v.X);
        maxX = std::max(maxX, v.X);
        minY = std::min(minY, v.Y);
        maxY = std::max(maxY, v.Y);
    }
    const double reach = surface.HalfThickness + p.Tolerance;
    const Vec2 q = p.Point;
    if (q.X < minX - reach || q.X > maxX + reach || q.Y < minY - reach || q.Y > maxY + reach) return false;
    const Vec2 nearest = NearestPointOfPolyline(surface.Points.data(), count, surface.Closed, q, p.Tolerance);
    return Distance(nearest, q) <= surface.HalfThickness;
}

bool CurveAt(const Surface2& curve, const Probe& p) {
    return Distance(NearestPointOfCurve(curve, p.Point), p.Point) <= curve.HalfThickness;
}

HitResult MovableAt(const World& w, const Probe& p) {
    const int threads = std::min(w.ThreadCount, ThreadCapacity);
    const int balls = std::min(w.BallCount, BallCapacity);
    const int rods = std::min(w.PegCount, PegCapacity);
    for (int layer = 255; layer >= 0; --layer) {
        for (int n = threads; n >= 1; --n) {
            const Thread& t = w.Threads[n];
            if (t.Exists && t.Z == layer && ThreadAt(t, p)) return {KindThread, n, t.Selected};
        }
        for (int n = balls; n >= 1; --n) {
            const Ball& b = w.Balls[n];
            if (b.Exists && b.Z == layer && BallAt(b, p)) {
                return {b.Shape == ShapeCylinder ? KindCylinder : KindBall, n, b.Selected};
            }
        }
        for (int n = rods; n >= 1; --n) {
            const Peg& r = w.Pegs[n];
            if (r.Exists && r.Z == layer && RodAt(r, p)) return {KindPeg, n, r.Selected};
        }
    }
    return {};
}

}  // namespace

HitResult ObjectAt(const World& w, Vec2 field) {
    if (w.ProjectKind == ProjectCelestial) return BodyAt(w, field);
    const double scale = w.Params.FieldScale;
    if (!(scale > 0) || !std::isfinite(field.X) || !std::isfinite(field.Y)) return {};
    const Probe p{field / scale, 1 / scale, OnSegmentTolerance(scale)};

    if (const HitResult movable = MovableAt(w, p); movable.Any()) return movable;

    for (int n = std::min(w.LavalCount, LavalCapacity); n >= 1; --n) {
        const Laval& l = w.Lavals[n];
        const Vec2 symbol = l.Position + Vec2{0, LavalSymbolRisePoints * p.PerPoint};
        if (l.Exists && Distance(symbol, p.Point) < LavalReachPoints * p.PerPoint) return {KindLaval, n, l.Selected};
    }
    const double pixelHalf = w.PointsPerPixel / scale / 2;
    for (int n = std::min(w.HandCount, HandCapacity); n >= 0; --n) {
        const HandWall& h = w.Hands[n];
        if (h.Exists && BarAt(h, p.Point.X, p.Point.Y, pixelHalf)) return {KindHand, n, h.Selected};
    }
    for (int n = std::min(w.WallCount, WallCapacity); n >= 1; --n) {
        const HandWall& h = w.Walls[n];
        if (h.Exists && BarAt(h, p.Point.Y, p.Point.X, pixelHalf)) return {KindWall, n, h.Selected};
    }
    for (int n = std::min(w.PlaneCount, PlaneCapacity); n >= 1; --n) {
        const Plane& plane = w.Planes[n];
        if (plane.Exists && PlaneAt(plane, p)) return {KindPlane, n, plane.Selected};
    }
    for (int n = std::min(w.SurfaceCount, SurfaceCapacity); n >= 1; --n) {
        const Surface& s = w.Surfaces[n];
        if (s.Exists && SurfaceAt(s, p)) return {KindSurface, n, s.Selected};
    }
    for (int n = std::min(w.Surface2Count, Surface2Capacity); n >= 1; --n) {
        const Surface2& c = w.Surfaces2[n];
        if (c.Exists && CurveAt(c, p)) return {CurveHitKind(c), n, c.Selected};
    }
    return {};
}

}  // namespace velo
