// Functions whose loops run over thousands of thread segments a step are
// compiled twice on x86-64 with glibc: for the baseline processor and for
// one with AVX2, picked when the program starts. Both builds do the same
// IEEE operations on each element (no fused multiply-add: the build keeps
// contraction off, and AVX2 alone enables none), so the results are the
// same bits on every processor; the wider registers only take four
// segments at once instead of two. Elsewhere (MinGW and musl have no
// resolver for such clones), and where the build turns them off
// (VELO_WIDE_LOOPS=OFF, as the sanitizer build does so that the tests run
// the baseline loops too), the functions are built once.
#pragma once

// The build defines VELO_HAS_WIDE_LOOPS where it found that GCC can build
// and link such clones.
#if defined(VELO_HAS_WIDE_LOOPS)
#define VELO_WIDE_LOOPS __attribute__((target_clones("avx2", "default")))
#else
#define VELO_WIDE_LOOPS
#endif
