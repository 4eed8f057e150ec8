// The capacity scene running as the main window runs it, with and without a
// graph window of 20 quantities of 50 objects (1000 lines) open: each step
// sampled, the events processed after every step (a step of this scene
// takes about a tenth of a second), so the window redraws at its own rate
// (at most 30 frames a second, fewer when a frame would take more than its
// share of the time). The steps per second of the runs, by the clock on the
// wall and by the processor time of the program, give the cost of the live
// graph (the recording alone as a third run); "frames/s" shows how often the
// window drew meanwhile.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdlib>

#include <QApplication>
#include <QEvent>

#include "capacity_scene.h"
#include "engine_capacity_scene.h"
#include "engine/imitator.h"
#include "model/derived_fields.h"
#include "windows/graph_view.h"
#include "windows/graph_window.h"
#include "windows/recording.h"

using namespace velo;

namespace {

constexpr int StepsPerRun = 150;

class PaintCounter : public QObject {
public:
    int Frames = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Frames;
        return QObject::eventFilter(watched, event);
    }
};

// 20 quantities of 50 objects: 30 balls and cylinders, 20 rods.
template <typename AddSeries>
void FiftyObjects(AddSeries add) {
    for (int n = 1; n <= 50; ++n) {
        const std::uint8_t kind = n <= 30 ? KindBall : KindPeg;
        const int number = n <= 30 ? n * 13 : (n - 30) * 10;
        for (int q = 0; q < 20; ++q) add(SeriesKey{kind, number, static_cast<Quantity>(q)});
    }
}

// A graph window of the lines `addLines` gives it, shown and drawn once,
// its repaints counted.
template <typename AddLines>
frmGraph* ShowGraph(GraphServices& services, PaintCounter& painted, AddLines addLines) {
    auto* graph = new frmGraph(services);
    addLines(*graph);
    graph->resize(1100, 600);
    graph->show();
    graph->View()->viewport()->installEventFilter(&painted);
    QApplication::processEvents();
    return graph;
}

// The runs: no recording; the graph window open (recording, collision log
// and frames); the recording and the collision log without a window; the
// recording alone.
enum Setting { Closed = 0, GraphOpen = 1, RecordingOnly = 2, SamplesOnly = 3 };

void BM_CapacityRunWithGraph(benchmark::State& state) {
    auto world = CapacityScene();
    RecomputeBodies(*world);
    Recording recording;
    GraphServices services;
    services.Scene = world.get();
    services.Record = &recording;
    frmGraph* graph = nullptr;
    PaintCounter painted;
    if (state.range(0) == RecordingOnly || state.range(0) == SamplesOnly) {
        FiftyObjects([&](SeriesKey key) { recording.Samples.Add(key); });
        recording.Samples.Enable(true);
    }
    if (state.range(0) == GraphOpen) {
        graph = ShowGraph(services, painted, [](frmGraph& g) { FiftyObjects([&](SeriesKey key) { g.AddSeries(key); }); });
        state.counters["lines"] = graph->LineCount();
    }
    SilentMessenger messenger;
    StepContext context;
    // The collision log listens only while a window asks for it (its box
    // is off at first), as in the main window's run; the recording alone is
    // timed with the log.
    if (state.range(0) == RecordingOnly || (graph && graph->WantsCollisions())) recording.Collisions.Attach(context);
    // A few steps first: the window draws its first frame at once and only
    // then learns how long a frame takes; the timed run is its steady pace.
    for (int i = 0; i < 3; ++i) {
        MechanicalStep(*world, 0.0001, messenger, context);
        recording.Samples.Sample(*world);
        QApplication::processEvents();
    }
    painted.Frames = 0;
    std::int64_t steps = 0;
    double inEvents = 0;  // seconds in the event processing: the window's frames
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t startCpu = std::clock();
    for (auto _ : state) {
        for (int i = 0; i < StepsPerRun; ++i) {
            if (!MechanicalStep(*world, 0.0001, messenger, context)) state.SkipWithError("an object was frozen");
            recording.Samples.Sample(*world);
            const auto before = std::chrono::steady_clock::now();
            QApplication::processEvents();
            inEvents += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        }
        steps += StepsPerRun;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC;
    state.counters["steps/s"] = static_cast<double>(steps) / seconds;
    state.counters["steps/cpu_s"] = static_cast<double>(steps) / cpuSeconds;
    if (graph) {
        state.counters["frames/s"] = painted.Frames / seconds;
        state.counters["ms/frame"] = painted.Frames > 0 ? 1000 * inEvents / painted.Frames : 0;
        state.counters["share_%"] = 100 * inEvents / seconds;
        state.counters["interval_ms"] = graph->IntervalMs();
        graph->close();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CapacityRunWithGraph)->Arg(Closed)->Arg(GraphOpen)->Arg(RecordingOnly)->Arg(SamplesOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The engine's capacity scene (about 0.2 ms a step) as the program runs
// it: batches of 100 steps (the default Pipeline), the events processed
// after each batch. Closed (0), a window of 1000 lines (1), a window of 3
// lines (2); the processor time per step shows what the open window costs.
void BM_EngineCapacityRunWithGraph(benchmark::State& state) {
    auto world = velo::testing::EngineCapacityScene();
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < 200; ++k) MechanicalStep(*world, 0.001, messenger, context);
    Recording recording;
    GraphServices services;
    services.Scene = world.get();
    services.Record = &recording;
    frmGraph* graph = nullptr;
    PaintCounter painted;
    if (state.range(0) != 0) {
        const bool many = state.range(0) == 1;
        graph = ShowGraph(services, painted, [many](frmGraph& g) {
            if (many) FiftyObjects([&](SeriesKey key) { g.AddSeries(key); });
            else
                for (int q = 0; q < 3; ++q) g.AddSeries(SeriesKey{KindBall, 13, static_cast<Quantity>(q)});
        });
    }
    constexpr int Batches = 300;
    double inEvents = 0;
    constexpr int Pipeline = 100;
    std::int64_t steps = 0;
    const std::clock_t startCpu = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (int b = 0; b < Batches; ++b) {
            for (int i = 0; i < Pipeline; ++i) {
                if (!MechanicalStep(*world, 0.001, messenger, context)) state.SkipWithError("an object was frozen");
                recording.Samples.Sample(*world);
            }
            steps += Pipeline;
            const auto before = std::chrono::steady_clock::now();
            QApplication::processEvents();
            inEvents += std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC;
    state.counters["steps/cpu_s"] = static_cast<double>(steps) / cpuSeconds;
    if (graph) {
        state.counters["frames/s"] = painted.Frames / seconds;
        state.counters["lines"] = graph->LineCount();
        state.counters["interval_ms"] = graph->IntervalMs();
        state.counters["share_%"] = 100 * inEvents / seconds;
        graph->close();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_EngineCapacityRunWithGraph)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    // Offscreen: the benchmark needs no display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
