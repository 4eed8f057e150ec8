#include "engine/ball_forces.h"

namespace velo {

void ApplyFieldAndAirForces(World&, int, double) {}

void RecomputeBall(World&, int) {}

}  // namespace velo
