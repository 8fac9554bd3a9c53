#include "plan/bound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include <queue>

namespace plan {

namespace {

constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();

// The costs a plan can have: sums of the new stock lengths, each used any number of times.
// They are kept as the common divisor g of the lengths, the smallest length m (in units of g),
// and for each residue modulo m the least sum in that class (Dijkstra on the residues, as for
// the Frobenius problem); every larger sum of the class is reached by adding m.
struct Costs {
    std::int64_t g = 0;
    std::int64_t m = 0;
    std::vector<std::int64_t> least;
};

Costs costsOf(const Instance& instance) {
    std::vector<std::int64_t> costs;
    for (const Stock& stock : instance.stocks) {
        if (!stock.limited() && stock.cost > 0) {
            costs.push_back(stock.cost);
        }
    }
    Costs result;
    if (costs.empty()) {
        return result;
    }
    for (const std::int64_t c : costs) {
        result.g = std::gcd(result.g, c);
    }
    for (std::int64_t& c : costs) {
        c /= result.g;
    }
    const std::int64_t m = *std::ranges::min_element(costs);
    result.m = m;
    result.least.assign(static_cast<std::size_t>(m), kUnreached);
    using Entry = std::pair<std::int64_t, std::int64_t>; // sum, residue
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    result.least[0] = 0;
    queue.emplace(0, 0);
    while (!queue.empty()) {
        const auto [sum, residue] = queue.top();
        queue.pop();
        if (sum != result.least[static_cast<std::size_t>(residue)]) {
            continue;
        }
        for (const std::int64_t c : costs) {
            const std::int64_t next = sum + c;
            const auto r = static_cast<std::size_t>(next % m);
            if (next < result.least[r]) {
                result.least[r] = next;
                queue.emplace(next, static_cast<std::int64_t>(r));
            }
        }
    }
    return result;
}

} // namespace

std::int64_t costUnit(const Instance& instance) {
    std::int64_t unit = 0;
    for (const Stock& stock : instance.stocks) {
        if (stock.cost > 0) {
            unit = std::gcd(unit, stock.cost);
        }
    }
    return std::max<std::int64_t>(unit, 1);
}

std::int64_t roundUpCost(const Instance& instance, double value) {
    // The bounds come from dual prices by sums and products in double precision, whose
    // rounding stays far below a billionth: a value a hair above a whole cost must not push the
    // bound up a whole bar, but a looser margin would give away bars that are proven.
    const double target = value - 1e-9 * std::max(1.0, std::abs(value));
    const Costs costs = costsOf(instance);
    if (costs.g == 0 || target <= 0) {
        return 0;
    }
    const auto units = static_cast<std::int64_t>(std::ceil(target / static_cast<double>(costs.g)));
    std::int64_t best = kUnreached;
    for (const std::int64_t base : costs.least) {
        if (base != kUnreached) {
            const std::int64_t steps = base >= units ? 0 : (units - base + costs.m - 1) / costs.m;
            best = std::min(best, base + steps * costs.m);
        }
    }
    return best * costs.g;
}

std::int64_t roundDownCost(const Instance& instance, std::int64_t value) {
    const Costs costs = costsOf(instance);
    if (costs.g == 0 || value <= 0) {
        return 0;
    }
    const std::int64_t units = value / costs.g;
    std::int64_t best = 0;
    for (const std::int64_t base : costs.least) {
        if (base != kUnreached && base <= units) {
            best = std::max(best, base + (units - base) / costs.m * costs.m);
        }
    }
    return best * costs.g;
}

double cheapestPerMm(const Instance& instance) {
    double least = std::numeric_limits<double>::infinity();
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        least = std::min(least, static_cast<double>(instance.stocks[s].cost) /
                                    static_cast<double>(instance.capacity(s)));
    }
    return least;
}

std::int64_t lengthBound(const Instance& instance) {
    // Every piece but the last in a bar takes its kerf too; the last one may not.
    double need = 0;
    for (const Item& item : instance.items) {
        need += static_cast<double>(item.length) * static_cast<double>(item.demand);
    }
    for (const Stock& stock : instance.stocks) {
        if (stock.limited()) {
            need -= static_cast<double>(stock.length) * static_cast<double>(stock.available);
        }
    }
    return roundUpCost(instance, need);
}

} // namespace plan
