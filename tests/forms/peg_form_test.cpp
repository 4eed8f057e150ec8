#include "forms/peg_form.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

// A horizontal steel rod 1 long, 0.03 wide and deep, centred at (0, 1), with
// balls of radius 0.1 at both ends (FieldScale 1000: lengths up to 40,
// widths up to 0.1).
struct RodScene {
    std::unique_ptr<World> world = std::make_unique<World>();
    int rod = 0, ball1 = 0, ball2 = 0;

    explicit RodScene(bool withBalls = true) {
        World& w = *world;
        DefaultWorld(w);
        w.ProjectKind = ProjectMechanical;
        rod = NewObject(w, KindPeg).Number;
        Peg& r = w.Pegs[rod];
        r.Length = 1;
        r.Width = r.Depth = 0.03;
        r.SectionShape = 1;
        r.SectionInertiaFactor = 1.0 / 12;
        r.Position = {0, 1};
        if (withBalls) {
            ball1 = AddBall(-0.6);
            ball2 = AddBall(0.6);
            Fasten(1, ball1);
            Fasten(2, ball2);
        }
        RecomputeRod(w, rod);
        ClearSelection(w);
    }
    int AddBall(double x) {
        const int b = NewObject(*world, KindBall).Number;
        world->Balls[b].Position = {x, 1};
        world->Balls[b].Radius = 0.1;
        world->Balls[b].InertiaFactor = 0.4;
        RecomputeBall(*world, b);
        return b;
    }
    void Fasten(int end, int b) {
        Peg& r = world->Pegs[rod];
        (end == 1 ? r.End1Kind : r.End2Kind) = KindBall;
        (end == 1 ? r.End1Number : r.End2Number) = b;
        world->Balls[b].BindKind = BindPegEnd;
        world->Balls[b].BindNumber = rod;
    }
};

template <typename Table>
bool SameBytes(const Table& a, const Table& b) {
    return std::memcmp(&a, &b, sizeof(Table)) == 0;
}

TEST(PegForm, LengthWidthDepthAndDensityLimits) {
    RodScene s;
    PegForm form(*s.world, s.rod);
    struct Case {
        bool (PegForm::*set)(double);
        double value;
        bool taken;
    };
    const Case cases[] = {
        {&PegForm::SetLength, 0.059, false},  // shorter than twice the width
        {&PegForm::SetLength, 0.06, true},
        {&PegForm::SetLength, 40, true},      // 40000 / FieldScale
        {&PegForm::SetLength, 40.001, false},
        {&PegForm::SetLength, -1, false},
        {&PegForm::SetWidth, 0, false},
        {&PegForm::SetWidth, 1e-80, true},
        {&PegForm::SetWidth, 0.1, true},      // 100 / FieldScale
        {&PegForm::SetWidth, 0.1001, false},
        // A mass or moment of inertia beyond the numbers (the reader gives
        // 1e300 for "1e999") and a section or density of nothing are refused.
        {&PegForm::SetDepth, 1e300, false},
        {&PegForm::SetDepth, 0, false},
        {&PegForm::SetDepth, 0.5, true},
        {&PegForm::SetLength, 0.9, false},    // now shorter than twice the depth
        {&PegForm::SetDensity, 1e300, false},
        {&PegForm::SetDensity, -5, false},
        {&PegForm::SetDensity, 2700, true},
        // 1e300 rad/s squared in the kinetic energy is beyond the numbers.
        {&PegForm::SetOmega, 1e300, false},
        {&PegForm::SetOmega, 1e120, true},
        {&PegForm::SetDensity, 1e80, false},  // its kinetic energy at that speed
        {&PegForm::SetOmega, -3, true},
        {&PegForm::SetPhi, 1e300, true},
    };
    for (const Case& c : cases) {
        const Peg before = form.Copy();
        EXPECT_EQ((form.*c.set)(c.value), c.taken) << c.value;
        if (!c.taken) {
            EXPECT_TRUE(SameBytes(before, form.Copy())) << c.value;
        }
        EXPECT_TRUE(std::isfinite(form.Copy().PivotInertia) && std::isfinite(form.Copy().KineticEnergy));
    }
    EXPECT_EQ(form.Copy().Length, 40);
    EXPECT_EQ(form.Copy().Width, 0.1);
    // Nothing reaches the rod before "ОК".
    EXPECT_EQ(s.world->Pegs[s.rod].Length, 1);
}

TEST(PegForm, PreviewCarriesTheBallsAndIsTakenBackWhole) {
    RodScene s;
    const auto before = std::make_unique<World>(*s.world);
    PegForm form(*s.world, s.rod);
    World& w = *s.world;
    EXPECT_FALSE(w.Pegs[s.rod].Exists);
    EXPECT_TRUE(w.Pegs[0].Exists);
    ASSERT_TRUE(form.SetLength(2));
    ASSERT_TRUE(form.SetPhi(90));  // degrees
    // The balls hang on at the copy's ends, a radius beyond them.
    EXPECT_NEAR(w.Balls[s.ball2].Position.Y, w.Pegs[0].End2.Y + 0.1, 1e-12);
    EXPECT_NEAR(w.Balls[s.ball1].Position.Y, w.Pegs[0].End1.Y - 0.1, 1e-12);
    // A freed end's ball stands where it stood.
    form.SetEndFastened(1, false);
    EXPECT_TRUE(SameBytes(w.Balls[s.ball1], before->Balls[s.ball1]));

    form.RemovePreview();
    EXPECT_TRUE(SameBytes(w.Pegs, before->Pegs));
    EXPECT_TRUE(SameBytes(w.Balls, before->Balls));
    EXPECT_EQ(w.CurrentKind, KindPeg);
    EXPECT_EQ(w.CurrentNumber, s.rod);
}

TEST(PegForm, ApplyWritesTheCopyWithItsFasteningsNormalised) {
    RodScene s;
    World& w = *s.world;
    PegForm form(w, s.rod);
    ASSERT_TRUE(form.SetLength(3));
    form.SetEndFastened(1, false);
    form.SetMaterial(0);
    EXPECT_EQ(form.Copy().Density, w.Materials.Items[0].Density);
    form.SetFrozen(true);
    form.RemovePreview();
    form.Apply(w);

    const Peg& rod = w.Pegs[s.rod];
    EXPECT_TRUE(rod.Exists);
    EXPECT_EQ(rod.Length, 3);
    EXPECT_FALSE(rod.Movable);
    EXPECT_EQ(rod.End1Kind, 0);
    EXPECT_EQ(w.Balls[s.ball1].BindKind, BindNothing);  // let go
    EXPECT_EQ(w.Balls[s.ball2].BindKind, BindPegEnd);
    EXPECT_NEAR(w.Balls[s.ball2].Position.X, rod.End2.X + 0.1, 1e-12);
    // Normalised: a second normalisation changes nothing.
    const auto applied = std::make_unique<World>(w);
    RecomputeRod(w, s.rod);
    EXPECT_TRUE(SameBytes(w.Pegs, applied->Pegs));
    EXPECT_TRUE(SameBytes(w.Balls, applied->Balls));
}

TEST(PegForm, EndBoxesKeepCylindersAndRefuseBallsThatAreGone) {
    RodScene s;
    World& w = *s.world;
    w.Balls[s.ball2].Shape = ShapeCylinder;
    w.Pegs[s.rod].End2Kind = KindCylinder;
    DeleteObject(w, KindBall, s.ball1);
    RecomputeRod(w, s.rod);
    PegForm form(w, s.rod);
    EXPECT_FALSE(form.EndFastened(1));
    EXPECT_FALSE(form.EndFastenable(1));
    form.SetEndFastened(1, true);  // nothing to fasten: stays free
    EXPECT_EQ(form.Copy().End1Kind, 0);
    EXPECT_EQ(form.EndCaption(1), "Привязка первого конца");
    // A cylinder held at end 2 (kind 10) opens fastened and stays so.
    EXPECT_TRUE(form.EndFastened(2));
    EXPECT_EQ(form.EndCaption(2), "Привязка второго конца к цилиндру №" + std::to_string(s.ball2));
    form.SetEndFastened(2, false);
    EXPECT_EQ(form.EndCaption(2), "Привязка второго конца");
    form.SetEndFastened(2, true);
    EXPECT_EQ(form.Copy().End2Kind, KindCylinder);
}

TEST(PegForm, HangingPointFractionAndCentre) {
    RodScene s(false);
    World& w = *s.world;
    for (Vec2 p : {Vec2{5, 5}, Vec2{0, 2}, Vec2{1, 2}}) {
        const int n = NewObject(w, KindLaval).Number;
        w.Lavals[n].Position = p;
    }
    DeleteObject(w, KindLaval, 1);
    PegForm form(w, s.rod);
    EXPECT_TRUE(form.CanHang());
    EXPECT_EQ(form.InitialLaval(), 2);  // the first live point, not 0
    EXPECT_EQ(form.StepLaval(3, -1), 2);
    EXPECT_EQ(form.StepLaval(2, -1), 2);  // point 1 is deleted
    EXPECT_EQ(form.StepLaval(3, +1), 3);
    EXPECT_FALSE(form.LavalAllowed(1));
    EXPECT_FALSE(form.LavalAllowed(2.5));
    EXPECT_TRUE(form.LavalAllowed(3));

    // A free rod's centre moves; a hung one's stays at its point.
    EXPECT_TRUE(form.SetCentre(0, 0.5));
    form.SetHangLaval(2);
    EXPECT_EQ(form.Copy().Position, (Vec2{0, 2}));
    EXPECT_FALSE(form.SetCentre(0, 7));
    EXPECT_FALSE(form.SetCentre(1, 7));
    EXPECT_EQ(form.Copy().Position, (Vec2{0, 2}));

    struct Answer {
        const char* text;
        double fraction;
    };
    for (const Answer& a : {Answer{"2", 1}, Answer{"-1", 0}, Answer{"abc", 0}, Answer{"", 0}, Answer{"0,25", 0.25}}) {
        form.SetHangFraction(a.text);
        EXPECT_EQ(form.Copy().HangFraction, a.fraction) << a.text;
    }
    // Hung at a quarter, the rod's own centre of mass is still its middle.
    EXPECT_NEAR(form.Copy().End1.X, -0.25, 1e-12);
    EXPECT_NEAR(form.ShownCentre().X, 0.25, 1e-12);
    EXPECT_EQ(form.CentreOfMassText(), "Центр масс системы находится посередине стержня.\nЕго координаты:");

    // Let go of, the rod stays where it hung and its centre is free again.
    const Vec2 end1 = form.Copy().End1, end2 = form.Copy().End2;
    form.SetHangLaval(0);
    EXPECT_FALSE(form.Hung());
    EXPECT_NEAR(form.Copy().End1.X, end1.X, 1e-12);
    EXPECT_NEAR(form.Copy().End2.Y, end2.Y, 1e-12);
    EXPECT_TRUE(form.SetCentre(1, 3));
    // Beyond the largest coordinate the contacts would overflow.
    EXPECT_FALSE(form.SetCentre(0, 1e300));
    EXPECT_FALSE(form.SetCentre(1, -2e9));
    EXPECT_EQ(form.Copy().Position.Y, 3);
}

TEST(PegForm, CentreOfMassText) {
    // The second ball made heavier by a factor: the rod's mass is
    // 0.0009 * 7800 = 7.02, each ball's 4/3 pi 0.001 * 7800 = 32.67.
    const auto textFor = [](double factor, double* offset) {
        RodScene s;
        World& w = *s.world;
        w.Balls[s.ball2].Density *= factor;
        RecomputeBall(w, s.ball2);
        RecomputeRod(w, s.rod);
        PegForm form(w, s.rod);
        *offset = form.Copy().CentreOffset;
        EXPECT_EQ(form.ShownCentre(), form.Copy().Position);
        return form.CentreOfMassText();
    };
    const std::string middle = "Центр масс системы находится посередине стержня.\nЕго координаты:";
    double c = 0;
    EXPECT_EQ(textFor(1, &c), middle);
    // Within a ten-billionth of the length of the middle: the middle.
    EXPECT_EQ(textFor(1 + 1e-12, &c), middle);
    std::string text = textFor(2, &c);
    EXPECT_EQ(text, "Центр масс системы находится ближе ко второму концу на расстоянии " + FormatRounded(c) +
                        " м от центра стержня и имеет координаты:");
    EXPECT_GT(c, 0.1);
    text = textFor(0.5, &c);
    EXPECT_EQ(text, "Центр масс системы находится ближе к первому концу на расстоянии " + FormatRounded(-c) +
                        " м от центра стержня и имеет координаты:");
    EXPECT_LT(c, -0.1);
}

}  // namespace
}  // namespace velo
