// The fastening command: a ball is fastened to the nearest rod's second end,
// a rod is hung on the nearest suspension point.
#pragma once

#include "model/world.h"

namespace velo {

// Among the existing rods, from the highest number down, the one whose End2
// is nearest to the ball's centre (however far) gets the ball at its second
// end, and the rod is recomputed (which places the ball Radius beyond the
// end). A ball that the rod held at that end before is let go, and so is
// this ball's previous rod end. Returns the rod's number, 0 when there is
// no rod (nothing changes then).
int FastenBallToNearestRod(World& world, int ball);

// Hangs the rod on the nearest existing suspension point: for each point
// its foot on the rod (when on the rod), then End1, then End2, each taken
// when strictly nearer than the best so far. The rod's centre moves to the
// point and the rod is recomputed. Returns the point's number; 0 when there
// is none (the rod is then free).
int HangRodOnNearestLaval(World& world, int rod);

// "Привязать": acts on the current object. A ball or a cylinder is fastened
// to a rod, a rod is hung; any other kind is left alone. Returns true when
// something was fastened.
bool FastenCurrentObject(World& world);

}  // namespace velo
