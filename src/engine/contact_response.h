// Response of a ball to a contact: the impulse against a fixed obstacle
// with Newton's restitution, friction by Routh's or by the lambda hypothesis
// and rolling resistance, and the push-out that removes the penetration.
#pragma once

#include <cmath>
#include <vector>

#include "engine/geometry.h"
#include "engine/impulse_events.h"
#include "engine/step_context.h"
#include "model/materials.h"
#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// A material index that can address the pair tables: anything above 100
// counts as the ideal material 0.
inline int GuardedMaterial(int material) {
    return material >= 0 && material <= MaxMaterialIndex ? material : 0;
}

// Coefficients of the ordered pair (moving, other), both indices guarded.
inline PairCoefficients ContactPair(const World& world, int movingMaterial, int otherMaterial) {
    const int k = PairIndex(GuardedMaterial(movingMaterial), GuardedMaterial(otherMaterial));
    const MaterialTable& t = world.Materials;
    return PairCoefficients{t.Restitution[k], t.FrictionRouth[k], t.FrictionLambda[k], t.RollingFriction[k]};
}

// Routh's hypothesis holds from RouthMinSpeed up, the lambda hypothesis
// below it; the speed is the moving body's own normal speed.
inline bool UsesRouth(double normalSpeed, double routhMinSpeed) {
    return std::fabs(normalSpeed) >= routhMinSpeed;
}

// Moves the ball so that its contact arm (centre to contact point) gets the
// length Radius + extra. A zero arm leaves the ball where it is. Velocities
// are not touched.
inline void PushOut(Ball& ball, Vec2 arm, double extra) {
    const Vec2 n = UnitVector(arm);
    ball.Position += arm - n * (ball.Radius + extra);
}

// Impulse of a fixed obstacle of material `obstacleMaterial` on ball
// `number` at the end of `arm`: changes Velocity and Omega, and adds the
// rolling resistance to Torque. A zero arm is taken with the frame of polar
// angle pi/2, so nothing becomes NaN.
//
// The contact of a ball that a rod carries is only noted in `carried`: the
// rod phase strikes the linked body of the rod and its balls at all such
// contacts together, holds them as points of the rod and moves the rod out
// of the obstacles by the depth the arm falls short of the radius
// (engine/carried_balls.h), which tells the observer of those strikes.
//
// With an observer in `tap`, every impulse given is told to it.
void RespondToFixedObstacle(World& world, int number, Vec2 arm, int obstacleMaterial,
                            std::vector<CarriedBallContact>& carried, ObstacleTap tap = {});

// The event of impulse `impulse` on ball `number`: its parts along `normal`
// (a unit vector towards the ball) and across it, the ball's velocity
// before it (`before`) and now, and the step and time of the World. The
// caller names the second object and stamps the observer's StepEndTime.
ImpulseEvent ImpulseOnBall(const World& world, int number, Vec2 impulse, Vec2 normal, Vec2 before);

// R^2 / J and x / J for a ball, with a ball of no moment of inertia taken as
// not turning (its angular velocity never changes by an impulse).
inline double ArmOverInertia(double radius, double inertia) {
    return inertia > 0 ? radius * radius / inertia : 0;
}
inline double OverInertia(double x, double inertia) { return inertia > 0 ? x / inertia : 0; }

}  // namespace velo
