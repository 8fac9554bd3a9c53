#include "plan/optimize.h"

#include "plan/assemble.h"
#include "plan/instance.h"
#include "plan/joints/cutting.h"
#include "plan/solve.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace plan {
namespace {

bool hasLongBars(const CuttingList& list, const Steel& steel) {
    return std::ranges::any_of(list.longBars(),
                               [&steel](const Piece& bar) { return bar.steel == steel; });
}

// A steel with long bars: their segments are chosen with the cutting of everything else of the
// steel, and then cut as pieces with marks of their own.
GroupPlan planWithJoints(const CuttingList& list, const Steel& steel, const std::string& code,
                         const Budget& budget, const Improvement& improved) {
    const Settings& settings = list.settings();
    joints::Problem problem;
    std::vector<Piece> pieces;
    for (const Piece& bar : list.longBars()) {
        if (bar.steel == steel) {
            problem.bars.push_back(longBarOf(bar));
        }
    }
    for (const Piece& piece : list.pieces()) {
        if (piece.steel == steel) {
            problem.pieces.push_back(
                {steel.grade, steel.diameter, piece.mark, piece.length, piece.count});
            pieces.push_back(piece);
        }
    }
    for (const Offcut& offcut : list.offcuts()) {
        if (offcut.steel == steel) {
            problem.offcuts.push_back({offcut.length, 0, offcut.count, true});
        }
    }
    problem.stocks = settings.stockLengths;
    problem.kerf = settings.kerf;
    problem.keep = settings.keep;
    problem.settings = settings.joints;
    problem.seconds = std::max(
        0.0, std::chrono::duration<double>(budget.deadline() - Budget::Clock::now()).count());

    joints::JointsPlan planned = joints::planJoints(problem, budget.stopToken(), improved);
    // checkList put every long bar through the same stage with the same rules, so none fails
    // here; a plan without its long bars would be a wrong plan, not a smaller one.
    if (!planned.errors.empty() || planned.steels.size() != 1) {
        throw std::logic_error("long bars checked but not planned");
    }
    const joints::SteelPlan& made = planned.steels.front();
    for (const joints::SplicedBar& bar : made.spliced) {
        for (const joints::Layout& layout : bar.layouts) {
            for (const joints::Segment& segment : layout.segments) {
                Piece piece;
                piece.mark = segment.mark;
                piece.steel = steel;
                piece.code = code;
                piece.length = segment.length;
                piece.count = layout.bars;
                pieces.push_back(std::move(piece));
            }
        }
    }
    GroupPlan group = assemble(pieces, steel, code, made.instance, made.cut.solution);
    group.boundMm = made.boundMm;
    group.finish = made.cut.finish;
    group.spliced = made.spliced;
    group.overlapMm = made.overlapMm;
    group.joints = made.joints;
    group.boundScope = made.scope;
    group.byCost = settings.joints.byCost;
    group.boundFen = made.boundFen;
    return group;
}

// A group's share of the time left: the groups not started yet, this one among them, run
// `threads` at a time, so that a steel that cannot be proven leaves the steels waiting after it
// their time rather than searching to the end while they wait. A group that finishes early
// leaves the rest of its share to the groups after it.
Budget shareOf(const Budget& all, std::size_t left, unsigned threads) {
    const auto now = Budget::Clock::now();
    const std::size_t rounds = (left + threads - 1) / std::max(1U, threads);
    if (now >= all.deadline() || rounds <= 1) {
        return all;
    }
    return Budget(now + (all.deadline() - now) / static_cast<long>(rounds), all.stopToken());
}

} // namespace

Plan optimize(const CuttingList& list, const ProgressCallback& progress, std::stop_token stop,
              unsigned threads) {
    const auto start = Budget::Clock::now();
    const auto seconds = std::chrono::duration<double>(list.settings().seconds);
    const Budget budget(start + std::chrono::duration_cast<Budget::Clock::duration>(seconds), stop);
    const std::vector<Steel> steels = list.steels();

    Plan plan;
    plan.groups.resize(steels.size());
    plan.floors = list.floors();
    std::erase(plan.floors, std::string());
    std::mutex reporting;
    const auto report = [&](const Progress& p) {
        if (progress) {
            const std::lock_guard lock(reporting);
            progress(p);
        }
    };

    // Groups are taken from a shared counter: the steels without long bars first, largest first,
    // as they are mostly proven in milliseconds; then those with long bars, which search until
    // their share of the time is spent. Started the other way round, the long bars took the
    // whole time on every core and the steels after them were cut with no search at all.
    std::vector<std::size_t> order(steels.size());
    std::vector<Instance> instances;
    std::vector<std::string> codes;
    instances.reserve(steels.size());
    for (std::size_t g = 0; g < steels.size(); ++g) {
        order[g] = g;
        instances.push_back(makeInstance(list, steels[g]));
        codes.push_back(list.codeOf(steels[g]));
    }
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        const auto weight = [&](std::size_t g) {
            return std::pair{!hasLongBars(list, steels[g]), instances[g].items.size()};
        };
        return weight(a) > weight(b);
    });
    unsigned n = threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    n = static_cast<unsigned>(std::min<std::size_t>(n, steels.size()));
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k = next++; k < order.size(); k = next++) {
            const std::size_t g = order[k];
            const auto groupStart = Budget::Clock::now();
            const Improvement improved = [&](std::int64_t best, std::int64_t bound) {
                report({g, steels[g], codes[g], best, bound, false});
            };
            const Budget share = shareOf(budget, order.size() - k, n);
            GroupPlan group;
            if (hasLongBars(list, steels[g])) {
                group = planWithJoints(list, steels[g], codes[g], share, improved);
            } else {
                GroupResult result = solve(instances[g], share, improved);
                group = assemble(list, steels[g], instances[g], result.solution);
                group.boundMm = result.bound;
                group.finish = result.finish;
            }
            group.money = moneyOf(group, list.settings().joints.prices);
            group.optimal = group.stockMm == group.boundMm;
            if (group.optimal) {
                group.finish = Finish::Proven;
            }
            group.seconds =
                std::chrono::duration<double>(Budget::Clock::now() - groupStart).count();
            report({g, steels[g], codes[g], group.stockMm, group.boundMm, true});
            plan.groups[g] = std::move(group);
        }
    };

    if (n <= 1) {
        work();
    } else {
        std::vector<std::jthread> pool;
        for (unsigned t = 0; t < n; ++t) {
            pool.emplace_back(work);
        }
    }
    plan.cancelled = stop.stop_requested();
    plan.seconds = std::chrono::duration<double>(Budget::Clock::now() - start).count();
    return plan;
}

} // namespace plan
