#pragma once

#include "plan/joints/cutting.h"

#include <cstdint>
#include <string>
#include <vector>

// Lists with long bars, in two families:
//  - "joints": the rows, marks, diameters and counts of bench::building; a fifth of the rows of
//    12 mm and up are 12.5–40 m through-bars and column bars, lapped or coupled by their
//    diameter, the others ordinary pieces with lengths in the rebar family's bands (the long
//    members being the long bars);
//  - "building": as a building's schedule is by steel: a few rows of long bars (4–24 bars,
//    12.5–40 m) and 15–40 rows of mostly short pieces, half under 2.5 m, a third 2.5–6.5 m and
//    the rest up to 11.5 m.
namespace bench {

// One list of the "joints" family: `rows` rows and about `pieces` pieces, from `seed`, HRB400
// throughout.
plan::joints::Problem jointsList(std::uint64_t seed, int rows, std::int64_t pieces);

// One list of the "building" family from `seed`, HRB400, 12–32 mm.
plan::joints::Problem buildingLikeList(std::uint64_t seed);

// Plans `count` lists of each family in `families` from `seed`: with the fewest joints, with a
// joint more allowed, by cost at the default prices and with dearer couplers, by the usual
// practice, and the other pieces alone; prints them side by side with their distances to the
// material and to the bound over every segmentation, and what each setting saves against the
// practice. `seconds` for each list and each way. `verbose` 1 prints each list, 2 each steel
// of it too.
int runJoints(const std::vector<std::string>& families, std::uint64_t seed, int count,
              double seconds, int verbose);

} // namespace bench
