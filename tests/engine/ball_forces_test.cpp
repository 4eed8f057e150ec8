// Field and air forces on a ball, and the recomputation of its derived
// quantities, including the ball hung on a suspension point.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/ball_forces.h"
#include "engine/imitator.h"
#include "engine/step_scenes.h"

namespace velo {
namespace {

using testing::PlaceBall;
using testing::PlaceLaval;
using testing::RecordingMessenger;
using testing::StillScene;

TEST(BallForces, FreeFallOneStepIsExact) {
    auto world = StillScene(9.8);
    const int n = PlaceBall(*world, {0, 0});
    RecordingMessenger messenger;
    StepContext context;
    const double dt = 0.001;
    ASSERT_TRUE(MechanicalStep(*world, dt, messenger, context));
    const Ball& b = world->Balls[n];

    // The same double arithmetic the step performs.
    const double force = -9.8 * (b.Density - 0) * b.Volume;
    const double accel = force / b.Mass;
    const double v = 0 + accel * dt;
    const double y = 0 + (v * dt - 0.5 * accel * (dt * dt));
    EXPECT_EQ(b.Velocity.Y, v);
    EXPECT_EQ(b.Position.Y, y);
    EXPECT_EQ(b.Velocity.X, 0);
    EXPECT_EQ(b.Position.X, 0);

    EXPECT_NEAR(b.Velocity.Y, -0.0098, 1e-18);
    EXPECT_NEAR(-b.Position.Y, 0.0000049, 1e-18);
    EXPECT_NEAR(b.GravityAccel.Y, -9.8, 1e-12);
    EXPECT_DOUBLE_EQ(world->T, dt);
}

TEST(BallForces, NoAirMeansNoWind) {
    auto still = StillScene(9.8);
    auto windy = StillScene(9.8);
    windy->Params.Wind = {5, 3};
    for (World* w : {still.get(), windy.get()}) {
        const int n = PlaceBall(*w, {0, 2}, 0.1, 7800, {1, 2});
        w->Balls[n].DragLinear = 0.5;
        w->Balls[n].DragQuadratic = 0.3;
    }
    RecordingMessenger messenger;
    StepContext context, windyContext;
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(MechanicalStep(*still, 0.001, messenger, context));
        ASSERT_TRUE(MechanicalStep(*windy, 0.001, messenger, windyContext));
    }
    EXPECT_EQ(still->Balls[1].Position, windy->Balls[1].Position);
    EXPECT_EQ(still->Balls[1].Velocity, windy->Balls[1].Velocity);
    EXPECT_EQ(still->Balls[1].Force, windy->Balls[1].Force);
}

TEST(BallForces, BuoyancyFloatsAndLifts) {
    auto world = StillScene(9.81);
    world->Params.AirDensity = 1.3;
    const int floating = PlaceBall(*world, {0, 1}, 0.1, 1.3);
    const int light = PlaceBall(*world, {1, 1}, 0.1, 0.65);
    RecordingMessenger messenger;
    StepContext context;
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    EXPECT_EQ(world->Balls[floating].Position, (Vec2{0, 1}));
    EXPECT_EQ(world->Balls[floating].Velocity, (Vec2{0, 0}));
    // Half the density of the air: g (1 - 1.3 / 0.65) = -g, so it rises with g.
    EXPECT_NEAR(world->Balls[light].GravityAccel.Y, 9.81, 1e-9);
    EXPECT_GT(world->Balls[light].Position.Y, 1);
}

// Linear drag only: the velocity approaches the wind's exponentially and
// never passes it, whatever the step.
TEST(BallForces, LinearDragApproachesWindWithoutOvershoot) {
    for (double dt : {1e-16, 1e-9, 1e-6, 1e-3, 0.1, 1.0, 10.0, 1e3, 1e6, 1e12}) {
        auto world = StillScene(0);
        world->Params.AirDensity = 1;
        world->Params.Wind = {1, 0};
        const int n = PlaceBall(*world, {0, 0}, 0.1, 10);
        Ball& b = world->Balls[n];
        b.DragLinear = 2;
        RecordingMessenger messenger;
        StepContext context;
        const double rate = 1 * 2 * (0.1 * 0.1) / b.Mass;
        double previous = 0;
        for (int i = 1; i <= 20; ++i) {
            ASSERT_TRUE(MechanicalStep(*world, dt, messenger, context));
            EXPECT_LE(b.Velocity.X, 1 + 4e-16) << "dt " << dt;
            EXPECT_GE(b.Velocity.X, previous - 4e-16) << "dt " << dt;
            EXPECT_EQ(b.Velocity.Y, 0);
            previous = b.Velocity.X;
            if (i == 1) {
                EXPECT_NEAR(b.Velocity.X, 1 - std::exp(-rate * dt), 1e-12) << "dt " << dt;
            }
        }
    }
}

TEST(BallForces, QuadraticDragReducesRelativeSpeedByItsFactor) {
    for (double dt : {1e-4, 0.01, 1.0, 1e4, 1e9}) {
        auto world = StillScene(0);
        world->Params.AirDensity = 1.2;
        // |v| = 5 but |v - wind| = 10: the drag must use the speed relative
        // to the wind.
        world->Params.Wind = {-2, -5};
        const int n = PlaceBall(*world, {0, 0}, 0.2, 50, {4, 3});
        Ball& b = world->Balls[n];
        b.DragQuadratic = 0.7;
        RecordingMessenger messenger;
        StepContext context;
        const Vec2 u{6, 8};  // velocity relative to the wind
        const double factor = 1 / (1 + 1.2 * 0.7 * 10 * (0.2 * 0.2) * dt / b.Mass);
        ASSERT_TRUE(MechanicalStep(*world, dt, messenger, context));
        const Vec2 after = b.Velocity - world->Params.Wind;
        EXPECT_NEAR(after.X, u.X * factor, 1e-12 * u.X) << "dt " << dt;
        EXPECT_NEAR(after.Y, u.Y * factor, 1e-12 * u.Y) << "dt " << dt;
        EXPECT_GE(after.X, 0);
        EXPECT_GE(after.Y, 0);
    }
}

TEST(BallForces, CylinderMeetsTheAirWithRadiusTimesHeight) {
    auto world = StillScene(0);
    world->Params.AirDensity = 1;
    const int n = PlaceBall(*world, {0, 0}, 0.1, 100, {1, 0});
    Ball& b = world->Balls[n];
    b.Shape = ShapeCylinder;
    b.Height = 0.5;
    b.DragLinear = 3;
    RecomputeBall(*world, n);
    ApplyFieldAndAirForces(*world, n, 0.01);
    const double e = std::exp(-1 * 3 * (0.1 * 0.5) * 0.01 / b.Mass);
    EXPECT_NEAR(b.Force.X, (e - 1) * b.Mass / 0.01, 1e-9);
}

struct RecomputeCase {
    const char* Name;
    std::uint8_t Shape;
    double Radius;
    double Density;
    double ExpectedRadius;
    double ExpectedDensity;
    double ExpectedVolume;
};

TEST(BallRecompute, ClampsAndVolumes) {
    const double pi = std::numbers::pi;
    const RecomputeCase cases[] = {
        {"ball", ShapeBall, 0.5, 2, 0.5, 2, 4.0 / 3.0 * pi * 0.125},
        {"cylinder", ShapeCylinder, 0.5, 2, 0.5, 2, pi * 0.25 * 3},
        {"other shape", 3, 0.5, 2, 0.5, 2, 1.0},
        {"radius beyond the field", ShapeBall, 50, 2, 10, 2, 4.0 / 3.0 * pi * 1000},
        {"zero radius", ShapeBall, 0, 2, 1e-80, 2, 4.0 / 3.0 * pi * 1e-80 * 1e-80 * 1e-80},
        {"negative density", ShapeBall, 0.5, -5, 0.5, 1e-80, 4.0 / 3.0 * pi * 0.125},
    };
    for (const RecomputeCase& c : cases) {
        auto world = StillScene(9.81);
        world->Params.FieldScale = 1000;
        const int n = PlaceBall(*world, {0, 2}, c.Radius, c.Density, {3, 4});
        Ball& b = world->Balls[n];
        b.Shape = c.Shape;
        b.Height = 3;
        b.Omega = 2;
        RecomputeBall(*world, n);
        EXPECT_EQ(b.Radius, c.ExpectedRadius) << c.Name;
        EXPECT_EQ(b.Density, c.ExpectedDensity) << c.Name;
        EXPECT_DOUBLE_EQ(b.Volume, c.ExpectedVolume) << c.Name;
        EXPECT_DOUBLE_EQ(b.Mass, b.Density * b.Volume) << c.Name;
        EXPECT_DOUBLE_EQ(b.Inertia, 0.4 * b.Mass * b.Radius * b.Radius) << c.Name;
        EXPECT_DOUBLE_EQ(b.PotentialEnergy, 2 * 9.81 * b.Mass) << c.Name;
        EXPECT_DOUBLE_EQ(b.KineticEnergy, (b.Mass * 25 + b.Inertia * 4) / 2) << c.Name;
        EXPECT_EQ(b.Momentum, (Vec2{3 * b.Mass, 4 * b.Mass})) << c.Name;
    }
}

TEST(BallRecompute, ZeroInertiaFactorNeverGivesNaN) {
    auto world = StillScene(9.81);
    world->Params.AirDensity = 1;
    world->Params.Wind = {2, 0};
    // A ball sliding along a support with friction, and one hung on a point.
    world->Hands[++world->HandCount] = HandWall{1, 0, -100, 100, 0.05, false, true};
    const int sliding = PlaceBall(*world, {0, 0.149}, 0.1, 7800, {3, 0});
    const int point = PlaceLaval(*world, {5, 5});
    const int hung = PlaceBall(*world, {5.3, 5}, 0.1, 7800);
    for (int n : {sliding, hung}) {
        world->Balls[n].InertiaFactor = 0;
        world->Balls[n].DragLinear = 0.1;
        world->Balls[n].DragQuadratic = 0.1;
    }
    world->Balls[hung].BindKind = BindLaval;
    world->Balls[hung].BindNumber = point;
    for (int n : {sliding, hung}) RecomputeBall(*world, n);
    RecordingMessenger messenger;
    StepContext context;
    for (int i = 0; i < 2000; ++i) ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    for (int n : {sliding, hung}) {
        const Ball& b = world->Balls[n];
        EXPECT_EQ(b.Inertia, 0);
        EXPECT_EQ(b.Epsilon, 0);
        for (double value : {b.Position.X, b.Position.Y, b.Velocity.X, b.Velocity.Y, b.Omega, b.Phi,
                             b.KineticEnergy, b.AngularMomentum, b.Momentum.X, b.Momentum.Y}) {
            EXPECT_TRUE(std::isfinite(value)) << "ball " << n;
        }
    }
    // The sliding ball does not start to roll; the hung one swings as a
    // point mass on its radius.
    EXPECT_EQ(world->Balls[sliding].Omega, 0);
    EXPECT_NE(world->Balls[hung].Omega, 0);
    EXPECT_TRUE(messenger.Shown.empty());
}

// A ball read from a file hangs where it was stored: its radius is its
// distance from the point, and its stored angle offset is kept.
TEST(HungBall, TakesItsRadiusFromWhereItIs) {
    auto world = StillScene(9.81);
    const int point = PlaceLaval(*world, {1, 2});
    const int n = PlaceBall(*world, {1.3, 1.6});
    Ball& b = world->Balls[n];
    b.Phi = 0.7;
    const double storedAngle = std::atan2(0.4, -0.3) - 0.7;
    b.BindAngle = storedAngle;
    b.BindKind = BindLaval;
    b.BindNumber = point;
    RecomputeBall(*world, n);
    EXPECT_DOUBLE_EQ(b.BindRadius, 0.5);
    EXPECT_EQ(b.BindAngle, storedAngle);
    EXPECT_NEAR(b.Position.X, 1.3, 1e-15);
    EXPECT_NEAR(b.Position.Y, 1.6, 1e-15);
    // A known radius is kept.
    b.Position = {0, 0};
    RecomputeBall(*world, n);
    EXPECT_DOUBLE_EQ(b.BindRadius, 0.5);
    EXPECT_NEAR(b.Position.X, 1.3, 1e-15);
}

TEST(HungBall, ReportsTheEnergyAndMomentumOfItsSwing) {
    // A hung ball turning at Omega about its point moves its centre across
    // the radius: the kinetic energy is (J + m r²) ω² / 2 and the momentum
    // m ω perp(centre - point), though its Velocity holds no more than the
    // change of one step.
    auto world = StillScene(9.81);
    const int point = PlaceLaval(*world, {1, 2});
    const int n = PlaceBall(*world, {1.3, 1.6});
    Ball& b = world->Balls[n];
    b.BindAngle = std::atan2(0.4, -0.3);
    b.BindKind = BindLaval;
    b.BindNumber = point;
    RecomputeBall(*world, n);
    b.Omega = 2;
    RecomputeBall(*world, n);
    EXPECT_EQ(b.Velocity, (Vec2{0, 0}));
    EXPECT_NEAR(b.KineticEnergy, (b.Inertia + b.Mass * 0.25) * 4 / 2, 1e-12);
    EXPECT_NEAR(b.Momentum.X, b.Mass * 2 * 0.4, 1e-12);
    EXPECT_NEAR(b.Momentum.Y, b.Mass * 2 * 0.3, 1e-12);
}

TEST(HungBall, AtRestBelowItsPointStaysAtRest) {
    auto world = StillScene(9.81);
    const int point = PlaceLaval(*world, {0, 1});
    const int n = PlaceBall(*world, {0, 0.5});
    world->Balls[n].BindAngle = std::numbers::pi / 2;  // the point is straight above
    world->Balls[n].BindKind = BindLaval;
    world->Balls[n].BindNumber = point;
    RecomputeBall(*world, n);
    RecordingMessenger messenger;
    StepContext context;
    for (int i = 0; i < 5000; ++i) ASSERT_TRUE(MechanicalStep(*world, 0.001, messenger, context));
    const Ball& b = world->Balls[n];
    // Only the rounding of cos(π/2) is left to swing.
    EXPECT_NEAR(b.Position.X, 0, 1e-12);
    EXPECT_NEAR(b.Position.Y, 0.5, 1e-12);
    EXPECT_NEAR(b.Omega, 0, 1e-12);
    EXPECT_EQ(b.Velocity, (Vec2{0, 0}));
}

// A hung ball swings on its rigid radius with the period of its compound
// pendulum, 2π √((J + m r²) / (m g r)).
TEST(HungBall, SwingsWithThePeriodOfItsPendulum) {
    const double g = 9.81;
    const double r = 0.8;
    const double radius = 0.1;
    const double amplitude = 0.05;
    auto world = StillScene(g);
    const int point = PlaceLaval(*world, {0, 0});
    const int n = PlaceBall(*world, {r * std::sin(amplitude), -r * std::cos(amplitude)}, radius);
    Ball& b = world->Balls[n];
    b.BindAngle = std::numbers::pi / 2 + amplitude;  // from the centre up to the point
    b.BindKind = BindLaval;
    b.BindNumber = point;
    RecomputeBall(*world, n);

    const double expected = 2 * std::numbers::pi * std::sqrt((0.4 * radius * radius + r * r) / (g * r));
    RecordingMessenger messenger;
    StepContext context;
    const double dt = 1e-4;
    double t = 0;
    double previousX = b.Position.X;
    std::vector<double> crossings;  // times of the centre passing from right to left
    while (t < 4 * expected && crossings.size() < 3) {
        ASSERT_TRUE(MechanicalStep(*world, dt, messenger, context));
        t += dt;
        if (previousX > 0 && b.Position.X <= 0) crossings.push_back(t);
        previousX = b.Position.X;
        ASSERT_NEAR(std::hypot(b.Position.X, b.Position.Y), r, 1e-9);
    }
    ASSERT_EQ(crossings.size(), 3u);
    const double period = (crossings[2] - crossings[0]) / 2;
    EXPECT_NEAR(period, expected, 0.02 * expected);
    // The swing keeps its amplitude: the pendulum neither gains nor loses
    // much energy over two periods.
    EXPECT_LT(std::fabs(b.Position.X), r * std::sin(amplitude) * 1.05);
}

}  // namespace
}  // namespace velo
