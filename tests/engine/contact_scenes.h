// Small scene builders for the contact tests and benchmarks, and a minimal
// ball step (forces of the field, contacts, integration, positions) that
// exercises the contacts exactly the way the ball phase calls them.
#pragma once

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "engine/ball_contact_walk.h"
#include "engine/ball_contacts.h"
#include "engine/step_context.h"
#include "model/world.h"
#include "model/world_ops.h"

namespace velo::testing {

inline std::unique_ptr<World> EmptyScene(double gravity = 9.81) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Params.Gravity = gravity;
    world->Params.AirDensity = 0;
    return world;
}

// Derived quantities of a ball, as the ball recomputation gives them.
inline void Derive(Ball& b) {
    b.Volume = b.Shape == ShapeCylinder ? std::numbers::pi * b.Radius * b.Radius * b.Height
                                        : 4.0 / 3.0 * std::numbers::pi * b.Radius * b.Radius * b.Radius;
    b.Mass = b.Density * b.Volume;
    b.Inertia = b.InertiaFactor * b.Mass * b.Radius * b.Radius;
}

inline Ball& AddBall(World& w, Vec2 position, double radius, int material = 1, Vec2 velocity = {}) {
    const int n = ++w.BallCount;
    Ball& b = w.Balls[n];
    b = Ball{};
    b.Exists = true;
    b.Movable = true;
    b.Shape = ShapeBall;
    b.InertiaFactor = 0.4;
    b.Density = 7800;
    b.Radius = radius;
    b.Material = static_cast<std::uint8_t>(material);
    b.Position = position;
    b.Velocity = velocity;
    Derive(b);
    return b;
}

inline HandWall& AddHand(World& w, double y, double from, double to, double half, int material = 1) {
    HandWall& h = w.Hands[++w.HandCount];
    h = HandWall{static_cast<std::uint8_t>(material), y, from, to, half, false, true};
    return h;
}

inline HandWall& AddWall(World& w, double x, double from, double to, double half, int material = 1) {
    HandWall& h = w.Walls[++w.WallCount];
    h = HandWall{static_cast<std::uint8_t>(material), x, from, to, half, false, true};
    return h;
}

inline Plane& AddPlane(World& w, Vec2 p1, Vec2 p2, double half, bool triangular, int material = 1) {
    Plane& p = w.Planes[++w.PlaneCount];
    p = Plane{};
    p.Exists = true;
    p.Material = static_cast<std::uint8_t>(material);
    p.P1 = p1;
    p.P2 = p2;
    p.Length = std::sqrt((p2.X - p1.X) * (p2.X - p1.X) + (p2.Y - p1.Y) * (p2.Y - p1.Y));
    p.HalfThickness = half;
    p.Triangular = triangular ? 1 : 0;
    return p;
}

inline Laval& AddLaval(World& w, Vec2 position) {
    Laval& l = w.Lavals[++w.LavalCount];
    l = Laval{position, 0, false, true};
    return l;
}

inline Surface& AddSurface(World& w, std::vector<Vec2> points, bool closed, double half, int material = 1) {
    Surface& s = w.Surfaces[++w.SurfaceCount];
    s = Surface{};
    s.Exists = true;
    s.Closed = closed;
    s.PointCount = static_cast<std::int32_t>(points.size());
    s.Points = std::move(points);
    s.HalfThickness = half;
    s.Material = static_cast<std::uint8_t>(material);
    return s;
}

inline Surface2& AddCurve(World& w, std::uint8_t kind, Vec2 centre, double rotation, double a, double b,
                          double from, double to, double half, int material = 1) {
    Surface2& s = w.Surfaces2[++w.Surface2Count];
    s = Surface2{};
    s.Exists = true;
    s.SurfaceKind = kind;
    s.Centre = centre;
    s.Rotation = rotation;
    s.ParamA = a;
    s.ParamB = b;
    s.TFrom = from;
    s.TTo = to;
    s.HalfThickness = half;
    s.Material = static_cast<std::uint8_t>(material);
    return s;
}

inline void SetPair(World& w, int i, int j, double e, double routh, double lambda, double rolling) {
    SetPairSymmetric(w.Materials, i, j, PairCoefficients{e, routh, lambda, rolling});
}

// A box of a support and two walls (x and y from -3 to 3), with suspension
// points, supports, walls, plates and triangles, and open and closed
// polylines scattered inside, drawn from `random`. With `oddLength` one
// plate keeps a stored length that is not |P2 - P1|.
inline void AddScatteredObstacles(World& w, std::mt19937_64& random, int lavals, bool oddLength) {
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    AddHand(w, -3, -3, 3, 0.05);
    AddWall(w, -3, -3.2, 3, 0.05);
    AddWall(w, 3, -3.2, 3, 0.05, 2);
    for (int k = 0; k < lavals; ++k) AddLaval(w, {uniform(-3, 3), uniform(-3, 3)});
    for (int k = 0; k < 6; ++k) AddHand(w, uniform(-3, 3), uniform(-3, 0), uniform(0, 3), uniform(0.01, 0.1));
    for (int k = 0; k < 4; ++k) AddWall(w, uniform(-3, 3), uniform(-3, 0), uniform(0, 3), uniform(0.01, 0.1));
    for (int k = 0; k < 8; ++k) {
        const Vec2 a{uniform(-3, 3), uniform(-3, 3)};
        Plane& p = AddPlane(w, a, a + Vec2{uniform(-1.5, 1.5), uniform(-1.5, 1.5)}, uniform(0.01, 0.1), k % 2 == 1,
                            1 + k % 2);
        if (oddLength && k == 4) p.Length *= 0.5;
    }
    for (int k = 0; k < 4; ++k) {
        std::vector<Vec2> points;
        Vec2 p{uniform(-3, 3), uniform(-3, 3)};
        const int count = 1 + static_cast<int>(uniform(0, 60));
        for (int v = 0; v < count; ++v) {
            points.push_back(p);
            p += Vec2{uniform(-0.3, 0.3), uniform(-0.3, 0.3)};
        }
        AddSurface(w, std::move(points), k % 2 == 0, uniform(0, 0.05));
    }
}

// A pile of 400 steel balls of radius 0.1 (restitution 0.5 against
// everything) dropped in rows into a box 4 wide: a support at y = 0 and two
// walls. The balls start just apart, so the pile forms in the first second.
inline std::unique_ptr<World> PileInBox() {
    auto w = EmptyScene();
    SetPair(*w, 1, 1, 0.5, 1, 0.5, 0.01);
    AddHand(*w, 0, -2.2, 2.2, 0.05);
    AddWall(*w, -2.05, -0.1, 10, 0.05);
    AddWall(*w, 2.05, -0.1, 10, 0.05);
    for (int k = 0; k < 400; ++k) {
        const int row = k / 19;
        const int column = k % 19;
        AddBall(*w, {-1.9 + column * 0.205 + (row % 2) * 0.05, 0.16 + row * 0.205}, 0.1);
    }
    return w;
}

using ContactsFunction = void (*)(World&, int, double, StepContext&);

// The contacts of one ball as the ball phase runs them, in a step of their
// own.
inline void ContactsOfBall(World& w, int number) {
    StepContext context;
    PrepareStep(w, context);
    BallContacts(w, number, 1e-3, context);
}

// The ball part of the mechanical step without air: field force, contacts,
// velocity integration and position update.
inline void BallStep(World& w, double dt, StepContext& context, ContactsFunction contacts = &BallContacts) {
    w.Params.StepCounter = (w.Params.StepCounter + 1) % 2000000000;
    PrepareStep(w, context);
    const double g = w.Params.Gravity;
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        b.Force = Vec2{0, -g} * ((b.Density - w.Params.AirDensity) * b.Volume);
        b.GravityAccel = b.Force / b.Mass;
        b.Torque = 0;
        contacts(w, n, dt, context);
        if (!b.Movable) continue;
        b.Epsilon = b.Inertia > 0 ? b.Torque / b.Inertia : 0;
        b.Omega += b.Epsilon * dt;
        b.Acceleration = b.Force / b.Mass;
        b.Velocity += b.Acceleration * dt;
    }
    for (int n = 1; n <= w.BallCount; ++n) {
        Ball& b = w.Balls[n];
        if (!b.Exists || !b.Movable) continue;
        b.Phi += b.Omega * dt;
        b.Position += b.Velocity * dt - b.GravityAccel * (0.5 * dt * dt);
        Derive(b);
    }
    w.T += dt;
}

// The same with a context of its own: for scenes without rods, where the
// context only speeds the contacts up.
inline void BallStep(World& w, double dt) {
    StepContext context;
    BallStep(w, dt, context);
}

inline std::unique_ptr<World> RandomScene(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto w = EmptyScene();
    SetPair(*w, 1, 1, uniform(0, 1), uniform(0, 1), uniform(0, 1), uniform(0, 0.02));
    SetPair(*w, 1, 2, uniform(0, 1), uniform(0, 1), uniform(0, 1), uniform(0, 0.02));
    SetPair(*w, 2, 2, uniform(0, 1), uniform(0, 1), uniform(0, 1), uniform(0, 0.02));
    w->Materials.MaterialCount = 2;
    w->Params.RouthMinSpeed = uniform(0.1, 2);
    w->Hands[0].Exists = seed % 2 == 0;
    w->Hands[0].Coord = -4;
    // A box with a support and two walls, and scattered obstacles inside.
    AddScatteredObstacles(*w, random, 6, false);
    for (int k = 0; k < 6; ++k) {
        AddCurve(*w, static_cast<std::uint8_t>(1 + k % 3), {uniform(-2, 2), uniform(-2, 2)}, uniform(-3, 3),
                 uniform(0.2, 1.5), uniform(0.2, 1.5), uniform(-2, 0), uniform(0, 2), uniform(0, 0.05));
    }
    const int balls = 60 + static_cast<int>(seed % 40);
    for (int k = 0; k < balls; ++k) {
        // Mixed sizes, some in another layer, a few frozen, a few huge.
        const double r = k % 17 == 0 ? uniform(0.4, 0.8) : uniform(0.05, 0.15);
        Ball& b = AddBall(*w, {uniform(-2.8, 2.8), uniform(-2.8, 2.8)}, r, 1 + k % 2,
                          {uniform(-3, 3), uniform(-3, 3)});
        b.Omega = uniform(-10, 10);
        b.Z = k % 11 == 0 ? 1 : 0;
        if (k % 29 == 5) b.Movable = false;
        if (k % 23 == 3) b.Exists = false;
    }
    // Two balls on the same centre.
    if (balls > 10) w->Balls[10].Position = w->Balls[9].Position;
    return w;
}

}  // namespace velo::testing
