#include "plan/exact_cover.h"

#include "plan/bound.h"
#include "plan/first_fit.h"

#include <algorithm>
#include <limits>
#include <random>

namespace plan {
namespace {

constexpr std::int64_t kCheckEvery = 1024;
// Nodes of a run of the restarted search: this many times the Luby sequence's term.
constexpr std::int64_t kRunUnit = 100;
constexpr std::int64_t kMaxDepth = 5'000;

// The Luby sequence 1 1 2 1 1 2 4 1 1 2 1 1 2 4 8 …, its term k ≥ 1: restarts after runs this
// many units long waste at most a logarithmic factor on any tail the search may have (Luby,
// Sinclair and Zuckerman).
std::int64_t luby(std::int64_t k) {
    for (;;) {
        int bits = 1;
        while ((std::int64_t{1} << bits) - 1 < k) {
            ++bits;
        }
        if ((std::int64_t{1} << bits) - 1 == k) {
            return std::int64_t{1} << (bits - 1);
        }
        k -= (std::int64_t{1} << (bits - 1)) - 1;
    }
}

// Knuth's Algorithm X with counts kept as it goes: each pattern knows how many of its pieces
// (or its offcut) it would take more of than is left, and each piece how many patterns can
// still cut it, so that a node costs a pass over the pieces and the patterns it touches.
class Cover {
public:
    Cover(const Instance& instance, std::span<const Column> columns, std::int64_t target,
          std::int64_t nodes, std::int64_t leftOver, const Budget& budget)
        : instance_(instance), columns_(columns), target_(target), nodeLimit_(nodes),
          leaveAtMost_(leftOver), budget_(budget) {
        usedBy_.resize(instance.items.size());
        ofStock_.resize(instance.stocks.size());
        byCount_.resize(instance.items.size());
        for (std::size_t p = 0; p < columns.size(); ++p) {
            for (const auto& [item, n] : columns[p].content) {
                usedBy_[item].push_back(p);
                byCount_[item].push_back({static_cast<std::int64_t>(n), p});
            }
            ofStock_[columns[p].stock].push_back(p);
        }
        for (auto& held : byCount_) {
            std::ranges::sort(held, {}, &Held::count);
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
        ways_.assign(instance.items.size(), 0);
        leftOver_.assign(instance.items.size(), 0);
        blocked_.assign(columns.size(), 0);
        for (std::size_t p = 0; p < columns.size(); ++p) {
            for (const auto& [item, n] : columns[p].content) {
                if (static_cast<std::int64_t>(n) > residual_[item]) {
                    ++blocked_[p];
                }
            }
            if (available_[columns[p].stock] == 0) {
                ++blocked_[p];
            }
            if (blocked_[p] == 0) {
                for (const auto& entry : columns[p].content) {
                    ++ways_[entry.first];
                }
            }
        }
        // The least cost of a millimetre of bar, for a bound on what is left.
        perLength_ = cheapestPerMm(instance);
    }

    // Restarts with the patterns of each piece in another order: an exact cover search has a
    // heavy tail, one unlucky early choice costs more than many short searches. The first run
    // takes the fullest bars first.
    std::optional<Solution> run() {
        std::mt19937_64 random(1);
        const std::int64_t total = nodeLimit_;
        for (std::int64_t attempt = 1; nodes_ < total && !budget_.expired(); ++attempt) {
            if (attempt > 1) {
                for (auto& list : usedBy_) {
                    std::ranges::shuffle(list, random);
                }
            }
            nodeLimit_ = std::min(total, nodes_ + kRunUnit * luby(attempt));
            stopped_ = false;
            if (search()) {
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
    [[nodiscard]] Solution solutionOf() const {
        Solution solution;
        for (const auto& [p, bars] : chosen_) {
            solution.patterns.push_back({columns_[p].stock, bars, columns_[p].content});
        }
        for (const BarPattern& bar : rest_.patterns) {
            solution.patterns.push_back(bar);
        }
        return solution;
    }

    // The pieces left over cut by first-fit decreasing from what is left of the stock: true,
    // with their bars in rest_, when all of it costs no more than the target.
    bool cutLeftOver() {
        Instance rest = instance_;
        for (std::size_t i = 0; i < rest.items.size(); ++i) {
            rest.items[i].demand = leftOver_[i];
        }
        for (std::size_t s = 0; s < rest.stocks.size(); ++s) {
            rest.stocks[s].available = available_[s];
        }
        rest_ = firstFitDecreasing(rest);
        return cost_ + rest_.cost(rest) <= target_;
    }

    // Leaves one piece of `item` over (sign +1) for first-fit, or takes that back (-1).
    void leave(std::uint32_t item, int sign) {
        const std::int64_t before = residual_[item];
        residual_[item] -= sign;
        leftOver_[item] += sign;
        left_ -= sign * instance_.weight(item);
        leftLength_ += sign * instance_.weight(item);
        leftCount_ += sign;
        changed(item, before, residual_[item], sign);
    }

    [[nodiscard]] std::int64_t waste(std::size_t p) const {
        return instance_.capacity(columns_[p].stock) - used(instance_, columns_[p].content);
    }

    // One more (sign +1) or one fewer (-1) reason why pattern p cannot be cut now.
    void block(std::size_t p, int sign) {
        const bool was = blocked_[p] == 0;
        blocked_[p] += sign;
        if (was != (blocked_[p] == 0)) {
            for (const auto& entry : columns_[p].content) {
                ways_[entry.first] += was ? -1 : 1;
            }
        }
    }

    // The patterns that hold more of `item` than the lower of `from` and `to` but no more than
    // the higher: those that a change of what is left between the two blocks or frees. Where
    // many pieces are left, cutting a few blocks none, and finds none.
    void changed(std::uint32_t item, std::int64_t from, std::int64_t to, int sign) {
        const std::int64_t low = std::min(from, to);
        const std::int64_t high = std::max(from, to);
        const auto& held = byCount_[item];
        auto it = std::ranges::upper_bound(held, low, {}, &Held::count);
        for (; it != held.end() && it->count <= high; ++it) {
            block(it->pattern, sign);
        }
    }

    // Cuts `bars` bars of pattern p (sign +1), or takes them back (-1).
    void take(std::size_t p, std::int64_t bars, int sign) {
        const Column& column = columns_[p];
        for (const auto& [item, n] : column.content) {
            const std::int64_t before = residual_[item];
            residual_[item] -= sign * bars * static_cast<std::int64_t>(n);
            left_ -= sign * bars * static_cast<std::int64_t>(n) * instance_.weight(item);
            changed(item, before, residual_[item], sign);
        }
        if (instance_.stocks[column.stock].limited()) {
            const std::int64_t before = available_[column.stock];
            available_[column.stock] -= sign * bars;
            if ((before == 0) != (available_[column.stock] == 0)) {
                for (const std::size_t q : ofStock_[column.stock]) {
                    block(q, sign);
                }
            }
        }
        cost_ += sign * bars * instance_.stocks[column.stock].cost;
    }

    // How many bars of pattern p can still be cut.
    [[nodiscard]] std::int64_t room(std::size_t p) const {
        const Column& column = columns_[p];
        std::int64_t most = std::numeric_limits<std::int64_t>::max();
        for (const auto& [item, n] : column.content) {
            most = std::min(most, residual_[item] / static_cast<std::int64_t>(n));
        }
        if (instance_.stocks[column.stock].limited()) {
            most = std::min(most, available_[column.stock]);
        }
        return most;
    }

    bool search() {
        // Each level cuts a pattern or leaves a piece over: a plan of more patterns than
        // kMaxDepth is not looked for, so that the stack stays small, and nothing is then proven
        // either.
        if (++nodes_ > nodeLimit_ || (nodes_ % kCheckEvery == 0 && budget_.expired()) ||
            static_cast<std::int64_t>(chosen_.size()) + leftCount_ > kMaxDepth) {
            stopped_ = true;
            return false;
        }
        if (left_ == 0) {
            return leftCount_ == 0 ? cost_ <= target_ : cutLeftOver();
        }
        if (static_cast<double>(cost_) + static_cast<double>(left_ + leftLength_) * perLength_ >
            static_cast<double>(target_) + 1e-6) {
            return false;
        }
        // The piece the fewest patterns can still cut, for each piece still wanted. A piece
        // none can cut any more is left over where that is allowed, and ends the path where not.
        std::size_t pick = residual_.size();
        for (std::size_t i = 0; i < residual_.size(); ++i) {
            if (residual_[i] <= 0) {
                continue;
            }
            if (ways_[i] == 0) {
                if (leftCount_ >= leaveAtMost_) {
                    return false;
                }
                pick = i;
                break;
            }
            if (pick == residual_.size() ||
                ways_[i] * residual_[pick] < ways_[pick] * residual_[i]) {
                pick = i;
            }
        }
        // Each pattern in turn is cut as often as it can be, then once fewer, down to once, and
        // then no more in what follows; once a pattern has been tried, the patterns after it are
        // tried without it, so that no plan is searched twice. A level is a pattern, not a bar:
        // a million bars alike take one. Last, the piece may be left over.
        std::vector<std::size_t> tried;
        bool found = false;
        for (const std::size_t p : usedBy_[pick]) {
            if (blocked_[p] != 0) {
                continue;
            }
            for (std::int64_t bars = room(p); bars > 0 && !found && !stopped_; --bars) {
                take(p, bars, 1);
                block(p, 1);
                chosen_.emplace_back(p, bars);
                found = search();
                if (!found) {
                    chosen_.pop_back();
                    block(p, -1);
                    take(p, bars, -1);
                }
            }
            if (found || stopped_) {
                break;
            }
            block(p, 1);
            tried.push_back(p);
        }
        for (const std::size_t p : tried) {
            block(p, -1);
        }
        if (!found && !stopped_ && leftCount_ < leaveAtMost_) {
            const auto item = static_cast<std::uint32_t>(pick);
            leave(item, 1);
            found = search();
            if (!found) {
                leave(item, -1);
            }
        }
        return found;
    }

    const Instance& instance_;
    std::span<const Column> columns_;
    std::int64_t target_;
    std::int64_t nodeLimit_;
    std::int64_t leaveAtMost_; // pieces that may be left over for first-fit
    const Budget& budget_;
    struct Held {
        std::int64_t count; // pieces of the item the pattern holds
        std::size_t pattern;
    };
    std::vector<std::vector<std::size_t>> usedBy_; // per piece, in the order they are tried
    std::vector<std::vector<Held>> byCount_;       // per piece, fewest held first
    std::vector<std::vector<std::size_t>> ofStock_;
    std::vector<std::int64_t> residual_;
    std::vector<std::int64_t> available_;
    std::vector<std::int64_t> ways_;    // per piece: patterns that can still cut it
    std::vector<std::int32_t> blocked_; // per pattern: why it cannot be cut now (0: it can)
    std::vector<std::pair<std::size_t, std::int64_t>> chosen_; // patterns and their bars
    std::vector<std::int64_t> leftOver_;                       // per piece: left over for first-fit
    Solution rest_;                                            // their bars, once a plan is found
    std::int64_t leftLength_ = 0;
    std::int64_t leftCount_ = 0;
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
    Cover cover(instance, columns, target, nodes, 0, budget);
    CoverResult result;
    result.plan = cover.run();
    result.none = !result.plan && cover.exhausted() && cutsExactly(instance, target);
    return result;
}

std::optional<Solution> coverMostly(const Instance& instance, std::span<const Column> columns,
                                    std::int64_t target, std::int64_t leftOver, std::int64_t nodes,
                                    const Budget& budget) {
    Cover cover(instance, columns, target, nodes, leftOver, budget);
    return cover.run();
}

} // namespace plan
