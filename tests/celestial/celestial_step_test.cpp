// The celestial step: free motion, mutual attraction, the contact and speed
// tests with their messages, refused steps, and a closed orbit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <vector>

#include "celestial/celestial_step.h"
#include "celestial_scenes.h"
#include "engine/step_scenes.h"

namespace velo {
namespace {

using testing::CelestialScene;
using testing::PlaceBody;
using testing::RecordingMessenger;

std::set<int> SelectedBodies(const World& world) {
    std::set<int> selected;
    for (int n = 1; n <= world.HBodyCount; ++n)
        if (world.HBodies[static_cast<std::size_t>(n)].Selected) selected.insert(n);
    return selected;
}

TEST(CelestialStep, SingleBodyMovesInAStraightLine) {
    auto world = CelestialScene();
    const Vec3 start{1e6, -2e6, -1e9};
    const Vec3 velocity{300, -200, 100};
    const int n = PlaceBody(*world, start, velocity, 1e5, 1e20);
    RecordingMessenger messenger;
    for (int k = 0; k < 100; ++k) ASSERT_TRUE(CelestialStep(*world, 10, messenger));
    const HBody& body = world->HBodies[static_cast<std::size_t>(n)];
    EXPECT_EQ(body.Velocity.X, velocity.X);
    EXPECT_EQ(body.Velocity.Y, velocity.Y);
    EXPECT_EQ(body.Velocity.Z, velocity.Z);
    EXPECT_EQ(body.Acceleration.X, 0);
    EXPECT_NEAR(body.Position.X, start.X + 1000 * velocity.X, 1e-6);
    EXPECT_NEAR(body.Position.Y, start.Y + 1000 * velocity.Y, 1e-6);
    EXPECT_NEAR(body.Position.Z, start.Z + 1000 * velocity.Z, 1e-6);
    EXPECT_EQ(world->T, 1000);
    EXPECT_TRUE(messenger.Shown.empty());
}

TEST(CelestialStep, EqualMassesAccelerateEquallyAndOppositely) {
    auto world = CelestialScene();
    const double mass = 6e24;
    const int a = PlaceBody(*world, {-1e7, 2e6, -5e8}, {}, 1e6, mass);
    const int b = PlaceBody(*world, {3e7, -1e6, -4.9e8}, {}, 1e6, mass);
    // The edit copy in slot 0 is no source of the field.
    world->HBodies[0] = world->HBodies[static_cast<std::size_t>(a)];
    world->HBodies[0].Position = {0, 0, -4.95e8};
    RecordingMessenger messenger;
    const double dt = 2;
    ASSERT_TRUE(CelestialStep(*world, dt, messenger));
    const HBody& A = world->HBodies[static_cast<std::size_t>(a)];
    const HBody& B = world->HBodies[static_cast<std::size_t>(b)];
    const Vec3 d{4e7, -3e6, 1e7};
    const double r = std::sqrt(d.X * d.X + d.Y * d.Y + d.Z * d.Z);
    const double g = world->Celestial.GravitationalConstant * mass / (r * r);
    const double along[3] = {A.Acceleration.X, A.Acceleration.Y, A.Acceleration.Z};
    const double back[3] = {B.Acceleration.X, B.Acceleration.Y, B.Acceleration.Z};
    const double unit[3] = {d.X / r, d.Y / r, d.Z / r};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(along[k], -back[k]);
        EXPECT_NEAR(along[k], g * unit[k], g * 1e-14);
    }
    // Kick then drift: the velocity holds this step's acceleration and the
    // position moved with that velocity; momentum and force follow.
    EXPECT_EQ(A.Velocity.X, A.Acceleration.X * dt);
    EXPECT_EQ(A.Position.X, -1e7 + A.Velocity.X * dt);
    EXPECT_EQ(A.Momentum.Y, A.Velocity.Y * A.Mass);
    EXPECT_EQ(A.Force.Z, A.Acceleration.Z * A.Mass);
}

TEST(CelestialStep, ImmovableBodyAttractsButStays) {
    auto world = CelestialScene();
    const int fixed = PlaceBody(*world, {0, 0, -1e9}, {}, 1e6, 1e25);
    const int moving = PlaceBody(*world, {1e8, 0, -1e9}, {}, 1e6, 1e3);
    world->HBodies[static_cast<std::size_t>(fixed)].Movable = false;
    RecordingMessenger messenger;
    ASSERT_TRUE(CelestialStep(*world, 1, messenger));
    EXPECT_EQ(world->HBodies[static_cast<std::size_t>(fixed)].Position.X, 0);
    EXPECT_EQ(world->HBodies[static_cast<std::size_t>(fixed)].Acceleration.X, 0);
    EXPECT_LT(world->HBodies[static_cast<std::size_t>(moving)].Velocity.X, 0);
}

TEST(CelestialGravityField, PointsInsideABodyFeelNothingFromIt) {
    auto world = CelestialScene();
    PlaceBody(*world, {0, 0, 0}, {}, 10, 1e20);
    EXPECT_EQ(GravityField(*world, {9.999, 0, 0}).X, 0);
    EXPECT_LT(GravityField(*world, {10, 0, 0}).X, 0);  // on the surface it counts
    // A body of no size at the point itself adds nothing rather than NaN.
    world->HBodies[1].Radius = 0;
    const Vec3 self = GravityField(*world, {0, 0, 0});
    EXPECT_EQ(self.X, 0);
    EXPECT_EQ(self.Y, 0);
    EXPECT_EQ(self.Z, 0);
}

struct ContactCase {
    const char* Name;
    Vec3 Offset;  // of body 2 from body 1
    double Radius1;
    double Radius2;
    bool Contact;
};

TEST(CelestialStep, TouchingSpheresPassAndOverlappingOnesStop) {
    const double justBelow3 = std::nextafter(3.0, 0.0);
    // Two ulps of 3: one would be rounded away when the radii are added.
    const double justOver3 = std::nextafter(std::nextafter(3.0, 4.0), 4.0);
    const ContactCase cases[] = {
        {"touching on an axis", {3, 0, 0}, 1, 2, false},
        {"touching at a slant", {0, 3, -4}, 2, 3, false},
        {"overlapping by one ulp", {justBelow3, 0, 0}, 1, 2, true},
        {"overlapping at a slant", {0, 3, -4}, 2, justOver3, true},
        {"apart", {0, 0, 10}, 1, 2, false},
        {"one inside the other", {0.5, 0, 0}, 5, 1, true},
    };
    for (const ContactCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto world = CelestialScene();
        const Vec3 base{1, 2, -100};
        PlaceBody(*world, base, {1, 0, 0}, c.Radius1);
        PlaceBody(*world, {base.X + c.Offset.X, base.Y + c.Offset.Y, base.Z + c.Offset.Z}, {}, c.Radius2);
        PlaceBody(*world, {1e6, 0, 0}, {}, 1);  // far from both
        RecordingMessenger messenger;
        EXPECT_EQ(CelestialStep(*world, 1, messenger), !c.Contact);
        if (c.Contact) {
            ASSERT_EQ(messenger.Shown.size(), 1u);
            EXPECT_EQ(messenger.Shown[0].Text, CelestialCollisionMessage);
            EXPECT_EQ(messenger.Shown[0].Icon, MessageIcon::Error);
            EXPECT_EQ(SelectedBodies(*world), (std::set<int>{1, 2}));
        } else {
            EXPECT_TRUE(messenger.Shown.empty());
            EXPECT_TRUE(SelectedBodies(*world).empty());
        }
    }
}

struct SpeedCase {
    const char* Name;
    int FastBody;       // 0: none over the limit
    int Overlapping[2];  // a pair in contact, or {0, 0}
    std::set<int> Selected;
    const char* Message;  // nullptr: the step is taken
};

TEST(CelestialStep, SpeedLimitComesFirstAndFlagsWhatWasFound) {
    const double limit = 299792458.0 / 100;
    const std::string speed3 = CelestialSpeedMessage(3);
    const std::string speed1 = CelestialSpeedMessage(1);
    const SpeedCase cases[] = {
        {"exactly the limit passes", 0, {0, 0}, {}, nullptr},
        {"over the limit after an overlapping pair", 3, {1, 2}, {1, 2, 3}, speed3.c_str()},
        // Body 2 and 3 are not tested against each other before body 1 stops
        // the step.
        {"over the limit before an overlapping pair", 1, {2, 3}, {1}, speed1.c_str()},
        {"over the limit alone", 3, {0, 0}, {3}, speed3.c_str()},
    };
    for (const SpeedCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto world = CelestialScene();
        for (int n = 1; n <= 4; ++n) {
            const bool fast = n == c.FastBody;
            const Vec3 velocity{0, fast ? std::nextafter(limit, 1e300) : -limit, 0};
            PlaceBody(*world, {1000.0 * n, 0, -1e5}, velocity, 10);
        }
        if (c.Overlapping[0] != 0)
            world->HBodies[static_cast<std::size_t>(c.Overlapping[1])].Position =
                world->HBodies[static_cast<std::size_t>(c.Overlapping[0])].Position;
        RecordingMessenger messenger;
        EXPECT_EQ(CelestialStep(*world, 1, messenger), c.Message == nullptr);
        EXPECT_EQ(SelectedBodies(*world), c.Selected);
        if (c.Message) {
            ASSERT_EQ(messenger.Shown.size(), 1u);
            EXPECT_EQ(messenger.Shown[0].Text, c.Message);
        } else {
            EXPECT_TRUE(messenger.Shown.empty());
        }
    }
    EXPECT_EQ(speed3, "Скорость небесного тела №3 превышает 1% скорости света. Дальнейшая имитация невозможна.");
}

TEST(CelestialStep, RefusedStepKeepsTimeAndStateButCountsTheStep) {
    auto world = CelestialScene();
    PlaceBody(*world, {0, 0, -1e3}, {5, 0, 0}, 10, 1e12);
    PlaceBody(*world, {15, 0, -1e3}, {0, 5, 0}, 10, 1e12);
    world->T = 42;
    world->Params.StepCounter = 1999999999;
    const World before = *world;
    RecordingMessenger messenger;
    EXPECT_FALSE(CelestialStep(*world, 1, messenger));
    EXPECT_EQ(world->Params.StepCounter, 0);  // wraps at 2000000000
    EXPECT_EQ(world->T, 42);
    for (int n = 1; n <= 2; ++n) {
        const HBody& now = world->HBodies[static_cast<std::size_t>(n)];
        const HBody& was = before.HBodies[static_cast<std::size_t>(n)];
        EXPECT_EQ(now.Position.X, was.Position.X);
        EXPECT_EQ(now.Velocity.X, was.Velocity.X);
        EXPECT_EQ(now.Velocity.Y, was.Velocity.Y);
    }
    // Nothing moved, so the next step stops again.
    EXPECT_FALSE(CelestialStep(*world, 1, messenger));
    EXPECT_EQ(world->Params.StepCounter, 1);
    EXPECT_EQ(messenger.Shown.size(), 2u);
}

TEST(CelestialStep, CircularOrbitClosesAfterOnePeriod) {
    // Two bodies of mass 3:1 on circles about their resting centre of mass.
    auto world = CelestialScene();
    const double G = world->Celestial.GravitationalConstant;
    const double m1 = 3e24, m2 = 1e24, separation = 4e8;
    const double omega = std::sqrt(G * (m1 + m2) / (separation * separation * separation));
    const double r1 = separation * m2 / (m1 + m2), r2 = separation * m1 / (m1 + m2);
    const Vec3 centre{0, 0, -2e9};
    const int a = PlaceBody(*world, {centre.X - r1, centre.Y, centre.Z}, {0, 0, -omega * r1}, 6e6, m1);
    const int b = PlaceBody(*world, {centre.X + r2, centre.Y, centre.Z}, {0, 0, omega * r2}, 2e6, m2);
    const int steps = 20000;
    const double dt = 2 * std::numbers::pi / omega / steps;
    RecordingMessenger messenger;
    for (int k = 0; k < steps; ++k) ASSERT_TRUE(CelestialStep(*world, dt, messenger));
    const std::pair<int, Vec3> ends[] = {{a, {centre.X - r1, centre.Y, centre.Z}},
                                         {b, {centre.X + r2, centre.Y, centre.Z}}};
    for (const auto& [n, start] : ends) {
        const Vec3 p = world->HBodies[static_cast<std::size_t>(n)].Position;
        const double miss = std::hypot(p.X - start.X, p.Y - start.Y, p.Z - start.Z);
        const double radius = n == a ? r1 : r2;
        EXPECT_LT(miss, 1e-3 * radius) << "body " << n;
    }
}

}  // namespace
}  // namespace velo
