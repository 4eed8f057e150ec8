#include "celestial/celestial_step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "celestial/bodies.h"

namespace velo {
namespace {

constexpr std::int64_t StepCounterModulus = 2000000000;

int LastBody(const World& world) { return std::clamp(world.HBodyCount, 0, HBodyCapacity); }

double Length(const Vec3& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

Vec3 Difference(const Vec3& a, const Vec3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }

Vec3 Scaled(const Vec3& v, double factor) { return {v.X * factor, v.Y * factor, v.Z * factor}; }

void AddTo(Vec3& sum, const Vec3& v) {
    sum.X += v.X;
    sum.Y += v.Y;
    sum.Z += v.Z;
}

// The contact and speed test, before anything moves. Returns false (after
// telling the user) when the run cannot go on.
bool PassesContactAndSpeedTests(World& world, Messenger& messenger) {
    const int last = LastBody(world);
    const double speedLimit = world.Celestial.LightSpeed / 100;
    bool collision = false;
    for (int i = 1; i <= last; ++i) {
        HBody& body = world.HBodies[static_cast<std::size_t>(i)];
        if (!body.Exists) continue;
        for (int j = 1; j <= last; ++j) {
            HBody& other = world.HBodies[static_cast<std::size_t>(j)];
            if (j == i || !other.Exists) continue;
            // Touching spheres (sum of radii equal to the distance) are not
            // in contact: the comparison is strict.
            if (other.Radius + body.Radius > Length(Difference(other.Position, body.Position))) {
                collision = true;
                body.Selected = true;
                other.Selected = true;
            }
        }
        if (Length(body.Velocity) > speedLimit) {
            body.Selected = true;
            messenger.Show(MessageIcon::Error, CelestialSpeedMessage(i));
            return false;
        }
    }
    if (collision) {
        messenger.Show(MessageIcon::Error, CelestialCollisionMessage);
        return false;
    }
    return true;
}

// Every acceleration is taken before any body moves, so the order of the
// bodies does not matter.
void Kick(World& world, double dt) {
    const int last = LastBody(world);
    for (int i = 1; i <= last; ++i) {
        HBody& body = world.HBodies[static_cast<std::size_t>(i)];
        if (!body.Exists || !body.Movable) continue;
        const Vec3 a = GravityField(world, body.Position);
        body.Acceleration = a;
        body.Force = Scaled(a, body.Mass);
        AddTo(body.Velocity, Scaled(a, dt));
        body.Momentum = Scaled(body.Velocity, body.Mass);
    }
}

void Drift(World& world, double dt) {
    const int last = LastBody(world);
    for (int i = 1; i <= last; ++i) {
        HBody& body = world.HBodies[static_cast<std::size_t>(i)];
        if (!body.Exists || !body.Movable) continue;
        AddTo(body.Position, Scaled(body.Velocity, dt));
        UpdateBodyMass(body);
    }
}

}  // namespace

std::string CelestialSpeedMessage(int number) {
    return "Скорость небесного тела №" + std::to_string(number) +
           " превышает 1% скорости света. Дальнейшая имитация невозможна.";
}

Vec3 GravityField(const World& world, const Vec3& point) {
    const int last = LastBody(world);
    Vec3 sum;
    for (int j = 1; j <= last; ++j) {
        const HBody& body = world.HBodies[static_cast<std::size_t>(j)];
        if (!body.Exists) continue;
        const Vec3 d = Difference(body.Position, point);
        const double r = Length(d);
        // r > 0 as well: a body of zero (or negative) radius at the point
        // itself would otherwise add 0 * infinity and turn its own motion
        // into NaN.
        if (r >= body.Radius && r > 0) AddTo(sum, Scaled(d, body.Mass / (r * r * r)));
    }
    return Scaled(sum, world.Celestial.GravitationalConstant);
}

bool CelestialStep(World& world, double dt, Messenger& messenger) {
    std::int32_t& counter = world.Params.StepCounter;
    counter = static_cast<std::int32_t>((static_cast<std::int64_t>(counter) + 1) % StepCounterModulus);

    if (!PassesContactAndSpeedTests(world, messenger)) return false;
    Kick(world, dt);
    Drift(world, dt);
    world.T += dt;
    return true;
}

}  // namespace velo
