#include "forms/parameters_apply.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>

#include "forms/text_fields.h"
#include "forms/unit_labels.h"
#include "model/derived_fields.h"
#include "model/path_text.h"
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

// The mark-size slider's position for a stored size: the slider runs 0..10.
int MarkSizeSliderOf(double markSize) {
    const double position = std::round(markSize * 10);
    return position >= 10 ? 10 : position > 0 ? static_cast<int>(position) : 0;
}

std::string UnitName(const std::string& typed) { return CutToCharacters(typed, UnitNameLength); }

// A material index that names a material of the table, not a free slot.
bool NamesMaterial(const MaterialTable& table, int index) {
    return index >= 0 && index <= table.MaterialCount && !IsBlankText(table.Items[index].Name);
}

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
    values->MarkSizeSlider = MarkSizeSliderOf(p.MarkSize);
    values->Colors = p.Colors;

    values->Materials = world.Materials;
    return values;
}

ParameterApplyResult CheckParameterWindow(const ParameterWindowValues& values,
                                          const NumberLocale& locale) {
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
    // An angle unit of next to nothing turns every angle shown into infinity.
    const double angleUnit = std::abs(ParseNumber(values.AngleUnit, locale));
    if (!(angleUnit >= SmallestAngleUnit && angleUnit <= LargestAngleUnit))
        return Refuse("Укажите, сколько радиан в единице измерения угла", ParameterField::AngleUnit);
    const double scale = ParseNumber(values.FieldScale, locale);
    if (!(scale >= SmallestFieldScale && scale <= LargestFieldScale))
        return Refuse("Укажите корректный масштаб отображения", ParameterField::FieldScale);
    return {};
}

ParameterApplyResult ApplyParameterWindow(World& world, const ParameterWindowValues& values,
                                          const NumberLocale& locale) {
    auto read = [&](const std::string& text) { return ParseNumber(text, locale); };
    if (ParameterApplyResult refused = CheckParameterWindow(values, locale); !refused.Ok()) return refused;
    const double angleUnit = read(values.AngleUnit);
    const double scale = read(values.FieldScale);
    const Parameters before = world.Params;

    UnitSystem& u = world.Units;
    Parameters& p = world.Params;

    world.Materials = values.Materials;
    TrimMaterials(world.Materials);
    // New objects take the default material: it must still be one.
    if (!NamesMaterial(world.Materials, p.DefaultMaterial)) p.DefaultMaterial = 0;
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
    // A choice beyond the trimmed table, or a slot deleted meanwhile, would
    // name a material that no longer exists; the support then takes the
    // default material.
    if (!NamesMaterial(world.Materials, material)) material = p.DefaultMaterial;
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
    // A size the slider cannot show exactly (from a file) stays until the
    // slider is moved.
    if (values.MarkSizeSlider != MarkSizeSliderOf(before.MarkSize)) p.MarkSize = values.MarkSizeSlider / 10.0;
    p.Colors = values.Colors;

    // Potential energies follow gravity and the zero level, and no ball may
    // outgrow the field at the new scale.
    if (p.Gravity != before.Gravity || p.ZeroLevel != before.ZeroLevel || p.FieldScale != before.FieldScale) {
        const double largest = LargestBallRadius(world);
        for (int n = 1; n <= std::min(world.BallCount, BallCapacity); ++n) {
            if (world.Balls[n].Exists) RecomputeBall(world, n, largest);
        }
        for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
            if (world.Pegs[n].Exists) RecomputeRod(world, n);
        }
    }

    world.Changed = true;
    ParameterApplyResult result;
    result.WriteTemplate = values.ApplyToNewProjects;
    return result;
}

NumberInput::Check ReadableWithin(double low, double high) {
    return [low, high](double value) {
        return value >= low && value <= high && std::abs(value) < UnreadableNumber;
    };
}

NumberInput::Check ParameterNumberCheck(ParameterNumber field) {
    constexpr double any = std::numeric_limits<double>::max();
    switch (field) {
    case ParameterNumber::RouthMinSpeed:
    case ParameterNumber::AirDensity: return ReadableWithin(0, any);
    case ParameterNumber::FieldOrigin:
        return ReadableWithin(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    case ParameterNumber::AmbientLight: return ReadableWithin(0, 1);
    default: return ReadableWithin(-any, any);
    }
}

std::filesystem::path BackgroundPicturePath(const std::filesystem::path& programFolder, int mode) {
    return programFolder / "Graphics" / "Backgrounds" / ("Back" + std::to_string(mode) + ".bmp");
}

int CountBackgroundPictures(const std::filesystem::path& programFolder) {
    int count = 0;
    std::error_code error;
    while (count < BackgroundFromFile - 1 &&
           std::filesystem::is_regular_file(BackgroundPicturePath(programFolder, count + 1), error)) {
        ++count;
    }
    return count;
}

std::vector<BackgroundEntry> BackgroundList(int pictureCount, int currentMode) {
    std::vector<BackgroundEntry> list{{0, BackgroundNoneText}};
    const int last = std::max(pictureCount, currentMode < BackgroundFromFile ? currentMode : 0);
    for (int mode = 1; mode <= last; ++mode) list.push_back({mode, "Фон " + std::to_string(mode)});
    list.push_back({BackgroundFromFile, BackgroundFileText});
    return list;
}

std::optional<std::filesystem::path> BackgroundToStore(const ParameterWindowValues& values,
                                                       const Parameters& opened,
                                                       const std::filesystem::path& programFolder) {
    if (values.BackgroundMode == opened.BackgroundMode && values.BackgroundPath == opened.BackgroundPath) {
        return std::nullopt;
    }
    if (values.BackgroundMode == 0) return std::filesystem::path();
    if (values.BackgroundMode == BackgroundFromFile) {
        if (values.BackgroundPath.empty()) return std::nullopt;
        return PathOf(values.BackgroundPath);
    }
    return BackgroundPicturePath(programFolder, values.BackgroundMode);
}

}  // namespace velo
