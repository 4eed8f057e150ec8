#include "engine/curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/portable_math.h"

namespace velo {
namespace {

constexpr double pi = std::numbers::pi;

int RealRootsOfQuadratic(double c2, double c1, double c0, double roots[3]) {
    if (c2 == 0) {
        if (c1 == 0) return 0;
        roots[0] = -c0 / c1;
        return 1;
    }
    const double discriminant = c1 * c1 - 4 * c2 * c0;
    if (discriminant < 0) return 0;
    if (discriminant == 0) {
        roots[0] = -c1 / (2 * c2);
        return 1;
    }
    const double root = std::sqrt(discriminant);
    roots[0] = (-c1 - root) / (2 * c2);
    roots[1] = (-c1 + root) / (2 * c2);
    if (roots[0] > roots[1]) std::swap(roots[0], roots[1]);
    return 2;
}

// Half the derivative of the squared distance from the local point (u, v) to
// the curve point at t; zero at the feet of the normals from (u, v).
double FootCondition(const Surface2& curve, double u, double v, double t) {
    const double a = curve.ParamA;
    const double b = curve.ParamB;
    if (curve.SurfaceKind == Hyperbola) {
        const double sh = math::Sinh(t);
        const double ch = math::Cosh(t);
        return (a * ch - u) * a * sh + (b * sh - v) * b * ch;
    }
    const double s = math::Sin(t);
    const double c = math::Cos(t);
    return -(a * c - u) * a * s + (b * s - v) * b * c;
}

// Feet of the normals on a hyperbola or ellipse arc, in increasing t. The
// condition is sampled on a subdivision fine enough that two feet lie in one
// interval only where they nearly merge (close to the evolute), where either
// one is as near as the other; each sign change is bisected to the last bit.
int CurveFeet(const Surface2& curve, double u, double v, double from, double to, double* feet,
              int capacity) {
    if (curve.SurfaceKind == Ellipse && to - from > 2 * pi) to = from + 2 * pi;
    if (curve.SurfaceKind == Hyperbola) {
        // Beyond |t| = 700 the hyperbola's points overflow.
        from = std::max(from, -700.0);
        to = std::min(to, 700.0);
    }
    if (!(to >= from)) return 0;
    const int intervals = static_cast<int>(std::clamp(std::ceil((to - from) / (pi / 64)), 32.0, 1024.0));
    int found = 0;
    double previousT = from;
    double previousG = FootCondition(curve, u, v, from);
    if (previousG == 0 && found < capacity) feet[found++] = from;
    for (int k = 1; k <= intervals && found < capacity; ++k) {
        const double t = k == intervals ? to : from + (to - from) * k / intervals;
        const double g = FootCondition(curve, u, v, t);
        if (g == 0) {
            feet[found++] = t;
        } else if ((previousG < 0 && g > 0) || (previousG > 0 && g < 0)) {
            double low = previousT;
            double high = t;
            const bool lowNegative = previousG < 0;
            for (int iteration = 0; iteration < 200; ++iteration) {
                const double middle = low + (high - low) / 2;
                if (middle <= low || middle >= high) break;
                const double gm = FootCondition(curve, u, v, middle);
                if (gm == 0) {
                    low = high = middle;
                    break;
                }
                if ((gm < 0) == lowNegative) low = middle;
                else high = middle;
            }
            feet[found++] = low + (high - low) / 2;
        }
        previousT = t;
        previousG = g;
    }
    return found;
}

}  // namespace

int RealRootsOfCubic(double c3, double c2, double c1, double c0, double roots[3]) {
    if (c3 == 0) return RealRootsOfQuadratic(c2, c1, c0, roots);
    const double a = c2 / c3;
    const double b = c1 / c3;
    const double c = c0 / c3;
    // t = y - a/3 gives y^3 + p y + q = 0.
    const double p = b - a * a / 3;
    const double q = 2 * a * a * a / 27 - a * b / 3 + c;
    const double shift = a / 3;
    const double discriminant = q * q / 4 + p * p * p / 27;
    int count = 0;
    if (discriminant > 0) {
        const double root = std::sqrt(discriminant);
        roots[count++] = math::Cbrt(-q / 2 + root) + math::Cbrt(-q / 2 - root) - shift;
    } else if (discriminant == 0) {
        if (p == 0) {
            roots[count++] = -shift;
        } else {
            roots[count++] = 3 * q / p - shift;
            roots[count++] = -3 * q / (2 * p) - shift;
        }
    } else {
        // Three real roots (p < 0 here).
        const double m = 2 * std::sqrt(-p / 3);
        const double cosine = std::clamp(3 * q / (2 * p) * std::sqrt(-3 / p), -1.0, 1.0);
        const double phi = math::Acos(cosine) / 3;
        for (int k = 0; k < 3; ++k) roots[count++] = m * math::Cos(phi - 2 * pi * k / 3) - shift;
    }
    std::sort(roots, roots + count);
    return count;
}

Vec2 CurveLocalPoint(const Surface2& curve, double t) {
    const double a = curve.ParamA;
    const double b = curve.ParamB;
    switch (curve.SurfaceKind) {
        case Parabola: return {a * t * t, b * t};
        case Hyperbola: return {a * math::Cosh(t), b * math::Sinh(t)};
        default: return {a * math::Cos(t), b * math::Sin(t)};
    }
}

Vec2 CurvePoint(const Surface2& curve, double t) {
    return Rotate(CurveLocalPoint(curve, t), curve.Rotation) + curve.Centre;
}

Vec2 ToCurveFrame(const Surface2& curve, Vec2 p) { return Rotate(p - curve.Centre, -curve.Rotation); }

Vec2 NearestPointOfCurve(const Surface2& curve, Vec2 p) {
    Vec2 best = CurvePoint(curve, curve.TFrom);
    double bestDistance = Distance(best, p);
    auto consider = [&](double t) {
        const Vec2 q = CurvePoint(curve, t);
        const double d = Distance(q, p);
        if (d < bestDistance) {
            best = q;
            bestDistance = d;
        }
    };
    consider(curve.TTo);
    const Vec2 local = ToCurveFrame(curve, p);
    const double from = std::min(curve.TFrom, curve.TTo);
    const double to = std::max(curve.TFrom, curve.TTo);
    if (curve.SurfaceKind == Parabola) {
        const double a = curve.ParamA;
        const double b = curve.ParamB;
        double roots[3];
        const int count = RealRootsOfCubic(2 * a * a, 0, b * b - 2 * a * local.X, -b * local.Y, roots);
        for (int k = 0; k < count; ++k) {
            if (from <= roots[k] && roots[k] <= to) consider(roots[k]);
        }
    } else {
        constexpr int capacity = 16;
        double feet[capacity];
        const int count = CurveFeet(curve, local.X, local.Y, from, to, feet, capacity);
        for (int k = 0; k < count; ++k) consider(feet[k]);
    }
    return best;
}

BoundingBox CurveBounds(const Surface2& curve) {
    const double from = std::min(curve.TFrom, curve.TTo);
    const double to = std::max(curve.TFrom, curve.TTo);
    BoundingBox local;
    local.Add(CurveLocalPoint(curve, from));
    local.Add(CurveLocalPoint(curve, to));
    const double a = curve.ParamA;
    const double b = curve.ParamB;
    if (curve.SurfaceKind == Parabola || curve.SurfaceKind == Hyperbola) {
        // u has its extreme at t = 0, v is monotone.
        if (from <= 0 && 0 <= to) local.Add(CurveLocalPoint(curve, 0));
    } else if (to - from >= 2 * pi) {
        local.Add({std::fabs(a), std::fabs(b)});
        local.Add({-std::fabs(a), -std::fabs(b)});
    } else {
        // Extremes of cos and sin at the multiples of pi/2 inside the range.
        for (double k = std::ceil(from / (pi / 2)); k * (pi / 2) <= to; k += 1) {
            const int quarter = static_cast<int>(std::fmod(std::fmod(k, 4) + 4, 4));
            const Vec2 extremes[4] = {{a, 0}, {0, b}, {-a, 0}, {0, -b}};
            const Vec2 e = extremes[quarter];
            // Only the component that reaches its extreme there counts.
            local.Add({quarter % 2 == 0 ? e.X : local.Min.X, quarter % 2 == 1 ? e.Y : local.Min.Y});
        }
    }
    BoundingBox world;
    for (Vec2 corner : {local.Min, local.Max, Vec2{local.Min.X, local.Max.Y}, Vec2{local.Max.X, local.Min.Y}}) {
        world.Add(Rotate(corner, curve.Rotation) + curve.Centre);
    }
    return world;
}

}  // namespace velo
