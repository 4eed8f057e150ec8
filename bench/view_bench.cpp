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

using namespace velo;

namespace {

const QSize BenchScene(1600, 1120);

// Every table full: 200 suspension points, supports, walls, planes and
// curves, 100 polyline surfaces of 1024 vertices, 400 balls, 200 rods and
// 20 threads of 512 segments, spread over the visible field (10 x 7 units).
std::unique_ptr<World> CapacityScene(double surfaceHalfThickness = 0.005) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Materials.Items[1].Colour = Rgb(90, 90, 110);
    for (int n = 1; n <= LavalCapacity; ++n) {
        Laval& laval = world->Lavals[static_cast<std::size_t>(NewObject(*world, KindLaval).Number)];
        laval.Position = {-0.9 + 0.05 * n, 6.0};
        laval.Selected = false;
    }
    for (int n = 1; n <= HandCapacity; ++n) {
        HandWall& hand = world->Hands[static_cast<std::size_t>(NewObject(*world, KindHand).Number)];
        hand = {1, -0.5 + 0.03 * n, -0.9 + 0.04 * n, 0.2 + 0.04 * n, 0.01, false, true};
    }
    for (int n = 1; n <= WallCapacity; ++n) {
        HandWall& wall = world->Walls[static_cast<std::size_t>(NewObject(*world, KindWall).Number)];
        wall = {1, -0.9 + 0.045 * n, -0.2, 0.3 + 0.02 * n, 0.01, false, true};
    }
    for (int n = 1; n <= PlaneCapacity; ++n) {
        Plane& plane = world->Planes[static_cast<std::size_t>(NewObject(*world, KindPlane).Number)];
        plane.P1 = {-0.9 + 0.045 * n, 0.5};
        plane.P2 = {-0.5 + 0.045 * n, 1.0 + 0.01 * n};
        plane.HalfThickness = 0.02;
        plane.Triangular = static_cast<std::uint8_t>(n % 2);
        plane.Selected = false;
    }
    for (int n = 1; n <= SurfaceCapacity; ++n) {
        Surface& surface = world->Surfaces[static_cast<std::size_t>(NewObject(*world, KindSurface).Number)];
        surface.Points.resize(SurfacePointCapacity);
        for (int i = 0; i < SurfacePointCapacity; ++i) {
            const double x = -0.9 + 9.8 * i / (SurfacePointCapacity - 1);
            surface.Points[static_cast<std::size_t>(i)] = {x, 0.05 * n + 0.1 * std::sin(x * 3 + n)};
        }
        surface.PointCount = SurfacePointCapacity;
        surface.Closed = n % 10 == 0;
        surface.HalfThickness = surfaceHalfThickness;
        surface.Selected = false;
    }
    for (int n = 1; n <= Surface2Capacity; ++n) {
        Surface2& curve = world->Surfaces2[static_cast<std::size_t>(NewObject(*world, KindSurface2).Number)];
        curve.SurfaceKind = static_cast<std::uint8_t>(1 + n % 3);
        curve.Centre = {-0.5 + 0.045 * n, 3.0};
        curve.ParamA = 0.2;
        curve.ParamB = 0.3;
        curve.TFrom = -1;
        curve.TTo = 1;
        curve.HalfThickness = 0.005;
        curve.Selected = false;
    }
    for (int n = 1; n <= BallCapacity; ++n) {
        const int kind = n % 4 == 0 ? KindCylinder : KindBall;
        Ball& ball = world->Balls[static_cast<std::size_t>(NewObject(*world, kind).Number)];
        ball.Shape = kind == KindCylinder ? ShapeCylinder : ShapeBall;
        ball.Radius = 0.08;
        ball.Position = {-0.8 + 0.45 * (n % 20), 0.5 + 0.3 * (n / 20)};
        ball.Z = static_cast<std::uint8_t>(n % 7);
        ball.Marked = n % 3 == 0;
        ball.Allow3D = true;
        ball.Selected = false;
    }
    for (int n = 1; n <= PegCapacity; ++n) {
        Peg& peg = world->Pegs[static_cast<std::size_t>(NewObject(*world, KindPeg).Number)];
        peg.End1 = {-0.8 + 0.045 * n, 4.0};
        peg.End2 = {-0.6 + 0.045 * n, 4.8};
        peg.Width = 0.02;
        peg.Z = static_cast<std::uint8_t>(n % 5);
        peg.Selected = false;
    }
    for (int n = 1; n <= ThreadCapacity; ++n) {
        Thread& thread = world->Threads[static_cast<std::size_t>(NewObject(*world, KindThread).Number)];
        thread.SegmentCount = ThreadSegmentCapacity;
        for (int k = 0; k <= ThreadSegmentCapacity; ++k) {
            thread.Points[static_cast<std::size_t>(k)] = {
                -0.5 + 0.45 * n + 0.05 * std::sin(k * 0.1), 6.0 - 5.0 * k / ThreadSegmentCapacity};
        }
        thread.Selected = false;
    }
    return world;
}

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
