// The engine's capacity scene, shared by the benchmarks of the step and of
// the recorder: every table full, each cell of a 20 x 20 grid holding an
// obstacle or two and a ball or cylinder above them, rods hung on points or
// carrying balls, threads hanging from points.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "engine/chain_layout.h"
#include "model/world.h"
#include "../tests/engine/contact_scenes.h"
#include "../tests/engine/rod_scenes.h"

namespace velo::testing {

// Every table full, spread over a field of 20 x 20 cells of 5 units: in each
// cell an obstacle or two and a ball or cylinder above them; rods hung on
// suspension points or carrying balls at their ends; threads hanging from
// suspension points.
inline std::unique_ptr<World> EngineCapacityScene() {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 0.5, 0.5, 0.01);
    w->Params.FieldScale = 100000;  // fine threads: 512 segments each
    auto cell = [](int k) { return Vec2{-50 + (k % 20) * 5.0, -50 + (k / 20) * 5.0}; };
    w->Hands[0].Exists = false;
    for (int k = 0; k < HandCapacity; ++k) AddHand(*w, cell(k).Y, cell(k).X, cell(k).X + 3, 0.05);
    for (int k = 0; k < WallCapacity; ++k) AddWall(*w, cell(200 + k).X, cell(200 + k).Y, cell(200 + k).Y + 3, 0.05);
    for (int k = 0; k < PlaneCapacity; ++k) {
        const Vec2 c = cell(k) + Vec2{0.5, 2.5};
        AddPlane(*w, c, c + Vec2{2, -1.2}, 0.05, k % 2 == 1);
    }
    for (int k = 0; k < SurfaceCapacity; ++k) {
        std::vector<Vec2> points;
        const Vec2 c = cell(200 + k) + Vec2{0.5, 0.5};
        for (int v = 0; v < SurfacePointCapacity; ++v) {
            points.push_back(c + Vec2{v * 4.0 / SurfacePointCapacity, 0.1 * std::sin(v * 0.05)});
        }
        AddSurface(*w, std::move(points), k % 3 == 0, 0.02);
    }
    for (int k = 0; k < Surface2Capacity; ++k) {
        const Vec2 c = cell(200 + k) + Vec2{2.5, 3.5};
        const std::uint8_t kind = static_cast<std::uint8_t>(1 + k % 3);
        AddCurve(*w, kind, c, 1.5 * 3.14159265358979, 0.5, 0.4, kind == 1 ? -1.0 : kind == 2 ? -1.0 : 0.0,
                 kind == 3 ? 3.14159265358979 : 1.0, 0.03);
    }
    for (int k = 0; k < BallCapacity; ++k) {
        Ball& b = AddBall(*w, cell(k) + Vec2{1.5 + 0.3 * (k % 3), 4.2}, 0.1 + 0.02 * (k % 4), 1,
                          {0.5 * (k % 5) - 1, 0});
        if (k % 4 == 1) {
            b.Shape = ShapeCylinder;
            b.Height = 0.1;
            b.InertiaFactor = 0.5;
        }
        Derive(b);
    }
    // Suspension points: 20 for the threads, 100 for hung rods.
    for (int k = 0; k < ThreadCapacity; ++k) {
        const int laval = ++w->LavalCount;
        w->Lavals[laval] = Laval{cell(k * 20 + 10) + Vec2{4.5, 4.8}, 0, false, true};
        CreateThread(*w, laval, w->Lavals[laval].Position + Vec2{0.4, 0}, 0.6);
    }
    for (int k = 0; k < PegCapacity; ++k) {
        const Vec2 c = cell(k) + Vec2{4, 1.5};
        const int rod = AddRod(*w, c, 0.3 + 0.1 * (k % 7), 0.8, 0.03);
        if (k % 2 == 0) {
            const int laval = ++w->LavalCount;
            w->Lavals[laval] = Laval{c + Vec2{0, 0.5}, 0, false, true};
            HangRod(*w, rod, laval, k % 4 == 0 ? 0.0 : 0.5);
        } else if (k % 4 == 1) {
            // A ball of the cell above rides on the rod's second end.
            FastenAt(*w, rod, 2, 1 + (k + 200) % BallCapacity);
        }
    }
    return w;
}

}  // namespace velo::testing
