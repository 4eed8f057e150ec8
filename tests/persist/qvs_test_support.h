// Helpers of the simulation file tests: a messenger that records what it
// was told, random valid Worlds, and little-endian access to file bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/messages.h"
#include "model/world.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"

namespace velo::test {

class RecordingMessenger final : public Messenger {
public:
    explicit RecordingMessenger(bool answer = true) : answer_(answer) {}
    void Show(MessageIcon icon, const std::string& text) override { shown.emplace_back(icon, text); }
    bool AskYesNo(MessageIcon icon, const std::string& text) override {
        asked.emplace_back(icon, text);
        return answer_;
    }
    std::vector<std::pair<MessageIcon, std::string>> shown;
    std::vector<std::pair<MessageIcon, std::string>> asked;

private:
    bool answer_;
};

// The caller's side of the version question: decode, ask through the
// messenger when the file wants a confirmation, decode again with the answer.
inline QvsOpenResult DecodeAsking(World& world, const std::vector<std::uint8_t>& bytes, Messenger& messenger) {
    const QvsOpenResult first = DecodeQvs(world, bytes, messenger);
    if (first.Class != QvsFileClass::ConfirmationNeeded) return first;
    QvsReadOptions options;
    options.OpenNewerFile = messenger.AskYesNo(MessageIcon::Warning, first.Question);
    return DecodeQvs(world, bytes, messenger, options);
}

inline std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | b.at(at + static_cast<std::size_t>(k));
    return static_cast<std::int32_t>(v);
}
inline std::int16_t I16At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8)));
}
inline double F64At(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint64_t v = 0;
    for (int k = 7; k >= 0; --k) v = (v << 8) | b.at(at + static_cast<std::size_t>(k));
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}
inline void PutI32At(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int k = 0; k < 4; ++k) b.at(at + static_cast<std::size_t>(k)) = static_cast<std::uint8_t>(v >> (8 * k));
}

// Offsets of the parts of a file this program wrote.
struct FileMap {
    std::size_t Section2 = 0;  // offset of L2
    std::size_t Section3 = 0;  // offset of K
    int K = 0;
    std::vector<std::int32_t> Counts;  // index 1..K
    std::vector<std::int32_t> Sizes;
    // Start of the records of kind k (index 1..K); index K+1 is the
    // offset of Lb.
    std::vector<std::size_t> KindStart;
};

inline FileMap MapFile(const std::vector<std::uint8_t>& b) {
    FileMap m;
    m.Section2 = 132 + static_cast<std::size_t>(I32At(b, 128));
    m.Section3 = m.Section2 + 4 + static_cast<std::size_t>(I32At(b, m.Section2));
    m.K = b.at(m.Section3);
    m.Counts.assign(static_cast<std::size_t>(m.K) + 1, 0);
    m.Sizes.assign(static_cast<std::size_t>(m.K) + 1, 0);
    for (int k = 1; k <= m.K; ++k) {
        m.Counts[k] = I32At(b, m.Section3 + 1 + 4 * static_cast<std::size_t>(k - 1));
        m.Sizes[k] = I32At(b, m.Section3 + 1 + 4 * static_cast<std::size_t>(m.K + k - 1));
    }
    std::size_t at = m.Section3 + 1 + 8 * static_cast<std::size_t>(m.K);
    m.KindStart.assign(static_cast<std::size_t>(m.K) + 2, 0);
    for (int k = 1; k <= m.K; ++k) {
        m.KindStart[k] = at;
        const int records = k == KindHand ? m.Counts[k] + 1 : m.Counts[k];
        for (int r = 0; r < records; ++r) {
            std::size_t size = static_cast<std::size_t>(m.Sizes[k]);
            if (k == KindSurface) size += 16 * static_cast<std::size_t>(I32At(b, at + 3));
            at += size;
        }
    }
    m.KindStart[static_cast<std::size_t>(m.K) + 1] = at;
    return m;
}

// "kind 5 record 2 offset 59" for a byte offset of a file, for messages.
inline std::string DescribeOffset(const std::vector<std::uint8_t>& b, std::size_t offset) {
    const FileMap m = MapFile(b);
    if (offset < m.Section3) return "offset " + std::to_string(offset) + " before the object section";
    for (int k = 1; k <= m.K; ++k) {
        std::size_t at = m.KindStart[k];
        const int records = k == KindHand ? m.Counts[k] + 1 : m.Counts[k];
        for (int r = 0; r < records; ++r) {
            std::size_t size = static_cast<std::size_t>(m.Sizes[k]);
            if (k == KindSurface) size += 16 * static_cast<std::size_t>(I32At(b, at + 3));
            if (offset >= at && offset < at + size) {
                return "kind " + std::to_string(k) + " record " + std::to_string(k == KindHand ? r : r + 1) +
                       " offset " + std::to_string(offset - at);
            }
            at += size;
        }
    }
    return "offset " + std::to_string(offset) + " after the objects";
}

// A World of random content that a program could have built: counts within
// the tables, materials within the table, references to existing numbers.
// A World with one object of every kind, two threads and materials 0..2.
inline std::unique_ptr<World> SmallWorld() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->Materials.MaterialCount = 2;
    world->Materials.Items[2] = {"Резина", 1200, 0, Rgb(10, 20, 30)};
    world->Lavals[1] = {{1, 2}, 0, false, true};
    world->LavalCount = 1;
    world->Hands[1] = {1, -0.5, -3, 3, 0.05, false, true};
    world->HandCount = 1;
    world->Walls[1] = {2, 4, -1, 1, 0.05, false, true};
    world->WallCount = 1;
    Plane& plane = world->Planes[1];
    plane.Material = 1;
    plane.P1 = {0, 1};
    plane.P2 = {3, 0};
    plane.HalfThickness = 0.05;
    plane.Exists = true;
    world->PlaneCount = 1;
    Ball& ball = world->Balls[1];
    ball.Exists = true;
    ball.Material = 2;
    ball.Density = 7800;
    ball.Radius = 0.1;
    ball.Shape = ShapeBall;
    ball.InertiaFactor = 0.4;
    ball.Position = {0.5, 2};
    ball.BindAngle = 0.25;
    ball.Movable = true;
    ball.Allow3D = true;
    world->BallCount = 1;
    world->ThreadCount = 2;
    Peg& rod = world->Pegs[1];
    rod.Exists = true;
    rod.Material = 1;
    rod.Density = 7800;
    rod.Width = 0.02;
    rod.Depth = 0.03;
    rod.Length = 1;
    rod.Position = {2, 2};
    rod.Movable = true;
    world->PegCount = 1;
    Surface& surface = world->Surfaces[1];
    surface.Exists = true;
    surface.Material = 1;
    surface.PointCount = 3;
    surface.Points = {{0, 0}, {1, -1}, {2, 0}};
    surface.HalfThickness = 0.05;
    world->SurfaceCount = 1;
    Surface2& curve = world->Surfaces2[1];
    curve.Exists = true;
    curve.Material = 1;
    curve.ParamA = 1;
    curve.TFrom = -1;
    curve.TTo = 1;
    curve.HalfThickness = 0.05;
    world->Surface2Count = 1;
    return world;
}

// With `hungBalls` some balls hang on suspension points.
inline std::unique_ptr<World> RandomWorld(std::uint32_t seed, bool hungBalls = true) {
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto integer = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    MaterialTable& table = world->Materials;
    const int n = integer(0, 6);
    table.MaterialCount = static_cast<std::uint8_t>(n);
    const char* names[] = {"Сталь", "Дерево", "Резина", "Стекло", "Лёд", "Alu", "Медь"};
    for (int i = 1; i <= n; ++i) {
        table.Items[i] = {names[i], uniform(1, 9000), uniform(-1, 1), integer(0, 0xFFFFFF)};
        for (int j = 1; j <= n; ++j) {
            const auto at = static_cast<std::size_t>(PairIndex(i, j));
            table.Restitution[at] = uniform(0, 1);
            table.FrictionRouth[at] = uniform(0, 1);
            table.FrictionLambda[at] = uniform(0, 1);
            table.RollingFriction[at] = uniform(0, 0.1);
            table.ReservedPair1[at] = uniform(-5, 5);
            table.ReservedPair2[at] = uniform(-5, 5);
        }
    }
    auto material = [&] { return static_cast<std::uint8_t>(integer(0, n)); };
    auto flag = [&] { return integer(0, 1) == 1; };
    auto vec = [&] { return Vec2{uniform(-10, 10), uniform(-10, 10)}; };
    Parameters& p = world->Params;
    p.Gravity = uniform(-20, 20);
    p.FieldOriginX = integer(-5000, 5000);
    p.FieldOriginY = integer(0, 9000);
    p.ZeroLevel = uniform(-1, 1);
    p.FieldScale = uniform(10, 2000);
    p.AirDensity = uniform(0, 2);
    p.Wind = vec();
    p.AmbientLightAuto = flag();
    p.BackgroundMode = static_cast<std::uint8_t>(integer(0, 5));
    p.DefaultMaterial = material();
    p.StepCounter = integer(0, 100000);
    p.MaxStep = uniform(1e-5, 1e-2);
    p.DescriptionExt = flag() ? "htm" : "";
    p.WatermarkMode = static_cast<std::int16_t>(integer(0, 3));
    world->Units.LengthUnitName = flag() ? "см" : "м";
    world->Units.LengthUnitMasculine = flag();
    world->Units.AngleUnit = flag() ? 1.0 : 3.14159265358979 / 180;

    world->Hands[0].Exists = flag();
    world->Hands[0].Material = material();
    world->LavalCount = integer(0, 4);
    for (int k = 1; k <= world->LavalCount; ++k) world->Lavals[k] = {vec(), uniform(-1, 1), false, flag()};
    world->HandCount = integer(0, 3);
    world->WallCount = integer(0, 3);
    for (int k = 1; k <= world->HandCount; ++k)
        world->Hands[k] = {material(), uniform(-5, 5), uniform(-9, 0), uniform(0, 9), uniform(0, 1), false, flag()};
    for (int k = 1; k <= world->WallCount; ++k)
        world->Walls[k] = {material(), uniform(-5, 5), uniform(-9, 0), uniform(0, 9), uniform(0, 1), false, flag()};
    world->PlaneCount = integer(0, 3);
    for (int k = 1; k <= world->PlaneCount; ++k) {
        Plane& r = world->Planes[k];
        r = {};
        r.Material = material();
        r.P1 = vec();
        r.P2 = vec();
        r.HalfThickness = uniform(0, 1);
        r.Exists = flag();
        r.Triangular = static_cast<std::uint8_t>(integer(0, 1));
    }
    world->BallCount = integer(0, 6);
    for (int k = 1; k <= world->BallCount; ++k) {
        Ball& r = world->Balls[k];
        r = {};
        r.Exists = flag();
        r.Material = material();
        r.Density = uniform(100, 9000);
        r.Radius = uniform(0.01, 1);
        r.Height = uniform(0.01, 1);
        r.DragLinear = uniform(0, 1);
        r.DragQuadratic = uniform(0, 1);
        r.Position = vec();
        r.Z = static_cast<std::uint8_t>(integer(0, 255));
        r.Shape = static_cast<std::uint8_t>(integer(1, 2));
        r.Velocity = vec();
        r.Acceleration = vec();
        r.Force = vec();
        r.InertiaFactor = r.Shape == ShapeBall ? 0.4 : 0.5;
        r.Torque = uniform(-1, 1);
        r.Omega = uniform(-3, 3);
        r.Epsilon = uniform(-3, 3);
        r.Phi = uniform(-3, 3);
        if (hungBalls && world->LavalCount > 0 && integer(0, 3) == 0) {
            r.BindKind = BindLaval;
            r.BindNumber = integer(1, world->LavalCount);
            r.BindAngle = uniform(-3, 3);
        }
        r.Marked = flag();
        r.Allow3D = flag();
        r.Movable = flag();
    }
    world->ThreadCount = integer(0, 3);
    world->PegCount = integer(0, 3);
    for (int k = 1; k <= world->PegCount; ++k) {
        Peg& r = world->Pegs[k];
        r = {};
        r.Exists = flag();
        r.Material = material();
        r.Density = uniform(100, 9000);
        r.SectionInertiaFactor = uniform(0, 0.2);
        r.Width = uniform(0.01, 0.2);
        r.Depth = uniform(0.01, 0.2);
        r.SectionArea = r.Width * r.Depth;
        r.Position = vec();
        r.Velocity = vec();
        r.Z = static_cast<std::uint8_t>(integer(0, 255));
        r.Omega = uniform(-3, 3);
        r.Phi = uniform(-3, 3);
        r.Length = uniform(0.1, 3);
        if (world->LavalCount > 0 && flag()) {
            r.HangLaval = integer(1, world->LavalCount);
            r.HangFraction = uniform(0, 1);
        }
        r.DragLinear = uniform(0, 1);
        r.DragQuadratic = uniform(0, 1);
        r.Movable = flag();
    }
    world->SurfaceCount = integer(0, 3);
    for (int k = 1; k <= world->SurfaceCount; ++k) {
        Surface& r = world->Surfaces[k];
        r = {};
        r.Exists = flag();
        r.Material = material();
        r.PointCount = integer(0, 40);
        r.Points.assign(SurfacePointCapacity, Vec2{});
        for (int v = 0; v < r.PointCount; ++v) r.Points[v] = vec();
        r.HalfThickness = uniform(0, 1);
        r.Closed = flag();
    }
    world->Surface2Count = integer(0, 3);
    for (int k = 1; k <= world->Surface2Count; ++k) {
        Surface2& r = world->Surfaces2[k];
        r = {};
        r.Exists = flag();
        r.Material = material();
        r.Closed = flag();
        r.Centre = vec();
        r.Rotation = uniform(-3, 3);
        r.ParamA = uniform(0.1, 3);
        r.ParamB = uniform(0.1, 3);
        r.TFrom = uniform(-3, 0);
        r.TTo = uniform(0, 3);
        r.SurfaceKind = static_cast<std::uint8_t>(integer(1, 3));
        r.HalfThickness = uniform(0, 1);
    }
    return world;
}

}  // namespace velo::test
