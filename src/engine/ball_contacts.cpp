#include "engine/ball_contacts.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/contact_response.h"
#include "engine/curves.h"
#include "engine/geometry.h"
#include "engine/obstacle_index.h"

namespace velo {
namespace {

// Most pairs are plainly apart; the square root decides only the close ones.
// The margin keeps rounding from ever rejecting a touching pair. The pair
// loops below take this test before the call, so that the many pairs it
// rejects cost no call.
inline bool PlainlyApart(const Ball& bi, const Ball& bj) {
    const Vec2 d = bj.Position - bi.Position;
    const double reach = bi.Radius + bj.Radius;
    return reach > 1e-100 && d.X * d.X + d.Y * d.Y > reach * reach * (1 + 1e-9);
}

// Keeps the nearest candidate; a later one replaces it only when strictly
// nearer, so ties keep the earlier candidate.
struct NearestCandidate {
    Vec2 Centre;
    Vec2 Point;
    double DistanceToCentre = 0;
    bool Any = false;

    explicit NearestCandidate(Vec2 centre) : Centre(centre) {}
    void Consider(Vec2 q) {
        const double d = Distance(q, Centre);
        if (!Any || d < DistanceToCentre) {
            Point = q;
            DistanceToCentre = d;
            Any = true;
        }
    }
    void ConsiderFoot(Vec2 a, Vec2 b, double tolerance) {
        const SegmentFoot foot = FootOnSegment(Centre, a, b, tolerance);
        if (foot.OnSegment) Consider(foot.Point);
    }
};

// A support (along = x) or a wall (along = y) in its own axes: `along` runs
// along the bar, `across` across it.
struct BarAxes {
    bool Swapped;
    Vec2 In(Vec2 p) const { return Swapped ? Vec2{p.Y, p.X} : p; }
    Vec2 Out(Vec2 p) const { return Swapped ? Vec2{p.Y, p.X} : p; }
};

void ContactWithBar(World& world, int number, const HandWall& bar, BarAxes axes, bool zeroSupport) {
    Ball& ball = world.Balls[number];
    const Vec2 centre = axes.In(ball.Position);
    const double x = centre.X;
    const double y = centre.Y;
    const double r = ball.Radius;
    const double t = bar.HalfThickness;
    const double across = std::fabs(y - bar.Coord);
    if (!(across < 2 * t + r)) return;
    const bool alongInside = bar.Bound1 <= x && x <= bar.Bound2;
    if (across <= t && alongInside) {
        // The centre lies inside the bar: the bar carries the ball.
        ball.Force = {0, 0};
        return;
    }
    NearestCandidate nearest(centre);
    nearest.Consider({bar.Bound1, bar.Coord + t});
    nearest.Consider({bar.Bound2, bar.Coord + t});
    nearest.Consider({bar.Bound2, bar.Coord - t});
    nearest.Consider({bar.Bound1, bar.Coord - t});
    if (alongInside) nearest.Consider({x, y <= bar.Coord ? bar.Coord - t : bar.Coord + t});
    if (across <= t) nearest.Consider({x >= bar.Bound1 ? bar.Bound2 : bar.Bound1, y});
    if (!(nearest.DistanceToCentre <= r)) return;
    const Vec2 arm = axes.Out(nearest.Point) - ball.Position;
    // The zero-level support does not push balls of the ideal material out:
    // they rest on it by impulses alone.
    if (!zeroSupport || (bar.Material != 0 && ball.Material != 0)) PushOut(ball, arm, 0);
    RespondToFixedObstacle(world, ball, arm, bar.Material);
}

void StopDead(Ball& ball) {
    ball.Velocity = {0, 0};
    ball.Force = {0, 0};
    ball.Acceleration = {0, 0};
    ball.Momentum = {0, 0};
    ball.Epsilon = 0;
    ball.Phi = 0;
    ball.Omega = 0;
    ball.KineticEnergy = 0;
    ball.AngularMomentum = 0;
    ball.Torque = 0;
}

void ContactWithPlate(World& world, Ball& ball, const Plane& plane, double tolerance) {
    const Vec2 centre = ball.Position;
    const double h = plane.HalfThickness;
    const SegmentFoot foot = FootOnSegment(centre, plane.P1, plane.P2, tolerance);
    if (Distance(centre, foot.Point) <= h && foot.OnSegment) {
        ball.Force = {0, 0};
        return;
    }
    double length = plane.Length;
    if (!(length > 0)) length = Distance(plane.P2, plane.P1);
    Vec2 o{0, 0};
    if (length > 0) o = {(plane.P2.Y - plane.P1.Y) * h / length, -(plane.P2.X - plane.P1.X) * h / length};
    const Vec2 a = plane.P1 + o;
    const Vec2 b = plane.P2 + o;
    const Vec2 c = plane.P1 - o;
    const Vec2 d = plane.P2 - o;
    NearestCandidate nearest(centre);
    nearest.Consider(a);
    nearest.Consider(b);
    nearest.Consider(c);
    nearest.Consider(d);
    nearest.ConsiderFoot(a, b, tolerance);
    nearest.ConsiderFoot(c, d, tolerance);
    nearest.ConsiderFoot(a, c, tolerance);
    nearest.ConsiderFoot(b, d, tolerance);
    if (!(nearest.DistanceToCentre <= ball.Radius)) return;
    const Vec2 arm = nearest.Point - centre;
    PushOut(ball, arm, 0);
    RespondToFixedObstacle(world, ball, arm, plane.Material);
}

void ContactWithTriangle(World& world, Ball& ball, const Plane& plane, double tolerance) {
    const Vec2 centre = ball.Position;
    const Vec2 p1 = plane.P1;
    const Vec2 p2 = plane.P2;
    const Vec2 corner = p2.Y <= p1.Y ? Vec2{p1.X, p2.Y} : Vec2{p2.X, p1.Y};
    const double slope = p1.X == p2.X ? 1e20 : (p2.Y - p1.Y) / (p2.X - p1.X);
    const double x = centre.X;
    const double y = centre.Y;
    const bool between = std::fabs(x - p1.X) + std::fabs(p2.X - x) == std::fabs(p2.X - p1.X);
    if (std::min(p1.Y, p2.Y) < y && between && y <= p1.Y + slope * (x - p1.X)) {
        StopDead(ball);
        return;
    }
    NearestCandidate nearest(centre);
    nearest.Consider(p1);
    nearest.Consider(p2);
    nearest.Consider(corner);
    nearest.ConsiderFoot(p1, p2, tolerance);
    nearest.ConsiderFoot(p2, corner, tolerance);
    nearest.ConsiderFoot(p1, corner, tolerance);
    if (!(nearest.DistanceToCentre <= ball.Radius)) return;
    const Vec2 arm = nearest.Point - centre;
    PushOut(ball, arm, 0);
    RespondToFixedObstacle(world, ball, arm, plane.Material);
}

// The common end of the thickened polyline and curve contacts.
void ContactWithThickLine(World& world, Ball& ball, Vec2 nearestPoint, double halfThickness,
                          int material) {
    const Vec2 arm = nearestPoint - ball.Position;
    if (!(Magnitude(arm) <= halfThickness + ball.Radius)) return;
    PushOut(ball, arm, halfThickness);
    RespondToFixedObstacle(world, ball, arm, material);
}

}  // namespace

void ContactWithBall(World& world, int number, int other) {
    Ball& bi = world.Balls[number];
    Ball& bj = world.Balls[other];
    if (PlainlyApart(bi, bj)) return;
    Vec2 d = bj.Position - bi.Position;
    const double reach = bi.Radius + bj.Radius;
    if (!(Magnitude(d) <= reach) || !bj.Exists || bi.Z != bj.Z) return;
    // Freezing spreads through contact.
    const bool movable = bi.Movable && bj.Movable;
    bi.Movable = movable;
    bj.Movable = movable;
    if (!movable) return;
    // Coinciding centres give n = 0 and a zero arm: nothing moves and the
    // frame is that of the zero vector.
    const Vec2 n = UnitVector(d);
    const Vec2 arm = d - n * bj.Radius;
    // Only the processed ball is moved out: the lower-numbered ball has
    // already finished its own contacts in this step.
    double frame;
    const double distance = Magnitude(d);
    if (distance > 0 && distance <= bj.Radius) {
        // The centre of i lies inside j: the arm d - n Rj then points away
        // from j, and pushing out along it would carry i onto or through the
        // centre of j. Separate along -n to touching distance instead and
        // take the frame of the line of centres, as for a shallow overlap.
        bi.Position += arm - n * bi.Radius;
        frame = ContactFrameAngle(n);
    } else {
        PushOut(bi, arm, 0);
        frame = ContactFrameAngle(arm);
    }
    const FrameTurn turn = TurnOf(frame);
    const Vec2 vi = ToContactFrame(bi.Velocity, turn);
    const Vec2 vj = ToContactFrame(bj.Velocity, turn);
    const double slidingI = vi.X + bi.Radius * bi.Omega;
    const double sliding = slidingI - vj.X + bj.Radius * bj.Omega;
    const double k = 1 / bi.Mass + 1 / bj.Mass + ArmOverInertia(bi.Radius, bi.Inertia) +
                     ArmOverInertia(bj.Radius, bj.Inertia);
    const double m = 1 / bi.Mass + 1 / bj.Mass;
    const PairCoefficients pair = ContactPair(world, bi.Material, bj.Material);
    const double normal = -(1 + pair.Restitution) * (vi.Y - vj.Y) / m;
    double tangential;
    if (UsesRouth(vi.Y, world.Params.RouthMinSpeed)) {
        tangential = -sliding / k;
        // Coulomb limit, opposite to the sliding: the normal impulse of a
        // separating pair is negative, so its magnitude bounds the friction.
        if (pair.FrictionRouth * std::fabs(normal) < std::fabs(tangential)) {
            tangential = pair.FrictionRouth * std::fabs(normal) * Sign(tangential);
        }
    } else {
        tangential = -pair.FrictionLambda * sliding / k;
    }
    const Vec2 impulse = FromContactFrame({tangential, normal}, turn);
    bi.Velocity += impulse / bi.Mass;
    bi.Omega += OverInertia(Cross(n * bi.Radius, impulse), bi.Inertia);
    bj.Velocity -= impulse / bj.Mass;
    bj.Omega += OverInertia(Cross(n * bj.Radius, impulse), bj.Inertia);
}

void ContactWithLaval(World& world, int number, int other) {
    const Laval& point = world.Lavals[other];
    if (!point.Exists) return;
    Ball& ball = world.Balls[number];
    const Vec2 arm = point.Position - ball.Position;
    if (Magnitude(arm) <= ball.Radius) RespondToFixedObstacle(world, ball, arm, 0);
}

void ContactWithHand(World& world, int number, int other) {
    const HandWall& bar = world.Hands[other];
    if (bar.Exists) ContactWithBar(world, number, bar, BarAxes{false}, other == 0);
}

void ContactWithWall(World& world, int number, int other) {
    const HandWall& bar = world.Walls[other];
    if (bar.Exists) ContactWithBar(world, number, bar, BarAxes{true}, false);
}

void ContactWithPlane(World& world, int number, int other) {
    const Plane& plane = world.Planes[other];
    if (!plane.Exists) return;
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    if (plane.Triangular == 1) ContactWithTriangle(world, world.Balls[number], plane, tolerance);
    else ContactWithPlate(world, world.Balls[number], plane, tolerance);
}

void ContactWithSurface(World& world, int number, int other) {
    const Surface& surface = world.Surfaces[other];
    const int count = std::min<long long>(surface.PointCount, static_cast<long long>(surface.Points.size()));
    if (!surface.Exists || count < 1) return;
    Ball& ball = world.Balls[number];
    const Vec2 q = NearestPointOfPolyline(surface.Points.data(), count, surface.Closed, ball.Position,
                                          OnSegmentTolerance(world.Params.FieldScale));
    ContactWithThickLine(world, ball, q, surface.HalfThickness, surface.Material);
}

void ContactWithSurface2(World& world, int number, int other) {
    const Surface2& curve = world.Surfaces2[other];
    if (!curve.Exists) return;
    Ball& ball = world.Balls[number];
    const Vec2 q = NearestPointOfCurve(curve, ball.Position);
    ContactWithThickLine(world, ball, q, curve.HalfThickness, curve.Material);
}

namespace {

void PlainContacts(World& world, int number) {
    for (int j = 1; j < number; ++j) ContactWithBall(world, number, j);
    for (int n = 1; n <= world.LavalCount; ++n) ContactWithLaval(world, number, n);
    for (int n = 0; n <= world.HandCount; ++n) ContactWithHand(world, number, n);
    for (int n = 1; n <= world.WallCount; ++n) ContactWithWall(world, number, n);
    for (int n = 1; n <= world.PlaneCount; ++n) ContactWithPlane(world, number, n);
    for (int n = 1; n <= world.SurfaceCount; ++n) ContactWithSurface(world, number, n);
    for (int n = 1; n <= world.Surface2Count; ++n) ContactWithSurface2(world, number, n);
}

// The polyline walk restricted to the chunks near the ball. Every candidate
// that could bring the ball into contact lies in such a chunk, and the walk
// keeps their order, so the nearest point it finds is the one of the full
// walk whenever that one is near enough to touch.
void ContactWithSurfaceChunks(World& world, int number, const Surface& surface,
                              const PolylineChunk* chunks, int chunkCount) {
    Ball& ball = world.Balls[number];
    const Vec2 p = ball.Position;
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    const Vec2* points = surface.Points.data();
    const int count = static_cast<int>(std::min<long long>(surface.PointCount, static_cast<long long>(surface.Points.size())));
    NearestCandidate nearest(p);
    for (int c = 0; c < chunkCount; ++c) {
        const PolylineChunk& chunk = chunks[c];
        if (!NearBox(chunk.Box, p, ball.Radius)) continue;
        if (chunk.Closing) {
            nearest.ConsiderFoot(points[count - 1], points[0], tolerance);
            continue;
        }
        if (chunk.Begin == 1) nearest.Consider(points[0]);
        for (int k = chunk.Begin; k < chunk.End; ++k) {
            nearest.Consider(points[k]);
            nearest.ConsiderFoot(points[k - 1], points[k], tolerance);
        }
    }
    if (!nearest.Any) return;
    ContactWithThickLine(world, ball, nearest.Point, surface.HalfThickness, surface.Material);
}

// The lower-numbered balls above `after` through the ball grid.
void GridBallPairs(World& world, int number, ContactIndex& index, int after) {
    Ball& ball = world.Balls[number];
    const double radius = ball.Radius;
    const double move = 0.5 * std::fabs(radius);
    std::vector<int>& candidates = index.Scratch;
    Vec2 gathered = ball.Position;
    BallCandidates(index, number, gathered, radius, move, after, candidates);
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const int j = candidates[c];
        const Vec2 before = world.Balls[j].Position;
        if (!PlainlyApart(ball, world.Balls[j])) ContactWithBall(world, number, j);
        const Vec2 after = world.Balls[j].Position;
        if (after.X != before.X || after.Y != before.Y) MoveBallInGrid(world, index, j, before);
        const Vec2 shift = ball.Position - gathered;
        if (!(std::fabs(shift.X) <= move && std::fabs(shift.Y) <= move)) {
            if (!std::isfinite(ball.Position.X) || !std::isfinite(ball.Position.Y)) {
                for (int k = j + 1; k < number; ++k) ContactWithBall(world, number, k);
                break;
            }
            gathered = ball.Position;
            BallCandidates(index, number, gathered, radius, move, j, candidates);
            c = static_cast<std::size_t>(-1);
        }
    }
}

// The lower-numbered balls through the neighbour lists and the escaped
// balls; a ball that has escaped its skin itself, or escapes it now, meets
// every lower ball instead.
void ListedBallPairs(World& world, int number, ContactIndex& index) {
    Ball& ball = world.Balls[number];
    int after = 0;
    if (!index.IsEscaped[static_cast<std::size_t>(number)]) {
        const int* listed = index.Neighbours.data() + index.NeighbourBegin[static_cast<std::size_t>(number)];
        const int* listedEnd = index.Neighbours.data() + index.NeighbourBegin[static_cast<std::size_t>(number) + 1];
        const auto escapedEnd = std::lower_bound(index.Escaped.begin(), index.Escaped.end(), number);
        // The candidates are fixed before the first contact: a ball that
        // escapes meanwhile joins the escaped list but not this walk.
        const int* walk = listed;
        const int* walkEnd = listedEnd;
        if (escapedEnd != index.Escaped.begin()) {
            std::vector<int>& candidates = index.Scratch;
            candidates.clear();
            std::set_union(listed, listedEnd, index.Escaped.begin(), escapedEnd, std::back_inserter(candidates));
            walk = candidates.data();
            walkEnd = walk + candidates.size();
        }
        for (; walk != walkEnd; ++walk) {
            const int j = *walk;
            const Vec2 before = world.Balls[j].Position;
            if (!PlainlyApart(ball, world.Balls[j])) ContactWithBall(world, number, j);
            const Vec2 moved = world.Balls[j].Position;
            if ((moved.X != before.X || moved.Y != before.Y) && !WithinSkin(index, j, moved)) MarkEscaped(index, j);
            if (!WithinSkin(index, number, ball.Position)) {
                MarkEscaped(index, number);
                after = j;
                break;
            }
        }
        if (!index.IsEscaped[static_cast<std::size_t>(number)]) return;
    }
    for (int j = after + 1; j < number; ++j) {
        if (PlainlyApart(ball, world.Balls[j])) continue;
        const Vec2 before = world.Balls[j].Position;
        ContactWithBall(world, number, j);
        const Vec2 moved = world.Balls[j].Position;
        if ((moved.X != before.X || moved.Y != before.Y) && !WithinSkin(index, j, moved)) MarkEscaped(index, j);
    }
}

// The contact of ball `number` with entry `entry`, when its box is near.
void FixedEntryContact(World& world, int number, const ContactIndex& index, const FixedEntry& entry) {
    const Ball& ball = world.Balls[number];
    if (!NearBox(entry.Box, ball.Position, ball.Radius)) return;
    switch (entry.Order) {
        case OrderLaval: ContactWithLaval(world, number, entry.Number); break;
        case OrderHand: ContactWithHand(world, number, entry.Number); break;
        case OrderWall: ContactWithWall(world, number, entry.Number); break;
        case OrderPlane: ContactWithPlane(world, number, entry.Number); break;
        case OrderSurface:
            ContactWithSurfaceChunks(world, number, world.Surfaces[entry.Number],
                                     index.Chunks.data() + entry.FirstChunk, entry.ChunkCount);
            break;
        case OrderSurface2: ContactWithSurface2(world, number, entry.Number); break;
    }
}

// Fixed obstacles, kind by kind, each in increasing number.
void IndexedFixedContacts(World& world, int number, ContactIndex& index) {
    if (index.FixedColumns * index.FixedRows <= 1 && index.GlobalEntries.size() == index.Entries.size()) {
        // Without a grid every entry is global, in increasing order: the
        // candidates are all entries wherever the ball goes.
        for (const FixedEntry& entry : index.Entries) FixedEntryContact(world, number, index, entry);
        return;
    }
    Ball& ball = world.Balls[number];
    const double radius = ball.Radius;
    const double move = 0.5 * std::fabs(radius);
    std::vector<int>& candidates = index.Scratch;
    Vec2 gathered = ball.Position;
    FixedCandidates(index, gathered, radius, move, -1, candidates);
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const int k = candidates[c];
        FixedEntryContact(world, number, index, index.Entries[k]);
        const Vec2 shift = ball.Position - gathered;
        if (!(std::fabs(shift.X) <= move && std::fabs(shift.Y) <= move)) {
            gathered = ball.Position;
            if (std::isfinite(gathered.X) && std::isfinite(gathered.Y)) {
                FixedCandidates(index, gathered, radius, move, k, candidates);
            } else {
                // No cell holds a centre that is not finite: take every entry.
                candidates.clear();
                for (int e = k + 1; e < static_cast<int>(index.Entries.size()); ++e) candidates.push_back(e);
            }
            c = static_cast<std::size_t>(-1);
        }
    }
}

}  // namespace

void BallContacts(World& world, int number, double) {
    ContactIndex& index = PrepareContactIndex(world, number);
    const Ball& ball = world.Balls[number];
    const bool finite = std::isfinite(ball.Position.X) && std::isfinite(ball.Position.Y) &&
                        std::isfinite(ball.Radius);
    if (!finite) {
        if (index.ListsActive) DropNeighbourLists(world, index, number);
        PlainContacts(world, number);
    } else {
        if (index.ListsActive) ListedBallPairs(world, number, index);
        else GridBallPairs(world, number, index, 0);
        IndexedFixedContacts(world, number, index);
        // The obstacles may have pushed the ball beyond its skin; the balls
        // after it must then find it among the escaped ones.
        if (index.ListsActive && !WithinSkin(index, number, ball.Position)) MarkEscaped(index, number);
    }
    if (!index.ListsActive) {
        InsertBall(world, index, number);
        index.LastNumber = number;
    }
    index.LastVisited = number;
}

}  // namespace velo
