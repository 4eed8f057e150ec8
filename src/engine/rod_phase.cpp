#include "engine/rod_phase.h"

namespace velo {

void RodPhase(World&, double) {}

void RecomputeRod(World&, int) {}

}  // namespace velo
