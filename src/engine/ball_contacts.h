// Contacts of one moving ball with lower-numbered balls and with the fixed
// obstacles, in the visiting order of the ball phase.
#pragma once

#include "model/world.h"

namespace velo {

// Resolves the contacts of ball `number` for this step: impulses change
// velocities and angular velocities directly; push-out moves the ball out of
// the obstacle. Touching a frozen ball freezes this one (Movable cleared).
void BallContacts(World& world, int number, double dt);

}  // namespace velo
