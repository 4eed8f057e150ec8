// Contacts of rods with fixed obstacles: the edge test, the contact frame,
// the strike-once rule of the contact memory and the hold that keeps a
// lasting contact from deepening.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "engine/geometry.h"
#include "engine/rod_contacts.h"
#include "engine/rod_scenes.h"

namespace velo::testing {
namespace {

constexpr double pi = std::numbers::pi;

TEST(RodEdgeTest, RodLyingAlongAnEdgeIsTouchedAtTheMiddleOfTheStretch) {
    auto w = EmptyScene();
    StepContext context;
    const int n = AddRod(*w, {1, 0.06}, 0, 1, 0.04);  // from x = 0.5 to 1.5
    const RodSegment rod = MakeRodSegment(*w, w->Pegs[n]);
    struct Case {
        Vec2 a, b;
        double middleX;
    } cases[] = {
        {{-5, 0.05}, {5, 0.05}, 1.0},   // edge longer than the rod: both ends tie
        {{1.2, 0.05}, {5, 0.05}, 1.35}, // an end and a corner tie
        {{0.7, 0.05}, {1.1, 0.05}, 0.9},// both corners on the rod
    };
    for (const Case& c : cases) {
        RodContact best;
        RodEdgeTest(rod, c.a, c.b, best);
        ASSERT_TRUE(best.Any);
        EXPECT_NEAR(best.Distance, 0.01, 1e-12);
        EXPECT_NEAR(best.Point.X, c.middleX, 1e-12);
        EXPECT_NEAR(best.Point.Y, 0.05, 1e-15);
        EXPECT_NEAR(std::sin(best.Angle()), 0, 1e-15);  // the edge is the frame: normal along y
    }
}

TEST(RodEdgeTest, CrossingRodIsTouchedAtTheIntersection) {
    auto w = EmptyScene();
    StepContext context;
    const int n = AddRod(*w, {0, 0}, pi / 4, 1, 0.02);
    const RodSegment rod = MakeRodSegment(*w, w->Pegs[n]);
    RodContact best;
    RodEdgeTest(rod, {-1, 0.1}, {1, 0.1}, best);
    ASSERT_TRUE(best.Any);
    EXPECT_EQ(best.Distance, 1e-80);
    EXPECT_NEAR(best.Point.X, 0.1, 1e-12);
    EXPECT_TRUE(best.Crossing);
}

TEST(RodEdgeTest, SegmentIntersectionHandlesVerticalAndParallelLines) {
    Vec2 p;
    EXPECT_TRUE(IntersectSegments({0, -1}, {0, 1}, {-1, 0.5}, {1, 0.5}, p));
    EXPECT_EQ(p, (Vec2{0, 0.5}));
    EXPECT_TRUE(IntersectSegments({-1, 0.5}, {1, 0.5}, {0, -1}, {0, 1}, p));
    EXPECT_FALSE(IntersectSegments({0, -1}, {0, 1}, {1, -1}, {1, 1}, p));
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {0, 1}, {1, 2}, p));
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {2, 0}, {1.5, 0.5}, p));
}

// The perpendicular test skips its roots for points clearly beyond the
// edge; its answer must be that of the written test everywhere.
TEST(RodEdgeTest, PerpendicularMeetsEdgeAnswersAsTheWrittenTest) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> coordinate(-20, 20);
    std::uniform_real_distribution<double> unit(0, 1);
    auto w = EmptyScene();
    StepContext context;
    for (int k = 0; k < 200000; ++k) {
        const int n = AddRod(*w, {coordinate(random), coordinate(random)}, 6.3 * unit(random), 0.2 + unit(random), 0.02);
        w->PointsPerPixel = std::pow(10.0, 2 - 4 * unit(random));
        const RodSegment rod = MakeRodSegment(*w, w->Pegs[n]);
        w->PegCount = 0;
        const Vec2 a{coordinate(random), coordinate(random)};
        const Vec2 b = a + Vec2{coordinate(random), coordinate(random)} * (k % 3 == 0 ? 1e-3 : 0.1);
        // Ends placed so that the perpendicular meets the edge's line near
        // its ends as often as far from them.
        const double t = k % 2 == 0 ? -1 + 3 * unit(random) : (k % 4 == 1 ? 1 : 0) + (unit(random) - 0.5) * 0.01;
        const Vec2 end = a + (b - a) * t + Perpendicular(rod.Direction) * (unit(random) - 0.5);
        Vec2 point;
        const bool answer = PerpendicularMeetsEdge(rod, end, a, b, point);
        const Vec2 normal = Perpendicular(rod.Direction);
        const double denominator = Cross(b - a, normal);
        if (denominator == 0) continue;
        const Vec2 p = a + (b - a) * (Cross(end - a, normal) / denominator);
        ASSERT_EQ(answer, Distance(a, p) + Distance(p, b) - Distance(a, b) < rod.LineTolerance) << k;
    }
}

// Edges too far to beat the best so far are skipped. The result must be
// that of testing every edge afresh and keeping the first of the nearest.
TEST(RodEdgeTest, SkippedFarEdgesChangeNothing) {
    std::mt19937_64 random(9);
    std::uniform_real_distribution<double> unit(0, 1);
    auto w = EmptyScene();
    StepContext context;
    auto same = [](const RodContact& x, const RodContact& y) {
        return x.Any == y.Any && x.Crossing == y.Crossing && x.FromEdge == y.FromEdge &&
               std::memcmp(&x.Distance, &y.Distance, sizeof(double)) == 0 &&
               std::memcmp(&x.Point, &y.Point, sizeof(Vec2)) == 0 &&
               std::memcmp(&x.Direction, &y.Direction, sizeof(Vec2)) == 0;
    };
    int touched = 0;
    for (int k = 0; k < 20000; ++k) {
        const int n = AddRod(*w, {unit(random), unit(random)}, 6.3 * unit(random), 0.3 + unit(random), 0.02);
        const RodSegment rod = MakeRodSegment(*w, w->Pegs[n]);
        w->PegCount = 0;
        Vec2 points[8];
        points[0] = {2 * unit(random) - 0.5, 2 * unit(random) - 0.5};
        for (int v = 1; v < 8; ++v) {
            // Some edges run along the rod, some across, some far off.
            const double scale = v % 3 == 0 ? 2.0 : 0.3;
            points[v] = points[v - 1] + Vec2{scale * (unit(random) - 0.5), scale * (unit(random) - 0.5)};
            if (k % 5 == 0 && v == 3) points[v] = points[v - 1] + rod.Direction * 0.5;
        }
        RodContact sequential;
        for (int v = 1; v < 8; ++v) RodEdgeTest(rod, points[v - 1], points[v], sequential);
        RodContact folded;
        for (int v = 1; v < 8; ++v) {
            RodContact fresh;
            RodEdgeTest(rod, points[v - 1], points[v], fresh);
            if (fresh.Any && fresh.Distance < folded.Distance) folded = fresh;
        }
        ASSERT_TRUE(same(sequential, folded)) << k;
        touched += sequential.Any && sequential.Distance < 0.05;
    }
    EXPECT_GT(touched, 1000);
}

TEST(RodContact, ClosedSurfaceIsMetAtItsClosingEdge) {
    auto w = EmptyScene();
    StepContext context;
    AddSurface(*w, {{0, 0}, {2, 0}, {2, 2}, {0, 2}}, true, 0.01);
    const int n = AddRod(*w, {1, 1}, pi / 2, 3, 0.02);  // crosses y = 0 and y = 2
    w->Pegs[n].Position = {0.005, 1};                     // just right of the edge x = 0
    RecomputeRod(*w, n);
    const Surface& s = w->Surfaces[1];
    RodContact contact = RodSurfaceContact(MakeRodSegment(*w, w->Pegs[n]), s, SurfaceBox(s));
    ASSERT_TRUE(contact.Any);
    EXPECT_LE(contact.Distance, 0.02);
    w->Surfaces[1].Closed = false;
    contact = RodSurfaceContact(MakeRodSegment(*w, w->Pegs[n]), s, SurfaceBox(s));
    // The open chain still crosses the rod at y = 0 and y = 2.
    ASSERT_TRUE(contact.Any);
    EXPECT_NEAR(std::fabs(contact.Point.Y - 1), 1, 1e-9);
}

// A free rod falling flat onto a support, with restitution 0.5.
struct FallingRod {
    std::unique_ptr<World> w = EmptyScene();
    StepContext context;
    int n = 0;
    explicit FallingRod(double tilt, double e = 0.5, double routh = 0, double lambda = 0) {
        SetPair(*w, 1, 1, e, routh, lambda, 0);
        AddHand(*w, 0, -5, 5, 0.05);
        n = AddRod(*w, {0.3, 0.6}, tilt, 1, 0.02);
    }
    Peg& rod() { return w->Pegs[n]; }
};

TEST(RodContact, RodLyingOnASupportIsStruckOnceThenHeld) {
    FallingRod scene(0);
    int steps = 0;
    while (scene.rod().Velocity.Y <= 0 && steps < 2000) {
        const double before = scene.rod().Velocity.Y;
        FullStep(*scene.w, 0.001, scene.context);
        ++steps;
        if (scene.rod().Velocity.Y > 0) {
            EXPECT_NEAR(scene.rod().Velocity.Y, -0.5 * before, 1e-12);
            EXPECT_EQ(scene.rod().Acceleration, (Vec2{0, 0}));
        }
    }
    ASSERT_GT(scene.rod().Velocity.Y, 0);
    EXPECT_NEAR(scene.rod().Omega, 0, 1e-12);  // struck at the middle: no spin
    // Still touching in the next step: no second impulse, only its weight.
    const Vec2 after = scene.rod().Velocity;
    FullStep(*scene.w, 0.001, scene.context);
    EXPECT_NEAR(scene.rod().Velocity.Y, after.Y - 9.81 * 0.001, 1e-12);
    EXPECT_GT(scene.rod().Velocity.Y, 0);
}

TEST(RodContact, RodRestingOnASupportStaysAtRest) {
    FallingRod scene(0, 0);
    scene.rod().Position = {0.3, 0.059};
    RecomputeRod(*scene.w, scene.n);
    for (int i = 0; i < 1000; ++i) FullStep(*scene.w, 0.001, scene.context);
    EXPECT_NEAR(scene.rod().Position.Y, 0.059, 1e-12);
    EXPECT_NEAR(Magnitude(scene.rod().Velocity), 0, 1e-12);
}

TEST(RodContact, StepBeforeTheCounterWrapCountsAsThePreviousStep) {
    FallingRod scene(0);
    scene.rod().Position = {0.3, 0.055};  // touching from the first step
    scene.rod().Velocity = {0, -1};
    RecomputeRod(*scene.w, scene.n);
    scene.w->Params.StepCounter = 1999999998;
    FullStep(*scene.w, 0.001, scene.context);  // counter 1999999999: struck
    ASSERT_EQ(scene.w->Params.StepCounter, 1999999999);
    const Vec2 after = scene.rod().Velocity;
    EXPECT_NEAR(after.Y, 0.5, 1e-12);
    FullStep(*scene.w, 0.001, scene.context);  // counter 0: the same contact goes on, no second strike
    ASSERT_EQ(scene.w->Params.StepCounter, 0);
    EXPECT_NEAR(scene.rod().Velocity.Y, after.Y - 9.81 * 0.001, 1e-12);
}

TEST(RodContact, RodDroppedOnASupportComesToRestOnTop) {
    const double top = 0.05;
    // A rod dropped nearly upright strikes with one end, falls over and hits
    // with the other end at about 5 m/s: that end may go one step (5 mm)
    // into the band before it is held, but never through.
    struct Case {
        double tilt, allowance;
    } cases[] = {{0, 0}, {0.02, 0}, {0.3, 0}, {-0.3, 0}, {1.2, 0.005}, {-1.2, 0.005}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tilt);
        FallingRod scene(c.tilt, 0.3, 0.3, 0.5);
        double lowest = 1e9;
        for (int i = 0; i < 5000; ++i) {
            FullStep(*scene.w, 0.001, scene.context);
            lowest = std::min({lowest, scene.rod().End1.Y, scene.rod().End2.Y});
        }
        EXPECT_GE(lowest, top - c.allowance);
        EXPECT_LT(std::fabs(scene.rod().Phi), 0.02);  // lying on the support
        EXPECT_LT(Magnitude(scene.rod().Velocity), 0.001);
        EXPECT_LT(std::fabs(scene.rod().Omega), 0.01);
        // At rest it stays where it is.
        const Vec2 resting = scene.rod().Position;
        for (int i = 0; i < 1000; ++i) FullStep(*scene.w, 0.001, scene.context);
        EXPECT_NEAR(Distance(scene.rod().Position, resting), 0, 1e-4);
    }
}

// A rod with a ball on one end, dropped onto a support: the ball's contact
// acts on the linked body, so the ball neither sinks into the support nor
// sets the rod flailing; rod and ball come to rest on top.
TEST(RodContact, RodWithACarriedBallComesToRestOnASupport) {
    const double r = 0.1;
    const double top = 0.05;
    for (const double drop : {0.0, 0.2}) {
        for (const double tilt : {0.0, 0.3, -0.3}) {
            SCOPED_TRACE(::testing::Message() << "drop " << drop << " tilt " << tilt);
            auto w = EmptyScene();
            StepContext context;
            SetPair(*w, 1, 1, 0.3, 0.3, 0.5, 0);
            AddHand(*w, 0, -10, 10, 0.05);
            const int rod = AddRod(*w, {0, 1}, tilt, 1.0, 0.02);
            AddBall(*w, w->Pegs[rod].End2 + Vec2{std::cos(tilt), std::sin(tilt)} * r, r);
            FastenAt(*w, rod, 2, w->BallCount);
            // Lift or lower the body so that its lowest point starts 1 cm
            // plus the drop above the support.
            const Peg& placed = w->Pegs[rod];
            const double lowest = std::min({placed.End1.Y - 0.01, placed.End2.Y - 0.01, w->Balls[1].Position.Y - r});
            w->Pegs[rod].Position.Y += top + 0.01 + drop - lowest;
            RecomputeRod(*w, rod);
            double lowestBall = 1e9;
            for (int i = 0; i < 8000; ++i) {
                FullStep(*w, 0.001, context);
                lowestBall = std::min(lowestBall, w->Balls[1].Position.Y - r);
            }
            EXPECT_GE(lowestBall, top - 0.005);
            const Peg& p = w->Pegs[rod];
            EXPECT_LT(std::fabs(p.Omega), 1e-3);
            EXPECT_LT(Magnitude(p.Velocity), 1e-3);
            EXPECT_GE(std::min(p.End1.Y, p.End2.Y), top - 0.005);
            EXPECT_NEAR(w->Balls[1].Position.Y - r, top, 0.005);
        }
    }
}

TEST(RodContact, RodBouncesOffAWallNotOffAnImaginedFloor) {
    auto w = EmptyScene(0);
    StepContext context;
    SetPair(*w, 1, 1, 1, 0, 0, 0);
    AddWall(*w, 0.3, -2, 2, 0.05);
    const int n = AddRod(*w, {0, 0}, pi / 2, 1, 0.02);
    w->Pegs[n].Velocity = {1, 0};
    RecomputeRod(*w, n);
    for (int i = 0; i < 500; ++i) FullStep(*w, 0.001, context);
    EXPECT_NEAR(w->Pegs[n].Velocity.X, -1, 1e-9);
    EXPECT_NEAR(w->Pegs[n].Velocity.Y, 0, 1e-9);
    EXPECT_NEAR(w->Pegs[n].Omega, 0, 1e-9);
    EXPECT_LT(w->Pegs[n].End1.X, 0.25);
}

TEST(RodContact, RodBouncesOffAnInclinedPlate) {
    for (bool triangular : {false, true}) {
        SCOPED_TRACE(triangular);
        auto w = EmptyScene(0);
        StepContext context;
        SetPair(*w, 1, 1, 1, 0, 0, 0);
        const double theta = 0.4;
        const Vec2 along{std::cos(theta), std::sin(theta)};
        const Vec2 normal{-along.Y, along.X};
        // The plate's top face, or the triangle's hypotenuse, passes through 0.
        const Vec2 shift = triangular ? Vec2{} : normal * -0.05;
        AddPlane(*w, shift - along * 2, shift + along * 2, 0.05, triangular);
        const int n = AddRod(*w, normal * 0.2, theta, 1, 0.02);
        w->Pegs[n].Velocity = normal * -1;
        RecomputeRod(*w, n);
        for (int i = 0; i < 400; ++i) FullStep(*w, 0.001, context);
        EXPECT_NEAR(Dot(w->Pegs[n].Velocity, normal), 1, 1e-9);
        EXPECT_NEAR(Dot(w->Pegs[n].Velocity, along), 0, 1e-9);
        EXPECT_NEAR(w->Pegs[n].Omega, 0, 1e-9);
    }
}

TEST(RodContact, FreeRodStrikingWithFrictionObeysTheCoulombLimit) {
    auto w = EmptyScene(0);
    StepContext context;
    SetPair(*w, 1, 1, 0.5, 0.1, 0, 0);
    AddHand(*w, 0, -5, 5, 0.05);
    const int n = AddRod(*w, {0, 0.059}, 0, 1, 0.02);
    w->Pegs[n].Velocity = {5, -3};  // fast oblique impact, Routh's hypothesis
    RecomputeRod(*w, n);
    FullStep(*w, 0.001, context);
    const Peg& rod = w->Pegs[n];
    const double m = rod.Mass;
    const double pn = m * (rod.Velocity.Y + 3);
    const double pt = m * (rod.Velocity.X - 5);
    EXPECT_NEAR(pn, 1.5 * 3 * m, 1e-9 * m);
    EXPECT_NEAR(pt, -0.1 * pn, 1e-9 * m);  // limited, opposite to the sliding
}

}  // namespace
}  // namespace velo::testing
