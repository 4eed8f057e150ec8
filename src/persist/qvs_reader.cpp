// Reader of the simulation file.
//
// The reader is tolerant where the format is: every section and record kind
// carries its own length, fields a shorter record lacks keep their defaults,
// longer records are skipped to their declared end, and kinds this program
// does not know are skipped as count x record size. It is strict where a
// file is plainly damaged: a count above a table's capacity, a negative
// size or length, a polyline of more than 1024 vertices, or anything that
// runs past the end of the file refuses the whole file, so no table is ever
// written out of bounds and nothing is read past the data.
#include "persist/qvs_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <numbers>
#include <system_error>

#include "model/derived_fields.h"
#include "model/world_ops.h"
#include "persist/native_file.h"
#include "persist/qvs_file.h"

namespace velo {
namespace {

// Sequential fields of one record or section. A field is read only when it
// lies wholly inside the record; once one does not, none after it does.
class Fields {
public:
    explicit Fields(ByteReader window) : in_(window) {}

    bool Fits(std::int64_t width) {
        if (in_.Has(width)) return true;
        in_.Seek(in_.End());
        return false;
    }
    void Get(double& value) {
        if (Fits(8)) value = in_.F64();
    }
    void Get(Vec2& value) {
        Get(value.X);
        Get(value.Y);
    }
    void Get(std::int32_t& value) {
        if (Fits(4)) value = in_.I32();
    }
    void Get(std::int16_t& value) {
        if (Fits(2)) value = in_.I16();
    }
    void Get(std::uint8_t& value) {
        if (Fits(1)) value = in_.U8();
    }
    void GetFlag(bool& value) {
        if (Fits(2)) value = in_.Flag();
    }
    bool GetText(std::string& value, std::size_t width) {
        if (!Fits(static_cast<std::int64_t>(width))) return false;
        value = in_.Text(width);
        return true;
    }

    ByteReader& Reader() { return in_; }

private:
    ByteReader in_;
};

bool InRange(std::int64_t value, std::int64_t low, std::int64_t high) { return value >= low && value <= high; }

// Opens the window of a record at the reader's position and moves the
// reader past it; a record that runs past the end of the file fails.
Fields NextRecord(ByteReader& in, std::int64_t size) {
    const std::int64_t start = in.Position();
    if (size < 0 || !in.Has(size)) {
        in.Fail();
        return Fields(in.Window(start, 0));
    }
    in.Skip(size);
    return Fields(in.Window(start, size));
}

struct KindLayout {
    std::int32_t Count = 0;
    std::int32_t Size = 0;
};

class ObjectReader {
public:
    ObjectReader(ByteReader& in, World& world, int materialCount)
        : in_(in), world_(world), materialCount_(materialCount) {}

    void Material(std::uint8_t& material) {
        if (material > materialCount_) {
            material = 0;
            report_.UnknownMaterial = true;
        }
    }

    void Laval(int k, std::int32_t size) {
        velo::Laval& r = world_.Lavals[static_cast<std::size_t>(k)];
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Position);
        f.Get(r.Reserved);
        r.Selected = false;
    }

    void HandWall(velo::HandWall& r, std::int32_t size) {
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Material);
        f.Get(r.Bound1);
        f.Get(r.Bound2);
        f.Get(r.Coord);
        f.Get(r.HalfThickness);
        r.Selected = false;
        Material(r.Material);
    }

    void Plane(int k, std::int32_t size) {
        velo::Plane& r = world_.Planes[static_cast<std::size_t>(k)];
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Material);
        f.Get(r.P1);
        f.Get(r.P2);
        f.Get(r.Triangular);
        f.Get(r.HalfThickness);
        r.Selected = false;
        Material(r.Material);
        RecomputePlane(r);
    }

    void Ball(int k, std::int32_t size) {
        velo::Ball& r = world_.Balls[static_cast<std::size_t>(k)];
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Material);
        f.Get(r.Mass);
        f.Get(r.Density);
        f.Get(r.Radius);
        f.Get(r.Height);
        f.Get(r.Volume);
        f.Get(r.DragLinear);
        f.Get(r.DragQuadratic);
        f.Get(r.Position);
        f.Get(r.Z);
        f.Get(r.Shape);
        f.Get(r.Velocity);
        f.Get(r.Acceleration);
        f.Get(r.Force);
        f.Get(r.InertiaFactor);
        f.Get(r.Torque);
        f.Get(r.AngularMomentum);
        f.Get(r.Omega);
        f.Get(r.Epsilon);
        f.Get(r.Phi);
        f.Get(r.BindKind);
        f.Get(r.BindNumber);
        f.GetFlag(r.Marked);
        f.GetFlag(r.Allow3D);
        f.GetFlag(r.Movable);
        f.Get(r.BindAngle);
        if (size < BallRecordSize) r.BindAngle = 0;
        r.Selected = false;
        // The file does not keep the radius of a hung ball: the
        // normalisation takes it from the stored position.
        r.BindRadius = 0;
        Material(r.Material);
        if (r.BindKind == BindLaval && !InRange(r.BindNumber, 0, LavalCapacity)) in_.Fail();
        if (r.BindKind == BindPegEnd && !InRange(r.BindNumber, 0, PegCapacity)) in_.Fail();
        if (in_.Ok()) RecomputeBall(world_, k);
    }

    void Peg(int k, std::int32_t size) {
        velo::Peg& r = world_.Pegs[static_cast<std::size_t>(k)];
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Material);
        f.Get(r.Density);
        f.Get(r.LinearDensity);
        f.Get(r.Mass);
        f.Get(r.SectionInertiaFactor);
        f.Get(r.Width);
        f.Get(r.SectionArea);
        f.Get(r.Force);
        f.Get(r.Position);
        f.Get(r.Velocity);
        f.Get(r.Acceleration);
        f.Get(r.Z);
        f.Get(r.Omega);
        f.Get(r.Epsilon);
        f.Get(r.Phi);
        f.Get(r.Torque);
        f.Get(r.AngularMomentum);
        f.Get(r.Length);
        f.Get(r.HangLaval);
        f.Get(r.HangFraction);
        f.Get(r.DragLinear);
        f.Get(r.DragQuadratic);
        f.Get(r.End1Kind);
        f.Get(r.End1Number);
        f.Get(r.End2Kind);
        f.Get(r.End2Number);
        f.Get(r.Depth);
        f.GetFlag(r.Movable);
        if (size < 210) r.Depth = r.Width;
        if (size < PegRecordSize) r.Movable = true;
        r.Selected = false;
        Material(r.Material);
        if (!InRange(r.HangLaval, 0, LavalCapacity)) in_.Fail();
        for (const auto& [kind, number] : {std::pair{r.End1Kind, r.End1Number}, std::pair{r.End2Kind, r.End2Number}}) {
            if ((kind == KindBall || kind == KindCylinder) && !InRange(number, 0, BallCapacity)) in_.Fail();
        }
    }

    void Surface(int k, std::int32_t size) {
        velo::Surface& r = world_.Surfaces[static_cast<std::size_t>(k)];
        // The vertex table always has room for the largest polyline.
        r.Points.assign(SurfacePointCapacity, Vec2{});
        const std::int64_t start = in_.Position();
        // The vertex count comes first; the record's extent depends on it.
        Fields head(in_.Window(start, size));
        head.GetFlag(r.Exists);
        head.Get(r.Material);
        std::int32_t n = 0;
        head.Get(n);
        if (!InRange(n, 0, SurfacePointCapacity)) {
            in_.Fail();
            return;
        }
        r.PointCount = n;
        Fields f = NextRecord(in_, static_cast<std::int64_t>(size) + 16 * static_cast<std::int64_t>(n));
        if (!in_.Ok()) return;
        bool skipped = false;
        f.GetFlag(skipped);
        std::uint8_t material = 0;
        f.Get(material);
        std::int32_t count = 0;
        f.Get(count);
        for (std::int32_t v = 0; v < n; ++v) f.Get(r.Points[static_cast<std::size_t>(v)]);
        f.Get(r.HalfThickness);
        f.GetFlag(r.Closed);
        f.Get(r.Reserved);
        r.Selected = false;
        Material(r.Material);
    }

    void Surface2(int k, std::int32_t size) {
        velo::Surface2& r = world_.Surfaces2[static_cast<std::size_t>(k)];
        Fields f = NextRecord(in_, size);
        f.GetFlag(r.Exists);
        f.Get(r.Material);
        f.GetFlag(r.Closed);
        f.Get(r.Centre);
        f.Get(r.Rotation);
        f.Get(r.ParamA);
        f.Get(r.ParamB);
        f.Get(r.TFrom);
        f.Get(r.TTo);
        f.Get(r.SurfaceKind);
        f.Get(r.HalfThickness);
        r.Selected = false;
        Material(r.Material);
    }

    ObjectSectionReport Report() const { return report_; }

private:
    ByteReader& in_;
    World& world_;
    int materialCount_;
    ObjectSectionReport report_;
};

}  // namespace

QvsHeader ReadQvsHeader(ByteReader& in) {
    QvsHeader header;
    // A file shorter than the signature is still classified by what it
    // holds, so that a cut mechanical file is reported as damaged.
    const std::int64_t available = std::min<std::int64_t>(32, std::max<std::int64_t>(0, in.Remaining()));
    header.Signature = in.Text(static_cast<std::size_t>(available));
    if (available < 32) in.Fail();
    header.RequiredVersion = in.U8();
    header.RequiredBuild = in.I16();
    header.RecommendedVersion = in.U8();
    header.RecommendedBuild = in.I16();
    header.WriterVersion = in.U8();
    header.WriterBuild = in.I16();
    header.AuthorText = in.Text(AuthorTextWidth, false);
    in.Skip(7);
    return header;
}

namespace {

// Units 6 x 8 bytes, LengthUnitMasculine 2, AngleUnit 8; the material
// table's head follows.
constexpr std::int64_t UnitBlockSize = 58;
constexpr std::int64_t MaterialHeadSize = 9;

}  // namespace

UnitsSection LocateUnitsAndMaterials(ByteReader& in) {
    UnitsSection s;
    in.Seek(HeaderSize);
    const std::int32_t declared = in.I32();
    s.Content = in.Position();
    if (!in.Ok() || declared < 0 || !in.Has(declared)) {
        in.Fail();
        return s;
    }
    s.Declared = declared;
    s.Next = s.Content + declared;
    // A section that ends before the table's head, or whose record sizes
    // are too small for the known fields, leaves the material table as it
    // was.
    if (declared < UnitBlockSize + MaterialHeadSize) return s;
    ByteReader head = in.Window(s.Content + UnitBlockSize, MaterialHeadSize);
    s.MaterialCount = head.U8();
    s.MaterialSize = head.I32();
    s.PairSize = head.I32();
    if (s.MaterialSize < 24 || s.PairSize < 40) return s;
    const std::int64_t perMaterial = s.MaterialSize + static_cast<std::int64_t>(s.MaterialCount) * s.PairSize;
    const std::int64_t table = (static_cast<std::int64_t>(s.MaterialCount) + 1) * perMaterial;
    if (s.MaterialCount > MaxMaterialIndex || table > declared - UnitBlockSize - MaterialHeadSize) {
        in.Fail();
        return s;
    }
    s.HasTable = true;
    return s;
}

void ApplyUnitsAndMaterials(ByteReader& in, const UnitsSection& s, World& world) {
    Fields f(in.Window(s.Content, s.Declared));
    UnitSystem& units = world.Units;
    f.GetText(units.LengthUnitName, 8);
    f.GetText(units.MassUnitName, 8);
    f.GetText(units.TimeUnitName, 8);
    f.GetText(units.ChargeUnitName, 8);
    f.GetText(units.AngleUnitName, 8);
    f.GetText(units.ReservedUnitName, 8);
    // Files of some earlier versions lack LengthUnitMasculine and AngleUnit.
    // A field is taken as present when the declared length reaches past its
    // end (offsets 50 and 58 of the content). This writer declares at least
    // 106 bytes, so every file it writes keeps both fields.
    f.GetFlag(units.LengthUnitMasculine);
    f.Get(units.AngleUnit);
    if (!s.HasTable) return;

    const int n = s.MaterialCount;
    const std::int64_t tableStart = s.Content + UnitBlockSize + MaterialHeadSize;
    ByteReader section = in.Window(tableStart, s.Next - tableStart);
    MaterialTable& table = world.Materials;
    table.MaterialCount = s.MaterialCount;
    for (int i = 0; i <= n; ++i) {
        Material& m = table.Items[static_cast<std::size_t>(i)];
        Fields record = NextRecord(section, s.MaterialSize);
        record.GetText(m.Name, 16);
        record.Get(m.Density);
        if (s.MaterialSize >= 32) record.Get(m.ReservedReal);
        if (s.MaterialSize >= MaterialRecordSize) record.Get(m.Colour);
        for (int j = 1; j <= n; ++j) {
            const auto at = static_cast<std::size_t>(PairIndex(i, j));
            Fields pair = NextRecord(section, s.PairSize);
            pair.Get(table.ReservedPair1[at]);
            pair.Get(table.ReservedPair2[at]);
            pair.Get(table.FrictionRouth[at]);
            pair.Get(table.FrictionLambda[at]);
            pair.Get(table.Restitution[at]);
            if (s.PairSize >= PairRecordSize) pair.Get(table.RollingFriction[at]);
        }
    }
    // Pairs with the ideal material as the other body are not stored: they
    // are fixed.
    for (int i = 0; i < MaterialSlots; ++i) {
        const auto at = static_cast<std::size_t>(PairIndex(i, 0));
        table.Restitution[at] = 1;
        table.FrictionRouth[at] = 0;
        table.FrictionLambda[at] = 0;
        table.RollingFriction[at] = 0;
        table.ReservedPair1[at] = 0;
        table.ReservedPair2[at] = 0;
    }
}

std::int64_t ReadUnitsAndMaterials(ByteReader& in, World& world) {
    const UnitsSection s = LocateUnitsAndMaterials(in);
    if (in.Ok()) ApplyUnitsAndMaterials(in, s, world);
    return s.Next;
}

std::int64_t ReadParameters(ByteReader& in, World& world, std::int64_t offset) {
    in.Seek(offset);
    const std::int32_t declared = in.I32();
    const std::int64_t content = in.Position();
    if (!in.Ok() || declared < 0 || !in.Has(declared)) {
        in.Fail();
        return 0;
    }
    // Fields beyond the declared length keep their current values, except
    // the description's extension, which then is blank.
    Parameters& p = world.Params;
    Fields f(in.Window(content, declared));
    f.Get(p.Gravity);
    f.Get(p.FieldOriginX);
    f.Get(p.FieldOriginY);
    f.Get(p.ZeroLevel);
    f.Get(p.FieldScale);
    f.Get(p.Reserved);
    f.Get(p.AirDensity);
    f.Get(p.Wind);
    f.Get(p.RouthMinSpeed);
    f.Get(p.ObserverZ);
    f.Get(p.AmbientLight);
    f.GetFlag(p.AmbientLightAuto);
    f.Get(p.BackgroundMode);
    f.Get(p.MarkColor);
    for (auto& row : p.Colors) {
        for (std::int32_t& colour : row) f.Get(colour);
    }
    f.Get(p.DefaultMaterial);
    f.Get(p.DefaultHalfThickness);
    f.Get(p.TimeScale);
    f.Get(p.StepCounter);
    f.Get(p.MarkSize);
    f.Get(p.MaxStep);
    if (!f.GetText(p.DescriptionExt, 8)) p.DescriptionExt.clear();
    f.Get(p.WatermarkMode);
    return content + declared;
}

ObjectSectionReport ReadObjects(ByteReader& in, World& world, std::int64_t offset, int materialCount) {
    in.Seek(offset);
    const int kinds = in.U8();
    std::vector<KindLayout> layout(static_cast<std::size_t>(kinds) + 1);
    for (int k = 1; k <= kinds; ++k) layout[static_cast<std::size_t>(k)].Count = std::max(0, in.I32());
    for (int k = 1; k <= kinds; ++k) {
        const std::int32_t size = in.I32();
        if (size < 0) in.Fail();
        layout[static_cast<std::size_t>(k)].Size = size;
    }
    ObjectReader objects(in, world, materialCount);
    if (!in.Ok()) return objects.Report();

    for (int kind = 1; kind <= kinds && in.Ok(); ++kind) {
        const KindLayout& l = layout[static_cast<std::size_t>(kind)];
        if (kind > KindSurface2 || kind == KindThread) {
            // Only the count of threads is kept, and kinds this program
            // does not know are skipped whole.
            if (kind == KindThread) {
                if (l.Count > ThreadCapacity) {
                    in.Fail();
                    break;
                }
                // The numbers stay taken, but no thread comes back: a slot
                // must not show a thread of the project that was open before.
                world.ThreadCount = l.Count;
                for (int k = 1; k <= l.Count; ++k) {
                    world.Threads[static_cast<std::size_t>(k)].Exists = false;
                    world.Threads[static_cast<std::size_t>(k)].Selected = false;
                }
            }
            const std::int64_t bytes = static_cast<std::int64_t>(l.Count) * l.Size;
            if (!in.Has(bytes)) in.Fail();
            in.Skip(bytes);
            continue;
        }
        if (l.Count > CapacityOf(kind)) {
            in.Fail();
            break;
        }
        CountOf(world, kind) = l.Count;
        const int first = kind == KindHand ? 0 : 1;
        for (int k = first; k <= l.Count && in.Ok(); ++k) {
            switch (kind) {
                case KindLaval: objects.Laval(k, l.Size); break;
                case KindHand: objects.HandWall(world.Hands[static_cast<std::size_t>(k)], l.Size); break;
                case KindWall: objects.HandWall(world.Walls[static_cast<std::size_t>(k)], l.Size); break;
                case KindPlane: objects.Plane(k, l.Size); break;
                case KindBall: objects.Ball(k, l.Size); break;
                case KindPeg: objects.Peg(k, l.Size); break;
                case KindSurface: objects.Surface(k, l.Size); break;
                case KindSurface2: objects.Surface2(k, l.Size); break;
                default: break;
            }
        }
        if (kind == KindPeg && in.Ok()) {
            // After all rods are read: a rod places the balls at its ends.
            for (int k = 1; k <= l.Count; ++k) {
                RestoreSectionShape(world.Pegs[static_cast<std::size_t>(k)]);
                RecomputeRod(world, k);
            }
        }
    }
    return objects.Report();
}

std::string VersionMessage(std::uint8_t versionByte, int build) {
    return std::string("Для корректного открытия этого файла необходим") + "\r" + "Velocitronimatics " +
           std::to_string(versionByte >> 4) + "." + std::to_string(versionByte & 0x0F) + " Build " +
           std::to_string(build) + " или выше.";
}

namespace {

// The verdict of the 128-byte header (or of as much of it as there is).
struct HeaderVerdict {
    QvsFileClass Class = QvsFileClass::Mechanical;
    std::string VersionText;  // Refused and ConfirmationNeeded
    bool Answered = false;    // Refused by the answer No: nothing more to say
    bool Complete = false;    // all 128 bytes were there
    std::string AuthorText;
};

HeaderVerdict JudgeHeader(std::span<const std::uint8_t> bytes, const QvsReadOptions& options) {
    HeaderVerdict verdict;
    ByteReader head(bytes.data(), std::min<std::size_t>(bytes.size(), HeaderSize));
    const QvsHeader header = ReadQvsHeader(head);
    verdict.Complete = head.Ok();
    verdict.AuthorText = header.AuthorText;
    const bool mechanical = header.Signature == MechanicalSignature;
    const bool celestial = header.Signature == CelestialSignature;
    if (!mechanical && !celestial) {
        verdict.Class = QvsFileClass::NotSimulation;
        return verdict;
    }
    // Both records are compared by build only; a record whose version byte
    // is 0 imposes nothing. The text names the recommended record.
    verdict.VersionText = VersionMessage(header.RecommendedVersion, header.RecommendedBuild);
    if (header.RequiredVersion != 0 && ProgramBuild < header.RequiredBuild) {
        verdict.Class = QvsFileClass::Refused;
    } else if (header.RecommendedVersion != 0 && ProgramBuild < header.RecommendedBuild &&
               options.OpenNewerFile != true) {
        verdict.Class = options.OpenNewerFile ? QvsFileClass::Refused : QvsFileClass::ConfirmationNeeded;
        verdict.Answered = options.OpenNewerFile.has_value();
    } else {
        verdict.Class = celestial ? QvsFileClass::Celestial : QvsFileClass::Mechanical;
    }
    return verdict;
}

// The warning box of a file written for a newer program.
std::string QuestionOf(const HeaderVerdict& verdict) { return verdict.VersionText + "\r" + OpenAnywayQuestion; }

// What a damaged file leaves behind: an empty World with the units,
// parameters and materials it had before the reading began. The reader has
// run ClearWorld before it began and touched only the parameters, the
// tables, their counts and the vertex arrays since; the units and the
// materials are taken only once the whole file has been read.
QvsOpenResult RefuseAsDamaged(World& world, const Parameters* before, Messenger& messenger) {
    if (before) world.Params = *before;
    for (int kind = KindLaval; kind <= KindSurface2; ++kind) CountOf(world, kind) = 0;
    world.Hands[0].Exists = false;
    for (Surface& s : world.Surfaces) {
        s.Points.clear();
        s.Points.shrink_to_fit();
    }
    world.Changed = false;
    world.ProjectKind = ProjectNone;
    QvsOpenResult result;
    result.Class = QvsFileClass::Damaged;
    result.Message = DamagedFileMessage;
    messenger.Show(MessageIcon::Error, result.Message);
    return result;
}

QvsOpenResult Refusal(QvsFileClass kind, const char* message, Messenger& messenger) {
    QvsOpenResult result;
    result.Class = kind;
    result.Message = message;
    messenger.Show(MessageIcon::Error, result.Message);
    return result;
}

}  // namespace

QvsOpenResult DecodeQvs(World& world, std::span<const std::uint8_t> bytes, Messenger& messenger,
                        const QvsReadOptions& options) {
    QvsOpenResult result;
    ClearWorld(world);
    ByteReader in(bytes.data(), bytes.size());

    if (options.CheckHeader) {
        const HeaderVerdict verdict = JudgeHeader(bytes, options);
        switch (verdict.Class) {
        case QvsFileClass::NotSimulation:
            world.ProjectKind = ProjectNone;
            return Refusal(QvsFileClass::NotSimulation, NotSimulationMessage, messenger);
        case QvsFileClass::Refused:
            result.Class = QvsFileClass::Refused;
            result.Message = verdict.VersionText;
            // After the answer No the user has seen the text already.
            if (!verdict.Answered) messenger.Show(MessageIcon::Error, result.Message);
            return result;
        case QvsFileClass::ConfirmationNeeded:
            result.Class = QvsFileClass::ConfirmationNeeded;
            result.Question = QuestionOf(verdict);
            return result;
        case QvsFileClass::Celestial:
            result.Class = QvsFileClass::Celestial;
            return result;
        default:
            break;
        }
        if (!verdict.Complete) in.Fail();
        result.AuthorText = verdict.AuthorText;
    }

    // The units and the material table are taken only once the whole file
    // has been read; until then the objects check their materials against
    // the count the file will give.
    const Parameters parametersBefore = world.Params;
    const UnitsSection units = LocateUnitsAndMaterials(in);
    const std::int64_t objects = in.Ok() ? ReadParameters(in, world, units.Next) : 0;
    ObjectSectionReport report;
    const int materialCount = units.HasTable ? units.MaterialCount : world.Materials.MaterialCount;
    if (in.Ok()) report = ReadObjects(in, world, objects, materialCount);
    // The embedded files are optional trailing data: a file that ends
    // before a length still opens, but a length that runs past the end or
    // beyond the limit is damage.
    for (std::vector<std::uint8_t>* embedded : {&result.Embedded.Background, &result.Embedded.Description}) {
        if (!in.Ok() || !in.Has(4)) break;
        const std::int32_t length = in.I32();
        if (length > EmbeddedFileLimit) in.Fail();
        *embedded = in.Bytes(length);
    }
    if (!in.Ok()) return RefuseAsDamaged(world, &parametersBefore, messenger);
    ApplyUnitsAndMaterials(in, units, world);

    // A file without supports does not hold the ZeroSupport; the slot keeps
    // its earlier material, which must still name a material of this table.
    if (world.Hands[0].Material > world.Materials.MaterialCount) world.Hands[0].Material = 0;
    // A DefaultMaterial beyond the table would give new objects a material
    // that indexes nothing.
    if (world.Params.DefaultMaterial > world.Materials.MaterialCount) {
        world.Params.DefaultMaterial = 0;
        report.UnknownMaterial = true;
    }
    if (report.UnknownMaterial) {
        result.Warnings.push_back(UnknownMaterialWarning);
        messenger.Show(MessageIcon::Warning, UnknownMaterialWarning);
    }
    world.ProjectKind = ProjectMechanical;
    world.Changed = false;
    result.Class = QvsFileClass::Mechanical;
    return result;
}

std::optional<QvsOpenResult> PathRefusal(const std::filesystem::path& path) {
    QvsOpenResult result;
    switch (native::Inspect(path).Kind) {
    case native::PathKind::Missing:
        result.Class = QvsFileClass::NotFound;
        result.Message = FileNotFoundMessage;
        return result;
    case native::PathKind::Folder:
        result.Class = QvsFileClass::NotAFile;
        result.Message = FolderNotFileMessage;
        return result;
    case native::PathKind::Special:
        result.Class = QvsFileClass::NotAFile;
        result.Message = NotRegularFileMessage;
        return result;
    case native::PathKind::Regular:
    case native::PathKind::Unknown:
        break;
    }
    return std::nullopt;
}

QvsOpenResult OpenQvs(World& world, const std::filesystem::path& path, Messenger& messenger,
                      const QvsReadOptions& options) {
    auto unreadable = [&] {
        ClearWorld(world);
        return Refusal(QvsFileClass::Refused, UnreadableFileMessage, messenger);
    };
    native::InputFile file;
    switch (file.Open(path)) {
    case native::InputFile::Status::Missing:
        return Refusal(QvsFileClass::NotFound, FileNotFoundMessage, messenger);
    case native::InputFile::Status::Folder:
        return Refusal(QvsFileClass::NotAFile, FolderNotFileMessage, messenger);
    case native::InputFile::Status::Special:
        return Refusal(QvsFileClass::NotAFile, NotRegularFileMessage, messenger);
    case native::InputFile::Status::Unreadable:
        return unreadable();
    case native::InputFile::Status::Ok:
        break;
    }

    // The header first: a file that is no simulation, or that this program
    // may not open, is refused whatever its length, with nothing more read.
    std::vector<std::uint8_t> bytes(HeaderSize);
    const std::optional<std::size_t> head = file.Read(bytes.data(), bytes.size());
    if (!head) return unreadable();
    bytes.resize(*head);
    QvsReadOptions decode = options;
    if (options.CheckHeader) {
        HeaderVerdict verdict = JudgeHeader(bytes, decode);
        if (verdict.Class == QvsFileClass::ConfirmationNeeded) {
            // The question comes after the World is cleared, as when the
            // decoder asked it itself.
            ClearWorld(world);
            decode.OpenNewerFile = messenger.AskYesNo(MessageIcon::Warning, QuestionOf(verdict));
            verdict = JudgeHeader(bytes, decode);
        }
        if (verdict.Class != QvsFileClass::Mechanical) return DecodeQvs(world, bytes, messenger, decode);
    }

    // Never more than the largest file the format holds: a longer one, a
    // sparse file of many gigabytes among them, is damage, found without
    // reading it. A file that grows while it is read is caught by reading
    // on to its end, still never beyond the limit.
    const auto limit = static_cast<std::size_t>(MaxQvsFileSize);
    if (file.Size() > limit) {
        ClearWorld(world);
        return RefuseAsDamaged(world, nullptr, messenger);
    }
    constexpr std::size_t Chunk = std::size_t{1} << 16;
    const auto expected = static_cast<std::size_t>(file.Size());
    bytes.reserve(expected + Chunk);
    for (;;) {
        const std::size_t have = bytes.size();
        const std::size_t wanted = have < expected ? expected - have : Chunk;
        bytes.resize(have + wanted);
        const std::optional<std::size_t> got = file.Read(bytes.data() + have, wanted);
        if (!got) return unreadable();
        bytes.resize(have + *got);
        if (bytes.size() > limit) {
            ClearWorld(world);
            return RefuseAsDamaged(world, nullptr, messenger);
        }
        if (*got < wanted) break;
    }
    return DecodeQvs(world, bytes, messenger, decode);
}

}  // namespace velo
