#pragma once

#include "plan/instance.h"
#include "plan/knapsack.h"
#include "plan/master.h"

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <vector>

// Prices out new columns for the master problem: for every bar that may still be cut, the most
// valuable content under the current duals, by the table when it is small enough and by branch
// and bound otherwise. Patterns the search has capped are excluded and priced separately.
namespace plan {

struct PricingResult {
    std::vector<Column> columns; // contents worth more than their bar costs
    // Per stock, a value no content of that bar can exceed: exact when the search was complete.
    std::vector<double> upperValue;
};

class Pricing {
public:
    explicit Pricing(const Instance& instance) : instance_(instance) {}

    // `profit` per item (≥ 0), `demand` the pieces still wanted, `available` the offcuts still
    // in the yard; `stockDual` per stock (≤ 0); `excluded` the capped contents of each stock.
    PricingResult price(std::span<const double> profit, std::span<const std::int64_t> demand,
                        std::span<const std::int64_t> available, std::span<const double> stockCost,
                        std::span<const double> stockDual,
                        const std::vector<std::set<Content>>& excluded);

private:
    void anchored(std::uint32_t stock, std::int64_t capacity, double threshold,
                  const std::set<Content>& excluded, std::vector<Column>& out) const;

    const Instance& instance_;
    KnapsackTable table_;
    std::vector<PricingItem> items_;
};

} // namespace plan
