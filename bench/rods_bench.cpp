// Rods and threads through the whole mechanical step: 20 threads of 512
// segments alone ("chain"), and 200 free rods falling onto a support ("rods").
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/chain_layout.h"
#include "engine/imitator.h"
#include "model/messages.h"
#include "../tests/engine/rod_scenes.h"

namespace {

using namespace velo;
using namespace velo::testing;

std::unique_ptr<World> ChainScene() {
    auto w = EmptyScene();
    // One segment per 100 field points: at this zoom a thread of 0.6 would
    // get 600 and is held to 512.
    w->Params.FieldScale = 100000;
    for (int k = 0; k < ThreadCapacity; ++k) {
        AddLaval(*w, {k * 0.5, 0});
        CreateThread(*w, k + 1, {k * 0.5 + 0.4, 0}, 0.6);
    }
    return w;
}

std::unique_ptr<World> RodsScene() {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.3, 0.3, 0.5, 0);
    AddHand(*w, 0, -10, 10, 0.05);
    for (int k = 0; k < PegCapacity; ++k) {
        const double x = -9 + (k % 40) * 0.45;
        const double y = 0.5 + (k / 40) * 0.4;
        AddRod(*w, {x, y}, 0.37 * k, 0.3, 0.02);
    }
    return w;
}

void RunSteps(benchmark::State& state, World& w) {
    SilentMessenger messenger;
    StepContext context;
    for (auto _ : state) benchmark::DoNotOptimize(MechanicalStep(w, 0.001, messenger, context));
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void BM_Chain(benchmark::State& state) {
    auto w = ChainScene();
    RunSteps(state, *w);
}
BENCHMARK(BM_Chain)->Name("chain")->Unit(benchmark::kMicrosecond);

void BM_Rods(benchmark::State& state) {
    auto w = RodsScene();
    // Let them land first, then measure the pile lying on the support.
    SilentMessenger messenger;
    StepContext context;
    if (state.range(0) == 1)
        for (int i = 0; i < 2000; ++i) MechanicalStep(*w, 0.001, messenger, context);
    RunSteps(state, *w);
}
BENCHMARK(BM_Rods)->Name("rods")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
