#include "engine/rod_contacts.h"

#include <algorithm>
#include <cmath>

namespace velo {
namespace {

bool BoxesOverlap(const BoundingBox& a, const BoundingBox& b, double margin) {
    return a.Min.X <= b.Max.X + margin && b.Min.X <= a.Max.X + margin &&
           a.Min.Y <= b.Max.Y + margin && b.Min.Y <= a.Max.Y + margin;
}

// How far from the rod's segment a candidate can lie and still be within
// reach: beyond it nothing of the obstacle can touch the rod, so the
// obstacle is skipped without changing any result.
double ReachMargin(const RodSegment& rod, double extra) {
    return rod.HalfWidth + extra + rod.FootTolerance + rod.LineTolerance + 1e-9;
}

bool WithinSegmentBox(Vec2 p, Vec2 a, Vec2 b) {
    constexpr double slack = 1e-10;
    return p.X >= std::min(a.X, b.X) - slack && p.X <= std::max(a.X, b.X) + slack &&
           p.Y >= std::min(a.Y, b.Y) - slack && p.Y <= std::max(a.Y, b.Y) + slack;
}

RodContact TestOutline(const RodSegment& rod, const Vec2* corners, int count) {
    RodContact best;
    for (int k = 0; k < count; ++k) RodEdgeTest(rod, corners[k], corners[(k + 1) % count], best);
    return best;
}

BoundingBox BoxOf(const Vec2* points, int count) {
    BoundingBox box;
    for (int k = 0; k < count; ++k) box.Add(points[k]);
    return box;
}

}  // namespace

double RodContact::Angle() const { return PolarAngle(Direction); }

bool PerpendicularMeetsEdge(const RodSegment& rod, Vec2 end, Vec2 a, Vec2 b, Vec2& point) {
    const Vec2 normal = Perpendicular(rod.Direction);
    const Vec2 edge = b - a;
    const double denominator = Cross(edge, normal);
    if (denominator == 0) return false;
    const double t = Cross(end - a, normal) / denominator;
    point = a + edge * t;
    switch (DecideOnSegment(t < 0 ? -t : t - 1, Dot(edge, edge), a, b, point, rod.LineTolerance)) {
    case OnSegmentShortcut::Inside: return true;
    case OnSegmentShortcut::Outside: return false;
    case OnSegmentShortcut::Compute: break;
    }
    return Distance(a, point) + Distance(point, b) - Distance(a, b) < rod.LineTolerance;
}



RodSegment MakeRodSegment(const World& world, const Peg& rod) {
    RodSegment segment;
    segment.End1 = rod.End1;
    segment.End2 = rod.End2;
    segment.Direction = UnitVector(rod.End2 - rod.End1);
    segment.HalfWidth = rod.Width / 2;
    segment.FootTolerance = OnSegmentTolerance(world.Params.FieldScale);
    segment.LineTolerance = world.PointsPerPixel / world.Params.FieldScale / 10;
    segment.Box.Add(rod.End1);
    segment.Box.Add(rod.End2);
    return segment;
}

bool IntersectSegments(Vec2 p1, Vec2 p2, Vec2 p3, Vec2 p4, Vec2& point) {
    const bool firstVertical = p1.X == p2.X;
    const bool secondVertical = p3.X == p4.X;
    if (firstVertical && secondVertical) return false;
    if (firstVertical) {
        const double k2 = (p4.Y - p3.Y) / (p4.X - p3.X);
        point = {p1.X, p3.Y + k2 * (p1.X - p3.X)};
    } else if (secondVertical) {
        const double k1 = (p2.Y - p1.Y) / (p2.X - p1.X);
        point = {p3.X, p1.Y + k1 * (p3.X - p1.X)};
    } else {
        const double k1 = (p2.Y - p1.Y) / (p2.X - p1.X);
        const double k2 = (p4.Y - p3.Y) / (p4.X - p3.X);
        if (k1 == k2) return false;
        const double b1 = p1.Y - k1 * p1.X;
        const double b2 = p3.Y - k2 * p3.X;
        const double x = (b2 - b1) / (k1 - k2);
        point = {x, k1 * x + b1};
    }
    return WithinSegmentBox(point, p1, p2) && WithinSegmentBox(point, p3, p4);
}

// A lower bound of every candidate distance the edge test can find for
// edge a-b: the gap between the boxes of the rod and the edge, less how far
// a foot may lie beyond the rod's ends or a point beyond the edge's ends,
// and less a margin for rounding.
double EdgeDistanceBound(const RodSegment& rod, Vec2 a, Vec2 b) {
    const double gapX = std::max({0.0, std::min(a.X, b.X) - rod.Box.Max.X, rod.Box.Min.X - std::max(a.X, b.X)});
    const double gapY = std::max({0.0, std::min(a.Y, b.Y) - rod.Box.Max.Y, rod.Box.Min.Y - std::max(a.Y, b.Y)});
    const double scale = std::fabs(a.X) + std::fabs(a.Y) + std::fabs(b.X) + std::fabs(b.Y) + std::fabs(rod.Box.Min.X) +
                         std::fabs(rod.Box.Min.Y) + std::fabs(rod.Box.Max.X) + std::fabs(rod.Box.Max.Y);
    return std::max(gapX, gapY) - std::fabs(rod.FootTolerance) - std::fabs(rod.LineTolerance) - 1e-9 * (1 + scale);
}

void RodEdgeTest(const RodSegment& rod, Vec2 a, Vec2 b, RodContact& best) {
    // An edge whose every candidate lies further than the best so far can
    // change nothing: only a strictly nearer candidate replaces the best.
    if (EdgeDistanceBound(rod, a, b) > best.Distance) return;
    enum class Kind { Corner, EndOnEdge, Crossing };
    struct Candidate {
        Vec2 Point;
        double Distance;
        Kind What;
    };
    Candidate candidates[5];
    int count = 0;

    for (Vec2 corner : {a, b}) {
        const SegmentFoot foot = FootOnSegment(corner, rod.End1, rod.End2, rod.FootTolerance);
        if (foot.OnSegment) candidates[count++] = {corner, Distance(foot.Point, corner), Kind::Corner};
    }
    for (Vec2 end : {rod.End1, rod.End2}) {
        Vec2 x;
        if (PerpendicularMeetsEdge(rod, end, a, b, x))
            candidates[count++] = {x, Distance(x, end), Kind::EndOnEdge};
    }
    Vec2 crossing;
    if (IntersectSegments(rod.End1, rod.End2, a, b, crossing))
        candidates[count++] = {crossing, 1e-80, Kind::Crossing};

    int chosen = -1;
    for (int k = 0; k < count; ++k) {
        if (candidates[k].Distance < best.Distance) {
            best.Distance = candidates[k].Distance;
            chosen = k;
        }
    }
    if (chosen < 0) return;
    const Candidate& c = candidates[chosen];
    best.Any = true;
    best.Point = c.Point;
    best.Crossing = c.What == Kind::Crossing;
    best.FromEdge = true;
    best.EdgeA = a;
    best.EdgeB = b;
    best.Direction = c.What == Kind::Corner ? rod.Direction : b - a;
    if (c.What == Kind::Crossing) return;

    // A rod lying along the edge touches it over a stretch, and its two ends
    // (or an end and a corner) tie. Striking it at the first of them would
    // set it spinning and let the other end sink; strike it at the middle of
    // the stretch instead.
    const Vec2 edge = b - a;
    double low = 0, high = 0;
    Vec2 lowPoint, highPoint;
    bool anyTie = false;
    for (int k = 0; k < count; ++k) {
        const Candidate& t = candidates[k];
        if (t.What == Kind::Crossing) continue;
        if (std::fabs(t.Distance - c.Distance) > rod.LineTolerance) continue;
        const double along = Dot(t.Point - a, edge);
        if (!anyTie || along < low) { low = along; lowPoint = t.Point; }
        if (!anyTie || along > high) { high = along; highPoint = t.Point; }
        anyTie = true;
    }
    if (anyTie && high > low) {
        best.Point = (lowPoint + highPoint) * 0.5;
        best.Direction = edge;
    }
}

RodContact RodLavalContact(const RodSegment& rod, const Laval& laval) {
    RodContact contact;
    const SegmentFoot foot = FootOnSegment(laval.Position, rod.End1, rod.End2, rod.FootTolerance);
    if (!foot.OnSegment) return contact;
    contact.Any = true;
    contact.Distance = Distance(foot.Point, laval.Position);
    contact.Point = laval.Position;
    contact.Direction = rod.Direction;
    return contact;
}

RodContact RodHandContact(const RodSegment& rod, const HandWall& hand) {
    const double t = hand.HalfThickness;
    const Vec2 corners[4] = {{hand.Bound1, hand.Coord + t},
                             {hand.Bound2, hand.Coord + t},
                             {hand.Bound2, hand.Coord - t},
                             {hand.Bound1, hand.Coord - t}};
    if (!BoxesOverlap(rod.Box, BoxOf(corners, 4), ReachMargin(rod, 0))) return {};
    return TestOutline(rod, corners, 4);
}

RodContact RodWallContact(const RodSegment& rod, const HandWall& wall) {
    const double t = wall.HalfThickness;
    const Vec2 corners[4] = {{wall.Coord + t, wall.Bound1},
                             {wall.Coord + t, wall.Bound2},
                             {wall.Coord - t, wall.Bound2},
                             {wall.Coord - t, wall.Bound1}};
    if (!BoxesOverlap(rod.Box, BoxOf(corners, 4), ReachMargin(rod, 0))) return {};
    return TestOutline(rod, corners, 4);
}

RodContact RodPlaneContact(const RodSegment& rod, const Plane& plane) {
    const Vec2 p1 = plane.P1;
    const Vec2 p2 = plane.P2;
    if (plane.Triangular == 0) {
        const double h = plane.HalfThickness;
        const Vec2 o = plane.Length != 0
                           ? Vec2{(p2.Y - p1.Y) * h / plane.Length, -(p2.X - p1.X) * h / plane.Length}
                           : Vec2{};
        const Vec2 corners[4] = {p1 + o, p2 + o, p2 - o, p1 - o};
        if (!BoxesOverlap(rod.Box, BoxOf(corners, 4), ReachMargin(rod, 0))) return {};
        return TestOutline(rod, corners, 4);
    }
    const Vec2 c = p2.Y <= p1.Y ? Vec2{p1.X, p2.Y} : Vec2{p2.X, p1.Y};
    const Vec2 corners[3] = {p1, p2, c};
    if (!BoxesOverlap(rod.Box, BoxOf(corners, 3), ReachMargin(rod, 0))) return {};
    return TestOutline(rod, corners, 3);
}

BoundingBox SurfaceBox(const Surface& surface) {
    const int n = std::min<int>(surface.PointCount, static_cast<int>(surface.Points.size()));
    return BoxOf(surface.Points.data(), std::max(n, 0));
}

namespace {

// The edge test for one edge of a polyline, skipped when the boxes of the
// rod and the edge are further apart than `margin`.
void EdgeTestWithinReach(const RodSegment& rod, Vec2 a, Vec2 b, double margin, RodContact& best) {
    BoundingBox box;
    box.Add(a);
    box.Add(b);
    if (BoxesOverlap(rod.Box, box, margin)) RodEdgeTest(rod, a, b, best);
}

}  // namespace

RodContact RodSurfaceContact(const RodSegment& rod, const Surface& surface,
                             const BoundingBox& surfaceBox) {
    RodContact best;
    const int n = std::min<int>(surface.PointCount, static_cast<int>(surface.Points.size()));
    if (n < 2) return best;
    const double margin = ReachMargin(rod, surface.HalfThickness);
    if (!BoxesOverlap(rod.Box, surfaceBox, margin)) return best;
    const Vec2* v = surface.Points.data();
    auto edge = [&](Vec2 a, Vec2 b) { EdgeTestWithinReach(rod, a, b, margin, best); };
    for (int k = 1; k < n; ++k) edge(v[k - 1], v[k]);
    // A closed surface is drawn with its closing edge; rods must meet it too.
    if (surface.Closed && n >= 3) edge(v[n - 1], v[0]);
    return best;
}

RodContact RodSurfaceContactInChunks(const RodSegment& rod, const Surface& surface,
                                     const PolylineChunk* chunks, int chunkCount) {
    RodContact best;
    const int n = std::min<int>(surface.PointCount, static_cast<int>(surface.Points.size()));
    if (n < 2) return best;
    const double margin = ReachMargin(rod, surface.HalfThickness);
    const Vec2* v = surface.Points.data();
    auto edge = [&](Vec2 a, Vec2 b) { EdgeTestWithinReach(rod, a, b, margin, best); };
    for (int c = 0; c < chunkCount; ++c) {
        const PolylineChunk& chunk = chunks[c];
        // The chunk's box holds the boxes of its edges.
        if (!BoxesOverlap(rod.Box, chunk.Box, margin)) continue;
        if (chunk.Closing) {
            if (surface.Closed && n >= 3) edge(v[n - 1], v[0]);
            continue;
        }
        for (int k = chunk.Begin; k < std::min(chunk.End, n); ++k) edge(v[k - 1], v[k]);
    }
    return best;
}

double RodSearchReach(const RodSegment& rod) {
    return std::fabs(rod.HalfWidth) + std::fabs(rod.FootTolerance) + std::fabs(rod.LineTolerance) + 1e-9;
}

Vec2 ContactNormal(const RodSegment& rod, const RodContact& contact) {
    Vec2 normal = UnitVector(Perpendicular(contact.Direction));
    if (normal.X == 0 && normal.Y == 0) normal = {0, 1};
    const Vec2 onAxis =
        rod.End1 + rod.Direction * Dot(contact.Point - rod.End1, rod.Direction);
    double side = contact.Crossing ? 0 : Dot(normal, onAxis - contact.Point);
    if (side == 0) side = Dot(normal, (rod.End1 + rod.End2) * 0.5 - contact.Point);
    return side < 0 ? -normal : normal;
}

}  // namespace velo
