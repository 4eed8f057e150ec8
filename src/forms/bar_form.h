// The window prpHandWall of a support (kind 2) or a wall (kind 3): the
// coordinate, the two bounds, the thickness and the material. Support 0,
// the ZeroSupport, lies at the zero level and has no bounds to edit.
#pragma once

#include "forms/fixed_form.h"

namespace velo {

struct BarCaptions {
    const char* Title;      // "Свойства опоры №" / "Свойства стены №"
    const char* Coord;      // "Координата опоры:" / "Координата стены:"
    const char* Bounds;     // "Границы слева и справа:" / "Границы сверху и снизу:"
    const char* Thickness;  // "Толщина опоры:" / "Толщина стены:"
};
BarCaptions BarCaptionsFor(int kind);

// What the ZeroSupport's bound fields show.
inline constexpr const char* NoBoundText = "Нет";

class BarForm : public FixedForm<HandWall> {
public:
    // kind is KindHand or KindWall.
    BarForm(const World& world, int kind, int number) : FixedForm(world, kind, number) {}

    std::string Title() const { return NumberedTitle(BarCaptionsFor(Kind()).Title, Number()); }
    bool IsZeroSupport() const { return Kind() == KindHand && Number() == 0; }
    // The thickness field shows the whole thickness, the record half of it.
    double Thickness() const { return 2 * copy_.HalfThickness; }

    void SetCoord(double value) { copy_.Coord = value; }
    // The ZeroSupport keeps its bounds.
    void SetBound1(double value);
    void SetBound2(double value);
    // A thickness that PositiveThickness refuses never gets here.
    void SetThickness(double thickness) { copy_.HalfThickness = thickness / 2; }
    void SetMaterial(int material) { copy_.Material = static_cast<std::uint8_t>(material); }

    // "ОК": the half thickness becomes the default of new objects; the
    // record takes the coordinate, the bounds in increasing order (the
    // segment covers the range between them whichever was typed first), the
    // material and the thickness. For the ZeroSupport its coordinate becomes
    // the zero level, and the potential energies of the bodies follow.
    void Apply(World& world) const;
};

}  // namespace velo
