// Totals of the whole scene (balls, cylinders and rods; the light threads
// carry no energy of their own in the model) and the drift of the
// mechanical energy since the start point, for the scene readout.
#pragma once

#include <optional>

#include "model/vec2.h"
#include "model/world.h"

namespace velo {

struct SceneTotals {
    double Kinetic = 0;
    double Potential = 0;
    Vec2 Momentum;
    double Mechanical() const { return Kinetic + Potential; }
};

// Sums the energies and momenta the property windows show over every live
// ball, cylinder and rod. A rod's momentum is its mass times the velocity
// of its middle, the point its kinetic energy moves with.
SceneTotals TotalsOf(const World& world);

// A rod's own momentum: its mass times the velocity of its middle.
Vec2 RodMomentum(const Peg& rod);

double MechanicalEnergy(const World& world);

// (energy - start) / |start| in per cent; none when the start energy is 0
// or either value is not a number (no drift can be told then).
std::optional<double> EnergyDriftPercent(double startEnergy, double energy);

struct EnergyReadout {
    double Energy = 0;
    std::optional<double> DriftPercent;  // none before a start point
};
EnergyReadout ReadEnergy(const World& world, std::optional<double> startEnergy);

}  // namespace velo
