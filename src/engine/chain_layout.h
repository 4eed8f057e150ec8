// The hanging-chain layout of a new thread and the creation of a complete
// thread record, for the editor and the example generator.
#pragma once

#include "model/world.h"
#include "model/world_ops.h"

namespace velo {

// Segments of a new thread: one per 100 field points of its length, at
// least 10, and never more than a thread record holds (512).
int ThreadSegmentCountFor(double length, double fieldScale);

// Lays out points[0..segmentCount] of a chain of the given length hanging
// between `first` (points[0]) and `second` (points[segmentCount]) in the
// field of `gravity`: a catenary whose joints lie equal arc lengths apart,
// marched from the second end towards the first. A negative gravity hangs
// the chain upwards. The ends are kept exactly. A chain no longer than the
// straight distance, or with both ends at the same X, is laid out straight.
void LayOutHangingChain(Vec2 first, Vec2 second, double length, int segmentCount,
                        double gravity, Vec2* points);

// Rebuilds the segment state of a thread from its points: each segment's
// length and direction angle, angular velocity and acceleration 0, the
// forces cleared, and Length the sum of the segment lengths.
void SetThreadSegments(Thread& thread);

// Cross-section area that gives a new thread its linear density: a thin
// round thread of this diameter (in length units).
inline constexpr double ThreadDiameter = 0.001;

// Creates a complete thread hanging from suspension point `laval` (the one
// nearest to `freeEnd` when `laval` is not a live point) with its free end at
// `freeEnd`. `length` 0 takes the straight distance (as the editor draws a
// thread); a longer length makes the chain sag. When both ends have the same
// X the free end moves right by a tenth of a screen pixel so that the curve
// stays defined. The thread gets the default material and a linear density
// from its density and ThreadDiameter. Refusals of the table (full, or no
// suspension point at all) come back with their message.
NewObjectResult CreateThread(World& world, int laval, Vec2 freeEnd, double length = 0);

// The existing suspension point nearest to `point`; 0 when there is none.
int NearestLaval(const World& world, Vec2 point);

}  // namespace velo
