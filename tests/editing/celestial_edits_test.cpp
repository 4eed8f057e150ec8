// Celestial bodies made with a click and found under the pointer.
#include <gtest/gtest.h>

#include <memory>

#include "celestial/bodies.h"
#include "editing/celestial_edits.h"
#include "editing/creation.h"
#include "model/world_ops.h"

namespace velo {
namespace {

TEST(CelestialEdits, ClickAtTheCentreMakesABodyOnTheAxis) {
    auto w = std::make_unique<World>();
    DefaultWorld(*w);
    w->ProjectKind = ProjectCelestial;
    double next = 0;
    const UniformSource fixed = [&] { return next; };
    const int n = CreateCelestialBody(*w, {0, 0}, 10, fixed);
    ASSERT_EQ(n, 1);
    const HBody& b = w->HBodies[n];
    EXPECT_EQ(b.Position.Z, -1e9);
    EXPECT_EQ(b.Position.X, 0);
    EXPECT_DOUBLE_EQ(b.Radius, 1e9 * 8.5 * 10 / w->Celestial.ObserverDistance);
    EXPECT_EQ(b.Velocity.X, -10000);  // u = 0
    EXPECT_EQ(b.Colour, 128 + 256 * 128 + 65536 * 128);
    EXPECT_TRUE(b.Selected && b.Movable && b.Exists);
    EXPECT_GT(b.Mass, 0);
    EXPECT_EQ(w->CurrentKind, KindHBody);
    // Drawn centred, 8.5 pixels of 10 field units wide at least.
    const BodyCircle circle = ProjectBody(b, w->Celestial.ObserverDistance);
    EXPECT_NEAR(circle.Left + circle.Diameter / 2, 0, 1e-9);
    EXPECT_NEAR(circle.Diameter / 2, 85.0, 0.1);  // D R / sqrt(z^2 - R^2)

    // The nearer of two bodies under the pointer is found.
    next = 0.5;
    const int far = CreateCelestialBody(*w, {0, 0}, 10, fixed);
    w->HBodies[far].Position.Z = -2e9;
    EXPECT_EQ(BodyAt(*w, {10, 10}).Number, n);
    // Of equal depth, the one drawn on top.
    w->HBodies[far].Position.Z = w->HBodies[n].Position.Z;
    EXPECT_EQ(BodyAt(*w, {10, 10}).Number, far);
    EXPECT_FALSE(BodyAt(*w, {3000, 3000}).Any());

    w->HBodyCount = HBodyCapacity;
    EXPECT_EQ(CreateCelestialBody(*w, {0, 0}, 10, fixed), 0);
    EXPECT_EQ(CreationRefusal(*w, ModeHBody).rfind("Небесное тело не может быть создано", 0), 0u);
}

}  // namespace
}  // namespace velo
