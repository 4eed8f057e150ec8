// Rod phase of the mechanical step and rod recomputation.
#pragma once

#include <vector>

#include "engine/obstacle_index.h"
#include "engine/rod_contacts.h"
#include "engine/step_context.h"
#include "model/derived_fields.h"
#include "model/world.h"

namespace velo {

// The points the obstacles hold of one rod in one step, gathered in a
// buffer that the step context keeps (emptied here), so that the step does
// not touch the heap once the buffer has grown to the scene.
class RodTouches {
public:
    explicit RodTouches(std::vector<ContactHold>& buffer) : holds_(buffer) { holds_.clear(); }
    void push_back(const ContactHold& hold) { holds_.push_back(hold); }
    std::size_t size() const { return holds_.size(); }
    template <typename F>
    void ForEach(F&& f) const {
        for (const ContactHold& hold : holds_) f(hold);
    }

private:
    std::vector<ContactHold>& holds_;
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
