#include "textbook/textbook_experiments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "../../examples/example_scenes.h"
#include "engine/imitator.h"
#include "model/messages.h"
#include "model/world_ops.h"
#include "persist/qvs_file.h"

namespace velo::textbook {
namespace {

constexpr double Pi = std::numbers::pi;
constexpr double G = 9.81;
constexpr double Infinity = std::numeric_limits<double>::infinity();

double Length(Vec2 v) { return std::sqrt(Dot(v, v)); }

// ---- The scenes, made with the model's own object creation ----

// A mechanical project in vacuum (no air), g = 9.81, the origin in the
// middle of the field, every object of material 1 ("Сталь", 7800 kg/m³)
// and the pair of that material with itself set by each experiment.
std::unique_ptr<World> Laboratory(PairCoefficients pair, double gravity = G) {
    auto w = std::make_unique<World>();
    DefaultWorld(*w);
    w->ProjectKind = ProjectMechanical;
    w->Params.Gravity = gravity;
    w->Params.AirDensity = 0;
    w->Params.FieldOriginX = 5000;
    SetPairSymmetric(w->Materials, 1, 1, pair);
    return w;
}

int AddBall(World& w, Vec2 centre, double radius, Vec2 velocity = {}, double cylinderHeight = 0) {
    const int n = NewObject(w, cylinderHeight > 0 ? KindCylinder : KindBall).Number;
    Ball& b = w.Balls[n];
    b.Position = centre;
    b.Radius = radius;
    b.Height = cylinderHeight;
    b.Velocity = velocity;
    return n;
}

void AddSupport(World& w, double y, double from, double to) {
    HandWall& h = w.Hands[NewObject(w, KindHand).Number];
    h.Coord = y;
    h.Bound1 = from;
    h.Bound2 = to;
}

void AddWall(World& w, double x, double from, double to) {
    HandWall& h = w.Walls[NewObject(w, KindWall).Number];
    h.Coord = x;
    h.Bound1 = from;
    h.Bound2 = to;
}

void AddPlate(World& w, Vec2 p1, Vec2 p2, double halfThickness) {
    Plane& p = w.Planes[NewObject(w, KindPlane).Number];
    p.P1 = p1;
    p.P2 = p2;
    p.HalfThickness = halfThickness;
    p.Length = Length(p2 - p1);
    p.Angle = std::fabs(std::atan((p2.Y - p1.Y) / (p2.X - p1.X)));
}

void AddPolyline(World& w, std::initializer_list<Vec2> points, double halfThickness) {
    Surface& s = w.Surfaces[NewObject(w, KindSurface).Number];
    s.PointCount = static_cast<std::int32_t>(points.size());
    std::copy(points.begin(), points.end(), s.Points.begin());
    s.HalfThickness = halfThickness;
}

// The bowl y = x² for -1 <= x <= 1: a parabola u = t², v = t turned by 90°.
void AddParabolicBowl(World& w, double halfThickness) {
    Surface2& s = w.Surfaces2[NewObject(w, KindSurface2).Number];
    s.Centre = {0, 0};
    s.Rotation = Pi / 2;
    s.ParamA = 1;
    s.ParamB = 1;
    s.TFrom = -1;
    s.TTo = 1;
    s.HalfThickness = halfThickness;
}

int AddLaval(World& w, Vec2 position) {
    const int n = NewObject(w, KindLaval).Number;
    w.Lavals[n].Position = position;
    return n;
}

// A steel rod of square section (width = depth).
int AddRod(World& w, Vec2 position, double length, double phi, double width) {
    const int n = NewObject(w, KindPeg).Number;
    Peg& r = w.Pegs[n];
    r.Position = position;
    r.Length = length;
    r.Phi = phi;
    r.Width = width;
    r.Depth = width;
    r.SectionShape = 1;
    r.SectionArea = width * width;
    r.SectionInertiaFactor = 1.0 / 12.0;
    return n;
}

void HangRod(World& w, int rod, int laval, double fraction) {
    w.Pegs[rod].HangLaval = laval;
    w.Pegs[rod].HangFraction = fraction;
    w.Pegs[rod].Position = w.Lavals[laval].Position;
}

void FastenBall(World& w, int rod, int end, int ball) {
    Peg& r = w.Pegs[rod];
    (end == 1 ? r.End1Kind : r.End2Kind) = KindBall;
    (end == 1 ? r.End1Number : r.End2Number) = ball;
    w.Balls[ball].BindKind = BindPegEnd;
    w.Balls[ball].BindNumber = rod;
}

// ---- Running them ----

struct Frozen {};

// The scene as the command-line tool finds it: saved as a simulation file
// and read back (the reader normalises every ball and rod), then stepped
// with one step context.
class Run {
public:
    explicit Run(std::unique_ptr<World> built, double dt = 1e-3) : world_(std::make_unique<World>()), dt_(dt) {
        const std::vector<std::uint8_t> bytes = EncodeQvs(*built, QvsSaveOptions{});
        if (!DecodeQvs(*world_, bytes, messenger_).Read()) throw std::runtime_error("the scene did not read back");
    }
    World& W() { return *world_; }
    const Ball& B(int n) const { return world_->Balls[n]; }
    const Peg& R(int n) const { return world_->Pegs[n]; }
    double T() const { return world_->T; }
    double Dt() const { return dt_; }

    void Step() {
        if (!MechanicalStep(*world_, dt_, messenger_, context_)) throw Frozen{};
    }
    void StepFor(double seconds) {
        for (long long k = std::llround(seconds / dt_); k > 0; --k) Step();
    }

    // Kinetic plus potential energy of every ball and rod, as their
    // readouts give it.
    double Energy() const { return Kinetic() + Potential(); }
    double Kinetic() const {
        double e = 0;
        for (int n = 1; n <= world_->BallCount; ++n) e += world_->Balls[n].KineticEnergy;
        for (int n = 1; n <= world_->PegCount; ++n) e += world_->Pegs[n].KineticEnergy;
        return e;
    }
    double Potential() const {
        double e = 0;
        for (int n = 1; n <= world_->BallCount; ++n) e += world_->Balls[n].PotentialEnergy;
        for (int n = 1; n <= world_->PegCount; ++n) e += world_->Pegs[n].PotentialEnergy;
        return e;
    }

private:
    std::unique_ptr<World> world_;
    double dt_;
    SilentMessenger messenger_;
    StepContext context_;
};

// ---- Projectile ----

struct Landing {
    double Time;
    double Range;
};
constexpr double LaunchSpeed = 5;
constexpr double LaunchAngle = Pi / 4;

// A ball thrown from the origin; where and when it comes back to the
// launch height, between the two steps that straddle it.
Landing Projectile() {
    auto w = Laboratory({});
    const int b = AddBall(*w, {0, 0}, 0.05, Vec2{std::cos(LaunchAngle), std::sin(LaunchAngle)} * LaunchSpeed);
    Run run(std::move(w));
    Vec2 before = run.B(b).Position;
    while (run.T() < 5) {
        run.Step();
        const Vec2 p = run.B(b).Position;
        if (p.Y < 0) {
            const double f = before.Y / (before.Y - p.Y);
            return {run.T() - run.Dt() + f * run.Dt(), before.X + f * (p.X - before.X)};
        }
        before = p;
    }
    throw Frozen{};
}

Outcome ProjectileRange() {
    return {LaunchSpeed * LaunchSpeed * std::sin(2 * LaunchAngle) / G, Projectile().Range};
}
Outcome ProjectileTime() { return {2 * LaunchSpeed * std::sin(LaunchAngle) / G, Projectile().Time}; }

// ---- Bounce ----

// A ball dropped from 1 m onto a support, frictionless: the height of its
// first rebound over the height of the drop.
double BounceRatio(double restitution) {
    auto w = Laboratory({restitution, 0, 0, 0});
    AddSupport(*w, 0, -1, 1);
    const double rest = 0.05 + 0.1;  // centre of a ball lying on the support
    const int b = AddBall(*w, {0, rest + 1}, 0.1);
    Run run(std::move(w));
    bool rising = false;
    double apex = -Infinity;
    while (run.T() < 3) {
        run.Step();
        const Ball& ball = run.B(b);
        if (ball.Velocity.Y > 0) rising = true;
        if (rising) apex = std::max(apex, ball.Position.Y);
        if (rising && ball.Velocity.Y < 0) return (apex - rest) / 1.0;
    }
    throw Frozen{};
}

Outcome BounceElastic() { return {1, BounceRatio(1)}; }
Outcome BounceHalf() { return {0.25, BounceRatio(0.5)}; }

// ---- Collisions of two balls in free space ----

struct Collision {
    Vec2 Striker;
    Vec2 Target;
};
constexpr double StrikeSpeed = 2;

// A ball of radius 0.1 flies at 2 m/s at a ball at rest, its path `offset`
// beside the target's centre; no gravity, no friction.
Collision Collide(double restitution, double targetRadius, double offset) {
    auto w = Laboratory({restitution, 0, 0, 0}, 0);
    const int target = AddBall(*w, {0, 0}, targetRadius);
    const int striker = AddBall(*w, {-0.6, offset}, 0.1, {StrikeSpeed, 0});
    Run run(std::move(w));
    run.StepFor(1);
    return {run.B(striker).Velocity, run.B(target).Velocity};
}

Outcome HeadOnElasticTarget() { return {1, Collide(1, 0.1, 0).Target.X / StrikeSpeed}; }
Outcome HeadOnElasticStriker() { return {0, Collide(1, 0.1, 0).Striker.X / StrikeSpeed}; }
Outcome HeadOnPlastic() { return {0.5, Collide(0, 0.1, 0).Target.X / StrikeSpeed}; }
Outcome HeadOnHeavyTarget() {
    // The target of twice the radius has eight times the mass.
    return {(1.0 - 8.0) / (1.0 + 8.0), Collide(1, 0.2, 0).Striker.X / StrikeSpeed};
}
Outcome ObliqueElastic() {
    const Collision c = Collide(1, 0.1, 0.1);
    const double cosine = Dot(c.Striker, c.Target) / (Length(c.Striker) * Length(c.Target));
    return {90, std::acos(cosine) * 180 / Pi};
}

// ---- Down a slope of 30° ----

enum class Slope { Plate, ThickPolyline, ThinPolyline };
constexpr double SlopeAngle = Pi / 6;

struct SlopeRun {
    double Acceleration;   // along the slope, between 0.2 s and 0.8 s
    double EnergyBalance;  // kinetic energy gained over potential energy lost in 1.5 s
};

// A ball (or a cylinder, cylinderHeight > 0) of radius 0.1 released at rest
// on a slope 5 m long of half-thickness 0.05 (0 for the thin polyline).
SlopeRun DownTheSlope(Slope slope, double cylinderHeight, PairCoefficients pair, double routhMinSpeed) {
    auto w = Laboratory(pair);
    w->Params.RouthMinSpeed = routhMinSpeed;
    const Vec2 down{std::cos(SlopeAngle), -std::sin(SlopeAngle)};
    const Vec2 outward{std::sin(SlopeAngle), std::cos(SlopeAngle)};
    const Vec2 bottom{0, 0};
    const Vec2 top = bottom - down * 5;
    const double half = slope == Slope::ThinPolyline ? 0 : 0.05;
    if (slope == Slope::Plate) AddPlate(*w, top, bottom, half);
    else AddPolyline(*w, {top, bottom}, half);
    const double radius = 0.1;
    const int b = AddBall(*w, top + down * 0.3 + outward * (half + radius), radius, {}, cylinderHeight);
    Run run(std::move(w));
    const double kinetic0 = run.B(b).KineticEnergy;
    const double potential0 = run.B(b).PotentialEnergy;
    run.StepFor(0.2);
    const double v1 = Dot(run.B(b).Velocity, down);
    const double t1 = run.T();
    run.StepFor(0.6);
    const double acceleration = (Dot(run.B(b).Velocity, down) - v1) / (run.T() - t1);
    run.StepFor(0.7);
    const double balance = (run.B(b).KineticEnergy - kinetic0) / (potential0 - run.B(b).PotentialEnergy);
    return {acceleration, balance};
}

// Rolling without sliding: the lambda hypothesis with λ = 1 below the
// default RouthMinSpeed of 1 m/s; no restitution, no rolling friction.
constexpr PairCoefficients Rolling{0, 0.5, 1, 0};

Outcome BallRollsDownPlate() {
    return {5.0 / 7.0 * G * std::sin(SlopeAngle), DownTheSlope(Slope::Plate, 0, Rolling, 1).Acceleration};
}
Outcome CylinderRollsDownPlate() {
    return {2.0 / 3.0 * G * std::sin(SlopeAngle), DownTheSlope(Slope::Plate, 0.1, Rolling, 1).Acceleration};
}
Outcome BallRollsDownThickSurface() {
    return {5.0 / 7.0 * G * std::sin(SlopeAngle), DownTheSlope(Slope::ThickPolyline, 0, Rolling, 1).Acceleration};
}
Outcome CylinderRollsDownThickSurface() {
    return {2.0 / 3.0 * G * std::sin(SlopeAngle), DownTheSlope(Slope::ThickPolyline, 0.1, Rolling, 1).Acceleration};
}
Outcome ThickAgainstThinSurface() {
    return {DownTheSlope(Slope::ThinPolyline, 0, Rolling, 1).Acceleration,
            DownTheSlope(Slope::ThickPolyline, 0, Rolling, 1).Acceleration};
}
Outcome ThickSurfaceEnergy() { return {1, DownTheSlope(Slope::ThickPolyline, 0, Rolling, 1).EnergyBalance}; }
Outcome RouthSliding() {
    // Routh's hypothesis at every normal speed; tan 30° > 7/2 μ, so the
    // ball slides all the way.
    const double mu = 0.1;
    return {G * (std::sin(SlopeAngle) - mu * std::cos(SlopeAngle)),
            DownTheSlope(Slope::Plate, 0, {0, mu, mu, 0}, 0).Acceleration};
}

// ---- A ball on a level support ----

// A bowling ball of radius 0.1 thrown at 3 m/s without spin, μ = 0.2 by
// Routh's hypothesis at every normal speed, with rolling friction
// `rolling`; it starts at `spin` (rad/s).
std::unique_ptr<World> Lane(double rolling, double spin, int& ball) {
    auto w = Laboratory({0, 0.2, 0.2, rolling});
    w->Params.RouthMinSpeed = 0;
    AddSupport(*w, 0, -5, 5);
    ball = AddBall(*w, {-4, 0.15}, 0.1, {3, 0});
    w->Balls[ball].Omega = spin;
    return w;
}

Outcome BowlingBallRollingSpeed() {
    int b = 0;
    Run run(Lane(0, 0, b));
    run.StepFor(1);  // it rolls from 2 v0 / (7 μ g) = 0.44 s on
    return {5.0 / 7.0 * 3, run.B(b).Velocity.X};
}

Outcome RollingResistance() {
    // Rolling from the start (ω = -v / R), rolling friction L = 0.001.
    int b = 0;
    Run run(Lane(0.001, -30, b));
    run.StepFor(0.5);
    const double v1 = run.B(b).Velocity.X;
    run.StepFor(2);
    return {0.001 * G / ((1 + 0.4) * 0.1), (v1 - run.B(b).Velocity.X) / 2};
}

Outcome RestingBall() {
    // The steel pair of a new project: rolling friction 0.01.
    auto w = Laboratory({0.5, 1, 0.5, 0.01});
    AddSupport(*w, 0, -1, 1);
    const int b = AddBall(*w, {0, 0.15}, 0.1);
    Run run(std::move(w));
    const Vec2 start = run.B(b).Position;
    double farthest = 0;
    for (int second = 0; second < 60; ++second) {
        run.StepFor(1);
        farthest = std::max(farthest, Length(run.B(b).Position - start));
    }
    return {0, farthest};
}

// ---- Pendulums ----

// Time of a whole swing: between upward zero crossings of angle(), each
// placed between the two steps that straddle it, over `periods` swings.
template <typename Angle>
double MeasuredPeriod(Run& run, Angle angle, int periods) {
    std::vector<double> crossings;
    double before = angle();
    while (static_cast<int>(crossings.size()) <= periods) {
        run.Step();
        const double now = angle();
        if (before < 0 && now >= 0) crossings.push_back(run.T() - run.Dt() * now / (now - before));
        before = now;
        if (run.T() > 60) throw Frozen{};
    }
    return (crossings.back() - crossings.front()) / periods;
}

// The period of a swing of amplitude a over that of a small swing.
double AmplitudeFactor(double a) { return 1 + a * a / 16 + 11 * std::pow(a, 4) / 3072; }

constexpr double SmallAmplitude = 0.2;
constexpr double WideAmplitude = 0.5;
constexpr Vec2 Pivot{0, 2};

// A steel rod 1 m long and 2 cm wide hung at one end.
std::unique_ptr<World> HungRod(double amplitude, int& rod) {
    auto w = Laboratory({});
    const int point = AddLaval(*w, Pivot);
    rod = AddRod(*w, Pivot, 1, -Pi / 2 + amplitude, 0.02);
    HangRod(*w, rod, point, 0);
    return w;
}

Outcome RodPeriod() {
    int n = 0;
    Run run(HungRod(SmallAmplitude, n));
    const Peg& rod = run.R(n);
    const double m = rod.Mass, l = rod.Length, d = rod.Width;
    const double inertia = m * (d * d + l * l) / 12 + m * l * l / 4;
    const double expected = 2 * Pi * std::sqrt(inertia / (m * G * l / 2)) * AmplitudeFactor(SmallAmplitude);
    return {expected, MeasuredPeriod(run, [&] { return run.R(n).Phi + Pi / 2; }, 4)};
}

// A rod 0.8 m long and 1 cm wide hung at one end, a ball of radius 0.1 at
// the other.
std::unique_ptr<World> CompoundPendulum(double amplitude, int& rod, int& ball) {
    auto w = Laboratory({});
    const int point = AddLaval(*w, Pivot);
    rod = AddRod(*w, Pivot, 0.8, -Pi / 2 + amplitude, 0.01);
    HangRod(*w, rod, point, 0);
    ball = AddBall(*w, Pivot + Vec2{0, -0.9}, 0.1);
    FastenBall(*w, rod, 2, ball);
    return w;
}

Outcome CompoundPeriod() {
    int r = 0, b = 0;
    Run run(CompoundPendulum(SmallAmplitude, r, b));
    const Peg& rod = run.R(r);
    const Ball& ball = run.B(b);
    const double mr = rod.Mass, l = rod.Length, d = rod.Width, mb = ball.Mass, radius = ball.Radius;
    const double inertia =
        mr * (d * d + l * l) / 12 + mr * l * l / 4 + 0.4 * mb * radius * radius + mb * (l + radius) * (l + radius);
    const double moment = G * (mr * l / 2 + mb * (l + radius));
    const double expected = 2 * Pi * std::sqrt(inertia / moment) * AmplitudeFactor(SmallAmplitude);
    return {expected, MeasuredPeriod(run, [&] { return run.R(r).Phi + Pi / 2; }, 4)};
}

// A ball of radius 0.1 hung on a rigid radius of 1 m from a suspension
// point (BindKind 1, as a file brings it).
std::unique_ptr<World> HungBall(double amplitude, int& ball) {
    auto w = Laboratory({});
    const int point = AddLaval(*w, Pivot);
    const double direction = Pi / 2 + amplitude;  // from the centre to the point
    ball = AddBall(*w, Pivot - Vec2{std::cos(direction), std::sin(direction)}, 0.1);
    Ball& b = w->Balls[ball];
    b.BindKind = BindLaval;
    b.BindNumber = point;
    b.BindAngle = direction;
    return w;
}

Outcome HungBallPeriod() {
    int b = 0;
    Run run(HungBall(SmallAmplitude, b));
    const double m = run.B(b).Mass, radius = run.B(b).Radius;
    const double inertia = 0.4 * m * radius * radius + m;  // about the point, r = 1
    const double expected = 2 * Pi * std::sqrt(inertia / (m * G)) * AmplitudeFactor(SmallAmplitude);
    const auto angle = [&] {
        const Vec2 hang = run.B(b).Position - Pivot;
        return std::atan2(hang.X, -hang.Y);
    };
    return {expected, MeasuredPeriod(run, angle, 4)};
}

// How far kinetic plus potential energy wanders over 3 s, as a fraction of
// how far the potential energy swings.
Outcome EnergySwing(Run& run) {
    double lowest = Infinity, highest = -Infinity, lowestPotential = Infinity, highestPotential = -Infinity;
    while (run.T() < 3) {
        run.Step();
        const double e = run.Energy(), p = run.Potential();
        lowest = std::min(lowest, e);
        highest = std::max(highest, e);
        lowestPotential = std::min(lowestPotential, p);
        highestPotential = std::max(highestPotential, p);
    }
    return {0, (highest - lowest) / (highestPotential - lowestPotential)};
}

Outcome RodEnergy() {
    int n = 0;
    Run run(HungRod(WideAmplitude, n));
    return EnergySwing(run);
}
Outcome CompoundEnergy() {
    int r = 0, b = 0;
    Run run(CompoundPendulum(WideAmplitude, r, b));
    return EnergySwing(run);
}
Outcome HungBallEnergy() {
    int b = 0;
    Run run(HungBall(WideAmplitude, b));
    return EnergySwing(run);
}
Outcome PhysicalPendulumExampleEnergy() {
    auto w = std::make_unique<World>();
    for (const ExampleScene& scene : ExampleScenes()) {
        if (scene.FileName == "physical_pendulum.qvs") BuildExample(*w, scene);
    }
    Run run(std::move(w));
    return EnergySwing(run);
}

// ---- Strikes of linked bodies ----

struct CradleRun {
    double SpeedKept;   // the last ball's speed over the striker's
    double EnergyKept;  // kinetic energy after the chain over before
};

// Five steel balls of radius 0.1 on rods 0.8 m long, each hung on its own
// point, 1 mm apart; the first is pulled aside by 0.5 rad. The pair is
// elastic and frictionless. Speeds and energies are taken from the rods'
// turning, which carries the balls.
CradleRun Cradle(PairCoefficients pair = {1, 0, 0, 0}) {
    auto w = Laboratory(pair);
    const double radius = 0.1, length = 0.8;
    int rods[5];
    for (int i = 0; i < 5; ++i) {
        const double x = -0.4 + i * (2 * radius + 0.001);
        const int point = AddLaval(*w, {x, 1.5});
        rods[i] = AddRod(*w, {x, 1.5}, length, -Pi / 2 - (i == 0 ? 0.5 : 0.0), 0.01);
        HangRod(*w, rods[i], point, 0);
        FastenBall(*w, rods[i], 2, AddBall(*w, {x, 1.5 - length - radius}, radius));
    }
    Run run(std::move(w));
    const auto speed = [&](int i) { return std::fabs(run.R(rods[i]).Omega) * (length + radius); };
    const auto kinetic = [&] {
        double e = 0;
        for (int rod : rods) e += run.R(rod).PivotInertia * run.R(rod).Omega * run.R(rod).Omega / 2;
        return e;
    };
    double strikerSpeed = 0, before = 0;
    while (speed(1) < 1e-3) {
        strikerSpeed = speed(0);
        before = kinetic();
        run.Step();
        if (run.T() > 2) throw Frozen{};
    }
    // The strike runs down the row in a few steps; the last ball leaves at
    // its highest speed.
    double lastSpeed = 0, after = 0;
    for (int k = 0; k < 100; ++k) {
        run.Step();
        if (speed(4) > lastSpeed) {
            lastSpeed = speed(4);
            after = kinetic();
        }
    }
    return {lastSpeed / strikerSpeed, after / before};
}

Outcome CradleSpeed() { return {1, Cradle().SpeedKept}; }
Outcome CradleEnergy() { return {1, Cradle().EnergyKept}; }

// The same cradle with the steel pair's friction (μ = 1, λ = 0.5). The balls
// turn with their rods, so at each strike their touching points slide past
// each other at R / (l + R) of the closing speed, and friction, at most μ
// times the normal impulse m* v, takes at most 2 μ R / (l + R) of the
// striker's energy; the normal restitution passes the rest on. Over the four
// strikes of the chain the energy kept lies between (1 − 2 μ R / (l + R))⁴
// and 1: the row's value is the middle of that range and its tolerance half
// its width.
constexpr double CradleFrictionBound = 0.36595;  // (1 - 2 * 0.1 / 0.9)^4
Outcome FrictionalCradleEnergy() {
    return {(1 + CradleFrictionBound) / 2, Cradle({1, 1, 0.5, 0}).EnergyKept};
}

// Three steel balls of radius 0.08, each hung on a rigid radius of 0.9 m
// from its own point (BindKind 1), 0.1 mm apart; the first is raised by
// 20°. Elastic and frictionless: each strike hands the whole swing on, and
// the last ball leaves with the striker's speed.
Outcome HungBallCradleSpeed() {
    auto w = Laboratory({1, 0, 0, 0});
    const double radius = 0.08, length = 0.9, raised = 20 * Pi / 180;
    int balls[3];
    for (int i = 0; i < 3; ++i) {
        const Vec2 point{i * (2 * radius + 0.0001), 1.5};
        const int laval = AddLaval(*w, point);
        const double direction = Pi / 2 + (i == 0 ? -raised : 0.0);  // from the centre to the point
        balls[i] = AddBall(*w, point - Vec2{std::cos(direction), std::sin(direction)} * length, radius);
        Ball& b = w->Balls[balls[i]];
        b.BindKind = BindLaval;
        b.BindNumber = laval;
        b.BindAngle = direction;
    }
    Run run(std::move(w));
    const auto speed = [&](int i) { return std::fabs(run.B(balls[i]).Omega) * length; };
    // The middle ball passes the strike on within the step it takes it.
    double strikerSpeed = 0;
    while (speed(2) < 1e-3) {
        strikerSpeed = speed(0);
        run.Step();
        if (run.T() > 2) throw Frozen{};
    }
    double lastSpeed = 0;
    for (int k = 0; k < 100; ++k) {
        lastSpeed = std::max(lastSpeed, speed(2));
        run.Step();
    }
    return {1, lastSpeed / strikerSpeed};
}

// A steel ball of radius 0.1 hung on a rigid radius of 1 m (BindKind 1) and
// a free steel ball of the same size level with it, 0.1 mm apart; no
// gravity, elastic and frictionless. The one that moves strikes the other at
// rest at 1 m/s. The hung ball meets the free one with its effective mass at
// the contact, m* = (J + m L²) / L², a little more than its own mass.
struct HungAndFreePair {
    Run Scene;
    int Hung = 0;
    int Free = 0;
    double EffectiveOverMass = 0;
};

HungAndFreePair HungBallBesideFreeBall(bool hungMoves) {
    auto w = Laboratory({1, 0, 0, 0}, 0);
    const int point = AddLaval(*w, Pivot);
    const int hung = AddBall(*w, Pivot - Vec2{0, 1}, 0.1);
    Ball& b = w->Balls[hung];
    b.BindKind = BindLaval;
    b.BindNumber = point;
    b.BindAngle = Pi / 2;
    if (hungMoves) b.Omega = 1;  // the centre moves at 1 m/s along +x
    const int free = AddBall(*w, Pivot + Vec2{0.2001, -1}, 0.1, hungMoves ? Vec2{} : Vec2{-1, 0});
    HungAndFreePair pair{Run(std::move(w)), hung, free, 0};
    const Ball& h = pair.Scene.B(hung);
    pair.EffectiveOverMass = (h.Inertia + h.Mass) / h.Mass;
    pair.Scene.StepFor(0.1);
    return pair;
}

Outcome HungBallStrikesFreeBall() {
    const HungAndFreePair pair = HungBallBesideFreeBall(true);
    const double k = pair.EffectiveOverMass;
    return {2 * k / (k + 1), pair.Scene.B(pair.Free).Velocity.X / 1};
}

Outcome FreeBallStrikesHungBall() {
    const HungAndFreePair pair = HungBallBesideFreeBall(false);
    const double k = pair.EffectiveOverMass;
    // The bob's centre moves at |Omega| L, L = 1 m; the free ball came at 1 m/s.
    return {2 / (1 + k), -pair.Scene.B(pair.Hung).Omega};
}

// A steel ball of radius 0.05 flies at 1 m/s at the bob of a pendulum at
// rest (a rod 0.8 m long and 3 cm wide hung at one end, a ball of radius
// 0.1 at the other), level with the bob's centre; no gravity, elastic and
// frictionless. The bob meets it with the pendulum's effective mass there,
// m* = I / (l + R)², I the moment of inertia about the point.
Outcome BallStrikesPendulumBob() {
    auto w = Laboratory({1, 0, 0, 0}, 0);
    const int ball = AddBall(*w, Pivot + Vec2{-0.5, -0.9}, 0.05, {1, 0});
    int rod = 0, bob = 0;
    {
        const int point = AddLaval(*w, Pivot);
        rod = AddRod(*w, Pivot, 0.8, -Pi / 2, 0.03);
        HangRod(*w, rod, point, 0);
        bob = AddBall(*w, Pivot + Vec2{0, -0.9}, 0.1);
        FastenBall(*w, rod, 2, bob);
    }
    Run run(std::move(w));
    const double m = run.B(ball).Mass;
    const double effective = run.R(rod).PivotInertia / (0.9 * 0.9);
    run.StepFor(0.5);
    return {(m - effective) / (m + effective), run.B(ball).Velocity.X / 1};
}

// A dumbbell (a steel rod 0.6 m long and 3 cm wide, a ball of radius 0.08
// at each end) dropped flat from 0.3 m onto a support, frictionless: the
// upward speed of its centre of mass after the strike over the downward
// speed before. The field's pull within the strike's steps is added back.
double DumbbellRebound(double restitution) {
    auto w = Laboratory({restitution, 0, 0, 0});
    AddSupport(*w, 0, -2, 2);
    const double length = 0.6, radius = 0.08, y = 0.05 + radius + 0.3;
    const int rod = AddRod(*w, {0, y}, length, 0, 0.03);
    FastenBall(*w, rod, 1, AddBall(*w, {-length / 2 - radius, y}, radius));
    FastenBall(*w, rod, 2, AddBall(*w, {length / 2 + radius, y}, radius));
    Run run(std::move(w));
    double impact = 0;
    while (run.R(rod).Velocity.Y <= 0) {
        impact = -run.R(rod).Velocity.Y;
        run.Step();
        if (run.T() > 2) throw Frozen{};
    }
    double rebound = run.R(rod).Velocity.Y + G * run.Dt();
    for (int k = 2; k <= 5; ++k) {
        run.Step();
        rebound = std::max(rebound, run.R(rod).Velocity.Y + G * run.Dt() * k);
    }
    return rebound / impact;
}

Outcome DumbbellElastic() { return {1, DumbbellRebound(1)}; }
Outcome DumbbellHalf() { return {0.5, DumbbellRebound(0.5)}; }

// A bare steel rod 0.6 m long and 3 cm wide, its centre at 0.6 m, tilted
// by 1 rad, dropped on a support, elastic and frictionless: the highest
// kinetic plus potential energy over 3 s over that at the start. A strike
// and the holds that follow it may take energy, never give it.
Outcome TiltedRodEnergy() {
    auto w = Laboratory({1, 0, 0, 0});
    AddSupport(*w, 0, -2, 2);
    AddRod(*w, {0, 0.6}, 0.6, -1, 0.03);
    Run run(std::move(w));
    const double start = run.Energy();
    double highest = start;
    while (run.T() < 3) {
        run.Step();
        highest = std::max(highest, run.Energy());
    }
    return {1, highest / start};
}

// A dumbbell (a steel rod 0.6 m long and 3 cm wide, a ball of radius 0.08
// at each end) resting on a support and sliding along it at 2 m/s. The
// balls' pair with the support has μ = 0.02 by Routh's hypothesis at every
// speed; the rod's own material grips hard (μ = 1) but never touches: the
// deceleration over the first second.
Outcome DumbbellSlides() {
    const double mu = 0.02;
    auto w = Laboratory({0, 1, 1, 0});
    w->Params.RouthMinSpeed = 0;
    constexpr int Balls = 0;  // the ideal material, with the pair set here
    SetPairSymmetric(w->Materials, Balls, 1, {0, mu, mu, 0});
    AddSupport(*w, 0, -5, 5);
    const double length = 0.6, radius = 0.08, y = 0.05 + radius;
    const int rod = AddRod(*w, {-2, y}, length, 0, 0.03);
    for (int end = 1; end <= 2; ++end) {
        const int ball = AddBall(*w, {-2 + (end == 1 ? -1 : 1) * (length / 2 + radius), y}, radius);
        w->Balls[ball].Material = Balls;
        FastenBall(*w, rod, end, ball);
    }
    w->Pegs[rod].Velocity = {2, 0};
    Run run(std::move(w));
    const double v0 = run.R(rod).Velocity.X;
    run.StepFor(1);
    return {mu * G, v0 - run.R(rod).Velocity.X};
}

// A ball of radius 0.1 hung on a rigid radius of 0.9 m, let go 0.5 rad
// aside and swinging into a wall at 0.25 m from below its point, elastic and
// frictionless: the highest kinetic plus potential energy over 3 s over that
// at the start.
Outcome HungBallStrikesWall() {
    auto w = Laboratory({1, 0, 0, 0});
    AddWall(*w, 0.25, 0, 2);
    const int point = AddLaval(*w, Pivot);
    const double direction = Pi / 2 - 0.5;  // from the centre to the point
    const int ball = AddBall(*w, Pivot - Vec2{std::cos(direction), std::sin(direction)} * 0.9, 0.1);
    Ball& b = w->Balls[ball];
    b.BindKind = BindLaval;
    b.BindNumber = point;
    b.BindAngle = direction;
    Run run(std::move(w));
    const double start = run.Energy();
    double highest = start;
    while (run.T() < 3) {
        run.Step();
        highest = std::max(highest, run.Energy());
    }
    return {1, highest / start};
}

// The dumbbell dropped flat from 3 m onto a support, e = 0: how far its
// balls lie in the support once it rests (after 2 s), in metres.
Outcome DumbbellDroppedRests() {
    auto w = Laboratory({0, 1, 0.5, 0});
    AddSupport(*w, 0, -2, 2);
    const double length = 0.6, radius = 0.08, y = 0.05 + radius + 3;
    const int rod = AddRod(*w, {0, y}, length, 0, 0.03);
    FastenBall(*w, rod, 1, AddBall(*w, {-length / 2 - radius, y}, radius));
    FastenBall(*w, rod, 2, AddBall(*w, {length / 2 + radius, y}, radius));
    Run run(std::move(w));
    run.StepFor(2);
    return {0, 0.05 + radius - std::min(run.B(1).Position.Y, run.B(2).Position.Y)};
}

// ---- Many contacts ----

// A ball of radius 0.1 let go on the side of the bowl y = x² (half-thickness
// 0.05) at x = 0.6, elastic and frictionless: its energy above the bottom of
// the bowl after 10 s over that at the start. The push-out lifts the ball
// out of the surface at every contact without taking speed from it, so
// the energy grows with the step (docs/physics.md).
double BowlEnergy(double dt) {
    auto w = Laboratory({1, 0, 0, 0});
    const double half = 0.05, radius = 0.1, x = 0.6;
    AddParabolicBowl(*w, half);
    const Vec2 normal = Vec2{-2 * x, 1} * (1 / std::sqrt(1 + 4 * x * x));
    const int b = AddBall(*w, Vec2{x, x * x} + normal * (half + radius), radius);
    Run run(std::move(w), dt);
    const double bottom = run.B(b).Mass * G * (half + radius);
    const auto energy = [&] { return run.B(b).KineticEnergy + run.B(b).PotentialEnergy - bottom; };
    const double start = energy();
    run.StepFor(10);
    return energy() / start;
}

Outcome BowlEnergyCoarse() { return {1, BowlEnergy(1e-3)}; }
Outcome BowlEnergyFine() { return {1, BowlEnergy(1e-4)}; }

// A ball of radius 0.1 let go on the side of the bowl y = x² (half-thickness
// 0.05) at x = 0.6, rolling without sliding (λ = 1): its speed as it passes
// the bottom, over that of a ball that has rolled down the same height.
Outcome BallRollsInBowl() {
    auto w = Laboratory(Rolling);
    const double half = 0.05, radius = 0.1, x = 0.6;
    AddParabolicBowl(*w, half);
    const Vec2 normal = Vec2{-2 * x, 1} * (1 / std::sqrt(1 + 4 * x * x));
    const int b = AddBall(*w, Vec2{x, x * x} + normal * (half + radius), radius);
    Run run(std::move(w));
    const double start = run.B(b).Position.Y;
    while (run.B(b).Position.X > 0) {
        run.Step();
        if (run.T() > 3) throw Frozen{};
    }
    const double rolled = std::sqrt(2 * G * (start - run.B(b).Position.Y) / (1 + 0.4));
    return {1, Length(run.B(b).Velocity) / rolled};
}

Outcome PileAtRest() {
    // 95 steel balls of radius 0.1 (the steel pair of a new project) in
    // five rows dropped into a box 4.1 wide: the mean distance the balls
    // move in the sixth second.
    auto w = Laboratory({0.5, 1, 0.5, 0.01});
    AddSupport(*w, 0, -2.2, 2.2);
    AddWall(*w, -2.05, -0.1, 10);
    AddWall(*w, 2.05, -0.1, 10);
    for (int k = 0; k < 95; ++k) {
        AddBall(*w, {-1.9 + (k % 19) * 0.205 + (k / 19 % 2) * 0.05, 0.16 + (k / 19) * 0.205}, 0.1);
    }
    Run run(std::move(w));
    run.StepFor(5);
    std::vector<Vec2> start;
    for (int n = 1; n <= 95; ++n) start.push_back(run.B(n).Position);
    run.StepFor(1);
    double moved = 0;
    for (int n = 1; n <= 95; ++n) moved += Length(run.B(n).Position - start[static_cast<std::size_t>(n - 1)]);
    return {0, moved / 95};
}

// ---- The table ----

// Values with five digits, trailing zeros kept, so that the table shows how
// closely each agrees; tolerances as short as they are.
std::string Formatted(double value, bool digits = true) {
    if (!std::isfinite(value)) return "—";
    char text[32];
    std::snprintf(text, sizeof text, digits ? "%#.5g" : "%g", std::fabs(value) < 5e-16 ? 0.0 : value);
    return text;
}

std::string WithUnit(double value, const std::string& unit, bool digits = true) {
    if (unit.empty()) return Formatted(value, digits);
    return Formatted(value, digits) + (unit == "°" ? "" : " ") + unit;
}

}  // namespace

const std::vector<Experiment>& Experiments() {
    using enum ToleranceKind;
    static const std::vector<Experiment> rows = {
        {"Projectile, 5 m/s at 45°: range", "v² sin 2θ / g", "m", Relative, 1e-4, ProjectileRange},
        {"Projectile, 5 m/s at 45°: time of flight", "2 v sin θ / g", "s", Relative, 1e-4, ProjectileTime},
        {"Ball dropped on a support, e = 1: rebound height / drop height", "e²", "", Relative, 0.005, BounceElastic},
        {"Ball dropped on a support, e = 0.5: rebound height / drop height", "e²", "", Relative, 0.01, BounceHalf},
        {"Head-on, equal masses, e = 1: struck ball's speed / striker's", "1", "", Relative, 1e-3,
         HeadOnElasticTarget},
        {"Head-on, equal masses, e = 1: striker's speed after / before", "0", "", Absolute, 1e-3,
         HeadOnElasticStriker},
        {"Head-on, equal masses, e = 0: common speed / striker's", "1/2", "", Relative, 1e-3, HeadOnPlastic},
        {"Head-on, striker m against 8m at rest, e = 1: striker's velocity after / before", "(m₁ − m₂) / (m₁ + m₂)",
         "", Relative, 1e-3, HeadOnHeavyTarget},
        {"Oblique, equal masses, e = 1, aimed half a diameter aside: angle between the paths after",
         "90°", "°", Absolute, 0.1, ObliqueElastic},
        {"Ball rolling down a 30° plate: acceleration", "5/7 g sin θ", "m/s²", Relative, 0.002, BallRollsDownPlate},
        {"Cylinder rolling down a 30° plate: acceleration", "2/3 g sin θ", "m/s²", Relative, 0.002,
         CylinderRollsDownPlate},
        {"Ball rolling down a 30° surface of half-thickness 0.05: acceleration", "5/7 g sin θ", "m/s²", Relative,
         0.005, BallRollsDownThickSurface},
        {"Cylinder rolling down a 30° surface of half-thickness 0.05: acceleration", "2/3 g sin θ", "m/s²", Relative,
         0.005, CylinderRollsDownThickSurface},
        {"Ball rolling in the bowl y = x² of half-thickness 0.05: speed at the bottom / that of rolling down the same "
         "height",
         "v = √(2 g h / (1 + 2/5))", "", Relative, 0.01, BallRollsInBowl},
        {"The same on the thick surface against a thin one: acceleration", "equal", "m/s²", Relative, 0.005,
         ThickAgainstThinSurface},
        {"Ball rolling down the thick surface: kinetic energy gained / potential energy lost in 1.5 s", "1", "",
         Relative, 0.005, ThickSurfaceEnergy},
        {"Ball sliding down a 30° plate by Routh's hypothesis, μ = 0.1: acceleration", "g (sin θ − μ cos θ)", "m/s²",
         Relative, 0.002, RouthSliding},
        {"Bowling ball thrown at 3 m/s without spin, μ = 0.2: speed once it rolls", "5/7 v₀", "m/s", Relative, 0.005,
         BowlingBallRollingSpeed},
        {"Ball rolling on a support, rolling friction L = 0.001: deceleration", "L g / ((1 + k) R)", "m/s²",
         Relative, 0.01, RollingResistance},
        {"Ball at rest on a support, rolling friction 0.01: farthest it moves in a minute", "0", "m", Absolute, 1e-4,
         RestingBall},
        {"Rod 1 m hung at one end, amplitude 0.2 rad: period", "2π √(I / (m g d)) (1 + θ₀²/16 + …)", "s", Relative,
         2e-4, RodPeriod},
        {"Compound pendulum (rod 0.8 m with a ball at its end), 0.2 rad: period",
         "2π √(I / (Σ m g d)) (1 + θ₀²/16 + …)", "s", Relative, 2e-4, CompoundPeriod},
        {"Ball hung on a rigid radius of 1 m, 0.2 rad: period", "2π √((J + m r²) / (m g r)) (1 + θ₀²/16 + …)", "s",
         Relative, 2e-4, HungBallPeriod},
        {"Rod hung at one end, 0.5 rad: swing of KE + PE / swing of PE", "0", "", Absolute, 0.01, RodEnergy},
        {"Compound pendulum, 0.5 rad: swing of KE + PE / swing of PE", "0", "", Absolute, 0.01, CompoundEnergy},
        {"Hung ball, 0.5 rad: swing of KE + PE / swing of PE", "0", "", Absolute, 0.01, HungBallEnergy},
        {"Physical pendulum example: swing of KE + PE / swing of PE", "0", "", Absolute, 0.01,
         PhysicalPendulumExampleEnergy},
        {"Newton's cradle of five rod pendulums, e = 1: last ball's speed / striker's", "1", "", Relative, 0.03,
         CradleSpeed},
        {"Newton's cradle, e = 1: kinetic energy after the strikes / before", "1", "", Relative, 0.03, CradleEnergy},
        {"Newton's cradle, e = 1, steel's friction μ = 1: kinetic energy after the strikes / before",
         "between (1 − 2μR / (l + R))⁴ and 1", "", Absolute, (1 - CradleFrictionBound) / 2, FrictionalCradleEnergy},
        {"Newton's cradle of three balls hung on points, e = 1: last ball's speed / striker's", "1", "", Relative,
         0.03, HungBallCradleSpeed},
        {"Ball hung on a radius of 1 m strikes a free ball of its size at rest, e = 1: the free ball's speed / the "
         "bob's",
         "2 m* / (m* + m), m* = (J + m L²) / L²", "", Relative, 1e-4, HungBallStrikesFreeBall},
        {"Free ball strikes a ball of its size hung on a radius of 1 m at rest, e = 1: the bob's speed after / the "
         "free ball's before",
         "2 m / (m + m*), m* = (J + m L²) / L²", "", Relative, 1e-4, FreeBallStrikesHungBall},
        {"Light ball flying at a pendulum's bob at rest, e = 1: its velocity after / before",
         "(m − m*) / (m + m*), m* = I / (l + R)²", "", Relative, 0.01, BallStrikesPendulumBob},
        {"Dumbbell dropped flat on a support, e = 1: rebound speed / impact speed", "e", "", Relative, 0.03,
         DumbbellElastic},
        {"Dumbbell dropped flat on a support, e = 0.5: rebound speed / impact speed", "e", "", Relative, 0.03,
         DumbbellHalf},
        {"Rod dropped tilted by 1 rad on a support, e = 1, no friction: highest energy in 3 s / at the start", "1",
         "", Relative, 0.01, TiltedRodEnergy},
        {"Dumbbell sliding on a support at 2 m/s, its balls' μ = 0.02: deceleration", "μ g", "m/s²", Relative, 0.01,
         DumbbellSlides},
        {"Ball hung on a radius of 0.9 m swinging into a wall, e = 1: highest energy in 3 s / at the start", "1", "",
         Relative, 0.01, HungBallStrikesWall},
        {"Dumbbell dropped flat from 3 m on a support, e = 0: depth of its balls in the support at rest", "0", "m",
         Absolute, 2e-4, DumbbellDroppedRests},
        {"Ball in the bowl y = x², e = 1, no friction, dt = 1 ms: energy after 10 s / at the start (grows with the "
         "step, see docs/physics.md)",
         "1", "", Relative, 0.1, BowlEnergyCoarse},
        {"The same with dt = 0.1 ms", "1", "", Relative, 0.01, BowlEnergyFine},
        {"Pile of 95 balls dropped in a box: mean distance a ball moves in the sixth second", "0", "m", Absolute,
         0.003, PileAtRest},
    };
    return rows;
}

ExperimentResult RunExperiment(const Experiment& experiment) {
    ExperimentResult result;
    result.Row = &experiment;
    try {
        result.Values = experiment.Run();
    } catch (const Frozen&) {
        result.Values = {std::nan(""), std::nan("")};
    }
    const double difference = std::fabs(result.Values.Measured - result.Values.Expected);
    const double allowed = experiment.Kind == ToleranceKind::Relative
                               ? experiment.Tolerance * std::fabs(result.Values.Expected)
                               : experiment.Tolerance;
    result.Passed = difference <= allowed;
    return result;
}

std::string MarkdownTable(const std::vector<ExperimentResult>& results) {
    std::string table =
        "| experiment | textbook formula | textbook | measured | tolerance | passes |\n"
        "|---|---|---|---|---|---|\n";
    for (const ExperimentResult& r : results) {
        const Experiment& e = *r.Row;
        const std::string tolerance = e.Kind == ToleranceKind::Relative
                                          ? "± " + Formatted(e.Tolerance * 100, false) + " %"
                                          : "± " + WithUnit(e.Tolerance, e.Unit, false);
        table += "| " + e.Name + " | " + e.Formula + " | " + WithUnit(r.Values.Expected, e.Unit) + " | " +
                 WithUnit(r.Values.Measured, e.Unit) + " | " + tolerance + " | " + (r.Passed ? "yes" : "**no**") +
                 " |\n";
    }
    return table;
}

}  // namespace velo::textbook
