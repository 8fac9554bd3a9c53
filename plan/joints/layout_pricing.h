#pragma once

#include "plan/joints/segment.h"

#include <cstdint>
#include <span>
#include <vector>

// The pricing of a long bar's layouts over free joint positions: given what one more segment of
// each length costs the cutting (its dual price where the cutting cuts that length already, or
// what the cheapest bar that could hold a new one costs, less what the duals say the rest of
// that bar is worth), the staggered layout of the row that costs least, its joints included. A
// joint may sit anywhere the rules allow: every first segment of a bar with one joint is
// tried, and for more joints every combination of the lengths cheapest per millimetre with a
// remainder that takes what is left.
namespace plan::joints {

struct PricedLayout {
    std::vector<Shape> shapes; // per class, as splice() takes them
    double cost = 0;           // Σ bars × what their segments cost, and what the joints cost
    std::int64_t joints = 0;   // of all the row's bars
};

// The bars of each class when `bar` is laid out by `rule` (as splice() counts them).
[[nodiscard]] std::vector<std::int64_t> classBars(const LongBar& bar, const Rule& rule);

// The layout of `bar` that costs least: each class a shape with rule.joints to rule.mostJoints
// joints, admissible and staggered against the others, the row's joints at most `mostTotal`
// (−1: any), each joint costing `jointCost`. `price[l]` is what one segment of l mm costs, for
// l from 0 to the longest stock. Nothing when no staggered layout is found.
[[nodiscard]] std::optional<PricedLayout> priceLayout(const LongBar& bar, const Rule& rule,
                                                      std::int64_t mostTotal, double jointCost,
                                                      std::span<const double> price,
                                                      std::span<const std::int64_t> stocks,
                                                      const JointSettings& settings);

} // namespace plan::joints
