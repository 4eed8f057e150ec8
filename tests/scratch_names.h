// Names of scratch files and folders that no other test process uses at
// the same time: ctest runs tests side by side, and two builds may run
// their tests on one machine at once.
#pragma once

#include <random>
#include <string>

namespace velo::testing {

// "<stem>_<a number drawn once per test process>".
inline std::string ProcessScratchName(const std::string& stem) {
    static const unsigned drawn = std::random_device{}();
    return stem + "_" + std::to_string(drawn);
}

}  // namespace velo::testing
