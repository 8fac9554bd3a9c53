#include "plan/plan.h"

#include "plan/trade_tables.h"

#include <algorithm>

namespace plan {

MassBasis massBasis(const Steel& steel) {
    return trade::nominalMass(steel.grade, steel.diameter) ? MassBasis::Nominal
                                                           : MassBasis::Estimated;
}

double weightKg(const Steel& steel, std::int64_t mm) {
    const double metres = static_cast<double>(mm) / 1000.0;
    if (const auto grams = trade::nominalMass(steel.grade, steel.diameter)) {
        return static_cast<double>(*grams) / 1000.0 * metres;
    }
    const double d = static_cast<double>(steel.diameter) / 10.0;
    return trade::kMassFactor * d * d * metres;
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

joints::Money moneyOf(const GroupPlan& group, const joints::Prices& prices) {
    const std::int64_t grams = joints::gramsPerMetre(group.steel.grade, group.steel.diameter);
    joints::Money money;
    for (const StockUse& use : group.bought) {
        money.steel += use.count * joints::steelFen(use.length, grams, prices.steelFenPerTonne);
    }
    for (const joints::SplicedBar& bar : group.spliced) {
        money.joints += bar.joints() * prices.joint(bar.rule.method);
    }
    return money;
}

joints::Money Plan::money() const {
    joints::Money total;
    for (const GroupPlan& g : groups) {
        total.steel += g.money.steel;
        total.joints += g.money.joints;
    }
    return total;
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
