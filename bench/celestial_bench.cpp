#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>

#include "celestial/bodies.h"
#include "celestial/celestial_pairs.h"
#include "celestial/celestial_step.h"
#include "model/world_ops.h"

namespace {

// A uniform number in [0, 1) from the top 53 bits: the same on every
// standard library, unlike the distributions.
double Uniform(std::mt19937_64& random) { return static_cast<double>(random() >> 11) * 0x1.0p-53; }

// A full table of 200 planet-sized bodies scattered through a cube of
// 1e11 m with velocity components of up to 15 km/s. At the step of one
// second they travel less than 3e9 m in 100000 steps, much less than their
// spacing, so no two of them meet and every step does the whole work.
std::unique_ptr<velo::World> FullSky() {
    auto world = std::make_unique<velo::World>();
    velo::DefaultWorld(*world);
    world->ProjectKind = velo::ProjectCelestial;
    std::mt19937_64 random(20240615);
    for (int n = 1; n <= velo::HBodyCapacity; ++n) {
        velo::HBody& body = world->HBodies[static_cast<std::size_t>(n)];
        body.Exists = true;
        body.Movable = true;
        body.Radius = 1e6 + 6e6 * Uniform(random);
        body.Density = 1000 + 4500 * Uniform(random);
        body.Position = {1e11 * (Uniform(random) - 0.5), 1e11 * (Uniform(random) - 0.5),
                         -1e11 * (0.5 + Uniform(random))};
        body.Velocity = {3e4 * (Uniform(random) - 0.5), 3e4 * (Uniform(random) - 0.5),
                         3e4 * (Uniform(random) - 0.5)};
        velo::UpdateBodyMass(body);
    }
    world->HBodyCount = velo::HBodyCapacity;
    return world;
}

void BM_CelestialStep200Bodies(benchmark::State& state) {
    auto world = FullSky();
    velo::SilentMessenger messenger;
    for (auto _ : state) {
        if (!velo::CelestialStep(*world, 1, messenger)) {
            state.SkipWithError("the step was refused");
            break;
        }
        benchmark::DoNotOptimize(world->T);
    }
    const auto steps = static_cast<double>(state.iterations());
    state.counters["steps/s"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
    // The ordered pairs of the contact test and of the field sums: two
    // passes over 200 x 200 per step, however the step groups its work.
    const double pairsPerStep = 2.0 * velo::HBodyCapacity * velo::HBodyCapacity;
    state.counters["pair visits/s"] = benchmark::Counter(steps * pairsPerStep, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CelestialStep200Bodies);

// The pair pass alone with each kernel, for the machines that lack the
// widest one: 0 plain, 1 two lanes, 2 four lanes, 3 eight lanes.
void BM_CelestialPairSums200Bodies(benchmark::State& state) {
    const auto kernel = static_cast<velo::PairKernel>(state.range(0));
    if (!velo::PairKernelAvailable(kernel)) {
        state.SkipWithError("this processor cannot run the kernel");
        return;
    }
    auto world = FullSky();
    velo::BodyLanes lanes;
    for (auto _ : state) {
        velo::GatherBodies(*world, lanes);
        benchmark::DoNotOptimize(velo::PairSums(lanes, kernel));
    }
    state.counters["passes/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CelestialPairSums200Bodies)->DenseRange(0, 3);

}  // namespace
