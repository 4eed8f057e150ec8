// Forces of the field and the air on a ball.
#pragma once

#include "model/derived_fields.h"
#include "model/world.h"

namespace velo {

// Gravity with buoyancy, air resistance with wind, torque reset (ball phase).
void ApplyFieldAndAirForces(World& world, int number, double dt);

}  // namespace velo
