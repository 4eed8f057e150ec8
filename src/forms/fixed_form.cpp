#include "forms/fixed_form.h"

#include <algorithm>

namespace velo {

bool FixedObjectExists(const World& world, int kind, int number) {
    auto live = [number](const auto& table, int first, int count) {
        return number >= first && number <= count && number < static_cast<int>(table.size()) &&
               table[static_cast<std::size_t>(number)].Exists;
    };
    switch (kind) {
    case KindLaval: return live(world.Lavals, 1, world.LavalCount);
    case KindHand: return live(world.Hands, 0, std::max(world.HandCount, 0));
    case KindWall: return live(world.Walls, 1, world.WallCount);
    case KindPlane: return live(world.Planes, 1, world.PlaneCount);
    case KindSurface: return live(world.Surfaces, 1, world.SurfaceCount);
    case KindSurface2: return live(world.Surfaces2, 1, world.Surface2Count);
    default: return false;
    }
}

std::string NumberedTitle(const char* head, int number) { return std::string(head) + " " + std::to_string(number); }

int ListedMaterial(const World& world, int material) {
    const int count = world.Materials.MaterialCount;
    if (material >= 0 && material <= count) return material;
    const int fallback = world.Params.DefaultMaterial;
    return fallback <= count ? fallback : 0;
}

NumberInput::Check CoordinateCheck() { return WithinRange(-LargestCoordinate, LargestCoordinate); }

NumberInput::Check PositiveThickness() {
    return [](double value) { return value > 0 && value <= 2 * LargestCoordinate; };
}

NumberInput::Check NonNegativeThickness() { return WithinRange(0, 2 * LargestCoordinate); }

}  // namespace velo
