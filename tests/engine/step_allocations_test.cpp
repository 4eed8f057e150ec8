// The mechanical step allocates nothing once its context has served a few
// steps: a run must not wear the heap down, whatever the scene. Every
// allocation of this test program is counted; the steps are run between two
// readings of the count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "celestial/celestial_scenes.h"
#include "celestial/celestial_step.h"
#include "engine/chain_layout.h"
#include "rod_scenes.h"

namespace {
long long allocationCount = 0;
}  // namespace

// Every ordinary form of the global allocation functions, so that all of
// them meet the same heap (the sanitizers check that they pair up). Inlined
// into a test's new and delete, GCC would take the free below for a
// mismatch; here it is the pairing itself.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* p = std::malloc(size != 0 ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocationCount;
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace velo {
namespace {

using namespace velo::testing;

long long AllocationsOfSteps(World& world, int warmUp, int steps) {
    SilentMessenger messenger;
    StepContext context;
    for (int k = 0; k < warmUp; ++k) MechanicalStep(world, 1e-3, messenger, context);
    const long long before = allocationCount;
    for (int k = 0; k < steps; ++k) MechanicalStep(world, 1e-3, messenger, context);
    return allocationCount - before;
}

TEST(StepAllocations, NoneOnceRunning) {
    // The pile of balls, and rods of every kind among obstacles with a
    // thread of 512 segments beside them.
    auto pile = PileInBox();
    EXPECT_EQ(AllocationsOfSteps(*pile, 200, 2000), 0);
    auto rods = RandomRodScene(2);
    rods->Params.FieldScale = 100000;
    AddLaval(*rods, {0, 3});
    ASSERT_TRUE(CreateThread(*rods, rods->LavalCount, {0.4, 3}, 0.6).Ok());
    EXPECT_EQ(AllocationsOfSteps(*rods, 200, 2000), 0);
}

TEST(StepAllocations, NoneInACelestialStep) {
    // Two hundred bodies, the most a project holds.
    auto cluster = RandomCluster(HBodyCapacity, 7);
    SilentMessenger messenger;
    ASSERT_TRUE(CelestialStep(*cluster, 60, messenger));
    const long long before = allocationCount;
    for (int k = 0; k < 200; ++k) ASSERT_TRUE(CelestialStep(*cluster, 60, messenger));
    EXPECT_EQ(allocationCount - before, 0);
}

}  // namespace
}  // namespace velo
