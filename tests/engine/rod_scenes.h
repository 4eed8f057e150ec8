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
inline void EveryRodObstacle(World& world, int number, const RodSegment& segment, RodTouches& touches) {
    for (int k = 1; k <= world.LavalCount; ++k)
        TouchRodObstacle(world, number, segment, OrderLaval, k, nullptr, 0, touches);
    for (int k = 0; k <= world.HandCount; ++k)
        TouchRodObstacle(world, number, segment, OrderHand, k, nullptr, 0, touches);
    for (int k = 1; k <= world.WallCount; ++k)
        TouchRodObstacle(world, number, segment, OrderWall, k, nullptr, 0, touches);
    for (int k = 1; k <= world.PlaneCount; ++k)
        TouchRodObstacle(world, number, segment, OrderPlane, k, nullptr, 0, touches);
    for (int k = 1; k <= world.SurfaceCount; ++k)
        TouchRodObstacle(world, number, segment, OrderSurface, k, nullptr, 0, touches);
}

// One mechanical step of balls, rods and threads.
inline void FullStep(World& w, double dt) {
    SilentMessenger messenger;
    MechanicalStep(w, dt, messenger);
}

}  // namespace velo::testing
