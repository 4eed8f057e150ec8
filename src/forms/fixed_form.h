// What the property windows of the fixed objects (suspension point,
// support, wall, inclined plane, polyline and second-order surfaces) share:
// a working copy of one record, previewed in the record's own place and
// taken out again before the window closes or writes its copy back.
#pragma once

#include <string>
#include <type_traits>

#include "forms/number_input.h"
#include "model/world.h"
#include "model/world_ops.h"

namespace velo {

// Whether a fixed object of the kind (1, 2, 3, 4, 8 or 9) and number is
// live, so that a window may open for it: supports from number 0 (the
// ZeroSupport) on, the others from 1.
bool FixedObjectExists(const World& world, int kind, int number);

// A window caption: the head up to and including "№", a blank and the number.
std::string NumberedTitle(const char* head, int number);

// The materials a window lists: 0..MaterialCount. A record whose material
// lies beyond them (a damaged file) shows the default material instead.
int ListedMaterial(const World& world, int material);

// The largest coordinate (and curve parameter a or b) a window takes, in
// length units. An unreadable text reads as 1e300, and the contacts square
// distances: beyond this the step would overflow.
inline constexpr double LargestCoordinate = 1e9;
NumberInput::Check CoordinateCheck();

// Thickness fields: the thickness of a support, wall or plane must be a
// positive number (it becomes the default of every new one, and a bar of
// no thickness cannot be picked); a surface may have none. Both stop at
// twice the largest coordinate.
NumberInput::Check PositiveThickness();
NumberInput::Check NonNegativeThickness();

template <typename Record>
class FixedForm {
public:
    int Kind() const { return kind_; }
    int Number() const { return number_; }
    const Record& Copy() const { return copy_; }

    // Shows the working copy in the record's place, marked as the preview;
    // the record as it was is kept to be put back. The step's index of the
    // fixed obstacles is told, so that a run never sees a stale shape. Once
    // taken away the preview never comes back: the window is closing, and
    // a late event of one of its fields must not touch the World.
    void Preview(World& world) {
        if (finished_) return;
        Record& slot = Slot(world);
        if (!previewing_) {
            original_ = slot;
            previewing_ = true;
        }
        slot = copy_;
        slot.Marker = PreviewMarker;
        MarkFixedSceneChanged(world);
    }

    // What closing the window leaves, after "ОК" as after "Отмена": the
    // selection cleared, the edited kind current and, but for an inclined
    // plane or a second-order curve, the record itself selected.
    void SelectOnClosing(World& world) const {
        ClearSelection(world);
        world.CurrentKind = static_cast<std::uint8_t>(kind_);
        world.CurrentNumber = number_;
        if constexpr (!std::is_same_v<Record, Plane> && !std::is_same_v<Record, Surface2>) {
            Slot(world).Selected = true;
        }
    }

    // Puts the record back as it was before the first preview.
    void RemovePreview(World& world) {
        finished_ = true;
        if (!previewing_) return;
        Slot(world) = original_;
        previewing_ = false;
        MarkFixedSceneChanged(world);
    }

protected:
    // `number` must be one for which FixedObjectExists holds.
    FixedForm(const World& world, int kind, int number) : kind_(kind), number_(number) {
        copy_ = SlotOf(world, kind, number);
        copy_.Marker = 0;
    }

    template <typename AnyWorld>
    static auto& SlotOf(AnyWorld& world, int kind, int number) {
        const auto n = static_cast<std::size_t>(number);
        if constexpr (std::is_same_v<Record, Laval>) {
            return world.Lavals[n];
        } else if constexpr (std::is_same_v<Record, HandWall>) {
            return kind == KindWall ? world.Walls[n] : world.Hands[n];
        } else if constexpr (std::is_same_v<Record, Plane>) {
            return world.Planes[n];
        } else if constexpr (std::is_same_v<Record, Surface>) {
            return world.Surfaces[n];
        } else {
            static_assert(std::is_same_v<Record, Surface2>);
            return world.Surfaces2[n];
        }
    }
    Record& Slot(World& world) const { return SlotOf(world, kind_, number_); }

    Record copy_{};

private:
    int kind_;
    int number_;
    Record original_{};
    bool previewing_ = false;
    bool finished_ = false;
};

}  // namespace velo
