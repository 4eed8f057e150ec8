// Spatial index of the ball contacts: a grid of the balls rebuilt in every
// step and updated as each ball finishes its contacts, and a static grid of
// the fixed obstacles rebuilt whenever the fixed scene changes. It only
// skips pairs that certainly cannot touch; the visiting order stays that of
// the plain loops.
#pragma once

#include "model/world.h"

namespace velo {

struct ContactIndex {};

}  // namespace velo
