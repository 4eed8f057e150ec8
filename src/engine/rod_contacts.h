// Where a rod touches a fixed obstacle: the contact point, the contact
// distance, the angle of the contact frame and the normal, for suspension
// points, supports, walls, inclined planes and polyline surfaces.
#pragma once

#include "engine/geometry.h"
#include "engine/obstacle_index.h"
#include "model/world.h"

namespace velo {

// The rod as its contact tests see it: the segment End1-End2, its unit
// direction and the tolerances of the World's current view.
struct RodSegment {
    Vec2 End1;
    Vec2 End2;
    Vec2 Direction;       // unit(End2 - End1); zero for a rod of no length
    double HalfWidth = 0;
    double FootTolerance = 0;  // 2 / FieldScale: one field point beyond an end
    // A tenth of a screen pixel in length units: how far off an edge the
    // point met by a perpendicular through a rod end may lie, and how close
    // two candidate distances must be to count as the same.
    double LineTolerance = 0;
    BoundingBox Box;  // of the segment
};
RodSegment MakeRodSegment(const World& world, const Peg& rod);

// The best approach of a rod to one obstacle found so far.
struct RodContact {
    double Distance = 1e80;
    Vec2 Point;      // contact point Q, on the obstacle
    Vec2 Direction;  // its contact frame: rotating by -angle(Direction) brings the normal onto y
    bool Any = false;
    bool Crossing = false;  // the rod crosses the edge: Q lies on the rod's axis
    bool FromEdge = false;  // found by the edge test; EdgeA-EdgeB is the edge
    Vec2 EdgeA;
    Vec2 EdgeB;
    double Angle() const;  // polar angle of Direction
};

// Closest approach of the rod to edge A-B; replaces `best` when nearer. The
// candidates are taken in this order, each when strictly nearer: the foot of
// A on the rod (point A), the foot of B (point B), the point where the
// perpendicular to the rod through End1 meets the edge, the same through
// End2, and an intersection of rod and edge (distance 1e-80). A corner
// touching the rod's side takes the rod's direction as its frame; an edge
// touched by a rod end or crossed by the rod takes the edge's direction.
// When several candidates of the edge share the best distance (a rod lying
// flat along the edge), the contact point is the middle of the touching
// stretch, so that a flat rod is struck without being set spinning.
void RodEdgeTest(const RodSegment& rod, Vec2 a, Vec2 b, RodContact& best);

// Intersection of segments p1-p2 and p3-p4 as the rod edge test needs it:
// the two lines are intersected (vertical lines handled separately, parallel
// lines never meet) and the point counts when it lies within 1e-10 of both
// segments in each coordinate.
bool IntersectSegments(Vec2 p1, Vec2 p2, Vec2 p3, Vec2 p4, Vec2& point);

// Contact tests of one obstacle; a contact exists when the result's Any is
// set and its Distance is within reach (checked by the caller through
// RodTouches).
RodContact RodLavalContact(const RodSegment& rod, const Laval& laval);
RodContact RodHandContact(const RodSegment& rod, const HandWall& hand);
RodContact RodWallContact(const RodSegment& rod, const HandWall& wall);
RodContact RodPlaneContact(const RodSegment& rod, const Plane& plane);
RodContact RodSurfaceContact(const RodSegment& rod, const Surface& surface,
                             const BoundingBox& surfaceBox);

// The same over the chunks of the surface's walk that the contact index
// keeps: chunks out of reach are skipped, the edges of the others are
// tested in the order of the walk, so the result is that of the whole walk.
RodContact RodSurfaceContactInChunks(const RodSegment& rod, const Surface& surface,
                                     const PolylineChunk* chunks, int chunkCount);

// How far the obstacle boxes may lie from the rod's segment box and still
// hold something the rod touches.
double RodSearchReach(const RodSegment& rod);

// Bounding box of a polyline surface's vertices.
BoundingBox SurfaceBox(const Surface& surface);

// Where the perpendicular to the rod through `end` meets edge a-b, if that
// point lies on the edge within the line tolerance.
bool PerpendicularMeetsEdge(const RodSegment& rod, Vec2 end, Vec2 a, Vec2 b, Vec2& point);

// Unit normal of the contact frame pointing from the obstacle towards the
// rod (towards the rod's axis, or its middle when Q lies on the axis).
Vec2 ContactNormal(const RodSegment& rod, const RodContact& contact);

}  // namespace velo
