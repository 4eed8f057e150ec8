// Scene builders for the tests of the celestial integrator.
#pragma once

#include <memory>

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

}  // namespace velo::testing
