#include <benchmark/benchmark.h>

#include <memory>

#include "engine/imitator.h"
#include "engine_capacity_scene.h"
#include "record/recorder.h"

using namespace velo;

namespace {

// The engine's capacity scene (the step benchmark's "capacity"), settled
// for 200 steps as that benchmark does.
std::unique_ptr<World> RunnableCapacityScene() {
    auto world = testing::EngineCapacityScene();
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < 200; ++k) MechanicalStep(*world, 0.001, messenger, context);
    return world;
}

// 20 quantities of 50 objects (30 balls and cylinders, free, carried; 20
// rods, hung and free).
void RecordFiftyObjects(Recorder& recorder) {
    for (int n = 1; n <= 50; ++n) {
        const std::uint8_t kind = n <= 30 ? KindBall : KindPeg;
        const int number = n <= 30 ? n * 13 : (n - 30) * 9;
        for (int q = 0; q < 20; ++q) recorder.Add({kind, number, static_cast<Quantity>(q)});
    }
    recorder.Enable(true);
}

// The mechanical step of the capacity scene, without (0) and with (1) the
// recording of 1000 series after every step: the recording must cost less
// than 5 % of the step.
void BM_CapacityStepRecorded(benchmark::State& state) {
    auto world = RunnableCapacityScene();
    SilentMessenger messenger;
    StepContext context;
    Recorder recorder;
    if (state.range(0) != 0) RecordFiftyObjects(recorder);
    for (auto _ : state) {
        if (!MechanicalStep(*world, 0.001, messenger, context)) state.SkipWithError("an object was frozen");
        recorder.Sample(*world);
        benchmark::DoNotOptimize(world->T);
    }
    state.counters["series"] = static_cast<double>(recorder.SeriesCount());
    state.counters["MB"] = static_cast<double>(recorder.MemoryBytes()) / 1e6;
}
// At least 20,000 steps, so the recording's fresh memory blocks are counted.
BENCHMARK(BM_CapacityStepRecorded)->Arg(0)->Arg(1)->Iterations(20'000)->Unit(benchmark::kMicrosecond);

// One sample of the 1000 series alone, and of the scene totals.
void BM_RecorderSample(benchmark::State& state) {
    auto world = RunnableCapacityScene();
    Recorder recorder;
    RecordFiftyObjects(recorder);
    if (state.range(0) != 0) {
        for (const Quantity q : {Quantity::KineticEnergy, Quantity::PotentialEnergy, Quantity::TotalEnergy,
                                 Quantity::MomentumX, Quantity::MomentumY, Quantity::Momentum}) {
            recorder.Add({KindNone, 0, q});
        }
    }
    for (auto _ : state) {
        world->T += 0.001;
        recorder.Sample(*world);
    }
    state.counters["series"] = static_cast<double>(recorder.SeriesCount());
}
BENCHMARK(BM_RecorderSample)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
