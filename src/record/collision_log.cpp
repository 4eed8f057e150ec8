#include "record/collision_log.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

namespace velo {

CollisionLog::CollisionLog(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

namespace {

double Length(Vec2 v) { return std::sqrt(v.X * v.X + v.Y * v.Y); }

// Bodies resting against each other exchange impulses of rounding size
// (1e-17 of a unit) at every step: they are not strikes. An impulse is kept
// when it changes a velocity by more than a 1e-12 part of the velocities
// involved, taken as at least one unit of velocity.
bool Negligible(const ImpulseEvent& e) {
    const double change = std::max(Length(e.FirstAfter - e.FirstBefore), Length(e.SecondAfter - e.SecondBefore));
    const double scale = std::max({1.0, Length(e.FirstBefore), Length(e.FirstAfter), Length(e.SecondBefore),
                                   Length(e.SecondAfter)});
    return change <= 1e-12 * scale;
}

}  // namespace

void CollisionLog::OnImpulse(const ImpulseEvent& event) {
    if (outOfMemory_ || Negligible(event)) return;
    const std::size_t position = static_cast<std::size_t>(received_ % capacity_);
    const std::size_t block = position / BlockEvents;
    if (block >= blocks_.size()) {
        // Blocks are added in order as the ring first fills; the last one
        // holds only what is left of the capacity. Without memory for one
        // the log stops; the step it listens to goes on.
        try {
            std::vector<ImpulseEvent> events;
            events.reserve(std::min(BlockEvents, capacity_ - block * BlockEvents));
            blocks_.push_back(std::move(events));
        } catch (const std::bad_alloc&) {
            outOfMemory_ = true;
            ++revision_;
            return;
        }
    }
    std::vector<ImpulseEvent>& events = blocks_[block];
    const std::size_t offset = position % BlockEvents;
    if (offset < events.size()) {
        events[offset] = event;
    } else {
        events.push_back(event);
    }
    ++received_;
    ++revision_;
}

void CollisionLog::SetCapacity(std::size_t events) {
    events = std::max<std::size_t>(events, 1);
    if (events == capacity_) return;
    capacity_ = events;
    Clear();
}

void CollisionLog::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    received_ = 0;
    outOfMemory_ = false;
    ++revision_;
}

std::size_t CollisionLog::Count() const {
    return static_cast<std::size_t>(std::min<std::uint64_t>(received_, capacity_));
}

const ImpulseEvent& CollisionLog::At(std::size_t i) const {
    if (i >= Count()) throw std::out_of_range("CollisionLog: no event of that index");
    const std::size_t position = static_cast<std::size_t>((received_ - Count() + i) % capacity_);
    return blocks_[position / BlockEvents][position % BlockEvents];
}

std::vector<ImpulseEvent> CollisionLog::Last(std::size_t n) const {
    const std::size_t count = Count();
    n = std::min(n, count);
    std::vector<ImpulseEvent> events;
    events.reserve(n);
    for (std::size_t i = count - n; i < count; ++i) events.push_back(At(i));
    return events;
}

std::size_t CollisionLog::MemoryBytes() const {
    std::size_t bytes = blocks_.capacity() * sizeof(blocks_[0]);
    for (const auto& block : blocks_) bytes += block.capacity() * sizeof(ImpulseEvent);
    return bytes;
}

}  // namespace velo
