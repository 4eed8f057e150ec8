// Rod phase of the mechanical step and rod recomputation.
#pragma once

#include "model/world.h"

namespace velo {

// Motion of every movable rod, the balls it carries and its contacts with
// suspension points, supports, walls, inclined planes and polyline surfaces.
void RodPhase(World& world, double dt);

// Rebuilds every derived field of rod `number` from the stored ones, places
// the fastened balls at its ends and recomputes them.
void RecomputeRod(World& world, int number);

}  // namespace velo
