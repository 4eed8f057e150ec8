#include "engine/geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/portable_math.h"

namespace velo {

Vec2 Rotate(Vec2 v, double angle) {
    double s = 0, c = 0;
    math::SinCos(angle, s, c);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c};
}

Vec2 ToContactFrame(Vec2 v, double frameAngle) { return Rotate(v, -frameAngle); }

Vec2 FromContactFrame(Vec2 v, double frameAngle) { return Rotate(v, frameAngle); }

double OnSegmentTolerance(double fieldScale) { return 2 / fieldScale; }

OnSegmentShortcut DecideOnSegment(double beyond, double lengthSquared, Vec2 a, Vec2 b, Vec2 point,
                                  double tolerance) {
    // Rounding moves the sum |AP| + |PB| - |AB| by a few units in the last
    // place of the coordinates; while those stay far below the tolerance,
    // a point between the ends passes (the sum is then 0 but for rounding)
    // and a point more than twice the tolerance beyond an end fails (the
    // sum exceeds 4 tolerances). Only the points in between need the roots.
    const double scale = std::fabs(a.X) + std::fabs(a.Y) + std::fabs(b.X) + std::fabs(b.Y) + std::fabs(point.X) +
                         std::fabs(point.Y);
    if (!(scale * 1e-12 < tolerance)) return OnSegmentShortcut::Compute;
    if (beyond <= 0) return OnSegmentShortcut::Inside;
    if (beyond * beyond * lengthSquared > 4 * tolerance * tolerance) return OnSegmentShortcut::Outside;
    return OnSegmentShortcut::Compute;
}

SegmentFoot FootOnSegment(Vec2 p, Vec2 a, Vec2 b, double tolerance) {
    SegmentFoot foot;
    OnSegmentShortcut shortcut;
    if (a.X != b.X) {
        const Vec2 ab = b - a;
        const double squared = Dot(ab, ab);
        const double t = Dot(p - a, ab) / squared;
        foot.Point = a + ab * t;
        shortcut = DecideOnSegment(t < 0 ? -t : t - 1, squared, a, b, foot.Point, tolerance);
    } else {
        foot.Point = {a.X, p.Y};
        shortcut = DecideOnSegment(std::max(std::min(a.Y, b.Y) - p.Y, p.Y - std::max(a.Y, b.Y)), 1, a, b, foot.Point,
                                   tolerance);
    }
    if (shortcut != OnSegmentShortcut::Compute) {
        foot.OnSegment = shortcut == OnSegmentShortcut::Inside;
        return foot;
    }
    foot.OnSegment =
        Distance(a, foot.Point) + Distance(foot.Point, b) - Distance(a, b) < tolerance;
    return foot;
}

Vec2 NearestPointOfPolyline(const Vec2* points, int count, bool closed, Vec2 p,
                            double tolerance) {
    Vec2 best = points[0];
    double bestDistance = Distance(best, p);
    auto consider = [&](Vec2 q) {
        const double d = Distance(q, p);
        if (d < bestDistance) {
            best = q;
            bestDistance = d;
        }
    };
    auto considerFoot = [&](Vec2 a, Vec2 b) {
        const SegmentFoot foot = FootOnSegment(p, a, b, tolerance);
        if (foot.OnSegment) consider(foot.Point);
    };
    for (int k = 1; k < count; ++k) {
        consider(points[k]);
        considerFoot(points[k - 1], points[k]);
    }
    // A closed contour is drawn with its closing edge, so balls must meet it.
    if (closed && count >= 3) considerFoot(points[count - 1], points[0]);
    return best;
}

}  // namespace velo
