#include "plan/solve.h"

#include "plan/bound.h"
#include "plan/enumeration.h"
#include "plan/first_fit.h"
#include "plan/incumbent.h"
#include "plan/master.h"
#include "plan/polish.h"
#include "plan/search.h"

#include <algorithm>
#include <chrono>

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
constexpr std::int64_t kDiveNodes = 1500;
constexpr std::int64_t kCompleteNodes = 3000;
// And all of them together take no more than this many times what the root took, or
// kLeastEffort, whichever is longer.
constexpr int kEffort = 6;
constexpr std::chrono::milliseconds kLeastEffort{1500};

// The most patterns the exact completion lists before it leaves the proof to branch and price.
constexpr std::size_t kEnumerationLimit = 20'000;

// Settles whether any plan is cheaper than the incumbent by listing every pattern such a plan
// could use (see enumeration.h) and searching them completely.
void closeByEnumeration(const Instance& instance, Master& master, TreeSearch& search,
                        Incumbent& incumbent, const Budget& budget, SearchStats& stats) {
    const NodeLp root = search.solveRoot();
    if (incumbent.proven() || !root.converged) {
        return;
    }
    const std::int64_t target = roundDownCost(instance, incumbent.cost() - 1);
    const double slack = static_cast<double>(target) - root.dualBound;
    if (slack < 0) {
        incumbent.raiseBound(incumbent.cost());
        return;
    }
    std::vector<double> stockCost;
    for (const Stock& stock : instance.stocks) {
        stockCost.push_back(static_cast<double>(stock.cost) / static_cast<double>(master.unit()));
    }
    const auto columns =
        enumerateColumns(instance, root.itemDuals, root.stockDuals, stockCost,
                         slack / static_cast<double>(master.unit()), kEnumerationLimit, budget);
    if (!columns) {
        return;
    }
    Master listed(instance);
    listed.add(*columns);
    TreeSearch exact(instance, listed, incumbent, budget);
    exact.close();
    exact.run(-1, kCompleteNodes);
    stats.rounds += exact.rounds();
    stats.nodes += exact.nodes();
    stats.repairs += listed.repairs();
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
                std::max<Budget::Clock::duration>(kLeastEffort, rootTime * kEffort);
            effort = Budget(std::min(budget.deadline(), Budget::Clock::now() + allowed),
                            budget.stopToken());
            for (const int discrepancies : {0, 1, 2}) {
                if (incumbent.proven() || effort.expired()) {
                    break;
                }
                search.run(discrepancies, kDiveNodes);
            }
            if (!incumbent.proven() && !effort.expired()) {
                closeByEnumeration(instance, master, search, incumbent, effort, stats);
            }
            if (!incumbent.proven() && !effort.expired()) {
                search.run(-1, kCompleteNodes);
            }
        }
        stats.rounds += search.rounds();
        stats.nodes += search.nodes();
        stats.columns = master.size();
        stats.repairs += master.repairs();
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
