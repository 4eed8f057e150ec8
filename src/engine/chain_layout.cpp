#include "engine/chain_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/geometry.h"
#include "model/portable_math.h"

namespace velo {
namespace {

void LayOutStraight(Vec2 first, Vec2 second, int n, Vec2* points) {
    for (int k = 1; k < n; ++k) points[k] = first + (second - first) * (static_cast<double>(k) / n);
}

// sinh(u) / u, by its series where the quotient would lose its digits.
double SinhOverU(double u) {
    if (std::fabs(u) < 1e-4) return 1 + u * u / 6 * (1 + u * u / 20);
    return math::Sinh(u) / u;
}

// Root x = e^u of x^2 - G x ln x - 1 = 0, that is sinh(u) / u = G / 2, with
// u > 0 for a chain hanging down and u < 0 for one hanging up. The bracket is
// the one of x from 1.0000000001 to 10^10 (below 1 for an upward chain),
// halved in u until it cannot shrink any further: in x the function is a
// difference of nearly equal numbers for a chain that barely sags, and its
// sign there is rounding noise.
double ChainExponent(double g, double gravity) {
    const double target = g / 2;
    double low = math::Log(1.0000000001);
    double high = math::Log(1e10);
    if (SinhOverU(high) <= target) return gravity >= 0 ? high : -high;
    for (int i = 0; i < 200; ++i) {
        const double middle = (low + high) / 2;
        if (middle <= low || middle >= high) break;
        if (SinhOverU(middle) < target) low = middle;
        else high = middle;
    }
    const double u = (low + high) / 2;
    return gravity >= 0 ? u : -u;
}

}  // namespace

int ThreadSegmentCountFor(double length, double fieldScale) {
    const double perField = length * fieldScale / 100;
    int count = 10;
    if (perField > 10) count = perField >= ThreadSegmentCapacity ? ThreadSegmentCapacity : static_cast<int>(perField);
    return count;
}

void LayOutHangingChain(Vec2 first, Vec2 second, double length, int n, double gravity, Vec2* points) {
    if (n < 1) return;
    points[0] = first;
    points[n] = second;
    const double chord = Distance(first, second);
    if (!(length > chord * (1 + 1e-12)) || first.X == second.X || !std::isfinite(length)) {
        LayOutStraight(first, second, n, points);
        return;
    }
    // The march runs towards +x from the second end; a first end to the left
    // is laid out in the mirror image and mirrored back.
    const bool mirrored = first.X < second.X;
    const double x1 = mirrored ? -first.X : first.X;
    const double x2 = mirrored ? -second.X : second.X;
    const double y1 = first.Y;
    const double y2 = second.Y;
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const double slope = math::Atanh(dy / length);
    const double g = 2 * (length + dy) / (dx * math::Exp(slope));
    const double u = ChainExponent(g, gravity);
    if (!(u != 0) || !std::isfinite(u)) {
        LayOutStraight(first, second, n, points);
        return;
    }
    const double a = (dx / 2) / u;
    const double x0 = (x1 + x2) / 2 - a * slope;
    const double step = length / (n * a);
    const double base = math::Cosh((x2 - x0) / a);
    double x = x2;
    for (int j = 1; j < n; ++j) {
        x = x0 + a * math::Asinh(math::Sinh((x - x0) / a) + step);
        const double y = y2 + a * (math::Cosh((x - x0) / a) - base);
        points[n - j] = {mirrored ? -x : x, y};
    }
}

void SetThreadSegments(Thread& thread) {
    const int n = std::clamp(thread.SegmentCount, 0, ThreadSegmentCapacity);
    double total = 0;
    for (int k = 1; k <= n; ++k) {
        const Vec2 d = thread.Points[k] - thread.Points[k - 1];
        thread.SegmentLength[k] = Magnitude(d);
        thread.SegmentPhi[k] = PolarAngle(d);
        thread.SegmentOmega[k] = 0;
        thread.SegmentEpsilon[k] = 0;
        total += thread.SegmentLength[k];
    }
    for (int k = 0; k <= n; ++k) thread.SegmentForce[k] = {0, 0};
    thread.Length = total;
}

int NearestLaval(const World& world, Vec2 point) {
    int chosen = 0;
    double best = 1e80;
    for (int k = 1; k <= world.LavalCount; ++k) {
        if (!world.Lavals[k].Exists) continue;
        const double d = Distance(world.Lavals[k].Position, point);
        if (d < best) {
            best = d;
            chosen = k;
        }
    }
    return chosen;
}

NewObjectResult CreateThread(World& world, int laval, Vec2 freeEnd, double length) {
    NewObjectResult result = NewObject(world, KindThread);
    if (!result.Ok()) return result;
    if (laval < 1 || laval > world.LavalCount || !world.Lavals[laval].Exists)
        laval = NearestLaval(world, freeEnd);
    Thread& thread = world.Threads[result.Number];
    const Vec2 top = world.Lavals[laval].Position;
    thread.FirstEndLaval = laval;
    thread.SecondEndBinding = 0;
    const double straight = Distance(top, freeEnd);
    thread.Length = std::isfinite(length) && length > straight ? length : straight;
    thread.SegmentCount = ThreadSegmentCountFor(thread.Length, world.Params.FieldScale);
    if (freeEnd.X == top.X) freeEnd.X += world.PointsPerPixel / world.Params.FieldScale / 10;
    LayOutHangingChain(top, freeEnd, thread.Length, thread.SegmentCount, world.Params.Gravity,
                       thread.Points.data());
    SetThreadSegments(thread);
    const Material& material = world.Materials.Items[thread.Material < MaterialSlots ? thread.Material : 0];
    thread.LinearDensity = material.Density * (std::numbers::pi / 4 * ThreadDiameter * ThreadDiameter);
    thread.Selected = true;
    thread.Exists = true;
    return result;
}

}  // namespace velo
