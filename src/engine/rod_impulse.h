// Impulses on a rod: the strike of a fixed obstacle (restitution and the
// friction hypotheses of the ball contacts) and the hold of a contact that
// lasts. The strikes of the balls a rod carries: engine/carried_balls.h.
#pragma once

#include "model/world.h"

namespace velo {

// Strike of a fixed obstacle of material `obstacleMaterial` at the end of
// `arm` (from the rod's centre of rotation to the contact point); `angle` is
// the contact frame: rotating by -angle brings the contact normal onto y.
// A hanging rod only reverses its angular velocity scaled by the
// restitution; a free rod gets the impulse of the two contact equations
// (Cramer's rule) with the Coulomb limit in Routh's case.
void ImpulseOnRod(World& world, int number, Vec2 arm, int obstacleMaterial, double angle);

// A contact that lasts must not deepen: if the contact point moves into the
// obstacle (against `normal`, the unit normal pointing from the obstacle to
// the rod), the obstacle strikes again with no restitution, so that the
// approaching normal velocity is removed (friction as in a strike).
void HoldRodContact(World& world, int number, Vec2 arm, Vec2 normal, int obstacleMaterial,
                    double angle);

}  // namespace velo
