#include "yard/stock.h"

#include "plan/number.h"

#include <algorithm>
#include <string>

namespace yard {

std::vector<plan::OffcutRow> offcutRows(const std::vector<Moved>& stock,
                                        const std::vector<plan::Steel>& steels) {
    std::vector<plan::OffcutRow> rows;
    int line = 0;
    for (const Moved& bars : stock) {
        ++line;
        if (std::ranges::find(steels, bars.steel) == steels.end()) {
            continue;
        }
        rows.push_back({plan::diameterText(bars.steel.diameter),
                        std::to_string(bars.length),
                        std::to_string(std::min(bars.count, plan::kMaxCount)),
                        line,
                        bars.steel.grade,
                        {}});
    }
    return rows;
}

std::vector<plan::Offcut> offcuts(const std::vector<Moved>& stock) {
    std::vector<plan::Offcut> out;
    int line = 0;
    for (const Moved& bars : stock) {
        out.push_back({bars.steel, bars.length, std::min(bars.count, plan::kMaxCount), ++line});
    }
    return out;
}

PlanChanges changesOf(const plan::Plan& plan) {
    PlanChanges out;
    for (const plan::GroupPlan& group : plan.groups) {
        for (const plan::StockUse& used : group.offcutsUsed) {
            out.taken.push_back({group.steel, used.length, used.count});
        }
        for (const plan::StockUse& remnant : group.remnants) {
            out.added.push_back({group.steel, remnant.length, remnant.count});
        }
    }
    return out;
}

} // namespace yard
