#include "editing/moving.h"

#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

template <typename Table>
bool Live(const Table& table, int number) {
    return number >= 0 && number < static_cast<int>(table.size()) && table[static_cast<std::size_t>(number)].Exists;
}

}  // namespace

bool ReferencePoint(const World& w, const HitResult& o, Vec2& point) {
    switch (o.Kind) {
    case KindLaval:
        if (!Live(w.Lavals, o.Number)) return false;
        point = w.Lavals[o.Number].Position;
        return true;
    case KindBall:
    case KindCylinder:
        if (!Live(w.Balls, o.Number)) return false;
        point = w.Balls[o.Number].Position;
        return true;
    case KindPeg:
        if (!Live(w.Pegs, o.Number) || w.Pegs[o.Number].HangLaval != 0) return false;
        point = w.Pegs[o.Number].Position;
        return true;
    case KindHand:
        if (!Live(w.Hands, o.Number)) return false;
        point = {w.Hands[o.Number].Bound1, w.Hands[o.Number].Coord};
        return true;
    case KindWall:
        if (!Live(w.Walls, o.Number)) return false;
        point = {w.Walls[o.Number].Coord, w.Walls[o.Number].Bound1};
        return true;
    case KindPlane:
        if (!Live(w.Planes, o.Number)) return false;
        point = w.Planes[o.Number].P1;
        return true;
    case KindSurface:
        if (!Live(w.Surfaces, o.Number) || w.Surfaces[o.Number].Points.empty()) return false;
        point = w.Surfaces[o.Number].Points[0];
        return true;
    case 9:
    case 11:
    case 13:
        if (!Live(w.Surfaces2, o.Number)) return false;
        point = w.Surfaces2[o.Number].Centre;
        return true;
    default:
        return false;
    }
}

Grab GrabObject(const World& w, const HitResult& object, Vec2 pointer) {
    Grab grab;
    Vec2 reference;
    if (!ReferencePoint(w, object, reference)) return grab;
    grab.Object = object;
    // A suspension point follows the pointer itself.
    grab.Offset = object.Kind == KindLaval ? Vec2{} : pointer - reference;
    if (object.Kind == KindHand) grab.Length = w.Hands[object.Number].Bound2 - w.Hands[object.Number].Bound1;
    if (object.Kind == KindWall) grab.Length = w.Walls[object.Number].Bound2 - w.Walls[object.Number].Bound1;
    if (object.Kind == KindPlane) grab.Span = w.Planes[object.Number].P2 - w.Planes[object.Number].P1;
    return grab;
}

void PlaceGrabbed(World& w, const Grab& grab, Vec2 pointer) {
    const int n = grab.Object.Number;
    const Vec2 at = pointer - grab.Offset;
    Vec2 reference;
    if (!ReferencePoint(w, grab.Object, reference)) return;
    const Vec2 displacement = at - reference;
    switch (grab.Object.Kind) {
    case KindLaval: w.Lavals[n].Position = at; break;
    case KindBall:
    case KindCylinder:
        w.Balls[n].Position = at;
        RecomputeBall(w, n);
        break;
    case KindPeg:
        w.Pegs[n].Position = at;
        RecomputeRod(w, n);
        break;
    case KindHand: {
        HandWall& h = w.Hands[n];
        h.Coord = at.Y;
        if (n == 0) {
            w.Params.ZeroLevel = h.Coord;
        } else {
            h.Bound1 = at.X;
            h.Bound2 = h.Bound1 + grab.Length;
        }
        break;
    }
    case KindWall: {
        HandWall& h = w.Walls[n];
        h.Coord = at.X;
        h.Bound1 = at.Y;
        h.Bound2 = h.Bound1 + grab.Length;
        break;
    }
    case KindPlane:
        w.Planes[n].P1 = at;
        w.Planes[n].P2 = at + grab.Span;
        break;
    case KindSurface:
        for (Vec2& p : w.Surfaces[n].Points) p += displacement;
        break;
    default:
        w.Surfaces2[n].Centre = at;
        break;
    }
    // Only a fixed object moved changes what the step's index holds; a body
    // dragged along must not cost a full redraw on every move.
    const int kind = grab.Object.Kind;
    if (kind != KindBall && kind != KindCylinder && kind != KindPeg) MarkFixedSceneChanged(w);
    w.Changed = true;
}

}  // namespace velo
