#include "joints_family.h"

#include "plan/solve.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

// g++ 12 warns falsely (-Wrestrict) on a literal added to a string; appending avoids it.
std::string numbered(const char* prefix, int n) {
    std::string out = prefix;
    out += std::to_string(n);
    return out;
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

double worst(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::ranges::max_element(v);
}

struct Totals {
    std::int64_t bought = 0;
    std::int64_t waste = 0;
    std::int64_t joints = 0;
    std::int64_t material = 0;    // the material bound: lengths and fewest overlaps, rounded up
    std::int64_t bound = 0;       // no segmentation allowed buys less
    std::int64_t fen = 0;         // steel and joints at the prices
    std::int64_t practiceFen = 0; // the practice's steel and joints at the same prices
    int dearer = 0;               // lists where the practice bought less steel
    std::vector<double> wastes;   // % per list
    std::vector<double> aboveMaterial;
    std::vector<double> aboveBound;
    std::vector<double> times;
};

// What `p` costs at `prices`: its steel as planned (every way prices steel alike), its joints
// at `prices`.
std::int64_t fenAt(const plan::joints::JointsPlan& p, const plan::joints::Prices& prices) {
    std::int64_t fen = 0;
    for (const plan::joints::SteelPlan& s : p.steels) {
        fen += s.money.steel;
        for (const plan::joints::SplicedBar& bar : s.spliced) {
            fen += bar.joints() * prices.joint(bar.rule.method);
        }
    }
    return fen;
}

void add(Totals& t, const plan::joints::JointsPlan& p, const plan::joints::JointsPlan* practice,
         const plan::joints::Prices& prices = {}) {
    const std::int64_t waste = p.boughtMm() - p.piecesMm() - p.overlapMm();
    std::int64_t material = 0;
    std::int64_t bound = 0;
    for (const plan::joints::SteelPlan& s : p.steels) {
        material += s.materialMm;
        bound += s.boundAllMm;
        t.fen += s.money.total();
    }
    t.bought += p.boughtMm();
    t.waste += waste;
    t.joints += p.joints();
    t.material += material;
    t.bound += bound;
    t.wastes.push_back(percent(waste, p.boughtMm()));
    t.aboveMaterial.push_back(percent(p.boughtMm() - material, material));
    t.aboveBound.push_back(percent(p.boughtMm() - bound, bound));
    t.times.push_back(p.seconds);
    if (practice != nullptr) {
        t.practiceFen += fenAt(*practice, prices);
        t.dearer += practice->boughtMm() < p.boughtMm() ? 1 : 0;
    }
}

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
        std::int64_t mm = 0;
        for (const plan::Item& item : items) {
            mm += item.length * item.demand;
        }
        pieces += mm;
        const plan::Instance instance =
            plan::makeInstance(items, stocks, problem.kerf, problem.keep);
        const plan::GroupResult r = plan::solve(
            instance, plan::Budget::seconds(seconds / static_cast<double>(steels.size())));
        t.bought += r.solution.cost(instance);
        t.bound += r.bound;
        t.material += plan::joints::leastPurchase(problem.stocks, mm);
    }
    t.waste = t.bought - pieces;
    t.wastes.push_back(percent(t.waste, t.bought));
    t.aboveMaterial.push_back(percent(t.bought - t.material, t.material));
    t.aboveBound.push_back(percent(t.bought - t.bound, t.bound));
    t.times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return t;
}

void add(Totals& t, const Totals& one) {
    t.bought += one.bought;
    t.waste += one.waste;
    t.material += one.material;
    t.bound += one.bound;
    for (auto [to, from] :
         {std::pair{&t.wastes, &one.wastes}, std::pair{&t.aboveMaterial, &one.aboveMaterial},
          std::pair{&t.aboveBound, &one.aboveBound}, std::pair{&t.times, &one.times}}) {
        to->insert(to->end(), from->begin(), from->end());
    }
}

// A way of planning the long bars: a name and the settings it changes.
struct Way {
    const char* name;
    std::function<void(plan::joints::JointSettings&)> set;
};

const std::vector<Way>& ways() {
    static const std::vector<Way> kWays{
        {"joints with cutting",
         [](plan::joints::JointSettings&) {
         }},
        {"  a joint more allowed",
         [](plan::joints::JointSettings& s) {
             s.extraJoint = true;
         }},
        {"  by cost (default prices)",
         [](plan::joints::JointSettings& s) {
             s.byCost = true;
         }},
        {"  by cost, couplers 15 元",
         [](plan::joints::JointSettings& s) {
             s.byCost = true;
             s.prices.jointFen[static_cast<std::size_t>(plan::joints::Method::Coupler)] = 1500;
         }},
    };
    return kWays;
}

// A row of the table; `practice` to print what the row saves against it, `bounded` where the
// row has a bound over every segmentation.
void print(const char* name, const Totals& t, bool againstPractice, bool bounded) {
    std::printf("%-28s %9.1f km %7.2f%% %7.2f%% %7lld %7.2f%%", name,
                static_cast<double>(t.bought) / 1e6, percent(t.waste, t.bought), worst(t.wastes),
                static_cast<long long>(t.joints), percent(t.bought - t.material, t.material));
    if (bounded) {
        std::printf(" %7.2f%% %7.2f%%", percent(t.bought - t.bound, t.bound), worst(t.aboveBound));
    } else {
        std::printf(" %8s %8s", "-", "-");
    }
    std::printf(" %9.1f", static_cast<double>(t.fen) / 100.0 / 10'000.0);
    if (againstPractice && t.practiceFen > 0) {
        std::printf(" %8.0f %6.2f%% %3d", static_cast<double>(t.practiceFen - t.fen) / 100.0,
                    percent(t.practiceFen - t.fen, t.practiceFen), t.dearer);
    } else {
        std::printf(" %8s %7s %3s", "", "", "");
    }
    std::printf(" %7.3fs\n", median(t.times));
}

int runFamily(const std::string& family, std::uint64_t seed, int count, double seconds,
              int verbose) {
    const std::vector<Way>& all = ways();
    std::vector<Totals> chosen(all.size());
    Totals usual;
    Totals ordinary;
    for (int k = 0; k < count; ++k) {
        const std::uint64_t s = seed + static_cast<std::uint64_t>(k);
        plan::joints::Problem problem =
            family == "building" ? buildingLikeList(s) : jointsList(s, 150, 7500);
        problem.seconds = seconds;
        const plan::joints::JointsPlan q = plan::joints::planPractice(problem);
        if (!q.errors.empty()) {
            std::printf("%s list %d: %zu errors with the practice\n", family.c_str(), k,
                        q.errors.size());
            continue;
        }
        std::vector<plan::joints::JointsPlan> plans;
        for (const Way& way : all) {
            plan::joints::Problem p = problem;
            way.set(p.settings);
            plans.push_back(plan::joints::planJoints(p));
            if (!plans.back().errors.empty()) {
                std::printf("%s list %d: %zu errors with %s\n", family.c_str(), k,
                            plans.back().errors.size(), way.name);
            }
        }
        if (std::ranges::any_of(plans, [](const auto& p) { return !p.errors.empty(); })) {
            continue;
        }
        for (std::size_t w = 0; w < all.size(); ++w) {
            plan::joints::Problem priced = problem;
            all[w].set(priced.settings);
            add(chosen[w], plans[w], &q, priced.settings.prices);
        }
        add(usual, q, nullptr);
        add(ordinary, alone(problem, seconds));
        if (verbose) {
            const plan::joints::JointsPlan& p = plans.front();
            std::printf("%s %2d: %3zu long rows  bought %9lld / %9lld mm  waste %5.2f%% / %5.2f%%"
                        "  above bound %5.2f%%  joints %4lld / %4lld  %6.3f s / %6.3f s\n",
                        family.c_str(), k, problem.bars.size(),
                        static_cast<long long>(p.boughtMm()), static_cast<long long>(q.boughtMm()),
                        chosen.front().wastes.back(), usual.wastes.back(),
                        chosen.front().aboveBound.back(), static_cast<long long>(p.joints()),
                        static_cast<long long>(q.joints()), p.seconds, q.seconds);
            if (verbose > 1) {
                for (std::size_t g = 0; g < p.steels.size(); ++g) {
                    const plan::joints::SteelPlan& a = p.steels[g];
                    const plan::joints::SteelPlan& b = q.steels[g];
                    std::printf(
                        "   d%-4lld bought %9lld / %9lld  material %9lld  all %9lld"
                        "  waste %7lld / %7lld  overlap %7lld / %7lld  %s\n",
                        static_cast<long long>(a.diameter / 10), static_cast<long long>(a.boughtMm),
                        static_cast<long long>(b.boughtMm), static_cast<long long>(a.materialMm),
                        static_cast<long long>(a.boundAllMm), static_cast<long long>(a.wasteMm()),
                        static_cast<long long>(b.wasteMm()), static_cast<long long>(a.overlapMm),
                        static_cast<long long>(b.overlapMm),
                        a.scope == plan::joints::BoundScope::AllSegmentations ? "all" : "chosen");
                }
            }
            std::fflush(stdout);
        }
    }
    std::printf("%-28s %12s %8s %8s %7s %8s %8s %8s %9s %8s %7s %3s %8s\n",
                (family + " (n lists)").c_str(), "bought", "waste", "worst", "joints", "material",
                "bound", "worst", "cost 万元", "saves 元", "%", "n", "median");
    for (std::size_t w = 0; w < all.size(); ++w) {
        // By cost the bound is in money, not in steel.
        print(all[w].name, chosen[w], true, w < 2);
    }
    print("usual practice", usual, false, false);
    print("other pieces alone", ordinary, false, true);
    std::printf(
        "(%zu lists; waste = bought − pieces − overlaps; material, bound: how far above the "
        "material and above the bound over every segmentation allowed, and the worst list; "
        "cost: steel at 4000 元/t and joints at their prices; saves: against the practice at "
        "the same prices, "
        "and n the lists where the practice bought less steel; %.1f s allowed)\n\n",
        usual.times.size(), seconds);
    return 0;
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

plan::joints::Problem buildingLikeList(std::uint64_t seed) {
    Random random(seed * 104'729 + 31);
    plan::joints::Problem problem;
    static constexpr std::int64_t kDiameters[] = {120, 140, 160, 180, 200, 220, 250, 280, 320};
    int line = 2;
    for (const std::int64_t diameter : kDiameters) {
        for (int r = 0, rows = static_cast<int>(uniform(random, 2, 4)); r < rows; ++r) {
            plan::joints::LongBar bar;
            bar.mark = numbered("KL", line);
            bar.grade = "HRB400";
            bar.diameter = diameter;
            bar.length = uniform(random, 12'500, 40'000);
            bar.count = uniform(random, 4, 24);
            bar.sideBySide = std::min<std::int64_t>(bar.count, uniform(random, 2, 4));
            bar.share = 50;
            bar.line = line++;
            problem.bars.push_back(bar);
        }
        for (int r = 0, rows = static_cast<int>(uniform(random, 15, 40)); r < rows; ++r) {
            // Half under 2.5 m (stirrups' legs, ties, short bars), a third 2.5–6.5 m, the rest
            // up to 11.5 m.
            const std::int64_t band = uniform(random, 1, 6);
            const std::int64_t length = band <= 3   ? uniform(random, 300, 2499)
                                        : band <= 5 ? uniform(random, 2500, 6500)
                                                    : uniform(random, 6501, 11'500);
            problem.pieces.push_back(
                {"HRB400", diameter, numbered("L", line++), length, uniform(random, 2, 60)});
        }
    }
    return problem;
}

int runJoints(const std::vector<std::string>& families, std::uint64_t seed, int count,
              double seconds, int verbose) {
    for (const std::string& family : families) {
        runFamily(family, seed, count, seconds, verbose);
    }
    return 0;
}

} // namespace bench
