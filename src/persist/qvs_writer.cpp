// Writer of the simulation file. Every field is written explicitly, in the
// order and width of the file layout; nothing is copied as a raw struct.
#include "persist/qvs_writer.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>

#include "model/derived_fields.h"
#include "persist/atomic_file.h"
#include "persist/qvs_file.h"

namespace velo {
namespace {

constexpr std::uint8_t RequiredVersionByte = 8;
constexpr std::int16_t RequiredBuild = 314;

// A count as it goes to disk: never more than the table can hold, so a
// World with an impossible count still writes a file that reads back.
std::int32_t StoredCount(std::int32_t count, int capacity) { return std::clamp(count, 0, capacity); }

void WriteVec(ByteWriter& out, Vec2 v) {
    out.F64(v.X);
    out.F64(v.Y);
}

void WriteLaval(ByteWriter& out, const Laval& r) {
    out.Flag(r.Exists);
    WriteVec(out, r.Position);
    out.F64(r.Reserved);
}

void WriteHandWall(ByteWriter& out, const HandWall& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    out.F64(r.Bound1);
    out.F64(r.Bound2);
    out.F64(r.Coord);
    out.F64(r.HalfThickness);
}

void WritePlane(ByteWriter& out, const Plane& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    WriteVec(out, r.P1);
    WriteVec(out, r.P2);
    out.U8(r.Triangular);
    out.F64(r.HalfThickness);
}

void WriteBall(ByteWriter& out, const Ball& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    out.F64(r.Mass);
    out.F64(r.Density);
    out.F64(r.Radius);
    out.F64(r.Height);
    out.F64(r.Volume);
    out.F64(r.DragLinear);
    out.F64(r.DragQuadratic);
    WriteVec(out, r.Position);
    out.U8(r.Z);
    out.U8(r.Shape);
    WriteVec(out, r.Velocity);
    WriteVec(out, r.Acceleration);
    WriteVec(out, r.Force);
    out.F64(r.InertiaFactor);
    out.F64(r.Torque);
    out.F64(r.AngularMomentum);
    out.F64(r.Omega);
    out.F64(r.Epsilon);
    out.F64(r.Phi);
    out.U8(r.BindKind);
    out.I32(r.BindNumber);
    out.Flag(r.Marked);
    out.Flag(r.Allow3D);
    out.Flag(r.Movable);
    out.F64(r.BindAngle);
}

void WritePeg(ByteWriter& out, const Peg& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    out.F64(r.Density);
    out.F64(r.LinearDensity);
    out.F64(r.Mass);
    out.F64(r.SectionInertiaFactor);
    out.F64(r.Width);
    out.F64(r.SectionArea);
    WriteVec(out, r.Force);
    WriteVec(out, r.Position);
    WriteVec(out, r.Velocity);
    WriteVec(out, r.Acceleration);
    out.U8(r.Z);
    out.F64(r.Omega);
    out.F64(r.Epsilon);
    out.F64(r.Phi);
    out.F64(r.Torque);
    out.F64(r.AngularMomentum);
    out.F64(r.Length);
    out.I32(r.HangLaval);
    out.F64(r.HangFraction);
    out.F64(r.DragLinear);
    out.F64(r.DragQuadratic);
    out.U8(r.End1Kind);
    out.I32(r.End1Number);
    out.U8(r.End2Kind);
    out.I32(r.End2Number);
    out.F64(r.Depth);
    out.Flag(r.Movable);
}

void WriteSurface(ByteWriter& out, const Surface& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    const std::int32_t n = std::clamp(r.PointCount, 0, SurfacePointCapacity);
    out.I32(n);
    for (std::int32_t k = 0; k < n; ++k) {
        WriteVec(out, static_cast<std::size_t>(k) < r.Points.size() ? r.Points[static_cast<std::size_t>(k)] : Vec2{});
    }
    out.F64(r.HalfThickness);
    out.Flag(r.Closed);
    out.I16(r.Reserved);
}

void WriteSurface2(ByteWriter& out, const Surface2& r) {
    out.Flag(r.Exists);
    out.U8(r.Material);
    out.Flag(r.Closed);
    WriteVec(out, r.Centre);
    out.F64(r.Rotation);
    out.F64(r.ParamA);
    out.F64(r.ParamB);
    out.F64(r.TFrom);
    out.F64(r.TTo);
    out.U8(r.SurfaceKind);
    out.F64(r.HalfThickness);
}

void WriteSizes(ByteWriter& out, std::initializer_list<std::int32_t> sizes) {
    for (const std::int32_t size : sizes) out.I32(size);
}

}  // namespace

void WriteQvsHeader(ByteWriter& out, const std::string& authorText) {
    out.Text(MechanicalSignature, 32);
    out.U8(RequiredVersionByte);
    out.I16(RequiredBuild);
    out.U8(RequiredVersionByte);  // recommended version
    out.I16(RequiredBuild);       // recommended build
    out.U8(ProgramVersionByte);
    out.I16(static_cast<std::int16_t>(ProgramBuild));
    out.Text(authorText, AuthorTextWidth);
    for (std::uint8_t filler = 1; filler <= 7; ++filler) out.U8(filler);
}

void WriteUnitsAndMaterials(ByteWriter& out, const World& world) {
    const MaterialTable& table = world.Materials;
    const int n = std::min<int>(table.MaterialCount, MaxMaterialIndex);
    out.I32(UnitsSectionLength(n));
    const UnitSystem& units = world.Units;
    out.Text(units.LengthUnitName, 8);
    out.Text(units.MassUnitName, 8);
    out.Text(units.TimeUnitName, 8);
    out.Text(units.ChargeUnitName, 8);
    out.Text(units.AngleUnitName, 8);
    out.Text(units.ReservedUnitName, 8);
    out.Flag(units.LengthUnitMasculine);
    out.F64(units.AngleUnit);
    out.U8(static_cast<std::uint8_t>(n));
    out.I32(MaterialRecordSize);
    out.I32(PairRecordSize);
    for (int i = 0; i <= n; ++i) {
        const Material& m = table.Items[static_cast<std::size_t>(i)];
        out.Text(m.Name, 16);
        out.F64(m.Density);
        out.F64(m.ReservedReal);
        out.I32(m.Colour);
        for (int j = 1; j <= n; ++j) {
            const auto at = static_cast<std::size_t>(PairIndex(i, j));
            out.F64(table.ReservedPair1[at]);
            out.F64(table.ReservedPair2[at]);
            out.F64(table.FrictionRouth[at]);
            out.F64(table.FrictionLambda[at]);
            out.F64(table.Restitution[at]);
            out.F64(table.RollingFriction[at]);
        }
    }
    out.Zeros(3);
}

void WriteParameters(ByteWriter& out, const World& world) {
    const Parameters& p = world.Params;
    out.I32(ParameterSectionLength);
    out.F64(p.Gravity);
    out.I32(p.FieldOriginX);
    out.I32(p.FieldOriginY);
    out.F64(p.ZeroLevel);
    out.F64(p.FieldScale);
    out.I16(p.Reserved);
    out.F64(p.AirDensity);
    WriteVec(out, p.Wind);
    out.F64(p.RouthMinSpeed);
    out.F64(p.ObserverZ);
    out.F64(p.AmbientLight);
    out.Flag(p.AmbientLightAuto);
    out.U8(p.BackgroundMode);
    out.I32(p.MarkColor);
    for (const auto& row : p.Colors) {
        for (const std::int32_t colour : row) out.I32(colour);
    }
    out.U8(p.DefaultMaterial);
    out.F64(p.DefaultHalfThickness);
    out.F64(p.TimeScale);
    out.I32(p.StepCounter);
    out.F64(p.MarkSize);
    out.F64(p.MaxStep);
    out.Text(p.DescriptionExt, 8);
    out.I16(p.WatermarkMode);
}

void WriteObjects(ByteWriter& out, const World& world) {
    const std::int32_t lavals = StoredCount(world.LavalCount, LavalCapacity);
    const std::int32_t hands = StoredCount(world.HandCount, HandCapacity);
    const std::int32_t walls = StoredCount(world.WallCount, WallCapacity);
    const std::int32_t planes = StoredCount(world.PlaneCount, PlaneCapacity);
    const std::int32_t balls = StoredCount(world.BallCount, BallCapacity);
    const std::int32_t threads = StoredCount(world.ThreadCount, ThreadCapacity);
    const std::int32_t pegs = StoredCount(world.PegCount, PegCapacity);
    const std::int32_t surfaces = StoredCount(world.SurfaceCount, SurfaceCapacity);
    const std::int32_t surfaces2 = StoredCount(world.Surface2Count, Surface2Capacity);

    out.U8(9);
    for (const std::int32_t count : {lavals, hands, walls, planes, balls, threads, pegs, surfaces, surfaces2}) {
        out.I32(count);
    }
    WriteSizes(out, {LavalRecordSize, HandWallRecordSize, HandWallRecordSize, PlaneRecordSize, BallRecordSize,
                     ThreadRecordSize, PegRecordSize, SurfaceRecordSize, Surface2RecordSize});

    for (int k = 1; k <= lavals; ++k) WriteLaval(out, world.Lavals[k]);
    for (int k = 0; k <= hands; ++k) WriteHandWall(out, world.Hands[k]);
    for (int k = 1; k <= walls; ++k) WriteHandWall(out, world.Walls[k]);
    for (int k = 1; k <= planes; ++k) WritePlane(out, world.Planes[k]);
    // Balls and rods are normalised in copies of their records, the World
    // staying as it is. A rod needs only the mass, radius and inertia of the
    // balls at its ends, which the balls' own normalisation gives; the
    // places it would give them are not written, as the balls come first.
    std::vector<Ball> normalised(static_cast<std::size_t>(balls) + 1);
    for (int k = 1; k <= balls; ++k) {
        Ball& ball = normalised[static_cast<std::size_t>(k)];
        ball = world.Balls[k];
        RecomputeBallRecord(ball, world.Params, world.Lavals);
        WriteBall(out, ball);
    }
    // Threads: only the count is stored.
    for (int k = 1; k <= pegs; ++k) {
        Peg rod = world.Pegs[k];
        const int end1 = FastenedBall(world, rod, 1);
        const int end2 = FastenedBall(world, rod, 2);
        RecomputeRodRecord(rod, end1 != 0 ? &normalised[static_cast<std::size_t>(end1)] : nullptr,
                           end2 != 0 ? &normalised[static_cast<std::size_t>(end2)] : nullptr, world.Params);
        WritePeg(out, rod);
    }
    for (int k = 1; k <= surfaces; ++k) WriteSurface(out, world.Surfaces[k]);
    for (int k = 1; k <= surfaces2; ++k) WriteSurface2(out, world.Surfaces2[k]);
}

void WriteTemplateObjects(ByteWriter& out, const World& world) {
    out.U8(2);
    out.I32(0);
    out.I32(0);
    WriteSizes(out, {LavalRecordSize, HandWallRecordSize});
    WriteHandWall(out, world.Hands[0]);
}

void WriteEmbedded(ByteWriter& out, const std::vector<std::uint8_t>& background,
                   const std::vector<std::uint8_t>& description) {
    out.I32(static_cast<std::int32_t>(background.size()));
    out.Bytes(background);
    out.I32(static_cast<std::int32_t>(description.size()));
    out.Bytes(description);
}

std::vector<std::uint8_t> EncodeQvs(const World& world, const QvsSaveOptions& options) {
    ByteWriter out;
    WriteQvsHeader(out, options.AuthorText);
    WriteUnitsAndMaterials(out, world);
    WriteParameters(out, world);
    WriteObjects(out, world);
    if (options.WithEmbedded) {
        WriteEmbedded(out, options.Embedded.Background, options.Embedded.Description);
    } else {
        WriteEmbedded(out, {}, {});
    }
    return out.Take();
}

std::vector<std::uint8_t> EncodeQvsTemplate(const World& world, const std::string& authorText) {
    ByteWriter out;
    WriteQvsHeader(out, authorText);
    WriteUnitsAndMaterials(out, world);
    WriteParameters(out, world);
    WriteTemplateObjects(out, world);
    WriteEmbedded(out, {}, {});
    return out.Take();
}

namespace {

// The reader takes a longer embedded file for damage: such a file would
// not open again.
std::optional<SaveResult> EmbeddedRefusal(const std::filesystem::path& path, const QvsSaveOptions& options) {
    if (options.WithEmbedded) {
        const auto limit = static_cast<std::size_t>(EmbeddedFileLimit);
        if (options.Embedded.Background.size() > limit) {
            return SaveResult{false, SaveFailure(path, "фоновый рисунок больше 64 МБ",
                                                 "выберите рисунок поменьше и сохраните ещё раз")};
        }
        if (options.Embedded.Description.size() > limit) {
            return SaveResult{false, SaveFailure(path, "описание имитации больше 64 МБ",
                                                 "выберите описание поменьше и сохраните ещё раз")};
        }
    }
    return std::nullopt;
}

}  // namespace

SaveResult SaveQvs(const World& world, const std::filesystem::path& path, const QvsSaveOptions& options) {
    if (std::optional<SaveResult> refused = EmbeddedRefusal(path, options)) return *refused;
    AtomicFile file(path);
    return SaveQvs(world, file, options);
}

SaveResult SaveQvs(const World& world, AtomicFile& file, const QvsSaveOptions& options) {
    if (std::optional<SaveResult> refused = EmbeddedRefusal(file.Path(), options)) return *refused;
    if (options.ReadOnly) file.MakeReadOnly();
    file.Write(EncodeQvs(world, options));
    return file.Commit();
}

SaveResult SaveQvsTemplate(const World& world, const std::filesystem::path& path, const std::string& authorText) {
    return WriteFileAtomically(path, EncodeQvsTemplate(world, authorText));
}

}  // namespace velo
