// Derived fields of balls and rods: everything a record holds that follows
// from its stored fields (volume, mass, inertia, energies, momentum, the
// ends of a rod and the places of the balls it carries). Every change of a
// stored field is followed by these, so a record never holds stale values.
#pragma once

#include "model/world.h"

namespace velo {

// Rebuilds volume, mass, inertia, energies and momentum of ball `number`
// from its stored fields, and places a ball hung on a suspension point.
void RecomputeBall(World& world, int number);

// No ball is larger than the whole 10000-point field: 10000 / FieldScale.
inline double LargestBallRadius(const World& world) { return 10000 / world.Params.FieldScale; }
// The same with that bound worked out once for a whole loop of balls.
void RecomputeBall(World& world, int number, double largestRadius);

// Rebuilds every derived field of rod `number` from the stored ones, places
// the fastened balls at its ends and recomputes them.
void RecomputeRod(World& world, int number);

// The same two for records held outside the World, as the file writer
// normalises copies of single records: a ball with the suspension points it
// may hang on; a rod's own fields with the balls fastened at its ends (null
// when an end is free) as they are, which are not moved.
void RecomputeBallRecord(Ball& ball, const Parameters& params, const std::array<Laval, LavalCapacity + 1>& lavals);
void RecomputeBallRecord(Ball& ball, const Parameters& params, const std::array<Laval, LavalCapacity + 1>& lavals,
                         double largestRadius);
void RecomputeRodRecord(Peg& rod, const Ball* end1, const Ball* end2, const Parameters& params);

// The file does not keep a rod's section shape. A rod whose stored
// SectionArea equals Width * Depth has a rectangular section (1), any other
// an elliptic one (0). The file reader calls this before RecomputeRod; the
// section window sets SectionShape itself and must not call it.
void RestoreSectionShape(Peg& rod);

// Number of the ball fastened at end 1 or 2 of the rod (End kind 5 or 10,
// a live ball of the table), 0 when that end is free.
int FastenedBall(const World& world, const Peg& rod, int end);

// Mass of the rod together with the balls fastened at its ends: the linked
// body that moves as one.
double RodSystemMass(const World& world, const Peg& rod);

// Velocity of a point that moves with the rod (the centre of a ball it
// carries, its middle): the rotation about the rod's centre, plus the
// centre's velocity for a free rod (a hanging rod's centre is at rest).
Vec2 RodPointVelocity(const Peg& rod, Vec2 point);

// Velocity of the centre of ball `number`, however it moves: a free ball's
// Velocity; a hung ball's perp(centre - point) × Omega, the pendulum's (with
// what its Velocity gathered in a step folded in, as the placement does); a
// carried ball's that of its rod's point. `ball` is the record as it is
// read, the table's own or a property window's copy of it.
Vec2 BallCentreVelocity(const World& world, const Ball& ball, int number);

// The moment of inertia of a hung ball about its suspension point, J + m r².
inline double HungBallInertia(const Ball& ball) {
    return ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius;
}

// The middle of a rod's own body (its centre of mass without the balls).
inline Vec2 RodMiddle(const Peg& rod) { return (rod.End1 + rod.End2) / 2; }

// Signed position of the centre of a ball fastened at `end` along the rod,
// measured from the rod's centre of rotation towards End2.
double CarriedBallOffset(const Peg& rod, const Ball& ball, int end);

// Length and inclination of an inclined plane from its ends: the distance
// from P1 to P2, and |atan((Y2 - Y1) / (X2 - X1))|, pi/2 for a vertical one.
void RecomputePlane(Plane& plane);

// Rebuilds every live ball, then every live rod: what a change of a value
// they all depend on (the zero level) needs.
void RecomputeBodies(World& world);

}  // namespace velo
