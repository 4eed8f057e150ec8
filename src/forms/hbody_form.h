// The celestial body window (prpHBody, "Свойства небесного тела №"): the
// working copy of the body, the checks of its radius, volume and density
// formula, and what "ОК" writes back.
#pragma once

#include <string>
#include <string_view>

#include "forms/number_input.h"
#include "model/world.h"

namespace velo {

// Radii a body may have, in metres.
inline constexpr double MinBodyRadius = 1e-40;
inline constexpr double MaxBodyRadius = 1e40;

// The working copy of body `number` as the window opens: the whole record,
// its acceleration taken as the field of the other bodies at its position,
// and its force and momentum as mass times acceleration and velocity, so
// that the window shows one consistent body whether it has run or not.
HBody FillHBodyWindow(const World& world, int number);

// The radius of a sphere of volume v, with the sign of v:
// (|v| * 0.75 / pi)^(1/3).
double RadiusOfVolume(double volume);

// Checks of the radius and volume fields: the radius, or the radius of the
// volume, within [MinBodyRadius, MaxBodyRadius]; so a volume of zero or
// below is refused.
NumberInput::Check BodyRadiusCheck();
NumberInput::Check BodyVolumeCheck();

// Accepted entries. Each keeps the copy's volume, mass, momentum and force
// consistent with its radius, density, velocity and acceleration.
void SetBodyRadius(HBody& copy, double radius);
void SetBodyVolume(HBody& copy, double volume);

// The density law typed into the window. Refused (false, the copy
// unchanged) when it does not compile or its mean density is not within
// 1e-80 < mean < 1e80, with the reason in `refusal`; accepted, the formula
// is kept exactly as typed.
bool SetBodyDensityFormula(HBody& copy, const std::string& text, std::string* refusal = nullptr);

// The name as the window shows it: without the blanks around it.
std::u16string BodyNameText(const HBody& body);
// The typed name, trimmed and cut or blank-padded to the 16 characters of
// the record (never between the two halves of a surrogate pair).
void SetBodyName(HBody& copy, std::u16string_view text);

// The magnitudes the window shows.
struct BodyMagnitudes {
    double Velocity = 0;
    double Acceleration = 0;
    double Momentum = 0;  // |Velocity| * Mass
    double Force = 0;     // |Acceleration| * Mass
};
BodyMagnitudes MagnitudesOf(const HBody& body);

// "ОК": the copy over body `number`, which becomes selected. Does nothing
// for a number that holds no body.
void ApplyHBodyWindow(World& world, int number, const HBody& copy);

}  // namespace velo
