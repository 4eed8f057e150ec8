// The editor on a scene with every table full: the hit test under the
// pointer, recording an edit (the records it changed) and taking it back,
// and the memory of a long history.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

#include "editing/creation.h"
#include "editing/hit_test.h"
#include "editing/selection.h"
#include "editing/world_change.h"
#include "model/world_ops.h"

namespace {

using namespace velo;

std::unique_ptr<World> FullScene() {
    auto w = std::make_unique<World>();
    DefaultWorld(*w);
    w->ProjectKind = ProjectMechanical;
    auto cell = [](int k) { return Vec2{-50 + (k % 20) * 5.0, -50 + (k / 20) * 5.0}; };
    for (int k = 0; k < LavalCapacity; ++k) CreateLaval(*w, cell(k) + Vec2{4.5, 4.8});
    for (int k = 0; k < HandCapacity; ++k) CreateBar(*w, KindHand, cell(k).Y, cell(k).X, cell(k).X + 3);
    for (int k = 0; k < WallCapacity; ++k) CreateBar(*w, KindWall, cell(200 + k).X, cell(200 + k).Y, cell(200 + k).Y + 3);
    for (int k = 0; k < PlaneCapacity; ++k) CreatePlane(*w, cell(k) + Vec2{0.5, 2.5}, cell(k) + Vec2{2.5, 1.3});
    for (int k = 0; k < SurfaceCapacity; ++k) {
        std::vector<Vec2> points;
        for (int v = 0; v < SurfacePointCapacity; ++v)
            points.push_back(cell(200 + k) + Vec2{0.5 + v * 4.0 / SurfacePointCapacity, 0.5 + 0.1 * std::sin(v * 0.05)});
        CreateSurface(*w, points, false);
    }
    for (int k = 0; k < Surface2Capacity; ++k) {
        Surface2 c = CurveAt(1 + k % 3, cell(200 + k) + Vec2{2.5, 3.5}, 4.7, 0.5);
        CreateCurve(*w, c);
    }
    for (int k = 0; k < BallCapacity; ++k) CreateBody(*w, KindBall, cell(k) + Vec2{1.5, 4.2}, 0.1, k % 7, true);
    for (int k = 0; k < PegCapacity; ++k) CreateRod(*w, cell(k) + Vec2{3.6, 1.2}, cell(k) + Vec2{4.4, 1.8}, k % 5);
    ClearSelection(*w);
    return w;
}

const World& Scene() {
    static const std::unique_ptr<World> scene = FullScene();
    return *scene;
}

// The pointer anywhere over the field, mostly over nothing: the whole order
// is searched.
void BM_HitTestFullScene(benchmark::State& state) {
    const World& w = Scene();
    std::mt19937 random(1);
    std::uniform_real_distribution<double> coordinate(-55000, 55000);
    for (auto _ : state) benchmark::DoNotOptimize(ObjectAt(w, {coordinate(random), coordinate(random)}));
}
BENCHMARK(BM_HitTestFullScene)->Unit(benchmark::kMicrosecond);

// An edit recorded, undone and redone, with the memory 200 such steps of
// the history hold.
void RecordUndoRedo(benchmark::State& state, const World& before, const World& after) {
    auto working = std::make_unique<World>(after);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const WorldChange change = DiffWorlds(before, after);
        UndoChange(*working, change);
        RedoChange(*working, change);
        bytes = change.Bytes();
    }
    state.counters["MiB per 200 steps"] = 200.0 * static_cast<double>(bytes) / (1 << 20);
}

// Deleting every ball and rod.
void BM_DeleteAllMovableRecordUndoRedo(benchmark::State& state) {
    auto before = std::make_unique<World>(Scene());
    for (int n = 1; n <= before->BallCount; ++n) before->Balls[n].Selected = true;
    for (int n = 1; n <= before->PegCount; ++n) before->Pegs[n].Selected = true;
    auto after = std::make_unique<World>(*before);
    DeleteSelected(*after);
    RecordUndoRedo(state, *before, *after);
}
BENCHMARK(BM_DeleteAllMovableRecordUndoRedo)->Unit(benchmark::kMillisecond);

// "Выбрать всё" and "Удалить" of the full scene, surfaces of a thousand
// vertices among it.
void BM_DeleteEverythingRecordUndoRedo(benchmark::State& state) {
    auto before = std::make_unique<World>(Scene());
    SelectAll(*before, false);
    auto after = std::make_unique<World>(*before);
    DeleteSelected(*after);
    RecordUndoRedo(state, *before, *after);
}
BENCHMARK(BM_DeleteEverythingRecordUndoRedo)->Unit(benchmark::kMillisecond);

// Copying the World before an edit, as every edit does.
void BM_SnapshotBeforeAnEdit(benchmark::State& state) {
    for (auto _ : state) {
        auto copy = std::make_unique<World>(Scene());
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_SnapshotBeforeAnEdit)->Unit(benchmark::kMillisecond);

}  // namespace
