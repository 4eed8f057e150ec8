// Ball contacts: a pile of 400 steel balls resting in a box of a support and
// two walls, and every table full ("capacity"), through the whole
// mechanical step and through the plain loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <algorithm>
#include <memory>

#include "engine/ball_contacts.h"
#include "engine/ball_forces.h"
#include "engine/chain_layout.h"
#include "engine/imitator.h"
#include "engine/rod_phase.h"
#include "engine/thread_phase.h"
#include "model/messages.h"
#include "model/world.h"
#include "model/world_ops.h"
#include "record/collision_log.h"
#include "../tests/engine/contact_scenes.h"
#include "../tests/engine/rod_scenes.h"
#include "engine_capacity_scene.h"

namespace {

using namespace velo;
using namespace velo::testing;

void ReferenceBallContacts(World& world, int number, double, StepContext& context) {
    CarriedBallContacts& carried = context.CarriedContacts;
    for (int j = 1; j < number; ++j) ContactWithBall(world, number, j);
    for (int n = 1; n <= world.LavalCount; ++n) ContactWithLaval(world, number, n, carried);
    for (int n = 0; n <= world.HandCount; ++n) ContactWithHand(world, number, n, carried);
    for (int n = 1; n <= world.WallCount; ++n) ContactWithWall(world, number, n, carried);
    for (int n = 1; n <= world.PlaneCount; ++n) ContactWithPlane(world, number, n, carried);
    for (int n = 1; n <= world.SurfaceCount; ++n) ContactWithSurface(world, number, n, carried);
    for (int n = 1; n <= world.Surface2Count; ++n) ContactWithSurface2(world, number, n, carried);
}

// The pile of 400 steel balls in a box (tests/engine/contact_scenes.h),
// settled for 3 s: the benchmarks run it on as it evolves, as a user's run
// would.
const World& SettledBox400() {
    static const std::unique_ptr<World> settled = [] {
        auto w = PileInBox();
        StepContext context;
        for (int k = 0; k < 3000; ++k) BallStep(*w, 0.001, context);
        return w;
    }();
    return *settled;
}

template <typename Step>
void RunFromSettled(benchmark::State& state, const World& settled, Step step) {
    auto w = std::make_unique<World>(settled);
    for (auto _ : state) step(*w);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Box400_BallStep(benchmark::State& state) {
    StepContext context;
    RunFromSettled(state, SettledBox400(), [&](World& w) { BallStep(w, 0.001, context); });
}
BENCHMARK(BM_Box400_BallStep)->Unit(benchmark::kMicrosecond);

// The whole mechanical step: forces, contacts, rods, threads, positions.
void BM_Box400_MechanicalStep(benchmark::State& state) {
    SilentMessenger messenger;
    StepContext context;
    RunFromSettled(state, SettledBox400(), [&](World& w) { MechanicalStep(w, 0.001, messenger, context); });
}
BENCHMARK(BM_Box400_MechanicalStep)->Unit(benchmark::kMicrosecond);

// The same with the collision log listening: what the log costs while on
// (while off the step is BM_Box400_MechanicalStep's).
void BM_Box400_MechanicalStepLogged(benchmark::State& state) {
    SilentMessenger messenger;
    StepContext context;
    CollisionLog log(100'000);
    log.Attach(context);
    RunFromSettled(state, SettledBox400(), [&](World& w) { MechanicalStep(w, 0.001, messenger, context); });
    state.counters["events/step"] = static_cast<double>(log.Received()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Box400_MechanicalStepLogged)->Unit(benchmark::kMicrosecond);

// A log that was attached and then detached: the step without a listener,
// to compare with BM_Box400_MechanicalStep (no log ever).
void BM_Box400_MechanicalStepLogDetached(benchmark::State& state) {
    SilentMessenger messenger;
    StepContext context;
    CollisionLog log(100'000);
    log.Attach(context);
    log.Detach(context);
    RunFromSettled(state, SettledBox400(), [&](World& w) { MechanicalStep(w, 0.001, messenger, context); });
    state.counters["events"] = static_cast<double>(log.Received());
}
BENCHMARK(BM_Box400_MechanicalStepLogDetached)->Unit(benchmark::kMicrosecond);

void BM_Box400_PlainLoops(benchmark::State& state) {
    StepContext context;
    RunFromSettled(state, SettledBox400(), [&](World& w) { BallStep(w, 0.001, context, &ReferenceBallContacts); });
}
BENCHMARK(BM_Box400_PlainLoops)->Unit(benchmark::kMicrosecond);

// The mechanical step with the ball contacts taken by the plain loops; the
// other phases are those of the mechanical step.
void PlainMechanicalStep(World& w, double dt, StepContext& context) {
    w.Params.StepCounter = (w.Params.StepCounter + 1) % 2000000000;
    PrepareStep(w, context);
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        ApplyFieldAndAirForces(w, n, dt);
        ReferenceBallContacts(w, n, dt, context);
        if (!b.Movable) continue;
        b.Epsilon = b.Inertia != 0 ? b.Torque / b.Inertia : 0;
        b.Omega += b.Epsilon * dt;
        b.Acceleration = b.Mass > 0 ? b.Force / b.Mass : b.GravityAccel;
        b.Velocity += b.Acceleration * dt;
    }
    RodPhase(w, dt, context, &EveryRodObstacle);
    ThreadPhase(w, dt);
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        b.Phi += b.Omega * dt;
        b.Position += b.Velocity * dt - 0.5 * b.GravityAccel * (dt * dt);
        RecomputeBall(w, n);
    }
    for (int n = 1; n <= w.PegCount; ++n) {
        Peg& r = w.Pegs[n];
        if (!r.Exists || !r.Movable) continue;
        r.Phi += r.Omega * dt;
        if (r.HangLaval == 0) r.Position += r.Velocity * dt;
        RecomputeRod(w, n);
    }
    for (int n = 1; n <= w.ThreadCount; ++n) {
        Thread& t = w.Threads[n];
        if (!t.Exists) continue;
        for (int k = 1; k <= std::clamp(t.SegmentCount, 0, ThreadSegmentCapacity); ++k) {
            t.SegmentOmega[k] += t.SegmentEpsilon[k] * dt;
            t.SegmentPhi[k] += t.SegmentOmega[k] * dt;
            t.Points[k] = t.Points[k - 1] + Vec2{std::cos(t.SegmentPhi[k]), std::sin(t.SegmentPhi[k])} * t.SegmentLength[k];
        }
    }
    w.T += dt;
}

void BM_Capacity_MechanicalStep(benchmark::State& state) {
    auto w = EngineCapacityScene();
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < 200; ++k) MechanicalStep(*w, 0.001, messenger, context);
    for (auto _ : state) benchmark::DoNotOptimize(MechanicalStep(*w, 0.001, messenger, context));
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Capacity_MechanicalStep)->Name("capacity")->Unit(benchmark::kMicrosecond);

void BM_Capacity_PlainLoops(benchmark::State& state) {
    auto w = EngineCapacityScene();
    StepContext context;
    for (int k = 0; k < 200; ++k) PlainMechanicalStep(*w, 0.001, context);
    for (auto _ : state) PlainMechanicalStep(*w, 0.001, context);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Capacity_PlainLoops)->Name("capacity_plain")->Unit(benchmark::kMicrosecond);

}  // namespace
