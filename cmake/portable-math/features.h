/* musl's table headers include <features.h> for the attribute that hides a
   symbol inside the library. Here nothing needs hiding (the names of
   math.h are our own), but the same name belongs to the C library on
   Linux, whose headers include it in turn: it is handed on unchanged where
   the system has one. */
#ifndef VELO_PORTABLE_MATH_FEATURES_H
#define VELO_PORTABLE_MATH_FEATURES_H

#if defined(__has_include_next)
#if __has_include_next(<features.h>)
#include_next <features.h>
#endif
#endif

#ifndef hidden
#define hidden
#endif

/* The tables take their names from here. */
#include "math.h"

#endif
