// Thread phase of the mechanical step.
#pragma once

#include "model/world.h"

namespace velo {

// Forces along each thread and the angular accelerations of its segments.
void ThreadPhase(World& world, double dt);

}  // namespace velo
