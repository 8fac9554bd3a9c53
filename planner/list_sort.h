#pragma once

#include "planner/text_table.h"

#include <vector>

namespace planner {

// The pieces ordered by diameter, or by length, smallest first, both read as the optimiser reads
// them ("Φ12" and "C12" are 12, "6456.34" lies between 6456 and 6457). Rows of equal value keep
// their order; rows whose value cannot be read come last, blank rows after them.
[[nodiscard]] std::vector<TextTable::Row> sortedByDiameter(const std::vector<TextTable::Row>& rows);
[[nodiscard]] std::vector<TextTable::Row> sortedByLength(const std::vector<TextTable::Row>& rows);

} // namespace planner
