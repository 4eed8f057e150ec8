// The scene with every table full, shared by the benchmarks of drawing and
// of the windows.
#pragma once

#include <cmath>
#include <memory>

#include "model/world.h"
#include "model/world_ops.h"

namespace velo {

// Every table full: 200 suspension points, supports, walls, planes and
// curves, 100 polyline surfaces of 1024 vertices, 400 balls, 200 rods and
// 20 threads of 512 segments, spread over the visible field (10 x 7 units).
inline std::unique_ptr<World> CapacityScene(double surfaceHalfThickness = 0.005) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Materials.Items[1].Colour = Rgb(90, 90, 110);
    for (int n = 1; n <= LavalCapacity; ++n) {
        Laval& laval = world->Lavals[static_cast<std::size_t>(NewObject(*world, KindLaval).Number)];
        laval.Position = {-0.9 + 0.05 * n, 6.0};
        laval.Selected = false;
    }
    for (int n = 1; n <= HandCapacity; ++n) {
        HandWall& hand = world->Hands[static_cast<std::size_t>(NewObject(*world, KindHand).Number)];
        hand = {1, -0.5 + 0.03 * n, -0.9 + 0.04 * n, 0.2 + 0.04 * n, 0.01, false, true};
    }
    for (int n = 1; n <= WallCapacity; ++n) {
        HandWall& wall = world->Walls[static_cast<std::size_t>(NewObject(*world, KindWall).Number)];
        wall = {1, -0.9 + 0.045 * n, -0.2, 0.3 + 0.02 * n, 0.01, false, true};
    }
    for (int n = 1; n <= PlaneCapacity; ++n) {
        Plane& plane = world->Planes[static_cast<std::size_t>(NewObject(*world, KindPlane).Number)];
        plane.P1 = {-0.9 + 0.045 * n, 0.5};
        plane.P2 = {-0.5 + 0.045 * n, 1.0 + 0.01 * n};
        plane.HalfThickness = 0.02;
        plane.Triangular = static_cast<std::uint8_t>(n % 2);
        plane.Selected = false;
    }
    for (int n = 1; n <= SurfaceCapacity; ++n) {
        Surface& surface = world->Surfaces[static_cast<std::size_t>(NewObject(*world, KindSurface).Number)];
        surface.Points.resize(SurfacePointCapacity);
        for (int i = 0; i < SurfacePointCapacity; ++i) {
            const double x = -0.9 + 9.8 * i / (SurfacePointCapacity - 1);
            surface.Points[static_cast<std::size_t>(i)] = {x, 0.05 * n + 0.1 * std::sin(x * 3 + n)};
        }
        surface.PointCount = SurfacePointCapacity;
        surface.Closed = n % 10 == 0;
        surface.HalfThickness = surfaceHalfThickness;
        surface.Selected = false;
    }
    for (int n = 1; n <= Surface2Capacity; ++n) {
        Surface2& curve = world->Surfaces2[static_cast<std::size_t>(NewObject(*world, KindSurface2).Number)];
        curve.SurfaceKind = static_cast<std::uint8_t>(1 + n % 3);
        curve.Centre = {-0.5 + 0.045 * n, 3.0};
        curve.ParamA = 0.2;
        curve.ParamB = 0.3;
        curve.TFrom = -1;
        curve.TTo = 1;
        curve.HalfThickness = 0.005;
        curve.Selected = false;
    }
    for (int n = 1; n <= BallCapacity; ++n) {
        const int kind = n % 4 == 0 ? KindCylinder : KindBall;
        Ball& ball = world->Balls[static_cast<std::size_t>(NewObject(*world, kind).Number)];
        ball.Shape = kind == KindCylinder ? ShapeCylinder : ShapeBall;
        ball.Radius = 0.08;
        ball.Position = {-0.8 + 0.45 * (n % 20), 0.5 + 0.3 * (n / 20)};
        ball.Z = static_cast<std::uint8_t>(n % 7);
        ball.Marked = n % 3 == 0;
        ball.Allow3D = true;
        ball.Selected = false;
    }
    for (int n = 1; n <= PegCapacity; ++n) {
        Peg& peg = world->Pegs[static_cast<std::size_t>(NewObject(*world, KindPeg).Number)];
        peg.End1 = {-0.8 + 0.045 * n, 4.0};
        peg.End2 = {-0.6 + 0.045 * n, 4.8};
        peg.Width = 0.02;
        peg.Z = static_cast<std::uint8_t>(n % 5);
        peg.Selected = false;
    }
    for (int n = 1; n <= ThreadCapacity; ++n) {
        Thread& thread = world->Threads[static_cast<std::size_t>(NewObject(*world, KindThread).Number)];
        thread.SegmentCount = ThreadSegmentCapacity;
        for (int k = 0; k <= ThreadSegmentCapacity; ++k) {
            thread.Points[static_cast<std::size_t>(k)] = {
                -0.5 + 0.45 * n + 0.05 * std::sin(k * 0.1), 6.0 - 5.0 * k / ThreadSegmentCapacity};
        }
        thread.Selected = false;
    }
    return world;
}

}  // namespace velo
