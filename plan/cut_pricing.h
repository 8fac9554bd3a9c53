#pragma once

#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solve.h"
#include "plan/subset_row.h"

#include <cstdint>
#include <span>
#include <vector>

// The pricing problem once subset-row cuts are in the master: a bar's worth is no longer a sum
// over its pieces, since each cut takes its dual |σ| once for every two of its three pieces the
// bar holds. The knapsack table cannot take that, so this is branch and bound over the pieces,
// bounded by the exact knapsack of the pieces' own duals over the pieces not yet decided (cuts
// only ever take worth away): a bound on every bar's worth whether or not the search ran to its
// end.
namespace plan {

struct CutPricingResult {
    std::vector<Column> columns; // contents worth more than their bar costs, best first
    // Per stock, a value no content of that bar can exceed (at least the bar's price
    // cost − μ_s, so that a bar nothing prices out of adds nothing to a Lagrangian bound).
    std::vector<double> upperValue;
    bool complete = true; // every bar's search ran to its end
};

// `profit` per item (≥ 0), `cutDual` per cut (≤ 0), `stockDual` per stock (≤ 0); contents cut no
// piece more often than `demand` and no bar of a limited stock with none `available`. At most
// `perStock` columns for each bar length, and `nodeLimit` nodes of the search for each; a search
// cut short by the node limit or by `budget` leaves the result incomplete, its bounds still valid.
[[nodiscard]] CutPricingResult
priceWithCuts(const Instance& instance, std::span<const double> profit,
              std::span<const SubsetRow> cuts, std::span<const double> cutDual,
              std::span<const std::int64_t> demand, std::span<const std::int64_t> available,
              std::span<const double> stockCost, std::span<const double> stockDual,
              std::int64_t nodeLimit, std::size_t perStock, const Budget& budget);

// The worth of a content under these duals, cuts included.
[[nodiscard]] double worthWithCuts(const Content& content, std::span<const double> profit,
                                   std::span<const SubsetRow> cuts,
                                   std::span<const double> cutDual);

} // namespace plan
