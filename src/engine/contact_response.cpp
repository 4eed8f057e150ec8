#include "engine/contact_response.h"

#include <cmath>

#include "engine/carried_balls.h"
#include "engine/geometry.h"

namespace velo {
namespace {

// The contacts of the balls a rod carries are the rod phase's: it strikes
// the linked body at all of them together, and holds them as points of the
// rod so that the body does not sink into what its balls rest on.
void NoteCarriedContact(int number, Vec2 arm, int obstacleMaterial, std::vector<CarriedBallContact>& carried) {
    const Vec2 towards = UnitVector(arm);
    if (towards.X != 0 || towards.Y != 0) carried.push_back({number, towards, obstacleMaterial});
}

}  // namespace

void RespondToFixedObstacle(World& world, int number, Vec2 arm, int obstacleMaterial,
                            std::vector<CarriedBallContact>& carried) {
    Ball& ball = world.Balls[number];
    if (ball.BindKind == BindPegEnd && CarryingRod(world, number) != 0) {
        NoteCarriedContact(number, arm, obstacleMaterial, carried);
        return;
    }
    const PairCoefficients pair = ContactPair(world, ball.Material, obstacleMaterial);
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
    ball.Velocity += impulse / m;
    ball.Omega += OverInertia(Cross(arm, impulse), ball.Inertia);
    // force.Y < 0 while the ball presses on the obstacle: the torque opposes
    // the rotation.
    ball.Torque += pair.RollingFriction * force.Y * Sign(ball.Omega);
}

}  // namespace velo
