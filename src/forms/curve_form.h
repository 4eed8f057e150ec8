// The second-order surface window prpSurface2: the curve type, the centre,
// the turn (in radians), the parameters a and b, the range of t, the
// thickness and the material.
#pragma once

#include "forms/fixed_form.h"

namespace velo {

// The type list, in SurfaceKind order (parabola 1, hyperbola 2, ellipse 3).
inline constexpr const char* CurveTypeTexts[] = {"Парабола", "Гипербола", "Эллипс"};
inline constexpr const char* CurveTitles[] = {"Свойства параболы №", "Свойства гиперболы №", "Свойства эллипса №"};

// The t range "Замкнуть" gives an ellipse: a full turn.
inline constexpr double ClosedRangeFrom = 0;
inline constexpr double ClosedRangeTo = 6.28318530717958;

// The largest |t| the range fields (and the turn in radians) take. Nothing
// is lost: a parabola's arc is had with smaller t by scaling a and b, an
// ellipse repeats itself after 2 pi and a hyperbola overflows beyond 710;
// while the step's bounding of an ellipse arc walks its quarter turns one
// by one (without end from about 1e16 on).
inline constexpr double LargestCurveParameter = 1e6;
NumberInput::Check CurveParameterCheck();

class CurveForm : public FixedForm<Surface2> {
public:
    CurveForm(const World& world, int number) : FixedForm(world, KindSurface2, number) {}

    // Position in the type list: SurfaceKind - 1 (a kind out of range shows
    // as the ellipse, which is how it is drawn and struck).
    int TypeIndex() const;
    void SetTypeIndex(int index);
    // The caption of the current type followed by the number.
    std::string Title() const { return NumberedTitle(CurveTitles[TypeIndex()], Number()); }
    // "Замкнуть" closes only an ellipse.
    bool CanCloseRange() const { return TypeIndex() == Ellipse - 1; }
    void CloseRange();

    double Thickness() const { return 2 * copy_.HalfThickness; }
    // "Замкнутая поверхность": the arc is drawn as a filled figure.
    bool Closed() const { return copy_.Closed; }
    void SetClosed(bool on) { copy_.Closed = on; }

    // Values that CoordinateCheck refuses never get here.
    void SetCentreX(double value) { copy_.Centre.X = value; }
    void SetCentreY(double value) { copy_.Centre.Y = value; }
    void SetA(double value) { copy_.ParamA = value; }
    void SetB(double value) { copy_.ParamB = value; }
    // Values that CurveParameterCheck refuses never get here.
    void SetRotation(double radians) { copy_.Rotation = radians; }
    void SetTFrom(double value) { copy_.TFrom = value; }
    void SetTTo(double value) { copy_.TTo = value; }
    // A thickness that NonNegativeThickness refuses never gets here.
    void SetThickness(double thickness) { copy_.HalfThickness = thickness / 2; }
    void SetMaterial(int material) { copy_.Material = static_cast<std::uint8_t>(material); }

    // "ОК", for every type (the step finds the true contacts of all three
    // curves): the copy replaces the record; its material and (when above
    // 0) its half thickness become the defaults of new objects.
    void Apply(World& world) const;
};

}  // namespace velo
