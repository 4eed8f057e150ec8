// The celestial parameters and time-scale windows.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "celestial/celestial_scenes.h"
#include "forms/celestial_parameters_form.h"

namespace velo {
namespace {

TEST(CelestialParametersForm, ConstantUnitsFollowTheSymbols) {
    CelestialSymbols symbols = DefaultCelestialSymbols();
    ConstantUnits units = ComposeConstantUnits(symbols);
    EXPECT_EQ(units.Gravitational, "Н*(м/кг)^2");
    EXPECT_EQ(units.LightSpeed, "м/с");
    EXPECT_EQ(units.Planck, "Дж*с");
    EXPECT_EQ(units.Boltzmann, "Дж/К");
    symbols[QuantityDistance] = "км";
    symbols[QuantityEnergy] = "эрг";
    units = ComposeConstantUnits(symbols);
    EXPECT_EQ(units.Gravitational, "Н*(км/кг)^2");
    EXPECT_EQ(units.Boltzmann, "эрг/К");
    EXPECT_EQ(SymbolLengthOf(QuantityPlaneAngle), 10);
    EXPECT_EQ(SymbolLengthOf(QuantityPressure), 7);
    EXPECT_TRUE(SymbolEditable(QuantityPressure));
    EXPECT_FALSE(SymbolEditable(QuantitySolidAngle));
}

TEST(CelestialParametersForm, ViewAnglesAreClampedAndRelated) {
    const struct {
        double Typed;
        double Kept;
    } cases[] = {{0.05, 0.1}, {0.1, 0.1}, {1, 1}, {3, 3}, {3.5, 3}, {-2, 0.1}, {std::nan(""), 0.1}};
    for (const auto& c : cases) EXPECT_EQ(ClampViewAngle(c.Typed), c.Kept) << c.Typed;
    EXPECT_NEAR(VerticalAngleOf(1.920140724811376), std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(HorizontalAngleOf(VerticalAngleOf(1.2)), 1.2, 1e-12);
}

TEST(CelestialParametersForm, ApplyingWritesEveryValue) {
    auto world = testing::CelestialScene();
    CelestialParameterValues v = FillCelestialParameters(*world);
    EXPECT_EQ(v.GravitationalConstant, 6.672e-11);
    EXPECT_EQ(v.TimeScale, 3600);
    v.GravitationalConstant = 1e-10;
    v.LightSpeed = 3e8;
    v.PlanckConstant = 1;
    v.BoltzmannConstant = 2;
    v.TimeScale = -60;
    v.ViewAngleH = 3.04;  // what the vertical field's relation can give
    v.AngleUnitName = "радианчики";
    v.AngleUnit = 1;
    ApplyCelestialParameters(*world, v);
    const CelestialParameters& p = world->Celestial;
    EXPECT_EQ(p.GravitationalConstant, 1e-10);
    EXPECT_EQ(p.LightSpeed, 3e8);
    EXPECT_EQ(p.PlanckConstant, 1);
    EXPECT_EQ(p.BoltzmannConstant, 2);
    EXPECT_EQ(p.CelestialTimeScale, -60);
    EXPECT_EQ(p.ViewAngleH, 3);
    EXPECT_DOUBLE_EQ(p.ObserverDistance, 5000 / std::tan(1.5));
    EXPECT_DOUBLE_EQ(p.ViewAngleV, VerticalAngleOf(3));
    EXPECT_EQ(world->Units.AngleUnitName, "радианчи");
    EXPECT_EQ(world->Units.AngleUnit, 1);
    EXPECT_TRUE(world->Changed);

    // The speed of light and the angle unit must stay positive.
    EXPECT_FALSE(LightSpeedCheck()(0));
    EXPECT_FALSE(LightSpeedCheck()(-1));
    EXPECT_TRUE(LightSpeedCheck()(1));
    EXPECT_FALSE(AngleUnitCheck()(0));
    EXPECT_TRUE(AngleUnitCheck()(CelestialAngleUnits[0].Radians));
    EXPECT_DOUBLE_EQ(CelestialAngleUnits[0].Radians * 200, std::numbers::pi);

    ApplyCelestialTimeScale(*world, 86400);
    EXPECT_EQ(CelestialTimeScaleOf(*world), 86400);
}

}  // namespace
}  // namespace velo
