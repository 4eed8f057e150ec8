#include "forms/ball_form.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "forms/fixed_form.h"
#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "model/derived_fields.h"

namespace velo {
namespace {

inline constexpr double SmallestValue = 1e-80;
inline constexpr double LargestValue = 1e80;

bool Within(double value, double low, double high) { return value >= low && value <= high; }

// 1e300 (what an unreadable number reads as) squared in the kinetic energy,
// or a huge density times a huge volume, is no longer a number the step can
// work with.
bool Sound(const Ball& b) {
    const double all[] = {b.Mass,         b.Density,    b.Volume,      b.Radius,          b.Height,
                          b.Inertia,      b.Position.X, b.Position.Y,  b.Velocity.X,      b.Velocity.Y,
                          b.Momentum.X,   b.Momentum.Y, b.KineticEnergy, b.PotentialEnergy, b.Omega,
                          b.Phi,          b.AngularMomentum, b.InertiaFactor, b.DragLinear, b.DragQuadratic};
    for (const double x : all) {
        if (!std::isfinite(x)) return false;
    }
    return true;
}

// A typed attachment number: the integer part, without its sign. Numbers
// beyond any table stay beyond it.
double WholeNumber(double value) { return std::fabs(std::trunc(value)); }

}  // namespace

double UniformInertiaFactor(int shape) { return shape == ShapeCylinder ? 0.5 : 0.4; }

int StatusPeg(const World& world, int rod) {
    if (rod < 1 || rod > std::min(world.PegCount, PegCapacity)) return 0;
    const Peg& peg = world.Pegs[static_cast<std::size_t>(rod)];
    // A deleted rod keeps its end records but offers no end.
    if (!peg.Exists) return 0;
    return (FastenedBall(world, peg, 1) == 0 ? 1 : 0) | (FastenedBall(world, peg, 2) == 0 ? 2 : 0);
}

int FindPeg(const World& world, int start, bool backwards) {
    const int last = std::min(world.PegCount, PegCapacity);
    if (backwards) {
        for (int n = std::min(start, last); n >= 1; --n) {
            if (StatusPeg(world, n) != 0) return n;
        }
    } else {
        for (int n = std::max(start, 1); n <= last; ++n) {
            if (StatusPeg(world, n) != 0) return n;
        }
    }
    return 0;
}

bool FreeLaval(const World& world, int point, int layer, int self) {
    if (point < 1 || point > std::min(world.LavalCount, LavalCapacity)) return false;
    if (!world.Lavals[static_cast<std::size_t>(point)].Exists) return false;
    for (int n = 1; n <= std::min(world.BallCount, BallCapacity); ++n) {
        const Ball& ball = world.Balls[static_cast<std::size_t>(n)];
        if (n == self || !ball.Exists) continue;
        if (ball.BindKind == BindLaval && ball.BindNumber == point && ball.Z == layer) return false;
    }
    for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
        const Peg& peg = world.Pegs[static_cast<std::size_t>(n)];
        if (peg.Exists && peg.HangLaval == point && peg.Z == layer) return false;
    }
    return true;
}

int FindLaval(const World& world, int start, bool backwards, int layer, int self) {
    const int last = std::min(world.LavalCount, LavalCapacity);
    if (backwards) {
        for (int n = std::min(start, last); n >= 1; --n) {
            if (FreeLaval(world, n, layer, self)) return n;
        }
    } else {
        for (int n = std::max(start, 1); n <= last; ++n) {
            if (FreeLaval(world, n, layer, self)) return n;
        }
    }
    return 0;
}

int FreeRodEnd(const World& world, int rod) {
    const int status = StatusPeg(world, rod);
    return (status & 2) != 0 ? 2 : (status & 1) != 0 ? 1 : 0;
}

int NearestRodEnd(const World& world, Vec2 centre) {
    int nearest = 0;
    double best = 1e80;
    for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
        const int end = FreeRodEnd(world, n);
        if (end == 0) continue;
        const Peg& peg = world.Pegs[static_cast<std::size_t>(n)];
        const Vec2 point = end == 2 ? peg.End2 : peg.End1;
        const double distance = std::hypot(point.X - centre.X, point.Y - centre.Y);
        if (distance < best) {
            best = distance;
            nearest = n;
        }
    }
    return nearest;
}

BallForm::BallForm(const World& world, int number) : world_(world), number_(number) {
    copy_ = world.Balls[static_cast<std::size_t>(number)];
    savedSlot_ = world.Balls[0];
    originalExists_ = copy_.Exists;
    Recompute();
    // The box follows K: a ball whose K is not that of a uniform body of its
    // shape has a non-uniform mass, and opening the window keeps its K.
    nonUniform_ = copy_.InertiaFactor != UniformInertiaFactor(copy_.Shape);

    attached_ = copy_.BindKind == BindLaval || copy_.BindKind == BindPegEnd;
    // A free ball is offered the rod whose second end is nearest; the box
    // stays clear, so nothing moves yet.
    SetBind(attached_);
}

std::string BallForm::Caption() const {
    return std::string(copy_.Shape == ShapeCylinder ? CylinderCaption : BallCaption) + " " + std::to_string(number_);
}

void BallForm::ShowPreview(World& world) const {
    Ball& slot = world.Balls[0];
    slot = copy_;
    slot.Exists = true;
    world.Balls[static_cast<std::size_t>(number_)].Exists = false;
}

void BallForm::RemovePreview(World& world) const {
    world.Balls[0] = savedSlot_;
    world.Balls[static_cast<std::size_t>(number_)].Exists = originalExists_;
}

void BallForm::Apply(World& world) const {
    Ball& ball = world.Balls[static_cast<std::size_t>(number_)];
    ball = copy_;
    ball.Exists = true;
    ball.Selected = true;
    if (!attached_) {
        // A free ball ticked to a rod's free end is fastened there, as the
        // fastening command would; otherwise it names no rod.
        const int rod = ball.BindNumber;
        const bool fasten = attachment_.Checked && attachment_.List == BindListPeg && bindEnd_ != 0 &&
                            FreeRodEnd(world, rod) != 0 && (StatusPeg(world, rod) & bindEnd_) != 0;
        if (fasten) {
            Peg& peg = world.Pegs[static_cast<std::size_t>(rod)];
            (bindEnd_ == 1 ? peg.End1Kind : peg.End2Kind) =
                static_cast<std::uint8_t>(ball.Shape == ShapeCylinder ? KindCylinder : KindBall);
            (bindEnd_ == 1 ? peg.End1Number : peg.End2Number) = number_;
            ball.BindKind = BindPegEnd;
        } else {
            ball.BindKind = BindNothing;
            ball.BindNumber = 0;
        }
    }
    RecomputeBall(world, number_);
    // A ball carried by a rod moves the rod's centre of mass: the rod is
    // normalised with it, which also puts the ball back at its end.
    if (ball.BindKind == BindPegEnd && ball.BindNumber >= 1 && ball.BindNumber <= std::min(world.PegCount, PegCapacity)) {
        const Peg& rod = world.Pegs[static_cast<std::size_t>(ball.BindNumber)];
        const bool carries = FastenedBall(world, rod, 1) == number_ || FastenedBall(world, rod, 2) == number_;
        if (carries) RecomputeRod(world, ball.BindNumber);
    }
    world.Params.DefaultMaterial = copy_.Material;
}

void BallForm::Recompute() { RecomputeBallRecord(copy_, world_.Params, world_.Lavals); }

std::optional<Ball> BallForm::Trial(BallValue value, double typed) const {
    if (!std::isfinite(typed)) return std::nullopt;
    const double scale = world_.Params.FieldScale;
    const double largestRadius = 10000 / scale;
    const double longest = 20000 / scale;
    Ball b = copy_;
    switch (value) {
    case ValueMass:
        if (!Within(typed / b.Volume, SmallestValue, LargestValue)) return std::nullopt;
        b.Density = typed / b.Volume;
        b.Mass = typed;
        break;
    case ValueDensity:
        if (!Within(typed, SmallestValue, LargestValue)) return std::nullopt;
        b.Density = typed;
        break;
    case ValueRadius:
        if (!Within(typed, SmallestValue, largestRadius)) return std::nullopt;
        b.Radius = typed;
        break;
    case ValueVolume:
        // A volume of zero or below has no radius or length at all.
        if (!(typed > 0)) return std::nullopt;
        if (b.Shape == ShapeCylinder) {
            const double height = typed / (std::numbers::pi * b.Radius * b.Radius);
            if (!Within(height, SmallestValue, longest)) return std::nullopt;
            b.Height = height;
        } else {
            const double radius = std::cbrt(0.75 * typed / std::numbers::pi);
            if (!Within(radius, SmallestValue, largestRadius)) return std::nullopt;
            b.Radius = radius;
        }
        b.Volume = typed;
        break;
    case ValueLength:
        if (!Within(typed, SmallestValue, longest)) return std::nullopt;
        b.Height = typed;
        break;
    case ValuePositionX:
    case ValuePositionY:
        // The contacts square distances: a ball far beyond the largest
        // coordinate would overflow them.
        if (!Within(typed, -LargestCoordinate, LargestCoordinate)) return std::nullopt;
        (value == ValuePositionX ? b.Position.X : b.Position.Y) = typed;
        break;
    case ValueVelocityX:
    case ValueVelocityY:
        if (b.BindKind == BindLaval && b.BindNumber >= 1 && b.BindNumber <= LavalCapacity) {
            // A hung ball's velocity is its swing: the typed component with
            // the other as shown sets the turning about the point, of which
            // the centre can only take the part across its radius.
            Vec2 velocity = BallCentreVelocity(world_, b, number_);
            (value == ValueVelocityX ? velocity.X : velocity.Y) = typed;
            const Vec2 centre = b.Position - world_.Lavals[b.BindNumber].Position;
            const double squared = Dot(centre, centre);
            b.Omega = squared > 0 ? Cross(centre, velocity) / squared : 0;
            b.Velocity = {0, 0};
        } else {
            (value == ValueVelocityX ? b.Velocity.X : b.Velocity.Y) = typed;
        }
        break;
    case ValuePhi: b.Phi = FromAngleUnit(typed, world_.Units); break;
    case ValueOmega: b.Omega = FromAngleUnit(typed, world_.Units); break;
    case ValueInertiaFactor:
        // K is typed only for a non-uniform body. A negative K would give
        // the body a negative moment of inertia: its rotation would take
        // energy from nowhere and the contacts would divide by a vanishing
        // or negative effective mass.
        if (!nonUniform_ || !(typed >= 0)) return std::nullopt;
        b.InertiaFactor = typed;
        break;
    case ValueDragLinear: b.DragLinear = typed; break;
    case ValueDragQuadratic: b.DragQuadratic = typed; break;
    default: return std::nullopt;
    }
    RecomputeBallRecord(b, world_.Params, world_.Lavals);
    if (!Sound(b)) return std::nullopt;
    return b;
}

bool BallForm::Allowed(BallValue value, double typed) const { return Trial(value, typed).has_value(); }

bool BallForm::Set(BallValue value, double typed) {
    std::optional<Ball> accepted = Trial(value, typed);
    if (!accepted) return false;
    copy_ = *accepted;
    return true;
}

double BallForm::Get(BallValue value) const {
    switch (value) {
    case ValueMass: return copy_.Mass;
    case ValueDensity: return copy_.Density;
    case ValueRadius: return copy_.Radius;
    case ValueVolume: return copy_.Volume;
    case ValueLength: return copy_.Height;
    case ValuePositionX: return copy_.Position.X;
    case ValuePositionY: return copy_.Position.Y;
    case ValueVelocityX: return BallCentreVelocity(world_, copy_, number_).X;
    case ValueVelocityY: return BallCentreVelocity(world_, copy_, number_).Y;
    case ValuePhi: return ToAngleUnit(copy_.Phi, world_.Units);
    case ValueOmega: return ToAngleUnit(copy_.Omega, world_.Units);
    case ValueInertiaFactor: return copy_.InertiaFactor;
    case ValueDragLinear: return copy_.DragLinear;
    case ValueDragQuadratic: return copy_.DragQuadratic;
    default: return 0;
    }
}

double BallForm::ShownEpsilon() const { return ToAngleUnit(copy_.Epsilon, world_.Units); }

Vec2 BallForm::Vector(int k) const {
    switch (k) {
    case 0: return copy_.Position;
    // The centre's velocity however the ball moves (hung, carried), and
    // the momentum that goes with it.
    case 1: return BallCentreVelocity(world_, copy_, number_);
    case 2: return copy_.Acceleration;
    case 3: return copy_.Force;
    default: return BallCentreVelocity(world_, copy_, number_) * copy_.Mass;
    }
}

void BallForm::SetNonUniform(bool on) {
    nonUniform_ = on;
    if (!on) {
        copy_.InertiaFactor = UniformInertiaFactor(copy_.Shape);
        Recompute();
    }
}

void BallForm::SetShape(int position) {
    if (position < 0 || position > 1) return;
    copy_.Shape = static_cast<std::uint8_t>(position + 1);
    // A ball made as a ball has no length: as a cylinder it would have no
    // volume and no mass. It gets the length a new cylinder of its radius
    // gets, its diameter.
    const double longest = 20000 / world_.Params.FieldScale;
    if (copy_.Shape == ShapeCylinder && !Within(copy_.Height, SmallestValue, longest)) {
        copy_.Height = std::min(2 * copy_.Radius, longest);
    }
    if (!nonUniform_) copy_.InertiaFactor = UniformInertiaFactor(copy_.Shape);
    Recompute();
}

bool BallForm::SetMaterial(int index) {
    const MaterialTable& table = world_.Materials;
    if (!MaterialChoosable(table, index)) return false;
    const double to = table.Items[static_cast<std::size_t>(index)].Density;
    const double from = copy_.Material < MaterialSlots ? table.Items[copy_.Material].Density : 0;
    const double ratio = to / from;
    // A non-uniform body keeps its density relative to its material; a
    // material without a usable density gives no ratio, and the body takes
    // the new material's density as a uniform one does.
    Ball b = copy_;
    if (nonUniform_ && from > 0 && std::isfinite(ratio) && std::isfinite(copy_.Density * ratio)) {
        b.Density *= ratio;
    } else {
        b.Density = to;
    }
    if (!Within(b.Density, SmallestValue, LargestValue)) return false;
    b.Material = static_cast<std::uint8_t>(index);
    RecomputeBallRecord(b, world_.Params, world_.Lavals);
    if (!Sound(b)) return false;
    copy_ = b;
    return true;
}

std::optional<int> BallForm::LayerOf(double value) {
    if (!(value >= 0 && value <= 255) || value != std::floor(value)) return std::nullopt;
    return static_cast<int>(value);
}

void BallForm::SetLayer(int layer) { copy_.Z = static_cast<std::uint8_t>(std::clamp(layer, 0, 255)); }
void BallForm::SetMarked(bool on) { copy_.Marked = on; }
void BallForm::SetFrozen(bool on) { copy_.Movable = !on; }
void BallForm::SetFlat(bool on) { copy_.Allow3D = !on; }

void BallForm::SearchNearestRod() {
    attachment_.List = BindListPeg;
    attachment_.Maximum = world_.PegCount;
    attachment_.Number = NearestRodEnd(world_, copy_.Position);
}

void BallForm::SetBind(bool checked) {
    attachment_.Checked = checked;
    if (attached_) {
        // The frame shows where the ball is attached; the attachment itself
        // changes with the fastening and deleting commands, not here.
        attachment_.List = copy_.BindKind == BindLaval ? BindListLaval : BindListPeg;
        attachment_.Maximum = attachment_.List == BindListLaval ? world_.LavalCount : world_.PegCount;
        attachment_.Number = copy_.BindNumber;
        ShowAttachment();
        return;
    }
    SearchNearestRod();
    SetBindNumber(attachment_.Number);
}

void BallForm::SetBindList(int entry) {
    if (attached_ || (entry != BindListLaval && entry != BindListPeg)) return;
    attachment_.List = entry;
    if (entry == BindListLaval) {
        attachment_.Maximum = world_.LavalCount;
        attachment_.Number = FindLaval(world_, 1, false, copy_.Z, number_);
    } else {
        attachment_.Maximum = world_.PegCount;
        attachment_.Number = FindPeg(world_, 1, false);
    }
    SetBindNumber(attachment_.Number);
}

void BallForm::SetBindNumber(double value) {
    if (attached_ || !std::isfinite(value)) {
        ShowAttachment();
        return;
    }
    attachment_.Number = value;
    const double whole = WholeNumber(value);
    const int pegCount = std::min(world_.PegCount, PegCapacity);
    bindEnd_ = 0;
    if (attachment_.Checked && attachment_.List == BindListPeg && whole >= 1 && whole <= pegCount) {
        // Only a free end takes the ball: an end that holds one already
        // would be shared by two.
        const int rod = static_cast<int>(whole);
        const Peg& peg = world_.Pegs[static_cast<std::size_t>(rod)];
        bindEnd_ = FreeRodEnd(world_, rod);
        if (bindEnd_ != 0) {
            copy_.Position = bindEnd_ == 2 ? peg.End2 : peg.End1;
            copy_.BindNumber = rod;
        }
    }
    Recompute();
    ShowAttachment();
}

double BallForm::BindStep(bool up) const {
    if (attached_) return attachment_.Number;
    const double whole = WholeNumber(attachment_.Number);
    const int from = whole > 1e9 ? 1000000000 : static_cast<int>(whole);
    const int next = attachment_.List == BindListLaval
                         ? FindLaval(world_, up ? from + 1 : from - 1, !up, copy_.Z, number_)
                         : FindPeg(world_, up ? from + 1 : from - 1, !up);
    return next != 0 ? next : attachment_.Number;
}

void BallForm::ShowAttachment() {
    BallAttachment& a = attachment_;
    const double whole = WholeNumber(a.Number);
    a.Editable = !attached_;
    // The number and its spinner serve while the chosen table has anything
    // to choose (a field disabled at 0 could never be typed into again);
    // the details only for a chosen object.
    a.NumberEnabled = a.Editable && a.Maximum > 0;
    a.DetailsEnabled = whole != 0;
    a.EndOptionsVisible = a.List == BindListPeg;
    const int status = a.List == BindListPeg && whole <= PegCapacity ? StatusPeg(world_, static_cast<int>(whole)) : 0;
    a.FirstEndEnabled = (status & 1) != 0;
    a.SecondEndEnabled = (status & 2) != 0;
    a.LayerEnabled = !a.Checked;
    a.BoxEnabled = !attached_;
    const std::string body = copy_.Shape == ShapeCylinder ? "Цилиндр" : "Шар";
    if (!attached_) {
        a.BoxHint.clear();
    } else if (copy_.BindKind == BindLaval) {
        a.BoxHint = body + " подвешен к подвесу №" + std::to_string(copy_.BindNumber) +
                    ". Чтобы отвязать его, удалите подвес.";
    } else {
        a.BoxHint = body + " закреплён на конце стержня №" + std::to_string(copy_.BindNumber) +
                    ". Отвязать его можно в окне свойств стержня: снимите привязку этого конца.";
    }
}

BallExtras BallForm::Extras() const {
    BallExtras extras;
    extras.Diameter = 2 * copy_.Radius;
    extras.Energy = copy_.KineticEnergy + copy_.PotentialEnergy;
    const double d = extras.Diameter;
    extras.Area = copy_.Shape == ShapeBall ? std::numbers::pi * d * d
                                           : (copy_.Height + copy_.Radius) * std::numbers::pi * d;
    return extras;
}

}  // namespace velo
