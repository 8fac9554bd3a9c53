#include "plan/plan.h"

#include <algorithm>

namespace plan {

double weightKg(std::int64_t diameterTenths, std::int64_t mm) {
    // 0.00617 · d² kg per metre, d in mm: the mass of a steel bar of 7850 kg/m³.
    const double d = static_cast<double>(diameterTenths) / 10.0;
    return 0.00617 * d * d * static_cast<double>(mm) / 1000.0;
}

std::int64_t GroupPlan::gapBars() const {
    std::int64_t longest = 0;
    for (const StockUse& use : bought) {
        longest = std::max(longest, use.length);
    }
    const std::int64_t gap = stockMm - boundMm;
    if (gap <= 0 || longest == 0) {
        return 0;
    }
    return (gap + longest - 1) / longest;
}

bool Plan::optimal() const {
    return std::ranges::all_of(groups, &GroupPlan::optimal);
}

std::int64_t Plan::stockMm() const {
    std::int64_t total = 0;
    for (const GroupPlan& g : groups) {
        total += g.stockMm;
    }
    return total;
}

double Plan::stockKg() const {
    double total = 0;
    for (const GroupPlan& g : groups) {
        total += g.stockKg;
    }
    return total;
}

double Plan::piecesKg() const {
    double total = 0;
    for (const GroupPlan& g : groups) {
        total += g.piecesKg;
    }
    return total;
}

} // namespace plan
