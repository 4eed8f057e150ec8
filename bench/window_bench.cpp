// Opening the windows that show the most on the scene with every table full:
// the ball window (its working copy previewed, so the scene is redrawn) and
// "Параметры имитации" (every material's coefficient table). Each opening
// builds the window, shows it, lets it lay itself out and closes it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "capacity_scene.h"
#include "forms/materials_editing.h"
#include "view/world_renderer.h"
#include "windows/ball_window.h"
#include "windows/parameters_window.h"

using namespace velo;

namespace {

const QSize BenchScene(1600, 1120);

void BM_OpenBallWindow(benchmark::State& state) {
    auto world = CapacityScene();
    WorldRenderer renderer;
    QImage frame(BenchScene, QImage::Format_RGB32);
    // The preview redraws the scene as the main window does: the movable
    // objects over the kept picture of the fixed ones.
    renderer.MWRefresh(*world, BenchScene);
    auto redraw = [&] {
        renderer.MovableRefresh(*world, BenchScene);
        QPainter painter(&frame);
        renderer.PaintScene(painter, *world);
    };
    WindowServices services;
    services.Scene = world.get();
    services.Edit = [&](const QString&, const std::function<void(World&)>& change) { change(*world); };
    services.Redraw = [&] {
        renderer.MWRefresh(*world, BenchScene);
        redraw();
    };
    services.RedrawMovable = redraw;
    services.SetNewBodyRadius = [](int, double) {};
    services.CopyText = [](const QString&) {};
    int number = 0;
    for (auto _ : state) {
        number = number % 400 + 1;
        auto* window = new prpBall(services, number);
        window->show();
        QApplication::processEvents();
        window->reject();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenBallWindow)->Unit(benchmark::kMillisecond);

void BM_OpenParametersWindow(benchmark::State& state) {
    auto world = CapacityScene();
    // Every material in use: the coefficient tables are at their largest.
    while (const auto added = AddMaterial(world->Materials)) {
        world->Materials.Items[static_cast<std::size_t>(*added)].Name = "Материал " + std::to_string(*added);
    }
    ParameterWindowActions actions;
    actions.Edit = [&](const QString&, const std::function<void(World&)>& change) { change(*world); };
    for (auto _ : state) {
        auto* window = new frmParam(*world, actions);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QApplication::processEvents();
        window->close();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenParametersWindow)->Unit(benchmark::kMillisecond);

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
