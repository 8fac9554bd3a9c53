#pragma once

#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solve.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The last step of the proof. With the duals that solved the root's linear programme, every
// plan costs at least D + Σ (reduced cost of each bar cut), where D is the dual objective. A
// plan cheaper than the best one found costs at most T, so it can only cut bars whose reduced
// costs add up to T − D or less. When that slack is small, the patterns it leaves are few:
// listing them all turns the rest of the search into an integer programme over a fixed set of
// columns, which a complete branch and bound settles.
namespace plan {

// Every pattern (of at most the pieces wanted) whose reduced cost under `itemDuals` and
// `stockDuals` is at most `slack`; nothing if there are more than `limit`, if listing them
// would take more memory than is reasonable, or if the budget runs out.
[[nodiscard]] std::optional<std::vector<Column>>
enumerateColumns(const Instance& instance, std::span<const double> itemDuals,
                 std::span<const double> stockDuals, std::span<const double> stockCost,
                 double slack, std::size_t limit, const Budget& budget);

// Every pattern (of at most the pieces wanted) whose pieces take at least `least[s]` mm of a bar
// of stock s, kerfs included, for every stock s; a stock whose bar cannot hold that much gives
// none. Nothing if there are more than `limit`, if the table of the lengths the pieces can make
// would take more memory than is reasonable, or if the budget runs out. Where pieces are priced
// by their length, these are the patterns whose reduced cost is within a slack, found in whole
// millimetres: a bit per length a bar can be filled to, not a price.
[[nodiscard]] std::optional<std::vector<Column>>
enumerateFilling(const Instance& instance, std::span<const std::int64_t> least, std::size_t limit,
                 const Budget& budget);

} // namespace plan
