#pragma once

#include "plan/instance.h"
#include "plan/joints/segment.h"
#include "plan/solve.h"

#include <cstdint>
#include <span>
#include <vector>

// The long bars' layouts chosen together with the cutting, their joints wherever the rules
// allow. Column generation over cutting patterns and layouts (layout_master.h): patterns are
// priced by the knapsack over every length cut, layouts over every joint position
// (layout_pricing.h), a segment of a length not cut yet at what the cheapest bar that could
// hold it costs less what the rest of that bar is worth. Then a dive: the row whose layout the
// linear programme is surest of takes it for good, and the columns are priced again, until
// every row has its layout.
namespace plan::joints {

struct FreeRowInput {
    const LongBar* bar = nullptr;
    Rule rule;                     // joints: the fewest a bar takes; mostJoints: the most
    std::int64_t mostTotal = -1;   // joints of all the row's bars together; −1: no limit
    double jointCost = 0;          // per joint, in the stocks' cost units
    std::vector<SplicedBar> start; // layouts to begin with, each checked
};

struct FreeInput {
    std::vector<Item> pieces;  // the steel's ordinary pieces
    std::vector<Stock> stocks; // new stock with its cost, then yard offcuts
    std::int64_t kerf = 0;
    std::vector<std::int64_t> stockLengths; // as the rules see the stock
    JointSettings settings;
};

struct FreeChoice {
    std::vector<SplicedBar> spliced; // per row, checked
    double value = 0;                // the last linear programme's value: a guide, not a bound
    int rounds = 0;
};

// A layout for every row: the dive's where it ends in time, the first start layout of a row
// where it does not.
[[nodiscard]] FreeChoice chooseLayouts(const FreeInput& input, std::span<const FreeRowInput> rows,
                                       const Budget& budget);

} // namespace plan::joints
