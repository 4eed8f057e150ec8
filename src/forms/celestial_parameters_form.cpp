#include "forms/celestial_parameters_form.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "celestial/bodies.h"
#include "forms/text_fields.h"

namespace velo {

const std::array<CelestialQuantityEntry, QuantityCount> CelestialQuantities = {{
    {"Расстояние", "м",
     "Единица длины: в ней заданы радиусы, координаты и расстояния между телами."},
    {"Время", "с",
     "Единица времени. Щёлкните здесь, чтобы задать масштаб во времени: сколько секунд имитации "
     "проходит за одну секунду реального времени."},
    {"Масса", "кг", "Единица массы: в ней заданы массы тел; плотность — масса единицы объёма."},
    {"Температура", "К", "Единица термодинамической температуры (постоянная Больцмана)."},
    {"Сила света", "кд", "Единица силы света."},
    {"Энергия", "Дж", "Производная единица энергии (постоянные Планка и Больцмана)."},
    {"Сила", "Н", "Производная единица силы (гравитационная постоянная)."},
    {"Давление", "Па", "Производная единица давления."},
    {"Плоский угол", "радиан", "Единица плоского угла: в ней заданы углы обзора наблюдателя."},
    {"Телесный угол", "стерадиан", "Единица телесного угла."},
}};

const std::array<AngleUnitChoice, 3> CelestialAngleUnits = {{
    {"град", std::numbers::pi / 200},
    {"градус", std::numbers::pi / 180},
    {"радиан", 1},
}};

int SymbolLengthOf(int quantity) {
    return quantity == QuantityPlaneAngle || quantity == QuantitySolidAngle ? 10 : 7;
}

bool SymbolEditable(int quantity) { return quantity >= 0 && quantity < QuantityPlaneAngle; }

CelestialSymbols DefaultCelestialSymbols() {
    CelestialSymbols symbols;
    for (int q = 0; q < QuantityCount; ++q) symbols[static_cast<std::size_t>(q)] = CelestialQuantities[static_cast<std::size_t>(q)].Symbol;
    return symbols;
}

ConstantUnits ComposeConstantUnits(const CelestialSymbols& s) {
    const auto& length = s[QuantityDistance];
    const auto& time = s[QuantityTime];
    const auto& mass = s[QuantityMass];
    const auto& temperature = s[QuantityTemperature];
    const auto& energy = s[QuantityEnergy];
    const auto& force = s[QuantityForce];
    return {force + "*(" + length + "/" + mass + ")^2", length + "/" + time, energy + "*" + time,
            energy + "/" + temperature};
}

double ClampViewAngle(double angle) {
    if (!(angle >= MinViewAngle)) return MinViewAngle;  // NaN too
    return std::min(angle, MaxViewAngle);
}

double VerticalAngleOf(double horizontal) {
    CelestialParameters p;
    SetViewAngleH(p, horizontal);
    return p.ViewAngleV;
}

double HorizontalAngleOf(double vertical) {
    CelestialParameters p;
    SetViewAngleV(p, vertical);
    return p.ViewAngleH;
}

CelestialParameterValues FillCelestialParameters(const World& world) {
    const CelestialParameters& p = world.Celestial;
    CelestialParameterValues v;
    v.GravitationalConstant = p.GravitationalConstant;
    v.LightSpeed = p.LightSpeed;
    v.PlanckConstant = p.PlanckConstant;
    v.BoltzmannConstant = p.BoltzmannConstant;
    v.TimeScale = p.CelestialTimeScale;
    v.ViewAngleH = p.ViewAngleH;
    v.ViewAngleV = p.ViewAngleV;
    v.AngleUnitName = world.Units.AngleUnitName;
    v.AngleUnit = world.Units.AngleUnit;
    return v;
}

NumberInput::Check LightSpeedCheck() {
    return [](double c) { return c > 0; };
}

NumberInput::Check AngleUnitCheck() {
    return [](double radians) { return radians > 0; };
}

void ApplyCelestialParameters(World& world, const CelestialParameterValues& v) {
    CelestialParameters& p = world.Celestial;
    p.GravitationalConstant = v.GravitationalConstant;
    if (v.LightSpeed > 0) p.LightSpeed = v.LightSpeed;
    p.PlanckConstant = v.PlanckConstant;
    p.BoltzmannConstant = v.BoltzmannConstant;
    p.CelestialTimeScale = v.TimeScale;
    SetViewAngleH(p, ClampViewAngle(v.ViewAngleH));
    world.Units.AngleUnitName = CutToCharacters(v.AngleUnitName, 8);
    if (v.AngleUnit > 0) world.Units.AngleUnit = v.AngleUnit;
    world.Changed = true;
}

double CelestialTimeScaleOf(const World& world) { return world.Celestial.CelestialTimeScale; }

void ApplyCelestialTimeScale(World& world, double timeScale) {
    world.Celestial.CelestialTimeScale = timeScale;
    world.Changed = true;
}

}  // namespace velo
