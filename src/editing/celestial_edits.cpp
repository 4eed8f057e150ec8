#include "editing/celestial_edits.h"

#include <algorithm>
#include <cmath>

#include "celestial/bodies.h"
#include "engine/geometry.h"

namespace velo {

int CreateCelestialBody(World& w, Vec2 field, double pointsPerPixel, const UniformSource& uniform) {
    if (w.HBodyCount >= HBodyCapacity || w.HBodyCount < 0) return 0;
    const int n = ++w.HBodyCount;
    const double d = w.Celestial.ObserverDistance;
    HBody& b = w.HBodies[n];
    b = HBody{};
    b.DensityFormula = "1000";
    b.Density = 1000;
    b.Position = {1e9 * field.X / d, 1e9 * field.Y / d, -1e9};
    b.Radius = 1e9 * 8.5 * pointsPerPixel / d;
    b.Velocity = {(2 * uniform() - 1) * 10000, (2 * uniform() - 1) * 10000, (2 * uniform() - 1) * 10000};
    int channels[3];
    for (int& c : channels) c = std::min(255, static_cast<int>(std::lround(128 + 128 * uniform())));
    b.Colour = channels[0] + 256 * channels[1] + 65536 * channels[2];
    b.Movable = true;
    b.Selected = true;
    b.Exists = true;
    UpdateBodyMass(b);
    w.CurrentKind = KindHBody;
    w.CurrentNumber = n;
    w.Changed = true;
    return n;
}

HitResult BodyAt(const World& w, Vec2 field) {
    HitResult best;
    double bestZ = 0;
    for (int n = 1; n <= std::min(w.HBodyCount, HBodyCapacity); ++n) {
        const HBody& b = w.HBodies[n];
        if (!b.Exists) continue;
        const BodyCircle circle = ProjectBody(b, w.Celestial.ObserverDistance);
        if (!circle.Visible) continue;
        const double r = circle.Diameter / 2;
        const Vec2 centre{circle.Left + r, circle.Top - r};
        if (Distance(centre, field) > r) continue;
        // Of equal depth the higher number is drawn on top.
        if (!best.Any() || b.Position.Z >= bestZ) {
            best = {KindHBody, n, b.Selected};
            bestZ = b.Position.Z;
        }
    }
    return best;
}

void ImportCelestialScene(World& world, const World& scene) {
    // Slot 0 belongs to a property window, not to the scene.
    std::copy(scene.HBodies.begin() + 1, scene.HBodies.end(), world.HBodies.begin() + 1);
    world.HBodyCount = std::clamp(scene.HBodyCount, 0, HBodyCapacity);
    world.Celestial = scene.Celestial;
    world.T = scene.T;
    world.CurrentKind = KindNone;
    world.CurrentNumber = 0;
    world.Changed = true;
}

std::string BodyDisplayName(const HBody& body, int number, const std::string& fallback) {
    std::u16string name(body.Name.begin(), body.Name.end());
    const auto first = name.find_first_not_of(u' ');
    std::string text;
    if (first != std::u16string::npos) {
        const auto last = name.find_last_not_of(u' ');
        for (char16_t c : name.substr(first, last - first + 1)) {
            // UTF-8 of the basic plane.
            if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c < 0x800) {
                text += static_cast<char>(0xC0 | (c >> 6));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                text += static_cast<char>(0xE0 | (c >> 12));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
    }
    return text.empty() ? fallback + " " + std::to_string(number) : text;
}

}  // namespace velo
