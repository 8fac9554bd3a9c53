#pragma once

#include "plan/instance.h"
#include "plan/solution.h"

// What the search leaves to chance among plans of the same steel: where the remnants fall. A
// bar bender keeps one 1200 mm remnant and scraps a 100 mm one gladly, where two of 650 mm
// would both be scrap. Pieces move between bars so that remnants gather: never more steel,
// never more distinct patterns.
namespace plan {

// Moves pieces from bars with longer remnants into bars with shorter ones that still hold
// them, between patterns cut equally often (so that no pattern splits), as long as the sum of
// the squared remnants grows. A bar emptied that way is not bought at all.
void gatherRemnants(const Instance& instance, Solution& solution);

} // namespace plan
