#include "plan/search.h"

#include "plan/bound.h"
#include "plan/first_fit.h"
#include "plan/fullest_first.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plan {
namespace {

constexpr double kIntegral = 1e-6;
// A path longer than this is not followed: the stack stays small, and the complete search
// then no longer claims to have covered every plan.
constexpr int kMaxDepth = 20'000;
// The fullest-bar-first completion of the root's rounding: its passes, and the nodes of branch
// and bound for each bar's content.
constexpr int kFullestPasses = 10;
constexpr std::int64_t kFullestBarNodes = 2'000;

NodeState rootState(const Instance& instance) {
    NodeState node;
    for (const Item& item : instance.items) {
        node.demand.push_back(item.demand);
    }
    for (const Stock& stock : instance.stocks) {
        node.available.push_back(stock.limited() ? stock.available : -1);
    }
    return node;
}

// How many more times column j can be cut at this node without cutting a piece more often
// than it is wanted or taking an offcut that is not there.
std::int64_t room(const Instance& instance, const Column& column, const NodeState& node) {
    std::int64_t most = std::numeric_limits<std::int64_t>::max();
    for (const auto& [item, n] : column.content) {
        most = std::min(most, node.demand[item] / n);
    }
    if (instance.stocks[column.stock].limited()) {
        most = std::min(most, node.available[column.stock]);
    }
    return most;
}

} // namespace

TreeSearch::TreeSearch(const Instance& instance, Master& master, Incumbent& incumbent,
                       const Budget& budget)
    : instance_(instance), master_(master), incumbent_(incumbent), budget_(budget),
      generation_(instance, master) {
}

bool TreeSearch::done() const {
    return incumbent_.proven() || budget_.expired();
}

bool TreeSearch::root() {
    NodeState node = rootState(instance_);
    const NodeLp lp = generation_.solve(node, 0, incumbent_.cost(), false, budget_);
    if (!lp.solved) {
        return false;
    }
    incumbent_.raiseBound(roundUpCost(instance_, lp.bound));
    const std::vector<Fix> none;
    // At the root the rounding down is worth its completion by the fullest bars first: on the
    // long lists of a building it often meets the bound there, which then needs no dive.
    offerRounding(node, none, false, true);
    offerRounding(node, none, true, false);
    return true;
}

NodeLp TreeSearch::solveRoot() {
    const NodeState node = rootState(instance_);
    NodeLp lp = generation_.solve(node, 0, incumbent_.cost(), true, budget_);
    if (lp.solved) {
        incumbent_.raiseBound(roundUpCost(instance_, lp.bound));
    }
    return lp;
}

bool TreeSearch::run(int discrepancies, std::int64_t nodes) {
    complete_ = discrepancies < 0;
    nodeLimit_ = nodes_ + nodes;
    cutShort_ = false;
    NodeState node = rootState(instance_);
    std::vector<Fix> fixed;
    const bool ended = explore(node, fixed, 0, discrepancies, 0);
    if (incumbent_.proven()) {
        return true;
    }
    if (complete_ && ended && !cutShort_ && !budget_.expired()) {
        // Every plan was either found or shown to cost at least the best one.
        incumbent_.raiseBound(incumbent_.cost());
    }
    return ended;
}

Solution TreeSearch::solutionOf(const std::vector<Fix>& fixed) const {
    Solution solution;
    for (const Fix& fix : fixed) {
        const Column& column = master_.column(fix.column);
        solution.patterns.push_back({column.stock, fix.count, column.content});
    }
    return solution;
}

// The master's solution rounded: down, with the pieces left over cut by first-fit decreasing
// (and, when `fullest`, also by the fullest bars first), or up, with what is cut twice taken
// out again.
void TreeSearch::offerRounding(const NodeState& node, const std::vector<Fix>& fixed, bool up,
                               bool fullest) {
    Solution solution = solutionOf(fixed);
    NodeState left = node;
    const std::span<const double> x = master_.values();
    for (std::size_t j = 0; j < x.size(); ++j) {
        const Column& column = master_.column(j);
        auto count = static_cast<std::int64_t>(up ? std::ceil(x[j] - kIntegral)
                                                  : std::floor(x[j] + kIntegral));
        if (!up) {
            count = std::min(count, room(instance_, column, left));
        }
        if (count <= 0) {
            continue;
        }
        solution.patterns.push_back({column.stock, count, column.content});
        for (const auto& [item, n] : column.content) {
            left.demand[item] = std::max<std::int64_t>(0, left.demand[item] - count * n);
        }
        if (instance_.stocks[column.stock].limited()) {
            left.available[column.stock] -= count;
        }
    }
    if (up) {
        incumbent_.offer(std::move(solution));
        return;
    }
    Instance rest = instance_;
    for (std::size_t i = 0; i < rest.items.size(); ++i) {
        rest.items[i].demand = left.demand[i];
    }
    for (std::size_t s = 0; s < rest.stocks.size(); ++s) {
        rest.stocks[s].available = left.available[s];
    }
    const auto completed = [&solution](Solution completion) {
        Solution whole = solution;
        for (BarPattern& p : completion.patterns) {
            whole.patterns.push_back(std::move(p));
        }
        return whole;
    };
    incumbent_.offer(completed(firstFitDecreasing(rest)));
    if (!fullest || incumbent_.proven()) {
        return;
    }
    // The passes end once the plan meets the bound: no cheaper one exists.
    if (auto byFullest = fullestFirst(rest, kFullestBarNodes, kFullestPasses,
                                      incumbent_.bound() - solution.cost(instance_), budget_)) {
        incumbent_.offer(completed(std::move(*byFullest)));
    }
}

bool TreeSearch::explore(NodeState& node, std::vector<Fix>& fixed, std::int64_t fixedCost,
                         int discrepancies, int depth) {
    if (done()) {
        return false;
    }
    if (depth > kMaxDepth) {
        cutShort_ = true;
        return true;
    }
    if (nodes_ >= nodeLimit_) {
        cutShort_ = true;
        return false;
    }
    if (std::ranges::all_of(node.demand, [](std::int64_t d) { return d == 0; })) {
        incumbent_.offer(solutionOf(fixed));
        return !done();
    }
    ++nodes_;
    const NodeLp lp = generation_.solve(node, fixedCost, incumbent_.cost(), complete_, budget_);
    if (!lp.solved) {
        cutShort_ = true;
        return !done();
    }
    if (lp.infeasible) {
        return true;
    }
    if (roundUpCost(instance_, static_cast<double>(fixedCost) + lp.bound) >= incumbent_.cost()) {
        return true;
    }
    const std::vector<double> x(master_.values().begin(), master_.values().end());

    bool integral = true;
    std::size_t branch = x.size();
    double bestFraction = 0;
    for (std::size_t j = 0; j < x.size(); ++j) {
        const double fraction = x[j] - std::floor(x[j]);
        if (fraction > kIntegral && fraction < 1 - kIntegral) {
            integral = false;
            // The column closest to being cut once more: its rounding up changes least.
            if (fraction > bestFraction ||
                (fraction == bestFraction && branch < x.size() && x[j] > x[branch])) {
                bestFraction = fraction;
                branch = j;
            }
        }
    }
    if (integral) {
        std::vector<Fix> whole = fixed;
        for (std::size_t j = 0; j < x.size(); ++j) {
            if (const auto n = std::llround(x[j]); n > 0) {
                whole.push_back({j, n});
            }
        }
        incumbent_.offer(solutionOf(whole));
        // A converged integral optimum is the best this node holds; a heuristic dive also
        // stops here.
        if (lp.converged || !complete_) {
            return !done();
        }
    }
    offerRounding(node, fixed, false, false);
    if (done()) {
        return false;
    }
    if (branch == x.size()) {
        cutShort_ = true; // integral but not converged: nothing to branch on
        return true;
    }

    const Column& column = master_.column(branch);
    const std::int64_t cut =
        std::min(static_cast<std::int64_t>(std::ceil(x[branch])), room(instance_, column, node));
    const auto capOf = [&node](std::size_t j) {
        const auto it = node.upper.find(j);
        return it == node.upper.end() ? -1 : it->second;
    };

    // First child: cut `cut` bars this way (a dive also rounds the other columns down).
    {
        NodeState child = node;
        std::vector<Fix> childFixed = fixed;
        std::int64_t childCost = fixedCost;
        const auto fix = [&](std::size_t j, std::int64_t n) {
            const Column& c = master_.column(j);
            n = std::min(n, room(instance_, c, child));
            if (n <= 0) {
                return;
            }
            childFixed.push_back({j, n});
            childCost += n * instance_.stocks[c.stock].cost;
            for (const auto& [item, k] : c.content) {
                child.demand[item] -= n * k;
            }
            if (instance_.stocks[c.stock].limited()) {
                child.available[c.stock] -= n;
            }
            if (const std::int64_t cap = capOf(j); cap >= 0) {
                child.upper[j] = std::max<std::int64_t>(cap - n, 0);
            }
        };
        fix(branch, cut);
        if (!complete_) {
            for (std::size_t j = 0; j < x.size(); ++j) {
                if (j != branch) {
                    fix(j, static_cast<std::int64_t>(std::floor(x[j] + kIntegral)));
                }
            }
        }
        if (!explore(child, childFixed, childCost, discrepancies, depth + 1)) {
            return false;
        }
    }

    // Second child: at most cut - 1 bars this way.
    if (complete_ || discrepancies > 0) {
        NodeState child = node;
        const std::int64_t cap = capOf(branch);
        child.upper[branch] = cap >= 0 ? std::min(cap, cut - 1) : cut - 1;
        if (!explore(child, fixed, fixedCost, complete_ ? discrepancies : discrepancies - 1,
                     depth + 1)) {
            return false;
        }
    }
    return true;
}

} // namespace plan
