// Drawing speed of the "capacity" scene offscreen into a 1600 x 1120 image:
// one tick (the moving objects over the cached lower layer) and the full
// redraw (lower layer and every element).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "model/world.h"
#include "model/world_ops.h"
#include "view/world_renderer.h"
#include "capacity_scene.h"

using namespace velo;

namespace {

const QSize BenchScene(1600, 1120);

// The driver moves every ball and rod between two frames.
void MoveEverything(World& world, double phase) {
    const double dx = 0.001 * std::sin(phase);
    for (int n = 1; n <= world.BallCount; ++n) {
        Ball& ball = world.Balls[static_cast<std::size_t>(n)];
        ball.Position.X += dx;
        ball.Phi += 0.01;
    }
    for (int n = 1; n <= world.PegCount; ++n) {
        world.Pegs[static_cast<std::size_t>(n)].End1.Y += dx;
    }
    for (int n = 1; n <= world.ThreadCount; ++n) {
        world.Threads[static_cast<std::size_t>(n)].Points[ThreadSegmentCapacity].X += dx;
    }
}

void BM_TickRedraw(benchmark::State& state) {
    auto world = CapacityScene();
    WorldRenderer renderer;
    RenderSettings settings;
    settings.UseGdiPlus = state.range(0) != 0;
    renderer.SetSettings(settings);
    renderer.MWRefresh(*world, BenchScene);
    QImage frame(BenchScene, QImage::Format_RGB32);
    double phase = 0;
    for (auto _ : state) {
        MoveEverything(*world, phase += 0.1);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_TickRedraw)->Arg(0)->Unit(benchmark::kMillisecond);

// Arguments: anti-aliasing ("UseGDI+") on, and polyline surfaces of the
// default thickness (16 pixels wide here) instead of 2 pixels.
void BM_FullRedraw(benchmark::State& state) {
    auto world = CapacityScene(state.range(1) != 0 ? 0.05 : 0.005);
    WorldRenderer renderer;
    RenderSettings settings;
    settings.UseGdiPlus = state.range(0) != 0;
    renderer.SetSettings(settings);
    renderer.MWRefresh(*world, BenchScene);
    QImage frame(BenchScene, QImage::Format_RGB32);
    for (auto _ : state) {
        renderer.MWRefresh(*world, BenchScene);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FullRedraw)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

// A full redraw in which every ball picture must be built again (a change
// of lighting), the slowest case of the command.
void BM_FullRedrawRebuildingPictures(benchmark::State& state) {
    auto world = CapacityScene();
    WorldRenderer renderer;
    QImage frame(BenchScene, QImage::Format_RGB32);
    bool bright = false;
    for (auto _ : state) {
        world->Params.AmbientLight = (bright = !bright) ? 0.5 : 0.4;
        renderer.MWRefresh(*world, BenchScene);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_FullRedrawRebuildingPictures)->Unit(benchmark::kMillisecond);

// One frame of a ball dragged with the mouse: the ball moves and the scene
// is painted over the kept lower layer (at least 60 frames per second).
void BM_BallDragFrame(benchmark::State& state) {
    auto world = CapacityScene();
    WorldRenderer renderer;
    renderer.MWRefresh(*world, BenchScene);
    QImage frame(BenchScene, QImage::Format_RGB32);
    double phase = 0;
    Ball& dragged = world->Balls[1];
    for (auto _ : state) {
        dragged.Position.X += 0.001 * std::sin(phase += 0.1);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_BallDragFrame)->Unit(benchmark::kMillisecond);

// The redraw after undoing an edit of movable objects only: every element
// refreshed, the fixed scene's picture kept.
void BM_MovableUndoRedraw(benchmark::State& state) {
    auto world = CapacityScene();
    WorldRenderer renderer;
    renderer.MWRefresh(*world, BenchScene);
    QImage frame(BenchScene, QImage::Format_RGB32);
    bool there = false;
    for (auto _ : state) {
        world->Balls[1].Position.X += (there = !there) ? 0.1 : -0.1;
        renderer.MovableRefresh(*world, BenchScene);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_MovableUndoRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Offscreen: the benchmark needs no display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
