// The celestial step in its plainly written order: every ordered pair in
// the contact test, and for each moving body the field summed over the
// bodies in increasing number. The integrator groups its sums differently
// for speed; the equivalence tests hold it to this one.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "celestial/bodies.h"
#include "celestial/celestial_step.h"
#include "model/world.h"

namespace velo::testing {

inline Vec3 WrittenGravityField(const World& world, const Vec3& p) {
    Vec3 a;
    for (int j = 1; j <= world.HBodyCount; ++j) {
        const HBody& body = world.HBodies[static_cast<std::size_t>(j)];
        if (!body.Exists) continue;
        const Vec3 d{body.Position.X - p.X, body.Position.Y - p.Y, body.Position.Z - p.Z};
        const double r = std::sqrt(d.X * d.X + d.Y * d.Y + d.Z * d.Z);
        if (r >= body.Radius && r > 0) {
            const double w = body.Mass / (r * r * r);
            a.X += d.X * w;
            a.Y += d.Y * w;
            a.Z += d.Z * w;
        }
    }
    const double g = world.Celestial.GravitationalConstant;
    return {a.X * g, a.Y * g, a.Z * g};
}

inline bool WrittenCelestialStep(World& world, double dt, Messenger& messenger) {
    std::int32_t& counter = world.Params.StepCounter;
    counter = static_cast<std::int32_t>((static_cast<std::int64_t>(counter) + 1) % 2000000000);
    const int last = world.HBodyCount;
    bool collision = false;
    for (int i = 1; i <= last; ++i) {
        HBody& bi = world.HBodies[static_cast<std::size_t>(i)];
        if (!bi.Exists) continue;
        for (int j = 1; j <= last; ++j) {
            HBody& bj = world.HBodies[static_cast<std::size_t>(j)];
            if (j == i || !bj.Exists) continue;
            const Vec3 d{bj.Position.X - bi.Position.X, bj.Position.Y - bi.Position.Y,
                         bj.Position.Z - bi.Position.Z};
            if (bj.Radius + bi.Radius > std::sqrt(d.X * d.X + d.Y * d.Y + d.Z * d.Z)) {
                collision = true;
                bi.Selected = bj.Selected = true;
            }
        }
        const Vec3 v = bi.Velocity;
        if (std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z) > world.Celestial.LightSpeed / 100) {
            bi.Selected = true;
            messenger.Show(MessageIcon::Error, CelestialSpeedMessage(i));
            return false;
        }
    }
    if (collision) {
        messenger.Show(MessageIcon::Error, CelestialCollisionMessage);
        return false;
    }
    for (int i = 1; i <= last; ++i) {
        HBody& b = world.HBodies[static_cast<std::size_t>(i)];
        if (!b.Exists || !b.Movable) continue;
        const Vec3 a = WrittenGravityField(world, b.Position);
        b.Acceleration = a;
        b.Force = {a.X * b.Mass, a.Y * b.Mass, a.Z * b.Mass};
        b.Velocity = {b.Velocity.X + a.X * dt, b.Velocity.Y + a.Y * dt, b.Velocity.Z + a.Z * dt};
        b.Momentum = {b.Velocity.X * b.Mass, b.Velocity.Y * b.Mass, b.Velocity.Z * b.Mass};
    }
    for (int i = 1; i <= last; ++i) {
        HBody& b = world.HBodies[static_cast<std::size_t>(i)];
        if (!b.Exists || !b.Movable) continue;
        b.Position = {b.Position.X + b.Velocity.X * dt, b.Position.Y + b.Velocity.Y * dt,
                      b.Position.Z + b.Velocity.Z * dt};
        UpdateBodyMass(b);
    }
    world.T += dt;
    return true;
}

}  // namespace velo::testing
