#include "forms/materials_editing.h"

#include <algorithm>
#include <cmath>

#include "forms/text_fields.h"
#include "forms/unit_labels.h"
#include "model/world.h"

namespace velo {
namespace {

bool ValidIndex(const MaterialTable& table, int index) {
    return index >= 0 && index <= table.MaterialCount;
}

// A density a material can hold: rods take their material's density, and a
// zero or negative one would give them no mass to divide by.
// The reader's stand-in for a number too long to read is no density either.
bool UsableDensity(double density) {
    return density >= SmallestMaterialDensity && density <= LargestMaterialDensity;
}

}  // namespace

std::vector<std::string> MaterialListTexts(const MaterialTable& table) {
    std::vector<std::string> texts;
    for (int i = 0; i <= table.MaterialCount; ++i) {
        const std::string& name = table.Items[i].Name;
        texts.push_back(IsBlankText(name) ? std::string(FreeMaterialText) : name);
    }
    return texts;
}

std::vector<std::string> MaterialComboTexts(const MaterialTable& table) {
    std::vector<std::string> texts;
    for (int i = 0; i <= table.MaterialCount; ++i) texts.push_back(table.Items[i].Name);
    return texts;
}

bool MaterialChoosable(const MaterialTable& table, int index) {
    return ValidIndex(table, index) && (index == 0 || !IsBlankText(table.Items[index].Name));
}

std::optional<int> AddMaterial(MaterialTable& copy) {
    if (copy.MaterialCount >= MaxMaterialIndex) return std::nullopt;
    const int index = ++copy.MaterialCount;
    copy.Items[index].Name.clear();
    copy.Items[index].Density = 1;
    copy.Items[index].Colour = 0;
    for (int j = 0; j < MaterialSlots; ++j) SetPairSymmetric(copy, index, j, PairCoefficients{});
    return index;
}

void FinishAddMaterial(MaterialTable& copy, int index) {
    if (index == copy.MaterialCount && index > 0 && IsBlankText(copy.Items[index].Name)) {
        --copy.MaterialCount;
    }
}

std::string DeleteMaterial(MaterialTable& copy, const World& world, int index) {
    if (index <= 0 || !ValidIndex(copy, index)) return IdealMaterialDeleteMessage;
    if (MaterialUsage(world, false)[index] > 0) return UsedMaterialDeleteMessage;
    copy.Items[index].Name.clear();
    copy.Items[index].Density = 1;
    return {};
}

MaterialPropertiesAction PropertiesActionFor(const MaterialTable& copy, int index) {
    if (!ValidIndex(copy, index)) return MaterialPropertiesAction::Beep;
    if (index == 0) return MaterialPropertiesAction::IdealDensity;
    return MaterialPropertiesAction::MaterialWindow;
}

IdealDensityQuestion IdealDensityInput(const MaterialTable& copy, const UnitSystem& units,
                                       const NumberLocale& locale) {
    return IdealDensityQuestion{
        IdealMaterialTitle,
        "Плотность (" + units.MassUnitName + "/" + units.LengthUnitName + "^3)",
        FormatNumber(copy.Items[0].Density, locale),
    };
}

std::string ApplyIdealDensity(MaterialTable& copy, const std::optional<std::string>& answer,
                              const NumberLocale& locale) {
    // The input box gives an empty text when it is cancelled; reading that
    // as 0 would silently wipe the density.
    if (!answer || IsBlankText(*answer)) return {};
    const double density = ParseNumber(*answer, locale);
    if (!UsableDensity(density)) return MaterialDensityMessage;
    copy.Items[0].Density = density;
    return {};
}

MaterialWindowValues FillMaterialWindow(const MaterialTable& copy, int index,
                                        const UnitSystem& units, const NumberLocale& locale) {
    MaterialWindowValues values;
    if (!ValidIndex(copy, index)) return values;
    const Material& material = copy.Items[index];
    values.Title = "Свойства материала №" + std::to_string(index);
    values.DensityLabel = ComposeUnitLabel("M/L^3", units);
    values.Name = material.Name;
    values.Density = FormatNumber(material.Density, locale);
    values.Colour = material.Colour;
    values.Pairs.resize(copy.MaterialCount + 1);
    for (int j = 1; j <= copy.MaterialCount; ++j) {
        const PairCoefficients pair = PairOf(copy, index, j);
        values.Pairs[j] = PairTexts{FormatNumber(pair.Restitution, locale),
                                    FormatNumber(pair.FrictionRouth, locale),
                                    FormatNumber(pair.FrictionLambda, locale),
                                    FormatNumber(pair.RollingFriction, locale)};
    }
    return values;
}

MaterialWindowResult AcceptMaterialWindow(MaterialTable& copy, int index,
                                          const MaterialWindowValues& values,
                                          const NumberLocale& locale) {
    if (!ValidIndex(copy, index)) return {MaterialNameMessage, MaterialField::Name};
    if (IsBlankText(values.Name)) return {MaterialNameMessage, MaterialField::Name};
    const double density = ParseNumber(values.Density, locale);
    if (!UsableDensity(density)) return {MaterialDensityMessage, MaterialField::Density};

    Material& material = copy.Items[index];
    // The ideal material keeps its name and its fixed pairs.
    if (index != 0) material.Name = CutToCharacters(values.Name, MaterialNameLength);
    material.Density = density;
    material.Colour = values.Colour;
    if (index == 0) return {};
    const int last = std::min<int>(copy.MaterialCount, static_cast<int>(values.Pairs.size()) - 1);
    for (int j = 1; j <= last; ++j) {
        const PairTexts& texts = values.Pairs[j];
        SetPairSymmetric(copy, index, j,
                         PairCoefficients{ParseNumber(texts.Restitution, locale),
                                          ParseNumber(texts.FrictionRouth, locale),
                                          ParseNumber(texts.FrictionLambda, locale),
                                          ParseNumber(texts.RollingFriction, locale)});
    }
    return {};
}

std::string CoefficientCaption(int kind, const UnitSystem& units) {
    if (kind < 0 || kind >= CoefficientKinds) return {};
    std::string caption = CoefficientCaptions[kind];
    if (kind == CoefficientRollingFriction) caption = caption.substr(0, caption.size() - 1) + units.LengthUnitName;
    return caption;
}

double CoefficientOf(const PairCoefficients& pair, int kind) {
    switch (kind) {
    case CoefficientRestitution: return pair.Restitution;
    case CoefficientFrictionRouth: return pair.FrictionRouth;
    case CoefficientFrictionLambda: return pair.FrictionLambda;
    default: return pair.RollingFriction;
    }
}

std::vector<std::vector<std::string>> CoefficientGridTexts(const MaterialTable& table, int kind,
                                                           const NumberLocale& locale) {
    std::vector<std::vector<std::string>> grid(table.MaterialCount + 1);
    for (int i = 0; i <= table.MaterialCount; ++i) {
        grid[i].reserve(table.MaterialCount + 1);
        for (int j = 0; j <= table.MaterialCount; ++j) {
            grid[i].push_back(FormatRounded(CoefficientOf(PairOf(table, i, j), kind), locale));
        }
    }
    return grid;
}

NumberInput::Check MaterialDensityCheck() { return UsableDensity; }

NumberInput::Check PairCoefficientCheck() {
    return [](double value) { return value >= 0 && value < UnreadableNumber; };
}

}  // namespace velo
