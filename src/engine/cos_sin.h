// Cosine and sine of an angle from plain IEEE arithmetic: a reduction by
// pi/2 in three exact parts and the classic minimax polynomials on
// [-pi/4, pi/4]. Within two units in the last place of the true
// functions, about four times cheaper where a step needs tens of thousands
// of them (the segments of threads), and the same bits on every system and
// compiler, since it uses only +, -, * and the rounding of a conversion.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "model/portable_math.h"
#include "model/vec2.h"

namespace velo {

// Angles beyond this go to the general functions: the three parts of
// pi/2 below are 33-bit numbers, so k times each is exact for |k| < 2^20.
inline constexpr double CosSinReductionLimit = 1e5;
// The upper 32 bits of an angle's magnitude below which it is surely within
// that range (those of 65536: the magnitudes below 2^16).
inline constexpr std::int32_t CosSinRangeUpperBits = 0x40F00000;

// Cosine and sine of an angle within +-CosSinReductionLimit. No branches:
// a loop of these over an array of angles is vectorised.
inline void CosSinInRange(double angle, double& cosineOut, double& sineOut) {
    constexpr double TwoOverPi = 6.36619772367581382433e-01;
    constexpr double HalfPi1 = 1.57079632673412561417e+00;
    constexpr double HalfPi2 = 6.07710050630396597660e-11;
    constexpr double HalfPi3 = 2.02226624871116645580e-21;
    // Round to the nearest whole number by adding and removing 1.5 * 2^52.
    constexpr double Shifter = 6755399441055744.0;
    const double shifted = angle * TwoOverPi + Shifter;
    const double k = shifted - Shifter;
    const double r = ((angle - k * HalfPi1) - k * HalfPi2) - k * HalfPi3;

    const double z = r * r;
    const double sine = r + z * r *
                                (-1.66666666666666324348e-01 +
                                 z * (8.33333333332248946124e-03 +
                                      z * (-1.98412698298579493134e-04 +
                                           z * (2.75573137070700676789e-06 +
                                                z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)))));
    const double tail =
        z * z *
        (4.16666666666666019037e-02 +
         z * (-1.38888888888741095749e-03 +
              z * (2.48015872894767294178e-05 +
                   z * (-2.75573143513906633035e-07 + z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
    const double cosine = 1 - (0.5 * z - tail);

    // The quarter turn k picks the pair and the signs, without branches or
    // tables (the quarter of successive segments is unpredictable): an odd
    // quarter swaps cosine and sine, quarters 1 and 2 negate the cosine, 2
    // and 3 the sine. k mod 4 is in the last bits of the shifted number
    // (1.5 * 2^52 + k, for negative k too).
    const auto quarter = std::bit_cast<std::uint64_t>(shifted);
    const std::uint64_t swap = 0 - (quarter & 1);
    const auto c = std::bit_cast<std::uint64_t>(cosine);
    const auto s = std::bit_cast<std::uint64_t>(sine);
    cosineOut = std::bit_cast<double>(((c & ~swap) | (s & swap)) ^ (((quarter + 1) & 2) << 62));
    sineOut = std::bit_cast<double>(((s & ~swap) | (c & swap)) ^ ((quarter & 2) << 62));
}

// The unit vector {cos(angle), sin(angle)} of any angle.
inline Vec2 CosSin(double angle) {
    Vec2 v;
    if (!(std::fabs(angle) < CosSinReductionLimit)) {
        math::SinCos(angle, v.Y, v.X);
        return v;
    }
    CosSinInRange(angle, v.X, v.Y);
    return v;
}

}  // namespace velo
