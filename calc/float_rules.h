#pragma once

// The results must be the same bit for bit on every build: each term is rounded to single
// precision where the formulas say so, and nowhere else.
#include <cfloat>

#if defined(__FAST_MATH__) || defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "hengchi's calculations need IEEE arithmetic: build without -ffast-math"
#endif

// With excess precision (x87) a float expression would silently be held at a wider precision
// and the single-precision roundings would vanish.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated at its own precision");
