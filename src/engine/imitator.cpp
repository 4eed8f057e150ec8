#include "engine/imitator.h"

#include <algorithm>
#include <bit>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/ball_contact_walk.h"
#include "engine/ball_forces.h"
#include "engine/rod_phase.h"
#include "engine/thread_phase.h"
#include "engine/cos_sin.h"
#include "engine/wide_loops.h"
#include "model/derived_fields.h"
#include "model/portable_math.h"

namespace velo {
namespace {

constexpr std::int64_t StepCounterModulus = 2000000000;

// Beyond these the numbers lose all meaning; the object is frozen instead.
constexpr double MaxOmega = 1e16;
constexpr double MaxSpeedSquared = 1e80;

void Freeze(Ball& ball) {
    ball.Selected = true;
    ball.Movable = false;
}

// Freeze tests at the start of a ball's phase. Returns false (after telling
// the user) when the ball had to be frozen.
bool PassesFreezeTests(Ball& ball, Messenger& messenger) {
    if (std::fabs(ball.Omega) > MaxOmega) {
        messenger.Show(MessageIcon::Error, TooFastRotationMessage);
        Freeze(ball);
        return false;
    }
    const Vec2 v = ball.Velocity;
    if (v.X * v.X + v.Y * v.Y > MaxSpeedSquared) {
        messenger.Show(MessageIcon::Error, TooFastMotionMessage);
        Freeze(ball);
        return false;
    }
    return true;
}

// A frozen rod holds the balls fastened to its ends where they are: they
// are frozen with it, rather than falling off the rod that no longer
// places them.
void FreezeBallsOfFrozenRods(World& world) {
    for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
        const Peg& rod = world.Pegs[n];
        if (!rod.Exists || rod.Movable) continue;
        for (int end = 1; end <= 2; ++end) {
            const int b = FastenedBall(world, rod, end);
            if (b != 0) world.Balls[b].Movable = false;
        }
    }
}

void IntegrateBallVelocity(Ball& ball, double dt) {
    // A ball without moment of inertia cannot be turned by a torque.
    ball.Epsilon = ball.Inertia != 0 ? ball.Torque / ball.Inertia : 0;
    if (ball.Epsilon * ball.Omega < 0 && std::fabs(ball.Epsilon * dt) >= std::fabs(ball.Omega)) {
        // The torque on a ball is the rolling resistance of its contacts,
        // which opposes the turning: it may stop the turning within a step
        // but never reverse it. Reversed every step, the turning of a ball
        // at rest would swing about zero, and the friction of the contact
        // would walk the ball away on it.
        ball.Epsilon = -ball.Omega / dt;
        ball.Torque = ball.Epsilon * ball.Inertia;
        ball.Omega = 0;
    } else {
        ball.Omega += ball.Epsilon * dt;
    }
    ball.Acceleration = ball.Mass > 0 ? ball.Force / ball.Mass : ball.GravityAccel;
    ball.Velocity += ball.Acceleration * dt;
}

bool BallPhase(World& world, double dt, Messenger& messenger, StepContext& context) {
    for (int n = 1; n <= world.BallCount; ++n) {
        Ball& ball = world.Balls[n];
        if (!ball.Exists || !ball.Movable) continue;
        if (!PassesFreezeTests(ball, messenger)) return false;
        ApplyFieldAndAirForces(world, n, dt);
        BallContacts(world, n, dt, context);
        if (ball.Movable) IntegrateBallVelocity(ball, dt);
    }
    return true;
}

void MoveBalls(World& world, double dt) {
    const double largestRadius = LargestBallRadius(world);
    for (int n = 1; n <= world.BallCount; ++n) {
        Ball& ball = world.Balls[n];
        if (!ball.Exists || !ball.Movable) continue;
        ball.Phi += ball.Omega * dt;
        // The velocity already holds this step's field acceleration; taking
        // half of it back makes free fall exact: x + v dt + ½ g dt².
        ball.Position += ball.Velocity * dt - 0.5 * ball.GravityAccel * (dt * dt);
        RecomputeBall(world, n, largestRadius);
    }
}

bool MoveRods(World& world, double dt, Messenger& messenger) {
    for (int n = 1; n <= world.PegCount; ++n) {
        Peg& rod = world.Pegs[n];
        if (!rod.Exists || !rod.Movable) continue;
        if (std::fabs(rod.Omega) > MaxOmega) {
            messenger.Show(MessageIcon::Error, TooFastRotationMessage);
            rod.Movable = false;
            rod.Selected = true;  // so that the user sees which rod stopped
            FreezeBallsOfFrozenRods(world);
            return false;
        }
        rod.Phi += rod.Omega * dt;
        // A hanging rod only turns about its suspension point.
        if (rod.HangLaval == 0) rod.Position += rod.Velocity * dt;
        RecomputeRod(world, n);
    }
    return true;
}

// New angles of every segment first, then their directions in one pass
// (vectorised while every angle is within the reduction's range), then the
// joints from the fixed end down.
VELO_WIDE_LOOPS void MoveThreads(World& world, double dt) {
    std::array<double, ThreadSegmentCapacity + 1> cosine;
    std::array<double, ThreadSegmentCapacity + 1> sine;
    for (int n = 1; n <= world.ThreadCount; ++n) {
        Thread& thread = world.Threads[n];
        if (!thread.Exists) continue;
        const int segments = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
        double* omega = thread.SegmentOmega.data();
        double* phi = thread.SegmentPhi.data();
        const double* epsilon = thread.SegmentEpsilon.data();
        for (int k = 1; k <= segments; ++k) {
            omega[k] += epsilon[k] * dt;
            phi[k] += omega[k] * dt;
        }
        // The largest angle by the upper half of its bits (sign dropped),
        // which orders magnitudes (and puts infinities and not-a-numbers
        // above every number).
        std::int32_t largest = 0;
        for (int k = 1; k <= segments; ++k)
            largest = std::max(largest, static_cast<std::int32_t>((std::bit_cast<std::uint64_t>(phi[k]) >> 32) & 0x7FFFFFFF));
        if (largest < CosSinRangeUpperBits) {
            for (int k = 1; k <= segments; ++k) CosSinInRange(thread.SegmentPhi[k], cosine[k], sine[k]);
        } else {
            for (int k = 1; k <= segments; ++k) {
                const Vec2 direction = CosSin(thread.SegmentPhi[k]);
                cosine[k] = direction.X;
                sine[k] = direction.Y;
            }
        }
        for (int k = 1; k <= segments; ++k)
            thread.Points[k] = thread.Points[k - 1] + Vec2{cosine[k], sine[k]} * thread.SegmentLength[k];
    }
}

void AdvanceStepCounter(World& world) {
    std::int32_t& counter = world.Params.StepCounter;
    counter = static_cast<std::int32_t>((static_cast<std::int64_t>(counter) + 1) % StepCounterModulus);
}

}  // namespace

bool MechanicalStep(World& world, double dt, Messenger& messenger, StepContext& context) {
    AdvanceStepCounter(world);
    PrepareStep(world, context);
    FreezeBallsOfFrozenRods(world);
    if (context.Impulses != nullptr) context.Impulses->StepEndTime = world.T + dt;

    if (!BallPhase(world, dt, messenger, context)) return false;
    RodPhase(world, dt, context);
    ThreadPhase(world, dt);

    MoveBalls(world, dt);
    if (!MoveRods(world, dt, messenger)) return false;
    MoveThreads(world, dt);

    world.T += dt;
    return true;
}

}  // namespace velo
