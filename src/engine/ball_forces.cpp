#include "engine/ball_forces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/portable_math.h"

namespace velo {
namespace {

// Area the air meets: R² for a ball, R·h for a cylinder (and for anything
// that is not a ball).
double DragArea(const Ball& ball) {
    if (ball.Shape == ShapeBall) return ball.Radius * ball.Radius;
    return ball.Radius * ball.Height;
}


}  // namespace

void ApplyFieldAndAirForces(World& world, int number, double dt) {
    Ball& ball = world.Balls[number];
    const Parameters& params = world.Params;
    const double g = params.Gravity;
    const double rho = params.AirDensity;

    // Weight less the buoyancy of the displaced air; rebuilt in every step.
    ball.Force = Vec2{0, -g} * (ball.Density - rho) * ball.Volume;
    if (ball.Mass > 0) {
        ball.GravityAccel = ball.Force / ball.Mass;
    } else {
        // A body of no volume (a cylinder of zero length): the same
        // acceleration as any other body of its density.
        const double buoyancy = ball.Density > 0 ? rho / ball.Density : 0;
        ball.GravityAccel = Vec2{0, -g} * (1 - buoyancy);
    }
    ball.Torque = 0;

    if (rho == 0 || !(ball.Mass > 0)) return;

    // Air resistance over the whole step: the linear part in closed form,
    // the quadratic part implicitly, so that the air alone never reverses
    // the relative velocity whatever the step length.
    const double m = ball.Mass;
    const double area = DragArea(ball);
    const Vec2 u = ball.Velocity - params.Wind;
    const double speed = std::sqrt(u.X * u.X + u.Y * u.Y);
    const double e = math::Exp(-rho * ball.DragLinear * area * dt / m);
    const double q = 1 + rho * ball.DragQuadratic * speed * area * dt / m;
    const Vec2 uAfter = u * e / q;
    ball.Force += (params.Wind + uAfter - ball.Velocity) * m / dt;
}


}  // namespace velo
