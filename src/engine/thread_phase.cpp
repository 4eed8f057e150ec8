#include "engine/thread_phase.h"

#include <algorithm>
#include <array>

#include "engine/geometry.h"
#include "engine/wide_loops.h"

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
VELO_WIDE_LOOPS void ThreadStep(World& world, Thread& thread) {
    const int n = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    const double rho = thread.LinearDensity;
    const double gravity = -world.Params.Gravity;
    // A thread of no mass has no pull along it either; its force term is 0
    // rather than 0/0.
    const double pullFactor = rho > 0 ? 3 / rho : 0;
    const double fieldFactor = gravity * 1.5;

    std::array<double, ThreadSegmentCapacity + 1> inverse;
    std::array<double, ThreadSegmentCapacity + 2> alongX;
    std::array<double, ThreadSegmentCapacity + 2> alongY;
    std::array<double, ThreadSegmentCapacity + 1> tension;
    const double* joints = &thread.Points[0].X;
    double* lengths = thread.SegmentLength.data();
    for (int k = 1; k <= n; ++k) {
        const double dx = joints[2 * k] - joints[2 * k - 2];
        const double dy = joints[2 * k + 1] - joints[2 * k - 1];
        const double length = std::sqrt(dx * dx + dy * dy);
        lengths[k] = length;
        inverse[k] = 1 / length;
        alongX[k] = dx * inverse[k];
        alongY[k] = dy * inverse[k];
    }
    alongX[n + 1] = 0;
    alongY[n + 1] = 0;
    // A segment of no length passes the force below it on unchanged: it
    // takes the direction of the segment below.
    const bool pointLike = std::find(lengths + 1, lengths + n + 1, 0.0) != lengths + n + 1;
    if (pointLike) {
        for (int k = n; k >= 1; --k) {
            if (thread.SegmentLength[k] != 0) continue;
            alongX[k] = alongX[k + 1];
            alongY[k] = alongY[k + 1];
        }
    }

    // A segment of no length adds no weight (its product is 0).
    tension[n] = 0;
    for (int k = n; k >= 1; --k) {
        const double weight = alongY[k] * (gravity * (rho * lengths[k]));
        tension[k - 1] = tension[k] * (alongX[k] * alongX[k + 1] + alongY[k] * alongY[k + 1]) + weight;
    }

    double* forces = &thread.SegmentForce[0].X;
    double* epsilon = thread.SegmentEpsilon.data();
    const auto turning = [&](int k) {
        const Vec2 along{alongX[k], alongY[k]};
        const Vec2 force = Vec2{alongX[k + 1], alongY[k + 1]} * tension[k];
        const Vec2 pull = force * (pullFactor * inverse[k] * inverse[k]);
        // The field term's x is 0 for every length that reaches here.
        const Vec2 field{0.0, fieldFactor * inverse[k]};
        return Dot(Perpendicular(along), pull + field);
    };
    // Written through plain arrays, and without branches where no segment
    // lacks length, so that these loops are vectorised.
    for (int k = 1; k <= n; ++k) {
        forces[2 * k - 2] = alongX[k] * tension[k - 1];
        forces[2 * k - 1] = alongY[k] * tension[k - 1];
    }
    if (pointLike) {
        // A segment of no length keeps its acceleration.
        for (int k = 1; k <= n; ++k)
            if (lengths[k] != 0) epsilon[k] = turning(k);
    } else {
        for (int k = 1; k <= n; ++k) epsilon[k] = turning(k);
    }
    thread.SegmentForce[n] = {0, 0};
}

}  // namespace

void ThreadPhase(World& world, double) {
    for (int n = 1; n <= world.ThreadCount; ++n) {
        Thread& thread = world.Threads[n];
        if (thread.Exists) ThreadStep(world, thread);
    }
}

}  // namespace velo
