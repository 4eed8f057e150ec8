// The selection of the scene and the commands that act on it as a group:
// counting, selecting all or the linked objects, copying, deleting.
#pragma once

#include <array>

#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// Selected existing objects by kind code (5 balls, 10 cylinders, 20
// celestial bodies; supports from the ZeroSupport on; threads not counted),
// with the totals of fixed (1, 2, 3, 4, 8, 9) and movable (5, 7, 10) ones.
struct SelectionCounts {
    std::array<int, 256> ByKind{};
    int Fixed = 0;
    int Movable = 0;
    int Total() const { return Fixed + Movable + ByKind[KindHBody]; }
};
SelectionCounts CountSelect(const World& world);

// Inverts Selected of the object of kind code `kind` (as the hit test gives
// it) and makes it the current object; a curve is recorded as kind 9.
void ToggleSelected(World& world, int kind, int number);

// "Выбрать всё": every slot 1..count of every kind but threads, supports
// from 0 (from 1 with `skipZeroSupport`); the last slot of the last
// non-empty kind ends as the current object.
void SelectAll(World& world, bool skipZeroSupport);

// "Выбрать связанные": two rounds of spreading the selection from points to
// the rods hanging on them, from carried balls to their rods, and from rods
// to their balls and points.
void SelectLinked(World& world);

// The rubber rectangle: every existing suspension point, ball and cylinder
// whose position lies in the rectangle of corners a and b (model units)
// becomes selected, every other one unselected.
void SelectInRectangle(World& world, Vec2 a, Vec2 b);

// "Копировать": copies every selected object, kind by kind, offset by
// (+2, +1) length units; the copies end selected and their sources not. A
// full table stops the copying of its kind; those sources stay selected.
void CopySelected(World& world);

// "Удалить": deletes every selected object, releasing what refers to it.
void DeleteSelected(World& world);

// "Пометки": inverts Marked of every selected ball and cylinder.
void ToggleMarksOfSelected(World& world);

}  // namespace velo
