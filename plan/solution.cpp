#include "plan/solution.h"

#include <algorithm>
#include <map>

namespace plan {

std::int64_t Solution::cost(const Instance& instance) const {
    std::int64_t total = 0;
    for (const BarPattern& p : patterns) {
        total += p.count * instance.stocks[p.stock].cost;
    }
    return total;
}

std::int64_t Solution::bars() const {
    std::int64_t total = 0;
    for (const BarPattern& p : patterns) {
        total += p.count;
    }
    return total;
}

std::int64_t used(const Instance& instance, const Content& content) {
    std::int64_t total = 0;
    for (const auto& [item, n] : content) {
        total += static_cast<std::int64_t>(n) * instance.weight(item);
    }
    return total;
}

bool fits(const Instance& instance, std::uint32_t stock, const Content& content) {
    return used(instance, content) <= instance.capacity(stock);
}

std::optional<std::string> check(const Instance& instance, const Solution& solution) {
    std::vector<std::int64_t> cut(instance.items.size(), 0);
    std::vector<std::int64_t> taken(instance.stocks.size(), 0);
    for (const BarPattern& p : solution.patterns) {
        if (p.stock >= instance.stocks.size()) {
            return "a pattern names a stock that does not exist";
        }
        if (p.count < 0) {
            return "a pattern is used a negative number of times";
        }
        if (!fits(instance, p.stock, p.content)) {
            return "a pattern is longer than its bar";
        }
        for (std::size_t i = 0; i < p.content.size(); ++i) {
            const auto [item, n] = p.content[i];
            if (item >= instance.items.size() || (i > 0 && p.content[i - 1].first >= item)) {
                return "a pattern's pieces are out of order";
            }
            cut[item] += p.count * n;
        }
        taken[p.stock] += p.count;
    }
    for (std::size_t i = 0; i < cut.size(); ++i) {
        if (cut[i] != instance.items[i].demand) {
            return "a piece is not cut exactly as many times as wanted";
        }
    }
    for (std::size_t s = 0; s < taken.size(); ++s) {
        if (instance.stocks[s].limited() && taken[s] > instance.stocks[s].available) {
            return "more yard offcuts are taken than lie in the yard";
        }
    }
    return std::nullopt;
}

namespace {

// The cheapest new stock length that still holds `content`.
std::uint32_t cheapestHolding(const Instance& instance, const Content& content,
                              std::uint32_t current) {
    const std::int64_t need = used(instance, content);
    std::uint32_t best = current;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        const Stock& stock = instance.stocks[s];
        if (!stock.limited() && need <= instance.capacity(s) &&
            stock.cost < instance.stocks[best].cost) {
            best = s;
        }
    }
    return best;
}

} // namespace

void normalise(const Instance& instance, Solution& solution) {
    // Over-production is taken out of the bars cut last, where it was added last.
    std::vector<std::int64_t> surplus(instance.items.size(), 0);
    for (const BarPattern& p : solution.patterns) {
        for (const auto& [item, n] : p.content) {
            surplus[item] += p.count * n;
        }
    }
    for (std::size_t i = 0; i < surplus.size(); ++i) {
        surplus[i] -= instance.items[i].demand;
    }
    std::vector<BarPattern> split;
    for (auto it = solution.patterns.rbegin(); it != solution.patterns.rend(); ++it) {
        const BarPattern& p = *it;
        if (p.count <= 0) {
            continue;
        }
        // r pieces of an item come out of this pattern's c bars: r / c from each bar, and one
        // more from the first r % c bars. The bars fall into runs cut alike.
        const std::int64_t c = p.count;
        std::vector<std::int64_t> removed(p.content.size(), 0);
        std::vector<std::int64_t> breaks{0, c};
        for (std::size_t k = 0; k < p.content.size(); ++k) {
            const auto [item, n] = p.content[k];
            removed[k] = std::min(c * n, std::max<std::int64_t>(surplus[item], 0));
            surplus[item] -= removed[k];
            breaks.push_back(removed[k] % c);
        }
        std::ranges::sort(breaks);
        breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
        for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
            const std::int64_t first = breaks[b];
            const std::int64_t count = breaks[b + 1] - first;
            Content content;
            for (std::size_t k = 0; k < p.content.size(); ++k) {
                const auto [item, n] = p.content[k];
                const std::int64_t drop = removed[k] / c + (first < removed[k] % c ? 1 : 0);
                if (n > drop) {
                    content.emplace_back(item, static_cast<std::uint32_t>(n - drop));
                }
            }
            if (!content.empty() && count > 0) {
                split.push_back({p.stock, count, std::move(content)});
            }
        }
    }
    std::reverse(split.begin(), split.end());

    // Merge, keeping the first appearance's place; a bar moves to the cheapest stock holding it.
    std::map<std::pair<std::uint32_t, Content>, std::size_t> index;
    std::vector<BarPattern> merged;
    for (BarPattern& p : split) {
        if (!instance.stocks[p.stock].limited()) {
            p.stock = cheapestHolding(instance, p.content, p.stock);
        }
        auto key = std::make_pair(p.stock, p.content);
        if (const auto found = index.find(key); found != index.end()) {
            merged[found->second].count += p.count;
        } else {
            index.emplace(std::move(key), merged.size());
            merged.push_back(std::move(p));
        }
    }
    solution.patterns = std::move(merged);
}

} // namespace plan
