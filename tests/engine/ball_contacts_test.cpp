#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "contact_scenes.h"
#include "rod_scenes.h"
#include "engine/ball_contacts.h"
#include "engine/contact_response.h"
#include "engine/geometry.h"
#include "engine/imitator.h"
#include "model/messages.h"

namespace velo {
namespace {

using namespace velo::testing;
constexpr double pi = std::numbers::pi;

double Sliding(const Ball& b, Vec2 tangent) { return Dot(b.Velocity, tangent) + b.Radius * b.Omega; }

double HighestAfterBounce(World& w, double seconds, double dt) {
    bool bounced = false;
    double highest = -1e300;
    for (int k = 0; k * dt < seconds; ++k) {
        BallStep(w, dt);
        const Ball& b = w.Balls[1];
        if (b.Velocity.Y > 0) bounced = true;
        if (bounced) highest = std::max(highest, b.Position.Y);
    }
    return highest;
}

TEST(BallOnSupport, ElasticBallBouncesToTheSameHeight) {
    auto w = EmptyScene();
    AddHand(*w, 0, -5, 5, 0.05, 0);
    AddBall(*w, {0, 1}, 0.1, 0);
    const double highest = HighestAfterBounce(*w, 0.8, 1e-4);
    EXPECT_NEAR(highest, 1.0, 0.01);
}

TEST(BallOnSupport, InelasticBallStaysAfterTheFirstContact) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0, 1, 0.5, 0);
    AddHand(*w, 0, -5, 5, 0.05);
    AddBall(*w, {0, 1}, 0.1);
    bool touched = false;
    for (int k = 0; k < 8000; ++k) {
        BallStep(*w, 1e-4);
        const Ball& b = w->Balls[1];
        if (touched) {
            // Between contacts the ball sinks by at most g dt^2.
            EXPECT_LE(b.Velocity.Y, 1e-12) << "step " << k;
            EXPECT_NEAR(b.Position.Y, 0.15, 2e-7) << "step " << k;
        }
        if (b.Position.Y <= 0.15) touched = true;
    }
    EXPECT_TRUE(touched);
}

TEST(BallOnSupport, LambdaOneRollsWithoutSlidingAfterOneContact) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 1, 1, 0);
    AddHand(*w, 0, -5, 5, 0.05);
    // Touching the top face: the arm has the length of the radius.
    Ball& b = AddBall(*w, {0, 0.15}, 0.1, 1, {2, -0.01});  // slow normal speed: lambda
    ContactsOfBall(*w, 1);
    EXPECT_NEAR(Sliding(b, {1, 0}), 0, 1e-12);
    // A ball that has sunk in turns on its shorter arm.
    Ball& c = AddBall(*w, {3, 0.149}, 0.1, 1, {2, -0.01});
    ContactsOfBall(*w, 2);
    EXPECT_NEAR(Sliding(c, {1, 0}), 0, 0.02);
    EXPECT_NEAR(c.Position.Y, 0.15, 1e-15);  // pushed out to touch the top face
}

TEST(BallOnSupport, LambdaTakesItsFractionOfTheSliding) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 1, 0.25, 0);
    AddHand(*w, 0, -5, 5, 0.05);
    Ball& b = AddBall(*w, {0, 0.15}, 0.1, 1, {2, -0.01});
    ContactsOfBall(*w, 1);
    EXPECT_NEAR(Sliding(b, {1, 0}), 2 * 0.75, 1e-12);
}

TEST(BallOnSupport, FastObliqueImpactIsLimitedByCoulomb) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 0.1, 1, 0);
    AddHand(*w, 0, -5, 5, 0.05);
    Ball& b = AddBall(*w, {0, 0.15}, 0.1, 1, {5, -3});  // |vy| above RouthMinSpeed 1
    const double m = b.Mass;
    ContactsOfBall(*w, 1);
    const double jn = 1.5 * m * 3;
    EXPECT_NEAR(b.Velocity.Y, 1.5, 1e-12);
    EXPECT_NEAR(b.Velocity.X, 5 - 0.1 * jn / m, 1e-12);  // opposite to the sliding
    EXPECT_NEAR(b.Omega, -0.1 * jn * 0.1 / b.Inertia, 1e-9);
}

TEST(BallOnSupport, RollingResistanceOpposesTheRotation) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0, 1, 1, 0.01);
    AddHand(*w, 0, -5, 5, 0.05);
    Ball& b = AddBall(*w, {0, 0.15}, 0.1, 1, {1, 0});
    b.Force = {0, -b.Mass * 9.81};
    ContactsOfBall(*w, 1);
    ASSERT_LT(b.Omega, 0);
    EXPECT_NEAR(b.Torque, 0.01 * b.Mass * 9.81, 1e-9);
}

TEST(BallOnSupport, ZeroSupportDoesNotPushOutIdealBalls) {
    auto w = EmptyScene();
    w->Hands[0].Exists = true;
    w->Hands[0].Material = 0;
    Ball& b = AddBall(*w, {0, 0.1}, 0.1, 0, {0, -1});  // 0.05 deep into the top face
    ContactsOfBall(*w, 1);
    EXPECT_EQ(b.Position.Y, 0.1);
    EXPECT_NEAR(b.Velocity.Y, 1, 1e-12);  // only the impulse (e = 1)
    // With steel on both sides the same ball is pushed out.
    w->Hands[0].Material = 1;
    b.Material = 1;
    b.Velocity = {0, -1};
    ContactsOfBall(*w, 1);
    EXPECT_NEAR(b.Position.Y, 0.15, 1e-15);
}

TEST(BallOnSupport, CentreInsideTheBarOnlyCancelsTheForce) {
    auto w = EmptyScene();
    AddHand(*w, 0, -5, 5, 0.05);
    Ball& b = AddBall(*w, {1, 0.01}, 0.1, 1, {0, -1});
    b.Force = {3, -4};
    ContactsOfBall(*w, 1);
    EXPECT_EQ(b.Force, (Vec2{0, 0}));
    EXPECT_EQ(b.Velocity, (Vec2{0, -1}));
    EXPECT_EQ(b.Position, (Vec2{1, 0.01}));
}

TEST(BallOnWall, ElasticBallBetweenTwoWallsKeepsItsEnergy) {
    auto w = EmptyScene(0);
    AddWall(*w, -1, -5, 5, 0.05, 0);
    AddWall(*w, 1, -5, 5, 0.05, 0);
    Ball& b = AddBall(*w, {0, 0}, 0.1, 0, {3, 0.7});
    const double energy = Dot(b.Velocity, b.Velocity);
    int bounces = 0;
    double previous = b.Velocity.X;
    for (int k = 0; k < 20000; ++k) {
        BallStep(*w, 1e-4);
        if (b.Velocity.X * previous < 0) ++bounces;
        previous = b.Velocity.X;
        ASSERT_GT(b.Position.X, -1);
        ASSERT_LT(b.Position.X, 1);
    }
    EXPECT_GE(bounces, 3);
    EXPECT_NEAR(Dot(b.Velocity, b.Velocity), energy, energy * 1e-12);
    EXPECT_NEAR(b.Omega, 0, 1e-12);
}

TEST(BallOnBar, BoundsGivenInEitherOrderMakeTheSameBar) {
    // The wall window lists a wall's bounds top first and files keep them as
    // given: with its bounds reversed a bar stops a ball exactly as it does
    // with them in order, at its face and at its corner.
    struct Case {
        const char* Name;
        bool Wall;
        Vec2 Start;
        Vec2 Velocity;
    };
    const Case cases[] = {
        {"support, face", false, {0.3, 0.5}, {0, -2}},
        {"support, corner", false, {0.98, 0.5}, {0.3, -2}},
        {"wall, face", true, {-0.5, 0.3}, {2, 0}},
        {"wall, corner", true, {-0.5, -0.98}, {2, -0.3}},
    };
    for (const Case& c : cases) {
        Vec2 after[2];
        for (int reversed = 0; reversed < 2; ++reversed) {
            auto w = EmptyScene(0);
            const double from = reversed ? 1 : -1;
            if (c.Wall) AddWall(*w, 0, from, -from, 0.05);
            else AddHand(*w, 0, from, -from, 0.05);
            const Ball& b = AddBall(*w, c.Start, 0.1, 1, c.Velocity);
            for (int k = 0; k < 500; ++k) BallStep(*w, 1e-3);
            after[reversed] = b.Velocity;
        }
        EXPECT_LT(Dot(after[0], c.Velocity), 0) << c.Name << ": the ball did not come back";
        EXPECT_EQ(after[1], after[0]) << c.Name;
    }
}

TEST(BallOnPlane, RollsDownTheSlopeWithTheRollingAcceleration) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0, 1, 1, 0);
    w->Params.RouthMinSpeed = 1;
    const double theta = 20 * pi / 180;
    const Vec2 down{std::cos(theta), -std::sin(theta)};
    const Vec2 normal{std::sin(theta), std::cos(theta)};
    AddPlane(*w, Vec2{-3, 0} - down * 0, Vec2{-3, 0} + down * 10, 0.05, false);
    const double r = 0.1;
    Ball& b = AddBall(*w, Vec2{-3, 0} + down * 0.5 + normal * (0.05 + r), r);
    const double seconds = 1;
    const double dt = 1e-4;
    for (int k = 0; k * dt < seconds - dt / 2; ++k) BallStep(*w, dt);
    const double along = Dot(b.Velocity, down);
    const double expected = 9.81 * std::sin(theta) / 1.4 * seconds;
    EXPECT_NEAR(along, expected, expected * 0.01);
    EXPECT_NEAR(Dot(b.Velocity, normal), 0, 0.01);
    EXPECT_NEAR(Sliding(b, down), 0, expected * 1e-3);
}

TEST(BallOnPlane, CentreInsideSolidTriangleStopsEverything) {
    auto w = EmptyScene();
    AddPlane(*w, {0, 2}, {3, 0}, 0.05, true);
    Ball& b = AddBall(*w, {0.5, 0.5}, 0.1, 1, {3, -2});
    b.Omega = 5;
    b.Phi = 1.25;
    b.Torque = 2;
    b.Epsilon = 1;
    b.Force = {1, 1};
    b.KineticEnergy = 7;
    ContactsOfBall(*w, 1);
    EXPECT_EQ(b.Velocity, (Vec2{0, 0}));
    EXPECT_EQ(b.Force, (Vec2{0, 0}));
    EXPECT_EQ(b.Omega, 0);
    EXPECT_EQ(b.Phi, 0);
    EXPECT_EQ(b.Torque, 0);
    EXPECT_EQ(b.Epsilon, 0);
    EXPECT_EQ(b.KineticEnergy, 0);
    EXPECT_EQ(b.Position, (Vec2{0.5, 0.5}));
}

TEST(BallOnPlane, BallOnTheSlopeOfATriangleIsPushedOutAlongTheNormal) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 1, 0, 0, 0);
    AddPlane(*w, {0, 3}, {4, 0}, 0.05, true);  // slope 3-4-5
    const Vec2 normal{0.6, 0.8};
    Ball& b = AddBall(*w, Vec2{2, 1.5} + normal * 0.09, 0.1, 1, normal * -1.0);
    ContactsOfBall(*w, 1);
    EXPECT_NEAR(Distance(b.Position, {2, 1.5}), 0.1, 1e-12);
    EXPECT_NEAR(Dot(b.Velocity, normal), 1, 1e-12);
}

TEST(BallOnPlane, CentreInsideThePlateOnlyCancelsTheForce) {
    auto w = EmptyScene();
    AddPlane(*w, {0, 0}, {2, 2}, 0.1, false);
    Ball& b = AddBall(*w, {1, 1.05}, 0.1);
    b.Force = {1, 2};
    ContactsOfBall(*w, 1);
    EXPECT_EQ(b.Force, (Vec2{0, 0}));
    EXPECT_EQ(b.Position, (Vec2{1, 1.05}));
}

TEST(BallOnBall, LayersPassThroughAndTheSameLayerCollides) {
    for (int layer : {0, 1}) {
        auto w = EmptyScene(0);
        Ball& a = AddBall(*w, {0, 0}, 0.1, 0);
        Ball& b = AddBall(*w, {0.15, 0}, 0.1, 0, {-1, 0});
        b.Z = static_cast<std::uint8_t>(layer);
        ContactsOfBall(*w, 2);
        if (layer == 1) {
            EXPECT_EQ(b.Velocity, (Vec2{-1, 0}));
            EXPECT_EQ(b.Position, (Vec2{0.15, 0}));
            EXPECT_EQ(a.Velocity, (Vec2{0, 0}));
        } else {
            // Equal elastic balls exchange their velocities and each gives
            // way by half the overlap.
            EXPECT_NEAR(b.Velocity.X, 0, 1e-12);
            EXPECT_NEAR(a.Velocity.X, -1, 1e-12);
            EXPECT_NEAR(b.Position.X, 0.175, 1e-15);
            EXPECT_NEAR(a.Position.X, -0.025, 1e-15);
            EXPECT_EQ(a.Position.Y, 0);
        }
    }
}

TEST(BallOnBall, FreezingIsContagious) {
    auto w = EmptyScene(0);
    Ball& frozen = AddBall(*w, {0, 0}, 0.1);
    frozen.Movable = false;
    Ball& b = AddBall(*w, {0.19, 0}, 0.1, 1, {-1, 0});
    Ball& c = AddBall(*w, {0.38, 0}, 0.1, 1, {-1, 0});
    ContactsOfBall(*w, 2);
    EXPECT_FALSE(b.Movable);
    EXPECT_EQ(b.Velocity, (Vec2{-1, 0}));
    EXPECT_EQ(b.Position, (Vec2{0.19, 0}));
    ContactsOfBall(*w, 3);
    EXPECT_FALSE(c.Movable);
    // Through the step: a frozen ball stays where it is.
    auto w2 = EmptyScene();
    AddHand(*w2, 0, -5, 5, 0.05);
    AddBall(*w2, {0, 0.15}, 0.1).Movable = false;
    AddBall(*w2, {0.19, 0.15}, 0.1, 1, {-1, 0});
    BallStep(*w2, 1e-3);
    EXPECT_FALSE(w2->Balls[2].Movable);
    EXPECT_NEAR(w2->Balls[2].Position.X, 0.19, 1e-15);
    EXPECT_NEAR(w2->Balls[2].Position.Y, 0.15, 1e-15);
}

// Relative sliding speed of the contact points of ball i on ball j, in the
// frame of the contact arm of i.
double PairSliding(const Ball& bi, const Ball& bj) {
    const Vec2 d = bj.Position - bi.Position;
    const double frame = ContactFrameAngle(d - UnitVector(d) * bj.Radius);
    return ToContactFrame(bi.Velocity, frame).X + bi.Radius * bi.Omega - ToContactFrame(bj.Velocity, frame).X +
           bj.Radius * bj.Omega;
}

TEST(BallOnBall, FrictionNeverSpeedsUpTheSlidingOfASeparatingPair) {
    // Overlapping balls already moving apart fast get a negative normal
    // impulse; the friction must still oppose their sliding.
    struct Case {
        Vec2 VelocityI, VelocityJ;
        double OmegaI, OmegaJ, Friction;
    };
    const Case cases[] = {
        {{3, 20}, {-3, 0}, 0, 0, 0.1},    {{3, -20}, {-3, 5}, 10, 0, 0.2},
        {{5, 0}, {0, 0}, 100, -40, 0.05}, {{2, 1}, {-2, -1}, -300, 0, 0.5},
    };
    for (const Case& c : cases) {
        auto w = EmptyScene(0);
        SetPair(*w, 1, 1, 0.5, c.Friction, 0.5, 0);
        w->Params.RouthMinSpeed = 1;
        Ball& bj = AddBall(*w, {0, 0}, 0.1, 1, c.VelocityJ);
        Ball& bi = AddBall(*w, {0.19, 0}, 0.1, 1, c.VelocityI);
        bi.Omega = c.OmegaI;
        bj.Omega = c.OmegaJ;
        const double before = PairSliding(bi, bj);
        ContactWithBall(*w, 2, 1);
        const double after = PairSliding(bi, bj);
        EXPECT_LE(std::fabs(after), std::fabs(before) + 1e-12) << c.VelocityI.Y << " " << c.OmegaI;
        // Limited by Coulomb: the sliding changes sign at most to zero.
        EXPECT_GE(after * before, -1e-12);
    }
}

TEST(BallOnBall, CentreInsideTheOtherBallIsPushedBackOnItsOwnSide) {
    // Deep overlaps: the pair comes apart along the line it lies on, the
    // processed ball on the side it came from, never through the other
    // ball's centre; the pair's centre of mass stays where it was.
    for (const double gap : {0.05, 0.1, 0.02}) {
        for (const double radiusI : {0.1, 0.05, 0.2}) {
            auto w = EmptyScene(0);
            SetPair(*w, 1, 1, 1, 0, 0, 0);
            Ball& bj = AddBall(*w, {0, 0}, 0.1);
            Ball& bi = AddBall(*w, {gap * 0.6, gap * 0.8}, radiusI, 1, {-0.6, -0.8});
            const Vec2 centreOfMass = (bi.Position * bi.Mass + bj.Position * bj.Mass) / (bi.Mass + bj.Mass);
            ContactWithBall(*w, 2, 1);
            const Vec2 apart = bi.Position - bj.Position;
            EXPECT_NEAR(Magnitude(apart), 0.1 + radiusI, 1e-12) << gap << " " << radiusI;
            EXPECT_GT(apart.X, 0);
            EXPECT_NEAR(apart.Y / apart.X, 0.8 / 0.6, 1e-9);
            const Vec2 after = (bi.Position * bi.Mass + bj.Position * bj.Mass) / (bi.Mass + bj.Mass);
            EXPECT_NEAR(Distance(after, centreOfMass), 0, 1e-15);
            // An elastic head-on impact along the line of centres: the
            // approach speed 1 becomes a separation speed 1.
            EXPECT_NEAR(Dot(bi.Velocity - bj.Velocity, Vec2{0.6, 0.8}), 1, 1e-12);
            EXPECT_NEAR(Cross(bi.Velocity, Vec2{0.6, 0.8}), 0, 1e-12);
        }
    }
}

TEST(BallOnBall, PushOutIsSharedByMassAndHeldBallsStayPut) {
    // Ball 2 (radius ri) overlaps ball 1 (radius 0.1) by 0.02 along x. Each
    // free ball gives way by the other's share of the mass; a ball hung on
    // a suspension point or carried by a rod stays and the other takes the
    // whole overlap; with both held ball 2 moves alone, as before the share.
    struct Case {
        const char* Name;
        double RadiusI;
        bool HungJ, CarriedI, HungI;
        double MoveI, MoveJ;  // along x
    };
    const Case cases[] = {
        {"equal", 0.1, false, false, false, 0.01, -0.01},
        {"light i", 0.05, false, false, false, 0.02 * 8 / 9, -0.02 / 9},
        {"hung j", 0.1, true, false, false, 0.02, 0},
        {"carried i", 0.1, false, true, false, 0, -0.02},
        {"both held", 0.1, true, false, true, 0.02, 0},
    };
    for (const Case& c : cases) {
        auto w = EmptyScene(0);
        const double x = 0.08 + c.RadiusI;
        AddBall(*w, {0, 0}, 0.1, 0);
        AddBall(*w, {x, 0}, c.RadiusI, 0);
        AddLaval(*w, {0, 0.5});
        if (c.HungJ) w->Balls[1].BindKind = BindLaval, w->Balls[1].BindNumber = 1;
        if (c.HungI) w->Balls[2].BindKind = BindLaval, w->Balls[2].BindNumber = 1;
        if (c.CarriedI) {
            AddRod(*w, {x + 0.5 + c.RadiusI, 0}, 0, 1, 0.02);
            FastenAt(*w, 1, 1, 2);
            w->Balls[2].Position = {x, 0};
        }
        const Vec2 i0 = w->Balls[2].Position;
        ContactWithBall(*w, 2, 1);
        EXPECT_NEAR(w->Balls[2].Position.X - i0.X, c.MoveI, 1e-15) << c.Name;
        EXPECT_NEAR(w->Balls[1].Position.X, c.MoveJ, 1e-15) << c.Name;
    }
}

TEST(BallOnBall, HungBallAndFreeBallStrikeOnceKeepingEnergyAndAngularMomentum) {
    // A ball hung on a radius of 1 m, at the bottom of its swing, and a free
    // ball of the same size level with it, 0.1 mm apart; no gravity, elastic
    // and frictionless. Either one moves at 1 m/s into the other, at rest,
    // and either may be the higher-numbered. The suspension point exerts no
    // torque about itself, so the angular momentum about it is kept, and so
    // is the energy; after the single strike nothing acts on the free ball.
    struct Case {
        const char* Name;
        int Hung;          // its number; the free ball takes the other
        bool HungStrikes;  // else the free ball strikes the hung one
    };
    const Case cases[] = {
        {"hung 1 strikes", 1, true},
        {"hung 2 strikes", 2, true},
        {"free 2 strikes hung 1", 1, false},
        {"free 1 strikes hung 2", 2, false},
    };
    const Vec2 pivot{0, 1};
    for (const Case& c : cases) {
        auto w = EmptyScene(0);
        SetPair(*w, 1, 1, 1, 0, 0, 0);
        AddLaval(*w, pivot);
        const int free = 3 - c.Hung;
        for (int n = 1; n <= 2; ++n) AddBall(*w, n == c.Hung ? Vec2{0, 0} : Vec2{0.2001, 0}, 0.1);
        Ball& hung = w->Balls[c.Hung];
        hung.BindKind = BindLaval;
        hung.BindNumber = 1;
        hung.BindAngle = pi / 2;
        hung.BindRadius = 1;
        if (c.HungStrikes) hung.Omega = 1;  // the centre moves at 1 m/s along +x
        else w->Balls[free].Velocity = {-1, 0};
        const auto energy = [&] {
            const Ball& h = w->Balls[c.Hung];
            const Ball& f = w->Balls[free];
            return ((h.Inertia + h.Mass) * h.Omega * h.Omega + f.Mass * Dot(f.Velocity, f.Velocity) +
                    f.Inertia * f.Omega * f.Omega) / 2;
        };
        const auto angularMomentum = [&] {
            const Ball& h = w->Balls[c.Hung];
            const Ball& f = w->Balls[free];
            return (h.Inertia + h.Mass) * h.Omega + f.Mass * Cross(f.Position - pivot, f.Velocity) +
                   f.Inertia * f.Omega;
        };
        const double energy0 = energy();
        const double angularMomentum0 = angularMomentum();
        StepContext context;
        for (int k = 0; k < 100; ++k) FullStep(*w, 1e-3, context);
        const Vec2 freeAfter = w->Balls[free].Velocity;
        EXPECT_GT(std::fabs(freeAfter.X - (c.HungStrikes ? 0 : -1)), 0.9) << c.Name << ": no strike";
        EXPECT_NEAR(energy() / energy0, 1, 1e-9) << c.Name;
        EXPECT_NEAR(angularMomentum() / angularMomentum0, 1, 1e-9) << c.Name;
        for (int k = 0; k < 200; ++k) FullStep(*w, 1e-3, context);
        EXPECT_EQ(w->Balls[free].Velocity, freeAfter) << c.Name << ": struck again";
    }
}

TEST(BallOnBall, HungBallStrikesACarriedBallAsTwoPendulums) {
    // A ball hung on a radius of 1 m swings at 1 rad/s into the bob of a rod
    // pendulum at rest (a rod 0.9 m long hung at its end, a ball of the same
    // size at the other), level with it; no gravity, elastic, frictionless.
    // Both contact points lie 1 m below their points, so the effective
    // masses there are the moments of inertia about the points, and the
    // pendulums exchange their swings as two bodies of those masses.
    auto w = EmptyScene(0);
    SetPair(*w, 1, 1, 1, 0, 0, 0);
    AddLaval(*w, {0, 1});
    AddLaval(*w, {0.2001, 1});
    AddBall(*w, {0, 0}, 0.1);
    AddBall(*w, {0.2001, 0}, 0.1);
    Ball& hung = w->Balls[1];
    hung.BindKind = BindLaval;
    hung.BindNumber = 1;
    hung.BindAngle = pi / 2;
    hung.BindRadius = 1;
    hung.Omega = 1;
    const int rod = AddRod(*w, {0.2001, 0.55}, -pi / 2, 0.9, 0.02);
    HangRod(*w, rod, 2, 0);
    FastenAt(*w, rod, 2, 2);
    const double hungInertia = hung.Inertia + hung.Mass;
    const double rodInertia = w->Pegs[rod].PivotInertia;
    StepContext context;
    for (int k = 0; k < 100; ++k) FullStep(*w, 1e-3, context);
    EXPECT_NEAR(w->Balls[1].Omega, (hungInertia - rodInertia) / (hungInertia + rodInertia), 1e-4);
    EXPECT_NEAR(w->Pegs[rod].Omega, 2 * hungInertia / (hungInertia + rodInertia), 1e-4);
}

TEST(BallOnBall, CoincidingCentresGiveNoNaNAndMoveNothing) {
    auto w = EmptyScene(0);
    Ball& a = AddBall(*w, {1, 1}, 0.1, 1, {0.5, 0});
    Ball& b = AddBall(*w, {1, 1}, 0.1, 1, {0, 0.25});
    ContactsOfBall(*w, 2);
    for (const Ball* ball : {&a, &b}) {
        EXPECT_EQ(ball->Position, (Vec2{1, 1}));
        EXPECT_FALSE(std::isnan(ball->Velocity.X) || std::isnan(ball->Velocity.Y));
        EXPECT_FALSE(std::isnan(ball->Omega));
    }
    // A ball centred exactly on a suspension point.
    AddLaval(*w, {1, 1});
    ContactsOfBall(*w, 2);
    EXPECT_FALSE(std::isnan(b.Velocity.X) || std::isnan(b.Velocity.Y) || std::isnan(b.Omega));
}

TEST(BallOnLaval, SuspensionPointGivesAnImpulseWithoutPushOut) {
    auto w = EmptyScene(0);
    AddLaval(*w, {0, 0});
    Ball& b = AddBall(*w, {0, 0.05}, 0.1, 1, {0, -1});  // steel on material 0: e = 1
    ContactsOfBall(*w, 1);
    EXPECT_EQ(b.Position, (Vec2{0, 0.05}));
    EXPECT_NEAR(b.Velocity.Y, 1, 1e-12);
}

TEST(BallOnSurface, ClosedPolylineStopsBallsAtItsClosingEdge) {
    for (bool closed : {false, true}) {
        auto w = EmptyScene();
        // A square whose closing edge (last vertex back to the first) is its top.
        AddSurface(*w, {{-1, 0}, {-1, -1}, {1, -1}, {1, 0}}, closed, 0.02, 0);
        AddBall(*w, {0, 0.5}, 0.1, 0);
        for (int k = 0; k < 5000; ++k) BallStep(*w, 1e-4);
        if (closed) EXPECT_GT(w->Balls[1].Position.Y, 0.1);
        else EXPECT_LT(w->Balls[1].Position.Y, 0);
    }
}

TEST(BallOnSurface, ThickLineKeepsTheBallAtRadiusPlusHalfThickness) {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0, 1, 1, 0);
    AddSurface(*w, {{-2, 0}, {0, 0}, {2, 0.0}}, false, 0.03);
    AddBall(*w, {0.3, 0.5}, 0.1);
    for (int k = 0; k < 5000; ++k) BallStep(*w, 1e-4);
    EXPECT_NEAR(w->Balls[1].Position.Y, 0.13, 1e-5);
}

TEST(BallOnCurve, BallRestsOnTheTopOfAnEllipseAndOfAHyperbola) {
    for (std::uint8_t kind : {Ellipse, Hyperbola}) {
        auto w = EmptyScene();
        SetPair(*w, 1, 1, 0, 1, 1, 0);
        // Turned by pi/2 so that the vertex at t = 0 is the top, at (0, 1).
        const Vec2 centre = kind == Ellipse ? Vec2{0, 0} : Vec2{0, 0};
        AddCurve(*w, kind, centre, pi / 2, 1, 2, -1, 1, 0.02);
        AddBall(*w, {0, 1.5}, 0.1);
        for (int k = 0; k < 5000; ++k) BallStep(*w, 1e-4);
        EXPECT_NEAR(w->Balls[1].Position.Y, 1.12, 1e-4) << int(kind);
        EXPECT_NEAR(w->Balls[1].Position.X, 0, 1e-6) << int(kind);
    }
}

TEST(ContactPairs, MaterialIndicesBeyondTheTablesCountAsIdeal) {
    auto w = EmptyScene(0);
    AddHand(*w, 0, -5, 5, 0.05, 1);
    Ball& b = AddBall(*w, {0, 0.15}, 0.1, 250, {0, -1});
    ContactsOfBall(*w, 1);
    EXPECT_NEAR(b.Velocity.Y, 1, 1e-12);  // pair (0, 1): e = 1
    EXPECT_EQ(GuardedMaterial(101), 0);
    EXPECT_EQ(GuardedMaterial(100), 100);
}


TEST(BallPile, PressedPileStaysInItsBoxWithoutGainingEnergy) {
    // 30 steel balls in rows of 10 dropped into a narrow box: the rows are
    // pressed sideways against the walls while they settle.
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 1, 0.5, 0.01);
    const double inner = 1.075;
    AddHand(*w, 0, -inner - 0.15, inner + 0.15, 0.05);
    AddWall(*w, -inner - 0.05, -0.1, 10, 0.05);
    AddWall(*w, inner + 0.05, -0.1, 10, 0.05);
    for (int k = 0; k < 30; ++k) {
        AddBall(*w, {-inner + 0.15 + (k % 10) * 0.205 + (k / 10 % 2) * 0.05, 0.16 + (k / 10) * 0.205}, 0.1);
    }
    auto energy = [&] {
        double e = 0;
        for (int n = 1; n <= w->BallCount; ++n) {
            const Ball& b = w->Balls[n];
            e += 0.5 * b.Mass * Dot(b.Velocity, b.Velocity) + 0.5 * b.Inertia * b.Omega * b.Omega +
                 b.Mass * 9.81 * b.Position.Y;
        }
        return e;
    };
    const double start = energy();
    for (int step = 0; step < 20000; ++step) {
        BallStep(*w, 1e-3);
        if (step % 500 != 0) continue;
        ASSERT_LE(energy(), start) << step;
        for (int n = 1; n <= w->BallCount; ++n) {
            const Ball& b = w->Balls[n];
            ASSERT_LT(std::fabs(b.Position.X), inner - 0.09) << "ball " << n << " step " << step;
            ASSERT_GT(b.Position.Y, 0.05 + 0.09) << "ball " << n << " step " << step;
            ASSERT_LT(Magnitude(b.Velocity), 1.0) << "ball " << n << " step " << step;
            for (int j = 1; j < n; ++j) {
                ASSERT_GT(Distance(b.Position, w->Balls[j].Position), 0.15) << n << " " << j << " " << step;
            }
        }
    }
}

TEST(BallPile, FourHundredBallsComeToRestAndNeverLeaveTheirBox) {
    // 400 steel balls dropped into a box: from 5 s on the pile stands still
    // to the eye (over every second the balls move less than 3 mm on
    // average and less than 1 cm, a pixel at the default scale, each), its
    // kinetic energy does not grow, and no ball ever leaves the box. The
    // velocities keep the jitter of the restitution floor; only the places
    // must rest. Builds with checks run the first 10 s only.
#ifdef NDEBUG
    const int seconds = 60;
#else
    const int seconds = 10;
#endif
    auto w = PileInBox();
    SilentMessenger messenger;
    StepContext context;
    std::vector<Vec2> start(static_cast<std::size_t>(w->BallCount) + 1);
    double restingEnergy = 0;
    for (int second = 0; second < seconds; ++second) {
        for (int n = 1; n <= w->BallCount; ++n) start[static_cast<std::size_t>(n)] = w->Balls[n].Position;
        double energy = 0;
        for (int step = 0; step < 1000; ++step) {
            ASSERT_TRUE(MechanicalStep(*w, 1e-3, messenger, context));
            for (int n = 1; n <= w->BallCount; ++n) {
                const Ball& b = w->Balls[n];
                energy += b.KineticEnergy / 1000;
                ASSERT_TRUE(std::fabs(b.Position.X) < 2.0 && b.Position.Y > 0.05)
                    << "ball " << n << " left the box at " << w->T;
            }
        }
        if (second < 5) continue;
        double sum = 0, most = 0;
        for (int n = 1; n <= w->BallCount; ++n) {
            const double moved = Distance(w->Balls[n].Position, start[static_cast<std::size_t>(n)]);
            sum += moved;
            most = std::max(most, moved);
        }
        EXPECT_LT(sum / w->BallCount, 0.003) << "second " << second;
        EXPECT_LT(most, 0.01) << "second " << second;
        if (second == 5) restingEnergy = energy;
        EXPECT_LE(energy, restingEnergy * 1.01) << "second " << second;
    }
}

TEST(BallOnPlane, LambdaOneRollsDownAtTheRollingAccelerationThroughTheMechanicalStep) {
    // a = g sin(theta) / (1 + k) for a ball (k = 0.4) and a cylinder (k = 0.5).
    for (const bool cylinder : {false, true}) {
        for (const double degrees : {10.0, 30.0}) {
            auto w = EmptyScene();
            SetPair(*w, 1, 1, 0, 1, 1, 0);
            w->Params.RouthMinSpeed = 1e9;
            const double theta = degrees * pi / 180;
            const Vec2 down{std::cos(theta), -std::sin(theta)};
            const Vec2 normal{std::sin(theta), std::cos(theta)};
            AddPlane(*w, Vec2{-3, 2}, Vec2{-3, 2} + down * 20, 0.05, false);
            Ball& b = AddBall(*w, Vec2{-3, 2} + down * 0.5 + normal * 0.15, 0.1);
            if (cylinder) {
                b.Shape = ShapeCylinder;
                b.Height = 0.05;
                b.InertiaFactor = 0.5;
            }
            SilentMessenger messenger;
            StepContext context;
            const double dt = 1e-3;
            const int steps = 1000;
            for (int k = 0; k < 200; ++k) ASSERT_TRUE(MechanicalStep(*w, dt, messenger, context));
            const double from = Dot(b.Velocity, down);
            for (int k = 0; k < steps; ++k) ASSERT_TRUE(MechanicalStep(*w, dt, messenger, context));
            const double measured = (Dot(b.Velocity, down) - from) / (steps * dt);
            const double expected = 9.81 * std::sin(theta) / (1 + b.InertiaFactor);
            EXPECT_NEAR(measured, expected, expected * 0.01) << degrees << " " << cylinder;
            // It rolls on the surface, neither sinking nor leaving it.
            EXPECT_NEAR(Dot(b.Position - Vec2{-3, 2}, normal), 0.15, 0.005);
        }
    }
}

}  // namespace
}  // namespace velo
