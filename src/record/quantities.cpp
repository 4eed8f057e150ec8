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

bool IsHung(const Ball& ball) {
    return ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity;
}

bool CarriedByRod(const World& world, int number) {
    const Ball& ball = world.Balls[static_cast<std::size_t>(number)];
    if (ball.BindKind != BindPegEnd || ball.BindNumber < 1 || ball.BindNumber > std::min(world.PegCount, PegCapacity))
        return false;
    const Peg& rod = world.Pegs[static_cast<std::size_t>(ball.BindNumber)];
    return FastenedBall(world, rod, 1) == number || FastenedBall(world, rod, 2) == number;
}

// The accelerations of a body something holds (a hung ball, a carried ball,
// a rod): the change of its sampled velocities since the previous sample,
// the stored fields holding only what the field alone would give. Without
// a previous sample they are not known. The history takes this sample.
struct Rates {
    Vec2 Acceleration;
    double Epsilon;
};
Rates RatesOf(double time, Vec2 velocity, double omega, MotionHistory* history) {
    Rates rates{{NotANumber, NotANumber}, NotANumber};
    if (history == nullptr) return rates;
    const double elapsed = time - history->Time;
    if (history->Known && elapsed > 0) {
        rates.Acceleration = (velocity - history->Velocity) / elapsed;
        rates.Epsilon = (omega - history->Omega) / elapsed;
    }
    *history = {true, time, velocity, omega};
    return rates;
}

// The values that differ from kind to kind; the rest follow from them.
struct Reading {
    Vec2 Position, Velocity, Acceleration, Momentum, Force;
    double Phi, Omega, Epsilon, Kinetic, Potential, AngularMomentum, Torque;
};

void Fill(const Reading& r, QuantityValues& values) {
    const auto put = [&](Quantity q, double v) { values[static_cast<std::size_t>(q)] = v; };
    put(X, r.Position.X);
    put(Y, r.Position.Y);
    put(VelocityX, r.Velocity.X);
    put(VelocityY, r.Velocity.Y);
    put(Speed, Length(r.Velocity));
    put(AccelerationX, r.Acceleration.X);
    put(AccelerationY, r.Acceleration.Y);
    put(Phi, r.Phi);
    put(Omega, r.Omega);
    put(Epsilon, r.Epsilon);
    put(KineticEnergy, r.Kinetic);
    put(PotentialEnergy, r.Potential);
    put(TotalEnergy, r.Kinetic + r.Potential);
    put(MomentumX, r.Momentum.X);
    put(MomentumY, r.Momentum.Y);
    put(Momentum, Length(r.Momentum));
    put(AngularMomentum, r.AngularMomentum);
    put(ForceX, r.Force.X);
    put(ForceY, r.Force.Y);
    put(Force, Length(r.Force));
    put(Torque, r.Torque);
}

// A ball's centre as the ball window shows it (BallCentreVelocity), its
// momentum m v. A free ball's accelerations and force are the stored ones
// of its last step (the field and the air; contacts act by impulses); a
// held ball's come from its motion, the force being m a, all that moves it.
// The angular momentum is I ω and the torque I ε about the point the ball
// turns about: its centre (J), or a hung ball's point (J + m r², the
// pendulum's).
Reading ReadBall(const World& world, int number, double time, MotionHistory* history) {
    const Ball& b = world.Balls[static_cast<std::size_t>(number)];
    const Vec2 velocity = BallCentreVelocity(world, b, number);
    const bool hung = IsHung(b);
    double omega = b.Omega;
    if (hung) {
        const double inertia = HungBallInertia(b);
        const Vec2 centre = b.Position - world.Lavals[b.BindNumber].Position;
        if (inertia > 0) omega += Cross(centre, b.Velocity * b.Mass) / inertia;
    }
    const bool held = hung || CarriedByRod(world, number);
    const double inertia = hung ? HungBallInertia(b) : b.Inertia;
    Reading r{b.Position, velocity, b.Acceleration, velocity * b.Mass, b.Force,
              b.Phi, omega, b.Epsilon, b.KineticEnergy, b.PotentialEnergy,
              inertia * omega, 0};
    if (held) {
        const Rates rates = RatesOf(time, velocity, omega, history);
        r.Acceleration = rates.Acceleration;
        r.Epsilon = rates.Epsilon;
        r.Force = rates.Acceleration * b.Mass;
    } else if (history != nullptr) {
        *history = {true, time, velocity, omega};
    }
    r.Torque = inertia * r.Epsilon;
    return r;
}

// A rod's x, y, velocity, acceleration and momentum are those of the middle
// of its own body, the point its momentum and kinetic energy move with (its
// centre of rotation is at rest on a hanging rod); the acceleration comes
// from that motion (contacts and what holds it change it by impulses), the
// force is the rod's mass times it. Its turning is what the rod window
// shows: φ, ω and the ε of the last step, the angular momentum and torque
// about its centre of rotation with the moment of inertia about that
// centre, balls included (I ω, I ε), so they hold before the first step.
Reading ReadRod(const Peg& rod, double time, MotionHistory* history) {
    const Vec2 middle = RodMiddle(rod);
    const Vec2 velocity = RodPointVelocity(rod, middle);
    const Rates rates = RatesOf(time, velocity, rod.Omega, history);
    return {middle,
            velocity,
            rates.Acceleration,
            velocity * rod.Mass,
            rates.Acceleration * rod.Mass,
            rod.Phi,
            rod.Omega,
            rod.Epsilon,
            rod.KineticEnergy,
            rod.PotentialEnergy,
            rod.PivotInertia * rod.Omega,
            rod.PivotInertia * rod.Epsilon};
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

void ReadQuantities(const World& world, int kind, int number, MotionHistory* history, QuantityValues& values) {
    values.fill(NotANumber);
    if (!ObjectPresent(world, kind, number)) {
        if (history != nullptr) history->Known = false;
        return;
    }
    switch (kind) {
    case KindNone: {
        const SceneTotals totals = TotalsOf(world);
        for (const QuantityInfo& info : Table) values[static_cast<std::size_t>(info.Id)] = SceneQuantity(totals, info.Id);
        return;
    }
    case KindBall:
    case KindCylinder: Fill(ReadBall(world, number, world.T, history), values); return;
    case KindPeg: Fill(ReadRod(world.Pegs[static_cast<std::size_t>(number)], world.T, history), values); return;
    default: return;
    }
}

double ReadQuantity(const World& world, int kind, int number, Quantity quantity) {
    QuantityValues values;
    ReadQuantities(world, kind, number, nullptr, values);
    return values[static_cast<std::size_t>(quantity) < values.size() ? static_cast<std::size_t>(quantity) : 0];
}

}  // namespace velo
