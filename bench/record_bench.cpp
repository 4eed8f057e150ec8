#include <benchmark/benchmark.h>

#include <memory>

#include "capacity_scene.h"
#include "engine/imitator.h"
#include "model/derived_fields.h"
#include "record/recorder.h"

using namespace velo;

namespace {

// The capacity scene with its bodies normalised, as a loaded file has them.
std::unique_ptr<World> RunnableCapacityScene() {
    auto world = CapacityScene();
    RecomputeBodies(*world);
    return world;
}

// 20 quantities of 50 objects (30 balls and cylinders, 20 rods).
void RecordFiftyObjects(Recorder& recorder) {
    for (int n = 1; n <= 50; ++n) {
        const std::uint8_t kind = n <= 30 ? KindBall : KindPeg;
        const int number = n <= 30 ? n * 13 : (n - 30) * 10;
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
        if (!MechanicalStep(*world, 0.0001, messenger, context)) state.SkipWithError("an object was frozen");
        recorder.Sample(*world);
        benchmark::DoNotOptimize(world->T);
    }
    state.counters["series"] = static_cast<double>(recorder.SeriesCount());
    state.counters["MB"] = static_cast<double>(recorder.MemoryBytes()) / 1e6;
}
BENCHMARK(BM_CapacityStepRecorded)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
