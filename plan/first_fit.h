#pragma once

#include "plan/instance.h"
#include "plan/solution.h"

// First-fit decreasing, as a bar bender does it by hand: the longest pieces first, each into
// the first bar it fits, yard offcuts (longest first) before new bars, new bars of the longest
// stock length; at the end each new bar goes to the shortest stock length that holds it. It is
// the baseline the optimiser is measured against, and its fallback.
namespace plan {

// Bars with identical contents are kept as runs, so a count of a million costs no more than a
// count of one.
[[nodiscard]] Solution firstFitDecreasing(const Instance& instance);

} // namespace plan
