// The step computes some formulas in a cheaper form than they are written
// (the contact frame from the unit vector of the arm instead of an
// arctangent and a cosine and sine, reciprocals taken once per ball, the
// direction of a thread segment from our own cosine and sine). Each
// form must agree with the written one but for rounding: here on a million
// random inputs each, and over whole runs of the reference scenes, whose
// results recorded with the written forms are kept in literal_runs.txt.
// A change of the rules themselves records them again: run this test with
// VELO_RECORD_LITERAL_RUNS set, on the code with the written forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../../examples/example_scenes.h"
#include "engine/ball_contacts.h"
#include "engine/contact_response.h"
#include "engine/cos_sin.h"
#include "engine/chain_layout.h"
#include "engine/geometry.h"
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

// Three threads of 60, 90 and 120 segments released from a slight sag a
// little off the vertical. The thread rule multiplies a difference of one
// unit in the last place about 1e13-fold in 0.3 s, so two correct ways of
// rounding can only be compared over the first 0.05 s.
std::unique_ptr<World> ThreadScene() {
    auto w = EmptyScene();
    w->Params.FieldScale = 10000;
    for (int k = 0; k < 3; ++k) {
        AddLaval(*w, {k * 1.5, 0});
        CreateThread(*w, k + 1, {k * 1.5 + 0.15, -0.55 - 0.3 * k}, 0.6 + 0.3 * k);
    }
    return w;
}

// The runs of the golden hashes: every example scene for 2 s, the random
// ball and rod scenes for 300 steps; and threads for 50 steps.
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
    runs.push_back({"threads", Run(ThreadScene(), 50, 1e-3)});
    return runs;
}

TEST(FormulaAgreement, ContactFrameFromTheArmDirectionAgreesWithItsPolarAngle) {
    // The frame turns velocities and impulses: the turned vectors agree to
    // 1e-12 of their length, for arms of every direction and size.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1, 1);
    int failures = 0;
    for (int k = 0; k < 1000000; ++k) {
        const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-8, 4)(random));
        Vec2 arm{unit(random) * scale, unit(random) * scale};
        if (k % 10 == 0) arm.X = 0;  // the vertical arms of the written rule
        if (k % 10 == 1) arm.Y = 0;
        const Vec2 v{unit(random), unit(random)};
        const double angle = ContactFrameAngle(arm);
        const Vec2 written = ToContactFrame(v, angle);
        const FrameTurn cheaper = TurnOfArm(arm);
        const Vec2 turned = ToContactFrame(v, cheaper);
        const Vec2 back = FromContactFrame(v, cheaper);
        const Vec2 writtenBack = FromContactFrame(v, angle);
        if (Magnitude(turned - written) > 1e-12 * Magnitude(v) || Magnitude(back - writtenBack) > 1e-12 * Magnitude(v))
            ++failures;
    }
    EXPECT_EQ(failures, 0);
    // The zero arm takes the frame of the polar angle pi/2.
    const Vec2 v{0.3, -0.7};
    EXPECT_LT(Magnitude(ToContactFrame(v, TurnOfArm({0, 0})) - ToContactFrame(v, ContactFrameAngle({0, 0}))), 1e-15);
}

// The pair contact exactly as the rule is written (polar angle of the arm,
// cosine and sine of the frame angle, every quotient as it stands), in long
// double: near a deep overlap the arm d - n Rj is a small difference of
// large numbers, and the written form in double carries more rounding than
// the cheaper one. The extended precision stands for the rule itself.
struct WrittenBall {
    long double X, Y, VX, VY, Omega;
};
void WrittenPairContact(const World& world, const Ball& ballI, const Ball& ballJ, WrittenBall& i, WrittenBall& j) {
    using Real = long double;
    constexpr Real pi = std::numbers::pi_v<long double>;
    const Real ri = ballI.Radius, rj = ballJ.Radius, mi = ballI.Mass, mj = ballJ.Mass;
    const Real ji = ballI.Inertia, jj = ballJ.Inertia;
    i = {ballI.Position.X, ballI.Position.Y, ballI.Velocity.X, ballI.Velocity.Y, ballI.Omega};
    j = {ballJ.Position.X, ballJ.Position.Y, ballJ.Velocity.X, ballJ.Velocity.Y, ballJ.Omega};
    const Real dx = j.X - i.X, dy = j.Y - i.Y;
    const Real distance = std::sqrt(dx * dx + dy * dy);
    const Real nx = dx / distance, ny = dy / distance;
    const bool inside = distance <= rj;
    const Real ax = inside ? nx : dx - nx * rj, ay = inside ? ny : dy - ny * rj;
    Real theta = ax == 0 ? (ay >= 0 ? pi / 2 : 3 * pi / 2) : std::atan(ay / ax);
    if (ax != 0 && ax < 0) theta += pi;
    else if (ax != 0 && theta < 0) theta += 2 * pi;
    const Real frame = pi / 2 + theta;
    const Real c = std::cos(frame), s = std::sin(frame);
    const Real overlap = ri + rj - distance;
    if (overlap > 0) {
        i.X -= nx * overlap * mj / (mi + mj);
        i.Y -= ny * overlap * mj / (mi + mj);
        j.X += nx * overlap * mi / (mi + mj);
        j.Y += ny * overlap * mi / (mi + mj);
    }
    // Rotation by -frame into the contact frame, by +frame back.
    const Real viX = i.VX * c + i.VY * s, viY = i.VY * c - i.VX * s;
    const Real vjX = j.VX * c + j.VY * s, vjY = j.VY * c - j.VX * s;
    const Real sliding = viX + ri * i.Omega - vjX + rj * j.Omega;
    const Real k = 1 / mi + 1 / mj + ri * ri / ji + rj * rj / jj;
    const Real m = 1 / mi + 1 / mj;
    const PairCoefficients pair = ContactPair(world, ballI.Material, ballJ.Material);
    const Real normal = -(1 + static_cast<Real>(pair.Restitution)) * (viY - vjY) / m;
    Real tangential;
    if (std::fabs(viY) >= world.Params.RouthMinSpeed) {
        tangential = -sliding / k;
        if (pair.FrictionRouth * std::fabs(normal) < std::fabs(tangential))
            tangential = pair.FrictionRouth * std::fabs(normal) * (tangential > 0 ? 1 : -1);
    } else {
        tangential = -pair.FrictionLambda * sliding / k;
    }
    const Real px = tangential * c - normal * s, py = tangential * s + normal * c;
    i.VX += px / mi;
    i.VY += py / mi;
    i.Omega += (nx * ri * py - ny * ri * px) / ji;
    j.VX -= px / mj;
    j.VY -= py / mj;
    j.Omega += (nx * rj * py - ny * rj * px) / jj;
}

TEST(FormulaAgreement, PairContactAgreesWithTheWrittenRule) {
    // Random overlapping pairs of every size, density, velocity, spin and
    // depth, with the Routh switch on both sides of its threshold. Each
    // result agrees to 1e-12 of the scale of its quantity: a place of the
    // places and radii, a velocity of the speeds of the contact points, an
    // angular velocity of its spin and those speeds over its radius.
    std::mt19937_64 random(3);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto w = EmptyScene(0);
    SetPair(*w, 1, 1, 0.5, 0.3, 0.5, 0.01);
    AddBall(*w, {0, 0}, 0.1);
    AddBall(*w, {0, 0}, 0.1);
    int failures = 0;
    for (int k = 0; k < 1000000; ++k) {
        Ball& bj = w->Balls[1];
        Ball& bi = w->Balls[2];
        for (Ball* b : {&bi, &bj}) {
            b->Radius = std::pow(10.0, uniform(-2, 0));
            b->Density = std::pow(10.0, uniform(2, 4));
            b->Velocity = {uniform(-5, 5), uniform(-5, 5)};
            b->Omega = uniform(-50, 50);
            Derive(*b);
        }
        const double reach = bi.Radius + bj.Radius;
        const double angle = uniform(-4, 4);
        bi.Position = {uniform(-1, 1), uniform(-1, 1)};
        bj.Position = bi.Position + Vec2{std::cos(angle), std::sin(angle)} * (reach * uniform(0.05, 1));
        w->Params.RouthMinSpeed = uniform(0, 5);
        const double speed = Magnitude(bi.Velocity) + Magnitude(bj.Velocity) + bi.Radius * std::fabs(bi.Omega) +
                             bj.Radius * std::fabs(bj.Omega);
        const double place = Magnitude(bi.Position) + Magnitude(bj.Position) + reach;
        WrittenBall written[2];
        WrittenPairContact(*w, bi, bj, written[0], written[1]);
        ContactWithBall(*w, 2, 1);
        for (int n = 0; n < 2; ++n) {
            const Ball& a = n == 0 ? bi : bj;
            const WrittenBall& b = written[n];
            const double spin = std::fabs(static_cast<double>(b.Omega)) + speed / a.Radius;
            const Vec2 position{static_cast<double>(b.X), static_cast<double>(b.Y)};
            const Vec2 velocity{static_cast<double>(b.VX), static_cast<double>(b.VY)};
            if (Magnitude(a.Position - position) > 1e-12 * place || Magnitude(a.Velocity - velocity) > 1e-12 * speed ||
                std::fabs(a.Omega - static_cast<double>(b.Omega)) > 1e-12 * spin)
                ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(FormulaAgreement, ThreadSegmentDirectionAgreesWithTheLibraryCosineAndSine) {
    // Angles of every size a segment reaches, and beyond the reduction's
    // range, where the library takes over; the direction's parts agree to
    // 1e-12 of its length (in fact within two units in the last place).
    std::mt19937_64 random(11);
    int failures = 0;
    for (int k = 0; k < 1000000; ++k) {
        const double size = std::pow(10.0, std::uniform_real_distribution<double>(-12, 7)(random));
        const double angle = std::uniform_real_distribution<double>(-1, 1)(random) * size;
        const Vec2 cheaper = CosSin(angle);
        if (std::fabs(cheaper.X - std::cos(angle)) > 1e-12 || std::fabs(cheaper.Y - std::sin(angle)) > 1e-12) ++failures;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(CosSin(0), (Vec2{1, 0}));
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
        EXPECT_LE(worst, 1e-9) << name << ": worst relative difference " << worst;
    }
}

}  // namespace
}  // namespace velo
