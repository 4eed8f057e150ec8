// Forces of the field and the air on a ball, and the recomputation of a
// ball's derived quantities.
#pragma once

#include "model/world.h"

namespace velo {

// Gravity with buoyancy, air resistance with wind, torque reset (ball phase).
void ApplyFieldAndAirForces(World& world, int number, double dt);

// Rebuilds volume, mass, inertia, energies and momentum of ball `number`
// from its stored fields, and places a ball hung on a suspension point.
void RecomputeBall(World& world, int number);

}  // namespace velo
