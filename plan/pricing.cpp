#include "plan/pricing.h"

#include "plan/knapsack_search.h"

#include <algorithm>

namespace plan {
namespace {

// Above this many cells the table costs more than branch and bound is likely to.
constexpr double kTableCells = 3e7;
// Below this many cells the table is always cheap enough.
constexpr double kSmallTable = 2e6;
// A bar holding at most this many pieces is quick to search by branch and bound.
constexpr std::int64_t kFewPieces = 0;
// Nodes of branch and bound for one bar before it settles for a bound instead of an answer.
constexpr std::int64_t kSearchNodes = 200'000;
// Further contents taken from the table per bar in one round, for faster convergence.
constexpr std::size_t kAlternatives = 4;
constexpr double kImproving = 1e-9;
// Contents anchored on a piece, per bar and round.
constexpr std::size_t kAnchored = 50;

// The linear relaxation of the knapsack: no content is worth more.
double relaxedValue(std::span<const PricingItem> items, std::int64_t capacity) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].profit > 0 && items[i].bound > 0) {
            order.push_back(i);
        }
    }
    std::ranges::sort(order, [&](std::size_t a, std::size_t b) {
        return items[a].profit * static_cast<double>(items[b].weight) >
               items[b].profit * static_cast<double>(items[a].weight);
    });
    double value = 0;
    auto room = static_cast<double>(capacity);
    for (const std::size_t i : order) {
        const double weight = static_cast<double>(items[i].weight);
        const double whole = std::min(static_cast<double>(items[i].bound), room / weight);
        value += whole * items[i].profit;
        room -= whole * weight;
        if (room <= 0) {
            break;
        }
    }
    return value;
}

} // namespace

// The best content of the bar that holds a given piece, for the pieces whose such content is
// worth most: the table answers it for free (the best of the rest in the room the piece
// leaves), and many good columns a round mean fewer rounds.
void Pricing::anchored(std::uint32_t stock, std::int64_t capacity, double threshold,
                       const std::set<Content>& excluded, std::vector<Column>& out) const {
    std::vector<std::pair<double, std::uint32_t>> worth;
    for (std::uint32_t i = 0; i < items_.size(); ++i) {
        const PricingItem& item = items_[i];
        if (item.profit > 0 && item.bound > 0 && item.weight <= capacity) {
            const double value = table_.best(capacity - item.weight) + item.profit;
            if (value > threshold + kImproving * std::max(1.0, threshold)) {
                worth.emplace_back(value, i);
            }
        }
    }
    const std::size_t keep = std::min(worth.size(), kAnchored);
    std::partial_sort(worth.begin(), worth.begin() + static_cast<std::ptrdiff_t>(keep), worth.end(),
                      std::greater<>{});
    for (std::size_t k = 0; k < keep; ++k) {
        const std::uint32_t i = worth[k].second;
        Content content = table_.pattern(capacity - items_[i].weight);
        auto it = std::ranges::lower_bound(content, i, {},
                                           &std::pair<std::uint32_t, std::uint32_t>::first);
        if (it != content.end() && it->first == i) {
            if (static_cast<std::int64_t>(it->second) + 1 > items_[i].bound) {
                continue; // the rest already holds all of this piece that is wanted
            }
            ++it->second;
        } else {
            content.insert(it, {i, 1U});
        }
        if (!excluded.contains(content)) {
            out.push_back({stock, std::move(content)});
        }
    }
}

PricingResult Pricing::price(std::span<const double> profit, std::span<const std::int64_t> demand,
                             std::span<const std::int64_t> available,
                             std::span<const double> stockCost, std::span<const double> stockDual,
                             const std::vector<std::set<Content>>& excluded) {
    const std::size_t stocks = instance_.stocks.size();
    PricingResult result;
    result.upperValue.assign(stocks, 0.0);

    items_.resize(instance_.items.size());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        items_[i] = {instance_.weight(i), std::max(profit[i], 0.0), demand[i]};
    }
    std::int64_t capacity = 0;
    for (std::size_t s = 0; s < stocks; ++s) {
        if (!instance_.stocks[s].limited() || available[s] > 0) {
            capacity = std::max(capacity, instance_.capacity(s));
        }
    }
    // The table's cost grows with the bar's length, branch and bound's with the pieces a bar
    // holds: long bars holding few pieces (100 m bars cut into 20 m pieces) go to the search.
    std::int64_t lightest = capacity;
    for (const PricingItem& item : items_) {
        if (item.profit > 0 && item.bound > 0) {
            lightest = std::min(lightest, item.weight);
        }
    }
    const double cells = KnapsackTable::cells(items_, capacity);
    const bool byTable =
        cells <= kTableCells && (cells <= kSmallTable || capacity / lightest > kFewPieces);
    if (byTable) {
        table_.solve(items_, capacity);
    }

    for (std::uint32_t s = 0; s < stocks; ++s) {
        if (instance_.stocks[s].limited() && available[s] <= 0) {
            continue;
        }
        const std::int64_t cap = instance_.capacity(s);
        const double threshold = stockCost[s] - stockDual[s]; // a content must be worth more
        double upper = 0;
        Content best;
        double bestValue = 0;
        if (byTable) {
            upper = table_.best(cap);
            best = table_.pattern(cap);
            bestValue = upper;
            if (excluded[s].contains(best)) {
                const SearchResult found = bestContent(items_, cap, excluded[s], kSearchNodes);
                best = found.content;
                bestValue = found.value;
                if (found.complete) {
                    upper = found.value;
                }
            }
        } else {
            const SearchResult found = bestContent(items_, cap, excluded[s], kSearchNodes);
            best = found.content;
            bestValue = found.value;
            upper = found.complete ? found.value : relaxedValue(items_, cap);
        }
        result.upperValue[s] = upper;
        if (!best.empty() && bestValue > threshold + kImproving * std::max(1.0, threshold)) {
            result.columns.push_back({s, std::move(best)});
        }
        if (byTable) {
            for (Content& more : table_.alternatives(cap, threshold, kAlternatives)) {
                if (!excluded[s].contains(more)) {
                    result.columns.push_back({s, std::move(more)});
                }
            }
            anchored(s, cap, threshold, excluded[s], result.columns);
        }
    }
    return result;
}

} // namespace plan
