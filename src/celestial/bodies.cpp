#include "celestial/bodies.h"

#include <algorithm>
#include <cmath>

#include "model/portable_math.h"

namespace velo {

void UpdateBodyMass(HBody& body) {
    constexpr double fourPi = 12.56637061435916;
    const double r = body.Radius;
    body.Volume = r * (r * (r * fourPi)) / 3;
    body.Mass = body.Volume * body.Density;
}

namespace {

// The field is 10000 wide and 7000 high: half the width over the distance
// is the tangent of half the horizontal angle.
void DeriveDistance(CelestialParameters& params) {
    params.ObserverDistance = 5000 / math::Tan(params.ViewAngleH / 2);
}

}  // namespace

void SetViewAngleV(CelestialParameters& params, double angle) {
    params.ViewAngleV = angle;
    params.ViewAngleH = 2 * math::Atan(math::Tan(angle / 2) * 10 / 7);
    DeriveDistance(params);
}

void SetViewAngleH(CelestialParameters& params, double angle) {
    params.ViewAngleH = angle;
    params.ViewAngleV = 2 * math::Atan(math::Tan(angle / 2) * 0.7);
    DeriveDistance(params);
}

bool StepViewAngleH(CelestialParameters& params, bool wider) {
    const double angle = params.ViewAngleH + (wider ? 0.01 : -0.01);
    if (!(angle >= 0.1 && angle <= 3)) return false;
    SetViewAngleH(params, angle);
    return true;
}

BodyCircle ProjectBody(const HBody& body, double observerDistance) {
    BodyCircle circle;
    const double r = body.Radius;
    const double z = body.Position.Z;
    if (!(std::fabs(r) < std::fabs(z)) || !body.Exists || !(z < 0)) return circle;
    const double d = observerDistance;
    double apparent = d * r / std::sqrt(z * z - r * r);
    if (apparent < 20) apparent = 20;
    circle.Visible = true;
    circle.Left = d * body.Position.X / std::fabs(z) - apparent;
    circle.Top = d * body.Position.Y / std::fabs(z) + apparent;
    circle.Diameter = 2 * apparent;
    return circle;
}

std::vector<int> BodyStackOrder(const World& world) {
    const int last = std::clamp(world.HBodyCount, 0, HBodyCapacity);
    std::vector<int> fixed;
    std::vector<int> restacked;
    for (int n = 0; n <= last; ++n) {
        const double z = world.HBodies[static_cast<std::size_t>(n)].Position.Z;
        (z < 1e80 ? restacked : fixed).push_back(n);
    }
    std::stable_sort(restacked.begin(), restacked.end(), [&](int a, int b) {
        return world.HBodies[static_cast<std::size_t>(a)].Position.Z < world.HBodies[static_cast<std::size_t>(b)].Position.Z;
    });
    fixed.insert(fixed.end(), restacked.begin(), restacked.end());
    return fixed;
}

}  // namespace velo
