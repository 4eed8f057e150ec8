// The recording of the running project, shared by the graph windows: the
// sampled series and the collision log.
#pragma once

#include <cstdint>

#include "record/collision_log.h"
#include "record/recorder.h"

namespace velo {

struct Recording {
    // The samples and the log share one budget: the log's full ring is set
    // aside, the samples take the rest.
    Recording() {
        Samples.SetMemoryBudget(Recorder::DefaultMemoryBudget - CollisionLog::DefaultCapacity * sizeof(ImpulseEvent));
    }
    Recorder Samples;
    CollisionLog Collisions;
    // Grows whenever the samples are dropped, so that the windows start
    // their pictures afresh.
    std::uint64_t Generation = 0;
    void Clear() {
        Samples.Clear();
        Collisions.Clear();
        ++Generation;
    }
};

}  // namespace velo
