#include "editing/world_change.h"

#include <algorithm>
#include <cstring>

#include "model/world_ops.h"

namespace velo {
namespace {

template <typename Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

template <typename Record, std::size_t N>
void DiffPlain(const std::array<Record, N>& before, const std::array<Record, N>& after,
               std::vector<PlainRecordChange<Record>>& out) {
    for (std::size_t n = 0; n < N; ++n) {
        if (SameBytes(before[n], after[n])) continue;
        PlainRecordChange<Record> change;
        change.Number = static_cast<int>(n);
        const auto* a = reinterpret_cast<const std::uint8_t*>(&before[n]);
        const auto* b = reinterpret_cast<const std::uint8_t*>(&after[n]);
        for (std::uint32_t k = 0; k < sizeof(Record); ++k) {
            if (a[k] != b[k]) change.Bytes.push_back({k, a[k], b[k]});
        }
        change.Bytes.shrink_to_fit();
        out.push_back(std::move(change));
    }
    out.shrink_to_fit();
}

template <typename Record, std::size_t N>
void DiffWhole(const std::array<Record, N>& before, const std::array<Record, N>& after,
               std::vector<WholeRecordChange<Record>>& out) {
    for (std::size_t n = 0; n < N; ++n) {
        if (before[n] == after[n]) continue;
        out.push_back({static_cast<int>(n), before[n], after[n]});
    }
}

template <std::size_t N>
void DiffSurfaces(const std::array<Surface, N>& before, const std::array<Surface, N>& after,
                  std::vector<SurfaceChange>& out) {
    for (std::size_t n = 0; n < N; ++n) {
        if (before[n] == after[n]) continue;
        SurfaceChange change;
        change.Number = static_cast<int>(n);
        change.Before = before[n];
        change.After = after[n];
        change.Before.Points.clear();
        change.Before.Points.shrink_to_fit();
        change.After.Points.clear();
        change.After.Points.shrink_to_fit();
        change.PointsChanged = before[n].Points != after[n].Points;
        if (change.PointsChanged) {
            change.PointsBefore = before[n].Points;
            change.PointsAfter = after[n].Points;
        }
        out.push_back(std::move(change));
    }
}

template <std::size_t N>
void Restore(std::array<Surface, N>& table, const std::vector<SurfaceChange>& changes, bool after) {
    for (const SurfaceChange& change : changes) {
        Surface& record = table[static_cast<std::size_t>(change.Number)];
        std::vector<Vec2> points = change.PointsChanged ? (after ? change.PointsAfter : change.PointsBefore)
                                                        : std::move(record.Points);
        record = after ? change.After : change.Before;
        record.Points = std::move(points);
    }
}

template <typename Record, std::size_t N>
void Restore(std::array<Record, N>& table, const std::vector<PlainRecordChange<Record>>& changes, bool after) {
    for (const auto& change : changes) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(&table[static_cast<std::size_t>(change.Number)]);
        for (const ByteChange& b : change.Bytes) bytes[b.Offset] = after ? b.After : b.Before;
    }
}

template <typename Record, std::size_t N>
void Restore(std::array<Record, N>& table, const std::vector<WholeRecordChange<Record>>& changes, bool after) {
    for (const auto& change : changes) table[static_cast<std::size_t>(change.Number)] = after ? change.After : change.Before;
}

template <typename Value>
void DiffValue(const Value& before, const Value& after, std::shared_ptr<const std::pair<Value, Value>>& out) {
    if (!(before == after)) out = std::make_shared<const std::pair<Value, Value>>(before, after);
}

template <typename Value>
void RestoreValue(Value& value, const std::shared_ptr<const std::pair<Value, Value>>& change, bool after) {
    if (change) value = after ? change->second : change->first;
}

// The view angles and the projection distance are restored only by a step
// that changed them: the keypad zoom of the celestial view is no step, and
// undoing an earlier edit of the constants must not take the zoom back.
using CelestialChange = std::shared_ptr<const std::pair<CelestialParameters, CelestialParameters>>;

void RestoreCelestial(CelestialParameters& value, const CelestialChange& change, bool after) {
    if (!change) return;
    const auto& [before, afterValue] = *change;
    const bool viewChanged = before.ViewAngleH != afterValue.ViewAngleH || before.ViewAngleV != afterValue.ViewAngleV ||
                             before.ObserverDistance != afterValue.ObserverDistance;
    const CelestialParameters& target = after ? afterValue : before;
    CelestialParameters restored = target;
    if (!viewChanged) {
        restored.ViewAngleH = value.ViewAngleH;
        restored.ViewAngleV = value.ViewAngleV;
        restored.ObserverDistance = value.ObserverDistance;
    }
    value = restored;
}

TableCounts CountsOf(const World& w) {
    return {w.LavalCount, w.HandCount, w.WallCount, w.PlaneCount, w.BallCount,
            w.ThreadCount, w.PegCount, w.SurfaceCount, w.Surface2Count, w.HBodyCount};
}

void SetCounts(World& w, const TableCounts& c) {
    w.LavalCount = c.Laval;
    w.HandCount = c.Hand;
    w.WallCount = c.Wall;
    w.PlaneCount = c.Plane;
    w.BallCount = c.Ball;
    w.ThreadCount = c.Thread;
    w.PegCount = c.Peg;
    w.SurfaceCount = c.Surface;
    w.Surface2Count = c.Surface2;
    w.HBodyCount = c.HBody;
}

void Apply(World& w, const WorldChange& c, bool after) {
    Restore(w.Lavals, c.Lavals, after);
    Restore(w.Hands, c.Hands, after);
    Restore(w.Walls, c.Walls, after);
    Restore(w.Planes, c.Planes, after);
    Restore(w.Balls, c.Balls, after);
    Restore(w.Threads, c.Threads, after);
    Restore(w.Pegs, c.Pegs, after);
    Restore(w.Surfaces, c.Surfaces, after);
    Restore(w.Surfaces2, c.Surfaces2, after);
    Restore(w.HBodies, c.HBodies, after);
    SetCounts(w, after ? c.CountsAfter : c.CountsBefore);
    RestoreValue(w.Units, c.Units, after);
    RestoreValue(w.Params, c.Params, after);
    RestoreCelestial(w.Celestial, c.Celestial, after);
    RestoreValue(w.Materials, c.Materials, after);
    if (c.Time) w.T = after ? c.Time->second : c.Time->first;
    w.CurrentKind = after ? c.CurrentKind.second : c.CurrentKind.first;
    w.CurrentNumber = after ? c.CurrentNumber.second : c.CurrentNumber.first;
    w.Changed = after ? c.Changed.second : c.Changed.first;
    MarkFixedSceneChanged(w);
}

template <typename Change>
std::size_t PlainBytes(const std::vector<Change>& changes) {
    std::size_t bytes = changes.capacity() * sizeof(Change);
    for (const Change& c : changes) bytes += c.Bytes.capacity() * sizeof(ByteChange);
    return bytes;
}

}  // namespace

bool WorldChange::Empty() const {
    return Lavals.empty() && Hands.empty() && Walls.empty() && Planes.empty() && Balls.empty() &&
           Threads.empty() && Pegs.empty() && Surfaces.empty() && Surfaces2.empty() && HBodies.empty() &&
           CountsBefore == CountsAfter && !Units && !Params && !Celestial && !Materials && !Time;
}

bool WorldChange::TouchesFixedScene() const {
    return !Lavals.empty() || !Hands.empty() || !Walls.empty() || !Planes.empty() || !Surfaces.empty() ||
           !Surfaces2.empty() || Params != nullptr;
}

std::size_t WorldChange::Bytes() const {
    std::size_t bytes = sizeof(WorldChange) + PlainBytes(Lavals) + PlainBytes(Hands) + PlainBytes(Walls) +
                        PlainBytes(Planes) + PlainBytes(Balls) + PlainBytes(Threads) + PlainBytes(Pegs) +
                        PlainBytes(Surfaces2);
    bytes += Surfaces.capacity() * sizeof(SurfaceChange);
    for (const auto& s : Surfaces) bytes += (s.PointsBefore.capacity() + s.PointsAfter.capacity()) * sizeof(Vec2);
    bytes += HBodies.capacity() * sizeof(WholeRecordChange<HBody>);
    if (Units) bytes += sizeof(*Units);
    if (Params) bytes += sizeof(*Params);
    if (Celestial) bytes += sizeof(*Celestial);
    if (Materials) bytes += sizeof(*Materials);
    return bytes;
}

WorldChange DiffWorlds(const World& before, const World& after) {
    WorldChange c;
    DiffPlain(before.Lavals, after.Lavals, c.Lavals);
    DiffPlain(before.Hands, after.Hands, c.Hands);
    DiffPlain(before.Walls, after.Walls, c.Walls);
    DiffPlain(before.Planes, after.Planes, c.Planes);
    DiffPlain(before.Balls, after.Balls, c.Balls);
    DiffPlain(before.Threads, after.Threads, c.Threads);
    DiffPlain(before.Pegs, after.Pegs, c.Pegs);
    DiffSurfaces(before.Surfaces, after.Surfaces, c.Surfaces);
    DiffPlain(before.Surfaces2, after.Surfaces2, c.Surfaces2);
    DiffWhole(before.HBodies, after.HBodies, c.HBodies);
    c.CountsBefore = CountsOf(before);
    c.CountsAfter = CountsOf(after);
    DiffValue(before.Units, after.Units, c.Units);
    DiffValue(before.Params, after.Params, c.Params);
    DiffValue(before.Celestial, after.Celestial, c.Celestial);
    DiffValue(before.Materials, after.Materials, c.Materials);
    if (before.T != after.T) c.Time = std::pair{before.T, after.T};
    c.CurrentKind = {before.CurrentKind, after.CurrentKind};
    c.CurrentNumber = {before.CurrentNumber, after.CurrentNumber};
    c.Changed = {before.Changed, after.Changed};
    return c;
}

void UndoChange(World& world, const WorldChange& change) { Apply(world, change, false); }
void RedoChange(World& world, const WorldChange& change) { Apply(world, change, true); }

}  // namespace velo
