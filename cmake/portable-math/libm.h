/* The internal header musl's double-precision functions include, written
   for the core's build of them: the bit access to doubles, the evaluation
   helpers and the declarations of the shared kernels. Only the double and
   float forms are here; long double is never computed. */
#ifndef VELO_PORTABLE_MATH_LIBM_H
#define VELO_PORTABLE_MATH_LIBM_H

#include <float.h>
#include <stdint.h>

#include "features.h"
#include "math.h"

/* The functions honour every rounding mode, do not treat signalling NaNs
   apart and round to integers in plain arithmetic (no intrinsics): the
   paths musl takes by default, so the results are musl's. */
#define WANT_ROUNDING 1
#define WANT_SNAN 0
#define TOINT_INTRINSICS 0
#define issignaling_inline(x) 0

#if defined(__GNUC__)
#define predict_true(condition) __builtin_expect(!!(condition), 1)
#define predict_false(condition) __builtin_expect(!!(condition), 0)
#else
#define predict_true(condition) (condition)
#define predict_false(condition) (condition)
#endif

/* A value rounded to its type (no excess precision is kept here anyway). */
static inline double eval_as_double(double value) { return value; }
static inline float eval_as_float(float value) { return value; }

/* The value passed through memory: the compiler may neither fold it as a
   constant nor drop a computation made only for its exception flags. */
static inline double fp_barrier(double value)
{
	volatile double kept = value;
	return kept;
}
static inline float fp_barrierf(float value)
{
	volatile float kept = value;
	return kept;
}
#if defined(__GNUC__)
#define VELO_WRITTEN_ONLY __attribute__((unused))
#else
#define VELO_WRITTEN_ONLY
#endif
static inline void fp_force_eval(double value)
{
	volatile double kept VELO_WRITTEN_ONLY;
	kept = value;
}
static inline void fp_force_evalf(float value)
{
	volatile float kept VELO_WRITTEN_ONLY;
	kept = value;
}
/* Of a float or a double expression, by its size. */
#define FORCE_EVAL(x)                                                  \
	do {                                                           \
		if (sizeof(x) == sizeof(float)) fp_force_evalf((float)(x)); \
		else fp_force_eval((double)(x));                       \
	} while (0)

/* The bits of a double or a float, and back. */
static inline uint64_t velo_double_bits(double value)
{
	union { double value; uint64_t bits; } word;
	word.value = value;
	return word.bits;
}
static inline double velo_double_of_bits(uint64_t bits)
{
	union { uint64_t bits; double value; } word;
	word.bits = bits;
	return word.value;
}
static inline uint32_t velo_float_bits(float value)
{
	union { float value; uint32_t bits; } word;
	word.value = value;
	return word.bits;
}
static inline float velo_float_of_bits(uint32_t bits)
{
	union { uint32_t bits; float value; } word;
	word.bits = bits;
	return word.value;
}
#define asuint64(x) velo_double_bits(x)
#define asdouble(x) velo_double_of_bits(x)
#define asuint(x) velo_float_bits(x)
#define asfloat(x) velo_float_of_bits(x)

/* The high and low 32 bits of a double. */
#define EXTRACT_WORDS(high, low, x)                 \
	do {                                        \
		uint64_t velo_bits_ = asuint64(x);  \
		(high) = (uint32_t)(velo_bits_ >> 32); \
		(low) = (uint32_t)velo_bits_;       \
	} while (0)
#define GET_HIGH_WORD(high, x) ((high) = (uint32_t)(asuint64(x) >> 32))
#define GET_LOW_WORD(low, x) ((low) = (uint32_t)asuint64(x))
#define INSERT_WORDS(x, high, low) \
	((x) = asdouble(((uint64_t)(uint32_t)(high) << 32) | (uint32_t)(low)))
#define SET_HIGH_WORD(x, high) INSERT_WORDS(x, high, (uint32_t)asuint64(x))
#define SET_LOW_WORD(x, low) INSERT_WORDS(x, (uint32_t)(asuint64(x) >> 32), low)

/* Kernels and argument reduction shared by the trigonometric functions. */
hidden int __rem_pio2_large(double *, double *, int, int, int);
hidden int __rem_pio2(double, double *);
hidden double __sin(double, double, int);
hidden double __cos(double, double);
hidden double __tan(double, double, int);
/* exp(x) / 2 scaled, for sinh and cosh near overflow. */
hidden double __expo2(double, double);

/* Results of overflow, underflow, an invalid argument or a pole, with the
   flags raised. */
hidden double __math_xflow(uint32_t, double);
hidden double __math_uflow(uint32_t);
hidden double __math_oflow(uint32_t);
hidden double __math_divzero(uint32_t);
hidden double __math_invalid(double);

#endif
