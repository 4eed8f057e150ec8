// Rod phase of the mechanical step and rod recomputation.
#pragma once

#include <array>
#include <vector>

#include "engine/obstacle_index.h"
#include "engine/rod_contacts.h"
#include "engine/step_context.h"
#include "model/derived_fields.h"
#include "model/world.h"

namespace velo {

// A lasting contact holds the rod at the end of its step: after the field
// has acted, the approaching normal velocity of the contact point is removed.
struct ContactHold {
    Vec2 Arm;
    Vec2 Normal;
    int Material;
    double Angle;
    // The material of the carried ball that met the obstacle, or -1 for a
    // contact of the rod itself.
    int BallMaterial = -1;
};

// The points the obstacles hold of one rod in one step: a handful at most in
// any real scene, kept without touching the heap.
class RodTouches {
public:
    void push_back(const ContactHold& hold) {
        if (count_ < static_cast<int>(fixed_.size())) fixed_[count_++] = hold;
        else more_.push_back(hold);
    }
    std::size_t size() const { return static_cast<std::size_t>(count_) + more_.size(); }
    template <typename F>
    void ForEach(F&& f) const {
        for (int k = 0; k < count_; ++k) f(fixed_[k]);
        for (const ContactHold& hold : more_) f(hold);
    }

private:
    std::array<ContactHold, 8> fixed_{};
    int count_ = 0;
    std::vector<ContactHold> more_;
};

// Tests obstacle `obstacle` of kind `kind` against rod `number` and lets a
// contact act: the first step of a contact strikes the rod, a lasting one
// adds its held points to `touches`. A polyline surface is walked over the
// given chunks of the contact index, or whole when `chunks` is null.
void TouchRodObstacle(World& world, int number, const RodSegment& segment, ObstacleOrder kind, int obstacle,
                      const PolylineChunk* chunks, int chunkCount, RodTouches& touches, StepContext& context);

// Visits the obstacles of one rod in one step, kind by kind (suspension
// points, supports, walls, planes, polyline surfaces), each in increasing
// number, through TouchRodObstacle.
using RodObstacleVisitor = void (*)(World& world, int number, const RodSegment& segment, RodTouches& touches,
                                    StepContext& context);

// The visitor of the mechanical step: only the obstacles the contact index
// finds near the rod, which are all it can touch.
void IndexedRodObstacles(World& world, int number, const RodSegment& segment, RodTouches& touches,
                         StepContext& context);

// Motion of every movable rod, the balls it carries and its contacts with
// suspension points, supports, walls, inclined planes and polyline surfaces.
void RodPhase(World& world, double dt, StepContext& context, RodObstacleVisitor visit = &IndexedRodObstacles);

}  // namespace velo
