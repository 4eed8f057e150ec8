#include "forms/materials_editing.h"

#include <gtest/gtest.h>

#include <memory>

#include "forms/parameters_apply.h"
#include "model/world_ops.h"

namespace velo {
namespace {

std::unique_ptr<World> NewDefaultWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    return world;
}

// Adds a material through "Добавить" and the material window's "OK".
int AddNamed(MaterialTable& copy, const std::string& name) {
    const int index = *AddMaterial(copy);
    MaterialWindowValues values = FillMaterialWindow(copy, index, UnitSystem{});
    values.Name = name;
    EXPECT_TRUE(AcceptMaterialWindow(copy, index, values).Ok());
    FinishAddMaterial(copy, index);
    return index;
}

TEST(Materials, NewProjectHasIdealAndSteel) {
    auto world = NewDefaultWorld();
    const MaterialTable& table = world->Materials;
    EXPECT_EQ(table.MaterialCount, 1);
    EXPECT_EQ(table.Items[0].Name, "Идеальный");
    EXPECT_EQ(table.Items[1].Name, "Сталь");
    EXPECT_EQ(table.Items[1].Density, 7800);
    EXPECT_EQ(table.Items[1].Colour, Rgb(68, 68, 68));
    const PairCoefficients steel = PairOf(table, 1, 1);
    EXPECT_EQ(steel.Restitution, 0.5);
    EXPECT_EQ(steel.FrictionRouth, 1);
    EXPECT_EQ(steel.FrictionLambda, 0.5);
    EXPECT_EQ(steel.RollingFriction, 0.01);
    for (int j : {0, 1, 50, 100}) {
        for (const PairCoefficients& ideal : {PairOf(table, 0, j), PairOf(table, j, 0)}) {
            EXPECT_EQ(ideal.Restitution, 1);
            EXPECT_EQ(ideal.FrictionRouth + ideal.FrictionLambda + ideal.RollingFriction, 0);
        }
    }
}

TEST(Materials, DeleteThreeAndFiveThenApply) {
    auto world = NewDefaultWorld();
    auto window = FillParameterWindow(*world);
    MaterialTable& copy = window->Materials;
    for (const char* name : {"Медь", "Дерево", "Резина", "Лёд"}) AddNamed(copy, name);
    ASSERT_EQ(copy.MaterialCount, 5);
    EXPECT_EQ(DeleteMaterial(copy, *world, 3), "");
    EXPECT_EQ(DeleteMaterial(copy, *world, 5), "");
    EXPECT_EQ(copy.Items[3].Density, 1);
    ASSERT_TRUE(ApplyParameterWindow(*world, *window).Ok());
    EXPECT_EQ(world->Materials.MaterialCount, 4);
    const std::vector<std::string> list = MaterialListTexts(world->Materials);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[2], "Медь");
    EXPECT_EQ(list[3], "Отсутствует");
    EXPECT_EQ(list[4], "Резина");
    EXPECT_EQ(MaterialComboTexts(world->Materials)[3], "");
    // Objects may take the materials, not the free slot between them.
    for (const auto& [index, choosable] : {std::pair{0, true}, std::pair{2, true}, std::pair{3, false},
                                           std::pair{4, true}, std::pair{5, false}, std::pair{-1, false}}) {
        EXPECT_EQ(MaterialChoosable(world->Materials, index), choosable) << index;
    }
}

TEST(Materials, DeleteRefusals) {
    auto world = NewDefaultWorld();
    MaterialTable copy = world->Materials;
    AddNamed(copy, "Медь");
    EXPECT_EQ(DeleteMaterial(copy, *world, 0), "Идеальный материал не может быть удалён");
    EXPECT_EQ(DeleteMaterial(copy, *world, -1), "Идеальный материал не может быть удалён");
    NewObject(*world, KindBall);  // made of steel
    EXPECT_EQ(DeleteMaterial(copy, *world, 1), "Этот материал используется, поэтому не может быть удалён");
    // A deleted object no longer holds its material.
    DeleteObject(*world, KindBall, 1);
    // The switched-on ZeroSupport counts even with no supports.
    world->Hands[0].Exists = true;
    world->Hands[0].Material = 2;
    EXPECT_EQ(DeleteMaterial(copy, *world, 2), "Этот материал используется, поэтому не может быть удалён");
    EXPECT_EQ(DeleteMaterial(copy, *world, 1), "");
    EXPECT_EQ(copy.Items[2].Name, "Медь");
}

TEST(Materials, AddGivesElasticPairsAndCancelTakesItBack) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    SetPairSymmetric(copy, 2, 1, PairCoefficients{0.3, 0.3, 0.3, 0.3});  // left over in a free slot
    const int index = *AddMaterial(copy);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(copy.Items[2].Density, 1);
    EXPECT_EQ(copy.Items[2].Colour, 0);
    for (const PairCoefficients& c : {PairOf(copy, 2, 1), PairOf(copy, 1, 2), PairOf(copy, 2, 100)}) {
        EXPECT_EQ(c.Restitution, 1);
        EXPECT_EQ(c.FrictionRouth + c.FrictionLambda + c.RollingFriction, 0);
    }
    FinishAddMaterial(copy, index);  // window cancelled: the name is still blank
    EXPECT_EQ(copy.MaterialCount, 1);
}

TEST(Materials, AddRefusedWhenAllSlotsAreTaken) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    while (copy.MaterialCount < MaxMaterialIndex) ASSERT_TRUE(AddMaterial(copy));
    const MaterialTable before = copy;
    EXPECT_FALSE(AddMaterial(copy));
    EXPECT_EQ(copy.MaterialCount, 100);
    EXPECT_EQ(copy.Restitution, before.Restitution);
}

TEST(Materials, WindowWritesBothOrdersOfEveryPair) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    AddNamed(copy, "Медь");
    AddNamed(copy, "Дерево");
    MaterialWindowValues values = FillMaterialWindow(copy, 2, UnitSystem{});
    EXPECT_EQ(values.Title, "Свойства материала №2");
    EXPECT_EQ(values.DensityLabel, "кг/м^3");
    ASSERT_EQ(values.Pairs.size(), 4u);
    values.Pairs[3] = PairTexts{"0,7", "0,4", "0,2", "0,001"};
    values.Density = "8900";
    values.Colour = Rgb(200, 100, 0);
    ASSERT_TRUE(AcceptMaterialWindow(copy, 2, values).Ok());
    const PairCoefficients back = PairOf(copy, 3, 2);
    EXPECT_EQ(back.Restitution, 0.7);
    EXPECT_EQ(back.FrictionRouth, 0.4);
    EXPECT_EQ(back.FrictionLambda, 0.2);
    EXPECT_EQ(back.RollingFriction, 0.001);
    EXPECT_EQ(PairOf(copy, 2, 3).Restitution, 0.7);
    EXPECT_EQ(copy.Items[2].Density, 8900);
    EXPECT_EQ(copy.Items[2].Colour, Rgb(200, 100, 0));
    EXPECT_EQ(PairOf(copy, 2, 0).Restitution, 1);  // pairs with the ideal material are fixed
}

TEST(Materials, WindowRefusalsLeaveTheCopyUnchanged) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    MaterialWindowValues values = FillMaterialWindow(copy, 1, UnitSystem{});
    values.Name = "   ";
    MaterialWindowResult result = AcceptMaterialWindow(copy, 1, values);
    EXPECT_EQ(result.Message, "Материал должен иметь название");
    EXPECT_EQ(result.Field, MaterialField::Name);
    for (const char* density : {"abc", "0", "-5"}) {
        values.Name = "Чугун";
        values.Density = density;
        result = AcceptMaterialWindow(copy, 1, values);
        EXPECT_EQ(result.Message, "Неверно указана плотность материала") << density;
        EXPECT_EQ(result.Field, MaterialField::Density);
    }
    EXPECT_EQ(copy.Items[1].Name, "Сталь");
    EXPECT_EQ(copy.Items[1].Density, 7800);
    values.Density = "7000";
    values.Name = "Очень длинное название сплава";
    ASSERT_TRUE(AcceptMaterialWindow(copy, 1, values).Ok());
    EXPECT_EQ(copy.Items[1].Name, "Очень длинное на");  // 16 characters
}

TEST(Materials, IdealMaterialAsksOnlyForTheDensity) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    EXPECT_EQ(PropertiesActionFor(copy, -1), MaterialPropertiesAction::Beep);
    EXPECT_EQ(PropertiesActionFor(copy, 0), MaterialPropertiesAction::IdealDensity);
    EXPECT_EQ(PropertiesActionFor(copy, 1), MaterialPropertiesAction::MaterialWindow);
    const IdealDensityQuestion question = IdealDensityInput(copy, UnitSystem{});
    EXPECT_EQ(question.Title, "Свойства идеального материала");
    EXPECT_EQ(question.Prompt, "Плотность (кг/м^3)");
    EXPECT_EQ(question.Default, "1000");
    EXPECT_EQ(ApplyIdealDensity(copy, std::nullopt), "");
    EXPECT_EQ(ApplyIdealDensity(copy, std::string()), "");  // cancelled input box
    EXPECT_EQ(copy.Items[0].Density, 1000);
    EXPECT_EQ(ApplyIdealDensity(copy, std::string("0")), "Неверно указана плотность материала");
    EXPECT_EQ(ApplyIdealDensity(copy, std::string("2500,5")), "");
    EXPECT_EQ(copy.Items[0].Density, 2500.5);
    EXPECT_EQ(copy.Items[0].Name, "Идеальный");
}

TEST(Materials, CoefficientTablesShowBothOrdersOfAnEditedPair) {
    MaterialTable copy;
    SetDefaultMaterials(copy);
    AddNamed(copy, "Медь");
    MaterialWindowValues values = FillMaterialWindow(copy, 2, UnitSystem{});
    values.Pairs[1] = PairTexts{"0,3", "0,2", "0,1", "0,002"};
    ASSERT_TRUE(AcceptMaterialWindow(copy, 2, values).Ok());
    const auto restitution = CoefficientGridTexts(copy, CoefficientRestitution);
    ASSERT_EQ(restitution.size(), 3u);
    EXPECT_EQ(restitution[1][2], "0,3");
    EXPECT_EQ(restitution[2][1], "0,3");
    EXPECT_EQ(restitution[0][2], "1");
    EXPECT_EQ(CoefficientGridTexts(copy, CoefficientRollingFriction)[2][1], "0,002");
    UnitSystem units;
    units.LengthUnitName = "см";
    EXPECT_EQ(CoefficientCaption(CoefficientRollingFriction, units), "Коэффициент трения качения, см");
    EXPECT_EQ(CoefficientCaption(CoefficientFrictionLambda, units), "Динамический коэффициент трения по лямбда-гипотезе");
}

TEST(Materials, FieldChecksOfTheMaterialWindow) {
    const auto density = MaterialDensityCheck();
    const auto coefficient = PairCoefficientCheck();
    EXPECT_TRUE(density(7800));
    EXPECT_FALSE(density(0));
    EXPECT_FALSE(density(UnreadableNumber));  // "1e999"
    // No denser or lighter than a ball or rod may be.
    EXPECT_TRUE(density(1e80));
    EXPECT_FALSE(density(1e81));
    EXPECT_FALSE(density(1e-81));
    EXPECT_TRUE(coefficient(0));
    EXPECT_FALSE(coefficient(-0.1));
    EXPECT_FALSE(coefficient(UnreadableNumber));
    MaterialTable copy;
    SetDefaultMaterials(copy);
    EXPECT_EQ(ApplyIdealDensity(copy, std::string("1e999")), "Неверно указана плотность материала");
    EXPECT_EQ(copy.Items[0].Density, 1000);
}

}  // namespace
}  // namespace velo
