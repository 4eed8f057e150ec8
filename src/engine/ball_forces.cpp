#include "engine/ball_forces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velo {
namespace {

// Area the air meets: R² for a ball, R·h for a cylinder (and for anything
// that is not a ball).
double DragArea(const Ball& ball) {
    if (ball.Shape == ShapeBall) return ball.Radius * ball.Radius;
    return ball.Radius * ball.Height;
}

// Places a ball hung on suspension point `point` on its rigid radius and
// turns its motion into the turning of that radius.
void PlaceHungBall(Ball& ball, const Laval& point) {
    const Vec2 pivot = point.Position;

    // A hung ball read from a file has no radius yet (the file does not
    // keep it): it hangs at its stored distance from the point. Its stored
    // BindAngle is kept, so Phi + BindAngle still gives the direction from
    // the centre to the point.
    if (ball.BindRadius == 0) {
        const Vec2 toPivot = pivot - ball.Position;
        ball.BindRadius = std::sqrt(toPivot.X * toPivot.X + toPivot.Y * toPivot.Y);
    }

    const double theta = ball.Phi + ball.BindAngle;
    const Vec2 r = Vec2{std::cos(theta), std::sin(theta)} * ball.BindRadius;
    ball.Position = pivot - r;

    // The ball turns rigidly with its radius, so Omega is the angular
    // velocity of the whole pendulum about the point. The velocity gathered
    // since the last placement (gravity, air, impulses) is turned into
    // angular momentum about the point before it is cleared; the arm runs
    // from the point to the centre. The pendulum's moment of inertia about
    // the point is J + m·r².
    const double pivotInertia = ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius;
    const Vec2 arm = -r;
    const Vec2 gathered = ball.Velocity * ball.Mass;
    ball.AngularMomentum = pivotInertia * ball.Omega + Cross(arm, gathered);
    ball.Omega = pivotInertia > 0 ? ball.AngularMomentum / pivotInertia : 0;
    ball.Velocity = {0, 0};
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
    const double e = std::exp(-rho * ball.DragLinear * area * dt / m);
    const double q = 1 + rho * ball.DragQuadratic * speed * area * dt / m;
    const Vec2 uAfter = u * e / q;
    ball.Force += (params.Wind + uAfter - ball.Velocity) * m / dt;
}

void RecomputeBall(World& world, int number) {
    Ball& ball = world.Balls[number];
    const Parameters& params = world.Params;

    ball.Density = std::max(ball.Density, 1e-80);
    ball.Radius = std::max(ball.Radius, 1e-80);
    // No ball is larger than the whole 10000-point field.
    ball.Radius = std::min(ball.Radius, 10000 / params.FieldScale);

    const double r = ball.Radius;
    if (ball.Shape == ShapeBall) {
        ball.Volume = 4.0 / 3.0 * std::numbers::pi * r * r * r;
    } else if (ball.Shape == ShapeCylinder) {
        ball.Volume = std::numbers::pi * r * r * ball.Height;
    } else {
        ball.Volume = 1.0;
    }
    ball.Mass = ball.Density * ball.Volume;
    ball.Inertia = ball.InertiaFactor * ball.Mass * r * r;

    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity) {
        PlaceHungBall(ball, world.Lavals[ball.BindNumber]);
    }

    ball.PotentialEnergy = (ball.Position.Y - params.ZeroLevel) * params.Gravity * ball.Mass;
    const Vec2 v = ball.Velocity;
    ball.KineticEnergy = (ball.Mass * (v.X * v.X + v.Y * v.Y) + ball.Inertia * ball.Omega * ball.Omega) / 2;
    ball.Momentum = ball.Velocity * ball.Mass;
}

}  // namespace velo
