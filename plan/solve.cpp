#include "plan/solve.h"

#include "plan/bound.h"
#include "plan/first_fit.h"
#include "plan/incumbent.h"
#include "plan/master.h"
#include "plan/search.h"

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

} // namespace

Budget Budget::seconds(double s, std::stop_token stop) {
    return {Clock::now() +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s)),
            std::move(stop)};
}

GroupResult solve(const Instance& instance, const Budget& budget, const Improvement& improved) {
    Incumbent incumbent(instance, improved);
    const Solution firstFit = firstFitDecreasing(instance);
    incumbent.offer(firstFit);
    incumbent.raiseBound(lengthBound(instance));

    SearchStats stats;
    if (!incumbent.proven() && !budget.expired()) {
        Master master(instance);
        master.add(startingColumns(instance, firstFit));
        TreeSearch search(instance, master, incumbent, budget);
        if (search.root()) {
            for (const int discrepancies : {0, 1, 2, -1}) {
                if (incumbent.proven() || budget.expired()) {
                    break;
                }
                search.run(discrepancies);
            }
        }
        stats = {search.rounds(), search.nodes(), master.size(), master.repairs()};
    }

    GroupResult result;
    result.solution = incumbent.solution();
    result.bound = incumbent.bound();
    result.stats = stats;
    result.finish = incumbent.proven() ? Finish::Proven
                    : budget.stopped() ? Finish::Cancelled
                    : budget.expired() ? Finish::TimeUp
                                       : Finish::Searched;
    return result;
}

} // namespace plan
