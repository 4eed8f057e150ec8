#include "engine/rod_impulse.h"

#include <cmath>

#include "engine/contact_response.h"
#include "engine/geometry.h"
#include "engine/rod_phase.h"

namespace velo {

namespace {

void Strike(World& world, int number, Vec2 arm, int obstacleMaterial, double angle, bool restitute) {
    Peg& rod = world.Pegs[number];
    PairCoefficients pair = ContactPair(world, rod.Material, obstacleMaterial);
    if (!restitute) pair.Restitution = 0;
    if (rod.HangLaval > 0) {
        rod.Omega = -pair.Restitution * rod.Omega;
        return;
    }
    const double m = RodSystemMass(world, rod);
    const double inertia = rod.PivotInertia;
    if (!(m > 0) || !(inertia > 0)) return;  // a rod of no mass takes no impulse

    // Into the contact frame and back with one cosine and sine.
    const FrameTurn turn = TurnOf(angle);
    const Vec2 v = ToContactFrame(rod.Velocity, turn);
    const Vec2 r = ToContactFrame(arm, turn);
    const double k11 = r.X * r.X / inertia + 1 / m;
    const double k22 = r.Y * r.Y / inertia + 1 / m;
    const double k12 = r.X * r.Y / inertia;
    const double normalSpeed = v.Y + rod.Omega * r.X;
    const double slidingSpeed = v.X - rod.Omega * r.Y;
    const bool routh = UsesRouth(v.Y, world.Params.RouthMinSpeed);
    const double b1 = -(1 + pair.Restitution) * normalSpeed;
    const double b2 = routh ? slidingSpeed : pair.FrictionLambda * slidingSpeed;

    // -k12 Pt + k11 Pn = b1,  -k22 Pt + k12 Pn = b2
    double determinant = -k12 * k12 + k11 * k22;
    if (determinant == 0) determinant = 1e-80;
    double pt = (b1 * k12 - k11 * b2) / determinant;
    double pn = (-k12 * b2 + k22 * b1) / determinant;
    if (routh && pair.FrictionRouth * std::fabs(pn) < std::fabs(pt)) {
        // Coulomb's limit: the friction acts at its bound, Pt = mu |Pn| in
        // the direction found, and the normal impulse is sized anew so that
        // the first equation (the restitution) still holds with that Pt.
        // Kept at the value solved for the unlimited friction, Pn would give
        // the contact point more normal speed than e allows, and a tilted
        // rod bouncing on a support would gain energy at every strike.
        const double sigma = Sign(pt) * pair.FrictionRouth * Sign(b1);
        const double effective = k11 - k12 * sigma;
        if (effective > 0) {
            pn = b1 / effective;
            pt = sigma * pn;
        } else {
            pn = k11 > 0 ? b1 / k11 : 0;  // a jam: the strike takes no friction
            pt = 0;
        }
    } else if (!routh && pt * slidingSpeed > 0) {
        // On a rod, keeping the share of the sliding speed that the lambda
        // hypothesis asks for can take a tangential impulse along the
        // sliding (even with lambda = 0): friction never drives the sliding,
        // so the contact is then struck along its normal alone.
        pt = 0;
        pn = k11 > 0 ? b1 / k11 : 0;
    }

    const Vec2 p = FromContactFrame(Vec2{pt, pn}, turn);
    rod.Velocity += p / m;
    rod.Omega += Cross(arm, p) / inertia;
}

}  // namespace

void ImpulseOnRod(World& world, int number, Vec2 arm, int obstacleMaterial, double angle) {
    Strike(world, number, arm, obstacleMaterial, angle, true);
}

void HoldRodContact(World& world, int number, Vec2 arm, Vec2 normal, int obstacleMaterial,
                    double angle) {
    const Peg& rod = world.Pegs[number];
    const Vec2 turning = Perpendicular(arm) * rod.Omega;
    const Vec2 pointVelocity = rod.HangLaval > 0 ? turning : rod.Velocity + turning;
    if (Dot(pointVelocity, normal) < 0) Strike(world, number, arm, obstacleMaterial, angle, false);
}

}  // namespace velo
