// The celestial parameters window (frmHParam, "Параметры имитации") and the
// celestial time-scale window (frmHTime, "Масштаб во времени"): the values
// they show, the unit list with the composed units of the constants, the
// view angles kept within their range, and what applying writes.
#pragma once

#include <array>
#include <string>

#include "forms/number_input.h"
#include "model/world.h"

namespace velo {

// The entries of the list of "Основные параметры", in list order. The
// window draws a separator before "Энергия" and before "Плоский угол".
enum CelestialQuantity : int {
    QuantityDistance = 0,
    QuantityTime,
    QuantityMass,
    QuantityTemperature,
    QuantityLuminousIntensity,
    QuantityEnergy,
    QuantityForce,
    QuantityPressure,
    QuantityPlaneAngle,
    QuantitySolidAngle,
    QuantityCount,
};

struct CelestialQuantityEntry {
    const char* Name;
    const char* Symbol;  // of the International System
    const char* Description;
};
extern const std::array<CelestialQuantityEntry, QuantityCount> CelestialQuantities;

// The symbol field holds up to 10 characters for the two angles and 7 for
// the others; it can be edited for the five base and three derived
// quantities, not for the angles. Symbols are not stored anywhere: they
// only make up the units the window shows.
int SymbolLengthOf(int quantity);
bool SymbolEditable(int quantity);

using CelestialSymbols = std::array<std::string, QuantityCount>;
CelestialSymbols DefaultCelestialSymbols();

// The units of the constants composed from the symbols:
// G force*(length/mass)^2, c length/time, h energy*time, k energy/temperature.
struct ConstantUnits {
    std::string Gravitational;
    std::string LightSpeed;
    std::string Planck;
    std::string Boltzmann;
};
ConstantUnits ComposeConstantUnits(const CelestialSymbols& symbols);

inline constexpr const char* CelestialUnitSystemName = "система интернациональная";

// "Мера угла (G):" and the radians in one unit each choice fills in.
struct AngleUnitChoice {
    const char* Name;
    double Radians;
};
extern const std::array<AngleUnitChoice, 3> CelestialAngleUnits;

// The view angles are kept within [0.1, 3] radians.
inline constexpr double MinViewAngle = 0.1;
inline constexpr double MaxViewAngle = 3;
double ClampViewAngle(double angle);
// The other angle by the view-angle relations of the 10 : 7 field.
double VerticalAngleOf(double horizontal);
double HorizontalAngleOf(double vertical);

struct CelestialParameterValues {
    double GravitationalConstant = 0;
    double LightSpeed = 0;
    double PlanckConstant = 0;
    double BoltzmannConstant = 0;
    double TimeScale = 0;  // CelestialTimeScale
    double ViewAngleH = 0;
    double ViewAngleV = 0;
    std::string AngleUnitName;
    double AngleUnit = 0;  // radians in one angle unit
};
CelestialParameterValues FillCelestialParameters(const World& world);

// The speed of light bounds the speed of every body, and every angle the
// windows show is divided by the angle unit: both must be positive.
NumberInput::Check LightSpeedCheck();
NumberInput::Check AngleUnitCheck();

// "Применить" and "ОК": the constants, the time scale, the horizontal view
// angle (clamped; the vertical angle and the projection distance follow
// from it), the angle unit (its name cut to 8 characters) and the changed
// flag. Values the checks refuse never get here: the window keeps the last
// accepted ones.
void ApplyCelestialParameters(World& world, const CelestialParameterValues& values);

// frmHTime: the time scale it shows, and "ОК".
double CelestialTimeScaleOf(const World& world);
void ApplyCelestialTimeScale(World& world, double timeScale);

}  // namespace velo
