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

std::optional<double> EnergyDriftPercent(double startEnergy, double energy, double scale) {
    if (!std::isfinite(startEnergy) || !std::isfinite(energy) || !std::isfinite(scale) || !(scale > 0))
        return std::nullopt;
    return (energy - startEnergy) / scale * 100;
}

EnergyReadout ReadEnergy(const World& world, std::optional<double> startEnergy, double scale) {
    const SceneTotals totals = TotalsOf(world);
    EnergyReadout readout;
    readout.Energy = totals.Mechanical();
    if (startEnergy) readout.DriftPercent = EnergyDriftPercent(*startEnergy, readout.Energy, std::max(scale, totals.Kinetic));
    return readout;
}

}  // namespace velo
