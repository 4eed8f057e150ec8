#include "celestial/celestial_pairs.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VELO_CELESTIAL_AVX 1
#endif

// Every unordered pair (k, l), k < l, is met once, in row k. The distance
// of a pair is the same whichever body it is measured from (the differences
// only change sign), so one square root serves the contact verdict and the
// field terms of both bodies, and one division serves both weights (each
// body's mass times 1 / r^3, which differs from mass / r^3 at most in the
// last bit). Body l's term goes straight into its sum;
// body k's terms gather in eight partial sums by the position of l in the
// row, (l - k - 1) mod 8, added pairwise at the row's end.
// That grouping is written out the same way in every kernel, so the sums
// do not depend on the vector width, and the lanes do the same operations
// in the same order as the plain code: the masks select +0 where the plain
// code adds nothing.
//
// The rows run in whole groups of eight; the lanes past the last body hold
// a radius that is not a number, which fails every comparison, so they
// are never in contact and add nothing to body k. What they gather
// themselves is never read.

namespace velo {
namespace {

using Lane = std::array<double, BodyLaneCapacity>;

constexpr std::size_t Group = 8;

struct PartialSums {
    double X[Group] = {};
    double Y[Group] = {};
    double Z[Group] = {};
};

double Total(const double (&s)[Group]) { return ((s[0] + s[1]) + (s[2] + s[3])) + ((s[4] + s[5]) + (s[6] + s[7])); }

void EndRow(BodyLanes& lanes, std::size_t k, const PartialSums& s) {
    lanes.SumX[k] += Total(s.X);
    lanes.SumY[k] += Total(s.Y);
    lanes.SumZ[k] += Total(s.Z);
}

bool PlainRow(BodyLanes& lanes, std::size_t k) {
    const auto count = static_cast<std::size_t>(lanes.Count);
    PartialSums s;
    bool contact = false;
    for (std::size_t l = k + 1; l < count; ++l) {
        const std::size_t lane = (l - k - 1) % Group;
        const double dx = lanes.X[l] - lanes.X[k];
        const double dy = lanes.Y[l] - lanes.Y[k];
        const double dz = lanes.Z[l] - lanes.Z[k];
        const double r = std::sqrt(dx * dx + dy * dy + dz * dz);
        // Strict, and on the distance itself rather than on squares, whose
        // rounding could turn a touch into an overlap.
        if (lanes.Radius[l] + lanes.Radius[k] > r) contact = true;
        const double inverseCube = 1 / (r * r * r);
        if (r >= lanes.Radius[l] && r > 0) {
            const double w = lanes.Mass[l] * inverseCube;
            s.X[lane] += dx * w;
            s.Y[lane] += dy * w;
            s.Z[lane] += dz * w;
        }
        if (r >= lanes.Radius[k] && r > 0) {
            const double w = lanes.Mass[k] * inverseCube;
            lanes.SumX[l] -= dx * w;
            lanes.SumY[l] -= dy * w;
            lanes.SumZ[l] -= dz * w;
        }
    }
    EndRow(lanes, k, s);
    return contact;
}

#if defined(__SSE2__)
// Lanes l and l + 1 of row k; `part` 0 to 3 is their place in the group.
bool TwoPairs(BodyLanes& lanes, std::size_t k, std::size_t l, __m128d acc[3][4], int part) {
    const __m128d zero = _mm_setzero_pd();
    const __m128d dx = _mm_sub_pd(_mm_loadu_pd(&lanes.X[l]), _mm_set1_pd(lanes.X[k]));
    const __m128d dy = _mm_sub_pd(_mm_loadu_pd(&lanes.Y[l]), _mm_set1_pd(lanes.Y[k]));
    const __m128d dz = _mm_sub_pd(_mm_loadu_pd(&lanes.Z[l]), _mm_set1_pd(lanes.Z[k]));
    const __m128d r =
        _mm_sqrt_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz)));
    const __m128d radiusL = _mm_loadu_pd(&lanes.Radius[l]);
    const __m128d radiusK = _mm_set1_pd(lanes.Radius[k]);
    const __m128d contact = _mm_cmpgt_pd(_mm_add_pd(radiusL, radiusK), r);
    const __m128d inverseCube = _mm_div_pd(_mm_set1_pd(1.0), _mm_mul_pd(_mm_mul_pd(r, r), r));
    const __m128d apart = _mm_cmpgt_pd(r, zero);
    const __m128d kFeelsL = _mm_and_pd(_mm_cmpge_pd(r, radiusL), apart);
    const __m128d lFeelsK = _mm_and_pd(_mm_cmpge_pd(r, radiusK), apart);
    const __m128d wL = _mm_mul_pd(_mm_loadu_pd(&lanes.Mass[l]), inverseCube);
    const __m128d wK = _mm_mul_pd(_mm_set1_pd(lanes.Mass[k]), inverseCube);
    acc[0][part] = _mm_add_pd(acc[0][part], _mm_and_pd(kFeelsL, _mm_mul_pd(dx, wL)));
    acc[1][part] = _mm_add_pd(acc[1][part], _mm_and_pd(kFeelsL, _mm_mul_pd(dy, wL)));
    acc[2][part] = _mm_add_pd(acc[2][part], _mm_and_pd(kFeelsL, _mm_mul_pd(dz, wL)));
    _mm_storeu_pd(&lanes.SumX[l], _mm_sub_pd(_mm_loadu_pd(&lanes.SumX[l]), _mm_and_pd(lFeelsK, _mm_mul_pd(dx, wK))));
    _mm_storeu_pd(&lanes.SumY[l], _mm_sub_pd(_mm_loadu_pd(&lanes.SumY[l]), _mm_and_pd(lFeelsK, _mm_mul_pd(dy, wK))));
    _mm_storeu_pd(&lanes.SumZ[l], _mm_sub_pd(_mm_loadu_pd(&lanes.SumZ[l]), _mm_and_pd(lFeelsK, _mm_mul_pd(dz, wK))));
    return _mm_movemask_pd(contact) != 0;
}

bool TwoLaneRow(BodyLanes& lanes, std::size_t k) {
    const auto count = static_cast<std::size_t>(lanes.Count);
    __m128d acc[3][4] = {};
    bool contact = false;
    for (std::size_t l = k + 1; l < count; l += Group)
        for (int part = 0; part < 4; ++part) contact |= TwoPairs(lanes, k, l + 2 * static_cast<std::size_t>(part), acc, part);
    PartialSums s;
    double* parts[3] = {s.X, s.Y, s.Z};
    for (int c = 0; c < 3; ++c)
        for (int part = 0; part < 4; ++part) _mm_storeu_pd(parts[c] + 2 * part, acc[c][part]);
    EndRow(lanes, k, s);
    return contact;
}
#endif

#if defined(VELO_CELESTIAL_AVX)
// The program is built for every x86-64; the wider rows are compiled for
// AVX and AVX-512 on their own and taken only where the processor has them.

// Lanes l to l + 3 of row k; `part` 0 or 1 is their place in the group.
__attribute__((target("avx"))) bool FourPairs(BodyLanes& lanes, std::size_t k, std::size_t l, __m256d acc[3][2],
                                              int part) {
    const __m256d zero = _mm256_setzero_pd();
    const __m256d dx = _mm256_sub_pd(_mm256_loadu_pd(&lanes.X[l]), _mm256_set1_pd(lanes.X[k]));
    const __m256d dy = _mm256_sub_pd(_mm256_loadu_pd(&lanes.Y[l]), _mm256_set1_pd(lanes.Y[k]));
    const __m256d dz = _mm256_sub_pd(_mm256_loadu_pd(&lanes.Z[l]), _mm256_set1_pd(lanes.Z[k]));
    const __m256d r = _mm256_sqrt_pd(
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)), _mm256_mul_pd(dz, dz)));
    const __m256d radiusL = _mm256_loadu_pd(&lanes.Radius[l]);
    const __m256d radiusK = _mm256_set1_pd(lanes.Radius[k]);
    const __m256d contact = _mm256_cmp_pd(_mm256_add_pd(radiusL, radiusK), r, _CMP_GT_OQ);
    const __m256d inverseCube = _mm256_div_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(_mm256_mul_pd(r, r), r));
    const __m256d apart = _mm256_cmp_pd(r, zero, _CMP_GT_OQ);
    const __m256d kFeelsL = _mm256_and_pd(_mm256_cmp_pd(r, radiusL, _CMP_GE_OQ), apart);
    const __m256d lFeelsK = _mm256_and_pd(_mm256_cmp_pd(r, radiusK, _CMP_GE_OQ), apart);
    const __m256d wL = _mm256_mul_pd(_mm256_loadu_pd(&lanes.Mass[l]), inverseCube);
    const __m256d wK = _mm256_mul_pd(_mm256_set1_pd(lanes.Mass[k]), inverseCube);
    acc[0][part] = _mm256_add_pd(acc[0][part], _mm256_and_pd(kFeelsL, _mm256_mul_pd(dx, wL)));
    acc[1][part] = _mm256_add_pd(acc[1][part], _mm256_and_pd(kFeelsL, _mm256_mul_pd(dy, wL)));
    acc[2][part] = _mm256_add_pd(acc[2][part], _mm256_and_pd(kFeelsL, _mm256_mul_pd(dz, wL)));
    _mm256_storeu_pd(&lanes.SumX[l],
                     _mm256_sub_pd(_mm256_loadu_pd(&lanes.SumX[l]), _mm256_and_pd(lFeelsK, _mm256_mul_pd(dx, wK))));
    _mm256_storeu_pd(&lanes.SumY[l],
                     _mm256_sub_pd(_mm256_loadu_pd(&lanes.SumY[l]), _mm256_and_pd(lFeelsK, _mm256_mul_pd(dy, wK))));
    _mm256_storeu_pd(&lanes.SumZ[l],
                     _mm256_sub_pd(_mm256_loadu_pd(&lanes.SumZ[l]), _mm256_and_pd(lFeelsK, _mm256_mul_pd(dz, wK))));
    return _mm256_movemask_pd(contact) != 0;
}

__attribute__((target("avx"))) bool FourLaneRow(BodyLanes& lanes, std::size_t k) {
    const auto count = static_cast<std::size_t>(lanes.Count);
    __m256d acc[3][2] = {};
    bool contact = false;
    for (std::size_t l = k + 1; l < count; l += Group) {
        contact |= FourPairs(lanes, k, l, acc, 0);
        contact |= FourPairs(lanes, k, l + 4, acc, 1);
    }
    PartialSums s;
    double* parts[3] = {s.X, s.Y, s.Z};
    for (int c = 0; c < 3; ++c) {
        _mm256_storeu_pd(parts[c], acc[c][0]);
        _mm256_storeu_pd(parts[c] + 4, acc[c][1]);
    }
    EndRow(lanes, k, s);
    return contact;
}

// A whole group at once. A masked product is +0 where the mask is clear,
// as with the other kernels.
__attribute__((target("avx512f"))) bool EightLaneRow(BodyLanes& lanes, std::size_t k) {
    const auto count = static_cast<std::size_t>(lanes.Count);
    const __m512d zero = _mm512_setzero_pd();
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d xk = _mm512_set1_pd(lanes.X[k]);
    const __m512d yk = _mm512_set1_pd(lanes.Y[k]);
    const __m512d zk = _mm512_set1_pd(lanes.Z[k]);
    const __m512d radiusK = _mm512_set1_pd(lanes.Radius[k]);
    const __m512d massK = _mm512_set1_pd(lanes.Mass[k]);
    __m512d accX = zero, accY = zero, accZ = zero;
    __mmask8 contact = 0;
    for (std::size_t l = k + 1; l < count; l += Group) {
        const __m512d dx = _mm512_sub_pd(_mm512_loadu_pd(&lanes.X[l]), xk);
        const __m512d dy = _mm512_sub_pd(_mm512_loadu_pd(&lanes.Y[l]), yk);
        const __m512d dz = _mm512_sub_pd(_mm512_loadu_pd(&lanes.Z[l]), zk);
        // All lanes; the masked form because the plain one leaves the
        // compiler warning about its unset pass-through operand.
        const __m512d r = _mm512_maskz_sqrt_pd(
            0xFF, _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy)), _mm512_mul_pd(dz, dz)));
        const __m512d radiusL = _mm512_loadu_pd(&lanes.Radius[l]);
        contact |= _mm512_cmp_pd_mask(_mm512_add_pd(radiusL, radiusK), r, _CMP_GT_OQ);
        const __m512d inverseCube = _mm512_div_pd(one, _mm512_mul_pd(_mm512_mul_pd(r, r), r));
        const __mmask8 apart = _mm512_cmp_pd_mask(r, zero, _CMP_GT_OQ);
        const __mmask8 kFeelsL = _mm512_cmp_pd_mask(r, radiusL, _CMP_GE_OQ) & apart;
        const __mmask8 lFeelsK = _mm512_cmp_pd_mask(r, radiusK, _CMP_GE_OQ) & apart;
        const __m512d wL = _mm512_mul_pd(_mm512_loadu_pd(&lanes.Mass[l]), inverseCube);
        const __m512d wK = _mm512_mul_pd(massK, inverseCube);
        accX = _mm512_add_pd(accX, _mm512_maskz_mul_pd(kFeelsL, dx, wL));
        accY = _mm512_add_pd(accY, _mm512_maskz_mul_pd(kFeelsL, dy, wL));
        accZ = _mm512_add_pd(accZ, _mm512_maskz_mul_pd(kFeelsL, dz, wL));
        _mm512_storeu_pd(&lanes.SumX[l], _mm512_sub_pd(_mm512_loadu_pd(&lanes.SumX[l]), _mm512_maskz_mul_pd(lFeelsK, dx, wK)));
        _mm512_storeu_pd(&lanes.SumY[l], _mm512_sub_pd(_mm512_loadu_pd(&lanes.SumY[l]), _mm512_maskz_mul_pd(lFeelsK, dy, wK)));
        _mm512_storeu_pd(&lanes.SumZ[l], _mm512_sub_pd(_mm512_loadu_pd(&lanes.SumZ[l]), _mm512_maskz_mul_pd(lFeelsK, dz, wK)));
    }
    PartialSums s;
    _mm512_storeu_pd(s.X, accX);
    _mm512_storeu_pd(s.Y, accY);
    _mm512_storeu_pd(s.Z, accZ);
    EndRow(lanes, k, s);
    return contact != 0;
}
#endif

// Whole passes, one per kernel: each returns the first row that has a pair
// in contact, or Count.
int PlainSums(BodyLanes& lanes) {
    int first = lanes.Count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(lanes.Count); ++k)
        if (PlainRow(lanes, k) && first == lanes.Count) first = static_cast<int>(k);
    return first;
}

#if defined(__SSE2__)
int TwoLaneSums(BodyLanes& lanes) {
    int first = lanes.Count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(lanes.Count); ++k)
        if (TwoLaneRow(lanes, k) && first == lanes.Count) first = static_cast<int>(k);
    return first;
}
#endif

#if defined(VELO_CELESTIAL_AVX)
// The compiler does not clear the upper halves of the vector registers on
// leaving a function built for a wider target, and while they are dirty
// every later SSE instruction of the program runs several times slower on
// some processors: the wide passes clear them themselves.
__attribute__((target("avx"))) int FourLaneSums(BodyLanes& lanes) {
    int first = lanes.Count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(lanes.Count); ++k)
        if (FourLaneRow(lanes, k) && first == lanes.Count) first = static_cast<int>(k);
    _mm256_zeroupper();
    return first;
}

__attribute__((target("avx512f"))) int EightLaneSums(BodyLanes& lanes) {
    int first = lanes.Count;
    for (std::size_t k = 0; k < static_cast<std::size_t>(lanes.Count); ++k)
        if (EightLaneRow(lanes, k) && first == lanes.Count) first = static_cast<int>(k);
    _mm256_zeroupper();
    return first;
}
#endif

}  // namespace

void GatherBodies(const World& world, BodyLanes& lanes) {
    const int last = std::clamp(world.HBodyCount, 0, HBodyCapacity);
    std::size_t k = 0;
    for (int n = 1; n <= last; ++n) {
        const HBody& body = world.HBodies[static_cast<std::size_t>(n)];
        if (!body.Exists) continue;
        lanes.Number[k] = n;
        lanes.X[k] = body.Position.X;
        lanes.Y[k] = body.Position.Y;
        lanes.Z[k] = body.Position.Z;
        lanes.Radius[k] = body.Radius;
        lanes.Mass[k] = body.Mass;
        lanes.SumX[k] = lanes.SumY[k] = lanes.SumZ[k] = 0;
        ++k;
    }
    lanes.Count = static_cast<int>(k);
    for (std::size_t pad = k; pad < k + Group; ++pad) {
        lanes.Number[pad] = 0;
        lanes.X[pad] = lanes.Y[pad] = lanes.Z[pad] = lanes.Mass[pad] = 0;
        lanes.Radius[pad] = std::numeric_limits<double>::quiet_NaN();
        lanes.SumX[pad] = lanes.SumY[pad] = lanes.SumZ[pad] = 0;
    }
}

bool PairKernelAvailable(PairKernel kernel) {
    switch (kernel) {
    case PairKernel::Plain:
        return true;
    case PairKernel::TwoLanes:
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    case PairKernel::FourLanes:
#if defined(VELO_CELESTIAL_AVX)
        return __builtin_cpu_supports("avx");
#else
        return false;
#endif
    case PairKernel::EightLanes:
#if defined(VELO_CELESTIAL_AVX)
        return __builtin_cpu_supports("avx512f");
#else
        return false;
#endif
    }
    return false;
}

PairKernel FastestPairKernel() {
    for (const PairKernel kernel : {PairKernel::EightLanes, PairKernel::FourLanes, PairKernel::TwoLanes})
        if (PairKernelAvailable(kernel)) return kernel;
    return PairKernel::Plain;
}

int PairSums(BodyLanes& lanes, PairKernel kernel) {
    if (!PairKernelAvailable(kernel)) kernel = PairKernel::Plain;
    switch (kernel) {
#if defined(VELO_CELESTIAL_AVX)
    case PairKernel::EightLanes:
        return EightLaneSums(lanes);
    case PairKernel::FourLanes:
        return FourLaneSums(lanes);
#endif
#if defined(__SSE2__)
    case PairKernel::TwoLanes:
        return TwoLaneSums(lanes);
#endif
    default:
        return PlainSums(lanes);
    }
}

}  // namespace velo
