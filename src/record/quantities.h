// The quantities a recording can follow: those the property windows show
// for a ball, a cylinder or a rod, and the totals of the whole scene. Each
// has a short name for the command line, a symbol for the graph's axes, a
// Russian caption and a unit kind, from which the project's unit names
// give the label ("м / с").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/parameters.h"
#include "model/world.h"

namespace velo {

// Numbers are stable: windows may keep them in settings.
enum class Quantity : std::uint8_t {
    X = 0,
    Y = 1,
    VelocityX = 2,
    VelocityY = 3,
    Speed = 4,  // |v|
    AccelerationX = 5,
    AccelerationY = 6,
    Phi = 7,
    Omega = 8,
    Epsilon = 9,
    KineticEnergy = 10,
    PotentialEnergy = 11,
    TotalEnergy = 12,  // kinetic + potential
    MomentumX = 13,
    MomentumY = 14,
    Momentum = 15,  // |p|
    AngularMomentum = 16,
    ForceX = 17,
    ForceY = 18,
    Force = 19,  // |F|
    Torque = 20,
};
inline constexpr int RecordedQuantityCount = 21;

// What a value is measured in. Angles are kept in radians and shown in the
// project's angle unit (DisplayValue).
enum class UnitKind : std::uint8_t {
    Length,
    Velocity,
    Acceleration,
    Angle,
    AngularVelocity,
    AngularAcceleration,
    Energy,
    Momentum,
    AngularMomentum,
    Force,
    Torque,
    Time,
};

struct QuantityInfo {
    Quantity Id;
    const char* Name;     // command line: "x", "vy", "energy"
    const char* Symbol;   // axis: "x", "v_y", "φ", "E"
    const char* Caption;  // "Координата x", "Полная энергия"
    UnitKind Unit;
    bool OfScene;         // also a total of the whole scene
};

const QuantityInfo& InfoOf(Quantity quantity);
std::span<const QuantityInfo> AllQuantities();
// The quantities the scene has totals of: kinetic, potential and total
// energy, momentum x, y and its magnitude.
bool IsSceneQuantity(Quantity quantity);

// The command-line name ("x", "vy", ...); also accepts the aliases listed
// by QuantityNamesText. Case does not matter.
std::optional<Quantity> QuantityByName(std::string_view name);
// "x, y, vx, ..." for messages and the usage text.
std::string QuantityNamesText();

// The unit's pattern in the letters of the unit labels (L length, M mass,
// T time, G angle): "L / T", "M*(L/T)^2".
std::string_view UnitPattern(UnitKind unit);
// The label with the project's unit names: "м / с", "кг*(м/с)^2".
std::string UnitLabel(UnitKind unit, const UnitSystem& units);
// A stored value as the windows show it: angles in the angle unit, all
// else as it is (unit names are labels only).
double DisplayValue(UnitKind unit, double value, const UnitSystem& units);

// The objects a quantity can be read from: a ball or cylinder (both from
// the ball table, KindBall or KindCylinder), a rod (KindPeg), or the scene
// (KindNone, number 0).
bool IsRecordableKind(int kind);

// Whether the object is there to be read: a live record within its
// table's count; the scene always is.
bool ObjectPresent(const World& world, int kind, int number);

// The motion of an object at its previous sample: what the accelerations
// of a body something holds are taken from.
struct MotionHistory {
    bool Known = false;
    double Time = 0;
    Vec2 Velocity;
    double Omega = 0;
};

using QuantityValues = std::array<double, RecordedQuantityCount>;

// Every quantity of one object at once (angles in radians), read the way
// the property windows read it, so that a sample resolves each object once.
// NaN when the object is missing or the scene has no such total.
// - A ball: its centre and the velocity BallCentreVelocity gives (what the
//   ball window shows), momentum m v; a free ball's accelerations and force
//   are those of its last step (field and air: contacts act by impulses).
//   A hung or carried ball's ax, ay, ε are the change of its sampled
//   velocities since the previous sample (`history`), its force m a. The
//   angular momentum is J ω about the centre (I ω about the point for a hung
//   ball).
// - A rod: the middle of its own body, its velocity, momentum m v; ax, ay,
//   ε from its motion as for a held ball, force m a.
// Without a previous sample in `history` (null, or its first sample) the
// accelerations taken from the motion are NaN. `history` takes this sample.
void ReadQuantities(const World& world, int kind, int number, MotionHistory* history, QuantityValues& values);

// One quantity with no history (see ReadQuantities).
double ReadQuantity(const World& world, int kind, int number, Quantity quantity);

struct SceneTotals;  // record/energy.h
// A scene quantity from totals already summed (NaN for one the scene has
// not): a sample of many scene series sums the scene once.
double SceneQuantity(const SceneTotals& totals, Quantity quantity);

}  // namespace velo
