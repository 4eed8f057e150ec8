// What the contact response tells an observer about each impulse it gives:
// the collision log of the recorder listens here. The step holds only a
// pointer to the observer; while it is null (the log is off) the contact
// code does nothing more than test it.
#pragma once

#include <cstdint>

#include "model/vec2.h"

namespace velo {

// One impulse of a ball against another ball or a fixed obstacle, or of a
// rod against a fixed obstacle. The first object is the moving ball
// (KindBall or KindCylinder by its shape) or the rod (KindPeg, its
// velocities those of its middle); the second is a ball (the lower-numbered
// one of the pair) or the obstacle: KindLaval, KindHand, KindWall,
// KindPlane, KindSurface, KindSurface2. Velocities are those of the centres; an obstacle's are 0.
// A ball that a rod carries or that hangs on a suspension point moves with
// what holds it: its velocities are those of its centre as a point of the
// rod or of the pendulum.
// Impulses are along the contact normal (towards the first ball) and the
// tangent (the normal turned by +90 degrees), as given to the first ball.
struct ImpulseEvent {
    std::int64_t Step = 0;  // StepCounter of the step
    double Time = 0;        // T at the end of the step, when its samples are taken
    std::uint8_t FirstKind = 0;
    std::int32_t FirstNumber = 0;
    std::uint8_t SecondKind = 0;
    std::int32_t SecondNumber = 0;
    double NormalImpulse = 0;
    double TangentialImpulse = 0;
    Vec2 FirstBefore;
    Vec2 FirstAfter;
    Vec2 SecondBefore;
    Vec2 SecondAfter;
};

class ImpulseObserver {
public:
    virtual ~ImpulseObserver() = default;
    virtual void OnImpulse(const ImpulseEvent& event) = 0;

    // The time the running step ends at (T + dt), set by the step before
    // its phases: events are stamped with it, so that they line up with the
    // recorder's samples, which are taken after the step.
    double StepEndTime = 0;
};

// What a contact with a fixed obstacle hands to the response: the
// observer (null while nobody listens) and the obstacle it is about.
struct ObstacleTap {
    ImpulseObserver* Observer = nullptr;
    std::uint8_t Kind = 0;
    std::int32_t Number = 0;
};

}  // namespace velo
