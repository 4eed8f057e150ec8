// The inclined plane window prpPlane: both ends, the length and inclination
// they give (shown only), the thickness, "Треугольная" and the material.
#pragma once

#include "forms/fixed_form.h"

namespace velo {

inline constexpr const char* PlaneTitle = "Свойства наклонной плоскости №";

class PlaneForm : public FixedForm<Plane> {
public:
    // The length and the angle are worked out afresh from the ends.
    PlaneForm(const World& world, int number);

    std::string Title() const { return NumberedTitle(PlaneTitle, Number()); }
    double Length() const { return copy_.Length; }
    // The inclination in the project's angle unit (in radians when the
    // unit is 0).
    double AngleShown(const UnitSystem& units) const;
    double Thickness() const { return 2 * copy_.HalfThickness; }
    bool Triangular() const { return copy_.Triangular == 1; }
    // A solid triangle has no thickness to show.
    bool ThicknessShown() const { return copy_.Triangular == 0; }

    void SetX1(double value);
    void SetY1(double value);
    void SetX2(double value);
    void SetY2(double value);
    // A thickness that PositiveThickness refuses never gets here.
    void SetThickness(double thickness) { copy_.HalfThickness = thickness / 2; }
    void SetTriangular(bool on) { copy_.Triangular = on ? 1 : 0; }
    void SetMaterial(int material) { copy_.Material = static_cast<std::uint8_t>(material); }

    // "ОК": the working copy replaces the record, and its half thickness
    // becomes the default of new objects.
    void Apply(World& world) const;
};

}  // namespace velo
