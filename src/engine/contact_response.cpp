#include "engine/contact_response.h"

#include <algorithm>
#include <cmath>

#include "engine/carried_balls.h"
#include "engine/geometry.h"
#include "model/derived_fields.h"

namespace velo {
namespace {

// The contacts of the balls a rod carries are the rod phase's: it strikes
// the linked body at all of them together, and holds them as points of the
// rod so that the body does not sink into what its balls rest on.
void NoteCarriedContact(const World& world, int number, int rod, Vec2 arm, int obstacleMaterial,
                        std::vector<CarriedBallContact>& carried, ObstacleTap tap) {
    const Vec2 towards = UnitVector(arm);
    if (towards.X == 0 && towards.Y == 0) return;
    const double depth = std::max(0.0, world.Balls[number].Radius - Magnitude(arm));
    const int end = FastenedBall(world, world.Pegs[rod], 1) == number ? 1 : 2;
    carried.push_back({number, towards, obstacleMaterial, depth, rod, end, static_cast<int>(carried.size()), tap.Kind,
                       tap.Number});
}

// A ball hung on a suspension point turns rigidly with its radius about the
// point: its whole motion is Omega there (its Velocity only gathers what
// this step added, which the placement folds into the turning). It meets an
// obstacle as that pendulum, with the moment of inertia J + m r² about the
// point, so its contact point comes off at e times its approach speed.
//
// Returns the impulse given at the contact point (zero when none).
Vec2 StrikeHungBall(Ball& ball, Vec2 pivot, Vec2 arm, const PairCoefficients& pair, double routhMinSpeed) {
    const double pivotInertia = ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius;
    if (!(pivotInertia > 0)) return {};
    const Vec2 centre = ball.Position - pivot;
    ball.Omega += Cross(centre, ball.Velocity * ball.Mass) / pivotInertia;
    ball.Velocity = {0, 0};
    const Vec2 normal = -UnitVector(arm);  // from the obstacle towards the ball
    const Vec2 lever = centre + arm;       // from the point to the contact point
    const double normalTerm = Cross(lever, normal) * Cross(lever, normal) / pivotInertia;
    const Vec2 velocity = Perpendicular(lever) * ball.Omega;
    const double approach = Dot(velocity, normal);
    if (!(approach < 0) || !(normalTerm > 0)) return {};
    const double normalImpulse = -(1 + pair.Restitution) * approach / normalTerm;
    const Vec2 tangent = Perpendicular(normal);
    const double tangentTerm = Cross(lever, tangent) * Cross(lever, tangent) / pivotInertia;
    double tangential = 0;
    if (tangentTerm > 0) {
        const double stopping = -Dot(velocity, tangent) / tangentTerm;
        const double limit = pair.FrictionRouth * normalImpulse;
        tangential = std::clamp(UsesRouth(approach, routhMinSpeed) ? stopping : pair.FrictionLambda * stopping,
                                -limit, limit);
    }
    const Vec2 impulse = normal * normalImpulse + tangent * tangential;
    ball.Omega += Cross(lever, impulse) / pivotInertia;
    return impulse;
}

void Tell(const World& world, int number, Vec2 impulse, Vec2 arm, Vec2 before, Vec2 after, ObstacleTap tap) {
    ImpulseEvent event = ImpulseOnBall(world, number, impulse, -UnitVector(arm), before);
    event.FirstAfter = after;
    event.Time = tap.Observer->StepEndTime;
    event.SecondKind = tap.Kind;
    event.SecondNumber = tap.Number;
    tap.Observer->OnImpulse(event);
}

}  // namespace

ImpulseEvent ImpulseOnBall(const World& world, int number, Vec2 impulse, Vec2 normal, Vec2 before) {
    const Ball& ball = world.Balls[number];
    ImpulseEvent event;
    event.Step = world.Params.StepCounter;
    event.Time = world.T;
    event.FirstKind = ball.Shape == ShapeCylinder ? KindCylinder : KindBall;
    event.FirstNumber = number;
    event.NormalImpulse = Dot(impulse, normal);
    event.TangentialImpulse = Dot(impulse, Perpendicular(normal));
    event.FirstBefore = before;
    event.FirstAfter = ball.Velocity;
    return event;
}

void RespondToFixedObstacle(World& world, int number, Vec2 arm, int obstacleMaterial,
                            std::vector<CarriedBallContact>& carried, ObstacleTap tap) {
    Ball& ball = world.Balls[number];
    if (ball.BindKind == BindPegEnd) {
        const int rod = CarryingRod(world, number);
        if (rod != 0) {
            NoteCarriedContact(world, number, rod, arm, obstacleMaterial, carried, tap);
            return;
        }
    }
    const PairCoefficients pair = ContactPair(world, ball.Material, obstacleMaterial);
    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity) {
        // The hung ball's motion is its turning: its centre's velocity
        // before and after is that of the pendulum.
        const Vec2 pivot = world.Lavals[ball.BindNumber].Position;
        const Vec2 centre = ball.Position - pivot;
        const double pivotInertia = ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius;
        const Vec2 before = tap.Observer && pivotInertia > 0
                                ? Perpendicular(centre) * (ball.Omega + Cross(centre, ball.Velocity * ball.Mass) /
                                                                            pivotInertia)
                                : Vec2{};
        const Vec2 impulse = StrikeHungBall(ball, pivot, arm, pair, world.Params.RouthMinSpeed);
        if (tap.Observer && (impulse.X != 0 || impulse.Y != 0)) {
            Tell(world, number, impulse, arm, before, Perpendicular(centre) * ball.Omega, tap);
        }
        return;
    }
    const double m = ball.Mass;
    const double r = ball.Radius;
    // Supports and walls give arms along the axes, whose turns are known to
    // the last bit. Other arms take their polar angle as written.
    const FrameTurn frame = arm.X == 0 || arm.Y == 0 ? TurnOfArm(arm) : TurnOf(ContactFrameAngle(arm));
    const Vec2 v = ToContactFrame(ball.Velocity, frame);
    const Vec2 force = ToContactFrame(ball.Force, frame);
    const double sliding = v.X + r * ball.Omega;
    // No test of the sign of the normal speed: a free ball in contact always
    // gets this impulse.
    const double normal = -(1 + pair.Restitution) * m * v.Y;
    const double k = 1 / m + ArmOverInertia(r, ball.Inertia);
    double tangential;
    if (UsesRouth(v.Y, world.Params.RouthMinSpeed)) {
        tangential = -sliding / k;
        // Coulomb limit, opposite to the sliding.
        if (pair.FrictionRouth * std::fabs(normal) < std::fabs(tangential)) {
            tangential = pair.FrictionRouth * normal * Sign(v.Y * sliding);
        }
    } else {
        tangential = -pair.FrictionLambda * sliding / k;
    }
    const Vec2 impulse = FromContactFrame({tangential, normal}, frame);
    const Vec2 before = ball.Velocity;
    ball.Velocity += impulse / m;
    ball.Omega += OverInertia(Cross(arm, impulse), ball.Inertia);
    // force.Y < 0 while the ball presses on the obstacle: the torque opposes
    // the rotation.
    ball.Torque += pair.RollingFriction * force.Y * Sign(ball.Omega);
    if (tap.Observer && (impulse.X != 0 || impulse.Y != 0)) {
        Tell(world, number, impulse, arm, before, ball.Velocity, tap);
    }
}

}  // namespace velo
