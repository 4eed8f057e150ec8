// The fastening command: balls to the nearest rod's second end, rods onto
// the nearest suspension point.
#include <gtest/gtest.h>

#include <numbers>

#include "engine/fastening.h"
#include "engine/geometry.h"
#include "engine/rod_scenes.h"

namespace velo::testing {
namespace {

TEST(Fastening, BallGoesToTheRodWhoseSecondEndIsNearestEvenFarAway) {
    auto w = EmptyScene();
    AddRod(*w, {0.6, 0}, 0, 1, 0.02);    // End1 at 0.1 from the ball, End2 far
    AddRod(*w, {-20, 5}, 0, 1, 0.02);    // End2 at (-19.5, 5)
    AddRod(*w, {-40, 5}, 0, 1, 0.02);
    AddBall(*w, {0, 0}, 0.1);
    w->CurrentKind = KindBall;
    w->CurrentNumber = 1;
    // Rod 1's End2 is at 1.1; rod 2's at about 20: rod 1 wins.
    ASSERT_TRUE(FastenCurrentObject(*w));
    EXPECT_EQ(w->Balls[1].BindKind, BindPegEnd);
    EXPECT_EQ(w->Balls[1].BindNumber, 1);
    EXPECT_EQ(w->Pegs[1].End2Kind, KindBall);
    EXPECT_EQ(w->Pegs[1].End2Number, 1);
    const Peg& rod = w->Pegs[1];
    EXPECT_NEAR(Distance(w->Balls[1].Position, rod.End2), 0.1, 1e-12);

    // A ball near rod 2's far end: rod 2, and the ball it replaces is let go.
    AddBall(*w, {-19, 6}, 0.1);
    ASSERT_EQ(FastenBallToNearestRod(*w, 2), 2);
    AddBall(*w, {-19, 6}, 0.1);
    ASSERT_EQ(FastenBallToNearestRod(*w, 3), 2);
    EXPECT_EQ(w->Balls[2].BindKind, BindNothing);
    EXPECT_EQ(w->Pegs[2].End2Number, 3);
}

TEST(Fastening, NoRodMeansNothingChanges) {
    auto w = EmptyScene();
    AddBall(*w, {0, 0}, 0.1);
    EXPECT_EQ(FastenBallToNearestRod(*w, 1), 0);
    EXPECT_EQ(w->Balls[1].BindKind, BindNothing);
}

TEST(Fastening, RodHangsOnTheNearestPointAtItsFoot) {
    auto w = EmptyScene();
    const int n = AddRod(*w, {0, 0}, 0, 2, 0.02);  // from (-1, 0) to (1, 0)
    AddLaval(*w, {0.5, 0.3});   // foot at 0.75 of the rod, 0.3 away
    AddLaval(*w, {0.2, -0.1});  // foot at 0.6, 0.1 away: nearest
    AddLaval(*w, {1.05, 0});    // beyond End2, 0.05 from it: nearer still
    w->Lavals[3].Exists = false;
    w->CurrentKind = KindPeg;
    w->CurrentNumber = n;
    ASSERT_TRUE(FastenCurrentObject(*w));
    const Peg& rod = w->Pegs[n];
    EXPECT_EQ(rod.HangLaval, 2);
    EXPECT_NEAR(rod.HangFraction, 0.6, 1e-12);
    EXPECT_EQ(rod.Position, (Vec2{0.2, -0.1}));
    EXPECT_NEAR(rod.CentreOffset, 0.1 * 2, 1e-12);

    // A point just beyond End2, nearer than any foot, takes the end.
    w->Lavals[3].Exists = true;
    const int m = AddRod(*w, {0, 0}, 0, 2, 0.02);
    EXPECT_EQ(HangRodOnNearestLaval(*w, m), 3);
    EXPECT_EQ(w->Pegs[m].HangFraction, 1);
    EXPECT_EQ(w->Pegs[m].Position, (Vec2{1.05, 0}));
}

TEST(Fastening, RodWithNoSuspensionPointStaysFree) {
    auto w = EmptyScene();
    const int n = AddRod(*w, {0, 0}, 0, 2, 0.02);
    EXPECT_EQ(HangRodOnNearestLaval(*w, n), 0);
    EXPECT_EQ(w->Pegs[n].HangLaval, 0);
    EXPECT_EQ(w->Pegs[n].Position, (Vec2{0, 0}));
}

}  // namespace
}  // namespace velo::testing
