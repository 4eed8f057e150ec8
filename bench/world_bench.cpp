#include <benchmark/benchmark.h>

#include <memory>

#include "model/world_ops.h"

// Resetting a whole World: what every new project and every file load pays.
static void BM_DefaultWorld(benchmark::State& state) {
    auto world = std::make_unique<velo::World>();
    for (auto _ : state) {
        velo::DefaultWorld(*world);
        benchmark::DoNotOptimize(world->Hands[0]);
    }
}
BENCHMARK(BM_DefaultWorld);
