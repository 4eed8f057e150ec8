#include "forms/movable_properties.h"

#include <algorithm>

#include "model/derived_fields.h"
#include "model/materials.h"

namespace velo {

MovableSummary SummariseMovable(const World& w) {
    MovableSummary s;
    Vec2 weighted;
    auto add = [&](double mass, double energy, Vec2 momentum, Vec2 position) {
        s.Mass += mass;
        s.Energy += energy;
        s.Momentum += momentum;
        weighted += position * mass;
        ++s.Count;
    };
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        const Ball& b = w.Balls[n];
        if (b.Exists && b.Selected) add(b.Mass, b.KineticEnergy, b.Momentum, b.Position);
    }
    for (int n = 1; n <= std::min(w.PegCount, PegCapacity); ++n) {
        const Peg& r = w.Pegs[n];
        if (r.Exists && r.Selected) add(r.Mass, r.KineticEnergy, r.Velocity * r.Mass, (r.End1 + r.End2) / 2);
    }
    if (s.Mass > 0) s.CentreOfMass = weighted / s.Mass;
    return s;
}

void ApplyMovableMaterial(World& w, int material) {
    if (material < 0 || material > w.Materials.MaterialCount) return;
    const double to = w.Materials.Items[static_cast<std::size_t>(material)].Density;
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Selected || b.Material == material) continue;
        const double from = w.Materials.Items[std::min<std::size_t>(b.Material, MaterialSlots - 1)].Density;
        if (!(from > 0)) continue;
        b.Density *= to / from;
        b.Material = static_cast<std::uint8_t>(material);
        RecomputeBall(w, n);
    }
}

ThreadSummary SummariseThread(const World& w, int number) {
    ThreadSummary s;
    if (number < 1 || number > ThreadCapacity) return s;
    const Thread& t = w.Threads[number];
    const int segments = std::clamp(t.SegmentCount, 0, ThreadSegmentCapacity);
    s.Length = t.Length;
    s.Laval = t.FirstEndLaval;
    s.First = t.Points[0];
    s.Second = t.Points[static_cast<std::size_t>(segments)];
    s.SecondBinding = t.SecondEndBinding;
    return s;
}

}  // namespace velo
