#include "editing/optimize.h"

#include <algorithm>
#include <cmath>

#include "model/materials.h"
#include "model/world_ops.h"

namespace velo {
namespace {

struct FieldBox {
    double Left, Right, Top, Bottom;
};

// The visible field in model units.
FieldBox VisibleField(const Parameters& p) {
    const double s = p.FieldScale;
    return {-p.FieldOriginX / s, (10000.0 - p.FieldOriginX) / s, p.FieldOriginY / s, (p.FieldOriginY - 7000.0) / s};
}

template <typename Record, std::size_t N>
void Compact(std::array<Record, N>& table, std::int32_t& count) {
    const int last = std::clamp(count, 0, static_cast<int>(N) - 1);
    if (last <= 1) return;
    int kept = 0;
    for (int n = 1; n <= last; ++n) {
        if (!table[static_cast<std::size_t>(n)].Exists) continue;
        ++kept;
        if (kept != n) table[static_cast<std::size_t>(kept)] = std::move(table[static_cast<std::size_t>(n)]);
    }
    for (int n = kept + 1; n <= last; ++n) table[static_cast<std::size_t>(n)] = Record{};
    count = kept;
}

}  // namespace

void RemoveObjectsOutsideField(World& w) {
    const FieldBox f = VisibleField(w.Params);
    for (int n = 1; n <= std::min(w.HandCount, HandCapacity); ++n) {
        const HandWall& h = w.Hands[n];
        if (h.Exists && (h.Coord < f.Bottom - h.HalfThickness || h.Coord > f.Top + h.HalfThickness))
            DeleteObject(w, KindHand, n);
    }
    for (int n = 1; n <= std::min(w.WallCount, WallCapacity); ++n) {
        const HandWall& h = w.Walls[n];
        if (h.Exists && (h.Coord < f.Left - h.HalfThickness || h.Coord > f.Right + h.HalfThickness))
            DeleteObject(w, KindWall, n);
    }
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        const Ball& b = w.Balls[n];
        if (!b.Exists || b.BindKind != BindNothing) continue;
        const Vec2 p = b.Position;
        const double r = b.Radius;
        if (p.X < f.Left - r || p.X > f.Right + r || p.Y > f.Top + r || p.Y < f.Bottom - r)
            DeleteObject(w, KindBall, n);
    }
}

void RenumberObjects(World& w) {
    Compact(w.Walls, w.WallCount);
    Compact(w.Planes, w.PlaneCount);
    Compact(w.Surfaces, w.SurfaceCount);
    // Numbers have moved: what a step remembers by number is void.
    ++w.Generation;
    MarkFixedSceneChanged(w);
    if (w.CurrentKind == KindWall || w.CurrentKind == KindPlane || w.CurrentKind == KindSurface) {
        w.CurrentKind = KindNone;
        w.CurrentNumber = 0;
    }
}

void RemoveUnusedMaterials(World& w) {
    const std::array<int, MaterialSlots> usage = MaterialUsage(w, false);
    for (int m = 1; m <= std::min<int>(w.Materials.MaterialCount, MaterialSlots - 1); ++m) {
        if (usage[static_cast<std::size_t>(m)] == 0) w.Materials.Items[static_cast<std::size_t>(m)].Name.clear();
    }
    TrimMaterials(w.Materials);
}

}  // namespace velo
