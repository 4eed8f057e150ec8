// Contacts of one moving ball with lower-numbered balls and with the fixed
// obstacles, in the visiting order of the ball phase.
#pragma once

#include "model/world.h"

namespace velo {

// Resolves the contacts of ball `number` for this step: impulses change
// velocities and angular velocities directly; push-out moves the ball out of
// the obstacle. Touching a frozen ball freezes this one (Movable cleared).
// Visits balls 1..number-1, then suspension points, supports (from 0),
// walls, inclined planes, polyline surfaces and second-order surfaces, each
// in increasing number; a spatial index skips the pairs that cannot touch
// without changing any result.
void BallContacts(World& world, int number, double dt);

// The single-pair rules, for ball `number` against object `other`. Each
// checks the other object's Exists itself.
void ContactWithBall(World& world, int number, int other);
void ContactWithLaval(World& world, int number, int other);
void ContactWithHand(World& world, int number, int other);
void ContactWithWall(World& world, int number, int other);
void ContactWithPlane(World& world, int number, int other);
void ContactWithSurface(World& world, int number, int other);
void ContactWithSurface2(World& world, int number, int other);

}  // namespace velo
