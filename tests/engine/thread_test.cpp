// The thread phase and the creation of a thread on a hanging-chain curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "engine/chain_layout.h"
#include "engine/geometry.h"
#include "engine/rod_scenes.h"
#include "engine/thread_phase.h"

namespace velo::testing {
namespace {

constexpr double pi = std::numbers::pi;

// A straight thread of n equal segments from `top` in direction `phi` (one
// segment per 100 field points: FieldScale 10000 gives 100 per length unit).
Thread& StraightThread(World& w, Vec2 top, double phi, double length, int n) {
    w.Params.FieldScale = 10000;
    AddLaval(w, top);
    const NewObjectResult r = CreateThread(w, w.LavalCount, top + Vec2{std::cos(phi), std::sin(phi)} * length);
    EXPECT_TRUE(r.Ok());
    Thread& t = w.Threads[r.Number];
    EXPECT_EQ(t.SegmentCount, n);
    return t;
}

TEST(ThreadPhase, ThreadHangingAtRestStaysAtRest) {
    auto w = EmptyScene();
    StepContext context;
    Thread& t = StraightThread(*w, {0, 1}, -pi / 2, 0.5, 50);
    const auto start = t.Points;
    for (int i = 0; i < 2000; ++i) FullStep(*w, 0.001, context);
    for (int k = 0; k <= t.SegmentCount; ++k) {
        EXPECT_NEAR(t.Points[k].X, start[k].X, 1e-12);
        EXPECT_NEAR(t.Points[k].Y, start[k].Y, 1e-12);
    }
    // Each joint carries the weight of the thread below it.
    EXPECT_NEAR(t.SegmentForce[0].Y, -9.81 * t.LinearDensity * 0.5, 1e-12);
}

TEST(ThreadPhase, StraightThreadReleasedHorizontallyTurnsAsOneAboutItsPoint) {
    auto w = EmptyScene();
    StepContext context;
    Thread& t = StraightThread(*w, {0, 0}, 0, 0.3, 30);
    double phi = 0, lowest = 0;
    for (int i = 0; i < 200; ++i) {
        phi = t.SegmentPhi[1];
        lowest = std::min(lowest, phi);
        FullStep(*w, 0.001, context);
        for (int k = 2; k <= t.SegmentCount; ++k) EXPECT_NEAR(t.SegmentPhi[k], t.SegmentPhi[1], 1e-9);
    }
    EXPECT_EQ(t.Points[0], (Vec2{0, 0}));
    // It swings down as one straight line (through the vertical, since
    // each short segment turns as fast as a bar of its own length would).
    EXPECT_LT(lowest, -pi / 2);
    // The pull passed along a straight thread has no normal part: every
    // segment turns like a lone bar about its upper end under its own weight.
    const double l = t.SegmentLength[1];
    for (int k = 1; k <= t.SegmentCount; ++k)
        EXPECT_NEAR(t.SegmentEpsilon[k], -3 * 9.81 / (2 * l) * std::cos(phi), 1e-6);
    EXPECT_NEAR(Distance(t.Points[t.SegmentCount], t.Points[0]), 0.3, 1e-9);
}

TEST(ThreadPhase, SaggingThreadStraightensFromTheTop) {
    auto w = EmptyScene();
    StepContext context;
    AddLaval(*w, {0, 0});
    const NewObjectResult r = CreateThread(*w, 1, {0.4, 0}, 0.6);
    ASSERT_TRUE(r.Ok());
    Thread& t = w->Threads[r.Number];
    const int n = t.SegmentCount;
    const std::vector<double> lengths(t.SegmentLength.begin() + 1, t.SegmentLength.begin() + n + 1);
    for (int i = 0; i < 300; ++i) FullStep(*w, 0.001, context);
    for (int k = 1; k <= n; ++k) EXPECT_NEAR(t.SegmentLength[k], lengths[k - 1], 1e-12);
    for (int k = 0; k <= n; ++k) EXPECT_TRUE(std::isfinite(t.Points[k].X) && std::isfinite(t.Points[k].Y));
}

TEST(ThreadPhase, ThreadOfNoDensityStaysFinite) {
    auto w = EmptyScene();
    StepContext context;
    Thread& t = StraightThread(*w, {0, 0}, 0.2, 0.2, 20);
    t.LinearDensity = 0;
    for (int i = 0; i < 100; ++i) FullStep(*w, 0.001, context);
    for (int k = 1; k <= t.SegmentCount; ++k) EXPECT_TRUE(std::isfinite(t.SegmentEpsilon[k]));
}

// The thread phase written out term by term as the rule reads: every
// segment's length, angular acceleration and passed-on force must agree
// with it but for rounding.
void ReferenceThreadStep(const World& w, Thread& t) {
    const int n = t.SegmentCount;
    const double rho = t.LinearDensity;
    const Vec2 gravity{0, -w.Params.Gravity};
    t.SegmentForce[n] = {0, 0};
    for (int k = n; k >= 1; --k) {
        const Vec2 d = t.Points[k] - t.Points[k - 1];
        const double length = Magnitude(d);
        t.SegmentLength[k] = length;
        if (length == 0) {
            t.SegmentForce[k - 1] = t.SegmentForce[k];
            continue;
        }
        const Vec2 q = Perpendicular(d) / length;
        const Vec2 force = t.SegmentForce[k];
        const Vec2 pull = rho > 0 ? force * 3 / (rho * length * length) : Vec2{};
        t.SegmentEpsilon[k] = Dot(q, pull + gravity * 3 / (2 * length));
        const Vec2 along = d / length;
        t.SegmentForce[k - 1] = along * Dot(force + gravity * (rho * length), along);
    }
}

TEST(ThreadPhase, AgreesWithTheRuleTermByTerm) {
    // A million segments of random bent threads: lengths alike to the bit,
    // accelerations to 1e-12 of the terms they sum, passed-on forces to
    // 1e-12 of the weight below the joint.
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> step(-0.02, 0.02);
    auto w = EmptyScene();
    StraightThread(*w, {0, 1}, -pi / 3, 5, 500);
    int failures = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        w->Params.Gravity = trial % 5 == 0 ? -9.81 : 9.81;
        Thread& t = w->Threads[1];
        t.LinearDensity = trial % 7 == 0 ? 0 : std::uniform_real_distribution<double>(1e-4, 10)(random);
        for (int k = 1; k <= t.SegmentCount; ++k) t.Points[k] = t.Points[k - 1] + Vec2{step(random), step(random)};
        if (trial % 3 == 0) t.Points[5] = t.Points[4];  // a segment of no length
        Thread r = t;
        ThreadPhase(*w, 0.001);
        ReferenceThreadStep(*w, r);
        // A joint's force is at most the weight of the thread below it.
        double weightBelow = 0;
        for (int k = t.SegmentCount; k >= 1; --k) {
            const double length = r.SegmentLength[k];
            weightBelow += std::fabs(w->Params.Gravity) * r.LinearDensity * length;
            const double terms =
                length > 0 ? (r.LinearDensity > 0 ? 3 * Magnitude(r.SegmentForce[k]) / (r.LinearDensity * length * length) : 0) +
                                 3 * std::fabs(w->Params.Gravity) / (2 * length)
                           : 0;
            if (t.SegmentLength[k] != length || std::fabs(t.SegmentEpsilon[k] - r.SegmentEpsilon[k]) > 1e-12 * terms ||
                Magnitude(t.SegmentForce[k - 1] - r.SegmentForce[k - 1]) > 1e-12 * weightBelow)
                ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(ChainLayout, SegmentCountFollowsTheFieldAndStopsAt512) {
    EXPECT_EQ(ThreadSegmentCountFor(0.2, 1000), 10);
    EXPECT_EQ(ThreadSegmentCountFor(1.55, 1000), 15);
    EXPECT_EQ(ThreadSegmentCountFor(51.1, 1000), 511);
    EXPECT_EQ(ThreadSegmentCountFor(100, 1000), 512);
    EXPECT_EQ(ThreadSegmentCountFor(1e300, 1e300), 512);
}

TEST(ChainLayout, JointsLieOnAHangingChainEqualArcsApartWithTheEndsKept) {
    struct Case {
        Vec2 first, second;
        double length;
        int n;
        double gravity;
        double spread;  // chords of equal arcs differ where the chain bends sharply
    } cases[] = {
        {{1, 0}, {0, 0}, 1.5, 40, 9.81, 2e-3},       // first end right of the second
        {{0, 0}, {1, 0}, 1.5, 40, 9.81, 2e-3},       // first end left
        {{0, 0.5}, {2, -0.3}, 3, 100, 9.81, 2e-3},   // ends at different heights
        {{0, 0}, {1, 0.2}, 1.2, 64, -9.81, 2e-3},    // gravity upwards
        {{0, 0}, {0.5, 0}, 20, 512, 9.81, 0.03},     // deep sag
        {{0, 0}, {1, 0}, 1.0000001, 30, 9.81, 1e-6}, // nearly straight
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::vector<Vec2> p(c.n + 1);
        LayOutHangingChain(c.first, c.second, c.length, c.n, c.gravity, p.data());
        EXPECT_EQ(p[0], c.first);
        EXPECT_EQ(p[c.n], c.second);
        double total = 0, shortest = 1e9, longest = 0;
        for (int k = 1; k <= c.n; ++k) {
            const double d = Distance(p[k], p[k - 1]);
            total += d;
            shortest = std::min(shortest, d);
            longest = std::max(longest, d);
        }
        EXPECT_NEAR(total, c.length, c.length * std::max(2e-3, c.spread));
        EXPECT_LT((longest - shortest) / longest, c.spread);
        // The chain sags towards the field, and every joint lies between the
        // ends in X.
        const double middleY = p[c.n / 2].Y;
        const double chordY = (c.first.Y + c.second.Y) / 2;
        if (c.length > Distance(c.first, c.second) * 1.01) {
            if (c.gravity > 0) EXPECT_LT(middleY, chordY);
            else EXPECT_GT(middleY, chordY);
        }
    }
}

TEST(ChainLayout, ChainNoLongerThanItsEndsIsStraight) {
    std::vector<Vec2> p(11);
    LayOutHangingChain({0, 0}, {3, 4}, 5, 10, 9.81, p.data());
    for (int k = 0; k <= 10; ++k) {
        EXPECT_NEAR(p[k].X, 0.3 * k, 1e-12);
        EXPECT_NEAR(p[k].Y, 0.4 * k, 1e-12);
    }
}

TEST(ThreadCreation, MakesACompleteThreadOrSaysWhyNot) {
    auto w = EmptyScene();
    StepContext context;
    NewObjectResult refused = CreateThread(*w, 1, {0, 0});
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(refused.Message, NoLavalMessage);
    EXPECT_EQ(w->ThreadCount, 0);

    AddLaval(*w, {5, 5});
    AddLaval(*w, {0, 1});
    const NewObjectResult r = CreateThread(*w, 0, {0, 0.2});  // nearest point, straight below
    ASSERT_TRUE(r.Ok());
    const Thread& t = w->Threads[r.Number];
    EXPECT_EQ(t.FirstEndLaval, 2);
    EXPECT_TRUE(t.Exists);
    EXPECT_EQ(t.SegmentCount, 10);
    EXPECT_EQ(t.Points[0], (Vec2{0, 1}));
    // Same X: the free end moves a tenth of a pixel to the right.
    EXPECT_DOUBLE_EQ(t.Points[10].X, 10.0 / 1000 / 10);
    EXPECT_GT(t.LinearDensity, 0);
    EXPECT_DOUBLE_EQ(t.LinearDensity, 7800 * pi / 4 * ThreadDiameter * ThreadDiameter);
    double sum = 0;
    for (int k = 1; k <= 10; ++k) {
        sum += t.SegmentLength[k];
        EXPECT_EQ(t.SegmentOmega[k], 0);
    }
    EXPECT_DOUBLE_EQ(t.Length, sum);

    for (int k = w->ThreadCount; k < ThreadCapacity; ++k) ASSERT_TRUE(CreateThread(*w, 2, {1, 0}).Ok());
    EXPECT_FALSE(CreateThread(*w, 2, {1, 0}).Ok());
    EXPECT_EQ(w->ThreadCount, ThreadCapacity);
}

}  // namespace
}  // namespace velo::testing
