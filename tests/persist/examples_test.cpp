// The example scenes in examples/: each committed file is what its
// generator builds, opens, runs for a simulated second without a freeze,
// and keeps its bodies in the field for ten seconds without gaining energy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "../../examples/example_scenes.h"
#include "engine/imitator.h"
#include "project/lifecycle_test_support.h"
#include "persist/qvs_file.h"
#include "persist/world_json.h"

namespace velo {
namespace {

namespace fs = std::filesystem;

fs::path ExampleFile(const ExampleScene& scene) { return fs::path(VELO_SOURCE_DIR) / "examples" / scene.FileName; }

// The JSON of a World without what a file does not keep: the selection, the
// gravity of the current step, a hung ball's radius (found again from its
// place), the header, and the thread records (a file keeps only their count).
nlohmann::ordered_json StoredPart(const World& world) {
    nlohmann::ordered_json j = WorldToJson(world, {});
    j.erase("Header");
    j["Thread"] = j["Thread"].size();
    for (auto& [table, records] : j.items()) {
        if (!records.is_array()) continue;
        for (auto& record : records) {
            record.erase("Selected");
            record.erase("GravityAccel");
            record.erase("BindRadius");
        }
    }
    return j;
}

// Every kind a file can hold (threads are not kept in files).
TEST(Examples, EveryObjectKindIsUsed) {
    bool laval = false, hand = false, wall = false, plane = false, triangle = false, ball = false,
         cylinder = false, hungBall = false, peg = false, surface = false, surface2 = false, hung = false;
    ASSERT_GE(ExampleScenes().size(), 8u);
    for (const ExampleScene& scene : ExampleScenes()) {
        auto w = std::make_unique<World>();
        BuildExample(*w, scene);
        for (int n = 1; n <= w->LavalCount; ++n) laval |= w->Lavals[n].Exists;
        for (int n = 1; n <= w->HandCount; ++n) hand |= w->Hands[n].Exists;
        for (int n = 1; n <= w->WallCount; ++n) wall |= w->Walls[n].Exists;
        for (int n = 1; n <= w->PlaneCount; ++n) {
            plane |= w->Planes[n].Exists;
            triangle |= w->Planes[n].Triangular == 1;
        }
        for (int n = 1; n <= w->BallCount; ++n) {
            ball |= w->Balls[n].Shape == ShapeBall;
            cylinder |= w->Balls[n].Shape == ShapeCylinder;
            hungBall |= w->Balls[n].BindKind == BindLaval;
        }
        for (int n = 1; n <= w->PegCount; ++n) {
            peg |= w->Pegs[n].Exists;
            hung |= w->Pegs[n].HangLaval != 0;
        }
        for (int n = 1; n <= w->SurfaceCount; ++n) surface |= w->Surfaces[n].Exists;
        for (int n = 1; n <= w->Surface2Count; ++n) surface2 |= w->Surfaces2[n].Exists;
    }
    EXPECT_TRUE(laval && hand && wall && plane && triangle && ball && cylinder && hungBall && peg && surface &&
                surface2 && hung);
}

class ExampleFileTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ExampleFileTest, FileHoldsWhatTheGeneratorBuilds) {
    const ExampleScene& scene = ExampleScenes()[GetParam()];
    auto built = std::make_unique<World>();
    BuildExample(*built, scene);
    QvsSaveOptions options;
    options.AuthorText = scene.AuthorText;
    const std::vector<std::uint8_t> bytes = EncodeQvs(*built, options);  // normalises as a save does

    auto opened = std::make_unique<World>();
    testing::ScriptedMessenger messenger;
    StepContext context;
    const QvsOpenResult result = OpenQvs(*opened, ExampleFile(scene), messenger);
    ASSERT_TRUE(result.Read()) << scene.FileName << ": " << result.Message;
    EXPECT_TRUE(messenger.Shown.empty()) << messenger.Shown.front();
    EXPECT_EQ(result.AuthorText.substr(0, scene.AuthorText.size()), scene.AuthorText);
    const nlohmann::json difference =
        nlohmann::json::diff(nlohmann::json::parse(StoredPart(*built).dump()),
                             nlohmann::json::parse(StoredPart(*opened).dump()));
    EXPECT_TRUE(difference.empty()) << scene.FileName
                                    << " differs from its generator (regenerate with make_examples "
                                       "examples/ if the scene was changed on purpose): "
                                    << difference.dump();
}

TEST_P(ExampleFileTest, RunsForOneSimulatedSecondWithoutAFreeze) {
    const ExampleScene& scene = ExampleScenes()[GetParam()];
    auto world = std::make_unique<World>();
    testing::ScriptedMessenger messenger;
    StepContext context;
    ASSERT_TRUE(OpenQvs(*world, ExampleFile(scene), messenger).Read());
    const double dt = world->Params.MaxStep;
    ASSERT_GT(dt, 0);
    const long long steps = std::llround(1.0 / dt);
    for (long long i = 0; i < steps; ++i) {
        ASSERT_TRUE(MechanicalStep(*world, dt, messenger, context))
            << scene.FileName << " froze at step " << i << ": "
            << (messenger.Shown.empty() ? "" : messenger.Shown.back());
    }
    EXPECT_NEAR(world->T, 1.0, 1e-9);
    for (int n = 1; n <= world->BallCount; ++n) {
        const Ball& b = world->Balls[n];
        if (!b.Exists) continue;
        EXPECT_TRUE(std::isfinite(b.Position.X) && std::isfinite(b.Position.Y)) << scene.FileName << " ball " << n;
        EXPECT_TRUE(b.Movable) << scene.FileName << " ball " << n;
    }
}

// Kinetic and potential energy of every ball and rod, as their readouts
// give it (threads keep none).
struct Energies {
    double Kinetic = 0;
    double Potential = 0;
};
Energies TotalEnergies(const World& w) {
    Energies e;
    for (int n = 1; n <= w.BallCount; ++n) {
        if (!w.Balls[n].Exists) continue;
        e.Kinetic += w.Balls[n].KineticEnergy;
        e.Potential += w.Balls[n].PotentialEnergy;
    }
    for (int n = 1; n <= w.PegCount; ++n) {
        if (!w.Pegs[n].Exists) continue;
        e.Kinetic += w.Pegs[n].KineticEnergy;
        e.Potential += w.Pegs[n].PotentialEnergy;
    }
    return e;
}

TEST_P(ExampleFileTest, KeepsItsBodiesInTheFieldForTenSecondsWithoutGainingEnergy) {
    // Run as the command-line tool runs the file: every ball and rod stays
    // within the field (10000 by 7000 points from the file's origin), and
    // the total energy never rises above its start by more than 1 % of the
    // most kinetic energy the scene reaches (the potential energy's own
    // size depends on where the zero level lies and would hide any gain).
    const ExampleScene& scene = ExampleScenes()[GetParam()];
    auto world = std::make_unique<World>();
    testing::ScriptedMessenger messenger;
    StepContext context;
    ASSERT_TRUE(OpenQvs(*world, ExampleFile(scene), messenger).Read());
    const Parameters& p = world->Params;
    const double left = -p.FieldOriginX / p.FieldScale, right = (10000 - p.FieldOriginX) / p.FieldScale;
    const double bottom = (p.FieldOriginY - 7000) / p.FieldScale, top = p.FieldOriginY / p.FieldScale;
    const auto inField = [&](Vec2 v) { return left <= v.X && v.X <= right && bottom <= v.Y && v.Y <= top; };
    const Energies first = TotalEnergies(*world);
    const double start = first.Kinetic + first.Potential;
    double highest = start;
    double mostKinetic = first.Kinetic;
    const long long steps = std::llround(10.0 / p.MaxStep);
    for (long long i = 0; i < steps; ++i) {
        ASSERT_TRUE(MechanicalStep(*world, p.MaxStep, messenger, context)) << scene.FileName << " froze at step " << i;
        const Energies now = TotalEnergies(*world);
        highest = std::max(highest, now.Kinetic + now.Potential);
        mostKinetic = std::max(mostKinetic, now.Kinetic);
        for (int n = 1; n <= world->BallCount; ++n) {
            const Ball& b = world->Balls[n];
            ASSERT_TRUE(!b.Exists || inField(b.Position)) << scene.FileName << ": ball " << n << " left the field at "
                                                          << world->T;
        }
        for (int n = 1; n <= world->PegCount; ++n) {
            const Peg& r = world->Pegs[n];
            ASSERT_TRUE(!r.Exists || inField(r.Position)) << scene.FileName << ": rod " << n << " left the field at "
                                                          << world->T;
        }
    }
    EXPECT_LE(highest - start, 0.01 * mostKinetic) << scene.FileName;
}

INSTANTIATE_TEST_SUITE_P(AllScenes, ExampleFileTest, ::testing::Range<std::size_t>(0, ExampleScenes().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string name = ExampleScenes()[info.param].FileName;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace velo
