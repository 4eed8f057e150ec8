// The celestial integrator: one step of every body under the Newtonian
// gravity of all the others, by the semi-implicit (symplectic) Euler rule,
// after a contact test and a speed test that may refuse the step.
#pragma once

#include <string>

#include "model/messages.h"
#include "model/world.h"

namespace velo {

inline constexpr const char* CelestialCollisionMessage =
    "В условиях столкновения объектов дальнейшая имитация невозможна";

// "Скорость небесного тела №<number> превышает 1% скорости света. ..."
std::string CelestialSpeedMessage(int number);

// Gravitational acceleration at `point`: the sum over the existing bodies
// 1..HBodyCount (movable or not; slot 0, the edit copy, never counts) of
// d * (Mass / r^3), d the way from the point to the body and r its length,
// times the gravitational constant. A body whose sphere holds the point
// (r < Radius), in particular a body at the point itself, adds nothing; so
// does a body at exactly the point whatever its radius.
Vec3 GravityField(const World& world, const Vec3& point);

// One step of length dt seconds. In this order:
//  - StepCounter advances (modulo 2000000000), whatever follows;
//  - contact and speed test over the existing bodies in increasing number:
//    two spheres whose radii add up to more than the distance of their
//    centres are in contact (touching spheres are not) and both become
//    Selected; a body faster than LightSpeed / 100 becomes Selected, its
//    message is shown and the step is refused at once; after the loop, any
//    contact shows the collision message once and refuses the step;
//  - kick: every existing movable body takes the field at the positions of
//    the start of the step as its Acceleration, with Force, Velocity and
//    Momentum;
//  - drift: every existing movable body moves by its new Velocity * dt and
//    has its Volume and Mass recomputed;
//  - T advances by dt.
// Returns false when the step was refused; positions, velocities and T are
// then as before. The driver passes a positive dt; no heap memory is taken
// by a step that is not refused.
bool CelestialStep(World& world, double dt, Messenger& messenger);

}  // namespace velo
