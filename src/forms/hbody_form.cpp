#include "forms/hbody_form.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "celestial/bodies.h"
#include "celestial/celestial_step.h"
#include "celestial/density_formula.h"
#include "model/portable_math.h"

namespace velo {
namespace {

double Length(const Vec3& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

Vec3 Scaled(const Vec3& v, double factor) { return {v.X * factor, v.Y * factor, v.Z * factor}; }

// Volume and mass from radius and density, then what follows from the mass.
void Recompute(HBody& body) {
    UpdateBodyMass(body);
    body.Momentum = Scaled(body.Velocity, body.Mass);
    body.Force = Scaled(body.Acceleration, body.Mass);
}

bool RadiusAllowed(double radius) { return radius >= MinBodyRadius && radius <= MaxBodyRadius; }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

HBody FillHBodyWindow(const World& world, int number) {
    if (number < 1 || number > HBodyCapacity) return HBody{};
    HBody copy = world.HBodies[static_cast<std::size_t>(number)];
    // The body itself lies at the point, so it adds nothing to the field;
    // neither does slot 0.
    copy.Acceleration = GravityField(world, copy.Position);
    Recompute(copy);
    return copy;
}

double RadiusOfVolume(double volume) {
    const double radius = math::Cbrt(std::fabs(volume) * 0.75 / std::numbers::pi);
    return volume < 0 ? -radius : radius;
}

NumberInput::Check BodyRadiusCheck() { return [](double radius) { return RadiusAllowed(radius); }; }

NumberInput::Check BodyVolumeCheck() {
    return [](double volume) { return RadiusAllowed(RadiusOfVolume(volume)); };
}

void SetBodyRadius(HBody& copy, double radius) {
    if (!RadiusAllowed(radius)) return;
    copy.Radius = radius;
    Recompute(copy);
}

void SetBodyVolume(HBody& copy, double volume) { SetBodyRadius(copy, RadiusOfVolume(volume)); }

bool SetBodyDensityFormula(HBody& copy, const std::string& text, std::string* refusal) {
    DensityReading reading = ReadDensity(text);
    if (refusal) *refusal = reading.Refusal;
    if (!reading.Mean) return false;
    copy.DensityFormula = text;
    copy.Density = *reading.Mean;
    Recompute(copy);
    return true;
}

std::u16string BodyNameText(const HBody& body) {
    std::u16string name(body.Name.begin(), body.Name.end());
    const auto first = std::find_if_not(name.begin(), name.end(), IsBlank);
    const auto last = std::find_if_not(name.rbegin(), name.rend(), IsBlank).base();
    return first < last ? std::u16string(first, last) : std::u16string();
}

void SetBodyName(HBody& copy, std::u16string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    std::u16string name = first < last ? std::u16string(first, last) : std::u16string();
    if (name.size() > copy.Name.size()) {
        name.resize(copy.Name.size());
        // A first half of a pair whose second half was cut off means nothing.
        if (name.back() >= 0xD800 && name.back() < 0xDC00) name.pop_back();
    }
    copy.Name.fill(u' ');
    std::copy(name.begin(), name.end(), copy.Name.begin());
}

BodyMagnitudes MagnitudesOf(const HBody& body) {
    BodyMagnitudes m;
    m.Velocity = Length(body.Velocity);
    m.Acceleration = Length(body.Acceleration);
    m.Momentum = m.Velocity * body.Mass;
    m.Force = m.Acceleration * body.Mass;
    return m;
}

void ApplyHBodyWindow(World& world, int number, const HBody& copy) {
    if (number < 1 || number > std::min(world.HBodyCount, HBodyCapacity)) return;
    HBody& body = world.HBodies[static_cast<std::size_t>(number)];
    if (!body.Exists) return;
    body = copy;
    body.Exists = true;
    body.Selected = true;
}

}  // namespace velo
