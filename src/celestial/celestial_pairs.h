// The pair work of the celestial step: for every body the field sum of all
// the others and whether any two bodies are in contact, in one pass over
// the unordered pairs. It runs on a copy of the bodies laid out one array
// per quantity, several pairs at a time where the processor allows; every
// way gives the same results to the bit.
#pragma once

#include <array>
#include <cstddef>

#include "model/world.h"

namespace velo {

// Room for every body and for the padding of the last group of eight.
inline constexpr std::size_t BodyLaneCapacity = HBodyCapacity + 8;

// The existing bodies of one step in increasing number. The step keeps it
// on its stack (about 16 kB): no heap memory.
struct BodyLanes {
    int Count = 0;
    std::array<int, BodyLaneCapacity> Number;
    alignas(64) std::array<double, BodyLaneCapacity> X, Y, Z, Radius, Mass;
    // The field sums d * (Mass / r^3) over all other bodies, before the
    // gravitational constant.
    alignas(64) std::array<double, BodyLaneCapacity> SumX, SumY, SumZ;
};

// Copies the existing bodies 1..HBodyCount into the lanes and clears the sums.
void GatherBodies(const World& world, BodyLanes& lanes);

// How many pairs run at once: one, two (SSE2), four (AVX) or eight
// (AVX-512).
enum class PairKernel { Plain, TwoLanes, FourLanes, EightLanes };

// Whether this build on this processor can run the kernel (Plain always can).
bool PairKernelAvailable(PairKernel kernel);
PairKernel FastestPairKernel();

// Fills the sums of every lane; a body adds nothing where its own sphere
// holds the other's centre or at zero distance. Returns the first lane
// that is in contact with a higher lane (radii adding up to more than the
// distance, touching spheres not counted), or Count when no two are.
int PairSums(BodyLanes& lanes, PairKernel kernel);

}  // namespace velo
