#include "model/derived_fields.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/portable_math.h"

namespace velo {
namespace {

Vec2 Direction(double angle) {
    Vec2 v;
    math::SinCos(angle, v.Y, v.X);
    return v;
}
Vec2 Perpendicular(Vec2 v) { return {-v.Y, v.X}; }

// Places a ball hung on suspension point `point` on its rigid radius and
// turns its motion into the turning of that radius.
void PlaceHungBall(Ball& ball, const Laval& point) {
    const Vec2 pivot = point.Position;

    // A hung ball read from a file has no radius yet (the file does not
    // keep it): it hangs at its stored distance from the point. Its stored
    // BindAngle is kept, so Phi + BindAngle still gives the direction from
    // the centre to the point.
    if (ball.BindRadius == 0) {
        const Vec2 toPivot = pivot - ball.Position;
        ball.BindRadius = std::sqrt(toPivot.X * toPivot.X + toPivot.Y * toPivot.Y);
    }

    const double theta = ball.Phi + ball.BindAngle;
    Vec2 unit;
    math::SinCos(theta, unit.Y, unit.X);
    const Vec2 r = unit * ball.BindRadius;
    ball.Position = pivot - r;

    // The ball turns rigidly with its radius, so Omega is the angular
    // velocity of the whole pendulum about the point. The velocity gathered
    // since the last placement (gravity, air, impulses) is turned into
    // angular momentum about the point before it is cleared; the arm runs
    // from the point to the centre. The pendulum's moment of inertia about
    // the point is J + m·r².
    const double pivotInertia = ball.Inertia + ball.Mass * ball.BindRadius * ball.BindRadius;
    const Vec2 arm = -r;
    const Vec2 gathered = ball.Velocity * ball.Mass;
    ball.AngularMomentum = pivotInertia * ball.Omega + Cross(arm, gathered);
    ball.Omega = pivotInertia > 0 ? ball.AngularMomentum / pivotInertia : 0;
    ball.Velocity = {0, 0};
}

}  // namespace

void RecomputeBall(World& world, int number) { RecomputeBall(world, number, LargestBallRadius(world)); }

void RecomputeBall(World& world, int number, double largestRadius) {
    RecomputeBallRecord(world.Balls[number], world.Params, world.Lavals, largestRadius);
}

void RecomputeBallRecord(Ball& ball, const Parameters& params, const std::array<Laval, LavalCapacity + 1>& lavals) {
    RecomputeBallRecord(ball, params, lavals, 10000 / params.FieldScale);
}

void RecomputeBallRecord(Ball& ball, const Parameters& params, const std::array<Laval, LavalCapacity + 1>& lavals,
                         double largestRadius) {

    // The new values are kept at hand rather than read back from the
    // record just written: the step runs this for every ball.
    const double density = std::max(ball.Density, 1e-80);
    const double r = std::min(std::max(ball.Radius, 1e-80), largestRadius);
    double volume = 1.0;
    if (ball.Shape == ShapeBall) {
        volume = 4.0 / 3.0 * std::numbers::pi * r * r * r;
    } else if (ball.Shape == ShapeCylinder) {
        volume = std::numbers::pi * r * r * ball.Height;
    }
    const double mass = density * volume;
    const double inertia = ball.InertiaFactor * mass * r * r;
    ball.Density = density;
    ball.Radius = r;
    ball.Volume = volume;
    ball.Mass = mass;
    ball.Inertia = inertia;

    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity) {
        const Laval& point = lavals[ball.BindNumber];
        PlaceHungBall(ball, point);
        // The whole motion of a hung ball is the turning of its radius:
        // Omega about the point, with the moment of inertia J + m r² there,
        // and its centre moving across the radius. (Its Velocity only
        // gathers the change of one step.)
        const double omega = ball.Omega;
        const double pivotInertia = inertia + mass * ball.BindRadius * ball.BindRadius;
        ball.KineticEnergy = pivotInertia * omega * omega / 2;
        ball.Momentum = Perpendicular(ball.Position - point.Position) * (omega * mass);
    } else {
        const Vec2 v = ball.Velocity;
        const double omega = ball.Omega;
        ball.KineticEnergy = (mass * (v.X * v.X + v.Y * v.Y) + inertia * omega * omega) / 2;
        ball.Momentum = v * mass;
    }
    ball.PotentialEnergy = (ball.Position.Y - params.ZeroLevel) * params.Gravity * mass;
}

double CarriedBallOffset(const Peg& rod, const Ball& ball, int end) {
    const double half = rod.Length / 2;
    return end == 1 ? -half - ball.Radius - rod.CentreOffset : half + ball.Radius - rod.CentreOffset;
}

void RestoreSectionShape(Peg& rod) {
    rod.SectionShape = rod.SectionArea == rod.Width * rod.Depth ? 1 : 0;
}

int FastenedBall(const World& world, const Peg& rod, int end) {
    const std::uint8_t kind = end == 1 ? rod.End1Kind : rod.End2Kind;
    const std::int32_t number = end == 1 ? rod.End1Number : rod.End2Number;
    // A deleted rod holds nothing: its stale ends must never move a ball.
    if (!rod.Exists || (kind != KindBall && kind != KindCylinder)) return 0;
    if (number < 1 || number > world.BallCount || number > BallCapacity) return 0;
    return world.Balls[number].Exists ? number : 0;
}

double RodSystemMass(const World& world, const Peg& rod) {
    double mass = rod.Mass;
    for (int end = 1; end <= 2; ++end) {
        const int b = FastenedBall(world, rod, end);
        if (b != 0) mass += world.Balls[b].Mass;
    }
    return mass;
}

Vec2 RodPointVelocity(const Peg& rod, Vec2 point) {
    const Vec2 turning = Perpendicular(point - rod.Position) * rod.Omega;
    return rod.HangLaval > 0 ? turning : rod.Velocity + turning;
}

Vec2 BallCentreVelocity(const World& world, const Ball& ball, int number) {
    if (ball.BindKind == BindLaval && ball.BindNumber >= 1 && ball.BindNumber <= LavalCapacity) {
        const double inertia = HungBallInertia(ball);
        if (!(inertia > 0)) return {0, 0};
        const Vec2 centre = ball.Position - world.Lavals[ball.BindNumber].Position;
        return Perpendicular(centre) * (ball.Omega + Cross(centre, ball.Velocity * ball.Mass) / inertia);
    }
    if (ball.BindKind == BindPegEnd && ball.BindNumber >= 1 && ball.BindNumber <= std::min(world.PegCount, PegCapacity)) {
        // Read from the rod's ends rather than FastenedBall: a property
        // window hides the ball it edits while it is open.
        const Peg& rod = world.Pegs[ball.BindNumber];
        const bool atEnd1 = (rod.End1Kind == KindBall || rod.End1Kind == KindCylinder) && rod.End1Number == number;
        const bool atEnd2 = (rod.End2Kind == KindBall || rod.End2Kind == KindCylinder) && rod.End2Number == number;
        if (rod.Exists && (atEnd1 || atEnd2)) return RodPointVelocity(rod, ball.Position);
    }
    return ball.Velocity;
}

namespace {
// The rod's derived fields, as RecomputeRodRecord; returns the rod's direction.
Vec2 RecomputeRodRecordAlong(Peg& rod, const Ball* end1, const Ball* end2, const Parameters& params);
}  // namespace

void RecomputeRod(World& world, int number) {
    Peg& rod = world.Pegs[number];
    const int ball1 = FastenedBall(world, rod, 1);
    const int ball2 = FastenedBall(world, rod, 2);
    // The record's direction serves the balls too: one cosine and sine.
    const Vec2 u = RecomputeRodRecordAlong(rod, ball1 != 0 ? &world.Balls[ball1] : nullptr,
                                           ball2 != 0 ? &world.Balls[ball2] : nullptr, world.Params);
    for (int end = 1; end <= 2; ++end) {
        const int b = end == 1 ? ball1 : ball2;
        if (b == 0) continue;
        Ball& ball = world.Balls[b];
        const Vec2 endPoint = end == 1 ? rod.End1 : rod.End2;
        ball.Position = end == 1 ? endPoint - u * ball.Radius : endPoint + u * ball.Radius;
        // The ball turns with the rod, and its centre moves as that point of
        // the rod does: a radius beyond the end.
        ball.Phi = rod.Phi;
        ball.Omega = rod.Omega;
        ball.Velocity = RodPointVelocity(rod, ball.Position);
        RecomputeBall(world, b);
    }
}

namespace {

Vec2 RecomputeRodRecordAlong(Peg& rod, const Ball* end1, const Ball* end2, const Parameters& params) {
    const double length = rod.Length;

    rod.SectionArea = rod.SectionShape == 1 ? rod.Width * rod.Depth
                                            : std::numbers::pi / 4 * rod.Width * rod.Depth;
    rod.LinearDensity = rod.Density * rod.SectionArea;
    rod.Volume = length * rod.SectionArea;
    rod.Mass = length * rod.LinearDensity;

    if (rod.HangLaval > 0) {
        rod.CentreOffset = (rod.HangFraction - 0.5) * length;
    } else {
        double m = rod.Mass;
        double s = 0;
        if (end1) {
            m += end1->Mass;
            s -= (length / 2 + end1->Radius) * end1->Mass;
        }
        if (end2) {
            m += end2->Mass;
            s += (length / 2 + end2->Radius) * end2->Mass;
        }
        rod.CentreOffset = m != 0 ? s / m : 0;
    }

    rod.Inertia = rod.Mass * (rod.SectionInertiaFactor * rod.Width * rod.Width + length * length / 12);
    rod.PivotInertia = rod.Inertia + rod.Mass * rod.CentreOffset * rod.CentreOffset;
    // The fastened balls turn with the rod: they belong to its moment of
    // inertia about the centre of rotation.
    for (int end = 1; end <= 2; ++end) {
        const Ball* ball = end == 1 ? end1 : end2;
        if (!ball) continue;
        const double offset = CarriedBallOffset(rod, *ball, end);
        rod.PivotInertia += ball->Inertia + ball->Mass * offset * offset;
    }

    const Vec2 u = Direction(rod.Phi);
    rod.End1 = rod.Position + u * (-length / 2 - rod.CentreOffset);
    rod.End2 = rod.Position + u * (length / 2 - rod.CentreOffset);

    const double g = params.Gravity;
    const double middleY = (rod.End1.Y + rod.End2.Y) / 2;
    rod.PotentialEnergy = g * rod.Mass * (middleY - params.ZeroLevel);
    // The rod's own body moves with its middle and turns about it. The
    // middle is the centre of rotation only for a free rod without balls; a
    // hanging rod's middle swings about its point, a loaded rod's about the
    // common centre of mass.
    Vec2 middleVelocity = rod.Velocity;
    if (rod.HangLaval > 0 || rod.CentreOffset != 0) {
        middleVelocity = RodPointVelocity(rod, rod.Position + u * -rod.CentreOffset);
    }
    rod.KineticEnergy =
        (rod.Mass * Dot(middleVelocity, middleVelocity) + rod.Inertia * rod.Omega * rod.Omega) / 2;
    return u;
}

}  // namespace

void RecomputeRodRecord(Peg& rod, const Ball* end1, const Ball* end2, const Parameters& params) {
    RecomputeRodRecordAlong(rod, end1, end2, params);
}

void RecomputePlane(Plane& plane) {
    const double dx = plane.P2.X - plane.P1.X;
    const double dy = plane.P2.Y - plane.P1.Y;
    plane.Length = std::sqrt(dx * dx + dy * dy);
    plane.Angle = plane.P2.X == plane.P1.X ? std::numbers::pi / 2 : std::fabs(math::Atan(dy / dx));
}

void RecomputeBodies(World& world) {
    const double largestRadius = LargestBallRadius(world);
    for (int n = 1; n <= std::min(world.BallCount, BallCapacity); ++n) {
        if (world.Balls[static_cast<std::size_t>(n)].Exists) RecomputeBall(world, n, largestRadius);
    }
    for (int n = 1; n <= std::min(world.PegCount, PegCapacity); ++n) {
        if (world.Pegs[static_cast<std::size_t>(n)].Exists) RecomputeRod(world, n);
    }
}

}  // namespace velo
