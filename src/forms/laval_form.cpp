#include "forms/laval_form.h"

#include <algorithm>

#include "model/derived_fields.h"

namespace velo {

void LavalForm::Apply(World& world) const {
    const int n = Number();
    world.Lavals[static_cast<std::size_t>(n)].Position = copy_.Position;
    for (int k = 1; k <= std::min(world.PegCount, PegCapacity); ++k) {
        Peg& rod = world.Pegs[static_cast<std::size_t>(k)];
        if (!rod.Exists || rod.HangLaval != n) continue;
        rod.Position = copy_.Position;
        RecomputeRod(world, k);
    }
    for (int k = 1; k <= std::min(world.BallCount, BallCapacity); ++k) {
        const Ball& ball = world.Balls[static_cast<std::size_t>(k)];
        if (ball.Exists && ball.BindKind == BindLaval && ball.BindNumber == n) RecomputeBall(world, k);
    }
    MarkFixedSceneChanged(world);
    world.Changed = true;
}

}  // namespace velo
