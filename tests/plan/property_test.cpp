// Plans of seeded random lists, checked as a site engineer would check them, and small
// instances against an exhaustive search.
#include "plan/bound.h"
#include "plan/first_fit.h"
#include "plan/instance.h"
#include "plan/optimize.h"
#include "plan/solve.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/plan/exhaustive.h"

namespace {

using Random = std::mt19937_64;

std::int64_t uniform(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

struct Generated {
    std::vector<plan::PieceRow> rows;
    std::vector<plan::OffcutRow> offcuts;
    plan::Settings settings;
};

Generated randomList(std::uint64_t seed) {
    Random random(seed);
    Generated g;
    const int stocks = static_cast<int>(uniform(random, 1, 3));
    g.settings.stockLengths.clear();
    for (int s = 0; s < stocks; ++s) {
        const std::int64_t length = uniform(random, 20, 120) * 100;
        if (std::ranges::find(g.settings.stockLengths, length) == g.settings.stockLengths.end()) {
            g.settings.stockLengths.push_back(length);
        }
    }
    const std::int64_t longest = *std::ranges::max_element(g.settings.stockLengths);
    g.settings.kerf = uniform(random, 0, 1) == 0 ? 0 : uniform(random, 1, 5);
    g.settings.keep = uniform(random, 0, 1000);
    g.settings.seconds = 0.5;
    const char* diameters[] = {"8", "12", "25"};
    // Grades as formats::resolveSteels leaves them: a name, or none. Two grades of one diameter
    // are two steels that must never share a bar.
    const char* grades[] = {"", "HRB400", "HRB500", "HRB400E"};
    const int rows = static_cast<int>(uniform(random, 1, 40));
    for (int r = 0; r < rows; ++r) {
        // Appended, not added: g++ 12 warns falsely (-Wrestrict) on chains of string additions.
        std::string length = std::to_string(uniform(random, 100, longest));
        if (uniform(random, 0, 4) == 0) {
            length.append(".5");
        }
        std::string mark = "M";
        mark.append(std::to_string(r));
        g.rows.push_back({mark, diameters[uniform(random, 0, 2)],
                          uniform(random, 0, 9) == 0 ? std::to_string(longest) : length,
                          std::to_string(uniform(random, 1, uniform(random, 0, 3) == 0 ? 300 : 6)),
                          r + 2, grades[uniform(random, 0, 3)]});
    }
    // Offcuts only of steels that have pieces.
    for (int o = 0; o < static_cast<int>(uniform(random, 0, 4)); ++o) {
        const plan::PieceRow& of = g.rows[static_cast<std::size_t>(uniform(random, 0, rows - 1))];
        g.offcuts.push_back({of.diameter, std::to_string(uniform(random, 300, longest)),
                             std::to_string(uniform(random, 1, 5)), o + 2, of.grade});
    }
    return g;
}

class RandomList : public testing::TestWithParam<std::uint64_t> {};

TEST_P(RandomList, PlanIsSoundAndBetweenBoundAndFirstFit) {
    const Generated g = randomList(GetParam());
    const plan::Checked checked = plan::checkList(g.rows, g.offcuts, g.settings);
    ASSERT_TRUE(checked.errors.empty());
    const plan::Plan plan = plan::optimize(checked.list);

    // Every piece of every row cut exactly its count, from a bar of its own steel: marks are
    // unique to a row, so a mark cut in the group of another grade shows up as a mark of the
    // wrong steel.
    std::map<std::pair<plan::Steel, std::string>, std::int64_t> wanted;
    for (const plan::Piece& p : checked.list.pieces()) {
        wanted[{p.steel, p.mark}] += p.count;
    }
    std::map<std::pair<plan::Steel, std::string>, std::int64_t> cut;
    std::set<plan::Steel> groups;
    for (const plan::GroupPlan& group : plan.groups) {
        SCOPED_TRACE(testing::Message()
                     << "steel " << group.steel.grade << " " << group.steel.diameter);
        EXPECT_TRUE(groups.insert(group.steel).second) << "two groups of one steel";
        std::map<std::int64_t, std::int64_t> offcutsTaken;
        std::int64_t bought = 0;
        for (const plan::Pattern& p : group.patterns) {
            EXPECT_GT(p.count, 0);
            std::int64_t used = 0;
            for (const plan::Cut& c : p.cuts) {
                cut[{group.steel, c.mark}] += p.count;
                used += c.length;
            }
            const auto n = static_cast<std::int64_t>(p.cuts.size());
            // No bar longer than its stock, every cut but one that ends at the bar's end
            // taking its kerf.
            EXPECT_LE(used + (n - 1) * g.settings.kerf, p.stock);
            EXPECT_EQ(p.remnant, std::max<std::int64_t>(0, p.stock - used - n * g.settings.kerf));
            if (p.offcut) {
                offcutsTaken[p.stock] += p.count;
            } else {
                EXPECT_TRUE(std::ranges::find(g.settings.stockLengths, p.stock) !=
                            g.settings.stockLengths.end());
                bought += p.stock * p.count;
            }
        }
        EXPECT_EQ(bought, group.stockMm);
        for (const auto& [length, taken] : offcutsTaken) {
            std::int64_t there = 0;
            for (const plan::Offcut& o : checked.list.offcuts()) {
                there += o.steel == group.steel && o.length == length ? o.count : 0;
            }
            EXPECT_LE(taken, there) << "offcuts of " << length;
        }
        // bound ≤ plan ≤ first-fit decreasing.
        const plan::Instance instance = plan::makeInstance(checked.list, group.steel);
        EXPECT_LE(group.boundMm, group.stockMm);
        EXPECT_LE(group.stockMm, plan::firstFitDecreasing(instance).cost(instance));
        EXPECT_EQ(group.optimal, group.boundMm == group.stockMm);
    }
    EXPECT_EQ(cut, wanted);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomList, testing::Range<std::uint64_t>(1, 61));

class SmallBinPacking : public testing::TestWithParam<std::uint64_t> {};

TEST_P(SmallBinPacking, OptimumAndBoundAgreeWithExhaustiveSearch) {
    Random random(GetParam());
    const std::int64_t capacity = uniform(random, 10, 30);
    std::vector<std::int64_t> sizes;
    std::vector<plan::Item> items;
    for (int i = 0; i < static_cast<int>(uniform(random, 3, 11)); ++i) {
        sizes.push_back(uniform(random, 1, capacity));
        items.push_back({sizes.back(), 1});
    }
    std::ranges::sort(sizes, std::greater<>{});
    const plan::Instance instance = plan::makeInstance(items, {{capacity, capacity, -1, false}});
    const plan::GroupResult result = plan::solve(instance, plan::Budget::seconds(10));
    const std::int64_t best = plan_test::leastBins(sizes, capacity) * capacity;
    EXPECT_FALSE(plan::check(instance, result.solution));
    EXPECT_EQ(result.solution.cost(instance), best);
    EXPECT_LE(result.bound, best);
    EXPECT_EQ(result.finish, plan::Finish::Proven);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SmallBinPacking, testing::Range<std::uint64_t>(1, 201));

// Lists whose pieces add up to a whole number of bars: the search first looks for a perfect
// packing among the patterns without waste, may show that none exists and raise the bound a
// bar, and then looks for the plan a bar dearer with a few pieces left over. Each of these steps
// is checked here against exhaustive search: the bound never passes the optimum.
class SmallWholeBars : public testing::TestWithParam<std::uint64_t> {};

TEST_P(SmallWholeBars, OptimumAndBoundAgreeWithExhaustiveSearch) {
    Random random(GetParam());
    std::vector<std::int64_t> sizes;
    std::int64_t sum = 0;
    while (true) {
        sizes.clear();
        sum = 0;
        const auto n = uniform(random, 4, 11);
        for (std::int64_t i = 0; i + 1 < n; ++i) {
            sizes.push_back(uniform(random, 12, 62));
            sum += sizes.back();
        }
        const std::int64_t last = (sum + 12 + 99) / 100 * 100 - sum;
        if (last <= 62) {
            sizes.push_back(last);
            break;
        }
    }
    std::vector<plan::Item> items;
    for (const std::int64_t size : sizes) {
        items.push_back({size, 1});
    }
    std::ranges::sort(sizes, std::greater<>{});
    const plan::Instance instance = plan::makeInstance(items, {{100, 100, -1, false}});
    const plan::GroupResult result = plan::solve(instance, plan::Budget::seconds(10));
    const std::int64_t best = plan_test::leastBins(sizes, 100) * 100;
    EXPECT_FALSE(plan::check(instance, result.solution));
    EXPECT_EQ(result.solution.cost(instance), best);
    EXPECT_LE(result.bound, best);
    EXPECT_EQ(result.finish, plan::Finish::Proven);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SmallWholeBars, testing::Range<std::uint64_t>(1, 301));

struct Rounding {
    const char* name;
    std::vector<std::int64_t> stocks;
    double value;
    std::int64_t up;
    std::int64_t down;
};

std::ostream& operator<<(std::ostream& out, const Rounding& r) {
    return out << r.name;
}

class CostRounding : public testing::TestWithParam<Rounding> {};

TEST_P(CostRounding, LandsOnACostSomePlanCanHave) {
    std::vector<plan::Stock> stocks;
    for (const std::int64_t s : GetParam().stocks) {
        stocks.push_back({s, s, -1, false});
    }
    const plan::Instance instance = plan::makeInstance({{1, 1}}, stocks);
    EXPECT_EQ(plan::roundUpCost(instance, GetParam().value), GetParam().up);
    EXPECT_EQ(plan::roundDownCost(instance, static_cast<std::int64_t>(GetParam().value)),
              GetParam().down);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, CostRounding, testing::Values(
    Rounding{"NothingCostsNothing", {9000, 12000}, 0, 0, 0},
    Rounding{"BelowTheShortestBar", {9000, 12000}, 2500, 9000, 0},
    Rounding{"NoPlanCosts15000", {9000, 12000}, 15000, 18000, 12000},
    Rounding{"ExactlyACost", {9000, 12000}, 21000, 21000, 21000},
    Rounding{"AHairAboveIsFloatingPoint", {9000, 12000}, 21000.000001, 21000, 21000},
    Rounding{"AMillimetreAboveIsReal", {9000, 12000}, 21001, 24000, 21000},
    Rounding{"EveryMultipleOf3000From18000", {9000, 12000}, 69001, 72000, 69000},
    Rounding{"OneLength", {150}, 151, 300, 150},
    Rounding{"CoprimeLengths", {7, 5}, 11.5, 12, 10}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct PerMm {
    const char* name;
    std::vector<plan::Stock> stocks;
    std::int64_t kerf;
    double least;
};

std::ostream& operator<<(std::ostream& out, const PerMm& p) {
    return out << p.name;
}

class CheapestPerMm : public testing::TestWithParam<PerMm> {};

// The exact cover prunes with this price and proves with it that no piece can be cut twice:
// a price too high would prune a plan away or claim a proof that does not hold.
TEST_P(CheapestPerMm, IsTheLowestCostOverCapacity) {
    const plan::Instance instance =
        plan::makeInstance({{1, 1}}, GetParam().stocks, GetParam().kerf);
    EXPECT_DOUBLE_EQ(plan::cheapestPerMm(instance), GetParam().least);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Stocks, CheapestPerMm, testing::Values(
    PerMm{"OneStock", {{12000, 12000, -1, false}}, 0, 1.0},
    PerMm{"TheKerfLengthensEveryBar", {{12000, 12000, -1, false}}, 3, 12000.0 / 12003.0},
    PerMm{"TheCheaperMillimetreWins", {{12000, 12000, -1, false}, {9000, 6000, -1, false}}, 0,
          6000.0 / 9000.0},
    PerMm{"NotTheShorterBar", {{12000, 9000, -1, false}, {9000, 9000, -1, false}}, 0, 0.75},
    PerMm{"AYardOffcutIsFree", {{12000, 12000, -1, false}, {3000, 0, 2, true}}, 0, 0.0}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

} // namespace
