// The step computes some formulas in a cheaper form than they are written
// (the contact frame from the unit vector of the arm instead of an
// arctangent and a cosine and sine, the cosine and sine of an angle by a
// polynomial of our own). Each form must agree with the written one but for
// rounding: here on a million random inputs each, and over whole runs of the
// reference scenes, whose results recorded with the written forms are kept
// in literal_runs.txt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../../examples/example_scenes.h"
#include "rod_scenes.h"

namespace velo {
namespace {

using namespace velo::testing;

// The state a user sees of every ball, rod and thread, in one list.
std::vector<double> Observed(const World& w) {
    std::vector<double> values;
    auto add = [&](Vec2 v) {
        values.push_back(v.X);
        values.push_back(v.Y);
    };
    for (int n = 1; n <= w.BallCount; ++n) {
        const Ball& b = w.Balls[n];
        add(b.Position);
        add(b.Velocity);
        values.push_back(b.Omega);
        values.push_back(b.Phi);
    }
    for (int n = 1; n <= w.PegCount; ++n) {
        const Peg& r = w.Pegs[n];
        add(r.Position);
        add(r.Velocity);
        values.push_back(r.Omega);
        values.push_back(r.Phi);
    }
    for (int n = 1; n <= w.ThreadCount; ++n) {
        const Thread& t = w.Threads[n];
        for (int k = 0; k <= t.SegmentCount; ++k) add(t.Points[static_cast<std::size_t>(k)]);
    }
    return values;
}

struct ReferenceRun {
    std::string Name;
    std::vector<double> Values;
};

std::vector<double> Run(std::unique_ptr<World> world, int steps, double dt) {
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < steps; ++k) {
        if (!MechanicalStep(*world, dt, messenger, context)) break;
    }
    return Observed(*world);
}

// The runs of the golden hashes: every example scene for 2 s, the random
// ball and rod scenes for 300 steps.
std::vector<ReferenceRun> ReferenceRuns() {
    std::vector<ReferenceRun> runs;
    for (const ExampleScene& scene : ExampleScenes()) {
        auto world = std::make_unique<World>();
        BuildExample(*world, scene);
        runs.push_back({scene.FileName, Run(std::move(world), 2000, 1e-3)});
    }
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        runs.push_back({"balls" + std::to_string(seed), Run(RandomScene(seed), 300, 2e-3)});
        runs.push_back({"rods" + std::to_string(seed), Run(RandomRodScene(seed), 300, 2e-3)});
    }
    return runs;
}

const char* const LiteralRunsFile = VELO_SOURCE_DIR "/tests/engine/literal_runs.txt";

TEST(FormulaAgreement, ReferenceScenesAgreeWithTheWrittenFormulasOverTheirRuns) {
    const std::vector<ReferenceRun> runs = ReferenceRuns();
    if (std::getenv("VELO_RECORD_LITERAL_RUNS") != nullptr) {
        std::ofstream out(LiteralRunsFile);
        out.precision(17);
        for (const ReferenceRun& run : runs) {
            out << run.Name << ' ' << run.Values.size();
            for (double v : run.Values) out << ' ' << v;
            out << '\n';
        }
        GTEST_SKIP() << "recorded " << LiteralRunsFile;
    }
    std::ifstream in(LiteralRunsFile);
    ASSERT_TRUE(in) << LiteralRunsFile;
    for (const ReferenceRun& run : runs) {
        std::string name;
        std::size_t count = 0;
        in >> name >> count;
        ASSERT_EQ(name, run.Name);
        ASSERT_EQ(count, run.Values.size()) << name;
        double worst = 0;
        for (std::size_t k = 0; k < count; ++k) {
            double recorded = 0;
            in >> recorded;
            const double difference = std::fabs(run.Values[k] - recorded) / (1 + std::fabs(recorded));
            if (!(difference <= worst)) worst = difference;
        }
        EXPECT_LE(worst, 1e-9) << name;
    }
}

}  // namespace
}  // namespace velo
