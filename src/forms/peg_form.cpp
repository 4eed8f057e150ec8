#include "forms/peg_form.h"

#include <algorithm>
#include <cmath>

#include "forms/fixed_form.h"
#include "forms/materials_editing.h"
#include "forms/unit_labels.h"
#include "model/derived_fields.h"
#include "model/portable_math.h"

namespace velo {
namespace {

bool HoldsBall(std::uint8_t kind) { return kind == KindBall || kind == KindCylinder; }

std::uint8_t& EndKindOf(Peg& rod, int end) { return end == 1 ? rod.End1Kind : rod.End2Kind; }
std::int32_t EndNumberOf(const Peg& rod, int end) { return end == 1 ? rod.End1Number : rod.End2Number; }

int LiveBall(const World& world, std::int32_t number) {
    if (number < 1 || number > std::min(world.BallCount, BallCapacity)) return 0;
    return world.Balls[static_cast<std::size_t>(number)].Exists ? number : 0;
}

}  // namespace

PegForm::PegForm(World& scene, int number, NumberLocale locale)
    : scene_(scene), number_(number), locale_(std::move(locale)) {
    savedRod_ = scene_.Pegs[static_cast<std::size_t>(number_)];
    savedSlot_ = scene_.Pegs[0];
    copy_ = savedRod_;
    for (int end = 1; end <= 2; ++end) {
        endKind_[end - 1] = EndKindOf(copy_, end);
        const int ball = LiveBall(scene_, EndNumberOf(copy_, end));
        const bool known = std::any_of(savedBalls_.begin(), savedBalls_.end(),
                                       [ball](const auto& saved) { return saved.first == ball; });
        if (ball != 0 && !known) savedBalls_.emplace_back(ball, scene_.Balls[static_cast<std::size_t>(ball)]);
        // An end whose ball is gone holds nothing: its box opens unticked.
        if (!EndFastened(end)) EndKindOf(copy_, end) = 0;
    }
    scene_.Pegs[static_cast<std::size_t>(number_)].Exists = false;
    previewing_ = true;
    Preview();
}

void PegForm::Preview() {
    if (!previewing_) return;
    // The balls go back where they were first, so that a ball let go of in
    // the window stands where it will stand after "ОК".
    for (const auto& [number, ball] : savedBalls_) scene_.Balls[static_cast<std::size_t>(number)] = ball;
    if (copy_.HangLaval > 0 && copy_.HangLaval <= LavalCapacity) {
        copy_.Position = scene_.Lavals[static_cast<std::size_t>(copy_.HangLaval)].Position;
    }
    scene_.Pegs[0] = copy_;
    RecomputeRod(scene_, 0);
    copy_ = scene_.Pegs[0];
}

void PegForm::RemovePreview() {
    if (!previewing_) return;
    previewing_ = false;
    scene_.Pegs[0] = savedSlot_;
    scene_.Pegs[static_cast<std::size_t>(number_)] = savedRod_;
    for (const auto& [number, ball] : savedBalls_) scene_.Balls[static_cast<std::size_t>(number)] = ball;
    scene_.CurrentKind = KindPeg;
    scene_.CurrentNumber = number_;
}

void PegForm::Apply(World& world) const {
    Peg& rod = world.Pegs[static_cast<std::size_t>(number_)];
    rod = copy_;
    rod.Exists = true;
    for (int end = 1; end <= 2; ++end) {
        const int number = LiveBall(world, EndNumberOf(copy_, end));
        if (number == 0) continue;
        Ball& ball = world.Balls[static_cast<std::size_t>(number)];
        if (EndFastened(end)) {
            ball.BindKind = BindPegEnd;
            ball.BindNumber = number_;
        } else if (ball.BindKind == BindPegEnd && ball.BindNumber == number_) {
            ball.BindKind = BindNothing;
        }
    }
    RecomputeRod(world, number_);
}

template <typename Change>
bool PegForm::Sound(Change change) const {
    Peg trial = copy_;
    change(trial);
    if (trial.HangLaval > 0 && trial.HangLaval <= LavalCapacity) {
        trial.Position = scene_.Lavals[static_cast<std::size_t>(trial.HangLaval)].Position;
    }
    const int ball1 = EndFastened(1) ? EndBall(1) : 0;
    const int ball2 = EndFastened(2) ? EndBall(2) : 0;
    RecomputeRodRecord(trial, ball1 != 0 ? &scene_.Balls[static_cast<std::size_t>(ball1)] : nullptr,
                       ball2 != 0 ? &scene_.Balls[static_cast<std::size_t>(ball2)] : nullptr, scene_.Params);
    const double all[] = {trial.Mass,       trial.Volume,       trial.Inertia,    trial.PivotInertia,
                          trial.CentreOffset, trial.Phi,        trial.Omega,      trial.Position.X,
                          trial.Position.Y, trial.End1.X,       trial.End1.Y,     trial.End2.X,
                          trial.End2.Y,     trial.PotentialEnergy, trial.KineticEnergy};
    for (const double x : all) {
        if (!std::isfinite(x)) return false;
    }
    // A carried ball moves with the rod's end and turns with it.
    const Vec2 u{math::Cos(trial.Phi), math::Sin(trial.Phi)};
    for (int end = 1; end <= 2; ++end) {
        const int number = end == 1 ? ball1 : ball2;
        if (number == 0) continue;
        Ball ball = scene_.Balls[static_cast<std::size_t>(number)];
        ball.Position = end == 1 ? trial.End1 - u * ball.Radius : trial.End2 + u * ball.Radius;
        ball.Omega = trial.Omega;
        ball.Velocity = RodPointVelocity(trial, ball.Position);
        RecomputeBallRecord(ball, scene_.Params, scene_.Lavals);
        if (!std::isfinite(ball.KineticEnergy) || !std::isfinite(ball.PotentialEnergy)) return false;
    }
    return true;
}

bool PegForm::LengthAllowed(double length) const {
    return length > 0 && length <= 40000 / scene_.Params.FieldScale && length >= 2 * copy_.Width &&
           length >= 2 * copy_.Depth && Sound([length](Peg& rod) { rod.Length = length; });
}

bool PegForm::WidthAllowed(double width) const {
    return width >= 1e-80 && width <= 100 / scene_.Params.FieldScale &&
           Sound([width](Peg& rod) { rod.Width = width; });
}

bool PegForm::DepthAllowed(double depth) const {
    return depth >= 1e-80 && depth <= LargestRodDepth && Sound([depth](Peg& rod) { rod.Depth = depth; });
}

bool PegForm::DensityAllowed(double density) const {
    return density >= 1e-80 && density <= LargestRodDensity &&
           Sound([density](Peg& rod) { rod.Density = density; });
}

bool PegForm::PhiAllowed(double shown) const {
    const double phi = FromAngleUnit(shown, scene_.Units);
    return std::isfinite(phi) && Sound([phi](Peg& rod) { rod.Phi = phi; });
}

bool PegForm::OmegaAllowed(double shown) const {
    const double omega = FromAngleUnit(shown, scene_.Units);
    return std::isfinite(omega) && Sound([omega](Peg& rod) { rod.Omega = omega; });
}

bool PegForm::CentreAllowed(int axis, double value) const {
    return !Hung() && value >= -LargestCoordinate && value <= LargestCoordinate &&
           Sound([axis, value](Peg& rod) { (axis == 0 ? rod.Position.X : rod.Position.Y) = value; });
}

bool PegForm::LayerAllowed(double value) { return value >= 0 && value <= 255 && value == std::floor(value); }

bool PegForm::LavalAllowed(double value) const {
    if (!(value >= 1 && value <= std::min(scene_.LavalCount, LavalCapacity)) || value != std::floor(value)) {
        return false;
    }
    return scene_.Lavals[static_cast<std::size_t>(value)].Exists;
}

bool PegForm::SetLength(double length) {
    if (!LengthAllowed(length)) return false;
    copy_.Length = length;
    Preview();
    return true;
}

bool PegForm::SetWidth(double width) {
    if (!WidthAllowed(width)) return false;
    copy_.Width = width;
    Preview();
    return true;
}

bool PegForm::SetDepth(double depth) {
    if (!DepthAllowed(depth)) return false;
    copy_.Depth = depth;
    Preview();
    return true;
}

bool PegForm::SetDensity(double density) {
    if (!DensityAllowed(density)) return false;
    copy_.Density = density;
    Preview();
    return true;
}

void PegForm::SetSectionShape(int position) {
    copy_.SectionShape = position == 1 ? 0 : 1;
    Preview();
}

bool PegForm::SetMaterial(int material) {
    if (!MaterialChoosable(scene_.Materials, material)) return false;
    const double density = scene_.Materials.Items[static_cast<std::size_t>(material)].Density;
    if (!(density > 0) || !Sound([density](Peg& rod) { rod.Density = density; })) return false;
    copy_.Material = static_cast<std::uint8_t>(material);
    copy_.Density = density;
    Preview();
    return true;
}

bool PegForm::SetPhi(double shown) {
    if (!PhiAllowed(shown)) return false;
    copy_.Phi = FromAngleUnit(shown, scene_.Units);
    Preview();
    return true;
}

bool PegForm::SetOmega(double shown) {
    if (!OmegaAllowed(shown)) return false;
    copy_.Omega = FromAngleUnit(shown, scene_.Units);
    Preview();
    return true;
}

double PegForm::ShownPhi() const { return ToAngleUnit(copy_.Phi, scene_.Units); }
double PegForm::ShownOmega() const { return ToAngleUnit(copy_.Omega, scene_.Units); }
double PegForm::ShownEpsilon() const { return ToAngleUnit(copy_.Epsilon, scene_.Units); }

bool PegForm::SetCentre(int axis, double value) {
    // A hung rod turns about its suspension point: its centre is not free.
    if (!CentreAllowed(axis, value)) return false;
    (axis == 0 ? copy_.Position.X : copy_.Position.Y) = value;
    Preview();
    return true;
}

void PegForm::SetLayer(int layer) {
    copy_.Z = static_cast<std::uint8_t>(std::clamp(layer, 0, 255));
    Preview();
}

void PegForm::SetFrozen(bool frozen) { copy_.Movable = !frozen; }

bool PegForm::CanHang() const {
    for (int k = 1; k <= std::min(scene_.LavalCount, LavalCapacity); ++k) {
        if (scene_.Lavals[static_cast<std::size_t>(k)].Exists) return true;
    }
    return false;
}

int PegForm::InitialLaval() const {
    if (LavalAllowed(copy_.HangLaval)) return copy_.HangLaval;
    return StepLaval(0, +1);
}

int PegForm::StepLaval(int from, int direction) const {
    const int count = std::min(scene_.LavalCount, LavalCapacity);
    for (int k = from + direction; k >= 1 && k <= count; k += direction) {
        if (scene_.Lavals[static_cast<std::size_t>(k)].Exists) return k;
    }
    return from;
}

void PegForm::SetHangLaval(int laval) {
    laval = std::max(laval, 0);
    const bool freeing = copy_.HangLaval > 0 && laval == 0;
    const Vec2 end1 = copy_.End1;
    copy_.HangLaval = laval;
    Preview();
    if (!freeing) return;
    copy_.Position += end1 - copy_.End1;
    Preview();
}

void PegForm::SetHangFraction(std::string_view answer) {
    copy_.HangFraction = std::clamp(ParseNumber(answer, locale_), 0.0, 1.0);
    Preview();
}

std::string PegForm::HangFractionText() const { return FormatNumber(copy_.HangFraction, locale_); }

int PegForm::EndBall(int end) const { return LiveBall(scene_, EndNumberOf(copy_, end)); }

bool PegForm::EndFastened(int end) const {
    const std::uint8_t kind = end == 1 ? copy_.End1Kind : copy_.End2Kind;
    return HoldsBall(kind) && EndBall(end) != 0;
}

bool PegForm::EndFastenable(int end) const {
    const int number = EndBall(end);
    if (number == 0) return false;
    if (HoldsBall(endKind_[end - 1])) return true;
    // A ball that has gone elsewhere since (another rod, a suspension point)
    // is not taken back.
    const Ball& ball = scene_.Balls[static_cast<std::size_t>(number)];
    return ball.BindKind == BindNothing || (ball.BindKind == BindPegEnd && ball.BindNumber == number_);
}

void PegForm::SetEndFastened(int end, bool fastened) {
    std::uint8_t& kind = EndKindOf(copy_, end);
    if (fastened && EndFastenable(end)) {
        kind = HoldsBall(endKind_[end - 1]) ? endKind_[end - 1] : std::uint8_t{KindBall};
    } else {
        kind = 0;
    }
    Preview();
}

std::string PegForm::EndCaption(int end) const {
    std::string caption = end == 1 ? FirstEndCaption : SecondEndCaption;
    if (!EndFastened(end)) return caption;
    const int number = EndBall(end);
    const bool cylinder = scene_.Balls[static_cast<std::size_t>(number)].Shape == ShapeCylinder;
    return caption + (cylinder ? " к цилиндру №" : " к шару №") + std::to_string(number);
}

double PegForm::CentreOfMassOffset() const {
    if (!Hung()) return copy_.CentreOffset;
    // A hung rod turns about its suspension point; its centre of mass is
    // where the rod with its balls would turn if it were free.
    Peg free = copy_;
    free.HangLaval = 0;
    const int ball1 = EndFastened(1) ? EndBall(1) : 0;
    const int ball2 = EndFastened(2) ? EndBall(2) : 0;
    RecomputeRodRecord(free, ball1 != 0 ? &scene_.Balls[static_cast<std::size_t>(ball1)] : nullptr,
                       ball2 != 0 ? &scene_.Balls[static_cast<std::size_t>(ball2)] : nullptr, scene_.Params);
    return free.CentreOffset;
}

std::string PegForm::CentreOfMassText() const {
    const double c = CentreOfMassOffset();
    if (c != 0 && std::abs(c) * 1e10 >= copy_.Length) {
        return std::string("Центр масс системы находится ближе ") + (c < 0 ? "к первому" : "ко второму") +
               " концу на расстоянии " + FormatRounded(std::abs(c), locale_) + " " + scene_.Units.LengthUnitName +
               " от центра стержня и имеет координаты:";
    }
    return "Центр масс системы находится посередине стержня.\nЕго координаты:";
}

Vec2 PegForm::ShownCentre() const {
    if (!Hung()) return copy_.Position;
    const Vec2 middle = (copy_.End1 + copy_.End2) * 0.5;
    return middle + Vec2{math::Cos(copy_.Phi), math::Sin(copy_.Phi)} * CentreOfMassOffset();
}

std::string PegForm::Caption() const { return "Свойства стержня № " + std::to_string(number_); }

std::string PegForm::EndsCaption() const {
    return "Координаты концов стержня (" + scene_.Units.LengthUnitName + ")";
}

}  // namespace velo
