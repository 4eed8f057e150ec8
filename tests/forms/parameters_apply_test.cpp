#include "forms/parameters_apply.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numbers>

#include "forms/unit_labels.h"
#include "model/world_ops.h"

namespace velo {
namespace {

std::unique_ptr<World> NewDefaultWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    return world;
}

struct CheckCase {
    const char* Name;
    std::function<void(ParameterWindowValues&)> Spoil;
    const char* Message;
    ParameterField Field;
    int UnitListEntry;
};

TEST(ParametersApply, EachCheckRefusesWithItsMessageAndChangesNothing) {
    const CheckCase cases[] = {
        {"length", [](ParameterWindowValues& v) { v.LengthUnitName = "  "; },
         "Нет данных о названии единицы измерения длины", ParameterField::LengthUnitName, -1},
        {"mass", [](ParameterWindowValues& v) { v.MassUnitName = ""; },
         "Нет данных о названии единицы измерения массы (M)", ParameterField::MassUnitName, 0},
        {"time", [](ParameterWindowValues& v) { v.TimeUnitName = ""; },
         "Нет данных о названии единицы измерения времени (T)", ParameterField::TimeUnitName, 1},
        {"charge", [](ParameterWindowValues& v) { v.ChargeUnitName = ""; },
         "Нет данных о названии единицы измерения заряда (Q)", ParameterField::ChargeUnitName, 2},
        {"angle name", [](ParameterWindowValues& v) { v.AngleUnitName = ""; },
         "Нет данных о названии единицы измерения угла", ParameterField::AngleUnitName, -1},
        {"angle unit", [](ParameterWindowValues& v) { v.AngleUnit = "abc"; },
         "Укажите, сколько радиан в единице измерения угла", ParameterField::AngleUnit, -1},
        {"zero scale", [](ParameterWindowValues& v) { v.FieldScale = std::string("0"); },
         "Укажите корректный масштаб отображения", ParameterField::FieldScale, -1},
        {"negative scale", [](ParameterWindowValues& v) { v.FieldScale = "-100"; },
         "Укажите корректный масштаб отображения", ParameterField::FieldScale, -1},
    };
    for (const CheckCase& c : cases) {
        auto world = NewDefaultWorld();
        auto values = FillParameterWindow(*world);
        values->Gravity = std::string("1");
        values->Materials.MaterialCount = 0;
        c.Spoil(*values);
        const ParameterApplyResult result = ApplyParameterWindow(*world, *values);
        EXPECT_EQ(result.Message, c.Message) << c.Name;
        EXPECT_EQ(result.Field, c.Field) << c.Name;
        EXPECT_EQ(result.UnitListEntry, c.UnitListEntry) << c.Name;
        EXPECT_EQ(world->Params.Gravity, 9.81) << c.Name;
        EXPECT_EQ(world->Materials.MaterialCount, 1) << c.Name;
        EXPECT_FALSE(world->Changed) << c.Name;
    }
}

TEST(ParametersApply, ChecksRunInOrder) {
    auto world = NewDefaultWorld();
    auto values = FillParameterWindow(*world);
    values->FieldScale = "0";
    values->AngleUnit = "0";
    values->ChargeUnitName = "";
    values->TimeUnitName = "";
    EXPECT_EQ(ApplyParameterWindow(*world, *values).Field, ParameterField::TimeUnitName);
    values->TimeUnitName = "ч";
    EXPECT_EQ(ApplyParameterWindow(*world, *values).Field, ParameterField::ChargeUnitName);
    values->ChargeUnitName = "Кл";
    EXPECT_EQ(ApplyParameterWindow(*world, *values).Field, ParameterField::AngleUnit);
    values->AngleUnit = "1";
    EXPECT_EQ(ApplyParameterWindow(*world, *values).Field, ParameterField::FieldScale);
}

TEST(ParametersApply, UnchangedWindowKeepsEveryValueExactly) {
    auto world = NewDefaultWorld();
    world->Params.Gravity = 0.1 + 0.2;
    world->Params.MarkSize = 0.7;
    const auto before = std::make_unique<World>(*world);
    auto values = FillParameterWindow(*world);
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(world->Units.AngleUnit, std::numbers::pi / 180);
    EXPECT_EQ(world->Params.Gravity, before->Params.Gravity);
    EXPECT_EQ(world->Params.MarkSize, 0.7);
    EXPECT_EQ(world->Params.FieldOriginY, 6800);
    EXPECT_EQ(world->Params.AirDensity, 1);
    EXPECT_EQ(world->Params.Colors, before->Params.Colors);
    EXPECT_EQ(world->Units.LengthUnitName, "м");
    EXPECT_EQ(world->Materials.Restitution, before->Materials.Restitution);
    EXPECT_FALSE(world->Hands[0].Exists);
    EXPECT_TRUE(world->Changed);
}

TEST(ParametersApply, StoresTypedValues) {
    auto world = NewDefaultWorld();
    auto values = FillParameterWindow(*world);
    values->ZeroLevel = "-2,5";
    values->Gravity = "-9,81";
    values->WindX = "3";
    values->WindY = "0";
    values->AirOption = AirCustom;
    values->AirDensity = "1,5";
    values->ZeroSupport = true;
    values->ZeroSupportMaterial = 0;
    values->AngleUnit = "1";
    values->AngleUnitName = "радиан";
    values->LengthUnitName = "километр";  // 8 characters: kept whole
    values->MassUnitName = "килограмм";
    values->FieldOriginX = "1500,5";
    values->FieldScale = "250";
    values->MarkSizeSlider = 8;
    values->ApplyToNewProjects = true;
    const ParameterApplyResult result = ApplyParameterWindow(*world, *values);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.WriteTemplate);
    const Parameters& p = world->Params;
    EXPECT_EQ(p.ZeroLevel, -2.5);
    EXPECT_EQ(p.Gravity, -9.81);
    EXPECT_EQ(GravityText(p.Gravity), "Гравитация: Вверх");
    EXPECT_EQ(WindText(p.Wind), "Горизонтальный ветер");
    EXPECT_EQ(p.AirDensity, 1.5);
    EXPECT_EQ(p.FieldScale, 250);
    EXPECT_EQ(p.FieldOriginX, 1500);  // halves go to the even neighbour
    EXPECT_EQ(p.MarkSize, 0.8);
    EXPECT_EQ(world->Units.AngleUnit, 1);
    EXPECT_EQ(world->Units.LengthUnitName, "километр");
    EXPECT_EQ(world->Units.MassUnitName, "килограм");
    const HandWall& zero = world->Hands[0];
    EXPECT_TRUE(zero.Exists);
    EXPECT_EQ(zero.Coord, -2.5);
    EXPECT_EQ(zero.Material, 0);

    // Reopening shows what was stored.
    auto reopened = FillParameterWindow(*world);
    EXPECT_EQ(reopened->AirOption, AirCustom);
    EXPECT_EQ(reopened->AirDensity, "1,5");
    EXPECT_EQ(reopened->MarkSizeSlider, 8);
    EXPECT_TRUE(reopened->ZeroSupport);
}

TEST(ParametersApply, AirOptionsAndUnitAir) {
    auto world = NewDefaultWorld();
    EXPECT_EQ(FillParameterWindow(*world)->AirOption, AirUnit);
    auto values = FillParameterWindow(*world);
    values->AirOption = AirNone;
    values->AirDensity = "3";
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(world->Params.AirDensity, 0);
    EXPECT_EQ(FillParameterWindow(*world)->AirOption, AirNone);
}

TEST(ParametersApply, ZeroSupportMaterialOutsideTheTrimmedTable) {
    auto world = NewDefaultWorld();
    auto values = FillParameterWindow(*world);
    values->Materials.MaterialCount = 3;  // two blank slots, trimmed on apply
    values->ZeroSupport = true;
    values->ZeroSupportMaterial = 3;
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(world->Materials.MaterialCount, 1);
    EXPECT_EQ(world->Hands[0].Material, 1);
}

}  // namespace
}  // namespace velo
