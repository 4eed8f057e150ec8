// What one edit changed in the World, as plain records before and after, so
// that the edit can be taken back and done again. Only the records that
// differ are kept (by table and number), and of a record that keeps its
// layout only the bytes that differ after the edit: deleting 400 balls keeps
// 400 records and a few bytes each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/world.h"

namespace velo {

// A record of plain bytes: the record before and the bytes that differ after.
template <typename Record>
struct PlainRecordChange {
    static_assert(std::is_trivially_copyable_v<Record>);
    int Number = 0;
    Record Before;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> AfterBytes;
};

// A record holding text or vertex lists: whole before and after.
template <typename Record>
struct WholeRecordChange {
    int Number = 0;
    Record Before;
    Record After;
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
    std::vector<WholeRecordChange<Surface>> Surfaces;
    std::vector<PlainRecordChange<Surface2>> Surfaces2;
    std::vector<WholeRecordChange<HBody>> HBodies;

    TableCounts CountsBefore, CountsAfter;
    // Held apart: the material table alone is half a megabyte.
    std::shared_ptr<const std::pair<UnitSystem, UnitSystem>> Units;
    std::shared_ptr<const std::pair<Parameters, Parameters>> Params;
    std::shared_ptr<const std::pair<CelestialParameters, CelestialParameters>> Celestial;
    std::shared_ptr<const std::pair<MaterialTable, MaterialTable>> Materials;
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
// that the change touches are marked for the step.
void UndoChange(World& world, const WorldChange& change);
void RedoChange(World& world, const WorldChange& change);

}  // namespace velo
