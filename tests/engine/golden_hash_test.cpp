// Determinism guard: fixed runs of every example scene and of the random
// contact scenes hash every field of the World to a recorded value. A change
// that moves any bit of any result changes a hash; a change that only
// reorganises the code must not. The hashes guard sameness, not correctness:
// the formulas have tests of their own.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "../../examples/example_scenes.h"
#include "engine/chain_layout.h"
#include "persist/world_json.h"
#include "rod_scenes.h"

namespace velo {
namespace {

using namespace velo::testing;

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

std::uint64_t WorldHash(const World& world) { return Fnv1a(WorldToJson(world, {}).dump()); }

std::uint64_t RunAndHash(World& world, int steps, double dt) {
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < steps; ++k) {
        if (!MechanicalStep(world, dt, messenger, context)) break;
    }
    return WorldHash(world);
}

struct GoldenRun {
    std::string Name;
    std::uint64_t Hash;
};

const GoldenRun ExampleRuns[] = {
    {"ball_bounce.qvs", 12737424684107378105ull},
    {"balls_in_wind.qvs", 6773093757667747222ull},
    {"dumbbell.qvs", 4889624711941041260ull},
    {"hung_pendulums.qvs", 8379637184133603819ull},
    {"inclined_planes.qvs", 16422372524050614016ull},
    {"newton_cradle.qvs", 12047864100330480409ull},
    {"parabolic_bowl.qvs", 16751761863263187119ull},
    {"physical_pendulum.qvs", 747854124596603654ull},
};

TEST(GoldenHashes, ExampleScenesAfterTwoSecondsOfRunning) {
    // A new example gets a hash of its own.
    ASSERT_EQ(std::size(ExampleRuns), ExampleScenes().size());
    for (const GoldenRun& run : ExampleRuns) {
        const ExampleScene* scene = nullptr;
        for (const ExampleScene& s : ExampleScenes()) {
            if (s.FileName == run.Name) scene = &s;
        }
        ASSERT_NE(scene, nullptr) << run.Name;
        auto world = std::make_unique<World>();
        BuildExample(*world, *scene);
        EXPECT_EQ(RunAndHash(*world, 2000, 1e-3), run.Hash) << run.Name;
    }
}

TEST(GoldenHashes, RandomBallAndRodScenes) {
    const std::uint64_t ballRuns[] = {5855408412519163884ull, 675649744515861183ull, 17421204790203920029ull};
    const std::uint64_t rodRuns[] = {10001821457431128815ull, 6078183094418765837ull, 12560437770932094366ull};
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        auto balls = RandomScene(seed);
        EXPECT_EQ(RunAndHash(*balls, 300, 2e-3), ballRuns[seed - 1]) << "ball scene " << seed;
        auto rods = RandomRodScene(seed);
        EXPECT_EQ(RunAndHash(*rods, 300, 2e-3), rodRuns[seed - 1]) << "rod scene " << seed;
    }
}

// Threads of 60, 90 and 120 segments released from a slight sag: their
// loops run four segments at once where the processor allows, and must
// give the bits of the plain build (the Windows build has no such clones
// and checks the same hash).
TEST(GoldenHashes, ThreadsReleasedFromASag) {
    auto w = EmptyScene();
    w->Params.FieldScale = 10000;
    for (int k = 0; k < 3; ++k) {
        AddLaval(*w, {k * 1.5, 0});
        ASSERT_TRUE(CreateThread(*w, k + 1, {k * 1.5 + 0.15, -0.55 - 0.3 * k}, 0.6 + 0.3 * k).Ok());
    }
    EXPECT_EQ(RunAndHash(*w, 300, 1e-3), 5260969281492092400ull);
}

}  // namespace
}  // namespace velo
