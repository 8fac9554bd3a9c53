#include "plan/knapsack_search.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace plan {
namespace {

class Search {
public:
    Search(std::span<const PricingItem> items, const std::set<Content>& excluded,
           std::int64_t nodeLimit)
        : items_(items), excluded_(excluded), nodesLeft_(nodeLimit) {
        // Pieces worth nothing are searched too (last): added to an excluded content they make
        // another content of the same worth, which is not excluded.
        for (std::uint32_t i = 0; i < items.size(); ++i) {
            if (items[i].profit >= 0 && items[i].bound > 0) {
                order_.push_back(i);
            }
        }
        // Densest first, so that the greedy fill is the bound and the first dive is good.
        std::ranges::stable_sort(order_, [&](std::uint32_t a, std::uint32_t b) {
            return items[a].profit * static_cast<double>(items[b].weight) >
                   items[b].profit * static_cast<double>(items[a].weight);
        });
        chosen_.assign(order_.size(), 0);
    }

    SearchResult run(std::int64_t capacity) {
        dive(0, capacity, 0.0);
        result_.complete = nodesLeft_ >= 0;
        return result_;
    }

private:
    // The linear relaxation of what is left: fill greedily, the last item in part.
    [[nodiscard]] double bound(std::size_t k, std::int64_t room) const {
        double value = 0;
        for (; k < order_.size() && room > 0; ++k) {
            const PricingItem& item = items_[order_[k]];
            const std::int64_t whole = std::min(item.bound, room / item.weight);
            value += static_cast<double>(whole) * item.profit;
            room -= whole * item.weight;
            if (whole < item.bound && room > 0) {
                return value +
                       item.profit * static_cast<double>(room) / static_cast<double>(item.weight);
            }
        }
        return value;
    }

    void consider(double value) {
        if (value <= result_.value) {
            return;
        }
        Content content;
        for (std::size_t k = 0; k < order_.size(); ++k) {
            if (chosen_[k] > 0) {
                content.emplace_back(order_[k], chosen_[k]);
            }
        }
        std::ranges::sort(content);
        if (excluded_.contains(content)) {
            return;
        }
        result_.value = value;
        result_.content = std::move(content);
    }

    void dive(std::size_t k, std::int64_t room, double value) {
        if (--nodesLeft_ < 0) {
            return;
        }
        if (k == order_.size()) {
            consider(value);
            return;
        }
        // A tiny margin: a content worth the same as the best found is not worth finding, but
        // an excluded best must not hide an equal one that is allowed.
        if (value + bound(k, room) <= result_.value * (1 + 1e-12) && !result_.content.empty()) {
            return;
        }
        const PricingItem& item = items_[order_[k]];
        const auto most = static_cast<std::uint32_t>(std::min(item.bound, room / item.weight));
        for (std::uint32_t n = most + 1; n-- > 0;) {
            chosen_[k] = n;
            dive(k + 1, room - n * item.weight, value + n * item.profit);
            if (nodesLeft_ < 0) {
                break;
            }
        }
        chosen_[k] = 0;
    }

    std::span<const PricingItem> items_;
    const std::set<Content>& excluded_;
    std::int64_t nodesLeft_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> chosen_;
    SearchResult result_;
};

} // namespace

SearchResult bestContent(std::span<const PricingItem> items, std::int64_t capacity,
                         const std::set<Content>& excluded, std::int64_t nodeLimit) {
    return Search(items, excluded, nodeLimit).run(capacity);
}

} // namespace plan
