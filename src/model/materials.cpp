#include "model/materials.h"

#include "model/world.h"

namespace velo {

void SetDefaultMaterials(MaterialTable& table) {
    table = MaterialTable{};
    table.MaterialCount = 1;
    table.Items[0] = Material{"Идеальный", 1000, 0, Rgb(0, 0, 0)};
    table.Items[1] = Material{"Сталь", 7800, 0, Rgb(68, 68, 68)};
    // Every pair with the ideal material is perfectly elastic and frictionless.
    for (int j = 0; j < MaterialSlots; ++j) {
        table.Restitution[PairIndex(0, j)] = 1;
        table.Restitution[PairIndex(j, 0)] = 1;
    }
    SetPairSymmetric(table, 1, 1, PairCoefficients{0.5, 1, 0.5, 0.01});
}

PairCoefficients PairOf(const MaterialTable& table, int moving, int other) {
    const int k = PairIndex(moving, other);
    return PairCoefficients{table.Restitution[k], table.FrictionRouth[k], table.FrictionLambda[k],
                            table.RollingFriction[k]};
}

void SetPairSymmetric(MaterialTable& table, int i, int j, const PairCoefficients& c) {
    for (int k : {PairIndex(i, j), PairIndex(j, i)}) {
        table.Restitution[k] = c.Restitution;
        table.FrictionRouth[k] = c.FrictionRouth;
        table.FrictionLambda[k] = c.FrictionLambda;
        table.RollingFriction[k] = c.RollingFriction;
    }
}

static bool IsBlank(const std::string& name) {
    return name.find_first_not_of(' ') == std::string::npos;
}

void TrimMaterials(MaterialTable& table) {
    while (table.MaterialCount > 0 && IsBlank(table.Items[table.MaterialCount].Name)) {
        --table.MaterialCount;
    }
}

std::array<int, MaterialSlots> MaterialUsage(const World& world, bool selectedOnly) {
    std::array<int, MaterialSlots> usage{};
    auto count = [&](const auto& record) {
        if (!record.Exists || (selectedOnly && !record.Selected)) return;
        if (record.Material < MaterialSlots) ++usage[record.Material];
    };
    // Support 0 counts whenever it is switched on, even with no supports.
    for (int n = 0; n <= world.HandCount; ++n) count(world.Hands[n]);
    for (int n = 1; n <= world.WallCount; ++n) count(world.Walls[n]);
    for (int n = 1; n <= world.PlaneCount; ++n) count(world.Planes[n]);
    for (int n = 1; n <= world.BallCount; ++n) count(world.Balls[n]);
    for (int n = 1; n <= world.ThreadCount; ++n) count(world.Threads[n]);
    for (int n = 1; n <= world.PegCount; ++n) count(world.Pegs[n]);
    for (int n = 1; n <= world.SurfaceCount; ++n) count(world.Surfaces[n]);
    for (int n = 1; n <= world.Surface2Count; ++n) count(world.Surfaces2[n]);
    return usage;
}

}  // namespace velo
