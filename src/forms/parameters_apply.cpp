#include "forms/parameters_apply.h"

#include <cmath>
#include <limits>

#include "forms/text_fields.h"
#include "forms/unit_labels.h"
#include "model/world.h"

namespace velo {
namespace {

// Whole field points from a typed number: to the nearest integer, halves to
// even, held inside the 32-bit range the file keeps.
std::int32_t ToFieldPoints(double value) {
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    if (!(value > low)) return std::numeric_limits<std::int32_t>::min();
    if (!(value < high)) return std::numeric_limits<std::int32_t>::max();
    double whole = std::floor(value + 0.5);
    if (whole - value == 0.5 && std::fmod(whole, 2.0) != 0) whole -= 1;
    return static_cast<std::int32_t>(whole);
}

std::string UnitName(const std::string& typed) { return CutToCharacters(typed, UnitNameLength); }

ParameterApplyResult Refuse(const std::string& message, ParameterField field, int entry = -1) {
    ParameterApplyResult result;
    result.Message = message;
    result.Field = field;
    result.UnitListEntry = entry;
    return result;
}

}  // namespace

std::unique_ptr<ParameterWindowValues> FillParameterWindow(const World& world,
                                                           const NumberLocale& locale) {
    auto values = std::make_unique<ParameterWindowValues>();
    const UnitSystem& u = world.Units;
    const Parameters& p = world.Params;
    auto number = [&](double value) { return FormatNumber(value, locale); };

    values->LengthUnitName = u.LengthUnitName;
    values->MassUnitName = u.MassUnitName;
    values->TimeUnitName = u.TimeUnitName;
    values->ChargeUnitName = u.ChargeUnitName;
    values->AngleUnitName = u.AngleUnitName;
    values->AngleUnit = number(u.AngleUnit);
    values->LengthUnitMasculine = u.LengthUnitMasculine;

    values->Gravity = number(p.Gravity);
    values->ZeroLevel = number(p.ZeroLevel);
    values->RouthMinSpeed = number(p.RouthMinSpeed);
    values->WindX = number(p.Wind.X);
    values->WindY = number(p.Wind.Y);
    values->AirOption = AirOptionOf(p.AirDensity);
    values->AirDensity = number(p.AirDensity);
    values->ZeroSupport = world.Hands[0].Exists;
    values->ZeroSupportMaterial = world.Hands[0].Material;

    values->FieldScale = number(p.FieldScale);
    values->FieldOriginX = std::to_string(p.FieldOriginX);
    values->FieldOriginY = std::to_string(p.FieldOriginY);
    values->ViewUnlocked = p.ViewUnlocked;

    values->AmbientLight = number(p.AmbientLight);
    values->AmbientLightAuto = p.AmbientLightAuto;
    values->ObserverZ = number(p.ObserverZ);
    values->BackgroundMode = p.BackgroundMode;
    values->BackgroundPath = p.BackgroundPath;
    values->MarkColor = p.MarkColor;
    values->MarkSizeSlider = static_cast<int>(std::lround(p.MarkSize * 10));
    values->Colors = p.Colors;

    values->Materials = world.Materials;
    return values;
}

ParameterApplyResult ApplyParameterWindow(World& world, const ParameterWindowValues& values,
                                          const NumberLocale& locale) {
    auto read = [&](const std::string& text) { return ParseNumber(text, locale); };

    // The checks, in the order the user meets them on the window.
    if (IsBlankText(values.LengthUnitName))
        return Refuse("Нет данных о названии единицы измерения длины", ParameterField::LengthUnitName);
    const std::string noUnitName = "Нет данных о названии единицы измерения ";
    if (IsBlankText(values.MassUnitName))
        return Refuse(noUnitName + UnitListTexts[0], ParameterField::MassUnitName, 0);
    if (IsBlankText(values.TimeUnitName))
        return Refuse(noUnitName + UnitListTexts[1], ParameterField::TimeUnitName, 1);
    if (IsBlankText(values.ChargeUnitName))
        return Refuse(noUnitName + UnitListTexts[2], ParameterField::ChargeUnitName, 2);
    if (IsBlankText(values.AngleUnitName))
        return Refuse("Нет данных о названии единицы измерения угла", ParameterField::AngleUnitName);
    const double angleUnit = read(values.AngleUnit);
    if (angleUnit == 0)
        return Refuse("Укажите, сколько радиан в единице измерения угла", ParameterField::AngleUnit);
    const double scale = read(values.FieldScale);
    if (!(scale > 0))
        return Refuse("Укажите корректный масштаб отображения", ParameterField::FieldScale);

    UnitSystem& u = world.Units;
    Parameters& p = world.Params;

    world.Materials = values.Materials;
    TrimMaterials(world.Materials);
    p.ZeroLevel = read(values.ZeroLevel);
    u.LengthUnitName = UnitName(values.LengthUnitName);
    p.Gravity = read(values.Gravity);
    p.RouthMinSpeed = read(values.RouthMinSpeed);
    p.Wind = Vec2{read(values.WindX), read(values.WindY)};
    p.AirDensity = AirDensityOf(values.AirOption, read(values.AirDensity));
    u.LengthUnitMasculine = values.LengthUnitMasculine;

    HandWall& zero = world.Hands[0];
    zero.Exists = values.ZeroSupport;
    zero.Coord = p.ZeroLevel;
    int material = values.ZeroSupportMaterial;
    // A choice beyond the trimmed table would name a material that no
    // longer exists; the support then takes the default material.
    if (material < 0 || material > world.Materials.MaterialCount) {
        material = p.DefaultMaterial <= world.Materials.MaterialCount ? p.DefaultMaterial : 0;
    }
    zero.Material = static_cast<std::uint8_t>(material);

    u.MassUnitName = UnitName(values.MassUnitName);
    u.TimeUnitName = UnitName(values.TimeUnitName);
    u.ChargeUnitName = UnitName(values.ChargeUnitName);
    u.AngleUnitName = UnitName(values.AngleUnitName);
    u.AngleUnit = angleUnit;

    p.FieldScale = scale;
    p.FieldOriginX = ToFieldPoints(read(values.FieldOriginX));
    p.FieldOriginY = ToFieldPoints(read(values.FieldOriginY));
    p.ViewUnlocked = values.ViewUnlocked;

    p.AmbientLight = read(values.AmbientLight);
    p.AmbientLightAuto = values.AmbientLightAuto;
    p.ObserverZ = read(values.ObserverZ);

    p.BackgroundMode = static_cast<std::uint8_t>(values.BackgroundMode < 0     ? 0
                                                 : values.BackgroundMode > 255 ? 255
                                                                               : values.BackgroundMode);
    p.BackgroundPath = values.BackgroundPath;

    p.MarkColor = values.MarkColor;
    p.MarkSize = values.MarkSizeSlider / 10.0;
    p.Colors = values.Colors;

    world.Changed = true;
    ParameterApplyResult result;
    result.WriteTemplate = values.ApplyToNewProjects;
    return result;
}

}  // namespace velo
