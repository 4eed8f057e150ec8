// The mechanical step: one integration step of every ball, rod and thread.
#pragma once

#include "model/messages.h"
#include "model/world.h"

namespace velo {

// Advances the World by dt (> 0). Returns true when the step completed and
// T advanced by dt; false when an object had to be frozen (the reason was
// shown through `messenger`) and the run must end.
bool MechanicalStep(World& world, double dt, Messenger& messenger);

}  // namespace velo
