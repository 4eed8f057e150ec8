// Texts that windows compose from the project's units and parameters: unit
// labels such as "м / с^2", the view labels of the parameters window, and
// the descriptions of gravity, air and wind. Also the angle conversion
// between the World (radians) and the windows (the project's angle unit).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/parameters.h"
#include "forms/parse_number.h"

namespace velo {

// Replaces every unit letter of the pattern by the unit's name: L length,
// M mass, T time, Q charge, G angle. Letters inside the inserted names are
// left alone, so "M / L^3" with the mass unit "Mg" stays "Mg / ...".
std::string ComposeUnitLabel(std::string_view pattern, const UnitSystem& units);

std::string VelocityLabel(const UnitSystem& units);      // "L / T"
std::string AccelerationLabel(const UnitSystem& units);  // "L / T^2"
std::string DensityLabel(const UnitSystem& units);       // "M / L^3"
std::string MomentumLabel(const UnitSystem& units);      // "M*L/T"
std::string EnergyLabel(const UnitSystem& units);        // "M*(L/T)^2"

// "Видимый размер одного м" / "Видимый размер одной ..." by the gender of
// the length unit's name.
std::string ViewSizeLabel(const UnitSystem& units);

// "Поле 10000x7000 охватывает область: 10 м x 7 м" for the typed scale s;
// empty (the label is hidden) when s is not a positive number.
std::optional<std::string> ViewAreaText(double scale, const UnitSystem& units,
                                        const NumberLocale& locale = {});

// "Гравитация: Вниз" for a positive g, "Гравитация: Нет" for 0,
// "Гравитация: Вверх" for a negative g.
std::string GravityText(double gravity);

// Entries of the air list of the parameters window.
enum AirOption : int {
    AirNone = 0,      // "Отсутствует", density 0
    AirUnit = 1,      // "Единичная плотность", density 1
    AirCustom = 2,    // "Нестандартная плотность", the typed density
};
inline constexpr const char* AirOptionTexts[] = {"Отсутствует", "Единичная плотность",
                                                 "Нестандартная плотность"};
int AirOptionOf(double airDensity);
// The density stored for a list entry; customDensity is used only for
// "Нестандартная плотность".
double AirDensityOf(int option, double customDensity);

// "Нет ветра" for (0, 0), "Горизонтальный ветер" when only X is non-zero,
// "Произвольный ветер" otherwise.
std::string WindText(Vec2 wind);

// Angles: the World holds radians, windows show value / AngleUnit.
double ToAngleUnit(double radians, const UnitSystem& units);
double FromAngleUnit(double value, const UnitSystem& units);

}  // namespace velo
