// Scene builders for the rod and thread tests and benchmarks, and a step
// that runs the phases in the order of the mechanical step: balls (field,
// contacts, integration), rods, threads, then the positions of all three.
#pragma once

#include <cmath>
#include <numbers>

#include "contact_scenes.h"
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

// One mechanical step of balls, rods and threads.
inline void FullStep(World& w, double dt) {
    w.Params.StepCounter = (w.Params.StepCounter + 1) % 2000000000;
    const double g = w.Params.Gravity;
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        b.Force = Vec2{0, -g} * ((b.Density - w.Params.AirDensity) * b.Volume);
        b.GravityAccel = b.Force / b.Mass;
        b.Torque = 0;
        BallContacts(w, n, dt);
        if (!b.Movable) continue;
        b.Epsilon = b.Inertia > 0 ? b.Torque / b.Inertia : 0;
        b.Omega += b.Epsilon * dt;
        b.Acceleration = b.Force / b.Mass;
        b.Velocity += b.Acceleration * dt;
    }
    RodPhase(w, dt);
    ThreadPhase(w, dt);
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        b.Phi += b.Omega * dt;
        b.Position += b.Velocity * dt - b.GravityAccel * (0.5 * dt * dt);
        Derive(b);
    }
    for (int n = 1; n <= w.PegCount; ++n) {
        Peg& r = w.Pegs[n];
        if (!r.Exists || !r.Movable) continue;
        r.Phi += r.Omega * dt;
        if (r.HangLaval == 0) r.Position += r.Velocity * dt;
        RecomputeRod(w, n);
    }
    for (int n = 1; n <= w.ThreadCount; ++n) {
        Thread& t = w.Threads[n];
        if (!t.Exists) continue;
        for (int k = 1; k <= t.SegmentCount; ++k) {
            t.SegmentOmega[k] += t.SegmentEpsilon[k] * dt;
            t.SegmentPhi[k] += t.SegmentOmega[k] * dt;
            t.Points[k] = t.Points[k - 1] +
                          Vec2{std::cos(t.SegmentPhi[k]), std::sin(t.SegmentPhi[k])} * t.SegmentLength[k];
        }
    }
    w.T += dt;
}

}  // namespace velo::testing
