#include "record/energy.h"

#include <algorithm>
#include <cmath>

#include "model/derived_fields.h"

namespace velo {

Vec2 RodMomentum(const Peg& rod) { return RodPointVelocity(rod, (rod.End1 + rod.End2) / 2) * rod.Mass; }

SceneTotals TotalsOf(const World& world) {
    SceneTotals totals;
    for (int n = 1; n <= std::min(world.BallCount, BallCapacity); ++n) {
        const Ball& b = world.Balls[static_cast<std::size_t>(n)];
        if (!b.Exists) continue;
        totals.Kinetic += b.KineticEnergy;
        totals.Potential += b.PotentialEnergy;
        totals.Momentum += b.Momentum;
    }
    for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
        const Peg& r = world.Pegs[static_cast<std::size_t>(n)];
        if (!r.Exists) continue;
        totals.Kinetic += r.KineticEnergy;
        totals.Potential += r.PotentialEnergy;
        totals.Momentum += RodMomentum(r);
    }
    return totals;
}

double MechanicalEnergy(const World& world) { return TotalsOf(world).Mechanical(); }

std::optional<double> EnergyDriftPercent(double startEnergy, double energy) {
    if (!std::isfinite(startEnergy) || !std::isfinite(energy) || startEnergy == 0) return std::nullopt;
    return (energy - startEnergy) / std::fabs(startEnergy) * 100;
}

EnergyReadout ReadEnergy(const World& world, std::optional<double> startEnergy) {
    EnergyReadout readout;
    readout.Energy = MechanicalEnergy(world);
    if (startEnergy) readout.DriftPercent = EnergyDriftPercent(*startEnergy, readout.Energy);
    return readout;
}

}  // namespace velo
