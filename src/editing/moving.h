// Moving an object with the mouse: what the press remembers and where the
// release puts the object.
#pragma once

#include "editing/hit_test.h"
#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// The object taken, the pointer minus its reference point (model units),
// and its extent, which the move keeps.
struct Grab {
    HitResult Object;
    Vec2 Offset;
    double Length = 0;  // a support's or wall's length
    Vec2 Span;          // an inclined plane's P2 - P1
};

// The reference point of an object: a suspension point's, a body's or a
// free rod's position, a support's left end on its axis, a wall's lower end,
// a plane's P1, a polyline's first vertex, a curve's centre.
bool ReferencePoint(const World& world, const HitResult& object, Vec2& point);

// Takes the object under the pointer; Object.Kind is 0 when it cannot move
// (nothing there, a thread, a rod hung on a point).
Grab GrabObject(const World& world, const HitResult& object, Vec2 pointer);

// Puts the grabbed object at the pointer less the grab offset. Moving the
// ZeroSupport moves the zero level with it and keeps its bounds. Fixed
// objects are marked for the step; bodies and rods are normalised.
void PlaceGrabbed(World& world, const Grab& grab, Vec2 pointer);

}  // namespace velo
