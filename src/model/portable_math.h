// The transcendental functions of the core. A run must give the same World
// to the last bit on every system (the golden hashes, a file run on Linux
// and on Windows), but the C libraries round their results differently:
// glibc and the Windows runtime disagree in the last bit of most sin, exp
// and pow results, and glibc itself takes other variants on processors
// with fused multiply-add. So the core computes them with one
// implementation everywhere, musl's, compiled into the program
// (cmake/VeloPortableMath.cmake). Square root, floor, fabs and fmod are
// exact in IEEE arithmetic and stay the standard ones.
#pragma once

extern "C" {
double velo_musl_sin(double);
double velo_musl_cos(double);
void velo_musl_sincos(double, double*, double*);
double velo_musl_tan(double);
double velo_musl_atan(double);
double velo_musl_atan2(double, double);
double velo_musl_acos(double);
double velo_musl_exp(double);
double velo_musl_log(double);
double velo_musl_log10(double);
double velo_musl_pow(double, double);
double velo_musl_cbrt(double);
double velo_musl_hypot(double, double);
double velo_musl_sinh(double);
double velo_musl_cosh(double);
double velo_musl_atanh(double);
double velo_musl_acosh(double);
double velo_musl_asinh(double);
}

namespace velo::math {

inline double Sin(double x) { return velo_musl_sin(x); }
inline double Cos(double x) { return velo_musl_cos(x); }
// Both at once, with one argument reduction: the same bits as Sin and Cos.
inline void SinCos(double x, double& sine, double& cosine) { velo_musl_sincos(x, &sine, &cosine); }
inline double Tan(double x) { return velo_musl_tan(x); }
inline double Atan(double x) { return velo_musl_atan(x); }
inline double Atan2(double y, double x) { return velo_musl_atan2(y, x); }
inline double Acos(double x) { return velo_musl_acos(x); }
inline double Exp(double x) { return velo_musl_exp(x); }
inline double Log(double x) { return velo_musl_log(x); }
inline double Log10(double x) { return velo_musl_log10(x); }
inline double Pow(double x, double y) { return velo_musl_pow(x, y); }
inline double Cbrt(double x) { return velo_musl_cbrt(x); }
inline double Hypot(double x, double y) { return velo_musl_hypot(x, y); }
inline double Sinh(double x) { return velo_musl_sinh(x); }
inline double Cosh(double x) { return velo_musl_cosh(x); }
inline double Atanh(double x) { return velo_musl_atanh(x); }
inline double Acosh(double x) { return velo_musl_acosh(x); }
inline double Asinh(double x) { return velo_musl_asinh(x); }

}  // namespace velo::math
