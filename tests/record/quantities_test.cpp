// The recorded quantities against a direct computation: the velocity and
// momentum the ball window shows, the accelerations of held bodies taken
// from their motion, the force m a and the angular momentum.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "engine/imitator.h"
#include "engine/rod_scenes.h"
#include "engine/step_scenes.h"
#include "forms/ball_form.h"
#include "forms/peg_form.h"
#include "record/recorder.h"

namespace velo {
namespace {

using namespace testing;

constexpr double Dt = 0.001;

struct Subject {
    std::unique_ptr<World> Scene;
    std::uint8_t Kind;
    int Number;
};

int HungBall(World& w, Vec2 point, double angle) {
    const int laval = PlaceLaval(w, point);
    const double direction = std::numbers::pi / 2 + angle;  // from the centre to the point
    const int n = PlaceBall(w, point - Vec2{std::cos(direction), std::sin(direction)} * 0.9);
    w.Balls[n].BindKind = BindLaval;
    w.Balls[n].BindNumber = laval;
    w.Balls[n].BindAngle = direction;
    RecomputeBall(w, n);
    return n;
}

// A rod 0.8 m long hung at end 1 at 0.4 rad, a ball at end 2.
Subject RodPendulum(bool askBall) {
    auto w = StillScene(9.81);
    const int laval = PlaceLaval(*w, {0, 2});
    const int rod = AddRod(*w, {0, 2}, -std::numbers::pi / 2 + 0.4, 0.8, 0.02);
    HangRod(*w, rod, laval, 0);
    const int ball = PlaceBall(*w, {0, 1});
    FastenAt(*w, rod, 2, ball);
    return {std::move(w), askBall ? KindBall : KindPeg, askBall ? ball : rod};
}

const struct Case {
    const char* Name;
    std::function<Subject()> Make;
    bool Held;  // accelerations from the motion
} Cases[] = {
    {"free spinning ball", [] {
         auto w = StillScene(9.81);
         const int n = PlaceBall(*w, {0, 5}, 0.1, 7800, {1, 2});
         w->Balls[n].Omega = 3;
         return Subject{std::move(w), KindBall, n};
     }, false},
    {"free cylinder", [] {
         auto w = StillScene(9.81);
         const int n = PlaceBall(*w, {0, 5}, 0.1, 7800, {-1, 0});
         w->Balls[n].Shape = ShapeCylinder;
         w->Balls[n].Height = 0.2;
         w->Balls[n].Omega = -2;
         RecomputeBall(*w, n);
         return Subject{std::move(w), KindCylinder, n};
     }, false},
    {"hung ball", [] {
         auto w = StillScene(9.81);
         const int n = HungBall(*w, {0, 2}, 0.4);
         return Subject{std::move(w), KindBall, n};
     }, true},
    {"carried ball", [] { return RodPendulum(true); }, true},
    {"hung rod", [] { return RodPendulum(false); }, true},
    {"free rod", [] {
         auto w = StillScene(9.81);
         const int n = AddRod(*w, {0, 5}, 0.3, 1, 0.02);
         w->Pegs[n].Velocity = {1, 0};
         w->Pegs[n].Omega = 2;
         return Subject{std::move(w), KindPeg, n};
     }, true},
};

TEST(RecordedQuantities, AgreeWithTheWindowAndTheMotion) {
    using enum Quantity;
    for (const Case& c : Cases) {
        Subject s = c.Make();
        World& world = *s.Scene;
        Recorder recorder;
        recorder.Enable(true);
        for (const QuantityInfo& info : AllQuantities()) ASSERT_TRUE(recorder.Add({s.Kind, s.Number, info.Id}));
        StepContext context;
        SilentMessenger messenger;
        recorder.SampleNow(world);
        for (int i = 0; i < 300; ++i) {
            ASSERT_TRUE(MechanicalStep(world, Dt, messenger, context));
            recorder.Sample(world);
        }
        const std::size_t last = recorder.Count(0) - 1;
        const auto at = [&](Quantity q, std::size_t k = 0) {
            return recorder.Value(static_cast<std::size_t>(recorder.IndexOf({s.Kind, s.Number, q})), last - k);
        };
        const bool ball = s.Kind != KindPeg;
        const double mass = ball ? world.Balls[s.Number].Mass : world.Pegs[s.Number].Mass;
        EXPECT_GT(std::hypot(at(VelocityX), at(VelocityY)), 0.1) << c.Name;
        EXPECT_NEAR(at(MomentumX), mass * at(VelocityX), 1e-12 * mass) << c.Name;
        EXPECT_NEAR(at(MomentumY), mass * at(VelocityY), 1e-12 * mass) << c.Name;
        if (ball) {
            // What the ball window shows for the same state.
            const BallForm form(world, s.Number);
            EXPECT_DOUBLE_EQ(at(VelocityX), form.Get(ValueVelocityX)) << c.Name;
            EXPECT_DOUBLE_EQ(at(VelocityY), form.Get(ValueVelocityY)) << c.Name;
            EXPECT_DOUBLE_EQ(at(MomentumX), form.Vector(4).X) << c.Name;
        } else {
            // What the rod window shows; x and y are the middle of the rod's own body,
            // which is the centre the window shows for a free rod without balls.
            const PegForm form(world, s.Number);
            const Peg& rod = form.Copy();
            EXPECT_DOUBLE_EQ(DisplayValue(UnitKind::Angle, at(Phi), world.Units), form.ShownPhi()) << c.Name;
            EXPECT_DOUBLE_EQ(DisplayValue(UnitKind::Angle, at(Omega), world.Units), form.ShownOmega()) << c.Name;
            EXPECT_DOUBLE_EQ(DisplayValue(UnitKind::Angle, at(Epsilon), world.Units), form.ShownEpsilon()) << c.Name;
            EXPECT_NEAR(at(AngularMomentum), rod.AngularMomentum, 1e-12 * std::fabs(rod.AngularMomentum)) << c.Name;
            EXPECT_NEAR(at(Torque), rod.Torque, 1e-12 * (1 + std::fabs(rod.Torque))) << c.Name;
            EXPECT_DOUBLE_EQ(at(KineticEnergy), rod.KineticEnergy) << c.Name;
            EXPECT_DOUBLE_EQ(at(PotentialEnergy), rod.PotentialEnergy) << c.Name;
            EXPECT_DOUBLE_EQ(at(X), RodMiddle(rod).X) << c.Name;
            if (rod.HangLaval == 0) {
                EXPECT_DOUBLE_EQ(at(Y), form.ShownCentre().Y) << c.Name;
            }
        }
        if (c.Held) {
            for (auto [a, v] : {std::pair{AccelerationX, VelocityX}, std::pair{AccelerationY, VelocityY},
                                std::pair{Epsilon, Omega}}) {
                EXPECT_NEAR(at(a), (at(v) - at(v, 1)) / Dt, 1e-9 * (1 + std::fabs(at(a)))) << c.Name;
            }
            EXPECT_NEAR(at(ForceX), mass * at(AccelerationX), 1e-9 * mass) << c.Name;
            // A swinging body turns faster or slower: ε is not 0.
            if (s.Kind != KindPeg || world.Pegs[s.Number].HangLaval > 0) {
                EXPECT_GT(std::fabs(at(Epsilon)), 0.1) << c.Name;
            }
        } else {
            EXPECT_DOUBLE_EQ(at(AccelerationY), world.Balls[s.Number].Acceleration.Y) << c.Name;
            EXPECT_DOUBLE_EQ(at(AngularMomentum), world.Balls[s.Number].Inertia * at(Omega)) << c.Name;
            EXPECT_NE(at(AngularMomentum), 0) << c.Name;
            EXPECT_DOUBLE_EQ(at(Torque), world.Balls[s.Number].Inertia * at(Epsilon)) << c.Name;
        }
    }
}

TEST(RecordedQuantities, HungBallAngularMomentumIsAboutItsPoint) {
    auto world = StillScene(9.81);
    const int n = HungBall(*world, {0, 2}, 0.4);
    StepContext context;
    SilentMessenger messenger;
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(MechanicalStep(*world, Dt, messenger, context));
    const Ball& b = world->Balls[n];
    const Vec2 centre = b.Position - world->Lavals[b.BindNumber].Position;
    const Vec2 v = BallCentreVelocity(*world, b, n);
    // r × m v of the centre plus the ball's own turning J ω.
    const double expected = Cross(centre, v) * b.Mass + b.Inertia * Cross(centre, v) / Dot(centre, centre);
    EXPECT_NEAR(ReadQuantity(*world, KindBall, n, Quantity::AngularMomentum), expected, 1e-9 * std::fabs(expected));
}

// Before any step a rod's stored angular momentum and torque are not yet
// those of its motion; the recording takes them from ω and ε.
TEST(RecordedQuantities, RodTurningHoldsBeforeTheFirstStep) {
    Subject s = RodPendulum(false);
    Peg& rod = s.Scene->Pegs[s.Number];
    rod.Omega = 1.5;
    rod.Epsilon = -2;
    rod.AngularMomentum = 0;
    rod.Torque = 0;
    EXPECT_DOUBLE_EQ(ReadQuantity(*s.Scene, KindPeg, s.Number, Quantity::AngularMomentum), rod.PivotInertia * 1.5);
    EXPECT_DOUBLE_EQ(ReadQuantity(*s.Scene, KindPeg, s.Number, Quantity::Torque), rod.PivotInertia * -2);
}

}  // namespace
}  // namespace velo
