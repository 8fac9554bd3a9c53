#include "plan/solve.h"

#include "plan/bound.h"
#include "plan/cut_loop.h"
#include "plan/enumeration.h"
#include "plan/exact_cover.h"
#include "plan/first_fit.h"
#include "plan/gomory.h"
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

// Products of lengths and costs, which may not fit in 64 bits.
__extension__ using Wide = __int128;

// How many nodes each phase of the search may take before the next one has its turn; the
// phases then go round again with twice as many, until the plan is proven or the time is up.
constexpr std::int64_t kDiveNodes = 4000;
constexpr std::int64_t kCompleteNodes = 3000;
// The least time the cuts may take when the caller's budget allows it.
constexpr std::chrono::seconds kCutTime{2};
// Nodes of the exact cover over the listed patterns.
constexpr std::int64_t kCoverNodes = 300'000;
// Nodes of the exact cover tried for a bound that asks for full bars: kPieceCoverNodes for each
// length of piece, at most kEarlyCoverNodes (fewer where the patterns without waste are more than
// kFewPatterns a piece, and then not before the root), and the share of the time left it may take
// at most. A perfect packing of 400 lengths can take more than 30,000 nodes to find; a list of a
// few lengths wanted many times, as the segments of long bars are, is found or ruled out by the
// linear programme faster than by as many nodes.
constexpr std::int64_t kEarlyCoverNodes = 300'000;
constexpr std::int64_t kPieceCoverNodes = 1'000;
constexpr std::int64_t kDenseCoverNodes = 2'000;
constexpr int kCoverShare = 10;
constexpr std::size_t kFewPatterns = 16;
// The most pieces the cover leaves over for first-fit when it looks for a plan a step above a
// bound that no perfect packing meets.
constexpr std::int64_t kLeftOver = 40;

// The most patterns the exact completion lists before it leaves the proof to branch and price.
constexpr std::size_t kEnumerationLimit = 20'000;

std::vector<double> stockCosts(const Instance& instance, std::int64_t unit) {
    std::vector<double> costs;
    for (const Stock& stock : instance.stocks) {
        costs.push_back(static_cast<double>(stock.cost) / static_cast<double>(unit));
    }
    return costs;
}

// Every pattern a plan of at most `target` could use, with each piece priced by its length at
// the cheapest steel per millimetre. Where every stock can be bought these prices are feasible
// duals (no bar holds more than it costs) and give the length bound; the patterns they leave
// within `target` are those with little waste. Nothing where some stock is limited, where the
// length bound is below `atLeast` (mm), or where there are too many to list.
//
// With the cheapest steel at cost_a for a bar holding cap_a, a bar of stock s whose pieces take
// u mm has reduced cost cost_s − u·cost_a/cap_a, and every plan costs at least the bound W·cost_a
// /cap_a (W: the pieces' length, kerfs included) plus the reduced costs of its bars. A plan of
// at most `target` can therefore only hold bars with u ≥ W − (target − cost_s)·cap_a/cost_a,
// worked out here in whole numbers, so that no pattern is lost to rounding. Nothing either where
// they are more than `limit`.
std::optional<std::vector<Column>> patternsByLength(const Instance& instance, std::int64_t target,
                                                    double atLeast, std::size_t limit,
                                                    const Budget& budget) {
    if (std::ranges::any_of(instance.stocks, [](const Stock& s) { return s.limited(); })) {
        return std::nullopt;
    }
    std::size_t cheapest = 0;
    for (std::size_t s = 1; s < instance.stocks.size(); ++s) {
        // cost_s / cap_s < cost_a / cap_a, without dividing.
        if (static_cast<Wide>(instance.stocks[s].cost) * instance.capacity(cheapest) <
            static_cast<Wide>(instance.stocks[cheapest].cost) * instance.capacity(s)) {
            cheapest = s;
        }
    }
    const std::int64_t costA = instance.stocks[cheapest].cost;
    const std::int64_t capA = instance.capacity(cheapest);
    if (costA <= 0) {
        return std::nullopt;
    }
    Wide length = 0;
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        length += static_cast<Wide>(instance.weight(i)) * instance.items[i].demand;
    }
    const double bound =
        static_cast<double>(length) * static_cast<double>(costA) / static_cast<double>(capA);
    if (bound < atLeast - 1e-6) {
        return std::nullopt;
    }
    std::vector<std::int64_t> least;
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        const Wide room = static_cast<Wide>(target - instance.stocks[s].cost) * capA;
        // floor(room / costA), for room of either sign.
        const Wide spare = room >= 0 ? room / costA : -((-room + costA - 1) / costA);
        const Wide need = length - spare;
        least.push_back(need > instance.capacity(s) ? instance.capacity(s) + 1
                                                    : static_cast<std::int64_t>(need));
    }
    return enumerateFilling(instance, least, limit, budget);
}

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
    // Proven only when the bound passes the cheaper cost by more than its rounding, as every
    // bound is read (roundUpCost): on a perfect packing the bound equals that cost exactly, and a
    // hair above it in double precision must not prove a plan one bar too long.
    if (roundUpCost(instance, root.dualBound) > target) {
        incumbent.raiseBound(incumbent.cost());
        return std::nullopt;
    }
    // On a perfect packing the linear programme's duals are far from unique, and those Clp
    // returns can leave tens of thousands of patterns at reduced cost 0. The pieces priced by
    // their length, when they bound as high, leave at reduced cost 0 only those without waste.
    if (auto listed =
            patternsByLength(instance, target, root.dualBound, kEnumerationLimit, budget)) {
        return listed;
    }
    const double slack = std::max(0.0, static_cast<double>(target) - root.dualBound);
    return enumerateColumns(instance, root.itemDuals, root.stockDuals,
                            stockCosts(instance, master.unit()),
                            slack / static_cast<double>(master.unit()), kEnumerationLimit, budget);
}

// A plan of at most `target` of the listed patterns alone that cuts every piece exactly, by
// exact cover. Where such a plan would have to fill every bar, it could only be such a cover,
// and a search that runs out raises the bound above `target`: no perfect packing exists.
void cover(const Instance& instance, std::span<const Column> listed, Incumbent& incumbent,
           std::int64_t target, std::int64_t nodes, const Budget& budget) {
    if (incumbent.proven() || budget.expired() || target >= incumbent.cost()) {
        return;
    }
    CoverResult covered = coverExactly(instance, listed, target, nodes, budget);
    if (covered.plan) {
        incumbent.offer(std::move(*covered.plan));
    } else if (covered.none) {
        incumbent.raiseBound(roundUpCost(instance, static_cast<double>(target + 1)));
        // The plan a step dearer, where it exists, mostly still cuts bars without waste: a few
        // pieces left over fill the bars the step buys.
        if (!incumbent.proven()) {
            if (auto mostly =
                    coverMostly(instance, listed, incumbent.bound(), kLeftOver, nodes, budget)) {
                incumbent.offer(std::move(*mostly));
            }
        }
    }
}

// A bound that every bar of a plan would have to fill to meet: the patterns without waste are
// listed and covered, briefly. That finds a perfect packing, or shows there is none where the
// pieces make few of them. Tried for each bound once; with `fewOnly`, only where the pieces
// make few such patterns (at most kFewPatterns a piece), as many short pieces in a long bar
// make thousands, among which a search that can neither find a packing nor rule one out spends
// its whole share.
void coverWholeBars(const Instance& instance, Incumbent& incumbent, std::int64_t& tried,
                    bool fewOnly, const Budget& budget) {
    const std::int64_t least = incumbent.bound();
    if (incumbent.proven() || budget.expired() || least == tried || !cutsExactly(instance, least)) {
        return;
    }
    const std::size_t fewPatterns = kFewPatterns * instance.items.size();
    const auto listed = patternsByLength(
        instance, least, 0.0,
        fewOnly ? std::min(fewPatterns, kEnumerationLimit) : kEnumerationLimit, budget);
    const bool few = listed && listed->size() <= fewPatterns;
    if (!listed || (fewOnly && !few)) {
        return;
    }
    tried = least;
    const auto now = Budget::Clock::now();
    const Budget share(std::min(budget.deadline(), now + (budget.deadline() - now) / kCoverShare),
                       budget.stopToken());
    const std::int64_t nodes =
        few ? std::min(kEarlyCoverNodes,
                       kPieceCoverNodes * static_cast<std::int64_t>(instance.items.size()))
            : kDenseCoverNodes;
    cover(instance, *listed, incumbent, least, nodes, share);
}

// The dives with more and more second branches, then the complete search; each stops early
// once the plan is proven or the budget is spent.
void dives(TreeSearch& search, const Incumbent& incumbent, const Budget& budget,
           std::initializer_list<int> discrepancies, std::int64_t scale = 1) {
    for (const int d : discrepancies) {
        if (incumbent.proven() || budget.expired()) {
            return;
        }
        search.run(d, (d < 0 ? kCompleteNodes : kDiveNodes) * scale);
    }
}

// Until the plan is proven or the time is up: the complete search and dives with more second
// branches, round after round, each round allowed twice the nodes of the last. The complete
// search starts again from the root every round, which costs less than it seems, since each
// round's nodes are as many as all the earlier rounds' together.
void untilProvenOrTimeUp(TreeSearch& search, const Incumbent& incumbent, const Budget& budget) {
    std::int64_t scale = 2;
    for (int round = 0; !incumbent.proven() && !budget.expired(); ++round) {
        const int wider = 5 + round;
        dives(search, incumbent, budget, {-1, wider}, scale);
        scale = std::min<std::int64_t>(scale * 2, std::int64_t{1} << 20);
    }
}

// The time a round of cuts may take: no more than a third of the time left, and at least
// kCutTime of it, so that the search that follows may still improve the plan.
Budget cutShare(const Budget& budget) {
    const auto now = Budget::Clock::now();
    const auto share = std::max<Budget::Clock::duration>((budget.deadline() - now) / 3, kCutTime);
    return Budget(std::min(budget.deadline(), now + share), budget.stopToken());
}

// A plan one bar above a bound that branching cannot raise: the cuts may. Tried once the quick
// phases of the search have not proven the plan, and before the long ones.
void cut(const Instance& instance, const Master& master, Incumbent& incumbent, const Budget& budget,
         SearchStats& stats) {
    if (incumbent.proven() || budget.expired() || !cutsWorthTrying(instance)) {
        return;
    }
    const CutStats cuts = raiseBoundWithCuts(instance, master, incumbent, cutShare(budget));
    stats.cutRounds += cuts.rounds;
    stats.cuts += cuts.cuts;
}

// The listed patterns are all a cheaper plan could use: Gomory's cuts over them either show that
// none of them makes a cheaper plan, which proves the plan, or end on a cheaper plan. Given a
// third of the time left at most, as the cuts on the master.
void settle(const Instance& instance, std::span<const Column> listed, Incumbent& incumbent,
            const Budget& budget, SearchStats& stats) {
    if (incumbent.proven() || budget.expired()) {
        return;
    }
    const Budget cutBudget = cutShare(budget);
    GomoryStats gomory;
    // A cheaper plan found, the question is asked again below it: the list still holds every
    // pattern an even cheaper plan could use.
    for (bool again = true; again && !incumbent.proven() && !cutBudget.expired();) {
        CutOutcome outcome = settleByCuts(
            instance, listed, roundDownCost(instance, incumbent.cost() - 1), cutBudget, &gomory);
        again = outcome.kind == CutOutcome::Plan && incumbent.offer(std::move(outcome.plan));
        if (outcome.kind == CutOutcome::NoPlan) {
            incumbent.raiseBound(incumbent.cost());
        }
    }
    stats.gomoryRounds += gomory.rounds;
    stats.gomoryCuts += gomory.cuts;
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
    // Where the pieces' length alone asks for full bars, no linear programme is needed to find a
    // perfect packing or to show that there is none.
    std::int64_t covered = 0;
    coverWholeBars(instance, incumbent, covered, true, budget);
    if (!incumbent.proven() && !budget.expired()) {
        Master master(instance);
        master.add(startingColumns(instance, firstFit));
        TreeSearch search(instance, master, incumbent, budget);
        if (search.root()) {
            // The root's bound may ask for full bars where the length did not.
            coverWholeBars(instance, incumbent, covered, false, budget);
            // One dive first: most plans are proven by it. Then, if the patterns a cheaper plan
            // could use are few, the search goes on among those alone, where no pricing is
            // needed and a dive costs little; otherwise on the whole problem. Whatever is not
            // proven goes on until the caller's time is up: every better plan and bound is
            // reported as it is found.
            dives(search, incumbent, budget, {0});
            const auto listed = incumbent.proven() || budget.expired()
                                    ? std::nullopt
                                    : cheaperPatterns(instance, master, search, incumbent, budget);
            if (listed) {
                Master closed(instance);
                closed.add(*listed);
                TreeSearch exact(instance, closed, incumbent, budget);
                exact.close();
                // The dives alone: the complete search comes after the cover and the cuts,
                // which settle in a second or two what it may not settle in many.
                dives(exact, incumbent, budget, {0, 1, 2, 3, 4});
                // A plan of these patterns alone that cuts every piece exactly: where it exists,
                // an exact cover finds it where the linear programme's dives did not.
                cover(instance, *listed, incumbent, roundDownCost(instance, incumbent.cost() - 1),
                      kCoverNodes, budget);
                settle(instance, *listed, incumbent, budget, stats);
                cut(instance, master, incumbent, budget, stats);
                untilProvenOrTimeUp(exact, incumbent, budget);
                add(stats, exact, closed);
            } else {
                dives(search, incumbent, budget, {1, 2, 3, 4, -1});
                cut(instance, master, incumbent, budget, stats);
                untilProvenOrTimeUp(search, incumbent, budget);
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
