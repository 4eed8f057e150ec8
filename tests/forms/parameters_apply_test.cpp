#include "forms/parameters_apply.h"

#include <gtest/gtest.h>

#include "../scratch_names.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>

#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "model/derived_fields.h"
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
        // Beyond the scales the mouse wheel stops at, every ball would
        // shrink to nothing.
        {"huge scale", [](ParameterWindowValues& v) { v.FieldScale = "1e150"; },
         "Укажите корректный масштаб отображения", ParameterField::FieldScale, -1},
        {"tiny scale", [](ParameterWindowValues& v) { v.FieldScale = "1e-7"; },
         "Укажите корректный масштаб отображения", ParameterField::FieldScale, -1},
        {"tiny angle unit", [](ParameterWindowValues& v) { v.AngleUnit = "1e-310"; },
         "Укажите, сколько радиан в единице измерения угла", ParameterField::AngleUnit, -1},
        {"unreadable angle unit", [](ParameterWindowValues& v) { v.AngleUnit = "1e999"; },
         "Укажите, сколько радиан в единице измерения угла", ParameterField::AngleUnit, -1},
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
    // Sizes the slider cannot show (a file's) stay while it is not moved.
    for (const double size : {2.5, 0.55, -1.0}) {
        world->Params.MarkSize = size;
        ASSERT_TRUE(ApplyParameterWindow(*world, *FillParameterWindow(*world)).Ok());
        EXPECT_EQ(world->Params.MarkSize, size);
    }
    world->Params.MarkSize = 0.7;
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

TEST(ParametersApply, AirAndWindCaptionsOnReopening) {
    struct Case {
        int Option;
        const char* Density;
        const char* WindX;
        const char* WindY;
        int ReopenedOption;
        const char* ReopenedDensity;
        const char* Wind;
    };
    const Case cases[] = {
        {AirCustom, "1,5", "3", "0", AirCustom, "1,5", "Горизонтальный ветер"},
        {AirCustom, "1", "0", "3", AirUnit, "1", "Произвольный ветер"},  // typed 1 is unit density
        {AirUnit, "7", "3", "-3", AirUnit, "1", "Произвольный ветер"},
        {AirNone, "7", "0", "0", AirNone, "0", "Нет ветра"},
    };
    for (const Case& c : cases) {
        auto world = NewDefaultWorld();
        auto values = FillParameterWindow(*world);
        values->AirOption = c.Option;
        values->AirDensity = c.Density;
        values->WindX = c.WindX;
        values->WindY = c.WindY;
        ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
        const auto reopened = FillParameterWindow(*world);
        EXPECT_EQ(reopened->AirOption, c.ReopenedOption) << c.Density;
        EXPECT_EQ(reopened->AirDensity, c.ReopenedDensity) << c.Density;
        EXPECT_EQ(WindText({ParseNumber(reopened->WindX), ParseNumber(reopened->WindY)}), c.Wind) << c.WindX << c.WindY;
    }
}

TEST(ParametersApply, AnglesShowInTheNewAngleUnit) {
    auto world = NewDefaultWorld();
    const double slope = std::numbers::pi / 4;
    EXPECT_EQ(FormatRounded(ToAngleUnit(slope, world->Units)), "45");
    auto values = FillParameterWindow(*world);
    values->AngleUnitName = "радиан";
    values->AngleUnit = "1";
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(FormatRounded(ToAngleUnit(slope, world->Units)), "0,785398163397448");
    EXPECT_EQ(FillParameterWindow(*world)->AngleUnit, "1");
}

TEST(ParametersApply, FieldsRefuseWhatTheyCannotTake) {
    struct Case {
        ParameterNumber Field;
        double Value;
        bool Taken;
    };
    const Case cases[] = {
        {ParameterNumber::Gravity, -9.81, true},     {ParameterNumber::Gravity, UnreadableNumber, false},
        {ParameterNumber::Wind, -1e200, true},       {ParameterNumber::RouthMinSpeed, 0, true},
        {ParameterNumber::RouthMinSpeed, -1, false}, {ParameterNumber::AirDensity, -0.5, false},
        {ParameterNumber::AmbientLight, 1, true},    {ParameterNumber::AmbientLight, 1.01, false},
        {ParameterNumber::AmbientLight, -0.01, false}, {ParameterNumber::FieldOrigin, -2147483648.0, true},
        {ParameterNumber::FieldOrigin, 3e9, false},  {ParameterNumber::FieldScale, 0, true},  // "Применить" refuses
        {ParameterNumber::AngleUnit, 0, true},       {ParameterNumber::ObserverZ, -UnreadableNumber, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParameterNumberCheck(c.Field)(c.Value), c.Taken) << static_cast<int>(c.Field) << " " << c.Value;
    }
    NumberInput gravity;
    gravity.SetCheck(ParameterNumberCheck(ParameterNumber::Gravity));
    gravity.Show(9.81);
    EXPECT_FALSE(gravity.Type(std::string(1000, '1')));
    EXPECT_EQ(gravity.Value(), 9.81);
}

TEST(ParametersApply, GravityAndZeroLevelRenormaliseBallsAndRods) {
    auto world = NewDefaultWorld();
    const int ball = NewObject(*world, KindBall).Number;
    world->Balls[ball].Radius = 0.1;
    world->Balls[ball].Position = {0, 2};
    RecomputeBall(*world, ball);
    const int rod = NewObject(*world, KindPeg).Number;
    world->Pegs[rod].Position = {0, 3};
    RecomputeRod(*world, rod);
    auto values = FillParameterWindow(*world);
    values->Gravity = "2";
    values->ZeroLevel = "1";
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    const Ball& b = world->Balls[ball];
    EXPECT_DOUBLE_EQ(b.PotentialEnergy, (2 - 1) * 2 * b.Mass);
    const Peg& r = world->Pegs[rod];
    EXPECT_DOUBLE_EQ(r.PotentialEnergy, 2 * r.Mass * ((r.End1.Y + r.End2.Y) / 2 - 1));
}

TEST(ParametersApply, DeletedDefaultAndSupportMaterialsFallBack) {
    auto world = NewDefaultWorld();
    auto values = FillParameterWindow(*world);
    MaterialTable& copy = values->Materials;
    for (const char* name : {"Медь", "Дерево"}) {
        const int index = *AddMaterial(copy);
        copy.Items[index].Name = name;
    }
    ASSERT_EQ(DeleteMaterial(copy, *world, 1), "");  // steel, the default material
    values->ZeroSupport = true;
    values->ZeroSupportMaterial = 1;
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(world->Materials.MaterialCount, 3);
    EXPECT_EQ(world->Params.DefaultMaterial, 0);
    EXPECT_EQ(world->Hands[0].Material, 0);

    // A support of a deleted middle slot takes the default material.
    world->Params.DefaultMaterial = 3;
    values = FillParameterWindow(*world);
    ASSERT_EQ(DeleteMaterial(values->Materials, *world, 2), "");
    values->ZeroSupportMaterial = 2;
    ASSERT_TRUE(ApplyParameterWindow(*world, *values).Ok());
    EXPECT_EQ(world->Hands[0].Material, 3);
}

TEST(ParametersApply, BackgroundListAndThePictureApplyStores) {
    const std::vector<BackgroundEntry> list = BackgroundList(2, 0);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].Text, "Без рисунка");
    EXPECT_EQ(list[2].Text, "Фон 2");
    EXPECT_EQ(list[3].Mode, BackgroundFromFile);
    EXPECT_EQ(list[3].Text, "Рисунок из файла");
    EXPECT_EQ(BackgroundList(0, 3).size(), 5u);  // a picture this installation lacks keeps its entry

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / testing::ProcessScratchName("velo_backgrounds_test");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Graphics" / "Backgrounds");
    for (int n : {1, 2, 4}) std::ofstream(BackgroundPicturePath(folder, n)) << "BM";
    EXPECT_EQ(CountBackgroundPictures(folder), 2);
    std::filesystem::remove_all(folder);

    Parameters opened;
    opened.BackgroundMode = 2;
    ParameterWindowValues values;
    values.BackgroundMode = 2;
    EXPECT_FALSE(BackgroundToStore(values, opened, folder));
    values.BackgroundMode = 0;
    EXPECT_EQ(BackgroundToStore(values, opened, folder), std::filesystem::path());
    values.BackgroundMode = 1;
    EXPECT_EQ(BackgroundToStore(values, opened, folder), folder / "Graphics" / "Backgrounds" / "Back1.bmp");
    values.BackgroundMode = BackgroundFromFile;
    EXPECT_FALSE(BackgroundToStore(values, opened, folder));  // "Обзор" not used
    values.BackgroundPath = "/pictures/sky.png";
    EXPECT_EQ(BackgroundToStore(values, opened, folder), std::filesystem::path("/pictures/sky.png"));
}

}  // namespace
}  // namespace velo
