// Celestial bodies: mass, view angles, projection and stacking order.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "celestial/bodies.h"
#include "model/world_ops.h"

namespace velo {
namespace {

HBody BodyAt(Vec3 position, double radius) {
    HBody body;
    body.Exists = true;
    body.Position = position;
    body.Radius = radius;
    return body;
}

TEST(CelestialBody, MassFollowsRadiusAndDensity) {
    HBody body;
    body.Radius = 2;
    body.Density = 1000;
    UpdateBodyMass(body);
    EXPECT_EQ(body.Volume, 2 * (2 * (2 * 12.56637061435916)) / 3);
    EXPECT_DOUBLE_EQ(body.Volume, 4 * std::acos(-1.0) * 8 / 3);
    EXPECT_EQ(body.Mass, body.Volume * 1000);
}

TEST(CelestialParameters, ViewAnglesAndDistanceHoldTogether) {
    // The defaults are those derived from the vertical angle of pi/2.
    CelestialParameters derived;
    SetViewAngleV(derived, 1.570796326794895);
    const CelestialParameters defaults;
    EXPECT_NEAR(derived.ViewAngleH, defaults.ViewAngleH, 1e-14);
    EXPECT_NEAR(derived.ObserverDistance, defaults.ObserverDistance, 1e-9);
    // Setting the horizontal angle gives back the vertical one.
    CelestialParameters back;
    SetViewAngleH(back, derived.ViewAngleH);
    EXPECT_NEAR(back.ViewAngleV, 1.570796326794895, 1e-14);
    EXPECT_NEAR(back.ObserverDistance, 3500, 1e-9);

    auto world = std::make_unique<World>();
    world->Celestial.ViewAngleH = 1;
    DefaultWorld(*world);
    EXPECT_EQ(world->Celestial.ViewAngleH, defaults.ViewAngleH);
    EXPECT_EQ(world->Celestial.GravitationalConstant, 6.672e-11);
}

TEST(CelestialParameters, KeypadZoomStepsTheHorizontalAngleWithinItsRange) {
    const struct {
        double Angle;
        bool Wider;
        bool Taken;
        double After;
    } cases[] = {
        {1.5, true, true, 1.51}, {1.5, false, true, 1.49}, {2.995, true, false, 2.995},
        {0.105, false, false, 0.105}, {2.99, true, true, 3.0}, {0.11, false, true, 0.1},
    };
    for (const auto& c : cases) {
        CelestialParameters p;
        SetViewAngleH(p, c.Angle);
        EXPECT_EQ(StepViewAngleH(p, c.Wider), c.Taken) << c.Angle;
        EXPECT_NEAR(p.ViewAngleH, c.After, 1e-12) << c.Angle;
        CelestialParameters expected;
        SetViewAngleH(expected, p.ViewAngleH);
        EXPECT_EQ(p, expected);
    }
}

TEST(CelestialProjection, BodyOnTheAxisAppearsCentredWithItsRadius) {
    const double d = 3500;
    // A body made by a click at the field centre: on the axis at depth 1e9,
    // sized for 8.5 pixels, at one and at ten field units per pixel.
    for (const double unitsPerPixel : {1.0, 10.0}) {
        const double radius = 1e9 * 8.5 * unitsPerPixel / d;
        const BodyCircle circle = ProjectBody(BodyAt({0, 0, -1e9}, radius), d);
        ASSERT_TRUE(circle.Visible);
        const double expected = std::max(8.5 * unitsPerPixel, 20.0);
        EXPECT_NEAR(circle.Diameter / 2, expected, expected * 1e-3);  // R is small beside z
        EXPECT_NEAR(circle.Left + circle.Diameter / 2, 0, 1e-9);
        EXPECT_NEAR(circle.Top - circle.Diameter / 2, 0, 1e-9);
    }
    // Off the axis the centre moves by D x / |z| (y up: the top edge is
    // above the centre).
    const BodyCircle off = ProjectBody(BodyAt({2e8, -1e8, -1e9}, 1e7), d);
    ASSERT_TRUE(off.Visible);
    const double r = d * 1e7 / std::sqrt(1e18 - 1e14);
    EXPECT_DOUBLE_EQ(off.Diameter, 2 * r);
    EXPECT_DOUBLE_EQ(off.Left, d * 2e8 / 1e9 - r);
    EXPECT_DOUBLE_EQ(off.Top, d * -1e8 / 1e9 + r);
}

TEST(CelestialProjection, BodiesBehindOrAroundTheObserverAreNotDrawn) {
    EXPECT_FALSE(ProjectBody(BodyAt({0, 0, 1e9}, 1e6), 3500).Visible);   // behind
    EXPECT_FALSE(ProjectBody(BodyAt({0, 0, 0}, 1e6), 3500).Visible);     // at the eye
    EXPECT_FALSE(ProjectBody(BodyAt({0, 0, -1e6}, 1e6), 3500).Visible);  // encloses it
    EXPECT_FALSE(ProjectBody(BodyAt({0, 0, -1e6}, -2e6), 3500).Visible);
    HBody gone = BodyAt({0, 0, -1e9}, 1e6);
    gone.Exists = false;
    EXPECT_FALSE(ProjectBody(gone, 3500).Visible);
    // A tiny body still shows as 20 field units.
    EXPECT_EQ(ProjectBody(BodyAt({0, 0, -1e9}, 1), 3500).Diameter, 40);
}

TEST(CelestialStacking, NearestBodyComesLastAndTiesKeepNumberOrder) {
    auto world = std::make_unique<World>();
    world->HBodyCount = 5;
    const double depths[] = {-3, -1e9, -5e8, -5e8, -1e3, 2e80};
    for (int n = 0; n <= 5; ++n) world->HBodies[static_cast<std::size_t>(n)].Position.Z = depths[n];
    EXPECT_EQ(BodyStackOrder(*world), (std::vector<int>{5, 1, 2, 3, 4, 0}));
}

}  // namespace
}  // namespace velo
