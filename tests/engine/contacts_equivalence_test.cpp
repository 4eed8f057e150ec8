// The indexed ball contacts against the plain loops over every object, on
// random scenes, step by step, compared bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>

#include "contact_scenes.h"
#include "engine/ball_contacts.h"
#include "engine/obstacle_index.h"
#include "model/world_ops.h"

namespace velo {
namespace {

using namespace velo::testing;

// The plain loops: every object, kind by kind, each in increasing number.
void ReferenceBallContacts(World& world, int number, double, StepContext& context) {
    CarriedBallContacts& carried = context.CarriedContacts;
    for (int j = 1; j < number; ++j) ContactWithBall(world, number, j);
    for (int n = 1; n <= world.LavalCount; ++n) ContactWithLaval(world, number, n, carried);
    for (int n = 0; n <= world.HandCount; ++n) ContactWithHand(world, number, n, carried);
    for (int n = 1; n <= world.WallCount; ++n) ContactWithWall(world, number, n, carried);
    for (int n = 1; n <= world.PlaneCount; ++n) ContactWithPlane(world, number, n, carried);
    for (int n = 1; n <= world.SurfaceCount; ++n) ContactWithSurface(world, number, n, carried);
    for (int n = 1; n <= world.Surface2Count; ++n) ContactWithSurface2(world, number, n, carried);
}

template <typename T>
bool SameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

// Every stored and derived field of every ball.
void ExpectSameBalls(const World& a, const World& b, int step) {
    for (int n = 1; n <= a.BallCount; ++n) {
        const Ball& x = a.Balls[n];
        const Ball& y = b.Balls[n];
        const bool same = SameBits(x.Position, y.Position) && SameBits(x.Velocity, y.Velocity) &&
                          SameBits(x.Force, y.Force) && SameBits(x.Acceleration, y.Acceleration) &&
                          SameBits(x.Omega, y.Omega) && SameBits(x.Torque, y.Torque) &&
                          SameBits(x.Epsilon, y.Epsilon) && SameBits(x.Phi, y.Phi) &&
                          SameBits(x.Momentum, y.Momentum) && SameBits(x.KineticEnergy, y.KineticEnergy) &&
                          SameBits(x.AngularMomentum, y.AngularMomentum) && SameBits(x.Mass, y.Mass) &&
                          SameBits(x.GravityAccel, y.GravityAccel) && x.Movable == y.Movable;
        ASSERT_TRUE(same) << "ball " << n << " differs at step " << step << ": " << x.Position.X << ","
                          << x.Position.Y << " vs " << y.Position.X << "," << y.Position.Y;
    }
}

TEST(ContactsEquivalence, IndexedContactsMatchThePlainLoopsBitForBit) {
    long long builds = 0, escapes = 0, withoutLists = 0;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        auto fast = RandomScene(seed);
        auto plain = std::make_unique<World>(*fast);
        StepContext fastContext, plainContext;
        for (int step = 0; step < 300; ++step) {
            BallStep(*fast, 2e-3, fastContext, &BallContacts);
            BallStep(*plain, 2e-3, plainContext, &ReferenceBallContacts);
            ExpectSameBalls(*fast, *plain, step);
            if (::testing::Test::HasFatalFailure()) return;
            if (step == 150) {
                // The fixed scene changes between steps: the index must follow.
                for (World* w : {fast.get(), plain.get()}) {
                    w->Hands[1].Coord = -2.5;
                    w->Surfaces[1].Points[0] = {0, 0};
                    w->Planes[2].Exists = false;
                    Surface& s = w->Surfaces[2];
                    if (s.PointCount > 2) s.Points[static_cast<std::size_t>(s.PointCount / 2)] = {0, -2};
                    MarkFixedSceneChanged(*w);
                }
            }
        }
        const ContactIndex& index = fastContext.Index();
        builds += index.ListBuilds;
        escapes += index.ListEscapes;
        withoutLists += index.StepsWithoutLists;
    }
    // The scenes take every way through the index: neighbour lists built,
    // balls escaping their skin, and steps on the grid alone.
    EXPECT_GT(builds, 12);
    EXPECT_GT(escapes, 12);
    EXPECT_GT(withoutLists, 12);
}

// Obstacles packed closer than the grid's cell: the grid has one cell, and
// every ball must still meet every obstacle.
TEST(ContactsEquivalence, ObstaclesWithinOneCellAreAllMet) {
    auto fast = EmptyScene();
    for (int k = 0; k < 9; ++k) AddLaval(*fast, {-0.4 + 0.1 * k, 0});
    AddBall(*fast, {0, 1.05}, 1, 1, {0, -1});
    auto plain = std::make_unique<World>(*fast);
    StepContext fastContext, plainContext;
    for (int step = 0; step < 200; ++step) {
        BallStep(*fast, 1e-3, fastContext, &BallContacts);
        BallStep(*plain, 1e-3, plainContext, &ReferenceBallContacts);
        ExpectSameBalls(*fast, *plain, step);
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(fast->Balls[1].Position.Y, 0.9);  // it stays on the points
}

// A vertex moved in place is invisible to the index until the edit is
// marked; every command that may change fixed objects marks one, and a
// forgotten mark stops the verifying test builds.
TEST(ContactsEquivalence, VertexEditedInPlaceIsFollowedOnceMarked) {
    auto w = EmptyScene(0);
    AddSurface(*w, {{-1, 0}, {-0.5, 0}, {0, 0}, {0.5, 0}, {1, 0}}, false, 0.01);
    AddBall(*w, {0, 0.5}, 0.1);
    StepContext context;
    context.VerifyFixedScene = true;
    BallStep(*w, 1e-3, context);
    w->Surfaces[1].Points[2] = {0, 0.45};
    EXPECT_THROW(PrepareStep(*w, context), std::logic_error);

    MarkFixedSceneChanged(*w);
    auto fresh = std::make_unique<World>(*w);
    BallStep(*w, 1e-3, context);
    BallStep(*fresh, 1e-3);
    EXPECT_GT(w->Balls[1].Position.Y, 0.5);  // pushed up off the raised vertex
    EXPECT_EQ(w->Balls[1].Position.Y, fresh->Balls[1].Position.Y);

    const std::uint64_t before = w->FixedSceneEdits;
    NewObject(*w, KindHand);
    DeleteObject(*w, KindHand, 1);
    ClearWorld(*w);
    EXPECT_EQ(w->FixedSceneEdits, before + 3);
}

}  // namespace
}  // namespace velo
