/* Stands in for the system's <math.h> in musl's mathematical functions as
   the core compiles them: every function gets a name of its own
   (velo_musl_...), so that it never mixes with the C library's, and only
   the exact operations (absolute value, square root, floor, scaling by a
   power of two) come from the compiler. Includes nothing, so that it may
   be read from within the system's own headers (features.h). */
#ifndef VELO_PORTABLE_MATH_MATH_H
#define VELO_PORTABLE_MATH_MATH_H

/* The functions the core calls (model/portable_math.h). */
#define sin velo_musl_sin
#define cos velo_musl_cos
#define sincos velo_musl_sincos
#define tan velo_musl_tan
#define atan velo_musl_atan
#define atan2 velo_musl_atan2
#define acos velo_musl_acos
#define exp velo_musl_exp
#define expm1 velo_musl_expm1
#define log velo_musl_log
#define log10 velo_musl_log10
#define log1p velo_musl_log1p
#define pow velo_musl_pow
#define cbrt velo_musl_cbrt
#define hypot velo_musl_hypot
#define sinh velo_musl_sinh
#define cosh velo_musl_cosh
#define atanh velo_musl_atanh
#define acosh velo_musl_acosh
#define asinh velo_musl_asinh

/* What they share: argument reduction, kernels, error results, tables. */
#define __sin velo_musl_kernel_sin
#define __cos velo_musl_kernel_cos
#define __tan velo_musl_kernel_tan
#define __rem_pio2 velo_musl_rem_pio2
#define __rem_pio2_large velo_musl_rem_pio2_large
#define __expo2 velo_musl_expo2
#define __math_oflow velo_musl_math_oflow
#define __math_uflow velo_musl_math_uflow
#define __math_xflow velo_musl_math_xflow
#define __math_invalid velo_musl_math_invalid
#define __math_divzero velo_musl_math_divzero
#define __exp_data velo_musl_exp_data
#define __log_data velo_musl_log_data
#define __pow_log_data velo_musl_pow_log_data

/* SSE2 arithmetic on every target: no excess precision. */
typedef double double_t;
typedef float float_t;

#define INFINITY __builtin_inff()
#define NAN __builtin_nanf("")
#define HUGE_VAL __builtin_huge_val()
#define isnan(x) __builtin_isnan(x)
#define isinf(x) __builtin_isinf(x)
#define signbit(x) __builtin_signbit(x)

#define fabs(x) __builtin_fabs(x)
#define sqrt(x) __builtin_sqrt(x)
#define floor(x) __builtin_floor(x)
#define scalbn(x, n) __builtin_scalbn(x, n)

double sin(double);
double cos(double);
void sincos(double, double*, double*);
double tan(double);
double atan(double);
double atan2(double, double);
double acos(double);
double exp(double);
double expm1(double);
double log(double);
double log10(double);
double log1p(double);
double pow(double, double);
double cbrt(double);
double hypot(double, double);
double sinh(double);
double cosh(double);
double atanh(double);
double acosh(double);
double asinh(double);

#endif
