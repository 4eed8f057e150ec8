# The transcendental functions of the core, from musl's C library (MIT, see
# COPYRIGHT), under names of their own (velo_musl_sin, ...): the same code
# on every system gives the same results to the last bit, which the C
# libraries do not (glibc and the Windows runtime round differently, and
# glibc picks other variants on processors with fused multiply-add).
# The stand-in math.h of this folder is seen by these sources only.
add_library(velo_portable_math STATIC
  third_party/musl-math/__cos.c
  third_party/musl-math/__expo2.c
  third_party/musl-math/__math_divzero.c
  third_party/musl-math/__math_invalid.c
  third_party/musl-math/__math_oflow.c
  third_party/musl-math/__math_uflow.c
  third_party/musl-math/__math_xflow.c
  third_party/musl-math/__rem_pio2.c
  third_party/musl-math/__rem_pio2_large.c
  third_party/musl-math/__sin.c
  third_party/musl-math/__tan.c
  third_party/musl-math/acos.c
  third_party/musl-math/acosh.c
  third_party/musl-math/asinh.c
  third_party/musl-math/atan.c
  third_party/musl-math/atan2.c
  third_party/musl-math/atanh.c
  third_party/musl-math/cbrt.c
  third_party/musl-math/cos.c
  third_party/musl-math/cosh.c
  third_party/musl-math/exp.c
  third_party/musl-math/exp_data.c
  third_party/musl-math/expm1.c
  third_party/musl-math/hypot.c
  third_party/musl-math/log.c
  third_party/musl-math/log10.c
  third_party/musl-math/log1p.c
  third_party/musl-math/log_data.c
  third_party/musl-math/pow.c
  third_party/musl-math/pow_data.c
  third_party/musl-math/sin.c
  third_party/musl-math/sinh.c
  third_party/musl-math/tan.c
)
set_target_properties(velo_portable_math PROPERTIES C_STANDARD 99 C_EXTENSIONS OFF)
target_include_directories(velo_portable_math PRIVATE ${CMAKE_SOURCE_DIR}/third_party/musl-math)
# Not our code: its own warnings are not ours to fix.
target_compile_options(velo_portable_math PRIVATE -w)
