// Vector and geometry helpers of the contact code: angles and the contact
// frame, unit vectors, the foot of a perpendicular on a segment and the
// nearest point of a polyline. Shared by the ball and rod contacts and by
// the editor's hit test.
#pragma once

#include <cmath>
#include <numbers>

#include "model/portable_math.h"
#include "model/vec2.h"

namespace velo {

// Length of a vector and distance between two points (sqrt of the sum of
// squares, so that every caller gets the same rounding).
inline double Magnitude(Vec2 v) { return std::sqrt(v.X * v.X + v.Y * v.Y); }
inline double Distance(Vec2 a, Vec2 b) { return Magnitude(a - b); }

// v / |v|; the zero vector stays zero.
inline Vec2 UnitVector(Vec2 v) {
    const double length = Magnitude(v);
    if (length == 0) return {0, 0};
    return v / length;
}

// v turned by +90 degrees: (-y, x).
inline Vec2 Perpendicular(Vec2 v) { return {-v.Y, v.X}; }

// -1, 0 or +1.
inline double Sign(double x) {
    if (x > 0) return 1;
    if (x < 0) return -1;
    return 0;
}

// Axis-aligned box; an empty box has Min > Max.
struct BoundingBox {
    Vec2 Min{1e308, 1e308};
    Vec2 Max{-1e308, -1e308};
    // Grows the box to take p; a coordinate that is not a number is ignored.
    void Add(Vec2 p) {
        if (p.X < Min.X) Min.X = p.X;
        if (p.Y < Min.Y) Min.Y = p.Y;
        if (p.X > Max.X) Max.X = p.X;
        if (p.Y > Max.Y) Max.Y = p.Y;
    }
};

// Polar angle in [0, 2*pi): for x != 0 the arctangent of y/x moved into the
// right quadrant; for x = 0, pi/2 when y >= 0 and 3*pi/2 when y < 0 (so the
// zero vector gives pi/2).
inline double PolarAngle(Vec2 v) {
    constexpr double pi = std::numbers::pi;
    if (v.X == 0) return v.Y >= 0 ? pi / 2 : 3 * pi / 2;
    // Along the x axis the arctangent is that of a zero, +0 or -0 (as the
    // quotient gives it): the edges of supports and walls need none taken.
    if (v.Y == 0 && v.X > 0) return v.Y;
    if (v.Y == 0 && v.X < 0) return pi;
    const double angle = math::Atan(v.Y / v.X);
    if (v.X < 0) return angle + pi;
    if (angle < 0) return angle + 2 * pi;
    return angle;
}

// Rotation by `angle`: (x cos a - y sin a, x sin a + y cos a).
Vec2 Rotate(Vec2 v, double angle);

// The contact frame of a contact arm with polar angle theta is the world
// turned by -(pi/2 + theta): the arm then points along -y, y is the normal
// component (negative = towards the obstacle) and x the tangential one.
inline double ContactFrameAngle(Vec2 arm) { return std::numbers::pi / 2 + PolarAngle(arm); }  // pi/2 + theta
Vec2 ToContactFrame(Vec2 v, double frameAngle);
Vec2 FromContactFrame(Vec2 v, double frameAngle);

// The cosine and sine of a frame angle, taken once for the several vectors
// a contact turns. Turning with them gives the same bits as turning by the
// angle itself: cos(-a) = cos(a) and sin(-a) = -sin(a) exactly, and the sums
// are the same sums in another order of their operands.
struct FrameTurn {
    double Cos = 1;
    double Sin = 0;
};
// The angles of the axes come up at every contact with a support or a wall;
// their cosines and sines are the library's, to the last bit.
inline FrameTurn TurnOf(double frameAngle) {
    constexpr double pi = std::numbers::pi;
    if (frameAngle == 0) return {1, frameAngle};
    if (frameAngle == pi / 2) return {6.123233995736766e-17, 1};
    if (frameAngle == pi) return {-1, 1.2246467991473532e-16};
    if (frameAngle == pi / 2 + pi) return {-1.8369701987210297e-16, -1};
    FrameTurn turn;
    math::SinCos(frameAngle, turn.Sin, turn.Cos);
    return turn;
}

// The turn of the contact frame of a direction n = (cos theta, sin theta):
// the frame angle pi/2 + theta has the cosine -ny and the sine nx, and no
// angle need be taken. Along the axes, where the arms of supports and walls
// lie, the turn is the one the polar angle gives, to the last bit: cos(2 pi)
// and its kin are not exactly 0 and 1 in floating point, and the rolling
// resistance takes the sign of the tiny turning that leaves.
inline FrameTurn TurnOfDirection(Vec2 n) {
    if (n.X == 0) return n.Y < 0 ? FrameTurn{1, -2.4492935982947064e-16} : FrameTurn{-1, 1.2246467991473532e-16};
    if (n.Y == 0) return n.X > 0 ? FrameTurn{6.123233995736766e-17, 1} : FrameTurn{-1.8369701987210297e-16, -1};
    return {-n.Y, n.X};
}

// The turn of the contact frame of an arm, through its direction. The zero
// arm has the frame of theta = pi/2; an arm that is not finite goes the
// written way, through its polar angle.
inline FrameTurn TurnOfArm(Vec2 arm) {
    const double length = Magnitude(arm);
    if (length == 0) return TurnOfDirection({0, 1});
    if (!(length <= 1.7976931348623157e308)) return TurnOf(ContactFrameAngle(arm));
    return TurnOfDirection(arm / length);
}
inline Vec2 ToContactFrame(Vec2 v, FrameTurn t) { return {v.X * t.Cos + v.Y * t.Sin, v.Y * t.Cos - v.X * t.Sin}; }
inline Vec2 FromContactFrame(Vec2 v, FrameTurn t) { return {v.X * t.Cos - v.Y * t.Sin, v.X * t.Sin + v.Y * t.Cos}; }

// The foot tolerance of the ball contacts and the editor: one field point
// beyond either end still counts as on the segment.
double OnSegmentTolerance(double fieldScale);  // 2 / fieldScale

// Foot of the perpendicular from p on segment a-b. For a and b of different
// x the orthogonal projection of p on the line ab; for equal x the point
// (a.x, p.y). OnSegment: |AF| + |FB| - |AB| < tolerance.
struct SegmentFoot {
    Vec2 Point;
    bool OnSegment = false;
};
SegmentFoot FootOnSegment(Vec2 p, Vec2 a, Vec2 b, double tolerance);

// The on-segment test |AP| + |PB| - |AB| < tolerance for a point P of the
// line a-b, decided without its roots where rounding cannot matter: Inside
// for P between the ends (`beyond` <= 0), Outside for P clearly beyond an end
// (`beyond` * sqrt(lengthSquared) is how far), Compute otherwise.
enum class OnSegmentShortcut { Inside, Outside, Compute };
OnSegmentShortcut DecideOnSegment(double beyond, double lengthSquared, Vec2 a, Vec2 b, Vec2 point,
                                  double tolerance);

// Nearest point to p of the polyline points[0..count-1]: start with the
// first vertex; for each k = 1..count-1 vertex k replaces the best when
// strictly nearer, then the foot on segment k-1..k when on the segment and
// strictly nearer. A closed polyline also walks its closing edge from the
// last vertex back to the first. count must be at least 1.
Vec2 NearestPointOfPolyline(const Vec2* points, int count, bool closed, Vec2 p,
                            double tolerance);

}  // namespace velo
