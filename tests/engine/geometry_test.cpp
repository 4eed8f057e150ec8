#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "engine/curves.h"
#include "engine/geometry.h"

namespace velo {
namespace {

constexpr double pi = std::numbers::pi;

TEST(Geometry, PolarAngleCoversEveryQuadrantInZeroToTwoPi) {
    struct Case { Vec2 v; double angle; };
    const Case cases[] = {
        {{1, 0}, 0},          {{1, 1}, pi / 4},      {{0, 1}, pi / 2},   {{-1, 1}, 3 * pi / 4},
        {{-1, 0}, pi},        {{-1, -1}, 5 * pi / 4}, {{0, -1}, 3 * pi / 2}, {{1, -1}, 7 * pi / 4},
        {{0, 0}, pi / 2},     {{1, -0.0}, 0},
    };
    for (const Case& c : cases) {
        const double angle = PolarAngle(c.v);
        EXPECT_NEAR(angle, c.angle, 1e-15) << c.v.X << "," << c.v.Y;
        EXPECT_GE(angle, 0);
        EXPECT_LT(angle, 2 * pi);
    }
}

TEST(Geometry, ContactFramePutsTheArmAlongMinusY) {
    for (Vec2 arm : {Vec2{0, -1}, Vec2{3, 4}, Vec2{-2, 0.5}, Vec2{-1, -7}}) {
        const double frame = ContactFrameAngle(arm);
        const Vec2 local = ToContactFrame(arm, frame);
        EXPECT_NEAR(local.X, 0, 1e-14);
        EXPECT_NEAR(local.Y, -Magnitude(arm), 1e-14);
        const Vec2 back = FromContactFrame(local, frame);
        EXPECT_NEAR(back.X, arm.X, 1e-14);
        EXPECT_NEAR(back.Y, arm.Y, 1e-14);
    }
    EXPECT_EQ(UnitVector({0, 0}), (Vec2{0, 0}));
    EXPECT_EQ(Perpendicular({2, 3}), (Vec2{-3, 2}));
}

// The contact code turns several vectors with one cosine and sine; that
// must give the very bits of turning each by the angle.
TEST(Geometry, FrameTurnGivesTheBitsOfTurningByTheAngle) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> angle(-20, 20);
    std::uniform_real_distribution<double> coordinate(-1e3, 1e3);
    auto same = [](Vec2 a, Vec2 b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    };
    for (int k = 0; k < 200000; ++k) {
        const double a = k % 7 == 0 ? ContactFrameAngle({coordinate(random), coordinate(random)}) : angle(random);
        const Vec2 v{coordinate(random), k % 5 == 0 ? 0.0 : coordinate(random)};
        const FrameTurn turn = TurnOf(a);
        ASSERT_TRUE(same(ToContactFrame(v, turn), ToContactFrame(v, a))) << a;
        ASSERT_TRUE(same(FromContactFrame(v, turn), FromContactFrame(v, a))) << a;
        ASSERT_TRUE(same(ToContactFrame(v, turn), Rotate(v, -a))) << a;
    }
}

// The foot test skips its roots for feet clearly beyond an end; the flag
// must be that of the written test for every foot, near the ends above all.
TEST(Geometry, FootOnSegmentFlagIsThatOfTheWrittenTest) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> coordinate(-50, 50);
    std::uniform_real_distribution<double> unit(0, 1);
    int near = 0;
    for (int k = 0; k < 400000; ++k) {
        const Vec2 a{coordinate(random), coordinate(random)};
        Vec2 b{coordinate(random), coordinate(random)};
        if (k % 9 == 0) b.X = a.X;  // vertical segments take the other branch
        if (k % 31 == 0) b = a;     // and segments of no length
        const double tolerance = std::pow(10.0, -1 - 6 * unit(random));
        // Feet spread over the segment and just beyond its ends.
        const double t = k % 2 == 0 ? -0.5 + 2 * unit(random) : (k % 4 == 1 ? 1 : 0) + (unit(random) - 0.5) * 4 * tolerance;
        const Vec2 side{-(b - a).Y, (b - a).X};
        const Vec2 p = a + (b - a) * t + side * (unit(random) - 0.5);
        const SegmentFoot foot = FootOnSegment(p, a, b, tolerance);
        const bool written = Distance(a, foot.Point) + Distance(foot.Point, b) - Distance(a, b) < tolerance;
        ASSERT_EQ(foot.OnSegment, written) << k;
        near += std::fabs(Distance(a, foot.Point) + Distance(foot.Point, b) - Distance(a, b) - tolerance) < tolerance;
    }
    EXPECT_GT(near, 10000);  // many feet fall near the threshold
}

TEST(Geometry, FootOnSegmentAndItsToleranceOfOneFieldPoint) {
    const double tolerance = OnSegmentTolerance(1000);  // field points of 0.001
    SegmentFoot f = FootOnSegment({1, 5}, {0, 0}, {2, 0}, tolerance);
    EXPECT_EQ(f.Point, (Vec2{1, 0}));
    EXPECT_TRUE(f.OnSegment);
    // Just beyond an end: within a field point it still counts.
    EXPECT_TRUE(FootOnSegment({2.0009, 1}, {0, 0}, {2, 0}, tolerance).OnSegment);
    EXPECT_FALSE(FootOnSegment({2.002, 1}, {0, 0}, {2, 0}, tolerance).OnSegment);
    // A vertical segment gives (xA, yP).
    f = FootOnSegment({3, 1.5}, {1, 0}, {1, 2}, tolerance);
    EXPECT_EQ(f.Point, (Vec2{1, 1.5}));
    EXPECT_TRUE(f.OnSegment);
}

TEST(Geometry, ClosedPolylineMeetsItsClosingEdge) {
    const Vec2 square[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const Vec2 p{-0.2, 0.5};  // beside the edge from the last vertex back to the first
    const Vec2 open = NearestPointOfPolyline(square, 4, false, p, 0.002);
    const Vec2 closed = NearestPointOfPolyline(square, 4, true, p, 0.002);
    EXPECT_GT(Distance(open, p), 0.5);
    EXPECT_NEAR(closed.X, 0, 1e-15);
    EXPECT_NEAR(closed.Y, 0.5, 1e-15);
}

TEST(Geometry, PolylineTiesKeepTheEarlierCandidate) {
    const Vec2 line[] = {{-1, 0}, {0, 1}, {1, 0}};
    // Equidistant from both feet: the first segment's foot wins.
    const Vec2 q = NearestPointOfPolyline(line, 3, false, {0, 0}, 0.002);
    EXPECT_LT(q.X, 0);
}

TEST(Cubic, RootsOfEveryShape) {
    struct Case { double c3, c2, c1, c0; std::vector<double> roots; };
    const std::vector<Case> cases = {
        {1, -6, 11, -6, {1, 2, 3}},   // three real roots (trigonometric form)
        {1, 0, 1, -2, {1}},           // one real root (Cardano)
        {1, -3, 3, -1, {1}},          // triple root
        {1, 0, -3, 2, {-2, 1}},       // double root at 1
        {0, 1, -3, 2, {1, 2}},        // quadratic
        {0, 0, 2, -1, {0.5}},         // linear
        {0, 1, 0, 1, {}},             // no real root
        {2, 0, 0, 0, {0}},
    };
    for (const Case& c : cases) {
        double roots[3];
        const int count = RealRootsOfCubic(c.c3, c.c2, c.c1, c.c0, roots);
        ASSERT_EQ(count, static_cast<int>(c.roots.size())) << c.c3 << " " << c.c2 << " " << c.c1 << " " << c.c0;
        for (int k = 0; k < count; ++k) EXPECT_NEAR(roots[k], c.roots[k], 1e-7);
    }
}

double BruteForceDistance(const Surface2& curve, Vec2 p) {
    double best = 1e300;
    const int samples = 100000;
    for (int k = 0; k <= samples; ++k) {
        const double t = curve.TFrom + (curve.TTo - curve.TFrom) * k / samples;
        best = std::min(best, Distance(CurvePoint(curve, t), p));
    }
    return best;
}

Surface2 Curve(std::uint8_t kind, double a, double b, double from, double to, double rotation = 0.3) {
    Surface2 s;
    s.SurfaceKind = kind;
    s.Centre = {0.5, -0.25};
    s.Rotation = rotation;
    s.ParamA = a;
    s.ParamB = b;
    s.TFrom = from;
    s.TTo = to;
    return s;
}

// The found point lies on the arc and is as near as the densest search.
TEST(CurveNearestPoint, MatchesBruteForceForAllThreeKinds) {
    const Surface2 curves[] = {
        Curve(Parabola, 0.5, 1, -2, 2),        Curve(Parabola, 2, 0.3, -1, 3),
        Curve(Hyperbola, 1, 0.5, -2, 2),       Curve(Hyperbola, 0.4, 2, -1.5, 0.5),
        Curve(Ellipse, 3, 1, 0, 2 * pi),       Curve(Ellipse, 1, 2.5, -1, 2),
        Curve(Ellipse, 2, 2, 0.5, 4.5),        Curve(Ellipse, 5, 0.5, 0, 20, -1.1),
    };
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-4, 4);
    for (const Surface2& curve : curves) {
        for (int trial = 0; trial < 25; ++trial) {
            const Vec2 p{coordinate(random), coordinate(random)};
            const Vec2 q = NearestPointOfCurve(curve, p);
            const double brute = BruteForceDistance(curve, p);
            EXPECT_LE(Distance(q, p), brute + 1e-9)
                << "kind " << int(curve.SurfaceKind) << " p " << p.X << "," << p.Y;
            EXPECT_GE(Distance(q, p), brute - 1e-4);  // q is a point of the arc
        }
    }
}

// The parabola's own foot condition would put the nearest point of a circle
// anywhere: the centre of a circle is equidistant from all of it.
TEST(CurveNearestPoint, EllipseDoesNotUseTheParabolaCubic) {
    const Surface2 circle = Curve(Ellipse, 1, 1, 0, 2 * pi, 0);
    const Vec2 p{0.5 + 2, -0.25 + 2};
    const Vec2 q = NearestPointOfCurve(circle, p);
    EXPECT_NEAR(q.X, 0.5 + std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(q.Y, -0.25 + std::sqrt(0.5), 1e-9);
}

TEST(CurveBounds, EnclosesTheWholeArc) {
    const Surface2 curves[] = {Curve(Parabola, 0.5, 1, -2, 2), Curve(Hyperbola, 1, -0.5, -1, 2),
                               Curve(Ellipse, 3, 1, 1, 4), Curve(Ellipse, -2, 1, -7, -3, 2)};
    for (const Surface2& curve : curves) {
        const BoundingBox box = CurveBounds(curve);
        for (int k = 0; k <= 1000; ++k) {
            const Vec2 q = CurvePoint(curve, curve.TFrom + (curve.TTo - curve.TFrom) * k / 1000);
            EXPECT_GE(q.X, box.Min.X - 1e-12);
            EXPECT_LE(q.X, box.Max.X + 1e-12);
            EXPECT_GE(q.Y, box.Min.Y - 1e-12);
            EXPECT_LE(q.Y, box.Max.Y + 1e-12);
        }
    }
}

}  // namespace
}  // namespace velo
