#include "plan/fullest_first.h"

#include "plan/first_fit.h"
#include "plan/knapsack_search.h"

#include <algorithm>
#include <limits>
#include <set>

namespace plan {
namespace {

// Passes in a row that cut no cheaper plan before the values are taken to have settled.
constexpr int kStalePasses = 4;

struct Pass {
    Solution solution;
    bool complete = true; // false: the search gave up on a bar
};

// One pass: bar after bar, the content worth most per millimetre bought, cut as often as the
// pieces still wanted allow.
Pass onePass(const Instance& instance, std::span<const double> worth, std::int64_t nodes,
             const Budget& budget) {
    Instance left = instance;
    Pass pass;
    const std::set<Content> none;
    std::vector<PricingItem> wanted;
    std::vector<std::uint32_t> itemOf;
    for (;;) {
        wanted.clear();
        itemOf.clear();
        for (std::uint32_t i = 0; i < left.items.size(); ++i) {
            if (left.items[i].demand > 0) {
                wanted.push_back({left.weight(i), worth[i], left.items[i].demand});
                itemOf.push_back(i);
            }
        }
        if (wanted.empty()) {
            break;
        }
        if (budget.expired()) {
            pass.complete = false;
            break;
        }
        // A yard offcut costs nothing and goes first, the fullest of them; then the new bar
        // with the most worth per millimetre bought.
        std::optional<std::uint32_t> chosen;
        Content content;
        double best = 0;
        bool fromYard = false;
        for (std::uint32_t s = 0; s < left.stocks.size(); ++s) {
            const Stock& stock = left.stocks[s];
            if (stock.available == 0) {
                continue;
            }
            SearchResult found = bestContent(wanted, left.capacity(s), none, nodes);
            if (found.value <= 0) {
                continue;
            }
            const bool yard = stock.cost == 0;
            const double score = yard ? found.value : found.value / static_cast<double>(stock.cost);
            if ((yard && !fromYard) || (yard == fromYard && score > best)) {
                chosen = s;
                content = std::move(found.content);
                best = score;
                fromYard = yard;
            }
        }
        if (!chosen) {
            // No bar holds what is left: first-fit decreasing says what it can of it.
            for (BarPattern& p : firstFitDecreasing(left).patterns) {
                pass.solution.patterns.push_back(std::move(p));
            }
            break;
        }
        std::int64_t times = left.stocks[*chosen].limited()
                                 ? left.stocks[*chosen].available
                                 : std::numeric_limits<std::int64_t>::max();
        for (auto& [item, n] : content) {
            item = itemOf[item];
            times = std::min(times, left.items[item].demand / static_cast<std::int64_t>(n));
        }
        if (times <= 0) {
            pass.complete = false; // not reached: the search keeps within the pieces wanted
            break;
        }
        for (const auto& [item, n] : content) {
            left.items[item].demand -= times * static_cast<std::int64_t>(n);
        }
        if (left.stocks[*chosen].limited()) {
            left.stocks[*chosen].available -= times;
        }
        std::ranges::sort(content);
        pass.solution.patterns.push_back({*chosen, times, std::move(content)});
    }
    normalise(instance, pass.solution);
    return pass;
}

// Each piece valued anew: halfway between its worth so far and its share of what its bars
// cost in this pass. A piece that ended in a half-empty bar is worth more next time, and goes
// into the full bars first (sequential value correction).
void correct(const Instance& instance, const Solution& solution, std::vector<double>& worth) {
    std::vector<double> share(instance.items.size(), 0.0);
    std::vector<std::int64_t> counted(instance.items.size(), 0);
    for (const BarPattern& p : solution.patterns) {
        const std::int64_t filled = used(instance, p.content);
        const Stock& stock = instance.stocks[p.stock];
        // An offcut is charged its length: wasting it is a loss too.
        const auto price = static_cast<double>(stock.cost > 0 ? stock.cost : stock.length);
        for (const auto& [item, n] : p.content) {
            share[item] += price * static_cast<double>(instance.weight(item)) /
                           static_cast<double>(filled) * static_cast<double>(n * p.count);
            counted[item] += n * p.count;
        }
    }
    for (std::size_t i = 0; i < worth.size(); ++i) {
        if (counted[i] > 0) {
            worth[i] = (worth[i] + share[i] / static_cast<double>(counted[i])) / 2;
        }
    }
}

} // namespace

std::optional<Solution> fullestFirst(const Instance& instance, std::int64_t nodes, int passes,
                                     std::int64_t target, const Budget& budget) {
    // The first pass values each piece at its length: the fullest bar wastes least.
    std::vector<double> worth;
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        worth.push_back(static_cast<double>(instance.weight(i)));
    }
    std::optional<Solution> best;
    std::int64_t bestCost = 0;
    int stale = 0;
    for (int pass = 0; pass < passes && stale < kStalePasses; ++pass) {
        Pass done = onePass(instance, worth, nodes, budget);
        if (!done.complete) {
            break;
        }
        correct(instance, done.solution, worth);
        const std::int64_t cost = done.solution.cost(instance);
        if (!best || cost < bestCost) {
            best = std::move(done.solution);
            bestCost = cost;
            stale = 0;
        } else {
            ++stale;
        }
        if (bestCost <= target) {
            break;
        }
    }
    return best;
}

} // namespace plan
