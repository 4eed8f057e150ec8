#include "record/record_csv.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>

namespace velo {
namespace {

// Shortest text that reads back to the same double, with a decimal point
// in every locale; not a number (a missing object) is an empty cell.
void PutNumber(std::ostream& out, double value) {
    if (std::isnan(value)) return;
    if (std::isinf(value)) {
        out << (value > 0 ? "inf" : "-inf");
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.write(text, result.ptr - text);
}

// Whole numbers too bypass the stream's locale, which may group digits.
void PutInteger(std::ostream& out, long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.write(text, result.ptr - text);
}

// A cell as RFC 4180 wants it: quoted when it holds a separator, a quote
// or a line break (unit names are the user's own texts).
void PutText(std::ostream& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (char c : text) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

std::string WithUnit(std::string caption, UnitKind unit, const UnitSystem& units) {
    return caption + " (" + UnitLabel(unit, units) + ")";
}

const char* KindName(const World& world, int kind, int number) {
    switch (kind) {
    case KindNone: return "Сцена";
    case KindLaval: return "Подвес";
    case KindHand: return "Опора";
    case KindWall: return "Стена";
    case KindPlane: return "Наклонная плоскость";
    case KindBall:
    case KindCylinder:
        // The shape is the ball's own now, whichever kind named it.
        if (number >= 1 && number <= BallCapacity &&
            world.Balls[static_cast<std::size_t>(number)].Shape == ShapeCylinder) {
            return "Цилиндр";
        }
        return kind == KindCylinder ? "Цилиндр" : "Шар";
    case KindThread: return "Нить";
    case KindPeg: return "Стержень";
    case KindSurface: return "Поверхность";
    case KindSurface2: return "Поверхность второго порядка";
    default: return "Объект";
    }
}

}  // namespace

std::string SeriesObjectName(const World& world, const SeriesKey& key) {
    if (key.Kind == KindNone) return KindName(world, KindNone, 0);
    return std::string(KindName(world, key.Kind, key.Number)) + " №" + std::to_string(key.Number);
}

std::string SeriesTitle(const World& world, const SeriesKey& key) {
    return SeriesObjectName(world, key) + ": " + InfoOf(key.What).Name;
}

std::string SeriesHeader(const World& world, const SeriesKey& key) {
    return WithUnit(SeriesTitle(world, key), InfoOf(key.What).Unit, world.Units);
}

void WriteByteOrderMark(std::ostream& out) { out << Utf8ByteOrderMark; }

void WriteRecordingHeader(std::ostream& out, std::span<const SeriesKey> keys, const World& world, bool byteOrderMark) {
    if (byteOrderMark) WriteByteOrderMark(out);
    PutText(out, WithUnit("T", UnitKind::Time, world.Units));
    for (const SeriesKey& key : keys) {
        out << ',';
        PutText(out, SeriesHeader(world, key));
    }
    out << '\n';
}

void WriteRecordingRow(std::ostream& out, double time, std::span<const SeriesKey> keys, std::span<const double> values,
                       const World& world) {
    PutNumber(out, time);
    for (std::size_t s = 0; s < keys.size(); ++s) {
        out << ',';
        if (s < values.size()) PutNumber(out, DisplayValue(InfoOf(keys[s].What).Unit, values[s], world.Units));
    }
    out << '\n';
}

void WriteRecordingCsv(std::ostream& out, const Recorder& recorder, const World& world, bool byteOrderMark) {
    const std::size_t seriesCount = recorder.SeriesCount();
    std::vector<SeriesKey> keys(seriesCount);
    for (std::size_t s = 0; s < seriesCount; ++s) keys[s] = recorder.KeyAt(s);
    WriteRecordingHeader(out, keys, world, byteOrderMark);
    std::vector<std::size_t> first(seriesCount);
    std::vector<UnitKind> units(seriesCount);
    for (std::size_t s = 0; s < seriesCount; ++s) {
        first[s] = recorder.FirstInstant(s);
        units[s] = InfoOf(recorder.KeyAt(s).What).Unit;
    }
    for (std::size_t k = 0; k < recorder.SampleCount(); ++k) {
        PutNumber(out, recorder.SampleTime(k));
        for (std::size_t s = 0; s < seriesCount; ++s) {
            out << ',';
            if (k >= first[s]) PutNumber(out, DisplayValue(units[s], recorder.Value(s, k - first[s]), world.Units));
        }
        out << '\n';
    }
}

void WriteCollisionHeader(std::ostream& out, const World& world, bool byteOrderMark) {
    if (byteOrderMark) WriteByteOrderMark(out);
    const UnitSystem& u = world.Units;
    const std::string momentum = UnitLabel(UnitKind::Momentum, u);
    const std::string velocity = UnitLabel(UnitKind::Velocity, u);
    const std::string header[] = {
        "Шаг",
        WithUnit("T", UnitKind::Time, u),
        "Объект 1",
        "№ 1",
        "Объект 2",
        "№ 2",
        "Нормальный импульс (" + momentum + ")",
        "Касательный импульс (" + momentum + ")",
        "v1x до (" + velocity + ")",
        "v1y до (" + velocity + ")",
        "v1x после (" + velocity + ")",
        "v1y после (" + velocity + ")",
        "v2x до (" + velocity + ")",
        "v2y до (" + velocity + ")",
        "v2x после (" + velocity + ")",
        "v2y после (" + velocity + ")",
    };
    for (std::size_t i = 0; i < std::size(header); ++i) {
        if (i != 0) out << ',';
        PutText(out, header[i]);
    }
    out << '\n';
}

void WriteCollisionRow(std::ostream& out, const ImpulseEvent& e, const World& world) {
    PutInteger(out, e.Step);
    out << ',';
    PutNumber(out, e.Time);
    out << ',' << KindName(world, e.FirstKind, e.FirstNumber) << ',';
    PutInteger(out, e.FirstNumber);
    out << ',' << KindName(world, e.SecondKind, e.SecondNumber) << ',';
    PutInteger(out, e.SecondNumber);
    for (double value : {e.NormalImpulse, e.TangentialImpulse, e.FirstBefore.X, e.FirstBefore.Y, e.FirstAfter.X,
                         e.FirstAfter.Y, e.SecondBefore.X, e.SecondBefore.Y, e.SecondAfter.X, e.SecondAfter.Y}) {
        out << ',';
        PutNumber(out, value);
    }
    out << '\n';
}

void WriteCollisionCsv(std::ostream& out, const CollisionLog& log, const World& world, bool byteOrderMark) {
    WriteCollisionHeader(out, world, byteOrderMark);
    for (std::size_t i = 0; i < log.Count(); ++i) WriteCollisionRow(out, log.At(i), world);
}

}  // namespace velo
