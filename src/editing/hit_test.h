// The object under the pointer: the hit test of the editor's mouse handlers
// and property commands. Qt-free, so that every rule is tested without a
// screen.
#pragma once

#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// Kind codes of the current object (CurrentKind): 1 suspension point,
// 2 support, 3 wall, 4 inclined plane, 5 ball, 6 thread, 7 rod, 8 polyline
// surface, 9/11/13 parabola/hyperbola/ellipse, 10 cylinder, 20 celestial
// body; 0 nothing.
struct HitResult {
    int Kind = KindNone;
    int Number = 0;
    bool Selected = false;

    bool Any() const { return Kind != KindNone; }
    friend bool operator==(const HitResult&, const HitResult&) = default;
};

// The kind code of a second-order curve in a hit result: 7 + 2 x SurfaceKind.
inline int CurveHitKind(const Surface2& curve) { return 7 + 2 * curve.SurfaceKind; }

// The first existing object at `field` (field coordinates, Y up), searching
// in this order: movable objects layer by layer from 255 down to 0 (threads,
// balls and cylinders, rods, each from the highest number down), then
// suspension points, supports (down to the ZeroSupport), walls, inclined
// planes, polyline surfaces and second-order curves, each from the highest
// number down. In a celestial project: the body under the pointer.
HitResult ObjectAt(const World& world, Vec2 field);

}  // namespace velo
