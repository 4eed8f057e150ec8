#include "forms/bar_form.h"

#include <algorithm>

#include "model/derived_fields.h"

namespace velo {

BarCaptions BarCaptionsFor(int kind) {
    if (kind == KindWall) {
        return {"Свойства стены №", "Координата стены:", "Границы сверху и снизу:", "Толщина стены:"};
    }
    return {"Свойства опоры №", "Координата опоры:", "Границы слева и справа:", "Толщина опоры:"};
}

void BarForm::SetBound1(double value) {
    if (!IsZeroSupport()) copy_.Bound1 = value;
}

void BarForm::SetBound2(double value) {
    if (!IsZeroSupport()) copy_.Bound2 = value;
}

void BarForm::Apply(World& world) const {
    const double half = copy_.HalfThickness;
    world.Params.DefaultHalfThickness = half;
    HandWall& record = SlotOf(world, Kind(), Number());
    record.Coord = copy_.Coord;
    if (IsZeroSupport()) {
        if (world.Params.ZeroLevel != copy_.Coord) {
            world.Params.ZeroLevel = copy_.Coord;
            RecomputeBodies(world);
        }
    } else {
        record.Bound1 = std::min(copy_.Bound1, copy_.Bound2);
        record.Bound2 = std::max(copy_.Bound1, copy_.Bound2);
    }
    record.Material = copy_.Material;
    if (half > 0) record.HalfThickness = half;
    MarkFixedSceneChanged(world);
    world.Changed = true;
}

}  // namespace velo
