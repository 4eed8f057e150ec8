// Scene builders and a recording messenger for the tests of the ball forces,
// the mechanical step and the driver.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/ball_forces.h"
#include "model/messages.h"
#include "model/world.h"
#include "model/world_ops.h"

namespace velo::testing {

class RecordingMessenger final : public Messenger {
public:
    struct Entry {
        MessageIcon Icon;
        std::string Text;
    };
    std::vector<Entry> Shown;
    void Show(MessageIcon icon, const std::string& text) override { Shown.push_back({icon, text}); }
    bool AskYesNo(MessageIcon, const std::string&) override { return false; }
};

// A mechanical project without air, with the given gravity.
inline std::unique_ptr<World> StillScene(double gravity = 9.8) {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Params.Gravity = gravity;
    world->Params.AirDensity = 0;
    return world;
}

// A movable steel-like ball, normalised; returns its number.
inline int PlaceBall(World& world, Vec2 position, double radius = 0.1, double density = 7800,
                     Vec2 velocity = {}) {
    const int n = ++world.BallCount;
    Ball& b = world.Balls[n];
    b = Ball{};
    b.Exists = true;
    b.Movable = true;
    b.Shape = ShapeBall;
    b.InertiaFactor = 0.4;
    b.Density = density;
    b.Radius = radius;
    b.Material = 1;
    b.Position = position;
    b.Velocity = velocity;
    RecomputeBall(world, n);
    return n;
}

inline int PlaceLaval(World& world, Vec2 position) {
    const int n = ++world.LavalCount;
    world.Lavals[n] = Laval{position, 0, false, true};
    return n;
}

// FNV-1a over the bit patterns of the values, for golden determinism checks.
class StateHash {
public:
    void Add(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (bits >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ULL;
        }
    }
    void Add(Vec2 v) {
        Add(v.X);
        Add(v.Y);
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

}  // namespace velo::testing
