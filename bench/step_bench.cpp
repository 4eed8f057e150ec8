#include <benchmark/benchmark.h>

#include <memory>

#include "engine/ball_forces.h"
#include "engine/imitator.h"
#include "model/world_ops.h"

namespace {

// 400 balls on a 20 x 20 grid, far enough apart never to touch, falling in
// air with a wind: the field, air and integration work of a full table of
// balls, with the contact search finding nothing.
std::unique_ptr<velo::World> FallingBalls() {
    auto world = std::make_unique<velo::World>();
    velo::DefaultWorld(*world);
    world->ProjectKind = velo::ProjectMechanical;
    world->Params.AirDensity = 1.2;
    world->Params.Wind = {2, 0.5};
    for (int i = 0; i < velo::BallCapacity; ++i) {
        const int n = ++world->BallCount;
        velo::Ball& b = world->Balls[n];
        b.Exists = true;
        b.Movable = true;
        b.Shape = (i % 3 == 0) ? velo::ShapeCylinder : velo::ShapeBall;
        b.Height = 0.1;
        b.InertiaFactor = b.Shape == velo::ShapeCylinder ? 0.5 : 0.4;
        b.Density = 500 + 10 * (i % 7);
        b.Radius = 0.05;
        b.DragLinear = 0.5;
        b.DragQuadratic = 0.2;
        b.Material = 1;
        b.Position = {0.5 * (i % 20), 5 + 0.5 * (i / 20)};
        b.Velocity = {0.1 * (i % 5), 0};
        velo::RecomputeBall(*world, n);
    }
    return world;
}

void BM_MechanicalStep400BallsInWind(benchmark::State& state) {
    auto world = FallingBalls();
    velo::SilentMessenger messenger;
    velo::StepContext context;
    for (auto _ : state) {
        if (!velo::MechanicalStep(*world, 0.001, messenger, context)) state.SkipWithError("a ball was frozen");
        benchmark::DoNotOptimize(world->T);
    }
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MechanicalStep400BallsInWind);

}  // namespace
