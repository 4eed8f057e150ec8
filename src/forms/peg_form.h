// The rod window "Свойства стержня №" with its section window and its
// centre-of-mass window: the working copy, the checks of every field, the
// texts the windows compose and how the copy goes back into the World.
//
// The working copy is previewed in the scene: it sits in slot 0 of the rod
// table (drawn in the changeable colour), the rod itself is hidden, and the
// balls fastened at the copy's ends are carried along with it. Everything
// the preview touched is remembered on opening and put back byte for byte
// by RemovePreview, so that the World holds nothing of the window but what
// Apply writes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/parse_number.h"
#include "model/world.h"

namespace velo {

// The captions of the end boxes before the name of the fastened ball.
inline constexpr const char* FirstEndCaption = "Привязка первого конца";
inline constexpr const char* SecondEndCaption = "Привязка второго конца";

// The input box of ". . .".
inline constexpr const char* HangFractionPrompt = "Где закрепить стержень?\n\n0-первый конец, 1-второй конец";

// Entries of the section list: position 0 the rectangle (SectionShape 1),
// position 1 the ellipse (SectionShape 0).
inline constexpr const char* SectionShapeTexts[] = {"Прямоугольник", "Эллипс"};

// The densest material and the deepest section a rod may have: beyond them
// its mass or moment of inertia would no longer be a number.
inline constexpr double LargestRodDensity = 1e80;
inline constexpr double LargestRodDepth = 1e80;

class PegForm {
public:
    // Opens the window on rod `number` (a live rod): remembers what the
    // preview will touch, copies the rod into slot 0, hides the rod and
    // shows the copy.
    PegForm(World& scene, int number, NumberLocale locale = {});

    int Number() const { return number_; }
    const Peg& Copy() const { return copy_; }
    const World& Scene() const { return scene_; }

    // The checks of the fields. Each also refuses a value with which the
    // rod or a ball it carries would get a mass, moment of inertia or energy
    // that is no longer a number (1e300 rad/s squared in the kinetic energy).
    // Length: at most 40000 / FieldScale and at least twice the width and
    // twice the depth.
    bool LengthAllowed(double length) const;
    // Width: 1e-80 to 100 / FieldScale.
    bool WidthAllowed(double width) const;
    bool DepthAllowed(double depth) const;
    bool DensityAllowed(double density) const;
    // Angle and angular velocity in the project's angle unit.
    bool PhiAllowed(double shown) const;
    bool OmegaAllowed(double shown) const;
    // A centre coordinate: within the largest coordinate a window takes.
    bool CentreAllowed(int axis, double value) const;
    // The layer: a whole number 0 to 255.
    static bool LayerAllowed(double value);
    // A whole number naming a live suspension point within the count.
    bool LavalAllowed(double value) const;

    // Edits of the copy; each previews the copy again. The checked ones
    // return false and change nothing for a refused value.
    bool SetLength(double length);
    bool SetWidth(double width);
    bool SetDepth(double depth);
    bool SetDensity(double density);
    // Section list position: 0 rectangle, 1 ellipse.
    void SetSectionShape(int position);
    int SectionShapePosition() const { return 1 - copy_.SectionShape; }
    // A material of the table: the copy takes its density. False, and
    // nothing changed, when that density does not fit the rod as it is.
    bool SetMaterial(int material);
    // Angle and angular velocity in the project's angle unit.
    bool SetPhi(double shown);
    bool SetOmega(double shown);
    double ShownPhi() const;
    double ShownOmega() const;
    double ShownEpsilon() const;
    // The rotation centre, only of a rod that is not hung (false then).
    bool SetCentre(int axis, double value);
    void SetLayer(int layer);
    void SetFrozen(bool frozen);
    bool Frozen() const { return !copy_.Movable; }

    // Hanging.
    bool Hung() const { return copy_.HangLaval > 0; }
    // "Привязка к подвесу" may be ticked: a suspension point exists.
    bool CanHang() const;
    // The number the point's field starts with: the rod's point when it is
    // a live one, else the first live point (0 when there is none).
    int InitialLaval() const;
    // The next live point below (direction −1) or above (+1) `from` within
    // the count; `from` when there is none.
    int StepLaval(int from, int direction) const;
    // Hangs the copy on `laval` (> 0) or frees it (0). A freed rod keeps
    // its ends where they were and turns about its centre of mass from then
    // on.
    void SetHangLaval(int laval);
    // The answer of the ". . ." box read as the hanging fraction, clamped to
    // [0, 1] (a text that is no number reads 0).
    void SetHangFraction(std::string_view answer);
    std::string HangFractionText() const;

    // The end boxes: ticked while a ball is fastened at that end of the
    // copy; enabled while the end's ball is there to fasten (a live ball
    // that is free or fastened to this rod).
    bool EndFastened(int end) const;
    bool EndFastenable(int end) const;
    void SetEndFastened(int end, bool fastened);
    // "Привязка первого конца к шару №3" or the bare caption.
    std::string EndCaption(int end) const;

    // The centre-of-mass text of the system and the point the fields below
    // it show.
    std::string CentreOfMassText() const;
    Vec2 ShownCentre() const;

    // "Свойства стержня № n".
    std::string Caption() const;
    // "Координаты концов стержня (м)".
    std::string EndsCaption() const;

    // Takes the preview out of the scene: slot 0, the rod and the balls the
    // copy carried are as they were before the window opened; the rod is
    // the current object. Called once, before Apply.
    void RemovePreview();
    // Writes the copy over the rod (the balls of freed ends let go, those of
    // fastened ends held) and normalises it with its balls.
    void Apply(World& world) const;

private:
    void Preview();
    // The copy with `change` made, when everything it and its balls derive
    // from it stays a number.
    template <typename Change>
    bool Sound(Change change) const;
    int EndBall(int end) const;
    double CentreOfMassOffset() const;

    World& scene_;
    int number_;
    NumberLocale locale_;
    Peg copy_;
    Peg savedRod_;
    Peg savedSlot_;
    std::vector<std::pair<int, Ball>> savedBalls_;
    std::uint8_t endKind_[2] = {0, 0};  // the end kinds the rod came with
    bool previewing_ = false;
};

}  // namespace velo
