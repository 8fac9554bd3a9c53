#include "plan/solve.h"

#include "plan/bound.h"
#include "plan/cut_loop.h"
#include "plan/enumeration.h"
#include "plan/first_fit.h"
#include "plan/incumbent.h"
#include "plan/master.h"
#include "plan/polish.h"
#include "plan/search.h"

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <optional>

namespace plan {
namespace {

// The columns the master starts from: the first-fit plan's patterns, and each piece alone in
// the cheapest bar that holds it, so that every node's master has a solution.
std::vector<Column> startingColumns(const Instance& instance, const Solution& firstFit) {
    std::vector<Column> columns;
    for (const BarPattern& p : firstFit.patterns) {
        columns.push_back({p.stock, p.content});
    }
    for (std::uint32_t i = 0; i < instance.items.size(); ++i) {
        std::uint32_t cheapest = 0;
        bool found = false;
        for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
            const Stock& stock = instance.stocks[s];
            if (!stock.limited() && instance.items[i].length <= stock.length &&
                (!found || stock.cost < instance.stocks[cheapest].cost)) {
                cheapest = s;
                found = true;
            }
        }
        if (found) {
            columns.push_back({cheapest, {{i, 1}}});
        }
    }
    return columns;
}

// How many nodes each phase of the search may take before the next one has its turn. A plan
// still one bar above its bound after all of them is very likely optimal with a bound that
// cannot be reached; more time rarely settles it, so the search ends rather than wait out
// the clock.
constexpr std::int64_t kDiveNodes = 4000;
constexpr std::int64_t kCompleteNodes = 3000;
// And all of them together take this many times what the root took, but no less than
// kLeastEffort and no more than kMostEffort.
constexpr int kEffort = 6;
constexpr std::chrono::milliseconds kLeastEffort{1500};
constexpr std::chrono::milliseconds kMostEffort{2000};

// The most patterns the exact completion lists before it leaves the proof to branch and price.
constexpr std::size_t kEnumerationLimit = 20'000;

// Every pattern a plan cheaper than the incumbent could use (see enumeration.h), or nothing
// when there are too many to list. When not even the cheapest such plan can exist, the
// incumbent is proven optimal on the spot.
std::optional<std::vector<Column>> cheaperPatterns(const Instance& instance, const Master& master,
                                                   TreeSearch& search, Incumbent& incumbent,
                                                   const Budget& budget) {
    const NodeLp root = search.solveRoot();
    if (incumbent.proven() || !root.converged) {
        return std::nullopt;
    }
    const std::int64_t target = roundDownCost(instance, incumbent.cost() - 1);
    const double slack = static_cast<double>(target) - root.dualBound;
    if (slack < 0) {
        incumbent.raiseBound(incumbent.cost());
        return std::nullopt;
    }
    std::vector<double> stockCost;
    for (const Stock& stock : instance.stocks) {
        stockCost.push_back(static_cast<double>(stock.cost) / static_cast<double>(master.unit()));
    }
    return enumerateColumns(instance, root.itemDuals, root.stockDuals, stockCost,
                            slack / static_cast<double>(master.unit()), kEnumerationLimit, budget);
}

// The dives with more and more second branches, then the complete search; each stops early
// once the plan is proven or the effort is spent.
void dives(TreeSearch& search, const Incumbent& incumbent, const Budget& effort,
           std::initializer_list<int> discrepancies) {
    for (const int d : discrepancies) {
        if (incumbent.proven() || effort.expired()) {
            return;
        }
        search.run(d, d < 0 ? kCompleteNodes : kDiveNodes);
    }
}

void add(SearchStats& stats, const TreeSearch& search, const Master& master) {
    stats.rounds += search.rounds();
    stats.nodes += search.nodes();
    stats.repairs += master.repairs();
}

} // namespace

Budget Budget::seconds(double s, std::stop_token stop) {
    return {Clock::now() +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s)),
            std::move(stop)};
}

GroupResult solve(const Instance& instance, const Budget& budget, const Improvement& improved) {
    Incumbent incumbent(instance, improved);
    const Solution firstFit = firstFitDecreasing(instance);
    // The bound first, so that the first report has one.
    incumbent.raiseBound(lengthBound(instance));
    incumbent.offer(firstFit);

    SearchStats stats;
    if (!incumbent.proven() && !budget.expired()) {
        const auto start = Budget::Clock::now();
        Master master(instance);
        master.add(startingColumns(instance, firstFit));
        // The search works within `effort`: the caller's budget at first, and once the root is
        // solved, no more than a few times what the root took (see kEffort).
        Budget effort = budget;
        TreeSearch search(instance, master, incumbent, effort);
        if (search.root()) {
            const auto rootTime = Budget::Clock::now() - start;
            const auto allowed =
                std::clamp<Budget::Clock::duration>(rootTime * kEffort, kLeastEffort, kMostEffort);
            effort = Budget(std::min(budget.deadline(), Budget::Clock::now() + allowed),
                            budget.stopToken());
            // One dive first: most plans are proven by it. Then, if the patterns a cheaper plan
            // could use are few, the search goes on among those alone, where no pricing is
            // needed and a dive costs little; otherwise on the whole problem.
            dives(search, incumbent, effort, {0});
            // A plan one bar above a bound that branching cannot raise: the cuts may.
            if (!incumbent.proven() && !effort.expired() && cutsWorthTrying(instance)) {
                const CutStats cuts = raiseBoundWithCuts(instance, master, incumbent, effort);
                stats.cutRounds += cuts.rounds;
                stats.cuts += cuts.cuts;
            }
            const auto listed = incumbent.proven() || effort.expired()
                                    ? std::nullopt
                                    : cheaperPatterns(instance, master, search, incumbent, effort);
            if (listed) {
                Master closed(instance);
                closed.add(*listed);
                TreeSearch exact(instance, closed, incumbent, effort);
                exact.close();
                dives(exact, incumbent, effort, {0, 1, 2, 3, 4, -1});
                add(stats, exact, closed);
            } else {
                dives(search, incumbent, effort, {1, 2, 3, 4, -1});
            }
        }
        add(stats, search, master);
        stats.columns = master.size();
    }

    GroupResult result;
    result.solution = incumbent.solution();
    gatherRemnants(instance, result.solution);
    result.bound = incumbent.bound();
    result.stats = stats;
    result.finish = incumbent.proven() ? Finish::Proven
                    : budget.stopped() ? Finish::Cancelled
                    : budget.expired() ? Finish::TimeUp
                                       : Finish::Searched;
    return result;
}

} // namespace plan
