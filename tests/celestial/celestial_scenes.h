// Scene builders for the tests of the celestial integrator.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

#include "celestial/bodies.h"
#include "model/world.h"
#include "model/world_ops.h"

namespace velo::testing {

inline std::unique_ptr<World> CelestialScene() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectCelestial;
    return world;
}

// A movable body of the given mass (the density is chosen for it); returns
// its number.
inline int PlaceBody(World& world, Vec3 position, Vec3 velocity = {}, double radius = 1,
                     double mass = 1e3) {
    const int n = ++world.HBodyCount;
    HBody& b = world.HBodies[static_cast<std::size_t>(n)];
    b = HBody{};
    b.Exists = true;
    b.Movable = true;
    b.Radius = radius;
    b.Position = position;
    b.Velocity = velocity;
    UpdateBodyMass(b);
    b.Density = mass / b.Volume;
    UpdateBodyMass(b);
    return n;
}

// A uniform number in [0, 1) from the top 53 bits: the same on every
// standard library, unlike the distributions.
inline double Uniform(std::mt19937_64& random) { return static_cast<double>(random() >> 11) * 0x1.0p-53; }

// `count` bodies scattered through a ball of radius `size` about
// (0, 0, -3 size), with masses up to `maxMass`, radii of at most 1e-3 size
// and velocity components of at most `speed`.
inline std::unique_ptr<World> RandomCluster(int count, std::uint64_t seed, double size = 1e11,
                                            double maxMass = 1e29, double speed = 1e4) {
    auto world = CelestialScene();
    std::mt19937_64 random(seed);
    for (int n = 0; n < count; ++n) {
        Vec3 p;
        do {
            p = {2 * Uniform(random) - 1, 2 * Uniform(random) - 1, 2 * Uniform(random) - 1};
        } while (p.X * p.X + p.Y * p.Y + p.Z * p.Z > 1);
        const Vec3 v{speed * (2 * Uniform(random) - 1), speed * (2 * Uniform(random) - 1),
                     speed * (2 * Uniform(random) - 1)};
        PlaceBody(*world, {size * p.X, size * p.Y, size * (p.Z - 3)}, v, size * 1e-3 * (0.1 + Uniform(random)),
                  maxMass * (0.01 + Uniform(random)));
    }
    return world;
}

}  // namespace velo::testing
