#pragma once

#include "plan/joints/cutting.h"

#include <cstdint>
#include <vector>

// Building lists with long bars: the rows, marks, diameters and counts of bench::building; a
// fifth of the rows of 12 mm and up are 12.5–40 m through-bars and column bars, lapped or
// coupled by their diameter, the others ordinary pieces with lengths in the rebar family's
// bands (the long members being the long bars).
namespace bench {

// One list of `rows` rows and about `pieces` pieces, from `seed`, HRB400 throughout.
plan::joints::Problem jointsList(std::uint64_t seed, int rows, std::int64_t pieces);

// Plans `count` lists from `seed` with joints chosen with the cutting and with the usual
// practice, and prints them side by side; `seconds` for each list and each way. `verbose` 1
// prints each list, 2 each steel of it too.
int runJoints(std::uint64_t seed, int count, double seconds, int verbose);

} // namespace bench
