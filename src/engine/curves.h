// Second-order curves (parabola, hyperbola, ellipse arcs of a Surface2):
// their points, the real roots of a cubic, and the nearest point of an arc.
#pragma once

#include "engine/geometry.h"
#include "model/world.h"

namespace velo {

// Real roots of c3 t^3 + c2 t^2 + c1 t + c0 = 0 in increasing order: the
// quadratic (or linear) equation when c3 = 0, otherwise Cardano's method on
// the depressed cubic with the trigonometric form for three real roots.
// Returns the number of roots written to `roots` (0..3).
int RealRootsOfCubic(double c3, double c2, double c1, double c0, double roots[3]);

// Point of the curve in its own frame at parameter t: parabola (a t^2, b t),
// hyperbola (a cosh t, b sinh t), ellipse (a cos t, b sin t).
Vec2 CurveLocalPoint(const Surface2& curve, double t);

// The same point turned by Rotation and moved to Centre.
Vec2 CurvePoint(const Surface2& curve, double t);

// A world point in the curve's own frame.
Vec2 ToCurveFrame(const Surface2& curve, Vec2 p);

// Nearest point to p of the arc TFrom..TTo. Candidates: the points at TFrom
// and TTo (the second only when strictly nearer), then the feet of the
// normals from p inside the range, each only when strictly nearer. For the
// parabola the feet are the real roots of 2a^2 t^3 + (b^2 - 2a u) t - b v;
// the hyperbola and the ellipse have their own foot condition, whose roots
// are bracketed on a fine subdivision of the range and then bisected.
Vec2 NearestPointOfCurve(const Surface2& curve, Vec2 p);

// Box around the whole arc (exact extremes of the arc, turned and moved),
// without the thickness.
BoundingBox CurveBounds(const Surface2& curve);

}  // namespace velo
