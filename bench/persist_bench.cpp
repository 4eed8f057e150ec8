#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "model/derived_fields.h"
#include "model/world_ops.h"
#include "persist/celestial_json.h"
#include "persist/qvs_file.h"

namespace {

// A small project of about 1.3 KB: the default materials, a support, a wall,
// two balls and a rod.
std::vector<std::uint8_t> SmallFile() {
    auto world = std::make_unique<velo::World>();
    velo::DefaultWorld(*world);
    world->ProjectKind = velo::ProjectMechanical;
    world->Hands[1] = {1, -0.5, -3, 3, 0.05, false, true};
    world->HandCount = 1;
    world->Walls[1] = {1, 4, -1, 1, 0.05, false, true};
    world->WallCount = 1;
    for (int n = 1; n <= 2; ++n) {
        velo::Ball& ball = world->Balls[n];
        ball.Exists = true;
        ball.Movable = true;
        ball.Material = 1;
        ball.Density = 7800;
        ball.Radius = 0.1;
        ball.InertiaFactor = 0.4;
        ball.Position = {0.5 * n, 2};
        velo::RecomputeBall(*world, n);
    }
    world->BallCount = 2;
    velo::Peg& rod = world->Pegs[1];
    rod.Exists = true;
    rod.Movable = true;
    rod.Material = 1;
    rod.Density = 7800;
    rod.Length = 1;
    rod.Width = rod.Depth = 0.02;
    rod.Position = {-1, 2};
    world->PegCount = 1;
    velo::RecomputeRod(*world, 1);
    return velo::EncodeQvs(*world, {});
}

// One decode of a small file into a World that already holds a project, as
// every open, restore of the start point and fuzzing input pays it.
void BM_DecodeSmallFile(benchmark::State& state) {
    const std::vector<std::uint8_t> file = SmallFile();
    auto world = std::make_unique<velo::World>();
    velo::DefaultWorld(*world);
    velo::SilentMessenger quiet;
    for (auto _ : state) {
        const velo::QvsOpenResult result = velo::DecodeQvs(*world, file, quiet);
        if (!result.Read()) state.SkipWithError("the file was refused");
        benchmark::DoNotOptimize(world->BallCount);
    }
    state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_DecodeSmallFile);

void BM_EncodeSmallFile(benchmark::State& state) {
    const std::vector<std::uint8_t> file = SmallFile();
    auto world = std::make_unique<velo::World>();
    velo::SilentMessenger quiet;
    velo::DecodeQvs(*world, file, quiet);
    for (auto _ : state) benchmark::DoNotOptimize(velo::EncodeQvs(*world, {}));
}
BENCHMARK(BM_EncodeSmallFile);

// A celestial scene of three bodies, read (arg 1) or refused at its last
// character (arg 0): the refusal is what most fuzzing inputs cost, the
// read adds the reset of the World to a new project.
void BM_ReadCelestialScene(benchmark::State& state) {
    auto scene = std::make_unique<velo::World>();
    velo::DefaultWorld(*scene);
    scene->ProjectKind = velo::ProjectCelestial;
    for (int n = 1; n <= 3; ++n) {
        velo::HBody& body = scene->HBodies[static_cast<std::size_t>(n)];
        body.Exists = body.Movable = true;
        body.Radius = 1e6 * n;
        body.Density = 1000;
        body.Position = {1e9 * n, 0, -3e11};
    }
    scene->HBodyCount = 3;
    std::string text = velo::CelestialSceneToJson(*scene).Text;
    if (state.range(0) == 0) text.resize(text.size() - 2);  // without its closing brace
    auto world = std::make_unique<velo::World>();
    for (auto _ : state) benchmark::DoNotOptimize(velo::CelestialSceneFromJson(text, *world).Ok);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadCelestialScene)->Arg(0)->Arg(1);

}  // namespace
