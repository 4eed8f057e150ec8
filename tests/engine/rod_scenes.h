// Scene builders for the rod and thread tests and benchmarks, and a step
// that runs the phases in the order of the mechanical step: balls (field,
// contacts, integration), rods, threads, then the positions of all three.
#pragma once

#include <cmath>
#include <numbers>

#include "contact_scenes.h"
#include "engine/imitator.h"
#include "engine/rod_phase.h"
#include "engine/thread_phase.h"

namespace velo::testing {

// A steel-coloured rod of material 1 with a square section; Phi and the
// centre are set, the derived fields recomputed.
inline int AddRod(World& w, Vec2 centre, double phi, double length, double width,
                  double density = 7800, int material = 1) {
    const int n = ++w.PegCount;
    Peg& r = w.Pegs[n];
    r = Peg{};
    r.Exists = true;
    r.Movable = true;
    r.Material = static_cast<std::uint8_t>(material);
    r.Density = density;
    r.Length = length;
    r.Width = width;
    r.Depth = width;
    r.SectionShape = 1;
    r.SectionInertiaFactor = 1.0 / 12;
    r.Position = centre;
    r.Phi = phi;
    RecomputeRod(w, n);
    return n;
}

// Hangs rod n on suspension point `laval` at `fraction` of its length.
inline void HangRod(World& w, int n, int laval, double fraction) {
    Peg& r = w.Pegs[n];
    r.HangLaval = laval;
    r.HangFraction = fraction;
    r.Position = w.Lavals[laval].Position;
    RecomputeRod(w, n);
}

// Fastens ball b at end `end` of rod n (without the editor's search).
inline void FastenAt(World& w, int n, int end, int b) {
    Peg& r = w.Pegs[n];
    (end == 1 ? r.End1Kind : r.End2Kind) = KindBall;
    (end == 1 ? r.End1Number : r.End2Number) = b;
    w.Balls[b].BindKind = BindPegEnd;
    w.Balls[b].BindNumber = n;
    RecomputeRod(w, n);
}

// The plain loops of the rod contacts: every obstacle, kind by kind, each
// in increasing number.
inline void EveryRodObstacle(World& world, int number, const RodSegment& segment, RodTouches& touches,
                             StepContext& context) {
    for (int k = 1; k <= world.LavalCount; ++k)
        TouchRodObstacle(world, number, segment, OrderLaval, k, nullptr, 0, touches, context);
    for (int k = 0; k <= world.HandCount; ++k)
        TouchRodObstacle(world, number, segment, OrderHand, k, nullptr, 0, touches, context);
    for (int k = 1; k <= world.WallCount; ++k)
        TouchRodObstacle(world, number, segment, OrderWall, k, nullptr, 0, touches, context);
    for (int k = 1; k <= world.PlaneCount; ++k)
        TouchRodObstacle(world, number, segment, OrderPlane, k, nullptr, 0, touches, context);
    for (int k = 1; k <= world.SurfaceCount; ++k)
        TouchRodObstacle(world, number, segment, OrderSurface, k, nullptr, 0, touches, context);
}

// One mechanical step of balls, rods and threads.
inline void FullStep(World& w, double dt, StepContext& context) {
    SilentMessenger messenger;
    MechanicalStep(w, dt, messenger, context);
}

inline std::unique_ptr<World> RandomRodScene(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto w = EmptyScene();
    SetPair(*w, 1, 1, uniform(0, 1), uniform(0, 1), uniform(0, 1), 0);
    SetPair(*w, 1, 2, uniform(0, 1), uniform(0, 1), uniform(0, 1), 0);
    w->Materials.MaterialCount = 2;
    w->Hands[0].Exists = seed % 2 == 0;
    w->Hands[0].Coord = -4;
    AddScatteredObstacles(*w, random, 8, true);
    // Free rods, rods hung on the suspension points and rods with balls.
    for (int k = 0; k < 40; ++k) {
        const int rod = AddRod(*w, {uniform(-2.8, 2.8), uniform(-2.8, 2.8)}, uniform(0, 6.3), uniform(0.2, 1.2),
                               uniform(0.01, 0.06), 7800, 1 + k % 2);
        Peg& r = w->Pegs[rod];
        r.Velocity = {uniform(-2, 2), uniform(-2, 2)};
        r.Omega = uniform(-5, 5);
        if (k % 5 == 1) HangRod(*w, rod, 1 + k % 8, k % 2 == 0 ? 0.5 : uniform(0, 1));
        if (k % 7 == 3) {
            AddBall(*w, r.End2, 0.08, 1);
            FastenAt(*w, rod, 2, w->BallCount);
        }
        if (k % 13 == 6) r.Movable = false;
    }
    return w;
}

}  // namespace velo::testing
