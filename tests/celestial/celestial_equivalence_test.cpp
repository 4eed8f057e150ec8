// The celestial step groups its sums for speed. It must keep the contact
// verdicts and the messages of the written order exactly, agree with its
// sums to 1e-12 in a step and run the same to 1e-9 over long runs; its
// vector kernels must agree with the plain one to the bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "celestial/celestial_pairs.h"
#include "celestial/celestial_step.h"
#include "celestial_scenes.h"
#include "engine/step_scenes.h"
#include "written_celestial_step.h"

namespace velo {
namespace {

using testing::CelestialScene;
using testing::PlaceBody;
using testing::RandomCluster;
using testing::RecordingMessenger;
using testing::WrittenCelestialStep;

double Norm(const Vec3& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }
double Distance(const Vec3& a, const Vec3& b) { return Norm({a.X - b.X, a.Y - b.Y, a.Z - b.Z}); }

// Scenes with the awkward cases among ordinary ones: deleted and immovable
// bodies, overlapping and touching pairs, a body inside another, two
// bodies of no size at one point, and counts that do not fill the groups
// of the vector kernels.
struct SceneCase {
    const char* Name;
    int Count;
    std::uint64_t Seed;
    bool Awkward;
};

const SceneCase Scenes[] = {
    {"one body", 1, 1, false},
    {"three bodies", 3, 2, false},
    {"nine bodies", 9, 3, false},
    {"fifty bodies", 50, 4, false},
    {"full table", 200, 5, false},
    {"seventeen awkward", 17, 6, true},
    {"full awkward table", 200, 7, true},
};

std::unique_ptr<World> Build(const SceneCase& c) {
    auto world = RandomCluster(c.Count, c.Seed);
    if (c.Awkward) {
        auto body = [&](int n) -> HBody& { return world->HBodies[static_cast<std::size_t>(n)]; };
        body(2).Exists = false;
        body(5).Movable = false;
        body(4).Position = body(3).Position;  // overlap
        body(4).Position.X += body(3).Radius;
        body(6).Position = body(7).Position;  // no size, one point
        body(6).Radius = body(7).Radius = 0;
        body(8).Position = body(9).Position;  // inside
        body(8).Radius = 10 * body(9).Radius;
    }
    return world;
}

TEST(CelestialPairKernels, AllKernelsGiveTheSameSumsToTheBit) {
    std::string tried = "plain";
    for (const SceneCase& c : Scenes) {
        SCOPED_TRACE(c.Name);
        const auto world = Build(c);
        BodyLanes plain;
        GatherBodies(*world, plain);
        const int plainContact = PairSums(plain, PairKernel::Plain);
        for (const PairKernel kernel : {PairKernel::TwoLanes, PairKernel::FourLanes, PairKernel::EightLanes}) {
            if (!PairKernelAvailable(kernel)) continue;
            SCOPED_TRACE(static_cast<int>(kernel));
            if (c.Seed == 1) tried += ", " + std::to_string(1 << static_cast<int>(kernel)) + " lanes";
            BodyLanes lanes;
            GatherBodies(*world, lanes);
            EXPECT_EQ(PairSums(lanes, kernel), plainContact);
            for (std::size_t k = 0; k < static_cast<std::size_t>(plain.Count); ++k) {
                EXPECT_EQ(std::bit_cast<std::uint64_t>(lanes.SumX[k]), std::bit_cast<std::uint64_t>(plain.SumX[k]));
                EXPECT_EQ(std::bit_cast<std::uint64_t>(lanes.SumY[k]), std::bit_cast<std::uint64_t>(plain.SumY[k]));
                EXPECT_EQ(std::bit_cast<std::uint64_t>(lanes.SumZ[k]), std::bit_cast<std::uint64_t>(plain.SumZ[k]));
            }
        }
    }
    RecordProperty("kernels", tried);
}

void ExpectSameVerdicts(const World& fast, const World& written) {
    for (int n = 1; n <= written.HBodyCount; ++n)
        EXPECT_EQ(fast.HBodies[static_cast<std::size_t>(n)].Selected,
                  written.HBodies[static_cast<std::size_t>(n)].Selected)
            << "body " << n;
    EXPECT_EQ(fast.T, written.T);
    EXPECT_EQ(fast.Params.StepCounter, written.Params.StepCounter);
}

TEST(CelestialStepEquivalence, OneStepAgreesWithTheWrittenOrder) {
    for (const SceneCase& c : Scenes) {
        SCOPED_TRACE(c.Name);
        auto fast = Build(c);
        if (c.Awkward) {
            // The step would stop at the contacts: move the contacts apart
            // for the sums, and check the verdicts on the scene as built.
            auto stoppedFast = Build(c);
            auto stoppedWritten = Build(c);
            RecordingMessenger fastMessages, writtenMessages;
            EXPECT_FALSE(CelestialStep(*stoppedFast, 100, fastMessages));
            EXPECT_FALSE(WrittenCelestialStep(*stoppedWritten, 100, writtenMessages));
            ASSERT_EQ(fastMessages.Shown.size(), 1u);
            ASSERT_EQ(writtenMessages.Shown.size(), 1u);
            EXPECT_EQ(fastMessages.Shown[0].Text, writtenMessages.Shown[0].Text);
            ExpectSameVerdicts(*stoppedFast, *stoppedWritten);
            for (const int n : {3, 6, 8}) fast->HBodies[static_cast<std::size_t>(n)].Position.Y += 2e10;
        }
        auto written = std::make_unique<World>(*fast);
        RecordingMessenger messages;
        ASSERT_TRUE(CelestialStep(*fast, 100, messages)) << messages.Shown.back().Text;
        ASSERT_TRUE(WrittenCelestialStep(*written, 100, messages));
        ExpectSameVerdicts(*fast, *written);
        for (int n = 1; n <= written->HBodyCount; ++n) {
            const HBody& f = fast->HBodies[static_cast<std::size_t>(n)];
            const HBody& w = written->HBodies[static_cast<std::size_t>(n)];
            const double a = Norm(w.Acceleration);
            EXPECT_LE(Distance(f.Acceleration, w.Acceleration), 1e-12 * a) << "body " << n;
            EXPECT_LE(Distance(f.Velocity, w.Velocity), 1e-12 * (Norm(w.Velocity) + a * 100)) << "body " << n;
            EXPECT_LE(Distance(f.Position, w.Position), 1e-12 * Norm(w.Position)) << "body " << n;
        }
    }
}

struct LongRun {
    const char* Name;
    std::unique_ptr<World> Scene;
    double Dt;
    double Size;   // positions agree to 1e-9 of it
    double Speed;  // velocities agree to 1e-9 of it
};

TEST(CelestialStepEquivalence, LongRunsStayWithTheWrittenOrder) {
    std::vector<LongRun> runs;
    {
        // Sun and Earth-like pair, about a tenth of an orbit.
        auto world = CelestialScene();
        PlaceBody(*world, {0, 0, -3e11}, {0, 0, 0}, 7e8, 2e30);
        PlaceBody(*world, {1.5e11, 0, -3e11}, {0, 0, 29800}, 6.4e6, 6e24);
        runs.push_back({"two bodies", std::move(world), 300, 1.5e11, 29800});
    }
    // Fifty bodies of up to 1e28 kg in a ball of 1e11 m, about as fast as
    // they would escape: 10000 steps of 1000 s are a crossing time.
    runs.push_back({"fifty bodies", RandomCluster(50, 11, 1e11, 1e28), 1000, 1e11, 1e4});
    for (LongRun& run : runs) {
        SCOPED_TRACE(run.Name);
        auto written = std::make_unique<World>(*run.Scene);
        RecordingMessenger messages;
        for (int k = 0; k < 10000; ++k) {
            ASSERT_TRUE(CelestialStep(*run.Scene, run.Dt, messages)) << "step " << k;
            ASSERT_TRUE(WrittenCelestialStep(*written, run.Dt, messages)) << "step " << k;
        }
        double positionGap = 0, velocityGap = 0;
        for (int n = 1; n <= written->HBodyCount; ++n) {
            const HBody& f = run.Scene->HBodies[static_cast<std::size_t>(n)];
            const HBody& w = written->HBodies[static_cast<std::size_t>(n)];
            positionGap = std::max(positionGap, Distance(f.Position, w.Position));
            velocityGap = std::max(velocityGap, Distance(f.Velocity, w.Velocity));
        }
        EXPECT_LE(positionGap, 1e-9 * run.Size);
        EXPECT_LE(velocityGap, 1e-9 * run.Speed);
        RecordProperty(std::string(run.Name) + " position gap", std::to_string(positionGap / run.Size));
    }
}

}  // namespace
}  // namespace velo
