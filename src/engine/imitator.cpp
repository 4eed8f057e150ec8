#include "engine/imitator.h"

namespace velo {

bool MechanicalStep(World& world, double dt, Messenger&) {
    world.T += dt;
    return true;
}

}  // namespace velo
