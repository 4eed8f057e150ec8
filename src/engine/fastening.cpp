#include "engine/fastening.h"

#include "engine/geometry.h"
#include "engine/rod_phase.h"

namespace velo {
namespace {

void ReleaseBallFromItsRod(World& world, int ball) {
    const Ball& b = world.Balls[ball];
    if (b.BindKind != BindPegEnd || b.BindNumber < 1 || b.BindNumber > PegCapacity) return;
    Peg& old = world.Pegs[b.BindNumber];
    bool changed = false;
    if ((old.End1Kind == KindBall || old.End1Kind == KindCylinder) && old.End1Number == ball) {
        old.End1Kind = 0;
        changed = true;
    }
    if ((old.End2Kind == KindBall || old.End2Kind == KindCylinder) && old.End2Number == ball) {
        old.End2Kind = 0;
        changed = true;
    }
    if (changed && old.Exists) RecomputeRod(world, b.BindNumber);
}

}  // namespace

int FastenBallToNearestRod(World& world, int ball) {
    if (ball < 1 || ball > world.BallCount || !world.Balls[ball].Exists) return 0;
    const Vec2 centre = world.Balls[ball].Position;
    int chosen = 0;
    double best = 1e80;
    for (int r = world.PegCount; r >= 1; --r) {
        const Peg& rod = world.Pegs[r];
        if (!rod.Exists) continue;
        const double d = Distance(rod.End2, centre);
        if (d < best) {
            best = d;
            chosen = r;
        }
    }
    if (chosen == 0) return 0;

    ReleaseBallFromItsRod(world, ball);
    Peg& rod = world.Pegs[chosen];
    const int previous = FastenedBall(world, rod, 2);
    if (previous != 0 && previous != ball) {
        Ball& old = world.Balls[previous];
        if (old.BindKind == BindPegEnd && old.BindNumber == chosen) old.BindKind = BindNothing;
    }
    Ball& b = world.Balls[ball];
    b.BindKind = BindPegEnd;
    b.BindNumber = chosen;
    rod.End2Kind = KindBall;
    rod.End2Number = ball;
    b.Position = rod.End2;
    RecomputeRod(world, chosen);
    return chosen;
}

int HangRodOnNearestLaval(World& world, int number) {
    if (number < 1 || number > world.PegCount || !world.Pegs[number].Exists) return 0;
    RecomputeRod(world, number);
    Peg& rod = world.Pegs[number];
    const double tolerance = OnSegmentTolerance(world.Params.FieldScale);
    int chosen = 0;
    double fraction = 0;
    double best = 1e80;
    auto consider = [&](int laval, Vec2 point, Vec2 p, double f) {
        const double d = Distance(point, p);
        if (d < best) {
            best = d;
            chosen = laval;
            fraction = f;
        }
    };
    for (int k = 1; k <= world.LavalCount; ++k) {
        const Laval& laval = world.Lavals[k];
        if (!laval.Exists) continue;
        const SegmentFoot foot = FootOnSegment(laval.Position, rod.End1, rod.End2, tolerance);
        if (foot.OnSegment) {
            const double f = rod.Length != 0 ? Distance(foot.Point, rod.End1) / rod.Length : 0;
            consider(k, foot.Point, laval.Position, f);
        }
        consider(k, rod.End1, laval.Position, 0);
        consider(k, rod.End2, laval.Position, 1);
    }
    rod.HangLaval = chosen;
    if (chosen != 0) {
        rod.HangFraction = fraction;
        rod.Position = world.Lavals[chosen].Position;
    }
    RecomputeRod(world, number);
    return chosen;
}

bool FastenCurrentObject(World& world) {
    switch (world.CurrentKind) {
    case KindBall:
    case KindCylinder:
        return FastenBallToNearestRod(world, world.CurrentNumber) != 0;
    case KindPeg:
        return HangRodOnNearestLaval(world, world.CurrentNumber) != 0;
    default:
        return false;
    }
}

}  // namespace velo
