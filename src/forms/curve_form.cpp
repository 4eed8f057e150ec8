#include "forms/curve_form.h"

#include <cmath>

namespace velo {

NumberInput::Check CurveParameterCheck() { return WithinRange(-LargestCurveParameter, LargestCurveParameter); }

int CurveForm::TypeIndex() const {
    const int kind = copy_.SurfaceKind;
    return kind >= Parabola && kind <= Ellipse ? kind - 1 : Ellipse - 1;
}

void CurveForm::SetTypeIndex(int index) {
    if (index >= 0 && index <= Ellipse - 1) copy_.SurfaceKind = static_cast<std::uint8_t>(index + 1);
}

void CurveForm::CloseRange() {
    if (!CanCloseRange()) return;
    copy_.TFrom = ClosedRangeFrom;
    copy_.TTo = ClosedRangeTo;
}

void CurveForm::Apply(World& world) const {
    Surface2& record = SlotOf(world, KindSurface2, Number());
    record = copy_;
    record.Marker = 0;
    // As for the polyline surfaces: a thin curve leaves the default as it is.
    if (copy_.HalfThickness > 0) world.Params.DefaultHalfThickness = copy_.HalfThickness;
    world.Params.DefaultMaterial = copy_.Material;
    MarkFixedSceneChanged(world);
    world.Changed = true;
}

}  // namespace velo
