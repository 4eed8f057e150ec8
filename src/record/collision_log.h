// The collision log: every impulse of a ball against another ball or a
// fixed obstacle, as the contact response reports it. It listens while it
// is the step context's impulse observer (Attach); detached, the step does
// not see it and costs nothing more than a null test per impulse.
//
// Events are kept in a ring of a fixed capacity (the oldest dropped when
// full), grown in blocks so that a short log takes little memory. When a
// block cannot be had the log stops with what it holds and says so
// (OutOfMemory) until it is cleared.
//
// Like the recorder, the log is cleared (Clear) when the scene is rewound
// to the start point or returned to its saved state: its events no longer
// belong to the scene.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/impulse_events.h"
#include "engine/step_context.h"

namespace velo {

class CollisionLog final : public ImpulseObserver {
public:
    static constexpr std::size_t DefaultCapacity = 1'000'000;
    static constexpr std::size_t BlockEvents = 1024;

    explicit CollisionLog(std::size_t capacity = DefaultCapacity);

    // Makes this log the observer of the context's steps, or stops it.
    // Detach only stops the log if it is the one attached.
    void Attach(StepContext& context) { context.Impulses = this; }
    void Detach(StepContext& context) const {
        if (context.Impulses == this) context.Impulses = nullptr;
    }

    void OnImpulse(const ImpulseEvent& event) override;

    // At least 1. A change clears the log.
    void SetCapacity(std::size_t events);
    std::size_t Capacity() const { return capacity_; }
    void Clear();

    // Events kept, oldest first (i = 0 .. Count - 1).
    std::size_t Count() const;
    const ImpulseEvent& At(std::size_t i) const;
    std::vector<ImpulseEvent> Last(std::size_t n) const;
    // Events dropped to make room since the log began.
    std::uint64_t DroppedCount() const { return received_ - Count(); }
    bool DroppedOldest() const { return DroppedCount() != 0; }
    std::uint64_t Received() const { return received_; }
    bool OutOfMemory() const { return outOfMemory_; }

    std::uint64_t Revision() const { return revision_; }
    std::size_t MemoryBytes() const;

private:
    std::vector<std::vector<ImpulseEvent>> blocks_;
    std::size_t capacity_;
    std::uint64_t received_ = 0;
    std::uint64_t revision_ = 0;
    bool outOfMemory_ = false;
};

}  // namespace velo
