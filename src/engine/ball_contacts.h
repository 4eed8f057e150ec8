// The contact rules of one moving ball with one other object: a
// lower-numbered ball, or a fixed obstacle. The order in which the ball
// meets them is the business of the walk (engine/ball_contact_walk.h).
#pragma once

#include "engine/step_context.h"
#include "model/world.h"

namespace velo {

struct PolylineChunk;

// Most pairs are plainly apart; the square root decides only the close ones.
// The margin keeps rounding from ever rejecting a touching pair. The walks
// take this test before the call, so that the many pairs it rejects cost no
// call.
inline bool PlainlyApart(const Ball& bi, const Ball& bj) {
    const Vec2 d = bj.Position - bi.Position;
    const double reach = bi.Radius + bj.Radius;
    return reach > 1e-100 && d.X * d.X + d.Y * d.Y > reach * reach * (1 + 1e-9);
}

// Ball `number` against ball `other`: impulses change velocities and
// angular velocities directly; the push-out moves both balls apart by their
// shares of the mass. A ball that a rod carries strikes with the effective
// mass of its linked body, which takes the impulse (engine/carried_balls.h).
// Touching a frozen ball freezes this one (Movable cleared). The terms of the two balls are those of the step context
// (PrepareStep); the short form works them out on the spot, to the same
// bits, and takes the plainly-apart test first, which the walks take
// before they call the long form.
// With an observer, each impulse of the pair is told to it.
void ContactWithBall(World& world, int number, int other, const BallTerms& termsI, const BallTerms& termsJ,
                     ImpulseObserver* observer = nullptr);
void ContactWithBall(World& world, int number, int other);

// Ball `number` against a fixed obstacle. Each checks the obstacle's Exists
// itself. A contact of a ball that a rod carries is noted in `carried`.
// With an observer, each impulse is told to it.
void ContactWithLaval(World& world, int number, int other, CarriedBallContacts& carried,
                      ImpulseObserver* observer = nullptr);
void ContactWithHand(World& world, int number, int other, CarriedBallContacts& carried,
                     ImpulseObserver* observer = nullptr);
void ContactWithWall(World& world, int number, int other, CarriedBallContacts& carried,
                     ImpulseObserver* observer = nullptr);
void ContactWithPlane(World& world, int number, int other, CarriedBallContacts& carried,
                      ImpulseObserver* observer = nullptr);
void ContactWithSurface(World& world, int number, int other, CarriedBallContacts& carried,
                        ImpulseObserver* observer = nullptr);
void ContactWithSurface2(World& world, int number, int other, CarriedBallContacts& carried,
                         ImpulseObserver* observer = nullptr);

// The polyline contact over the given chunks of the contact index only.
// Every candidate that could bring the ball into contact lies in a chunk
// near the ball, and the chunks keep the walk's order, so the nearest point
// found is that of the whole walk whenever it is near enough to touch.
void ContactWithSurfaceChunks(World& world, int number, const Surface& surface, const PolylineChunk* chunks,
                              int chunkCount, CarriedBallContacts& carried, ObstacleTap tap = {});

}  // namespace velo
