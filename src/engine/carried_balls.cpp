#include "engine/carried_balls.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/contact_response.h"
#include "engine/geometry.h"
#include "model/derived_fields.h"

namespace velo {
namespace {

// One contact point of a linked body and what its strike needs.
struct CarriedStrike {
    Vec2 Point;
    Vec2 Normal;  // from the obstacle towards the ball
    double NormalTerm;
    double TangentTerm;
    double Target;    // the normal speed to leave with
    double Gathered;  // the normal impulse given so far
    double Friction;  // and the tangential one
    double LambdaFriction;  // what the lambda hypothesis asks for
    PairCoefficients Pair;
    bool Routh;
    const CarriedBallContact* Contact;  // the ball and obstacle, for the log
    Vec2 Before;                        // the ball centre's velocity before
};

// Tells the observer of the strikes just solved: the impulses each ball
// took at its point and its centre's velocity before and after them.
void TellStrikes(const World& world, int number, const CarriedStrike* strikes, int count,
                 ImpulseObserver& observer) {
    const Peg& rod = world.Pegs[number];
    for (int k = 0; k < count; ++k) {
        const CarriedStrike& s = strikes[k];
        if (s.Gathered == 0 && s.Friction == 0) continue;
        const int ball = s.Contact->Ball;
        const Vec2 impulse = s.Normal * s.Gathered + Perpendicular(s.Normal) * s.Friction;
        ImpulseEvent event = ImpulseOnBall(world, ball, impulse, s.Normal, s.Before);
        event.Time = observer.StepEndTime;
        event.FirstAfter = RodPointVelocity(rod, world.Balls[ball].Position);
        event.SecondKind = s.Contact->ObstacleKind;
        event.SecondNumber = s.Contact->ObstacleNumber;
        observer.OnImpulse(event);
    }
}

// Gathers the normal impulses: each point towards its target speed, a
// gathered impulse may shrink again but never pull.
void SweepNormals(World& world, int number, CarriedStrike* strikes, int count, int sweeps) {
    const Peg& rod = world.Pegs[number];
    for (int sweep = 0; sweep < sweeps; ++sweep) {
        for (int k = 0; k < count; ++k) {
            CarriedStrike& s = strikes[k];
            const double speed = Dot(RodPointVelocity(rod, s.Point), s.Normal);
            const double gathered = std::max(0.0, s.Gathered + (s.Target - speed) / s.NormalTerm);
            const double push = gathered - s.Gathered;
            s.Gathered = gathered;
            if (push != 0) StrikeLinkedBody(world, number, s.Point, s.Normal * push);
        }
    }
}

void SolveStrikes(World& world, int number, CarriedStrike* strikes, int count) {
    const Peg& rod = world.Pegs[number];
    // One point needs one strike; several share the body and settle each
    // other within a few sweeps.
    const int sweeps = count > 1 ? 8 : 1;
    SweepNormals(world, number, strikes, count, sweeps);
    bool anyFriction = false;
    for (int k = 0; k < count; ++k) {
        CarriedStrike& s = strikes[k];
        if (!(s.TangentTerm > 0)) continue;
        const double sliding = Dot(RodPointVelocity(rod, s.Point), Perpendicular(s.Normal));
        s.LambdaFriction = -s.Pair.FrictionLambda * sliding / s.TangentTerm;
        anyFriction = anyFriction || s.Pair.FrictionRouth > 0;
    }
    if (!anyFriction) return;
    // On a linked body the friction at a point changes the normal speeds
    // too: friction and normal impulses are swept in turn, so that every
    // point still leaves at e times its approach and the friction stays
    // within Coulomb's limit of its normal impulse (by either hypothesis).
    for (int round = 0; round < 4; ++round) {
        for (int k = 0; k < count; ++k) {
            CarriedStrike& s = strikes[k];
            if (!(s.TangentTerm > 0)) continue;
            const Vec2 tangent = Perpendicular(s.Normal);
            const double wanted = s.Routh ? s.Friction - Dot(RodPointVelocity(rod, s.Point), tangent) / s.TangentTerm
                                          : s.LambdaFriction;
            const double limit = s.Pair.FrictionRouth * s.Gathered;
            const double friction = std::clamp(wanted, -limit, limit);
            if (friction != s.Friction) StrikeLinkedBody(world, number, s.Point, tangent * (friction - s.Friction));
            s.Friction = friction;
        }
        SweepNormals(world, number, strikes, count, sweeps);
    }
}

}  // namespace

int CarryingRod(const World& world, int number) {
    const Ball& ball = world.Balls[number];
    const int rod = ball.BindNumber;
    if (number < 1 || ball.BindKind != BindPegEnd || rod < 1 || rod > world.PegCount || rod > PegCapacity) return 0;
    const Peg& peg = world.Pegs[rod];
    if (!peg.Exists || !peg.Movable) return 0;
    return FastenedBall(world, peg, 1) == number || FastenedBall(world, peg, 2) == number ? rod : 0;
}

double InverseMassAlong(const World& world, const Peg& rod, Vec2 point, Vec2 direction) {
    const double lever = Cross(point - rod.Position, direction);
    const double turning = rod.PivotInertia > 0 ? lever * lever / rod.PivotInertia : 0;
    if (rod.HangLaval > 0) return turning;
    const double mass = RodSystemMass(world, rod);
    return mass > 0 ? 1 / mass + turning : turning;
}

void StrikeLinkedBody(World& world, int number, Vec2 point, Vec2 impulse) {
    Peg& rod = world.Pegs[number];
    const double turning = rod.PivotInertia > 0 ? Cross(point - rod.Position, impulse) / rod.PivotInertia : 0;
    Vec2 moving{0, 0};
    if (rod.HangLaval <= 0) {
        const double mass = RodSystemMass(world, rod);
        if (mass > 0) moving = impulse / mass;
    }
    rod.Velocity += moving;
    rod.Omega += turning;
    for (int end = 1; end <= 2; ++end) {
        const int b = FastenedBall(world, rod, end);
        if (b == 0) continue;
        Ball& ball = world.Balls[b];
        ball.Velocity += moving + Perpendicular(ball.Position - rod.Position) * turning;
        ball.Omega += turning;
    }
}

void StrikeCarriedBallContacts(World& world, int number, CarriedBallSpan carried, ImpulseObserver* observer) {
    if (carried.empty()) return;
    // A handful of points at most in any real scene, kept off the heap; more
    // are struck in groups.
    std::array<CarriedStrike, 16> strikes;
    int count = 0;
    for (const CarriedBallContact& contact : carried) {
        const Peg& rod = world.Pegs[number];
        const Ball& ball = world.Balls[contact.Ball];
        const Vec2 point = ball.Position + contact.Towards * ball.Radius;
        const Vec2 normal = -contact.Towards;
        const double approach = Dot(RodPointVelocity(rod, point), normal);
        if (!(approach < 0)) continue;
        const double normalTerm = InverseMassAlong(world, rod, point, normal);
        // A body that cannot move along the normal there does not approach.
        if (!(normalTerm > 0)) continue;
        const PairCoefficients pair = ContactPair(world, ball.Material, contact.Material);
        strikes[static_cast<std::size_t>(count++)] = {point,
                                                      normal,
                                                      normalTerm,
                                                      InverseMassAlong(world, rod, point, Perpendicular(normal)),
                                                      -pair.Restitution * approach,
                                                      0,
                                                      0,
                                                      0,
                                                      pair,
                                                      UsesRouth(approach, world.Params.RouthMinSpeed),
                                                      &contact,
                                                      RodPointVelocity(rod, ball.Position)};
        if (count == static_cast<int>(strikes.size())) {
            SolveStrikes(world, number, strikes.data(), count);
            if (observer != nullptr) TellStrikes(world, number, strikes.data(), count, *observer);
            count = 0;
        }
    }
    if (count > 0) {
        SolveStrikes(world, number, strikes.data(), count);
        if (observer != nullptr) TellStrikes(world, number, strikes.data(), count, *observer);
    }
}

void HoldCarriedBallContact(World& world, int number, Vec2 point, Vec2 normal, const PairCoefficients& pair) {
    const double approach = Dot(RodPointVelocity(world.Pegs[number], point), normal);
    if (!(approach < 0)) return;
    const double normalTerm = InverseMassAlong(world, world.Pegs[number], point, normal);
    if (!(normalTerm > 0)) return;
    double held = -approach / normalTerm;
    StrikeLinkedBody(world, number, point, normal * held);
    const Vec2 tangent = Perpendicular(normal);
    const double tangentTerm = InverseMassAlong(world, world.Pegs[number], point, tangent);
    if (!(tangentTerm > 0)) return;
    const double sliding = Dot(RodPointVelocity(world.Pegs[number], point), tangent);
    const double limit = pair.FrictionRouth * held;
    const double stopping = -sliding / tangentTerm;
    const double tangential = UsesRouth(approach, world.Params.RouthMinSpeed)
                                  ? std::clamp(stopping, -limit, limit)
                                  : std::clamp(pair.FrictionLambda * stopping, -limit, limit);
    if (tangential == 0) return;
    StrikeLinkedBody(world, number, point, tangent * tangential);
    // The friction moves the point along the normal too; the hold gives
    // back what would now lift the body off (it never pulls).
    const double lifting = Dot(RodPointVelocity(world.Pegs[number], point), normal);
    if (lifting > 0) StrikeLinkedBody(world, number, point, normal * -std::min(held, lifting / normalTerm));
}

// A body resting on its balls sinks by the field's g dt² in every step and
// is held there; pushing that out would lift the rod's own resting points
// off their obstacles and set the body rocking. Only what lies deeper than
// this is pushed out.
constexpr double CarriedPushOutSlop = 1e-4;

void PushOutCarriedBalls(World& world, int number, CarriedBallSpan carried) {
    Peg& rod = world.Pegs[number];
    if (carried.empty() || rod.HangLaval > 0) return;
    Vec2 shift{0, 0};
    // Two sweeps settle contacts whose normals differ (a corner).
    for (int sweep = 0; sweep < 2; ++sweep) {
        for (const CarriedBallContact& contact : carried) {
            if (!(contact.Depth > 0)) continue;
            const double shortOf = contact.Depth - CarriedPushOutSlop - Dot(shift, -contact.Towards);
            if (shortOf > 0) shift += contact.Towards * -shortOf;
        }
    }
    if (shift.X == 0 && shift.Y == 0) return;
    rod.Position += shift;
    for (int end = 1; end <= 2; ++end) {
        const int b = FastenedBall(world, rod, end);
        if (b != 0) world.Balls[b].Position += shift;
    }
}

}  // namespace velo
