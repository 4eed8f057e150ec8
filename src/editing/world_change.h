// What one edit changed in the World, so that the edit can be taken back and
// done again. Only the records that differ are kept (by table and number),
// and of a record of plain bytes only the bytes that differ: deleting 400
// balls keeps a few bytes of each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/world.h"

namespace velo {

// One byte of a record that the edit changed.
struct ByteChange {
    std::uint32_t Offset = 0;
    std::uint8_t Before = 0;
    std::uint8_t After = 0;
};

// A record of plain bytes: only the bytes the edit changed, before and
// after. Undo and redo set those bytes and leave the others as they are, so
// what changed since without an edit (the selection, a run) stays.
template <typename Record>
struct PlainRecordChange {
    static_assert(std::is_trivially_copyable_v<Record>);
    int Number = 0;
    std::vector<ByteChange> Bytes;
};

// A record holding text or vertex lists: whole before and after.
template <typename Record>
struct WholeRecordChange {
    int Number = 0;
    Record Before;
    Record After;
};

// A polyline surface: its fields before and after, and its vertex list only
// when the edit changed it (a thousand vertices each).
struct SurfaceChange {
    int Number = 0;
    Surface Before;  // with no vertices
    Surface After;   // with no vertices
    bool PointsChanged = false;
    std::vector<Vec2> PointsBefore, PointsAfter;
};

struct TableCounts {
    std::int32_t Laval = 0, Hand = 0, Wall = 0, Plane = 0, Ball = 0, Thread = 0, Peg = 0, Surface = 0,
                 Surface2 = 0, HBody = 0;
    friend bool operator==(const TableCounts&, const TableCounts&) = default;
};

struct WorldChange {
    std::vector<PlainRecordChange<Laval>> Lavals;
    std::vector<PlainRecordChange<HandWall>> Hands;
    std::vector<PlainRecordChange<HandWall>> Walls;
    std::vector<PlainRecordChange<Plane>> Planes;
    std::vector<PlainRecordChange<Ball>> Balls;
    std::vector<PlainRecordChange<Thread>> Threads;
    std::vector<PlainRecordChange<Peg>> Pegs;
    std::vector<SurfaceChange> Surfaces;
    std::vector<PlainRecordChange<Surface2>> Surfaces2;
    std::vector<WholeRecordChange<HBody>> HBodies;

    TableCounts CountsBefore, CountsAfter;
    // Held apart: the material table alone is half a megabyte.
    std::shared_ptr<const std::pair<UnitSystem, UnitSystem>> Units;
    std::shared_ptr<const std::pair<Parameters, Parameters>> Params;
    std::shared_ptr<const std::pair<CelestialParameters, CelestialParameters>> Celestial;
    std::shared_ptr<const std::pair<MaterialTable, MaterialTable>> Materials;
    // The simulated time, when the edit set it (an imported scene brings
    // its own).
    std::optional<std::pair<double, double>> Time;
    std::pair<std::uint8_t, std::uint8_t> CurrentKind{};
    std::pair<std::int32_t, std::int32_t> CurrentNumber{};
    std::pair<bool, bool> Changed{};

    // Nothing but the current object and the changed flag differ.
    bool Empty() const;
    // A fixed object (suspension point, support, wall, plane, surface) or the
    // parameters changed: the step must look at the fixed scene again.
    bool TouchesFixedScene() const;
    // Memory the change holds, in bytes.
    std::size_t Bytes() const;
};

// The records of `after` that differ from `before`.
WorldChange DiffWorlds(const World& before, const World& after);

// Brings the World to the state before or after the change. Fixed objects
// that the change touches are marked for the step. The celestial view (angles and
// projection distance) is set only by a step that changed it, so the keypad
// zoom since survives the undo of other steps.
void UndoChange(World& world, const WorldChange& change);
void RedoChange(World& world, const WorldChange& change);

}  // namespace velo
