#include "forms/surface_form.h"

#include <algorithm>
#include <cmath>

namespace velo {

int ClampedVertexCount(double typed) {
    const double whole = std::floor(std::fabs(typed));
    if (!(whole >= 2)) return 2;  // also a NaN
    return whole >= SurfacePointCapacity ? SurfacePointCapacity : static_cast<int>(whole);
}

SurfaceForm::SurfaceForm(const World& world, int number) : FixedForm(world, KindSurface, number) {
    if (copy_.Points.size() < SurfacePointCapacity) copy_.Points.resize(SurfacePointCapacity);
    copy_.PointCount = std::clamp(copy_.PointCount, 0, SurfacePointCapacity);
}

int SurfaceForm::SetVertexCount(double typed) {
    copy_.PointCount = ClampedVertexCount(typed);
    SelectVertex(vertex_);
    return copy_.PointCount;
}

void SurfaceForm::SelectVertex(int k) { vertex_ = std::clamp(k, 0, std::max(0, copy_.PointCount - 1)); }

void SurfaceForm::Apply(World& world) const {
    Surface& record = SlotOf(world, KindSurface, Number());
    record = copy_;
    record.Marker = 0;
    // A surface may be a thin line; a new support or wall of no thickness
    // could not be picked, so only a real thickness becomes the default.
    if (copy_.HalfThickness > 0) world.Params.DefaultHalfThickness = copy_.HalfThickness;
    world.Params.DefaultMaterial = copy_.Material;
    MarkFixedSceneChanged(world);
    world.Changed = true;
}

}  // namespace velo
