#pragma once

#include "plan/plan.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "yard/yard.h"

// What the yard's tests share: plans written out by hand (a commit reads only each steel's
// offcuts used and remnants), and the yard's stock as one map to compare before and after.
namespace yard_test {

inline const plan::Steel kC25{"HRB400", 250};
inline const plan::Steel kC20{"HRB400", 200};
inline const plan::Steel kPlain8{"", 80};

inline plan::GroupPlan group(const plan::Steel& steel, std::vector<plan::StockUse> used,
                             std::vector<plan::StockUse> remnants) {
    plan::GroupPlan g;
    g.steel = steel;
    g.offcutsUsed = std::move(used);
    g.remnants = std::move(remnants);
    return g;
}

inline plan::Plan planOf(std::vector<plan::GroupPlan> groups) {
    plan::Plan p;
    p.groups = std::move(groups);
    return p;
}

// Bars held by (diameter, grade, length).
using Counts = std::map<std::tuple<std::int64_t, std::string, std::int64_t>, std::int64_t>;

inline Counts countsOf(const yard::Yard& store) {
    Counts counts;
    const auto stock = store.stock({});
    for (const yard::Moved& m : stock.value) {
        counts[{m.steel.diameter, m.steel.grade, m.length}] += m.count;
    }
    return counts;
}

} // namespace yard_test
