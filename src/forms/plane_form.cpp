#include "forms/plane_form.h"

#include <cmath>

#include "forms/unit_labels.h"
#include "model/derived_fields.h"

namespace velo {

PlaneForm::PlaneForm(const World& world, int number) : FixedForm(world, KindPlane, number) { RecomputePlane(copy_); }

double PlaneForm::AngleShown(const UnitSystem& units) const {
    // A damaged file may hold no usable unit: radians are shown then.
    const double shown = ToAngleUnit(copy_.Angle, units);
    return std::isfinite(shown) ? shown : copy_.Angle;
}

void PlaneForm::SetX1(double value) {
    copy_.P1.X = value;
    RecomputePlane(copy_);
}

void PlaneForm::SetY1(double value) {
    copy_.P1.Y = value;
    RecomputePlane(copy_);
}

void PlaneForm::SetX2(double value) {
    copy_.P2.X = value;
    RecomputePlane(copy_);
}

void PlaneForm::SetY2(double value) {
    copy_.P2.Y = value;
    RecomputePlane(copy_);
}

void PlaneForm::Apply(World& world) const {
    Plane& record = SlotOf(world, KindPlane, Number());
    record = copy_;
    record.Marker = 0;
    world.Params.DefaultHalfThickness = copy_.HalfThickness;
    MarkFixedSceneChanged(world);
    world.Changed = true;
}

}  // namespace velo
