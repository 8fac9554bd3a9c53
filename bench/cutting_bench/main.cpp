// Runs the optimiser and first-fit decreasing on generated instance families and prints, per
// family, how often each reaches the lower bound, how far above it they end, and how long they
// take. Instance by instance with --verbose.
//   cutting_bench [--family NAME] [--count N] [--seed S] [--seconds S] [--verbose]
//                 [--only INSTANCE] [--before FILE] [--record FILE]
//   cutting_bench --building [--seed S] [--seconds S]
//   cutting_bench --joints [--family joints|building] [--count N] [--seed S] [--seconds S]
//                 [--verbose] [--steels]
#include "plan/bound.h"
#include "plan/first_fit.h"
#include "plan/optimize.h"
#include "plan/solve.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "families.h"
#include "joints_family.h"

namespace {

struct Row {
    int instances = 0;
    int atBound = 0;
    int proven = 0;
    int known = 0;     // instances whose optimum is known by construction
    int atOptimum = 0; // of those, planned at it
    double excess = 0; // bars over the bound, summed
    double worstExcess = 0;
    std::vector<double> times;
    int ffdAtBound = 0;
    double ffdExcess = 0;
    std::vector<double> ffdTimes;
};

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0;
    }
    std::ranges::sort(v);
    return v[v.size() / 2];
}

double longest(const plan::Instance& instance) {
    std::int64_t l = 0;
    for (const plan::Stock& s : instance.stocks) {
        if (!s.limited()) {
            l = std::max(l, s.length);
        }
    }
    return static_cast<double>(l);
}

// Figures of an earlier run, per family, as --record wrote them: printed beside today's.
std::map<std::string, std::string> before(const std::string& file) {
    std::map<std::string, std::string> figures;
    if (file.empty()) {
        return figures;
    }
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const auto space = line.find(' ');
        if (space != std::string::npos) {
            figures[line.substr(0, space)] = line.substr(space + 1);
        }
    }
    return figures;
}

} // namespace

// The whole list of a building through the optimiser's entry point, as the command runs it.
int runBuilding(std::uint64_t seed, double seconds) {
    const std::vector<plan::PieceRow> rows = bench::building(seed, 2000, 100'000);
    plan::Settings settings;
    settings.seconds = seconds;
    const auto t0 = std::chrono::steady_clock::now();
    const plan::Checked checked = plan::checkList(rows, {}, settings);
    if (!checked.errors.empty()) {
        std::printf("the generated list has errors\n");
        return 1;
    }
    const plan::Plan plan = plan::optimize(checked.list);
    const double time =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    int proven = 0;
    std::int64_t bound = 0;
    std::int64_t bars = 0;
    std::int64_t pieces = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        proven += g.optimal ? 1 : 0;
        bound += g.boundMm;
        for (const plan::StockUse& use : g.bought) {
            bars += use.count;
        }
        pieces += g.pieces;
    }
    std::printf("building: %zu rows, %lld pieces, %zu diameters: %lld new bars, %.1f t of steel, "
                "%lld mm above the bound, %d of %zu diameters proven optimal, %.2f s\n",
                rows.size(), static_cast<long long>(pieces), plan.groups.size(),
                static_cast<long long>(bars), plan.stockKg() / 1000.0,
                static_cast<long long>(plan.stockMm() - bound), proven, plan.groups.size(), time);
    return 0;
}

int main(int argc, char** argv) {
    std::vector<std::string> families = bench::familyNames();
    int count = 0;
    std::uint64_t seed = 1;
    double seconds = 10;
    bool verbose = false;
    std::string only;
    bool chosen = false; // a --family was given: only the families given
    bool building = false;
    bool joints = false;
    bool steels = false;    // with --joints: each steel of each list
    std::string beforeFile; // figures of an earlier run to print beside these
    std::string beforeOut;  // where to append this run's figures
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        if (arg == "--family" && a + 1 < argc) {
            if (!chosen) {
                families.clear();
                chosen = true;
            }
            families.emplace_back(argv[++a]);
        } else if (arg == "--count" && a + 1 < argc) {
            count = std::stoi(argv[++a]);
        } else if (arg == "--seed" && a + 1 < argc) {
            seed = std::stoull(argv[++a]);
        } else if (arg == "--seconds" && a + 1 < argc) {
            seconds = std::stod(argv[++a]);
        } else if (arg == "--only" && a + 1 < argc) {
            only = argv[++a];
            verbose = true;
        } else if (arg == "--before" && a + 1 < argc) {
            beforeFile = argv[++a];
        } else if (arg == "--record" && a + 1 < argc) {
            beforeOut = argv[++a];
        } else if (arg == "--building") {
            building = true;
        } else if (arg == "--joints") {
            joints = true;
        } else if (arg == "--steels") {
            steels = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            std::fprintf(stderr, "usage: cutting_bench [--family NAME] [--count N] [--seed S] "
                                 "[--seconds S] [--verbose] [--only NAME] [--before FILE] "
                                 "[--record FILE]\n");
            return 2;
        }
    }

    if (building) {
        return runBuilding(seed, seconds);
    }
    if (joints) {
        const int detail = steels ? 2 : verbose ? 1 : 0;
        const std::vector<std::string> lists =
            chosen ? families : std::vector<std::string>{"joints", "building"};
        return bench::runJoints(lists, seed, count > 0 ? count : 20, seconds, detail);
    }
    using Clock = std::chrono::steady_clock;
    std::map<std::string, Row> rows;
    for (const std::string& family : families) {
        Row& row = rows[family];
        for (const bench::Case& c : bench::generate(family, seed, count)) {
            if (!only.empty() && c.name != only) {
                continue;
            }
            const auto t0 = Clock::now();
            const plan::Solution ffd = plan::firstFitDecreasing(c.instance);
            const auto t1 = Clock::now();
            const plan::GroupResult result =
                plan::solve(c.instance, plan::Budget::seconds(seconds));
            const auto t2 = Clock::now();
            const double time = std::chrono::duration<double>(t2 - t1).count();
            const double bar = longest(c.instance);
            const std::int64_t cost = result.solution.cost(c.instance);
            const double excess = static_cast<double>(cost - result.bound) / bar;
            const double ffdExcess = static_cast<double>(ffd.cost(c.instance) - result.bound) / bar;
            if (plan::check(c.instance, result.solution)) {
                std::printf("INVALID PLAN: %s\n", c.name.c_str());
                return 1;
            }
            ++row.instances;
            row.atBound += cost == result.bound ? 1 : 0;
            row.proven += result.finish == plan::Finish::Proven ? 1 : 0;
            if (c.optimum > 0) {
                ++row.known;
                row.atOptimum += cost == c.optimum ? 1 : 0;
                if (result.bound > c.optimum) {
                    std::printf("BOUND ABOVE THE OPTIMUM: %s\n", c.name.c_str());
                    return 1;
                }
            }
            row.excess += excess;
            row.worstExcess = std::max(row.worstExcess, excess);
            row.times.push_back(time);
            row.ffdAtBound += ffd.cost(c.instance) == result.bound ? 1 : 0;
            row.ffdExcess += ffdExcess;
            row.ffdTimes.push_back(std::chrono::duration<double>(t1 - t0).count());
            if (verbose) {
                std::printf(
                    "%-24s items %4zu  bound %10lld  plan %10lld  ffd %10lld  %7.3f s  %-6s"
                    "  rounds %5d nodes %5lld columns %6zu repairs %d patterns %zu cuts %zu/%d"
                    " gomory %d/%d\n",
                    c.name.c_str(), c.instance.items.size(), static_cast<long long>(result.bound),
                    static_cast<long long>(cost), static_cast<long long>(ffd.cost(c.instance)),
                    time, result.finish == plan::Finish::Proven ? "proven" : "gap",
                    result.stats.rounds, static_cast<long long>(result.stats.nodes),
                    result.stats.columns, result.stats.repairs, result.solution.patterns.size(),
                    result.stats.cuts, result.stats.cutRounds, result.stats.gomoryCuts,
                    result.stats.gomoryRounds);
                std::fflush(stdout);
            }
        }
    }

    const std::map<std::string, std::string> earlier = before(beforeFile);
    std::printf("%-10s %5s | %-46s | %-26s | %s\n", "", "", "optimiser", "first-fit decreasing",
                earlier.empty() ? "" : "before (same machine, unchanged code)");
    std::printf("%-10s %5s | %7s %8s %7s %6s %7s %7s | %8s %6s %9s | %s\n", "family", "n",
                "optimum", "at bound", "proven", "excess", "median", "worst", "at bound", "excess",
                "median", earlier.empty() ? "" : "optimum at bound  proven  median   worst");
    for (const std::string& family : families) {
        const Row& r = rows[family];
        if (r.times.empty()) {
            continue;
        }
        const double n = std::max(1, r.instances);
        char optimum[16] = "      -";
        if (r.known > 0) {
            std::snprintf(optimum, sizeof optimum, "%6.1f%%", 100.0 * r.atOptimum / r.known);
        }
        const auto it = earlier.find(family);
        std::printf(
            "%-10s %5d | %s %7.1f%% %6.1f%% %6.3f %6.3fs %6.2fs | %7.1f%% %6.3f %8.4fs | %s\n",
            family.c_str(), r.instances, optimum, 100.0 * r.atBound / n, 100.0 * r.proven / n,
            r.excess / n, median(r.times), *std::ranges::max_element(r.times),
            100.0 * r.ffdAtBound / n, r.ffdExcess / n, median(r.ffdTimes),
            it == earlier.end() ? "" : it->second.c_str());
        if (!beforeOut.empty()) {
            if (FILE* out = std::fopen(beforeOut.c_str(), "a")) {
                std::fprintf(out, "%s %s %7.1f%% %6.1f%% %6.3fs %6.2fs\n", family.c_str(), optimum,
                             100.0 * r.atBound / n, 100.0 * r.proven / n, median(r.times),
                             *std::ranges::max_element(r.times));
                std::fclose(out);
            }
        }
    }
    std::printf("(excess: mean bars of the longest stock above the lower bound; times per "
                "instance, %.0f s allowed)\n",
                seconds);
    return 0;
}
