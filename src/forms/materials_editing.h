// Editing the working copy of the material table: the buttons of the
// materials tab of the parameters window ("Добавить", "Удалить",
// "Свойства") and the material window "Свойства материала №". Everything
// here changes only the copy; "Применить" of the parameters window copies
// it back into the World.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/materials.h"
#include "model/parameters.h"
#include "forms/number_input.h"
#include "forms/parse_number.h"

namespace velo {

struct World;

inline constexpr const char* IdealMaterialDeleteMessage = "Идеальный материал не может быть удалён";
inline constexpr const char* UsedMaterialDeleteMessage =
    "Этот материал используется, поэтому не может быть удалён";
inline constexpr const char* MaterialNameMessage = "Материал должен иметь название";
inline constexpr const char* MaterialDensityMessage = "Неверно указана плотность материала";
// The densities a material may have: those a ball or a rod may have, so
// that an object that takes its material's density stays within its own.
inline constexpr double SmallestMaterialDensity = 1e-80;
inline constexpr double LargestMaterialDensity = 1e80;
inline constexpr const char* IdealMaterialTitle = "Свойства идеального материала";

// Characters of a material name that the file keeps.
inline constexpr int MaterialNameLength = 16;

// The texts of the materials list: one per index 0..MaterialCount, free
// slots as "Отсутствует". A list position equals a material index.
std::vector<std::string> MaterialListTexts(const MaterialTable& table);

// The names of materials 0..MaterialCount for the material boxes of the
// object windows, as they are (a free slot shows its blank name).
std::vector<std::string> MaterialComboTexts(const MaterialTable& table);
// Whether an object may take material `index`: a material of the table,
// not a free (deleted) slot, whose index a later trim could put beyond the
// table.
bool MaterialChoosable(const MaterialTable& table, int index);

// "Добавить": a new last material with density 1, colour 0, a blank name and
// perfectly elastic, frictionless pairs with every material. Returns its
// index, or nothing (and no change) when all 101 slots are taken. The
// caller then opens the material window for it and calls FinishAddMaterial.
std::optional<int> AddMaterial(MaterialTable& copy);

// After the material window of an added material has closed: a name that is
// still blank means the window was cancelled, and the count goes back.
void FinishAddMaterial(MaterialTable& copy, int index);

// "Удалить" for the selected index (−1: nothing selected). Returns the
// refusal text, empty on success. Usage is counted over the World's objects.
// A deleted material's name becomes blank and its density 1; the slot stays
// and Trim drops trailing free slots when the copy is applied.
std::string DeleteMaterial(MaterialTable& copy, const World& world, int index);

// What "Свойства" does for the selected index (−1: nothing selected).
enum class MaterialPropertiesAction { Beep, IdealDensity, MaterialWindow };
MaterialPropertiesAction PropertiesActionFor(const MaterialTable& copy, int index);

// The input box of the ideal material's density.
struct IdealDensityQuestion {
    std::string Title;   // "Свойства идеального материала"
    std::string Prompt;  // "Плотность (кг/м^3)"
    std::string Default;  // the current density
};
IdealDensityQuestion IdealDensityInput(const MaterialTable& copy, const UnitSystem& units,
                                       const NumberLocale& locale = {});

// Stores the answer of that input box as the ideal material's density.
// Nothing (cancelled) or an empty answer leaves the density as it was; a
// density that is not a positive number is refused with
// "Неверно указана плотность материала". Returns the refusal text, empty on
// success.
std::string ApplyIdealDensity(MaterialTable& copy, const std::optional<std::string>& answer,
                              const NumberLocale& locale = {});

// The four coefficient fields of one pair, as typed.
struct PairTexts {
    std::string Restitution;
    std::string FrictionRouth;
    std::string FrictionLambda;
    std::string RollingFriction;
};

// The controls of the material window.
struct MaterialWindowValues {
    std::string Title;         // "Свойства материала №" + index
    std::string DensityLabel;  // "M/L^3" with the unit names
    std::string Name;
    std::string Density;
    std::int32_t Colour = 0;
    // Entry j holds the pair (this material, j) for j = 1..working count;
    // entry 0 (the ideal material) is neither shown nor stored.
    std::vector<PairTexts> Pairs;
};

MaterialWindowValues FillMaterialWindow(const MaterialTable& copy, int index,
                                        const UnitSystem& units, const NumberLocale& locale = {});

enum class MaterialField { None, Name, Density };

struct MaterialWindowResult {
    std::string Message;  // empty: accepted
    MaterialField Field = MaterialField::None;
    bool Ok() const { return Message.empty(); }
};

// "OK" of the material window: refuses a blank name, then a density that is
// not a positive number; otherwise writes the name (cut to 16 characters),
// density, colour and, for j = 1..working count, the four coefficients into
// both (index, j) and (j, index). Coefficients are read with ParseNumber.
// On refusal the copy is unchanged.
MaterialWindowResult AcceptMaterialWindow(MaterialTable& copy, int index,
                                          const MaterialWindowValues& values,
                                          const NumberLocale& locale = {});

// The four used coefficient tables, in the order of the "Коэффициенты" menu
// and of the fields of a pair; their captions are the fields' tooltips.
enum CoefficientKind : int {
    CoefficientRestitution = 0,
    CoefficientFrictionRouth = 1,
    CoefficientFrictionLambda = 2,
    CoefficientRollingFriction = 3,
};
inline constexpr int CoefficientKinds = 4;
inline constexpr const char* CoefficientCaptions[CoefficientKinds] = {
    "Коэффициент восстановления скорости",
    "Динамический коэффициент трения по гипотезе Рауса",
    "Динамический коэффициент трения по лямбда-гипотезе",
    "Коэффициент трения качения, L",
};
// The captions with the length unit's name in place of L.
std::string CoefficientCaption(int kind, const UnitSystem& units);

double CoefficientOf(const PairCoefficients& pair, int kind);

// The grid of one coefficient table on the materials tab: row i, column j
// hold the pair (i, j) for materials 0..MaterialCount.
std::vector<std::vector<std::string>> CoefficientGridTexts(const MaterialTable& table, int kind,
                                                           const NumberLocale& locale = {});

// The fields of the material window: a density is a positive number, a
// coefficient a number that is not negative.
NumberInput::Check MaterialDensityCheck();
NumberInput::Check PairCoefficientCheck();

}  // namespace velo
