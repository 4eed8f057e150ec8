#include "forms/unit_labels.h"

#include <gtest/gtest.h>

#include <numbers>

namespace velo {
namespace {

TEST(UnitLabels, DefaultUnits) {
    const UnitSystem units;
    EXPECT_EQ(VelocityLabel(units), "м / с");
    EXPECT_EQ(AccelerationLabel(units), "м / с^2");
    EXPECT_EQ(DensityLabel(units), "кг / м^3");
    EXPECT_EQ(MomentumLabel(units), "кг*м/с");
    EXPECT_EQ(EnergyLabel(units), "кг*(м/с)^2");
}

TEST(UnitLabels, LettersInsideUnitNamesAreNotReplacedAgain) {
    UnitSystem units;
    units.LengthUnitName = "LMT";
    units.MassUnitName = "Mg";
    units.TimeUnitName = "Ts";
    EXPECT_EQ(DensityLabel(units), "Mg / LMT^3");
    EXPECT_EQ(EnergyLabel(units), "Mg*(LMT/Ts)^2");
}

TEST(UnitLabels, ViewSizeFollowsTheGenderOfTheLengthUnit) {
    UnitSystem units;
    EXPECT_EQ(ViewSizeLabel(units), "Видимый размер одного м");
    units.LengthUnitName = "миля";
    units.LengthUnitMasculine = false;
    EXPECT_EQ(ViewSizeLabel(units), "Видимый размер одной миля");
}

TEST(UnitLabels, ViewAreaIsHiddenForAScaleThatIsNotPositive) {
    const UnitSystem units;
    EXPECT_EQ(ViewAreaText(1000, units), "Поле 10000x7000 охватывает область: 10 м x 7 м");
    EXPECT_EQ(ViewAreaText(400, units), "Поле 10000x7000 охватывает область: 25 м x 17,5 м");
    EXPECT_FALSE(ViewAreaText(0, units));
    EXPECT_FALSE(ViewAreaText(-5, units));
}

TEST(UnitLabels, GravityAirAndWindTexts) {
    EXPECT_EQ(GravityText(9.81), "Гравитация: Вниз");
    EXPECT_EQ(GravityText(0), "Гравитация: Нет");
    EXPECT_EQ(GravityText(-9.81), "Гравитация: Вверх");

    EXPECT_EQ(AirOptionOf(0), AirNone);
    EXPECT_EQ(AirOptionOf(1), AirUnit);
    EXPECT_EQ(AirOptionOf(1.5), AirCustom);
    EXPECT_STREQ(AirOptionTexts[AirOptionOf(1)], "Единичная плотность");
    EXPECT_STREQ(AirOptionTexts[AirOptionOf(1.5)], "Нестандартная плотность");
    EXPECT_EQ(AirDensityOf(AirNone, 7), 0);
    EXPECT_EQ(AirDensityOf(AirUnit, 7), 1);
    EXPECT_EQ(AirDensityOf(AirCustom, 7), 7);

    EXPECT_EQ(WindText({0, 0}), "Нет ветра");
    EXPECT_EQ(WindText({3, 0}), "Горизонтальный ветер");
    EXPECT_EQ(WindText({0, 3}), "Произвольный ветер");
    EXPECT_EQ(WindText({3, 3}), "Произвольный ветер");
}

TEST(UnitLabels, AnglesInTheProjectUnit) {
    UnitSystem units;  // degrees
    const double slope = std::numbers::pi / 4;
    EXPECT_NEAR(ToAngleUnit(slope, units), 45, 1e-12);
    EXPECT_NEAR(FromAngleUnit(45, units), slope, 1e-15);
    units.AngleUnit = 1;  // radians
    EXPECT_NEAR(ToAngleUnit(slope, units), 0.785398, 1e-6);
}

}  // namespace
}  // namespace velo
