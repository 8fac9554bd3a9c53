#include "joints_family.h"

#include "plan/solve.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "families.h"

namespace bench {
namespace {

using Random = std::mt19937_64;

std::int64_t uniform(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::ranges::sort(v);
    return v[v.size() / 2];
}

double percent(std::int64_t part, std::int64_t whole) {
    return whole == 0 ? 0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

struct Totals {
    std::int64_t bought = 0;
    std::int64_t waste = 0;
    std::int64_t joints = 0;
    std::vector<double> wastes; // % per list
    std::vector<double> times;
};

// The ordinary pieces of the steels that have long bars, cut alone by the same solver: the
// waste the list has without any long bar, which no segmentation can take away.
Totals alone(const plan::joints::Problem& problem, double seconds) {
    Totals t;
    std::map<std::pair<std::string, std::int64_t>, std::vector<plan::Item>> steels;
    for (const plan::joints::LongBar& bar : problem.bars) {
        steels[{bar.grade, bar.diameter}];
    }
    for (const plan::joints::Piece& p : problem.pieces) {
        if (const auto found = steels.find({p.grade, p.diameter}); found != steels.end()) {
            found->second.push_back({p.length, p.count});
        }
    }
    std::vector<plan::Stock> stocks;
    for (const std::int64_t length : problem.stocks) {
        stocks.push_back({length, length, -1, false});
    }
    const auto start = std::chrono::steady_clock::now();
    std::int64_t pieces = 0;
    for (const auto& [key, items] : steels) {
        for (const plan::Item& item : items) {
            pieces += item.length * item.demand;
        }
        const plan::Instance instance =
            plan::makeInstance(items, stocks, problem.kerf, problem.keep);
        const plan::GroupResult r = plan::solve(
            instance, plan::Budget::seconds(seconds / static_cast<double>(steels.size())));
        t.bought += r.solution.cost(instance);
    }
    t.waste = t.bought - pieces;
    t.wastes.push_back(percent(t.waste, t.bought));
    t.times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return t;
}

void add(Totals& t, const Totals& one) {
    t.bought += one.bought;
    t.waste += one.waste;
    t.wastes.insert(t.wastes.end(), one.wastes.begin(), one.wastes.end());
    t.times.insert(t.times.end(), one.times.begin(), one.times.end());
}

void add(Totals& t, const plan::joints::JointsPlan& p) {
    const std::int64_t waste = p.boughtMm() - p.piecesMm() - p.overlapMm();
    t.bought += p.boughtMm();
    t.waste += waste;
    t.joints += p.joints();
    t.wastes.push_back(percent(waste, p.boughtMm()));
    t.times.push_back(p.seconds);
}

} // namespace

plan::joints::Problem jointsList(std::uint64_t seed, int rows, std::int64_t pieces) {
    Random random(seed * 7919 + 17);
    plan::joints::Problem problem;
    for (const plan::PieceRow& row : building(seed, rows, pieces)) {
        const std::int64_t diameter = std::stoll(row.diameter) * 10;
        // The long members are the long bars here, so the other rows' lengths are drawn in
        // the bands of the rebar family: many short pieces, some middle, few near the stock.
        const std::int64_t band = uniform(random, 1, 10);
        const std::int64_t length = band <= 6   ? uniform(random, 300, 3000)
                                    : band <= 9 ? uniform(random, 3000, 9000)
                                                : uniform(random, 9000, 11'900);
        const std::int64_t count = std::stoll(row.count);
        if (diameter >= 120 && uniform(random, 0, 4) == 0) {
            plan::joints::LongBar bar;
            bar.mark = row.mark;
            bar.grade = "HRB400";
            bar.diameter = diameter;
            bar.length = uniform(random, 12'500, 40'000);
            // A beam's or a column's bars: a few side by side in each element.
            bar.count = std::min<std::int64_t>(count, 24);
            bar.sideBySide = std::min<std::int64_t>(bar.count, uniform(random, 2, 4));
            // Lapped (22 mm and under) at 50 %, as beams' through-bars are where needed.
            bar.share = 50;
            bar.line = row.line;
            problem.bars.push_back(bar);
        } else {
            problem.pieces.push_back({"HRB400", diameter, row.mark, length, count});
        }
    }
    return problem;
}

int runJoints(std::uint64_t seed, int count, double seconds, int verbose) {
    Totals chosen;
    Totals usual;
    Totals extra; // a joint more allowed a bar where it saves steel
    Totals ordinary;
    std::int64_t boundAll = 0;    // no segmentation buys less
    std::int64_t boundChosen = 0; // no cutting of the segmentations chosen buys less
    int worse = 0;
    for (int k = 0; k < count; ++k) {
        plan::joints::Problem problem = jointsList(seed + static_cast<std::uint64_t>(k), 150, 7500);
        problem.seconds = seconds;
        const plan::joints::JointsPlan p = plan::joints::planJoints(problem);
        const plan::joints::JointsPlan q = plan::joints::planPractice(problem);
        if (!p.errors.empty() || !q.errors.empty()) {
            std::printf("list %d: %zu errors with joints chosen, %zu with the practice\n", k,
                        p.errors.size(), q.errors.size());
            for (const plan::joints::JointError& e : p.errors) {
                const auto* bar =
                    &*std::ranges::find(problem.bars, e.line, &plan::joints::LongBar::line);
                std::printf("  line %d %s: problem %d value %lld (d %lld, %lld mm, %lld bars, "
                            "%lld side by side)\n",
                            e.line, e.mark.c_str(), static_cast<int>(e.problem),
                            static_cast<long long>(e.value), static_cast<long long>(bar->diameter),
                            static_cast<long long>(bar->length), static_cast<long long>(bar->count),
                            static_cast<long long>(bar->sideBySide));
            }
            continue;
        }
        plan::joints::Problem more = problem;
        more.settings.extraJoint = true;
        const plan::joints::JointsPlan r = plan::joints::planJoints(more);
        if (r.errors.empty()) {
            add(extra, r);
        }
        add(chosen, p);
        add(usual, q);
        for (const plan::joints::SteelPlan& steel : p.steels) {
            boundAll += steel.boundAllMm;
            boundChosen += steel.boundMm;
        }
        add(ordinary, alone(problem, seconds));
        worse += p.boughtMm() > q.boughtMm() ? 1 : 0;
        if (verbose) {
            std::printf("list %2d: %3zu long rows  bought %9lld / %9lld mm  waste %5.2f%% / %5.2f%%"
                        "  joints %4lld / %4lld  %6.3f s / %6.3f s\n",
                        k, problem.bars.size(), static_cast<long long>(p.boughtMm()),
                        static_cast<long long>(q.boughtMm()), chosen.wastes.back(),
                        usual.wastes.back(), static_cast<long long>(p.joints()),
                        static_cast<long long>(q.joints()), p.seconds, q.seconds);
            if (verbose > 1) {
                for (std::size_t g = 0; g < p.steels.size(); ++g) {
                    const plan::joints::SteelPlan& a = p.steels[g];
                    const plan::joints::SteelPlan& b = q.steels[g];
                    std::printf(
                        "   d%-4lld bought %9lld / %9lld  bound %9lld / %9lld  all %9lld"
                        "  waste %7lld / %7lld  overlap %7lld / %7lld  %s / %s\n",
                        static_cast<long long>(a.diameter / 10), static_cast<long long>(a.boughtMm),
                        static_cast<long long>(b.boughtMm), static_cast<long long>(a.cut.bound),
                        static_cast<long long>(b.cut.bound), static_cast<long long>(a.boundAllMm),
                        static_cast<long long>(a.wasteMm()), static_cast<long long>(b.wasteMm()),
                        static_cast<long long>(a.overlapMm), static_cast<long long>(b.overlapMm),
                        a.cut.finish == plan::Finish::Proven ? "proven" : "gap",
                        b.cut.finish == plan::Finish::Proven ? "proven" : "gap");
                }
            }
            std::fflush(stdout);
        }
    }
    std::printf("%-22s %12s %9s %9s %8s %8s\n", "long bars (n lists)", "bought", "waste %",
                "worst %", "joints", "median");
    const auto line = [](const char* name, const Totals& t) {
        // HRB400 of mixed diameters: tonnes are not summed here, metres are.
        std::printf("%-22s %10.1f km %8.2f%% %8.2f%% %8lld %7.3fs\n", name,
                    static_cast<double>(t.bought) / 1e6, percent(t.waste, t.bought),
                    t.wastes.empty() ? 0.0 : *std::ranges::max_element(t.wastes),
                    static_cast<long long>(t.joints), median(t.times));
    };
    line("joints with cutting", chosen);
    line("  a joint more allowed", extra);
    line("usual practice", usual);
    line("other pieces alone", ordinary);
    std::printf("bounds: %.1f km over all segmentations, %.1f km for those chosen\n",
                static_cast<double>(boundAll) / 1e6, static_cast<double>(boundChosen) / 1e6);
    std::printf("(%zu lists of 150 rows, a fifth 12.5–40 m; waste = bought − pieces − overlaps; "
                "%d lists where the practice bought less; %.1f s allowed)\n",
                chosen.times.size(), worse, seconds);
    return 0;
}

} // namespace bench
