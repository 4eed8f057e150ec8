#include "engine/rod_phase.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <cmath>
#include <numbers>
#include <tuple>
#include <vector>

#include "engine/ball_forces.h"
#include "engine/carried_balls.h"
#include "engine/contact_response.h"
#include "engine/geometry.h"
#include "engine/obstacle_index.h"
#include "engine/rod_contacts.h"
#include "engine/rod_impulse.h"

namespace velo {
namespace {

// Blocks of the rod contact memory, one per obstacle kind.
constexpr int LavalBlock = 0;
constexpr int HandBlock = 201;
constexpr int WallBlock = 402;
constexpr int PlaneBlock = 603;
constexpr int SurfaceBlock = 804;

constexpr std::int32_t StepModulus = 2000000000;

// Field torque of the balls a hanging rod carries, about its suspension
// point: their weight less the buoyancy, at their centres.
double CarriedBallsFieldTorque(const World& world, const Peg& rod, Vec2 e) {
    double torque = 0;
    for (int end = 1; end <= 2; ++end) {
        const int b = FastenedBall(world, rod, end);
        if (b == 0) continue;
        const Ball& ball = world.Balls[b];
        const double weight = (ball.Density - world.Params.AirDensity) * ball.Volume * world.Params.Gravity;
        torque -= CarriedBallOffset(rod, ball, end) * e.X * weight;
    }
    return torque;
}

// Air torque of a hanging rod turning in the wind. When the relative
// velocity keeps one sign along the whole rod (sigma1 = sigma2) the terms in
// x0 cancel exactly; they are left out then, because x0 = a / Omega
// overflows for a rod at rest in a wind.
double AirTorque(const World& world, const Peg& rod, Vec2 e) {
    const double rho = world.Params.AirDensity;
    if (rho == 0) return 0;
    const double omega = rod.Omega;
    const double c = rod.CentreOffset;
    const double length = rod.Length;
    const double a = Dot(Perpendicular(e), world.Params.Wind);
    const double s1 = -length / 2 - c;
    const double s2 = length / 2 - c;
    const double sigma1 = Sign(s1 * omega - a);
    const double sigma2 = Sign(s2 * omega - a);
    double q1, q2, q3;
    if (sigma1 == sigma2) {
        q1 = (s2 - s1) * sigma1;
        q2 = (s2 * s2 - s1 * s1) * sigma1 / 2;
        q3 = (s2 * s2 * s2 - s1 * s1 * s1) * sigma1 / 3;
    } else {
        const double x0 = a / (omega + 1e-80);
        q1 = (x0 - s1) * sigma1 - (x0 - s2) * sigma2;
        q2 = ((x0 * x0 - s1 * s1) * sigma1 - (x0 * x0 - s2 * s2) * sigma2) / 2;
        q3 = ((x0 * x0 * x0 - s1 * s1 * s1) * sigma1 - (x0 * x0 * x0 - s2 * s2 * s2) * sigma2) / 3;
    }
    const double b = (s2 * s2 - s1 * s1) * omega / 2 - (s2 - s1) * a;
    return rho * rod.Depth *
           (rod.DragQuadratic * (a * a * q1 - 2 * omega * a * q2 + omega * omega * q3) + rod.DragLinear * b);
}

std::int32_t PreviousStep(std::int32_t counter) {
    // The mathematical residue: the step before 0 is 1,999,999,999.
    const std::int32_t previous = (counter - 1) % StepModulus;
    return previous < 0 ? previous + StepModulus : previous;
}

// One contact found for the rod. On its first step the obstacle strikes the
// rod (restitution and friction) and the rod's driving torque and
// acceleration are cancelled for the step. While the contact lasts there is
// no second strike; the rod's weight keeps acting and the contact only holds
// it (see ContactHold), so a rod resting on one end falls flat instead of
// hovering, and nothing sinks into the obstacle.
// The obstacle kind of a block of the contact memory.
std::uint8_t KindOfBlock(int block) {
    switch (block) {
    case LavalBlock: return KindLaval;
    case HandBlock: return KindHand;
    case WallBlock: return KindWall;
    case PlaneBlock: return KindPlane;
    default: return KindSurface;
    }
}

// Tells the observer of a rod's own strike: the rod is the first object,
// its velocities those of its middle, the impulse the change of its
// momentum split along the contact normal (towards the rod) and across it.
void TellRodStrike(const World& world, int number, Vec2 normal, Vec2 before, std::uint8_t kind, int obstacle,
                   ImpulseObserver& observer) {
    const Peg& rod = world.Pegs[number];
    const Vec2 after = RodPointVelocity(rod, RodMiddle(rod));
    const Vec2 impulse = (after - before) * rod.Mass;
    ImpulseEvent event;
    event.Step = world.Params.StepCounter;
    event.Time = observer.StepEndTime;
    event.FirstKind = KindPeg;
    event.FirstNumber = number;
    event.SecondKind = kind;
    event.SecondNumber = obstacle;
    event.NormalImpulse = Dot(impulse, normal);
    event.TangentialImpulse = Dot(impulse, Perpendicular(normal));
    event.FirstBefore = before;
    event.FirstAfter = after;
    observer.OnImpulse(event);
}

void TouchObstacle(World& world, int number, RodContactRecord& memory, const RodSegment& segment,
                   const RodContact& contact, int obstacleMaterial, RodTouches& holds, ImpulseObserver* observer,
                   std::uint8_t kind, int obstacle) {
    Peg& rod = world.Pegs[number];
    const Vec2 arm = contact.Point - rod.Position;
    if (memory.Active && memory.Step == PreviousStep(world.Params.StepCounter)) {
        const Vec2 normal = ContactNormal(segment, contact);
        holds.push_back({arm, normal, obstacleMaterial, contact.Angle()});
        // The rod may rest on the edge at more than its nearest point: a rod
        // touching with one end comes down on the other. Every end over the
        // edge and within reach of it is held as well.
        if (contact.FromEdge) {
            for (Vec2 end : {segment.End1, segment.End2}) {
                Vec2 onEdge;
                if (!PerpendicularMeetsEdge(segment, end, contact.EdgeA, contact.EdgeB, onEdge)) continue;
                if (Distance(onEdge, contact.Point) == 0) continue;
                if (Dot(end - onEdge, normal) > segment.HalfWidth) continue;
                holds.push_back({onEdge - rod.Position, normal, obstacleMaterial,
                                 PolarAngle(contact.EdgeB - contact.EdgeA)});
            }
        }
    } else {
        const Vec2 before = observer != nullptr ? RodPointVelocity(rod, RodMiddle(rod)) : Vec2{};
        ImpulseOnRod(world, number, arm, obstacleMaterial, contact.Angle());
        if (observer != nullptr) {
            TellRodStrike(world, number, ContactNormal(segment, contact), before, kind, obstacle, *observer);
        }
        rod.Torque = 0;
        rod.Acceleration = {0, 0};
    }
    memory.Active = true;
    memory.Step = world.Params.StepCounter;
}

int MemoryIndex(int obstacle, int block, int rod) {
    return obstacle * RodContactKindStride + block + rod;
}

}  // namespace

void TouchRodObstacle(World& world, int number, const RodSegment& segment, ObstacleOrder kind, int obstacle,
                      const PolylineChunk* chunks, int chunkCount, RodTouches& touches, StepContext& context) {
    const double reach = segment.HalfWidth;
    auto touch = [&](int block, const RodContact& contact, double within, int material) {
        if (contact.Any && contact.Distance <= within)
            TouchObstacle(world, number, context.RodMemory[MemoryIndex(obstacle, block, number)], segment,
                          contact, material, touches, context.Impulses, KindOfBlock(block), obstacle);
    };
    switch (kind) {
    case OrderLaval:
        if (obstacle != world.Pegs[number].HangLaval && world.Lavals[obstacle].Exists)
            touch(LavalBlock, RodLavalContact(segment, world.Lavals[obstacle]), reach, 0);
        break;
    case OrderHand: {
        const HandWall& hand = world.Hands[obstacle];
        if (hand.Exists) touch(HandBlock, RodHandContact(segment, hand), reach, hand.Material);
        break;
    }
    case OrderWall: {
        const HandWall& wall = world.Walls[obstacle];
        if (wall.Exists) touch(WallBlock, RodWallContact(segment, wall), reach, wall.Material);
        break;
    }
    case OrderPlane: {
        const Plane& plane = world.Planes[obstacle];
        if (plane.Exists) touch(PlaneBlock, RodPlaneContact(segment, plane), reach, plane.Material);
        break;
    }
    case OrderSurface: {
        const Surface& surface = world.Surfaces[obstacle];
        if (!surface.Exists) break;
        const RodContact contact = chunks != nullptr
                                       ? RodSurfaceContactInChunks(segment, surface, chunks, chunkCount)
                                       : RodSurfaceContact(segment, surface, SurfaceBox(surface));
        touch(SurfaceBlock, contact, reach + surface.HalfThickness, surface.Material);
        break;
    }
    case OrderSurface2:
        break;  // rods do not meet second-order surfaces
    }
}

void IndexedRodObstacles(World& world, int number, const RodSegment& segment, RodTouches& touches,
                         StepContext& context) {
    ContactIndex& index = context.Index();
    std::vector<int>& candidates = index.Scratch;
    RodCandidates(index, segment.Box, RodSearchReach(segment), candidates);
    for (int k : candidates) {
        const FixedEntry& entry = index.Entries[static_cast<std::size_t>(k)];
        TouchRodObstacle(world, number, segment, entry.Order, entry.Number,
                         index.Chunks.data() + entry.FirstChunk, entry.ChunkCount, touches, context);
    }
}

namespace {


// The contacts its carried balls met in this step's ball phase, as points
// the rod holds: on each ball's surface towards the obstacle, with the ball
// where the rod has just placed it.
void AddCarriedBallHolds(World& world, int number, CarriedBallSpan carried, RodTouches& holds) {
    const Peg& rod = world.Pegs[number];
    for (const CarriedBallContact& contact : carried) {
        const Ball& ball = world.Balls[contact.Ball];
        const Vec2 point = ball.Position + contact.Towards * ball.Radius;
        holds.push_back({point - rod.Position, -contact.Towards, contact.Material, ContactFrameAngle(contact.Towards),
                         ball.Material});
    }
}

void RodStep(World& world, int number, double dt, StepContext& context, RodObstacleVisitor visit,
             CarriedBallSpan carried) {
    RecomputeRod(world, number);
    StrikeCarriedBallContacts(world, number, carried, context.Impulses);
    Peg& rod = world.Pegs[number];
    const Vec2 e = UnitVector(rod.End2 - rod.End1);
    const double g = world.Params.Gravity;

    if (rod.HangLaval <= 0) {
        rod.Acceleration = {0, -g};
        rod.Torque = 0;
    } else {
        rod.Acceleration = {0, 0};
        rod.Velocity = {0, 0};
        const double w = (rod.Density - world.Params.AirDensity) * rod.Volume;
        rod.Torque = w * rod.CentreOffset * g * e.X;
        rod.Torque += CarriedBallsFieldTorque(world, rod, e);
        rod.Torque -= AirTorque(world, rod, e);
    }

    RodTouches holds(context.Holds);
    visit(world, number, MakeRodSegment(world, rod), holds, context);
    AddCarriedBallHolds(world, number, carried, holds);

    if (!rod.Movable) return;
    rod.Epsilon = rod.PivotInertia != 0 ? rod.Torque / rod.PivotInertia : 0;
    rod.Omega += rod.Epsilon * dt;
    if (rod.HangLaval <= 0) rod.Velocity += rod.Acceleration * dt;
    // Holding one point can drive another into the obstacle; a few sweeps
    // over the held points settle them together.
    const int sweeps = holds.size() > 1 ? 4 : 1;
    for (int sweep = 0; sweep < sweeps; ++sweep)
        holds.ForEach([&](const ContactHold& hold) {
            if (hold.BallMaterial >= 0) {
                const PairCoefficients pair = ContactPair(world, hold.BallMaterial, hold.Material);
                HoldCarriedBallContact(world, number, rod.Position + hold.Arm, hold.Normal, pair);
            } else {
                HoldRodContact(world, number, hold.Arm, hold.Normal, hold.Material, hold.Angle);
            }
        });
    PushOutCarriedBalls(world, number, carried);
    rod.AngularMomentum = rod.Omega * rod.PivotInertia;
}

}  // namespace



void RodPhase(World& world, double dt, StepContext& context, RodObstacleVisitor visit) {
    // The carried balls' notes by rod, then end, then the order they were
    // met in (in place: the sort takes no memory), so that each rod reads
    // its own run of them.
    CarriedBallContacts& notes = context.CarriedContacts;
    std::sort(notes.begin(), notes.end(), [](const CarriedBallContact& a, const CarriedBallContact& b) {
        return std::tie(a.Rod, a.End, a.Order) < std::tie(b.Rod, b.End, b.Order);
    });
    std::size_t first = 0;
    for (int n = 1; n <= world.PegCount; ++n) {
        while (first < notes.size() && notes[first].Rod < n) ++first;
        std::size_t last = first;
        while (last < notes.size() && notes[last].Rod == n) ++last;
        const Peg& rod = world.Pegs[n];
        if (rod.Exists && rod.Movable)
            RodStep(world, n, dt, context, visit, CarriedBallSpan(notes.data() + first, last - first));
        first = last;
    }
}

}  // namespace velo
