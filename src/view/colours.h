// Colour helpers of the drawing. Colours are 24-bit values with red in the
// low byte, green in the middle and blue in the high byte.
#pragma once

#include <cstdint>

#include "model/world.h"

namespace velo {

using Colour = std::int32_t;

inline constexpr int RedOf(Colour c) { return c & 0xFF; }
inline constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
inline constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

inline constexpr Colour Black = 0;

// Per channel a + (b - a) * t, rounded to the nearest integer with ties to
// even, and kept within 0..255.
Colour MixColour(Colour a, Colour b, double t);

// (red + green + blue) / 765.
double Brightness(Colour c);

// Depth shading of a movable object on layer z: with
// f = ((observerZ - 256) / (observerZ - z))^2 and t = f (1 - ambient) + ambient,
// MixColour(black, c, t).
Colour ShadeByLayer(Colour c, int z, double observerZ, double ambientLight);

// 0xFF000000 + red * 65536 + green * 256 + blue.
std::uint32_t ToArgb(Colour c);

// Rows and columns of the Colors table of the parameters.
inline constexpr int ColorsFixed = 0;
inline constexpr int ColorsMovable = 1;
inline constexpr int ColorsNormal = 0;
inline constexpr int ColorsSelected = 1;
inline constexpr int ColorsChangeable = 2;

// Marker byte of the working copy that a property window edits: a fixed
// object carrying it is drawn in the changeable colour.
inline constexpr std::uint8_t ChangeableMarker = PreviewMarker;

}  // namespace velo
