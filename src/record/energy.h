// Totals of the whole scene and the drift of the mechanical energy since
// the start point, for the scene readout. The totals are those of the
// bodies the property windows show energies for: balls, cylinders and
// rods. Threads are left out (no window gives their energy, and their
// chains of segments swing on their own).
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

// The drift (energy - start) / scale in per cent. The scale is the energy
// the scene moves with, not the start energy: the mechanical energy holds
// the potential energy, whose zero (the ZeroLevel) is arbitrary, so a
// percentage of it would change with where the zero lies. The recorder
// keeps the scale since the start point (Recorder::EnergyScale): the larger
// of the peak total kinetic energy and the swing of the total potential
// energy, both the same at any zero level. None when the scale is not
// positive (nothing has moved) or a value is not a number.
std::optional<double> EnergyDriftPercent(double startEnergy, double energy, double scale);

struct EnergyReadout {
    double Energy = 0;
    std::optional<double> DriftPercent;  // none before a start point
};
// With no scale kept (0), the current total kinetic energy is the scale.
EnergyReadout ReadEnergy(const World& world, std::optional<double> startEnergy, double scale = 0);

}  // namespace velo
