#include "engine/ball_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/carried_balls.h"
#include "engine/contact_response.h"
#include "engine/curves.h"
#include "engine/geometry.h"
#include "engine/obstacle_index.h"
#include "model/derived_fields.h"

namespace velo {
namespace {


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

// A ball that a rod carries is not pushed out of an obstacle: it stays
// where its rod holds it (the rod's next placement would undo the push
// anyway), and its strike takes the contact point of the linked body there.
void PushOutFromObstacle(World& world, int number, Vec2 arm, double extra) {
    Ball& ball = world.Balls[number];
    if (ball.BindKind == BindPegEnd && CarryingRod(world, number) != 0) return;
    PushOut(ball, arm, extra);
}

// A support (along = x) or a wall (along = y) in its own axes: `along` runs
// along the bar, `across` across it.
struct BarAxes {
    bool Swapped;
    Vec2 In(Vec2 p) const { return Swapped ? Vec2{p.Y, p.X} : p; }
    Vec2 Out(Vec2 p) const { return Swapped ? Vec2{p.Y, p.X} : p; }
};

void ContactWithBar(World& world, int number, const HandWall& bar, BarAxes axes, bool zeroSupport,
                    CarriedBallContacts& carried, ObstacleTap tap) {
    Ball& ball = world.Balls[number];
    const Vec2 centre = axes.In(ball.Position);
    const double x = centre.X;
    const double y = centre.Y;
    const double r = ball.Radius;
    const double t = bar.HalfThickness;
    const double across = std::fabs(y - bar.Coord);
    if (!(across < 2 * t + r)) return;
    // The bounds come in either order: the wall window lists the top one
    // first, and files keep them as given. The bar spans the range between.
    const double low = std::min(bar.Bound1, bar.Bound2);
    const double high = std::max(bar.Bound1, bar.Bound2);
    const bool alongInside = low <= x && x <= high;
    if (across <= t && alongInside) {
        // The centre lies inside the bar: the bar carries the ball.
        ball.Force = {0, 0};
        return;
    }
    NearestCandidate nearest(centre);
    nearest.Consider({low, bar.Coord + t});
    nearest.Consider({high, bar.Coord + t});
    nearest.Consider({high, bar.Coord - t});
    nearest.Consider({low, bar.Coord - t});
    if (alongInside) nearest.Consider({x, y <= bar.Coord ? bar.Coord - t : bar.Coord + t});
    if (across <= t) nearest.Consider({x >= low ? high : low, y});
    if (!(nearest.DistanceToCentre <= r)) return;
    const Vec2 arm = axes.Out(nearest.Point) - ball.Position;
    // The zero-level support does not push balls of the ideal material out:
    // they rest on it by impulses alone.
    if (!zeroSupport || (bar.Material != 0 && ball.Material != 0)) PushOutFromObstacle(world, number, arm, 0);
    RespondToFixedObstacle(world, number, arm, bar.Material, carried, tap);
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

void ContactWithPlate(World& world, int number, const Plane& plane, double tolerance, CarriedBallContacts& carried,
                      ObstacleTap tap) {
    Ball& ball = world.Balls[number];
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
    PushOutFromObstacle(world, number, arm, 0);
    RespondToFixedObstacle(world, number, arm, plane.Material, carried, tap);
}

void ContactWithTriangle(World& world, int number, const Plane& plane, double tolerance,
                         CarriedBallContacts& carried, ObstacleTap tap) {
    Ball& ball = world.Balls[number];
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
    PushOutFromObstacle(world, number, arm, 0);
    RespondToFixedObstacle(world, number, arm, plane.Material, carried, tap);
}

// The common end of the thickened polyline and curve contacts.
void ContactWithThickLine(World& world, int number, Vec2 nearestPoint, double halfThickness, int material,
                          CarriedBallContacts& carried, ObstacleTap tap) {
    Ball& ball = world.Balls[number];
    const Vec2 arm = nearestPoint - ball.Position;
    const double length = Magnitude(arm);
    if (!(length <= halfThickness + ball.Radius)) return;
    PushOutFromObstacle(world, number, arm, halfThickness);
    // The ball touches the surface of the thickened line, a radius from its
    // centre: there the friction acts, and that arm turns the ball. The arm
    // to the centre line would spin it harder than the friction's own size
    // allows, and a ball rolling down would gain energy.
    // A carried ball's arm reaches the surface of the thickened line, so
    // that the rod phase sees how deep its ball lies (a centre inside the
    // thickened line keeps the direction to the centre line).
    const double reach =
        CarryingRod(world, number) != 0 ? std::max(length - halfThickness, 1e-9 * length) : ball.Radius;
    const Vec2 surfaceArm = halfThickness != 0 && length > 0 ? arm * (reach / length) : arm;
    RespondToFixedObstacle(world, number, surfaceArm, material, carried, tap);
}

// A ball hung on a suspension point or carried by a rod is placed by what
// holds it: a push-out would be undone at the next placement.
bool HeldInPlace(const World& world, int number) {
    const Ball& ball = world.Balls[number];
    if (ball.BindKind == BindLaval) return true;
    if (ball.BindKind != BindPegEnd || ball.BindNumber < 1 || ball.BindNumber > world.PegCount ||
        ball.BindNumber > PegCapacity)
        return false;
    const Peg& rod = world.Pegs[ball.BindNumber];
    return rod.Exists && (FastenedBall(world, rod, 1) == number || FastenedBall(world, rod, 2) == number);
}

// Removes the overlap of the pair along n (from i towards j). Free balls
// give way by their shares of it (the other's share of the mass: mj / (mi +
// mj) for ball i), so the lighter one moves more and the pair's centre of
// mass stays where it was, however the contacts of a pile are ordered. A
// held ball does not move and the other takes the whole overlap; when both
// are held, ball i moves out alone along its arm.
void SeparatePair(World& world, int number, int other, Vec2 n, Vec2 arm, double overlap, bool inside,
                  double freeShareI, double freeShareJ) {
    Ball& bi = world.Balls[number];
    Ball& bj = world.Balls[other];
    const bool heldI = HeldInPlace(world, number);
    const bool heldJ = HeldInPlace(world, other);
    if (heldI && heldJ) {
        if (inside) bi.Position += arm - n * bi.Radius;
        else PushOut(bi, arm, 0);
        return;
    }
    if (!(overlap > 0)) return;
    double shareI = freeShareI;
    double shareJ = freeShareJ;
    if (heldI) {
        shareI = 0;
        shareJ = 1;
    } else if (heldJ) {
        shareI = 1;
        shareJ = 0;
    }
    if (shareI != 0) bi.Position -= n * (overlap * shareI);
    if (shareJ != 0) bj.Position += n * (overlap * shareJ);
}

// A pair in which a rod carries one ball or both, or in which both balls
// hang on suspension points.
struct CarriedPair {
    int RodI;
    int RodJ;
    Vec2 PointI;  // the contact point on ball i's surface
    Vec2 PointJ;  // and on ball j's
    bool HungI = false;  // ball i turns about its suspension point
    bool HungJ = false;
};

// The suspension point ball `number` hangs on (BindKind 1), or null.
const Laval* HangingPoint(const World& world, int number) {
    const Ball& ball = world.Balls[number];
    if (ball.BindKind != BindLaval || ball.BindNumber < 1 || ball.BindNumber > LavalCapacity) return nullptr;
    return &world.Lavals[ball.BindNumber];
}

// A hung ball's moment of inertia about its point: J + m r².
double HungInertia(const Ball& ball) { return ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius; }

// A hung ball is a pendulum: its whole motion is Omega about its point, and
// its Velocity only gathers what this step added (the placement folds it
// into the turning). The fold is done here, the way the placement does it,
// so that a strike sees the pendulum's motion and gives it its impulse.
void FoldHungVelocity(World& world, int number) {
    Ball& ball = world.Balls[number];
    const double inertia = HungInertia(ball);
    if (!(inertia > 0)) return;
    const Vec2 centre = ball.Position - HangingPoint(world, number)->Position;
    ball.Omega += Cross(centre, ball.Velocity * ball.Mass) / inertia;
    ball.Velocity = {0, 0};
}

// The velocity of ball `number`'s surface point `point`: for a carried ball
// that of the linked body's point (the ball's own Velocity gathered this
// step's field, which its rod takes only in the rod phase), for a hung one
// (its gathered velocity folded) that of the pendulum's point, for a free
// ball its centre's velocity and its turning.
Vec2 SurfacePointVelocity(const World& world, int number, int rod, bool hung, Vec2 point) {
    if (rod != 0) return RodPointVelocity(world.Pegs[rod], point);
    const Ball& ball = world.Balls[number];
    if (hung) return Perpendicular(point - HangingPoint(world, number)->Position) * ball.Omega;
    return ball.Velocity + Perpendicular(point - ball.Position) * ball.Omega;
}

// The strike of a pair in which a rod carries a ball: the rules of the pair
// with each carried ball's mass replaced by the effective mass of its
// linked body at its contact point (along the normal for the restitution,
// along the tangent for the friction), and the carried ball's impulse given
// to that body. On a linked body the friction changes the normal speed of
// the contact point too, so the normal impulse is swept again after it:
// the pair leaves at e times the normal speed it came with, and the
// friction stays within Coulomb's limit of the normal impulse (by either
// hypothesis). Only an approaching pair is struck: the push-out cannot
// part balls their rods hold. Two balls of one rod do not strike each
// other: their forces are inside one rigid body.
//
// Returns the impulse ball i took (zero when the pair was not struck).
Vec2 StrikeCarriedPair(World& world, int number, int other, const BallTerms& termsI, const BallTerms& termsJ, Vec2 n,
                       const CarriedPair& pair) {
    if (pair.RodI != 0 && pair.RodI == pair.RodJ) return {};
    Ball& bi = world.Balls[number];
    Ball& bj = world.Balls[other];
    const Vec2 tangent = Perpendicular(n);
    const auto relative = [&] {
        return SurfacePointVelocity(world, number, pair.RodI, pair.HungI, pair.PointI) -
               SurfacePointVelocity(world, other, pair.RodJ, pair.HungJ, pair.PointJ);
    };
    const double closing = Dot(relative(), n);  // > 0 while i approaches j
    if (!(closing > 0)) return {};
    // A hung ball's effective mass at its point along d: I / (r × d)², r
    // from the suspension point.
    const auto hungTerm = [&](int ball, Vec2 point, Vec2 direction) {
        const double lever = Cross(point - HangingPoint(world, ball)->Position, direction);
        const double inertia = HungInertia(world.Balls[ball]);
        return inertia > 0 ? lever * lever / inertia : 0;
    };
    const auto normalTerm = [&](int ball, int rod, bool hung, Vec2 point, const BallTerms& terms) {
        if (hung) return hungTerm(ball, point, n);
        return rod != 0 ? InverseMassAlong(world, world.Pegs[rod], point, n) : terms.InverseMass;
    };
    const auto tangentTerm = [&](int ball, int rod, bool hung, Vec2 point, const BallTerms& terms) {
        if (hung) return hungTerm(ball, point, tangent);
        return rod != 0 ? InverseMassAlong(world, world.Pegs[rod], point, tangent)
                        : terms.InverseMass + terms.ArmOverInertia;
    };
    const double normalSum = normalTerm(number, pair.RodI, pair.HungI, pair.PointI, termsI) +
                             normalTerm(other, pair.RodJ, pair.HungJ, pair.PointJ, termsJ);
    const double tangentSum = tangentTerm(number, pair.RodI, pair.HungI, pair.PointI, termsI) +
                              tangentTerm(other, pair.RodJ, pair.HungJ, pair.PointJ, termsJ);
    if (!(normalSum > 0)) return {};
    const auto strikeHung = [&](int ball, Vec2 point, Vec2 impulse) {
        Ball& b = world.Balls[ball];
        const double inertia = HungInertia(b);
        if (inertia > 0) b.Omega += Cross(point - HangingPoint(world, ball)->Position, impulse) / inertia;
    };
    // Ball i takes `impulse` at its point, ball j the opposite at its own.
    const auto strike = [&](Vec2 impulse) {
        if (pair.HungI) {
            strikeHung(number, pair.PointI, impulse);
        } else if (pair.RodI != 0) {
            StrikeLinkedBody(world, pair.RodI, pair.PointI, impulse);
        } else {
            bi.Velocity += impulse * termsI.InverseMass;
            bi.Omega += Cross(n, impulse) * termsI.RadiusOverInertia;
        }
        if (pair.HungJ) {
            strikeHung(other, pair.PointJ, -impulse);
        } else if (pair.RodJ != 0) {
            StrikeLinkedBody(world, pair.RodJ, pair.PointJ, -impulse);
        } else {
            bj.Velocity -= impulse * termsJ.InverseMass;
            bj.Omega += Cross(n, impulse) * termsJ.RadiusOverInertia;
        }
    };
    const PairCoefficients coefficients = ContactPair(world, bi.Material, bj.Material);
    const double target = -coefficients.Restitution * closing;
    const bool routh = UsesRouth(Dot(SurfacePointVelocity(world, number, pair.RodI, pair.HungI, pair.PointI), n),
                                 world.Params.RouthMinSpeed);
    // The impulses gathered on ball i: along -n (pushing it off j) and
    // along the tangent.
    double normal = 0;
    double friction = 0;
    const auto sweepNormal = [&] {
        const double next = std::max(0.0, normal + (Dot(relative(), n) - target) / normalSum);
        if (next != normal) strike(n * (normal - next));
        normal = next;
    };
    sweepNormal();
    if (!(tangentSum > 0)) return n * -normal;
    const double lambdaFriction = -coefficients.FrictionLambda * Dot(relative(), tangent) / tangentSum;
    for (int sweep = 0; sweep < 4; ++sweep) {
        const double wanted = routh ? friction - Dot(relative(), tangent) / tangentSum : lambdaFriction;
        const double limit = coefficients.FrictionRouth * normal;
        const double next = std::clamp(wanted, -limit, limit);
        if (next != friction) strike(tangent * (next - friction));
        friction = next;
        sweepNormal();
    }
    return n * -normal + tangent * friction;
}

// The velocity of a ball's centre as a contact sees it: a carried ball's
// is that of its rod's point, a hung ball's that of the pendulum (with the
// velocity it gathered in this step folded into the turning).
Vec2 CentreVelocity(const World& world, int number, int rod) {
    const Ball& ball = world.Balls[number];
    if (rod != 0) return RodPointVelocity(world.Pegs[rod], ball.Position);
    if (const Laval* point = HangingPoint(world, number)) {
        const double inertia = HungInertia(ball);
        const Vec2 centre = ball.Position - point->Position;
        const double omega = inertia > 0 ? ball.Omega + Cross(centre, ball.Velocity * ball.Mass) / inertia : 0;
        return Perpendicular(centre) * omega;
    }
    return ball.Velocity;
}

void TellPair(const World& world, int number, int other, Vec2 impulse, Vec2 n, Vec2 beforeI, Vec2 beforeJ,
              Vec2 afterI, Vec2 afterJ, ImpulseObserver& observer) {
    ImpulseEvent event = ImpulseOnBall(world, number, impulse, -n, beforeI);
    event.FirstAfter = afterI;
    event.Time = observer.StepEndTime;
    event.SecondKind = world.Balls[other].Shape == ShapeCylinder ? KindCylinder : KindBall;
    event.SecondNumber = other;
    event.SecondBefore = beforeJ;
    event.SecondAfter = afterJ;
    observer.OnImpulse(event);
}

// The pair contact, in two builds: without an observer exactly the
// contact, with one also the report of its impulse. The step runs the
// first unless a log listens, so the report costs the step nothing.
template <bool Observed>
[[gnu::always_inline]] inline void PairContact(World& world, int number, int other, const BallTerms& termsI,
                                               const BallTerms& termsJ, ImpulseObserver* observer) {
    Ball& bi = world.Balls[number];
    Ball& bj = world.Balls[other];
    const Vec2 d = bj.Position - bi.Position;
    const double reach = bi.Radius + bj.Radius;
    const double distance = Magnitude(d);
    if (!(distance <= reach) || !bj.Exists || bi.Z != bj.Z) return;
    // Freezing spreads through contact.
    const bool movable = bi.Movable && bj.Movable;
    bi.Movable = movable;
    bj.Movable = movable;
    if (!movable) return;
    // Coinciding centres give n = 0 and a zero arm: nothing moves and the
    // frame is that of the zero vector.
    const Vec2 n = distance > 0 ? d * (1 / distance) : Vec2{0, 0};
    const Vec2 arm = d - n * bj.Radius;
    // With the centre of i inside j the arm d - n Rj points away from j; the
    // frame is then that of the line of centres, as for a shallow overlap.
    // Either way the frame turns with the direction n of the line of centres
    // (TurnOfArm of an arm along n).
    const bool inside = distance > 0 && distance <= bj.Radius;
    const FrameTurn turn = TurnOfDirection(distance > 0 ? n : Vec2{0, 1});
    // One reciprocal of the pair's mass serves the shares of the push-out and
    // the reduced mass mi mj / (mi + mj) = 1 / (1/mi + 1/mj) of the normal
    // impulse. A pair without a usable total (no mass, or beyond the range
    // of the numbers) shares the push-out by halves and takes the written
    // quotient.
    const double perTotal = 1 / (bi.Mass + bj.Mass);
    const bool usableTotal = perTotal > 0 && perTotal < std::numeric_limits<double>::infinity();
    const double massShareI = usableTotal ? bj.Mass * perTotal : 0.5;
    const double massShareJ = usableTotal ? bi.Mass * perTotal : 0.5;
    const int rodI = bi.BindKind == BindPegEnd ? CarryingRod(world, number) : 0;
    const int rodJ = bj.BindKind == BindPegEnd ? CarryingRod(world, other) : 0;
    // A hung ball strikes as a pendulum, with its effective mass about its
    // point, the way a rod's ball strikes with its linked body: its Velocity
    // holds only what the step gathered, so the plain rule would miss its
    // swing. Whatever it meets (a free ball, a carried one, another hung
    // one) the pair goes through the linked strike; a free partner's
    // effective mass is its own mass. A hung ball cannot be pushed out (the
    // placement puts it back on its radius): a free partner takes the whole
    // overlap, and the strike parts them.
    const bool hungI = rodI == 0 && HangingPoint(world, number) != nullptr;
    const bool hungJ = rodJ == 0 && HangingPoint(world, other) != nullptr;
    if (rodI != 0 || rodJ != 0 || hungI || hungJ) {
        // The contact points as the rods hold the balls, before the push-out.
        const CarriedPair pair{rodI, rodJ, bi.Position + n * bi.Radius, bj.Position - n * bj.Radius, hungI, hungJ};
        if (hungI) FoldHungVelocity(world, number);
        if (hungJ) FoldHungVelocity(world, other);
        SeparatePair(world, number, other, n, arm, reach - distance, inside, massShareI, massShareJ);
        if constexpr (!Observed) {
            StrikeCarriedPair(world, number, other, termsI, termsJ, n, pair);
            return;
        }
        const Vec2 beforeI = CentreVelocity(world, number, rodI);
        const Vec2 beforeJ = CentreVelocity(world, other, rodJ);
        const Vec2 impulse = StrikeCarriedPair(world, number, other, termsI, termsJ, n, pair);
        if (impulse.X != 0 || impulse.Y != 0) {
            TellPair(world, number, other, impulse, n, beforeI, beforeJ, CentreVelocity(world, number, rodI),
                     CentreVelocity(world, other, rodJ), *observer);
        }
        return;
    }
    SeparatePair(world, number, other, n, arm, reach - distance, inside, massShareI, massShareJ);
    const Vec2 vi = ToContactFrame(bi.Velocity, turn);
    const Vec2 vj = ToContactFrame(bj.Velocity, turn);
    const double slidingI = vi.X + bi.Radius * bi.Omega;
    const double sliding = slidingI - vj.X + bj.Radius * bj.Omega;
    const double m = termsI.InverseMass + termsJ.InverseMass;
    const double k = m + termsI.ArmOverInertia + termsJ.ArmOverInertia;
    // The tangential impulse multiplies by 1/k, taken here while the frame
    // is still being turned, instead of waiting on a quotient at its end.
    const double perK = 1 / k;
    const PairCoefficients pair = ContactPair(world, bi.Material, bj.Material);
    const double reducedMass = usableTotal ? bi.Mass * massShareI : 1 / m;
    const double normal = -(1 + pair.Restitution) * (vi.Y - vj.Y) * reducedMass;
    double tangential;
    if (UsesRouth(vi.Y, world.Params.RouthMinSpeed)) {
        tangential = -sliding * perK;
        // Coulomb limit, opposite to the sliding: the normal impulse of a
        // separating pair is negative, so its magnitude bounds the friction.
        if (pair.FrictionRouth * std::fabs(normal) < std::fabs(tangential)) {
            tangential = pair.FrictionRouth * std::fabs(normal) * Sign(tangential);
        }
    } else {
        tangential = -pair.FrictionLambda * sliding * perK;
    }
    const Vec2 impulse = FromContactFrame({tangential, normal}, turn);
    // (n R) x P / J as (n x P) (R / J): the arms of both balls lie along n.
    const double turning = Cross(n, impulse);
    if constexpr (!Observed) {
        bi.Velocity += impulse * termsI.InverseMass;
        bi.Omega += turning * termsI.RadiusOverInertia;
        bj.Velocity -= impulse * termsJ.InverseMass;
        bj.Omega += turning * termsJ.RadiusOverInertia;
    } else {
        const Vec2 beforeI = CentreVelocity(world, number, 0);
        const Vec2 beforeJ = CentreVelocity(world, other, 0);
        bi.Velocity += impulse * termsI.InverseMass;
        bi.Omega += turning * termsI.RadiusOverInertia;
        bj.Velocity -= impulse * termsJ.InverseMass;
        bj.Omega += turning * termsJ.RadiusOverInertia;
        // A pair that only touches takes no impulse: nothing to tell.
        if (impulse.X != 0 || impulse.Y != 0) {
            TellPair(world, number, other, impulse, n, beforeI, beforeJ, CentreVelocity(world, number, 0),
                     CentreVelocity(world, other, 0), *observer);
        }
    }
}

}  // namespace

void ContactWithBall(World& world, int number, int other, const BallTerms& termsI, const BallTerms& termsJ) {
    PairContact<false>(world, number, other, termsI, termsJ, nullptr);
}

void ContactWithBall(World& world, int number, int other, const BallTerms& termsI, const BallTerms& termsJ,
                     ImpulseObserver& observer) {
    PairContact<true>(world, number, other, termsI, termsJ, &observer);
}

void ContactWithBall(World& world, int number, int other) {
    if (PlainlyApart(world.Balls[number], world.Balls[other])) return;
    ContactWithBall(world, number, other, TermsOf(world.Balls[number]), TermsOf(world.Balls[other]));
}

void ContactWithLaval(World& world, int number, int other, CarriedBallContacts& carried,
                      ImpulseObserver* observer) {
    const Laval& point = world.Lavals[other];
    if (!point.Exists) return;
    Ball& ball = world.Balls[number];
    // A ball on a rod is a part of the rod, and a rod does not meet the
    // point it hangs on: a ball at the end it hangs by holds that point.
    if (ball.BindKind == BindPegEnd) {
        const int rod = CarryingRod(world, number);
        if (rod != 0 && world.Pegs[rod].HangLaval == other) return;
    }
    const Vec2 arm = point.Position - ball.Position;
    if (Magnitude(arm) <= ball.Radius) {
        RespondToFixedObstacle(world, number, arm, 0, carried, {observer, KindLaval, other});
    }
}

void ContactWithHand(World& world, int number, int other, CarriedBallContacts& carried,
                     ImpulseObserver* observer) {
    const HandWall& bar = world.Hands[other];
    if (bar.Exists) {
        ContactWithBar(world, number, bar, BarAxes{false}, other == 0, carried, {observer, KindHand, other});
    }
}

void ContactWithWall(World& world, int number, int other, CarriedBallContacts& carried,
                     ImpulseObserver* observer) {
    const HandWall& bar = world.Walls[other];
    if (bar.Exists) ContactWithBar(world, number, bar, BarAxes{true}, false, carried, {observer, KindWall, other});
}

void ContactWithPlane(World& world, int number, int other, CarriedBallContacts& carried,
                      ImpulseObserver* observer) {
    const Plane& plane = world.Planes[other];
    if (!plane.Exists) return;
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    const ObstacleTap tap{observer, KindPlane, other};
    if (plane.Triangular == 1) ContactWithTriangle(world, number, plane, tolerance, carried, tap);
    else ContactWithPlate(world, number, plane, tolerance, carried, tap);
}

void ContactWithSurface(World& world, int number, int other, CarriedBallContacts& carried,
                        ImpulseObserver* observer) {
    const Surface& surface = world.Surfaces[other];
    const int count = std::min<long long>(surface.PointCount, static_cast<long long>(surface.Points.size()));
    if (!surface.Exists || count < 1) return;
    Ball& ball = world.Balls[number];
    const Vec2 q = NearestPointOfPolyline(surface.Points.data(), count, surface.Closed, ball.Position,
                                          OnSegmentTolerance(world.Params.FieldScale));
    ContactWithThickLine(world, number, q, surface.HalfThickness, surface.Material, carried,
                         {observer, KindSurface, other});
}

void ContactWithSurface2(World& world, int number, int other, CarriedBallContacts& carried,
                         ImpulseObserver* observer) {
    const Surface2& curve = world.Surfaces2[other];
    if (!curve.Exists) return;
    Ball& ball = world.Balls[number];
    const Vec2 q = NearestPointOfCurve(curve, ball.Position);
    ContactWithThickLine(world, number, q, curve.HalfThickness, curve.Material, carried,
                         {observer, KindSurface2, other});
}

void ContactWithSurfaceChunks(World& world, int number, const Surface& surface, const PolylineChunk* chunks,
                              int chunkCount, CarriedBallContacts& carried, ObstacleTap tap) {
    Ball& ball = world.Balls[number];
    const Vec2 p = ball.Position;
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    const Vec2* points = surface.Points.data();
    const int count =
        static_cast<int>(std::min<long long>(surface.PointCount, static_cast<long long>(surface.Points.size())));
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
    ContactWithThickLine(world, number, nearest.Point, surface.HalfThickness, surface.Material, carried, tap);
}

}  // namespace velo
