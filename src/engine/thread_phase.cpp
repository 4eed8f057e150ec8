#include "engine/thread_phase.h"

#include <algorithm>

#include "engine/geometry.h"

namespace velo {
namespace {

// Walks the thread from its free end up. Each segment turns about its upper
// joint as a uniform bar under its own weight and the pull of the part
// below, and passes on to the joint above the part of that load which runs
// along it.
void ThreadStep(World& world, Thread& thread) {
    const int n = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    const double rho = thread.LinearDensity;
    const Vec2 gravity{0, -world.Params.Gravity};
    thread.SegmentForce[n] = {0, 0};
    for (int k = n; k >= 1; --k) {
        const Vec2 d = thread.Points[k] - thread.Points[k - 1];
        const double length = Magnitude(d);
        thread.SegmentLength[k] = length;
        if (length == 0) {
            thread.SegmentForce[k - 1] = thread.SegmentForce[k];
            continue;
        }
        // The unit direction and normal of the segment (the same numbers as
        // UnitVector and Perpendicular(d) / length give: a quotient only
        // changes sign with its dividend).
        const Vec2 along = d / length;
        const Vec2 q = Perpendicular(along);
        const Vec2 force = thread.SegmentForce[k];
        // A thread of no mass has no pull along it either; its force term is
        // 0 rather than 0/0.
        const Vec2 pull = rho > 0 ? force * 3 / (rho * length * length) : Vec2{};
        // The field term of gravity * 3 / (2 length): its x is 0 * 3 / (2
        // length), that is +0, for every length that reaches here.
        const Vec2 field{0.0, gravity.Y * 3 / (2 * length)};
        thread.SegmentEpsilon[k] = Dot(q, pull + field);
        const Vec2 load = force + gravity * (rho * length);
        thread.SegmentForce[k - 1] = along * Dot(load, along);
    }
}

}  // namespace

void ThreadPhase(World& world, double) {
    for (int n = 1; n <= world.ThreadCount; ++n) {
        Thread& thread = world.Threads[n];
        if (thread.Exists) ThreadStep(world, thread);
    }
}

}  // namespace velo
