#include "plan/bound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include <queue>

namespace plan {

std::int64_t roundUpCost(const Instance& instance, double value) {
    std::vector<std::int64_t> costs;
    for (const Stock& stock : instance.stocks) {
        if (!stock.limited() && stock.cost > 0) {
            costs.push_back(stock.cost);
        }
    }
    // The linear programme's value is trusted to about a millionth: a value a hair above a
    // whole cost must not push the bound up a whole bar.
    const double target = value - 1e-6 * std::max(1.0, std::abs(value));
    if (costs.empty() || target <= 0) {
        return 0;
    }
    std::int64_t g = 0;
    for (const std::int64_t c : costs) {
        g = std::gcd(g, c);
    }
    for (std::int64_t& c : costs) {
        c /= g;
    }
    const auto units = static_cast<std::int64_t>(std::ceil(target / static_cast<double>(g)));

    // The least representable sum in each residue class modulo the smallest cost: Dijkstra on
    // the residues, as for the Frobenius problem. Then the least representable sum ≥ units.
    const std::int64_t m = *std::ranges::min_element(costs);
    if (m == 1) {
        return units * g;
    }
    constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();
    std::vector<std::int64_t> least(static_cast<std::size_t>(m), kUnreached);
    using Entry = std::pair<std::int64_t, std::int64_t>; // sum, residue
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    least[0] = 0;
    queue.emplace(0, 0);
    while (!queue.empty()) {
        const auto [sum, residue] = queue.top();
        queue.pop();
        if (sum != least[static_cast<std::size_t>(residue)]) {
            continue;
        }
        for (const std::int64_t c : costs) {
            const std::int64_t next = sum + c;
            const auto r = static_cast<std::size_t>(next % m);
            if (next < least[r]) {
                least[r] = next;
                queue.emplace(next, static_cast<std::int64_t>(r));
            }
        }
    }
    std::int64_t best = kUnreached;
    for (std::int64_t r = 0; r < m; ++r) {
        const std::int64_t base = least[static_cast<std::size_t>(r)];
        if (base == kUnreached) {
            continue;
        }
        const std::int64_t steps = base >= units ? 0 : (units - base + m - 1) / m;
        best = std::min(best, base + steps * m);
    }
    return best * g;
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
