#include "engine/thread_phase.h"

#include <algorithm>

#include "engine/geometry.h"

namespace velo {
namespace {

// Walks the thread from its free end up. Each segment turns about its upper
// joint as a uniform bar under its own weight and the pull of the part
// below, and passes on to the joint above the part of that load which runs
// along it.
//
// The written quotients (d / length, force * 3 / (rho * length^2), gravity *
// 3 / (2 length)) are taken as products with one reciprocal of the length
// and factors of the thread computed once: the same values but for
// rounding, and one division a segment instead of five.
void ThreadStep(World& world, Thread& thread) {
    const int n = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    const double rho = thread.LinearDensity;
    const Vec2 gravity{0, -world.Params.Gravity};
    // A thread of no mass has no pull along it either; its force term is 0
    // rather than 0/0.
    const double pullFactor = rho > 0 ? 3 / rho : 0;
    const double fieldFactor = gravity.Y * 1.5;
    thread.SegmentForce[n] = {0, 0};
    for (int k = n; k >= 1; --k) {
        const Vec2 d = thread.Points[k] - thread.Points[k - 1];
        const double length = Magnitude(d);
        thread.SegmentLength[k] = length;
        if (length == 0) {
            thread.SegmentForce[k - 1] = thread.SegmentForce[k];
            continue;
        }
        const double inverse = 1 / length;
        const Vec2 along = d * inverse;
        const Vec2 q = Perpendicular(along);
        const Vec2 force = thread.SegmentForce[k];
        const Vec2 pull = force * (pullFactor * inverse * inverse);
        // The field term's x is 0 for every length that reaches here.
        const Vec2 field{0.0, fieldFactor * inverse};
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
