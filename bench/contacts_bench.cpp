// Ball contacts: a pile of 400 steel balls resting in a box of a support and
// two walls, through the whole mechanical step and through the plain loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "engine/ball_contacts.h"
#include "engine/imitator.h"
#include "model/messages.h"
#include "model/world.h"
#include "model/world_ops.h"
#include "../tests/engine/contact_scenes.h"

namespace {

using namespace velo;
using namespace velo::testing;

void PlainBallContacts(World& world, int number, double) {
    for (int j = 1; j < number; ++j) ContactWithBall(world, number, j);
    for (int n = 1; n <= world.LavalCount; ++n) ContactWithLaval(world, number, n);
    for (int n = 0; n <= world.HandCount; ++n) ContactWithHand(world, number, n);
    for (int n = 1; n <= world.WallCount; ++n) ContactWithWall(world, number, n);
    for (int n = 1; n <= world.PlaneCount; ++n) ContactWithPlane(world, number, n);
    for (int n = 1; n <= world.SurfaceCount; ++n) ContactWithSurface(world, number, n);
    for (int n = 1; n <= world.Surface2Count; ++n) ContactWithSurface2(world, number, n);
}

// 400 balls of radius 0.1 (steel, restitution 0.5) in a box 4 wide, let
// settle into a resting pile.
std::unique_ptr<World> Box400() {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 1, 0.5, 0.01);
    AddHand(*w, 0, -2.2, 2.2, 0.05);
    AddWall(*w, -2.05, -0.1, 10, 0.05);
    AddWall(*w, 2.05, -0.1, 10, 0.05);
    for (int k = 0; k < 400; ++k) {
        const int row = k / 19;
        const int column = k % 19;
        AddBall(*w, {-1.9 + column * 0.205 + (row % 2) * 0.05, 0.16 + row * 0.205}, 0.1);
    }
    for (int k = 0; k < 3000; ++k) BallStep(*w, 0.001);
    return w;
}

void BM_Box400_BallStep(benchmark::State& state) {
    auto w = Box400();
    for (auto _ : state) BallStep(*w, 0.001);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Box400_BallStep)->Unit(benchmark::kMicrosecond);

// The whole mechanical step: forces, contacts, rods, threads, positions.
void BM_Box400_MechanicalStep(benchmark::State& state) {
    auto w = Box400();
    SilentMessenger messenger;
    for (auto _ : state) MechanicalStep(*w, 0.001, messenger);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Box400_MechanicalStep)->Unit(benchmark::kMicrosecond);

void BM_Box400_PlainLoops(benchmark::State& state) {
    auto w = Box400();
    for (auto _ : state) BallStep(*w, 0.001, &PlainBallContacts);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Box400_PlainLoops)->Unit(benchmark::kMicrosecond);

}  // namespace
