// Rod recomputation and the rod phase: hanging rods, pendulums, the balls a
// rod carries, and the strike-once rule of the contact memory.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/geometry.h"
#include "engine/rod_scenes.h"
#include "model/messages.h"

namespace velo::testing {
namespace {

constexpr double pi = std::numbers::pi;

TEST(RodRecompute, DerivesSectionMassesEndsAndCarriedBall) {
    auto w = EmptyScene();
    StepContext context;
    const int n = AddRod(*w, {1, 2}, 0, 2, 0.1, 1000);
    Ball& ball = AddBall(*w, {0, 0}, 0.1);
    Peg& rod = w->Pegs[n];
    rod.Omega = 3;
    rod.Velocity = {0.5, 0};
    FastenAt(*w, n, 2, 1);

    EXPECT_DOUBLE_EQ(rod.SectionArea, 0.01);
    EXPECT_DOUBLE_EQ(rod.Mass, 20);
    const double mb = ball.Mass;
    const double c = (1 + 0.1) * mb / (20 + mb);
    EXPECT_DOUBLE_EQ(rod.CentreOffset, c);
    EXPECT_DOUBLE_EQ(rod.Inertia, 20 * (0.01 / 12 + 4.0 / 12));
    const double s = 1.1 - c;
    EXPECT_NEAR(rod.PivotInertia, rod.Inertia + 20 * c * c + ball.Inertia + mb * s * s, 1e-12);
    EXPECT_NEAR(rod.End1.X, 1 - 1 - c, 1e-15);
    EXPECT_NEAR(rod.End2.X, 1 + 1 - c, 1e-15);
    EXPECT_NEAR(ball.Position.X, rod.End2.X + 0.1, 1e-15);
    EXPECT_DOUBLE_EQ(ball.Position.Y, 2);
    // The ball moves with its point of the rod: centre velocity plus the
    // rotation about the centre, taken at the ball's centre, a radius beyond
    // the rod's end; it turns with the rod.
    EXPECT_NEAR(ball.Velocity.X, 0.5, 1e-15);
    EXPECT_NEAR(ball.Velocity.Y, 3 * (1.1 - c), 1e-14);
    EXPECT_EQ(ball.Omega, 3);
    EXPECT_NEAR(ball.KineticEnergy, (mb * (0.25 + 9 * (1.1 - c) * (1.1 - c)) + ball.Inertia * 9) / 2, 1e-12);
    // The rod's own body moves with its middle, c behind the centre of mass.
    EXPECT_NEAR(rod.KineticEnergy, (20 * (0.25 + 9 * c * c) + rod.Inertia * 9) / 2, 1e-12);
    EXPECT_DOUBLE_EQ(rod.PotentialEnergy, 9.81 * 20 * 2);

    rod.SectionShape = 0;
    RecomputeRod(*w, n);
    EXPECT_DOUBLE_EQ(rod.SectionArea, pi / 4 * 0.1 * 0.1);
}

TEST(RodRecompute, LoadedRodRegainsItsSectionShape) {
    Peg rod;
    rod.Width = 0.3;
    rod.Depth = 0.7;
    rod.SectionArea = 0.3 * 0.7;
    RestoreSectionShape(rod);
    EXPECT_EQ(rod.SectionShape, 1);
    rod.SectionArea = pi / 4 * 0.3 * 0.7;
    RestoreSectionShape(rod);
    EXPECT_EQ(rod.SectionShape, 0);
}

TEST(FrozenRod, KeepsItsFastenedBallsAtItsEnds) {
    // Free and hanging: the frozen rod's balls are frozen with it and stay
    // where the rod holds them, under gravity, step after step.
    for (const bool hanging : {false, true}) {
        auto w = EmptyScene();
        const int n = AddRod(*w, {0, 1}, 0.4, 1, 0.02);
        AddBall(*w, {0, 0}, 0.1);
        AddBall(*w, {0, 0}, 0.05);
        FastenAt(*w, n, 1, 1);
        FastenAt(*w, n, 2, 2);
        if (hanging) {
            AddLaval(*w, {0, 1});
            HangRod(*w, n, 1, 0.3);
        }
        w->Pegs[n].Movable = false;
        const Vec2 first = w->Balls[1].Position, second = w->Balls[2].Position;
        SilentMessenger messenger;
        StepContext context;
        for (int k = 0; k < 200; ++k) ASSERT_TRUE(MechanicalStep(*w, 1e-3, messenger, context));
        EXPECT_FALSE(w->Balls[1].Movable);
        EXPECT_FALSE(w->Balls[2].Movable);
        EXPECT_EQ(w->Balls[1].Position, first) << hanging;
        EXPECT_EQ(w->Balls[2].Position, second) << hanging;
    }
}

TEST(HangingRod, HungAtItsMiddleFeelsNoFieldTorqueAndKeepsTurning) {
    auto w = EmptyScene();
    StepContext context;
    AddLaval(*w, {0, 0});
    const int n = AddRod(*w, {0, 0}, 0.3, 1, 0.02);
    HangRod(*w, n, 1, 0.5);
    w->Pegs[n].Omega = 1.25;
    for (int i = 0; i < 2000; ++i) FullStep(*w, 0.001, context);
    EXPECT_EQ(w->Pegs[n].Omega, 1.25);
    EXPECT_EQ(w->Pegs[n].Epsilon, 0);
    EXPECT_NEAR(w->Pegs[n].Phi, 0.3 + 2.5, 1e-9);
    EXPECT_EQ(w->Pegs[n].Position, (Vec2{0, 0}));
}

// Period of small swings from the upward zero crossings of the angle from
// the vertical.
double MeasuredPeriod(World& w, int n, double dt, double duration) {
    StepContext context;
    double previous = w.Pegs[n].Phi + pi / 2;
    double firstCrossing = -1, lastCrossing = -1;
    int crossings = 0;
    for (double t = 0; t < duration; t += dt) {
        FullStep(w, dt, context);
        const double angle = w.Pegs[n].Phi + pi / 2;
        if (previous < 0 && angle >= 0) {
            const double when = w.T - dt * angle / (angle - previous);
            if (crossings == 0) firstCrossing = when;
            lastCrossing = when;
            ++crossings;
        }
        previous = angle;
    }
    return crossings > 1 ? (lastCrossing - firstCrossing) / (crossings - 1) : 0;
}

TEST(HangingRod, SwingsAsAPhysicalPendulum) {
    auto w = EmptyScene();
    StepContext context;
    AddLaval(*w, {0, 0});
    const double length = 1, width = 0.05;
    const int n = AddRod(*w, {0, 0}, -pi / 2 + 0.05, length, width);
    HangRod(*w, n, 1, 0);
    const Peg& rod = w->Pegs[n];
    const double m = rod.Mass;
    EXPECT_NEAR(rod.PivotInertia, m * (width * width / 12 + length * length / 12) + m * length * length / 4,
                1e-12);
    const double expected = 2 * pi * std::sqrt(rod.PivotInertia / (m * 9.81 * length / 2));
    EXPECT_NEAR(MeasuredPeriod(*w, n, 1e-4, 6), expected, expected * 0.005);
}

TEST(HangingRod, BallAtTheFarEndSwingsWithTheCompoundPeriod) {
    auto w = EmptyScene();
    StepContext context;
    AddLaval(*w, {0, 0});
    const double length = 1, width = 0.02, radius = 0.05;
    const int n = AddRod(*w, {0, 0}, -pi / 2 + 0.05, length, width, 1000);
    AddBall(*w, {0, -1}, radius);
    HangRod(*w, n, 1, 0);
    FastenAt(*w, n, 2, 1);
    const Peg& rod = w->Pegs[n];
    const Ball& ball = w->Balls[1];
    const double m = rod.Mass, mb = ball.Mass, d = length + radius;
    const double inertia = m * (width * width / 12 + length * length / 12) + m * length * length / 4 +
                           0.4 * mb * radius * radius + mb * d * d;
    EXPECT_NEAR(rod.PivotInertia, inertia, inertia * 1e-12);
    const double expected = 2 * pi * std::sqrt(inertia / (9.81 * (m * length / 2 + mb * d)));
    EXPECT_NEAR(MeasuredPeriod(*w, n, 1e-4, 8), expected, expected * 0.01);
    // The ball stays on the rod's axis, Radius beyond the end.
    EXPECT_NEAR(Distance(ball.Position, w->Lavals[1].Position), d, 1e-12);
}

TEST(HangingRod, BallAtTheHungEndTurnsWithTheRodAboutThePoint) {
    // The ball at the end the rod hangs by holds the suspension point
    // inside it; as a part of the rod it does not meet that point, and the
    // pendulum swings with the period of the whole body.
    auto w = EmptyScene();
    AddLaval(*w, {0, 0});
    const double length = 1, width = 0.02, radius = 0.05;
    const int n = AddRod(*w, {0, 0}, -pi / 2 + 0.05, length, width);
    AddBall(*w, {0, 0}, radius);
    HangRod(*w, n, 1, 0);
    FastenAt(*w, n, 1, 1);
    const Peg& rod = w->Pegs[n];
    const Ball& ball = w->Balls[1];
    const double m = rod.Mass, mb = ball.Mass;
    const double inertia = m * (width * width / 12 + length * length / 3) + 1.4 * mb * radius * radius;
    const double expected = 2 * pi * std::sqrt(inertia / (9.81 * (m * length / 2 - mb * radius)));
    EXPECT_NEAR(MeasuredPeriod(*w, n, 1e-4, 8), expected, expected * 0.01);
}

TEST(HangingRod, RowOfRodPendulumsPassesMomentumAlong) {
    auto w = EmptyScene();
    StepContext context;
    SetPair(*w, 1, 1, 1, 0, 0, 0);
    const double radius = 0.05;
    for (int k = 0; k < 3; ++k) {
        AddLaval(*w, {2 * radius * k, 0});
        const int n = AddRod(*w, {2 * radius * k, 0}, -pi / 2, 1, 0.01, 100);
        AddBall(*w, {2 * radius * k, -1 - radius}, radius);
        HangRod(*w, n, k + 1, 0);
        FastenAt(*w, n, 2, k + 1);
    }
    w->Pegs[1].Omega = 0.5;
    RecomputeRod(*w, 1);
    double firstAfter = 1, lastMax = 0;
    for (int i = 0; i < 300; ++i) {
        FullStep(*w, 1e-4, context);
        lastMax = std::max(lastMax, w->Pegs[3].Omega);
    }
    firstAfter = w->Pegs[1].Omega;
    EXPECT_GT(lastMax, 0.9 * 0.5);
    EXPECT_LT(std::fabs(firstAfter), 0.1 * 0.5);
    EXPECT_LT(std::fabs(w->Pegs[2].Omega), 0.1 * 0.5);
}

TEST(HangingRod, HittingASuspensionPointReversesTheTurnScaledByRestitution) {
    auto w = EmptyScene();
    StepContext context;
    SetPair(*w, 1, 0, 0.5, 0, 0, 0);
    AddLaval(*w, {0, 0});
    AddLaval(*w, {0.4 * std::cos(-0.1), 0.4 * std::sin(-0.1)});
    const int n = AddRod(*w, {0, 0}, 0, 1, 0.02);
    HangRod(*w, n, 1, 0.5);
    w->Pegs[n].Omega = -2;
    int steps = 0;
    while (w->Pegs[n].Omega == -2 && steps < 1000) {
        FullStep(*w, 0.001, context);
        ++steps;
    }
    EXPECT_EQ(w->Pegs[n].Omega, 1.0);
    // Struck when the point comes within half the rod's width of its axis.
    EXPECT_NEAR(w->Pegs[n].Phi, -0.1 + 0.01 / 0.4, 0.003);
}

TEST(HangingRod, AtRestInAWindGetsAFiniteAirTorque) {
    auto w = EmptyScene();
    StepContext context;
    w->Params.AirDensity = 1.2;
    w->Params.Wind = {3, 0};
    AddLaval(*w, {0, 0});
    const int n = AddRod(*w, {0, 0}, pi / 2, 1, 0.02);
    w->Pegs[n].DragLinear = 8;
    w->Pegs[n].DragQuadratic = 1;
    HangRod(*w, n, 1, 0.2);
    FullStep(*w, 0.001, context);
    EXPECT_TRUE(std::isfinite(w->Pegs[n].Torque));
    EXPECT_NE(w->Pegs[n].Torque, 0);
    EXPECT_TRUE(std::isfinite(w->Pegs[n].Omega));
}

TEST(HangingRod, AirTorqueOfATurningRodFollowsTheFormula) {
    auto w = EmptyScene(0);
    StepContext context;
    w->Params.AirDensity = 1.5;
    AddLaval(*w, {0, 0});
    const int n = AddRod(*w, {0, 0}, 0, 2, 0.1);
    Peg& rod = w->Pegs[n];
    rod.DragLinear = 2;
    rod.DragQuadratic = 0.5;
    HangRod(*w, n, 1, 0.25);
    rod.Omega = 0.8;
    w->Params.Wind = {0, 0.3};  // a = perp(e) . wind = 0.3
    const double omega = 0.8, a = 0.3, c = -0.5, s1 = -1 - c, s2 = 1 - c;
    const double x0 = a / (omega + 1e-80);
    const double sg1 = -1, sg2 = 1;  // s1 * omega < a < s2 * omega
    const double q1 = (x0 - s1) * sg1 - (x0 - s2) * sg2;
    const double q2 = ((x0 * x0 - s1 * s1) * sg1 - (x0 * x0 - s2 * s2) * sg2) / 2;
    const double q3 = ((x0 * x0 * x0 - s1 * s1 * s1) * sg1 - (x0 * x0 * x0 - s2 * s2 * s2) * sg2) / 3;
    const double b = (s2 * s2 - s1 * s1) * omega / 2 - (s2 - s1) * a;
    const double expected = -1.5 * 0.1 * (0.5 * (a * a * q1 - 2 * omega * a * q2 + omega * omega * q3) + 2 * b);
    PrepareStep(*w, context);
    RodPhase(*w, 0.001, context);
    EXPECT_NEAR(rod.Torque, expected, 1e-12);
}

}  // namespace
}  // namespace velo::testing
