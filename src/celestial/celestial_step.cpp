#include "celestial/celestial_step.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "celestial/bodies.h"
#include "celestial/celestial_pairs.h"

namespace velo {
namespace {

constexpr std::int64_t StepCounterModulus = 2000000000;

double Length(const Vec3& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

HBody& BodyOfLane(World& world, const BodyLanes& lanes, int lane) {
    return world.HBodies[static_cast<std::size_t>(lanes.Number[static_cast<std::size_t>(lane)])];
}

// Lane of the first body, in increasing number, faster than one per cent of
// the speed of light; Count when none is.
int FirstTooFast(World& world, const BodyLanes& lanes) {
    const double speedLimit = world.Celestial.LightSpeed / 100;
    for (int k = 0; k < lanes.Count; ++k)
        if (Length(BodyOfLane(world, lanes, k).Velocity) > speedLimit) return k;
    return lanes.Count;
}

// Selects both bodies of every pair in contact whose lower body is between
// the lanes `first` and `last`.
void SelectContacts(World& world, const BodyLanes& lanes, int first, int last) {
    for (int k = first; k <= last && k < lanes.Count; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        for (int l = k + 1; l < lanes.Count; ++l) {
            const auto ll = static_cast<std::size_t>(l);
            const double dx = lanes.X[ll] - lanes.X[kk];
            const double dy = lanes.Y[ll] - lanes.Y[kk];
            const double dz = lanes.Z[ll] - lanes.Z[kk];
            if (lanes.Radius[ll] + lanes.Radius[kk] > std::sqrt(dx * dx + dy * dy + dz * dz)) {
                BodyOfLane(world, lanes, k).Selected = true;
                BodyOfLane(world, lanes, l).Selected = true;
            }
        }
    }
}

// The contact and speed test, from the pair pass. The test goes through the
// bodies in increasing number, each against all others and then for its
// speed; when it stops at the first body too fast it has met exactly the
// pairs whose lower body is not above that one, and selected those in
// contact. Returns false (after telling the user) when the run cannot go on.
bool PassesContactAndSpeedTests(World& world, const BodyLanes& lanes, int firstContact, Messenger& messenger) {
    const int tooFast = FirstTooFast(world, lanes);
    SelectContacts(world, lanes, firstContact, tooFast);
    if (tooFast < lanes.Count) {
        BodyOfLane(world, lanes, tooFast).Selected = true;
        messenger.Show(MessageIcon::Error, CelestialSpeedMessage(lanes.Number[static_cast<std::size_t>(tooFast)]));
        return false;
    }
    if (firstContact < lanes.Count) {
        messenger.Show(MessageIcon::Error, CelestialCollisionMessage);
        return false;
    }
    return true;
}

// Every acceleration was summed before any body moves, so the order of the
// bodies does not matter.
void Kick(World& world, const BodyLanes& lanes, double dt) {
    const double g = world.Celestial.GravitationalConstant;
    for (int k = 0; k < lanes.Count; ++k) {
        HBody& body = BodyOfLane(world, lanes, k);
        if (!body.Movable) continue;
        const auto kk = static_cast<std::size_t>(k);
        const Vec3 a{lanes.SumX[kk] * g, lanes.SumY[kk] * g, lanes.SumZ[kk] * g};
        body.Acceleration = a;
        body.Force = {a.X * body.Mass, a.Y * body.Mass, a.Z * body.Mass};
        Vec3& v = body.Velocity;
        v = {v.X + a.X * dt, v.Y + a.Y * dt, v.Z + a.Z * dt};
        body.Momentum = {v.X * body.Mass, v.Y * body.Mass, v.Z * body.Mass};
    }
}

void Drift(World& world, const BodyLanes& lanes, double dt) {
    for (int k = 0; k < lanes.Count; ++k) {
        HBody& body = BodyOfLane(world, lanes, k);
        if (!body.Movable) continue;
        Vec3& p = body.Position;
        p = {p.X + body.Velocity.X * dt, p.Y + body.Velocity.Y * dt, p.Z + body.Velocity.Z * dt};
        UpdateBodyMass(body);
    }
}

}  // namespace

std::string CelestialSpeedMessage(int number) {
    return "Скорость небесного тела №" + std::to_string(number) +
           " превышает 1% скорости света. Дальнейшая имитация невозможна.";
}

Vec3 GravityField(const World& world, const Vec3& point) {
    const int last = std::clamp(world.HBodyCount, 0, HBodyCapacity);
    Vec3 sum;
    for (int j = 1; j <= last; ++j) {
        const HBody& body = world.HBodies[static_cast<std::size_t>(j)];
        if (!body.Exists) continue;
        const Vec3 d{body.Position.X - point.X, body.Position.Y - point.Y, body.Position.Z - point.Z};
        const double r = Length(d);
        // r > 0 as well: a body of zero (or negative) radius at the point
        // itself would otherwise add 0 * infinity and turn its own motion
        // into NaN.
        if (r >= body.Radius && r > 0) {
            const double w = body.Mass / (r * r * r);
            sum.X += d.X * w;
            sum.Y += d.Y * w;
            sum.Z += d.Z * w;
        }
    }
    const double g = world.Celestial.GravitationalConstant;
    return {sum.X * g, sum.Y * g, sum.Z * g};
}

bool CelestialStep(World& world, double dt, Messenger& messenger) {
    std::int32_t& counter = world.Params.StepCounter;
    counter = static_cast<std::int32_t>((static_cast<std::int64_t>(counter) + 1) % StepCounterModulus);

    // One pass over the pairs finds the contacts and sums the field at the
    // positions of the start of the step; the sums are simply dropped when
    // the step is refused.
    BodyLanes lanes;
    GatherBodies(world, lanes);
    const int firstContact = PairSums(lanes, FastestPairKernel());
    if (!PassesContactAndSpeedTests(world, lanes, firstContact, messenger)) return false;
    Kick(world, lanes, dt);
    Drift(world, lanes, dt);
    world.T += dt;
    return true;
}

}  // namespace velo
