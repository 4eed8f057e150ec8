#include "forms/unit_labels.h"

namespace velo {

std::string ComposeUnitLabel(std::string_view pattern, const UnitSystem& units) {
    // One pass over the pattern: a name once inserted is never scanned again.
    std::string label;
    for (char c : pattern) {
        switch (c) {
        case 'L': label += units.LengthUnitName; break;
        case 'M': label += units.MassUnitName; break;
        case 'T': label += units.TimeUnitName; break;
        case 'Q': label += units.ChargeUnitName; break;
        case 'G': label += units.AngleUnitName; break;
        default: label += c; break;
        }
    }
    return label;
}

std::string VelocityLabel(const UnitSystem& units) { return ComposeUnitLabel("L / T", units); }
std::string AccelerationLabel(const UnitSystem& units) { return ComposeUnitLabel("L / T^2", units); }
std::string DensityLabel(const UnitSystem& units) { return ComposeUnitLabel("M / L^3", units); }
std::string MomentumLabel(const UnitSystem& units) { return ComposeUnitLabel("M*L/T", units); }
std::string EnergyLabel(const UnitSystem& units) { return ComposeUnitLabel("M*(L/T)^2", units); }

std::string ViewSizeLabel(const UnitSystem& units) {
    return std::string(units.LengthUnitMasculine ? "Видимый размер одного " : "Видимый размер одной ") +
           units.LengthUnitName;
}

std::optional<std::string> ViewAreaText(double scale, const UnitSystem& units,
                                        const NumberLocale& locale) {
    if (!(scale > 0)) return std::nullopt;
    return "Поле 10000x7000 охватывает область: " + FormatRounded(10000 / scale, locale) + " " +
           units.LengthUnitName + " x " + FormatRounded(7000 / scale, locale) + " " +
           units.LengthUnitName;
}

std::string GravityText(double gravity) {
    if (gravity > 0) return "Гравитация: Вниз";
    if (gravity < 0) return "Гравитация: Вверх";
    return "Гравитация: Нет";
}

int AirOptionOf(double airDensity) {
    if (airDensity == 0) return AirNone;
    if (airDensity == 1) return AirUnit;
    return AirCustom;
}

double AirDensityOf(int option, double customDensity) {
    switch (option) {
    case AirNone: return 0;
    case AirUnit: return 1;
    default: return customDensity;
    }
}

std::string WindText(Vec2 wind) {
    if (wind.X == 0 && wind.Y == 0) return "Нет ветра";
    if (wind.Y == 0) return "Горизонтальный ветер";
    return "Произвольный ветер";
}

double ToAngleUnit(double radians, const UnitSystem& units) { return radians / units.AngleUnit; }
double FromAngleUnit(double value, const UnitSystem& units) { return value * units.AngleUnit; }

}  // namespace velo
