// The ball and cylinder window prpBall: its working copy of one ball, what
// each field shows, which typed values each field takes and what they
// change. The window previews the copy in slot 0 of the ball table (the
// EditCopy) with the original hidden, and "ОК" writes the copy back.
#pragma once

#include <optional>
#include <string>

#include "model/world.h"

namespace velo {

inline constexpr const char* BallCaption = "Свойства шара №";
inline constexpr const char* CylinderCaption = "Свойства цилиндра №";
inline constexpr const char* BindLavalText = "к подвесу";
inline constexpr const char* BindPegText = "к стержню";

// The numbers a user can type into the window: the five constants first,
// in the order of their fields txtConst(0..4).
enum BallValue : int {
    ValueMass = 0,
    ValueDensity = 1,
    ValueRadius = 2,
    ValueVolume = 3,
    ValueLength = 4,
    ValuePositionX,
    ValuePositionY,
    ValueVelocityX,
    ValueVelocityY,
    ValuePhi,
    ValueOmega,
    ValueInertiaFactor,
    ValueDragLinear,
    ValueDragQuadratic,
};
inline constexpr int BallConstantCount = 5;
inline constexpr int BallValueCount = 14;

// Entries of the attachment list.
enum BindListEntry : int { BindListLaval = 0, BindListPeg = 1 };

// K of a uniform body of the shape: 0.4 for a ball, 0.5 for a cylinder.
double UniformInertiaFactor(int shape);

// Which ends of rod `rod` have nothing fastened: 1 for the first end, 2 for
// the second, 3 for both; 0 for a number that names no live rod.
int StatusPeg(const World& world, int rod);
// The first rod from `start` up (or down) with a free end; 0 when none.
int FindPeg(const World& world, int start, bool backwards);
// A live suspension point on which nothing of `layer` hangs (no other ball
// hung on it, no rod), so that the ball `self` may be hung there.
bool FreeLaval(const World& world, int point, int layer, int self);
// The first such point from `start` up (or down); 0 when none.
int FindLaval(const World& world, int start, bool backwards, int layer, int self);
// The end of rod `rod` a ball may be fastened to: the second end while it
// is free, else the first while that is free; 0 when neither is.
int FreeRodEnd(const World& world, int rod);
// The live rod whose free end (as FreeRodEnd picks it) lies nearest to
// `centre`; 0 when no rod has a free end.
int NearestRodEnd(const World& world, Vec2 centre);

// What the attachment frame shows.
struct BallAttachment {
    bool Checked = false;          // "Привязка"
    int List = BindListPeg;        // "к подвесу" or "к стержню"
    double Number = 0;             // txtPeg
    int Maximum = 0;               // the number spinner's top
    // A ball hung on a point or fastened to a rod end shows where; the list
    // and the number then cannot be changed here.
    bool Editable = true;
    bool NumberEnabled = true;     // txtPeg and its spinner
    bool DetailsEnabled = false;   // "Угол от пометки", "Расстояние от центра"
    bool EndOptionsVisible = true; // "к первому концу", "ко второму концу"
    bool FirstEndEnabled = false;
    bool SecondEndEnabled = false;
    bool LayerEnabled = true;      // ZCoord and its spinner
    // "Привязка" itself: an attached ball is released elsewhere, and the
    // hint says where.
    bool BoxEnabled = true;
    std::string BoxHint;
};

// The values of the "Ещё" menu.
struct BallExtras {
    double Area = 0;
    double Energy = 0;
    double Diameter = 0;
};

class BallForm {
public:
    // Opens the window for ball `number`, which must exist. The World is the
    // scene the window previews in; the form reads it for the rods, points
    // and materials and keeps its own working copy.
    BallForm(const World& world, int number);

    int Number() const { return number_; }
    const Ball& Copy() const { return copy_; }
    // "Свойства шара № 3" or "Свойства цилиндра № 3".
    std::string Caption() const;

    // The preview: the copy in slot 0, the original hidden. RemovePreview
    // puts back exactly what the scene held before.
    void ShowPreview(World& world) const;
    void RemovePreview(World& world) const;
    // "ОК": the copy over the original, which becomes selected and is
    // normalised with the rod that carries it; the copy's material becomes
    // the default material. The caller sets the default radius.
    void Apply(World& world) const;

    // Whether a typed value is taken, and taking it. A constant outside its
    // range is refused, and so is any value after which the body would have
    // no finite mass, energy or momentum.
    // The angle and the angular velocity are typed and shown in the
    // project's angle unit.
    bool Allowed(BallValue value, double typed) const;
    bool Set(BallValue value, double typed);
    double Get(BallValue value) const;
    // The angular acceleration in the project's angle unit.
    double ShownEpsilon() const;

    // Position (k = 0), velocity, acceleration, force and momentum (k = 4).
    Vec2 Vector(int k) const;

    // "Неоднородное распределение массы": while ticked, K is typed; unticking
    // makes the mass uniform again (K of the shape).
    bool NonUniform() const { return nonUniform_; }
    void SetNonUniform(bool on);

    // The shape list: position 0 ball, 1 cylinder.
    void SetShape(int position);
    bool LengthVisible() const { return copy_.Shape > ShapeBall; }

    // A material of the table. False, and nothing changed, when the body
    // with that material's density would leave the numbers (a fast body
    // made of a very dense material).
    bool SetMaterial(int index);

    // The layer field takes a whole number 0..255.
    static std::optional<int> LayerOf(double value);
    void SetLayer(int layer);
    void SetMarked(bool on);
    void SetFrozen(bool on);
    bool Frozen() const { return !copy_.Movable; }
    // "Запретить 3D-отображение".
    void SetFlat(bool on);
    bool Flat() const { return !copy_.Allow3D; }

    // Attachment.
    const BallAttachment& Attachment() const { return attachment_; }
    // "Привязка" clicked.
    void SetBind(bool checked);
    void SetBindList(int entry);
    void SetBindNumber(double value);
    // The number spinner's step from the shown number: the next usable rod
    // or point up or down, the number kept when there is none.
    double BindStep(bool up) const;
    // The attachment angle (radians) and distance from the centre.
    double BindAngle() const { return copy_.BindAngle; }
    double BindDistance() const { return copy_.BindRadius; }

    BallExtras Extras() const;

private:
    std::optional<Ball> Trial(BallValue value, double typed) const;
    void Recompute();
    void ShowAttachment();
    void SearchNearestRod();

    const World& world_;
    int number_ = 0;
    Ball copy_;
    Ball savedSlot_;  // what slot 0 held before the window opened
    bool originalExists_ = true;
    // The ball was hung on a point or fastened to a rod end when the window
    // opened: the rod (or the point) and the ball name each other, and the
    // window does not rewrite one side of that.
    bool attached_ = false;
    // The end of rod BindNumber a free ball goes to on "ОК" (0: none).
    int bindEnd_ = 0;
    bool nonUniform_ = false;
    BallAttachment attachment_;
};

}  // namespace velo
