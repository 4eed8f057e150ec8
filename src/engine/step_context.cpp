#include "engine/step_context.h"

#include <algorithm>

#include "engine/obstacle_index.h"

namespace velo {

StepContext::StepContext() = default;
StepContext::~StepContext() = default;

StepContext::StepContext(const StepContext& other)
    : RodMemory(other.RodMemory),
      CarriedContacts(other.CarriedContacts),
      Generation(other.Generation),
      VerifyFixedScene(other.VerifyFixedScene) {}

StepContext& StepContext::operator=(const StepContext& other) {
    if (this == &other) return *this;
    RodMemory = other.RodMemory;
    CarriedContacts = other.CarriedContacts;
    Generation = other.Generation;
    VerifyFixedScene = other.VerifyFixedScene;
    index_.reset();
    return *this;
}

StepContext::StepContext(StepContext&&) noexcept = default;
StepContext& StepContext::operator=(StepContext&&) noexcept = default;

ContactIndex& StepContext::Index() {
    if (!index_) index_ = std::make_unique<ContactIndex>();
    return *index_;
}

void StepContext::DropIndex() { index_.reset(); }

void PrepareStep(World& world, StepContext& context) {
    if (context.Generation != world.Generation) {
        // A cleared World hands its numbers out again: no contact of an
        // earlier project may be taken for a lasting one.
        context.RodMemory.clear();
        context.Generation = world.Generation;
    }
    // The memory is only needed, and only filled, once there are rods.
    if (world.PegCount > 0 && context.RodMemory.size() != RodContactTableSize) {
        context.RodMemory.assign(RodContactTableSize, RodContactRecord{});
    }
    context.CarriedContacts.clear();
    // Room for a few contacts of every ball, so that the step does not grow it.
    const std::size_t room = 4 * (BallCapacity + 1);
    if (context.CarriedContacts.capacity() < room) context.CarriedContacts.reserve(room);
    const int balls = std::min(world.BallCount, BallCapacity);
    context.Terms.resize(static_cast<std::size_t>(balls) + 1);
    for (int n = 1; n <= balls; ++n) context.Terms[static_cast<std::size_t>(n)] = TermsOf(world.Balls[n]);
    StartIndexStep(world, context.Index(), context.VerifyFixedScene);
}

}  // namespace velo
