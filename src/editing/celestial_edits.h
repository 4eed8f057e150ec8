// Creating a celestial body with a click, and finding the body under the
// pointer.
#pragma once

#include <functional>

#include "editing/hit_test.h"
#include "model/vec2.h"
#include "model/world.h"

namespace velo {

// Uniform numbers in [0, 1): the random velocity and colour of a new body.
// The window passes a generator of its own; tests pass a fixed sequence.
using UniformSource = std::function<double()>;

// A new body under the click at `field` (field units from the field's
// centre, y up), at depth 1e9 metres and drawn 8.5 pixels wide there;
// `pointsPerPixel` is the field units of one pixel. Returns its number, 0
// when the table is full (nothing changes then).
int CreateCelestialBody(World& world, Vec2 field, double pointsPerPixel, const UniformSource& uniform);

// The body whose drawn disc holds `field`; of several, the nearest to the
// observer (the greatest z), of equal z the higher number, drawn on top.
HitResult BodyAt(const World& world, Vec2 field);

// "Импорт": the bodies, the celestial parameters and T of `scene` take the
// place of those of the World; nothing stays selected or current.
void ImportCelestialScene(World& world, const World& scene);

// Its display name: the trimmed Name, or `fallback` and the number.
std::string BodyDisplayName(const HBody& body, int number, const std::string& fallback);

}  // namespace velo
