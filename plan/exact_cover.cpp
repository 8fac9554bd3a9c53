#include "plan/exact_cover.h"

#include "plan/bound.h"

#include <algorithm>
#include <limits>
#include <random>

namespace plan {
namespace {

constexpr std::int64_t kCheckEvery = 1024;
// Nodes of the first run, and at most of any run, of the restarted search.
constexpr std::int64_t kFirstRun = 2000;
constexpr std::int64_t kLongestRun = 50'000;

class Cover {
public:
    Cover(const Instance& instance, std::span<const Column> columns, std::int64_t target,
          std::int64_t nodes, const Budget& budget)
        : instance_(instance), columns_(columns), target_(target), nodeLimit_(nodes),
          budget_(budget) {
        usedBy_.resize(instance.items.size());
        for (std::size_t p = 0; p < columns.size(); ++p) {
            for (const auto& [item, n] : columns[p].content) {
                usedBy_[item].push_back(p);
            }
        }
        // The fullest bars first: a perfect packing is made of them.
        for (auto& list : usedBy_) {
            std::ranges::sort(list, [&](std::size_t a, std::size_t b) {
                return waste(a) < waste(b) || (waste(a) == waste(b) && a < b);
            });
        }
        residual_.reserve(instance.items.size());
        for (const Item& item : instance.items) {
            residual_.push_back(item.demand);
            left_ += item.demand *
                     instance.weight(static_cast<std::size_t>(&item - instance.items.data()));
        }
        for (const Stock& stock : instance.stocks) {
            available_.push_back(stock.limited() ? stock.available : -1);
        }
        // The least cost of a millimetre of bar, for a bound on what is left.
        perLength_ = cheapestPerMm(instance);
    }

    // Restarts with the patterns of each piece in another order: an exact cover search has a
    // heavy tail, one unlucky early choice costs more than many short searches.
    std::optional<Solution> run() {
        std::mt19937_64 random(1);
        const std::int64_t total = nodeLimit_;
        std::int64_t per = kFirstRun;
        for (int attempt = 0; nodes_ < total && !budget_.expired(); ++attempt) {
            if (attempt > 0) {
                for (auto& list : usedBy_) {
                    std::ranges::shuffle(list, random);
                }
                per = std::min(per * 2, kLongestRun);
            }
            nodeLimit_ = std::min(total, nodes_ + per);
            stopped_ = false;
            if (search(0)) {
                return solutionOf();
            }
            if (!stopped_) {
                exhausted_ = true; // the whole list was searched
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    [[nodiscard]] bool exhausted() const { return exhausted_; }

private:
    std::optional<Solution> solutionOf() const {
        {
            Solution solution;
            for (const std::size_t p : chosen_) {
                solution.patterns.push_back({columns_[p].stock, 1, columns_[p].content});
            }
            return solution;
        }
    }

    [[nodiscard]] std::int64_t waste(std::size_t p) const {
        return instance_.capacity(columns_[p].stock) - used(instance_, columns_[p].content);
    }

    [[nodiscard]] bool fitsNow(std::size_t p) const {
        const Column& column = columns_[p];
        if (instance_.stocks[column.stock].limited() && available_[column.stock] <= 0) {
            return false;
        }
        return std::ranges::all_of(column.content, [&](const auto& entry) {
            return static_cast<std::int64_t>(entry.second) <= residual_[entry.first];
        });
    }

    void take(std::size_t p, int sign) {
        const Column& column = columns_[p];
        for (const auto& [item, n] : column.content) {
            residual_[item] -= sign * static_cast<std::int64_t>(n);
            left_ -= sign * static_cast<std::int64_t>(n) * instance_.weight(item);
        }
        if (instance_.stocks[column.stock].limited()) {
            available_[column.stock] -= sign;
        }
        cost_ += sign * instance_.stocks[column.stock].cost;
    }

    bool search(int depth) {
        if (++nodes_ > nodeLimit_ || (nodes_ % kCheckEvery == 0 && budget_.expired())) {
            stopped_ = true;
            return false;
        }
        if (left_ == 0) {
            return cost_ <= target_;
        }
        if (static_cast<double>(cost_) + static_cast<double>(left_) * perLength_ >
            static_cast<double>(target_) + 1e-6) {
            return false;
        }
        // The piece the fewest patterns can still cut.
        std::size_t pick = residual_.size();
        std::size_t fewest = std::numeric_limits<std::size_t>::max();
        for (std::size_t i = 0; i < residual_.size(); ++i) {
            if (residual_[i] <= 0) {
                continue;
            }
            std::size_t ways = 0;
            for (const std::size_t p : usedBy_[i]) {
                if (fitsNow(p) && ++ways >= fewest) {
                    break;
                }
            }
            if (ways == 0) {
                return false;
            }
            if (ways < fewest) {
                fewest = ways;
                pick = i;
            }
        }
        for (const std::size_t p : usedBy_[pick]) {
            if (!fitsNow(p)) {
                continue;
            }
            take(p, 1);
            chosen_.push_back(p);
            if (search(depth + 1)) {
                return true;
            }
            chosen_.pop_back();
            take(p, -1);
            if (stopped_) {
                return false;
            }
        }
        return false;
    }

    const Instance& instance_;
    std::span<const Column> columns_;
    std::int64_t target_;
    std::int64_t nodeLimit_;
    const Budget& budget_;
    std::vector<std::vector<std::size_t>> usedBy_;
    std::vector<std::int64_t> residual_;
    std::vector<std::int64_t> available_;
    std::vector<std::size_t> chosen_;
    std::int64_t left_ = 0;
    std::int64_t cost_ = 0;
    double perLength_ = 0;
    std::int64_t nodes_ = 0;
    bool stopped_ = false;
    bool exhausted_ = false;
};

} // namespace

bool cutsExactly(const Instance& instance, std::int64_t target) {
    if (instance.items.empty()) {
        return false;
    }
    std::int64_t length = 0;
    std::int64_t shortest = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        length += instance.items[i].demand * instance.weight(i);
        shortest = std::min(shortest, instance.weight(i));
    }
    // A margin for the rounding in double precision: too strict only costs a proof.
    return static_cast<double>(length + shortest) * cheapestPerMm(instance) >
           static_cast<double>(target) * (1 + 1e-9);
}

CoverResult coverExactly(const Instance& instance, std::span<const Column> columns,
                         std::int64_t target, std::int64_t nodes, const Budget& budget) {
    Cover cover(instance, columns, target, nodes, budget);
    CoverResult result;
    result.plan = cover.run();
    result.none = !result.plan && cover.exhausted() && cutsExactly(instance, target);
    return result;
}

} // namespace plan
