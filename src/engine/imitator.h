// The mechanical step: one integration step of every ball, rod and thread.
#pragma once

#include "engine/step_context.h"
#include "model/messages.h"
#include "model/world.h"

namespace velo {

// Messages of an object that the step has to freeze.
inline constexpr const char* TooFastRotationMessage =
    "Слишком быстрое вращение объекта. Объект будет \"заморожен\"";
inline constexpr const char* TooFastMotionMessage =
    "Слишком большая скорость объекта. Объект будет \"заморожен\"";

// Advances the World by dt (> 0). Returns true when the step completed and
// T advanced by dt; false when an object had to be frozen (the reason was
// shown through `messenger`, the object is left selected and not movable)
// and the run must end; T then keeps its value.
//
// Phases, each visiting objects in increasing number: step counter; the
// step's preparation (contact index, contact memory); ball phase (freeze
// tests, field and air forces, contacts, velocity); rod phase; thread
// phase; positions of balls, rods and threads; T.
//
// `context` carries what the step remembers between steps; use one context
// for one World, run after run.
bool MechanicalStep(World& world, double dt, Messenger& messenger, StepContext& context);

}  // namespace velo
