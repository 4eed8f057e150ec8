// The ball and cylinder window's logic: which typed values it takes, what
// they change in the working copy, the attachment helpers, and what "ОК"
// leaves in the World.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "forms/ball_form.h"
#include "model/derived_fields.h"
#include "model/world_ops.h"

namespace velo {
namespace {

// Scale 1000: radii up to 10, cylinder lengths up to 20. Material 1 has the
// density 1000, material 2 the density 4000.
std::unique_ptr<World> Scene() {
    auto world = std::make_unique<World>();
    DefaultWorld(*world);
    world->ProjectKind = ProjectMechanical;
    world->Params.FieldScale = 1000;
    world->Materials.MaterialCount = 2;
    world->Materials.Items[1].Density = 1000;
    world->Materials.Items[2].Density = 4000;
    world->Materials.Items[2].Name = "латунь";
    return world;
}

int AddBody(World& world, int kind, Vec2 position, double radius = 0.5) {
    const int n = NewObject(world, kind).Number;
    Ball& b = world.Balls[static_cast<std::size_t>(n)];
    b.Position = position;
    b.Radius = radius;
    b.Density = 1000;
    b.Material = 1;
    if (kind == KindCylinder) b.Height = 2 * radius;
    RecomputeBall(world, n);
    return n;
}

// A rod of length 2 along x centred at `centre`: End2 lies at centre + (1, 0).
int AddRod(World& world, Vec2 centre, int layer = 0) {
    const int n = NewObject(world, KindPeg).Number;
    Peg& r = world.Pegs[static_cast<std::size_t>(n)];
    r.Position = centre;
    r.Length = 2;
    r.Width = r.Depth = 0.02;
    r.Z = static_cast<std::uint8_t>(layer);
    RecomputeRod(world, n);
    return n;
}

void Fasten(World& world, int rod, int end, int ball) {
    Peg& r = world.Pegs[static_cast<std::size_t>(rod)];
    (end == 1 ? r.End1Kind : r.End2Kind) = KindBall;
    (end == 1 ? r.End1Number : r.End2Number) = ball;
    world.Balls[static_cast<std::size_t>(ball)].BindKind = BindPegEnd;
    world.Balls[static_cast<std::size_t>(ball)].BindNumber = rod;
    RecomputeRod(world, rod);
}

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-12 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

// Every ball and rod holds what its normalisation would give it.
void ExpectNormalised(const World& world) {
    auto again = std::make_unique<World>(world);
    for (int n = 1; n <= world.BallCount; ++n) {
        if (again->Balls[static_cast<std::size_t>(n)].Exists) RecomputeBall(*again, n);
    }
    for (int n = 1; n <= world.PegCount; ++n) {
        if (again->Pegs[static_cast<std::size_t>(n)].Exists) RecomputeRod(*again, n);
    }
    for (int n = 1; n <= world.BallCount; ++n) {
        const Ball& a = world.Balls[static_cast<std::size_t>(n)];
        const Ball& b = again->Balls[static_cast<std::size_t>(n)];
        const double pairs[][2] = {{a.Mass, b.Mass},
                                   {a.Volume, b.Volume},
                                   {a.Inertia, b.Inertia},
                                   {a.KineticEnergy, b.KineticEnergy},
                                   {a.PotentialEnergy, b.PotentialEnergy},
                                   {a.Momentum.X, b.Momentum.X},
                                   {a.Position.X, b.Position.X},
                                   {a.Position.Y, b.Position.Y}};
        for (const auto& p : pairs) {
            EXPECT_TRUE(std::isfinite(p[0])) << "ball " << n;
            EXPECT_TRUE(Near(p[0], p[1])) << "ball " << n << ": " << p[0] << " != " << p[1];
        }
    }
    for (int n = 1; n <= world.PegCount; ++n) {
        const Peg& a = world.Pegs[static_cast<std::size_t>(n)];
        const Peg& b = again->Pegs[static_cast<std::size_t>(n)];
        EXPECT_TRUE(Near(a.End2.X, b.End2.X) && Near(a.Mass, b.Mass)) << "rod " << n;
    }
}

TEST(BallWindowConstants, RangesAndWhatATypedConstantChanges) {
    const double volume = 4.0 / 3.0 * std::numbers::pi * 0.125;  // radius 0.5
    const struct {
        int Kind;
        BallValue Value;
        double Typed;
        bool Taken;
        double Mass, Density, Radius, Height;  // after taking it; NaN: not checked
    } cases[] = {
        // Mass m sets the density m / V.
        {KindBall, ValueMass, 2 * volume, true, 2 * volume, 2, 0.5, NAN},
        {KindBall, ValueMass, 1e-81 * volume, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueMass, 0, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueDensity, 1e-80, true, NAN, 1e-80, NAN, NAN},
        {KindBall, ValueDensity, 1e81, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueDensity, -5, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueRadius, 10, true, NAN, 1000, 10, NAN},
        {KindBall, ValueRadius, 10.001, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueRadius, 0, false, NAN, NAN, NAN, NAN},
        // A ball's volume gives its radius; none of 0 or below.
        {KindBall, ValueVolume, 4.0 / 3.0 * std::numbers::pi * 8, true, NAN, 1000, 2, NAN},
        {KindBall, ValueVolume, 0, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueVolume, -1, false, NAN, NAN, NAN, NAN},
        {KindBall, ValueVolume, 4.0 / 3.0 * std::numbers::pi * 1331, false, NAN, NAN, NAN, NAN},  // radius 11
        // A cylinder's volume gives its length.
        {KindCylinder, ValueVolume, std::numbers::pi * 0.25 * 3, true, NAN, 1000, 0.5, 3},
        {KindCylinder, ValueVolume, 0, false, NAN, NAN, NAN, NAN},
        {KindCylinder, ValueVolume, -2, false, NAN, NAN, NAN, NAN},
        {KindCylinder, ValueVolume, std::numbers::pi * 0.25 * 21, false, NAN, NAN, NAN, NAN},
        {KindCylinder, ValueLength, 20, true, std::numbers::pi * 0.25 * 20 * 1000, 1000, 0.5, 20},
        {KindCylinder, ValueLength, 20.01, false, NAN, NAN, NAN, NAN},
        {KindCylinder, ValueLength, 0, false, NAN, NAN, NAN, NAN},
    };
    for (const auto& c : cases) {
        auto world = Scene();
        const int n = AddBody(*world, c.Kind, {3, 3});
        BallForm form(*world, n);
        const Ball before = form.Copy();
        const std::string what = std::to_string(c.Kind) + "/" + std::to_string(c.Value) + " = " + std::to_string(c.Typed);
        EXPECT_EQ(form.Allowed(c.Value, c.Typed), c.Taken) << what;
        EXPECT_EQ(form.Set(c.Value, c.Typed), c.Taken) << what;
        const Ball& b = form.Copy();
        if (!c.Taken) {
            EXPECT_EQ(b.Mass, before.Mass) << what;
            EXPECT_EQ(b.Radius, before.Radius) << what;
            EXPECT_EQ(b.Height, before.Height) << what;
            continue;
        }
        const double expected[][3] = {{b.Mass, c.Mass, 1e-9 * c.Mass},
                                      {b.Density, c.Density, 1e-9 * c.Density},
                                      {b.Radius, c.Radius, 1e-12},
                                      {b.Height, c.Height, 1e-12}};
        for (const auto& e : expected) {
            if (!std::isnan(e[1])) {
                EXPECT_NEAR(e[0], e[1], e[2]) << what;
            }
        }
        // The copy stays normalised: mass = density * volume.
        EXPECT_NEAR(b.Mass, b.Density * b.Volume, 1e-12 * b.Mass) << what;
    }
}

TEST(BallWindowValues, UnreadableNumbersNeverGiveAnInfiniteEnergy) {
    auto world = Scene();
    const int n = AddBody(*world, KindBall, {3, 3});
    BallForm form(*world, n);
    // 1e300 is what an unreadable number reads as: as a velocity its
    // kinetic energy is beyond any double.
    EXPECT_FALSE(form.Set(ValueVelocityX, 1e300));
    EXPECT_FALSE(form.Set(ValueOmega, 1e300));
    EXPECT_EQ(form.Copy().Velocity.X, 0);
    EXPECT_TRUE(form.Set(ValueVelocityY, -4));
    EXPECT_NEAR(form.Copy().KineticEnergy, form.Copy().Mass * 8, 1e-9);
    EXPECT_NEAR(form.Copy().Momentum.Y, -4 * form.Copy().Mass, 1e-9);
    EXPECT_TRUE(form.Set(ValuePositionX, -7));
    // Positions stop at the largest coordinate the contacts can square.
    EXPECT_FALSE(form.Set(ValuePositionX, 1e300));
    EXPECT_FALSE(form.Set(ValuePositionY, -1.5e9));
    EXPECT_TRUE(form.Set(ValuePositionY, 1e9));
    EXPECT_EQ(form.Copy().Position, (Vec2{-7, 1e9}));
    EXPECT_TRUE(form.Set(ValuePhi, 1e300));
    EXPECT_TRUE(form.Set(ValueDragQuadratic, 0.25));
    EXPECT_EQ(form.Get(ValueDragQuadratic), 0.25);
    EXPECT_FALSE(form.Set(ValueDragLinear, NAN));
}

TEST(BallWindowValues, AnglesInTheProjectsAngleUnit) {
    auto world = Scene();  // degrees
    const int n = AddBody(*world, KindBall, {3, 3});
    world->Balls[static_cast<std::size_t>(n)].Epsilon = std::numbers::pi;
    BallForm form(*world, n);
    ASSERT_TRUE(form.Set(ValuePhi, 90));
    ASSERT_TRUE(form.Set(ValueOmega, -180));
    EXPECT_DOUBLE_EQ(form.Copy().Phi, std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(form.Copy().Omega, -std::numbers::pi);
    EXPECT_DOUBLE_EQ(form.Get(ValuePhi), 90);
    EXPECT_DOUBLE_EQ(form.ShownEpsilon(), 180);
}

TEST(BallWindowShape, UniformBodiesTakeTheFactorOfTheirShape) {
    auto world = Scene();
    const int n = AddBody(*world, KindBall, {3, 3});
    BallForm form(*world, n);
    EXPECT_FALSE(form.NonUniform());
    EXPECT_EQ(form.Caption(), std::string(BallCaption) + " " + std::to_string(n));
    EXPECT_FALSE(form.LengthVisible());
    form.SetShape(1);
    EXPECT_EQ(form.Copy().Shape, ShapeCylinder);
    EXPECT_EQ(form.Copy().InertiaFactor, 0.5);
    EXPECT_TRUE(form.LengthVisible());
    EXPECT_EQ(form.Caption(), std::string(CylinderCaption) + " " + std::to_string(n));
    // A ball made as a ball has no length; as a cylinder it gets its diameter.
    EXPECT_EQ(form.Copy().Height, 1);
    EXPECT_GT(form.Copy().Mass, 0);
    form.SetShape(0);
    EXPECT_EQ(form.Copy().InertiaFactor, 0.4);

    // K is typed only while the mass is non-uniform, never below 0; the
    // shape then keeps it, and unticking gives the shape's K back.
    EXPECT_FALSE(form.Set(ValueInertiaFactor, 0.3));
    form.SetNonUniform(true);
    EXPECT_FALSE(form.Set(ValueInertiaFactor, -0.1));
    EXPECT_TRUE(form.Set(ValueInertiaFactor, 0.3));
    EXPECT_NEAR(form.Copy().Inertia, 0.3 * form.Copy().Mass * 0.25, 1e-12);
    form.SetShape(1);
    EXPECT_EQ(form.Copy().InertiaFactor, 0.3);
    form.SetNonUniform(false);
    EXPECT_EQ(form.Copy().InertiaFactor, 0.5);

    // A body opened with a K of no uniform body has its box ticked.
    world->Balls[static_cast<std::size_t>(n)].InertiaFactor = 0.7;
    EXPECT_TRUE(BallForm(*world, n).NonUniform());
}

TEST(BallWindowMaterial, UniformTakesTheDensityNonUniformKeepsItsRatio) {
    auto world = Scene();
    const int n = AddBody(*world, KindBall, {3, 3});
    BallForm form(*world, n);
    form.Set(ValueDensity, 1500);
    form.SetMaterial(2);
    EXPECT_EQ(form.Copy().Density, 4000);
    EXPECT_EQ(form.Copy().Material, 2);
    form.SetNonUniform(true);
    form.Set(ValueDensity, 6000);
    form.SetMaterial(1);
    EXPECT_EQ(form.Copy().Density, 1500);
    EXPECT_FALSE(form.SetMaterial(3));  // beyond the table: nothing
    EXPECT_EQ(form.Copy().Material, 1);
    // A fast body cannot take a material so dense that its energy leaves
    // the numbers.
    form.SetNonUniform(false);
    ASSERT_TRUE(form.Set(ValueVelocityX, 1e120));
    world->Materials.Items[2].Density = 1e80;
    EXPECT_FALSE(form.SetMaterial(2));
    EXPECT_EQ(form.Copy().Material, 1);
    EXPECT_TRUE(std::isfinite(form.Copy().KineticEnergy));
}

TEST(BallWindowLayer, WholeNumbersFrom0To255) {
    const struct {
        double Typed;
        int Layer;  // -1: refused
    } cases[] = {{0, 0}, {255, 255}, {17, 17}, {256, -1}, {-1, -1}, {2.5, -1}, {1e300, -1}, {NAN, -1}};
    for (const auto& c : cases) EXPECT_EQ(BallForm::LayerOf(c.Typed).value_or(-1), c.Layer) << c.Typed;
}

TEST(BallWindowAttachment, RodsWithFreeEndsAndFreeSuspensionPoints) {
    auto world = Scene();
    const int rod1 = AddRod(*world, {0, 0});
    const int rod2 = AddRod(*world, {0, 5});
    const int rod3 = AddRod(*world, {0, 10});
    const int held = AddBody(*world, KindBall, {1, 5}, 0.1);
    const int held2 = AddBody(*world, KindBall, {-1, 5}, 0.1);
    Fasten(*world, rod2, 2, held);
    EXPECT_EQ(StatusPeg(*world, rod1), 3);
    EXPECT_EQ(StatusPeg(*world, rod2), 1);
    Fasten(*world, rod2, 1, held2);
    EXPECT_EQ(StatusPeg(*world, rod2), 0);
    EXPECT_EQ(StatusPeg(*world, 0), 0);
    EXPECT_EQ(StatusPeg(*world, world->PegCount + 1), 0);
    EXPECT_EQ(FindPeg(*world, 2, false), rod3);
    EXPECT_EQ(FindPeg(*world, 2, true), rod1);
    DeleteObject(*world, KindPeg, rod3);
    EXPECT_EQ(StatusPeg(*world, rod3), 0);
    EXPECT_EQ(FindPeg(*world, 2, false), 0);

    // A point is offered while nothing of the ball's layer hangs on it.
    for (int i = 0; i < 3; ++i) NewObject(*world, KindLaval);
    const int self = AddBody(*world, KindBall, {4, 4});
    const int hung = AddBody(*world, KindBall, {4, 0});
    world->Balls[static_cast<std::size_t>(hung)].BindKind = BindLaval;
    world->Balls[static_cast<std::size_t>(hung)].BindNumber = 1;
    world->Pegs[static_cast<std::size_t>(rod1)].HangLaval = 2;
    world->Pegs[static_cast<std::size_t>(rod1)].Z = 3;
    EXPECT_FALSE(FreeLaval(*world, 1, 0, self));
    EXPECT_TRUE(FreeLaval(*world, 1, 0, hung));  // its own point
    EXPECT_TRUE(FreeLaval(*world, 1, 1, self));  // another layer
    EXPECT_TRUE(FreeLaval(*world, 2, 0, self));
    EXPECT_FALSE(FreeLaval(*world, 2, 3, self));
    EXPECT_EQ(FindLaval(*world, 1, false, 0, self), 2);
    EXPECT_EQ(FindLaval(*world, 1, false, 3, self), 1);
    EXPECT_EQ(FindLaval(*world, 3, true, 0, self), 3);
    DeleteObject(*world, KindLaval, 3);
    EXPECT_EQ(FindLaval(*world, 3, true, 0, self), 2);
}

TEST(BallWindowAttachment, AFreeBallIsPutAtTheNearestRodEnd) {
    auto world = Scene();
    AddRod(*world, {0, 0});
    const int near = AddRod(*world, {10, 0});
    NewObject(*world, KindLaval);
    const int n = AddBody(*world, KindBall, {12, 1});
    BallForm form(*world, n);
    // Opening offers the nearest rod end and moves nothing.
    EXPECT_FALSE(form.Attachment().Checked);
    EXPECT_EQ(form.Attachment().Number, near);
    EXPECT_EQ(form.Attachment().List, BindListPeg);
    EXPECT_TRUE(form.Attachment().LayerEnabled);
    EXPECT_EQ(form.Copy().Position, (Vec2{12, 1}));
    form.SetBind(true);
    EXPECT_EQ(form.Copy().Position, world->Pegs[static_cast<std::size_t>(near)].End2);
    EXPECT_EQ(form.Copy().BindNumber, near);
    EXPECT_EQ(form.Copy().BindKind, BindNothing);
    EXPECT_FALSE(form.Attachment().LayerEnabled);
    EXPECT_TRUE(form.Attachment().FirstEndEnabled && form.Attachment().SecondEndEnabled);
    // The spinner goes to the next rod with a free end.
    EXPECT_EQ(form.BindStep(false), 1);
    EXPECT_EQ(form.BindStep(true), near);  // none above: stays
    form.SetBindNumber(-1.7);  // the whole part, without the sign
    EXPECT_EQ(form.Copy().Position, world->Pegs[1].End2);
    form.SetBindNumber(0);
    EXPECT_FALSE(form.Attachment().DetailsEnabled);
    EXPECT_TRUE(form.Attachment().NumberEnabled);
    form.SetBindList(BindListLaval);
    EXPECT_EQ(form.Attachment().Number, 1);
    EXPECT_FALSE(form.Attachment().EndOptionsVisible);
    EXPECT_EQ(form.Attachment().Maximum, 1);
}

TEST(BallWindowAttachment, TickedToAFreeEndTheBallIsFastenedOnOk) {
    auto world = Scene();
    const int far = AddRod(*world, {0, 0});
    const int taken = AddRod(*world, {10, 0});
    Fasten(*world, taken, 2, AddBody(*world, KindBall, {11, 0}, 0.1));
    const int n = AddBody(*world, KindBall, {12, 1}, 0.2);

    // The nearer rod's second end holds a ball: its free first end is offered.
    {
        BallForm form(*world, n);
        EXPECT_EQ(form.Attachment().Number, taken);
        EXPECT_TRUE(form.Attachment().BoxEnabled);
        form.SetBind(true);
        EXPECT_EQ(form.Copy().Position, world->Pegs[static_cast<std::size_t>(taken)].End1);
        form.Apply(*world);
    }
    const Peg& rod = world->Pegs[static_cast<std::size_t>(taken)];
    const Ball& ball = world->Balls[static_cast<std::size_t>(n)];
    EXPECT_EQ(ball.BindKind, BindPegEnd);
    EXPECT_EQ(ball.BindNumber, taken);
    EXPECT_EQ(FastenedBall(*world, rod, 1), n);
    EXPECT_EQ(StatusPeg(*world, taken), 0);
    ExpectNormalised(*world);

    // Now attached: the box is closed and says where to let go.
    BallForm attached(*world, n);
    EXPECT_FALSE(attached.Attachment().BoxEnabled);
    EXPECT_NE(attached.Attachment().BoxHint.find("окне свойств стержня"), std::string::npos);

    // Ticked and unticked again, a free ball names no rod.
    const int other = AddBody(*world, KindBall, {-3, 3}, 0.2);
    BallForm form(*world, other);
    form.SetBind(true);
    EXPECT_EQ(form.Copy().BindNumber, far);
    form.SetBind(false);
    form.Apply(*world);
    EXPECT_EQ(world->Balls[static_cast<std::size_t>(other)].BindKind, BindNothing);
    EXPECT_EQ(world->Balls[static_cast<std::size_t>(other)].BindNumber, 0);
    EXPECT_EQ(StatusPeg(*world, far), 3);
}

TEST(BallWindowAttachment, AnAttachedBallKeepsItsAttachment) {
    auto world = Scene();
    const int rod = AddRod(*world, {0, 0});
    AddRod(*world, {5, 5});
    const int n = AddBody(*world, KindBall, {0, 0}, 0.2);
    Fasten(*world, rod, 1, n);
    BallForm form(*world, n);
    EXPECT_TRUE(form.Attachment().Checked);
    EXPECT_FALSE(form.Attachment().Editable);
    EXPECT_EQ(form.Attachment().Number, rod);
    const Vec2 at = form.Copy().Position;
    form.SetBindNumber(2);
    form.SetBindList(BindListLaval);
    form.SetBind(false);
    form.SetBind(true);
    EXPECT_EQ(form.Copy().Position, at);
    EXPECT_EQ(form.Copy().BindNumber, rod);
    EXPECT_EQ(form.Attachment().List, BindListPeg);
    // A larger ball stays at the end of its rod after "ОК".
    form.Set(ValueRadius, 0.3);
    form.Apply(*world);
    const Peg& r = world->Pegs[static_cast<std::size_t>(rod)];
    const Ball& b = world->Balls[static_cast<std::size_t>(n)];
    EXPECT_NEAR(std::hypot(b.Position.X - r.End1.X, b.Position.Y - r.End1.Y), 0.3, 1e-12);
    ExpectNormalised(*world);
}

TEST(BallWindowApply, EveryAcceptedEditLeavesTheWorldNormalised) {
    const struct {
        BallValue Value;
        double Typed;
    } edits[] = {{ValueMass, 10},       {ValueDensity, 7800}, {ValueRadius, 0.25},   {ValueVolume, 2},
                 {ValueLength, 3},      {ValuePositionX, -2}, {ValuePositionY, 1e6}, {ValueVelocityX, 3},
                 {ValueVelocityY, -1},  {ValuePhi, 1},        {ValueOmega, 12},      {ValueInertiaFactor, 0.6},
                 {ValueDragLinear, 1},  {ValueDragQuadratic, 2}, {ValueVelocityX, 1e300}, {ValueMass, 1e300}};
    for (const int kind : {KindBall, KindCylinder}) {
        for (const bool hung : {false, true}) {
            for (const auto& e : edits) {
                auto world = Scene();
                const int n = AddBody(*world, kind, {2, 2});
                NewObject(*world, KindLaval);
                world->Lavals[1].Position = {2, 4};
                if (hung) {
                    Ball& b = world->Balls[static_cast<std::size_t>(n)];
                    b.BindKind = BindLaval;
                    b.BindNumber = 1;
                    RecomputeBall(*world, n);
                }
                BallForm form(*world, n);
                form.SetNonUniform(true);
                form.ShowPreview(*world);
                form.Set(e.Value, e.Typed);
                form.SetMaterial(2);
                form.RemovePreview(*world);
                form.Apply(*world);
                SCOPED_TRACE(std::to_string(kind) + (hung ? " hung " : " free ") + std::to_string(e.Value));
                ExpectNormalised(*world);
                const Ball& b = world->Balls[static_cast<std::size_t>(n)];
                EXPECT_TRUE(b.Exists && b.Selected);
                EXPECT_FALSE(world->Balls[0].Exists);
                EXPECT_EQ(world->Params.DefaultMaterial, 2);
            }
        }
    }
}

TEST(BallWindowExtras, AreaEnergyAndDiameter) {
    auto world = Scene();
    const int ball = AddBody(*world, KindBall, {0, 2}, 0.5);
    const int cylinder = AddBody(*world, KindCylinder, {0, 2}, 0.5);
    world->Balls[static_cast<std::size_t>(cylinder)].Height = 3;
    RecomputeBall(*world, cylinder);
    const BallExtras b = BallForm(*world, ball).Extras();
    EXPECT_DOUBLE_EQ(b.Diameter, 1);
    EXPECT_DOUBLE_EQ(b.Area, std::numbers::pi);
    EXPECT_DOUBLE_EQ(b.Energy, world->Balls[static_cast<std::size_t>(ball)].PotentialEnergy);
    EXPECT_DOUBLE_EQ(BallForm(*world, cylinder).Extras().Area, 3.5 * std::numbers::pi);
}

}  // namespace
}  // namespace velo
