#include "forms/group_properties.h"

#include <algorithm>
#include <cmath>

#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

template <typename Table, typename F>
void EachSelected(Table& table, int first, int count, F f) {
    const int last = std::clamp(count, 0, static_cast<int>(table.size()) - 1);
    for (int n = first; n <= last; ++n) {
        auto& record = table[static_cast<std::size_t>(n)];
        if (record.Exists && record.Selected) f(n, record);
    }
}

double DensityOf(const World& w, int material) {
    return w.Materials.Items[static_cast<std::size_t>(std::clamp(material, 0, MaterialSlots - 1))].Density;
}

}  // namespace

GroupValues FillGroupWindow(const World& w) {
    GroupValues v;
    int points = 0, supports = 0, walls = 0, planes = 0, balls = 0, cylinders = 0, rods = 0, surfaces = 0;
    std::vector<int> pointNumbers;
    EachSelected(w.Lavals, 1, w.LavalCount, [&](int n, const Laval&) {
        ++points;
        pointNumbers.push_back(n);
    });
    EachSelected(w.Hands, 0, w.HandCount, [&](int, const HandWall&) { ++supports; });
    EachSelected(w.Walls, 1, w.WallCount, [&](int, const HandWall&) { ++walls; });
    EachSelected(w.Planes, 1, w.PlaneCount, [&](int, const Plane&) { ++planes; });
    EachSelected(w.Balls, 1, w.BallCount, [&](int, const Ball& b) { ++(b.Shape == ShapeCylinder ? cylinders : balls); });
    EachSelected(w.Pegs, 1, w.PegCount, [&](int, const Peg&) { ++rods; });
    EachSelected(w.Surfaces, 1, w.SurfaceCount, [&](int, const Surface&) { ++surfaces; });
    EachSelected(w.Surfaces2, 1, w.Surface2Count, [&](int, const Surface2&) { ++surfaces; });
    const int movable = balls + cylinders + rods;
    const int otherFixed = supports + walls + planes + surfaces;
    v.OnlyPoints = points > 0 && movable == 0 && otherFixed == 0;
    if (v.OnlyPoints) {
        for (int n : pointNumbers) v.Lines.push_back("  Подвес №" + std::to_string(n));
    } else {
        const std::pair<const char*, int> lines[] = {{"Подвесы: ", points}, {"Опоры: ", supports},
                                                      {"Стены: ", walls},   {"Шары: ", balls},
                                                      {"Цилиндры: ", cylinders}, {"Стержни: ", rods},
                                                      {"Наклонные плоскости: ", planes}};
        for (const auto& [caption, count] : lines) {
            if (count > 0) v.Lines.push_back(caption + std::to_string(count));
        }
        if (surfaces > 0) v.Lines.push_back("Поверхности: " + std::to_string(surfaces));
    }
    v.Material = v.OnlyPoints ? 0 : w.Params.DefaultMaterial;
    v.ThicknessAvailable = otherFixed > 0;
    v.Thickness = 2 * w.Params.DefaultHalfThickness;
    v.MoreAvailable = movable > 0;
    v.SelectedCount = points + movable + otherFixed;
    return v;
}

bool ApplyGroupWindow(World& w, const GroupValues& initial, const GroupChoice& choice) {
    if (choice.ChangeThickness && !(std::isfinite(choice.Thickness) && choice.Thickness >= 0)) return false;
    const bool newMaterial = choice.Material != initial.Material && !initial.OnlyPoints &&
                             choice.Material >= 0 && choice.Material <= w.Materials.MaterialCount;
    const double half = choice.Thickness / 2;
    if (choice.ChangeThickness) w.Params.DefaultHalfThickness = half;
    if (newMaterial) w.Params.DefaultMaterial = static_cast<std::uint8_t>(choice.Material);
    const auto material = static_cast<std::uint8_t>(choice.Material);
    auto fixed = [&](auto& table, int first, int count) {
        EachSelected(table, first, count, [&](int, auto& r) {
            if (choice.ChangeThickness) r.HalfThickness = half;
            if (newMaterial) r.Material = material;
        });
    };
    fixed(w.Hands, 0, w.HandCount);
    fixed(w.Walls, 1, w.WallCount);
    fixed(w.Planes, 1, w.PlaneCount);
    fixed(w.Surfaces, 1, w.SurfaceCount);
    fixed(w.Surfaces2, 1, w.Surface2Count);
    if (newMaterial) {
        const double to = DensityOf(w, choice.Material);
        EachSelected(w.Balls, 1, w.BallCount, [&](int n, Ball& b) {
            const double from = DensityOf(w, b.Material);
            if (b.Material == material || !(from > 0)) return;
            b.Density *= to / from;
            b.Material = material;
            RecomputeBall(w, n);
        });
        EachSelected(w.Pegs, 1, w.PegCount, [&](int n, Peg& r) {
            const double from = DensityOf(w, r.Material);
            if (r.Material == material || !(from > 0)) return;
            r.Density *= to / from;
            r.Material = material;
            RecomputeRod(w, n);
        });
    }
    MarkFixedSceneChanged(w);
    return true;
}

void DeselectFixedObjects(World& w) {
    auto clear = [](auto& table, int first, int count) {
        EachSelected(table, first, count, [](int, auto& r) { r.Selected = false; });
    };
    clear(w.Lavals, 1, w.LavalCount);
    clear(w.Hands, 0, w.HandCount);
    clear(w.Walls, 1, w.WallCount);
    clear(w.Planes, 1, w.PlaneCount);
    clear(w.Surfaces, 1, w.SurfaceCount);
    clear(w.Surfaces2, 1, w.Surface2Count);
}

}  // namespace velo
