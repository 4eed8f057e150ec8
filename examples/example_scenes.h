// The example scenes shipped in examples/: each is built with the core's
// own object creation, so the files show what the editor would make.
#pragma once

#include <string>
#include <vector>

#include "model/world.h"

namespace velo {

struct ExampleScene {
    std::string FileName;   // e.g. "ball_bounce.qvs"
    std::string AuthorText; // stored in the file header
    void (*Build)(World& world);
};

const std::vector<ExampleScene>& ExampleScenes();

// DefaultWorld, the scene's objects, then every ball and rod normalised and
// the selection cleared, as a saved and reopened file would have them.
void BuildExample(World& world, const ExampleScene& scene);

}  // namespace velo
