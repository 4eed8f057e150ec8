#include "engine/thread_phase.h"

#include <algorithm>
#include <array>

#include "engine/geometry.h"

namespace velo {
namespace {

// Each segment turns about its upper joint as a uniform bar under its own
// weight and the pull of the part below, and passes on to the joint above
// the part of that load which runs along it.
//
// The written walk from the free end up is taken in three passes, so that
// only a short chain of products stays serial:
// - the geometry of every segment (length, reciprocal, direction), which
//   does not depend on the forces;
// - the tension t along the thread: the force at joint k runs along segment
//   k + 1, so the load passed along segment k is
//   t[k-1] = t[k] (along_k . along_k+1) + along_k . (gravity rho length_k);
// - every segment's angular acceleration from its force and the field.
// The written quotients (d / length, force * 3 / (rho length^2), gravity * 3 /
// (2 length)) become products with one reciprocal of the length and factors
// of the thread computed once. The results are the written ones but for
// rounding.
void ThreadStep(World& world, Thread& thread) {
    const int n = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    const double rho = thread.LinearDensity;
    const double gravity = -world.Params.Gravity;
    // A thread of no mass has no pull along it either; its force term is 0
    // rather than 0/0.
    const double pullFactor = rho > 0 ? 3 / rho : 0;
    const double fieldFactor = gravity * 1.5;

    std::array<double, ThreadSegmentCapacity + 1> inverse;
    std::array<Vec2, ThreadSegmentCapacity + 2> along;
    std::array<double, ThreadSegmentCapacity + 1> tension;
    bool pointLike = false;
    for (int k = 1; k <= n; ++k) {
        const Vec2 d = thread.Points[k] - thread.Points[k - 1];
        const double length = Magnitude(d);
        thread.SegmentLength[k] = length;
        pointLike |= length == 0;
        inverse[k] = 1 / length;
        along[k] = d * inverse[k];
    }
    along[n + 1] = {0, 0};
    // A segment of no length passes the force below it on unchanged: it
    // takes the direction of the segment below.
    if (pointLike) {
        for (int k = n; k >= 1; --k)
            if (thread.SegmentLength[k] == 0) along[k] = along[k + 1];
    }

    tension[n] = 0;
    for (int k = n; k >= 1; --k) {
        const double weight = thread.SegmentLength[k] == 0 ? 0 : along[k].Y * (gravity * (rho * thread.SegmentLength[k]));
        tension[k - 1] = tension[k] * Dot(along[k], along[k + 1]) + weight;
    }

    thread.SegmentForce[n] = {0, 0};
    for (int k = 1; k <= n; ++k) {
        thread.SegmentForce[k - 1] = along[k] * tension[k - 1];
        if (thread.SegmentLength[k] == 0) continue;
        const Vec2 q = Perpendicular(along[k]);
        const Vec2 force = along[k + 1] * tension[k];
        const Vec2 pull = force * (pullFactor * inverse[k] * inverse[k]);
        // The field term's x is 0 for every length that reaches here.
        const Vec2 field{0.0, fieldFactor * inverse[k]};
        thread.SegmentEpsilon[k] = Dot(q, pull + field);
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
