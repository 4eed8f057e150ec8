#include "record/quantities.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "forms/unit_labels.h"
#include "model/derived_fields.h"
#include "record/energy.h"

namespace velo {
namespace {

using enum Quantity;

constexpr std::array<QuantityInfo, RecordedQuantityCount> Table{{
    {X, "x", "x", "Координата x", UnitKind::Length, false},
    {Y, "y", "y", "Координата y", UnitKind::Length, false},
    {VelocityX, "vx", "v_x", "Скорость, x", UnitKind::Velocity, false},
    {VelocityY, "vy", "v_y", "Скорость, y", UnitKind::Velocity, false},
    {Speed, "v", "|v|", "Модуль скорости", UnitKind::Velocity, false},
    {AccelerationX, "ax", "a_x", "Ускорение, x", UnitKind::Acceleration, false},
    {AccelerationY, "ay", "a_y", "Ускорение, y", UnitKind::Acceleration, false},
    {Phi, "phi", "φ", "Угловая координата", UnitKind::Angle, false},
    {Omega, "omega", "ω", "Угловая скорость", UnitKind::AngularVelocity, false},
    {Epsilon, "eps", "ε", "Угловое ускорение", UnitKind::AngularAcceleration, false},
    {KineticEnergy, "ke", "E_к", "Кинетическая энергия", UnitKind::Energy, true},
    {PotentialEnergy, "pe", "E_п", "Потенциальная энергия", UnitKind::Energy, true},
    {TotalEnergy, "energy", "E", "Полная энергия", UnitKind::Energy, true},
    {MomentumX, "px", "p_x", "Импульс, x", UnitKind::Momentum, true},
    {MomentumY, "py", "p_y", "Импульс, y", UnitKind::Momentum, true},
    {Momentum, "p", "|p|", "Модуль импульса", UnitKind::Momentum, true},
    {AngularMomentum, "l", "L", "Момент импульса", UnitKind::AngularMomentum, false},
    {ForceX, "fx", "F_x", "Сила, x", UnitKind::Force, false},
    {ForceY, "fy", "F_y", "Сила, y", UnitKind::Force, false},
    {Force, "f", "|F|", "Модуль силы", UnitKind::Force, false},
    {Torque, "torque", "M", "Момент силы", UnitKind::Torque, false},
}};

// Longer names a user may reach for first.
struct Alias {
    const char* Name;
    Quantity Id;
};
constexpr Alias Aliases[] = {
    {"speed", Speed},        {"w", Omega},          {"epsilon", Epsilon}, {"kinetic", KineticEnergy},
    {"potential", PotentialEnergy}, {"e", TotalEnergy}, {"momentum", Momentum}, {"force", Force},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

double Length(Vec2 v) { return std::sqrt(v.X * v.X + v.Y * v.Y); }

constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

// The velocity of a ball's centre. A ball hung on a suspension point keeps
// its motion as the turning of its radius, and its Velocity only gathers
// one step's change; its centre moves with Momentum / Mass.
Vec2 BallVelocity(const Ball& ball) {
    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity && ball.Mass > 0) {
        return ball.Momentum / ball.Mass;
    }
    return ball.Velocity;
}

double ReadBall(const Ball& b, Quantity q) {
    switch (q) {
    case X: return b.Position.X;
    case Y: return b.Position.Y;
    case VelocityX: return BallVelocity(b).X;
    case VelocityY: return BallVelocity(b).Y;
    case Speed: return Length(BallVelocity(b));
    case AccelerationX: return b.Acceleration.X;
    case AccelerationY: return b.Acceleration.Y;
    case Phi: return b.Phi;
    case Omega: return b.Omega;
    case Epsilon: return b.Epsilon;
    case KineticEnergy: return b.KineticEnergy;
    case PotentialEnergy: return b.PotentialEnergy;
    case TotalEnergy: return b.KineticEnergy + b.PotentialEnergy;
    case MomentumX: return b.Momentum.X;
    case MomentumY: return b.Momentum.Y;
    case Momentum: return Length(b.Momentum);
    case AngularMomentum: return b.AngularMomentum;
    case ForceX: return b.Force.X;
    case ForceY: return b.Force.Y;
    case Force: return Length(b.Force);
    case Torque: return b.Torque;
    }
    return NotANumber;
}

double ReadRod(const Peg& r, Quantity q) {
    // The rod's point of record is its centre of rotation, at rest on a
    // hanging rod; its momentum is that of its own body, moving with the
    // middle as its kinetic energy does.
    const Vec2 velocity = RodPointVelocity(r, r.Position);
    switch (q) {
    case X: return r.Position.X;
    case Y: return r.Position.Y;
    case VelocityX: return velocity.X;
    case VelocityY: return velocity.Y;
    case Speed: return Length(velocity);
    case AccelerationX: return r.Acceleration.X;
    case AccelerationY: return r.Acceleration.Y;
    case Phi: return r.Phi;
    case Omega: return r.Omega;
    case Epsilon: return r.Epsilon;
    case KineticEnergy: return r.KineticEnergy;
    case PotentialEnergy: return r.PotentialEnergy;
    case TotalEnergy: return r.KineticEnergy + r.PotentialEnergy;
    case MomentumX: return RodMomentum(r).X;
    case MomentumY: return RodMomentum(r).Y;
    case Momentum: return Length(RodMomentum(r));
    case AngularMomentum: return r.AngularMomentum;
    case ForceX: return r.Force.X;
    case ForceY: return r.Force.Y;
    case Force: return Length(r.Force);
    case Torque: return r.Torque;
    }
    return NotANumber;
}

}  // namespace

double SceneQuantity(const SceneTotals& totals, Quantity q) {
    switch (q) {
    case KineticEnergy: return totals.Kinetic;
    case PotentialEnergy: return totals.Potential;
    case TotalEnergy: return totals.Mechanical();
    case MomentumX: return totals.Momentum.X;
    case MomentumY: return totals.Momentum.Y;
    case Momentum: return Length(totals.Momentum);
    default: return NotANumber;
    }
}

const QuantityInfo& InfoOf(Quantity quantity) {
    const auto index = static_cast<std::size_t>(quantity);
    return Table[index < Table.size() ? index : 0];
}

std::span<const QuantityInfo> AllQuantities() { return Table; }

bool IsSceneQuantity(Quantity quantity) {
    return static_cast<std::size_t>(quantity) < Table.size() && InfoOf(quantity).OfScene;
}

std::optional<Quantity> QuantityByName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const QuantityInfo& info : Table) {
        if (lower == info.Name) return info.Id;
    }
    for (const Alias& alias : Aliases) {
        if (lower == alias.Name) return alias.Id;
    }
    return std::nullopt;
}

std::string QuantityNamesText() {
    std::string text;
    for (const QuantityInfo& info : Table) {
        if (!text.empty()) text += ", ";
        text += info.Name;
    }
    return text;
}

std::string_view UnitPattern(UnitKind unit) {
    switch (unit) {
    case UnitKind::Length: return "L";
    case UnitKind::Velocity: return "L / T";
    case UnitKind::Acceleration: return "L / T^2";
    case UnitKind::Angle: return "G";
    case UnitKind::AngularVelocity: return "G / T";
    case UnitKind::AngularAcceleration: return "G / T^2";
    case UnitKind::Energy: return "M*(L/T)^2";
    case UnitKind::Momentum: return "M*L/T";
    case UnitKind::AngularMomentum: return "M*L^2/T";
    case UnitKind::Force: return "M*L/T^2";
    case UnitKind::Torque: return "M*L^2/T^2";
    case UnitKind::Time: return "T";
    }
    return "";
}

std::string UnitLabel(UnitKind unit, const UnitSystem& units) { return ComposeUnitLabel(UnitPattern(unit), units); }

double DisplayValue(UnitKind unit, double value, const UnitSystem& units) {
    switch (unit) {
    case UnitKind::Angle:
    case UnitKind::AngularVelocity:
    case UnitKind::AngularAcceleration: return ToAngleUnit(value, units);
    default: return value;
    }
}

bool IsRecordableKind(int kind) {
    return kind == KindNone || kind == KindBall || kind == KindCylinder || kind == KindPeg;
}

bool ObjectPresent(const World& world, int kind, int number) {
    switch (kind) {
    case KindNone: return number == 0;
    case KindBall:
    case KindCylinder:
        return number >= 1 && number <= std::min(world.BallCount, BallCapacity) &&
               world.Balls[static_cast<std::size_t>(number)].Exists;
    case KindPeg:
        return number >= 1 && number <= std::min(world.PegCount, PegCapacity) &&
               world.Pegs[static_cast<std::size_t>(number)].Exists;
    default: return false;
    }
}

double ReadQuantity(const World& world, int kind, int number, Quantity quantity) {
    if (!ObjectPresent(world, kind, number)) return NotANumber;
    switch (kind) {
    case KindNone: return SceneQuantity(TotalsOf(world), quantity);
    case KindBall:
    case KindCylinder: return ReadBall(world.Balls[static_cast<std::size_t>(number)], quantity);
    case KindPeg: return ReadRod(world.Pegs[static_cast<std::size_t>(number)], quantity);
    default: return NotANumber;
    }
}

}  // namespace velo
