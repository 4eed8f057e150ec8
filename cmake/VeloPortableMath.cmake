# The transcendental functions of the core, compiled from musl's C library
# (MIT) under names of their own (velo_musl_sin, ...): the same code on every
# system gives the same results to the last bit, which the C libraries do
# not (glibc and the Windows runtime round differently, and glibc picks
# other variants on processors with fused multiply-add).
#
# musl's sources are those of Debian's source package musl 1.2.3-1, which
# scripts/bootstrap fetches into the user's cache folder. They are compiled
# as they are; the headers they include (math.h, features.h and musl's
# internal libm.h) are our own, in cmake/portable-math, and seen by these
# sources only. Another release of musl could round differently, so the
# version is checked.
set(VELO_MUSL_VERSION 1.2.3)
if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(velo_user_cache "$ENV{XDG_CACHE_HOME}")
else()
  set(velo_user_cache "$ENV{HOME}/.cache")
endif()
set(VELO_MUSL_SOURCE_DIR "${velo_user_cache}/velocitronimatics/musl-${VELO_MUSL_VERSION}"
  CACHE PATH "musl's sources (Debian's source package musl ${VELO_MUSL_VERSION}), from which the core's mathematical functions are compiled")

set(velo_musl_found_version "")
if(EXISTS "${VELO_MUSL_SOURCE_DIR}/VERSION")
  file(STRINGS "${VELO_MUSL_SOURCE_DIR}/VERSION" velo_musl_found_version LIMIT_COUNT 1)
endif()
if(NOT velo_musl_found_version STREQUAL VELO_MUSL_VERSION)
  if(velo_musl_found_version STREQUAL "")
    set(velo_musl_problem "are not in ${VELO_MUSL_SOURCE_DIR}")
  else()
    set(velo_musl_problem "in ${VELO_MUSL_SOURCE_DIR} are of version ${velo_musl_found_version}")
  endif()
  message(FATAL_ERROR
    "The sources of musl ${VELO_MUSL_VERSION}, from which the core's mathematical functions are compiled, "
    "${velo_musl_problem}: run ./scripts/bootstrap, which fetches them, "
    "or name their folder with -DVELO_MUSL_SOURCE_DIR=...")
endif()

set(velo_musl_functions
  __cos __expo2 __math_divzero __math_invalid __math_oflow __math_uflow __math_xflow
  __rem_pio2 __rem_pio2_large __sin __tan
  acos acosh asinh atan atan2 atanh cbrt cos cosh exp exp_data expm1 hypot
  log log10 log1p log_data pow pow_data sin sincos sinh tan)
set(velo_musl_sources)
foreach(function ${velo_musl_functions})
  list(APPEND velo_musl_sources "${VELO_MUSL_SOURCE_DIR}/src/math/${function}.c")
endforeach()

add_library(velo_portable_math STATIC ${velo_musl_sources})
set_target_properties(velo_portable_math PROPERTIES C_STANDARD 99 C_EXTENSIONS OFF)
# Before the system's folders: our math.h, features.h and libm.h stand in
# for the ones these sources were written against.
target_include_directories(velo_portable_math BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/cmake/portable-math)
# Not our code: its own warnings are not ours to fix.
target_compile_options(velo_portable_math PRIVATE -w)
