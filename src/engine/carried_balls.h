// Balls fastened to the ends of a rod move as parts of one rigid body, the
// linked body of the rod and its balls. A contact of such a ball strikes the
// whole body: the impulse is sized with the body's effective mass at the
// contact point and changes the motion of the rod and of every ball on it.
#pragma once

#include "engine/step_context.h"
#include "model/materials.h"
#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// The rod that carries ball `number` (fastened at one of its ends, the rod
// live and movable), or 0 for a ball that moves on its own.
int CarryingRod(const World& world, int number);

// The reciprocal of the effective mass of the linked body of `rod` at
// `point` along the unit vector `direction`: 1/M + (r × d)² / I for a free
// rod, (r × d)² / I for a hanging one that can only turn, with r from the
// centre of rotation to the point, M the mass of the rod with its balls and
// I their moment of inertia about that centre. A free ball's counterpart
// along its normal is 1/m.
double InverseMassAlong(const World& world, const Peg& rod, Vec2 point, Vec2 direction);

// The linked body of rod `number` takes `impulse` at `point`. The balls the
// rod carries take their share at once, so that the contacts met later in
// the same ball phase see the motion that the strike left.
void StrikeLinkedBody(World& world, int number, Vec2 point, Vec2 impulse);

// The strikes of the fixed obstacles that the balls of rod `number` met in
// this step's ball phase (`carried`: its own notes, by end and order), all together, so that a body
// coming down on two balls at once leaves as a textbook says whatever the
// order of its balls. Each contact point that approaches its obstacle
// leaves it at e times the normal speed it came with, as far as the other
// contacts let it: the normal impulses are gathered over a few sweeps, and
// a gathered impulse may shrink again but never pull. Friction then acts at
// each point by Routh's or the lambda hypothesis, sized with the body's
// effective mass along the tangent and limited by Coulomb's rule.
// With an observer, each ball's strike is told to it (the lasting holds
// after it are not: they only cancel what the field added in the step).
void StrikeCarriedBallContacts(World& world, int number, CarriedBallSpan carried,
                               ImpulseObserver* observer = nullptr);

// Moves a free rod `number` with its balls out of the obstacles its balls
// reached into in this step's ball phase (noted in `carried`): along the
// contact normals, by the least shift that clears every depth beyond a
// tenth of a millimetre (a resting body is not lifted off). A hanging
// rod stays where its point holds it. Velocities are not touched.
void PushOutCarriedBalls(World& world, int number, CarriedBallSpan carried);

// A contact of a ball of rod `number` that lasts: if the linked body's
// `point` moves into the obstacle (against `normal`, the unit normal from the
// obstacle towards the ball), the obstacle strikes it with no restitution,
// sized with the body's effective mass there, so that the approach stops;
// friction of the ball's material pair `pair` then acts as in a strike,
// never more than Coulomb's limit of that normal impulse.
void HoldCarriedBallContact(World& world, int number, Vec2 point, Vec2 normal, const PairCoefficients& pair);

}  // namespace velo
