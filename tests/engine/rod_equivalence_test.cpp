// The rod contacts found through the contact index against the plain loops
// over every obstacle, on random scenes, step by step, compared bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "rod_scenes.h"

namespace velo {
namespace {

using namespace velo::testing;

// The rod phase and the rods' motion of the mechanical step.
void RodStep(World& w, double dt, StepContext& context, RodObstacleVisitor visit) {
    w.Params.StepCounter = (w.Params.StepCounter + 1) % 2000000000;
    PrepareStep(w, context);
    RodPhase(w, dt, context, visit);
    for (int n = 1; n <= w.PegCount; ++n) {
        Peg& r = w.Pegs[n];
        if (!r.Exists || !r.Movable) continue;
        r.Phi += r.Omega * dt;
        if (r.HangLaval == 0) r.Position += r.Velocity * dt;
        RecomputeRod(w, n);
    }
    w.T += dt;
}

template <typename T>
bool SameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

void ExpectSameRods(const World& a, const World& b, const StepContext& ca, const StepContext& cb, int step) {
    for (int n = 1; n <= a.PegCount; ++n) {
        const Peg& x = a.Pegs[n];
        const Peg& y = b.Pegs[n];
        const bool same = SameBits(x.Position, y.Position) && SameBits(x.Velocity, y.Velocity) &&
                          SameBits(x.Phi, y.Phi) && SameBits(x.Omega, y.Omega) && SameBits(x.Torque, y.Torque) &&
                          SameBits(x.Epsilon, y.Epsilon) && SameBits(x.End1, y.End1) && SameBits(x.End2, y.End2) &&
                          SameBits(x.Acceleration, y.Acceleration) && SameBits(x.AngularMomentum, y.AngularMomentum);
        ASSERT_TRUE(same) << "rod " << n << " differs at step " << step;
    }
    for (int n = 1; n <= a.BallCount; ++n) {
        ASSERT_TRUE(SameBits(a.Balls[n].Position, b.Balls[n].Position)) << "ball " << n << " at step " << step;
    }
    ASSERT_EQ(ca.RodMemory.size(), cb.RodMemory.size());
    for (std::size_t k = 0; k < ca.RodMemory.size(); ++k) {
        const RodContactRecord& x = ca.RodMemory[k];
        const RodContactRecord& y = cb.RodMemory[k];
        ASSERT_TRUE(x.Active == y.Active && x.Step == y.Step) << "contact memory " << k << " at step " << step;
    }
}

TEST(RodContactsEquivalence, IndexedRodContactsMatchThePlainLoopsBitForBit) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        auto fast = RandomRodScene(seed);
        auto plain = std::make_unique<World>(*fast);
        StepContext fastContext, plainContext;
        for (int step = 0; step < 300; ++step) {
            RodStep(*fast, 2e-3, fastContext, &IndexedRodObstacles);
            RodStep(*plain, 2e-3, plainContext, &EveryRodObstacle);
            ExpectSameRods(*fast, *plain, fastContext, plainContext, step);
            if (::testing::Test::HasFatalFailure()) return;
            if (step == 150) {
                // Fixed objects change between steps, a middle vertex among
                // them: the index must follow.
                for (World* w : {fast.get(), plain.get()}) {
                    w->Hands[1].Coord = -2.5;
                    w->Walls[2].Bound2 = 1;
                    w->Planes[2].Exists = false;
                    Surface& s = w->Surfaces[1];
                    if (s.PointCount > 2) s.Points[static_cast<std::size_t>(s.PointCount / 2)] = {0, -1};
                    MarkFixedSceneChanged(*w);
                }
            }
        }
    }
}

// Supports packed within one rod length: the grid has a single cell, and
// the rod must still meet every support.
TEST(RodContactsEquivalence, ObstaclesWithinOneCellAreAllMet) {
    auto fast = EmptyScene();
    SetPair(*fast, 1, 1, 0.3, 0.3, 0.5, 0);
    for (int k = 0; k < 9; ++k) AddHand(*fast, -0.05 * k, -0.5 + 0.05 * k, -0.4 + 0.05 * k, 0.01);
    AddRod(*fast, {0, 0.3}, 0.2, 2, 0.02);
    auto plain = std::make_unique<World>(*fast);
    StepContext fastContext, plainContext;
    for (int step = 0; step < 400; ++step) {
        RodStep(*fast, 1e-3, fastContext, &IndexedRodObstacles);
        RodStep(*plain, 1e-3, plainContext, &EveryRodObstacle);
        ExpectSameRods(*fast, *plain, fastContext, plainContext, step);
        if (::testing::Test::HasFatalFailure()) return;
    }
    // The rod did meet the supports.
    bool touched = false;
    for (const RodContactRecord& record : fastContext.RodMemory) touched = touched || record.Active;
    EXPECT_TRUE(touched);
}

// The balls and the rods share the index of the fixed obstacles; a scene of
// both, through the whole mechanical step, matches one whose index is
// thrown away before every step.
TEST(RodContactsEquivalence, SharedIndexMatchesAFreshIndexEveryStep) {
    auto fast = RandomRodScene(21);
    for (int k = 0; k < 30; ++k) AddBall(*fast, {-2.5 + 0.17 * k, 2.5}, 0.07, 1, {0.3, -1});
    auto fresh = std::make_unique<World>(*fast);
    SilentMessenger messenger;
    StepContext fastContext, freshContext;
    for (int step = 0; step < 400; ++step) {
        MechanicalStep(*fast, 1e-3, messenger, fastContext);
        freshContext.DropIndex();
        MechanicalStep(*fresh, 1e-3, messenger, freshContext);
        ExpectSameRods(*fast, *fresh, fastContext, freshContext, step);
        if (::testing::Test::HasFatalFailure()) return;
        for (int n = 1; n <= fast->BallCount; ++n) {
            ASSERT_TRUE(SameBits(fast->Balls[n].Velocity, fresh->Balls[n].Velocity)) << n << " at " << step;
        }
    }
}

}  // namespace
}  // namespace velo
