#pragma once

#include "plan/knapsack.h"
#include "plan/solution.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>

// The pricing problem solved by branch and bound instead of a table: for one bar length at a
// time, with no table to build however long the bar. It also answers what the table cannot:
// the best content that is not one of a few excluded ones, which the exact search needs once it
// has ruled patterns out.
namespace plan {

struct SearchResult {
    double value = 0;
    Content content;
    bool complete = true; // false: the node limit was reached, `value` may not be the best
};

// The best content of a bar of `capacity` that is not in `excluded`, looking at no more than
// `nodeLimit` nodes. Items are as for the table; contents use the same item indices.
[[nodiscard]] SearchResult bestContent(std::span<const PricingItem> items, std::int64_t capacity,
                                       const std::set<Content>& excluded, std::int64_t nodeLimit);

} // namespace plan
