// The celestial body window: the working copy, the radius, volume and
// density checks, and what "ОК" writes back.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "celestial/celestial_scenes.h"
#include "forms/hbody_form.h"

namespace velo {
namespace {

using testing::CelestialScene;
using testing::PlaceBody;

TEST(HBodyForm, CopyTakesTheFieldOfTheOtherBodies) {
    auto world = CelestialScene();
    const int a = PlaceBody(*world, {0, 0, -1e9}, {3, 4, 0}, 1e6, 2e24);
    PlaceBody(*world, {1e8, 0, -1e9}, {}, 1e6, 6e24);
    const HBody copy = FillHBodyWindow(*world, a);
    const double g = world->Celestial.GravitationalConstant;
    EXPECT_DOUBLE_EQ(copy.Acceleration.X, g * 6e24 / 1e16);
    EXPECT_EQ(copy.Acceleration.Y, 0);
    const BodyMagnitudes m = MagnitudesOf(copy);
    EXPECT_DOUBLE_EQ(m.Velocity, 5);
    EXPECT_DOUBLE_EQ(m.Momentum, 5 * copy.Mass);
    EXPECT_DOUBLE_EQ(m.Force, copy.Acceleration.X * copy.Mass);
    EXPECT_DOUBLE_EQ(copy.Momentum.X, 3 * copy.Mass);
    // The World is not touched by opening.
    EXPECT_EQ(world->HBodies[a].Acceleration.X, 0);
}

TEST(HBodyForm, RadiusAndVolumeRefusals) {
    const auto radius = BodyRadiusCheck();
    const auto volume = BodyVolumeCheck();
    const struct {
        double Value;
        bool RadiusTaken;
        bool VolumeTaken;
    } cases[] = {
        {1, true, true},
        {1e-40, true, true},     // a volume of 1e-40 has a radius of about 3e-14
        {1e40, true, true},
        {1e41, false, true},
        {0, false, false},
        {-1, false, false},
        {1e-121, false, false},  // radius about 3e-41
        {4.18e120, false, true}, // radius just within 1e40
        {4.2e121, false, false},
        {1e300, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(radius(c.Value), c.RadiusTaken) << c.Value;
        EXPECT_EQ(volume(c.Value), c.VolumeTaken) << c.Value;
    }
    EXPECT_DOUBLE_EQ(RadiusOfVolume(4 * std::numbers::pi / 3 * 8), 2);
    EXPECT_DOUBLE_EQ(RadiusOfVolume(-4 * std::numbers::pi / 3), -1);

    // A refused value leaves the copy, its mass above all, as it was.
    auto world = CelestialScene();
    HBody copy = FillHBodyWindow(*world, PlaceBody(*world, {0, 0, -10}, {1, 0, 0}, 2, 500));
    const HBody before = copy;
    SetBodyRadius(copy, 1e41);
    SetBodyVolume(copy, 0);
    SetBodyVolume(copy, -5);
    EXPECT_EQ(copy, before);
    SetBodyVolume(copy, 4 * std::numbers::pi / 3 * 27);
    EXPECT_DOUBLE_EQ(copy.Radius, 3);
    EXPECT_DOUBLE_EQ(copy.Mass, copy.Volume * copy.Density);
    EXPECT_DOUBLE_EQ(copy.Momentum.X, copy.Mass);
}

TEST(HBodyForm, ConstantDensityGivesTheSameMassByBothPaths) {
    for (const char* constant : {"1000", "5515.3", "2.5e3"}) {
        HBody plain;
        plain.Radius = 7e6;
        HBody integrated = plain;
        ASSERT_TRUE(SetBodyDensityFormula(plain, constant));
        ASSERT_TRUE(SetBodyDensityFormula(integrated, std::string(constant) + "+0*X"));
        EXPECT_NEAR(integrated.Density, plain.Density, 1e-12 * plain.Density) << constant;
        EXPECT_NEAR(integrated.Mass, plain.Mass, 1e-12 * plain.Mass) << constant;
        // Kept as typed, capital letter and all.
        EXPECT_EQ(integrated.DensityFormula, std::string(constant) + "+0*X");
    }
    HBody linear;
    linear.Radius = 1;
    ASSERT_TRUE(SetBodyDensityFormula(linear, "4000*(1-x)"));
    EXPECT_NEAR(linear.Density, 1000, 1e-9);  // 3 * integral of x^2 * 4000 (1 - x)
}

TEST(HBodyForm, FormulaRefusalsLeaveTheCopy) {
    HBody copy;
    copy.Radius = 2;
    ASSERT_TRUE(SetBodyDensityFormula(copy, "1000"));
    const HBody before = copy;
    for (const char* text : {"", "abc", "1000+", "x*", "(1", "0", "-5", "0*x", "1e81", "1e-81", "1/0", "1/x^200",
                             "sqrt(-1)", "y"}) {
        EXPECT_FALSE(SetBodyDensityFormula(copy, text)) << text;
        EXPECT_EQ(copy, before) << text;
    }
}

TEST(HBodyForm, NameIsTrimmedAndKeptToSixteenCharacters) {
    HBody body;
    SetBodyName(body, u"  Земля ");
    EXPECT_EQ(BodyNameText(body), u"Земля");
    EXPECT_EQ(body.Name[5], u' ');
    SetBodyName(body, u"abcdefghijklmnopqrstu");
    EXPECT_EQ(BodyNameText(body), u"abcdefghijklmnop");
    // A pair of surrogates that would be cut in half is left out whole.
    SetBodyName(body, u"abcdefghijklmno\U0001F30D");
    EXPECT_EQ(BodyNameText(body), u"abcdefghijklmno");
    SetBodyName(body, u"   ");
    EXPECT_EQ(BodyNameText(body), u"");
}

TEST(HBodyForm, OkWritesTheCopyAndSelectsTheBody) {
    auto world = CelestialScene();
    const int n = PlaceBody(*world, {0, 0, -10});
    HBody copy = FillHBodyWindow(*world, n);
    SetBodyRadius(copy, 3);
    copy.Position.X = 7;
    ApplyHBodyWindow(*world, n, copy);
    const HBody& body = world->HBodies[n];
    EXPECT_EQ(body.Radius, 3);
    EXPECT_EQ(body.Position.X, 7);
    EXPECT_TRUE(body.Selected);
    EXPECT_TRUE(body.Exists);
    // A number without a body is left alone.
    world->HBodies[n].Exists = false;
    ApplyHBodyWindow(*world, n, copy);
    ApplyHBodyWindow(*world, n + 1, copy);
    EXPECT_FALSE(world->HBodies[n].Exists);
    EXPECT_FALSE(world->HBodies[n + 1].Exists);
}

}  // namespace
}  // namespace velo
