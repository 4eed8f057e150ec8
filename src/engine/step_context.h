// What the mechanical step carries from one step to the next and from one
// phase to the next. Whoever runs steps owns one context per World: the
// driver, the command-line tool, a test.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/impulse_events.h"
#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// Which rod touched which obstacle in which step, so that a lasting contact
// is struck only once. One record per (obstacle number, kind block, rod).
struct RodContactRecord {
    bool Active = false;
    std::int32_t Step = 0;
};
inline constexpr int RodContactKindStride = 2211;  // 11 blocks of 201 rods
inline constexpr int RodContactTableSize = 201 * RodContactKindStride;

// A fixed obstacle met by a ball that a rod carries, noted in the ball phase
// for the rod phase of the same step.
struct CarriedBallContact {
    int Ball = 0;
    Vec2 Towards;  // unit vector from the ball's centre to the obstacle
    int Material = 0;
    double Depth = 0;  // how far the ball reaches into the obstacle
    int Rod = 0;       // the rod that carries the ball
    int End = 0;       // the end of the rod the ball is fastened at
    int Order = 0;     // when the ball phase met it, among all the notes
    std::uint8_t ObstacleKind = 0;  // the obstacle, for the collision log
    std::int32_t ObstacleNumber = 0;
};

// This step's notes for the rod phase: the fixed-obstacle contacts of the
// balls that rods carry. The rod phase groups them by rod (then end, then
// order) and hands each rod its own run of them.
using CarriedBallContacts = std::vector<CarriedBallContact>;
using CarriedBallSpan = std::span<const CarriedBallContact>;

// A lasting contact holds a rod at the end of its step: after the field has
// acted, the approaching normal velocity of the contact point is removed.
struct ContactHold {
    Vec2 Arm;
    Vec2 Normal;
    int Material;
    double Angle;
    // The material of the carried ball that met the obstacle, or -1 for a
    // contact of the rod itself.
    int BallMaterial = -1;
};

// What a ball brings to each of its pair contacts, worked out once per step
// (mass, radius and moment of inertia stay put through the ball phase): the
// reciprocal of its mass, and its radius over its moment of inertia and the
// square of that arm over it. A ball of no moment of inertia does not turn.
struct BallTerms {
    double InverseMass = 0;
    double RadiusOverInertia = 0;
    double ArmOverInertia = 0;
};
inline BallTerms TermsOf(const Ball& ball) {
    if (!(ball.Inertia > 0)) return {1 / ball.Mass, 0, 0};
    return {1 / ball.Mass, ball.Radius / ball.Inertia, ball.Radius * ball.Radius / ball.Inertia};
}

struct ContactIndex;  // engine/obstacle_index.h

class StepContext {
public:
    StepContext();
    ~StepContext();
    // A copy keeps the contact memory, so that a copied World run with it
    // goes on exactly as the original; its index is built afresh.
    StepContext(const StepContext& other);
    StepContext& operator=(const StepContext& other);
    StepContext(StepContext&&) noexcept;
    StepContext& operator=(StepContext&&) noexcept;

    // The spatial index of the contacts. It only speeds them up and never
    // changes a result; PrepareStep makes it current for the step.
    ContactIndex& Index();
    // Throws the index away; the next step builds it from nothing.
    void DropIndex();

    // Rod contacts of the last steps (RodContactTableSize records once a
    // step has run with rods in the World).
    std::vector<RodContactRecord> RodMemory;
    // Contacts of carried balls with fixed obstacles in this step.
    CarriedBallContacts CarriedContacts;
    // The points the obstacles hold of the rod in its phase, kept from rod
    // to rod and step to step so that they do not touch the heap.
    std::vector<ContactHold> Holds;
    // The pair terms of balls 0..BallCount in this step.
    std::vector<BallTerms> Terms;

    // Told of every impulse of a ball when set (the collision log); null
    // while nobody listens.
    ImpulseObserver* Impulses = nullptr;

    // The World generation the memory belongs to.
    std::uint64_t Generation = ~std::uint64_t{0};
    // The fixed-scene edit count the index last read the vertices at.
    // With VerifyFixedScene, every step also reads the vertices and throws
    // std::logic_error when they changed without MarkFixedSceneChanged: the
    // test builds switch it on, so a forgotten mark fails a test.
#ifdef NDEBUG
    bool VerifyFixedScene = false;
#else
    bool VerifyFixedScene = true;
#endif

private:
    std::unique_ptr<ContactIndex> index_;
};

// The first phase of every mechanical step: forgets the memory of an
// earlier generation of the World, empties this step's notes and makes the
// contact index current (rebuilding its fixed part when a fixed object
// changed).
void PrepareStep(World& world, StepContext& context);

}  // namespace velo
