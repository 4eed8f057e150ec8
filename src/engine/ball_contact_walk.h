// The walk of the ball phase over the contacts of one moving ball: the
// lower-numbered balls, then the suspension points, supports (from 0),
// walls, inclined planes, polyline surfaces and second-order surfaces, each
// in increasing number. The contact index of the step skips the objects that
// cannot touch the ball without changing the order of the others or any
// result.
#pragma once

#include "engine/step_context.h"
#include "model/world.h"

namespace velo {

// Resolves the contacts of ball `number` in this step. The context must have
// been prepared for the step (PrepareStep), and the balls visited in
// increasing number.
void BallContacts(World& world, int number, double dt, StepContext& context);

// Every contact of ball `number` by the plain loops over every object, in
// the same order: the reference the indexed walk is held to, and the route
// of a ball whose centre or radius is not finite.
// With an observer, every impulse is told to it.
void PlainBallContacts(World& world, int number, CarriedBallContacts& carried, ImpulseObserver* observer = nullptr);

}  // namespace velo
