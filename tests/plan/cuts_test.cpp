// Subset-row cuts: their coefficients, their separation, the pricing that takes their duals,
// and above all the bound they raise, against exhaustive search (a bound above the optimum
// would prove a plan that is not the cheapest).
#include "plan/cut_loop.h"
#include "plan/cut_pricing.h"
#include "plan/incumbent.h"
#include "plan/instance.h"
#include "plan/master.h"
#include "plan/subset_row.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "tests/plan/exhaustive.h"

namespace {

using Random = std::mt19937_64;

std::int64_t uniform(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

struct Coefficient {
    const char* name;
    plan::Content content;
    std::int64_t expected;
};

class CutCoefficient : public testing::TestWithParam<Coefficient> {};

TEST_P(CutCoefficient, IsHalfThePiecesOfTheTripleRoundedDown) {
    const plan::SubsetRow cut{{1, 3, 5}};
    EXPECT_EQ(cut.coefficient(GetParam().content), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Contents, CutCoefficient,
                         testing::Values(Coefficient{"none_of_them", {{0, 2}, {2, 1}}, 0},
                                         Coefficient{"one_of_them", {{1, 1}, {2, 4}}, 0},
                                         Coefficient{"two_of_them", {{1, 1}, {3, 1}}, 1},
                                         Coefficient{"all_three", {{1, 1}, {3, 1}, {5, 1}}, 1},
                                         Coefficient{"one_twice", {{3, 2}}, 1},
                                         Coefficient{"four_pieces", {{1, 2}, {5, 2}}, 2},
                                         Coefficient{"five_pieces", {{1, 3}, {3, 1}, {5, 1}}, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RightSide {
    const char* name;
    std::vector<std::int64_t> demand;
    std::int64_t expected;
};

class CutRightSide : public testing::TestWithParam<RightSide> {};

TEST_P(CutRightSide, IsHalfTheDemandsRoundedDown) {
    const plan::SubsetRow cut{{0, 1, 2}};
    EXPECT_EQ(cut.rhs(GetParam().demand), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Demands, CutRightSide,
                         testing::Values(RightSide{"one_each", {1, 1, 1}, 1},
                                         RightSide{"even_sum", {2, 1, 1}, 2},
                                         RightSide{"odd_sum", {3, 2, 2}, 3},
                                         RightSide{"one_gone", {0, 1, 1}, 1},
                                         RightSide{"all_gone", {0, 0, 0}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Separation, FindsTheOddCycleOfThreePiecesCutInPairs) {
    // Three pieces each cut half in a bar with each of the others: 1½ bars hold two of them,
    // where no plan can have more than one.
    const plan::Content ab{{0, 1}, {1, 1}};
    const plan::Content bc{{1, 1}, {2, 1}};
    const plan::Content ac{{0, 1}, {2, 1}};
    const plan::Content d{{3, 1}};
    const std::vector<plan::SupportColumn> support{{&ab, 0.5}, {&bc, 0.5}, {&ac, 0.5}, {&d, 1.0}};
    const std::vector<std::int64_t> demand{1, 1, 1, 1};
    const std::vector<plan::SubsetRow> cuts = plan::separate(4, support, demand, {}, 10);
    ASSERT_EQ(cuts.size(), 1U);
    EXPECT_EQ(cuts[0], (plan::SubsetRow{{0, 1, 2}}));
    // Known cuts are not found again.
    EXPECT_TRUE(plan::separate(4, support, demand, cuts, 10).empty());
}

TEST(Separation, FindsNothingInAWholePlan) {
    const plan::Content ab{{0, 1}, {1, 1}};
    const plan::Content c{{2, 1}};
    const std::vector<plan::SupportColumn> support{{&ab, 1.0}, {&c, 1.0}};
    const std::vector<std::int64_t> demand{1, 1, 1};
    EXPECT_TRUE(plan::separate(3, support, demand, {}, 10).empty());
}

// Every content of a bar, by brute force, and the best worth under duals with cuts.
double bestWorth(const plan::Instance& instance, std::uint32_t stock,
                 std::span<const double> profit, std::span<const plan::SubsetRow> cuts,
                 std::span<const double> cutDual) {
    plan::Content content;
    double best = 0;
    std::function<void(std::uint32_t, std::int64_t)> walk = [&](std::uint32_t i,
                                                                std::int64_t room) {
        best = std::max(best, plan::worthWithCuts(content, profit, cuts, cutDual));
        for (std::uint32_t k = i; k < instance.items.size(); ++k) {
            const std::int64_t w = instance.weight(k);
            const std::int64_t have =
                !content.empty() && content.back().first == k ? content.back().second : 0;
            if (w <= room && have < instance.items[k].demand) {
                if (have > 0) {
                    ++content.back().second;
                } else {
                    content.emplace_back(k, 1U);
                }
                walk(k, room - w);
                if (content.back().second > 1) {
                    --content.back().second;
                } else {
                    content.pop_back();
                }
            }
        }
    };
    walk(0, instance.capacity(stock));
    return best;
}

class CutPricing : public testing::TestWithParam<std::uint64_t> {};

TEST_P(CutPricing, BoundsEveryContentAndFindsTheBest) {
    Random random(GetParam());
    const std::int64_t capacity = uniform(random, 20, 60);
    std::vector<plan::Item> items;
    for (int i = 0; i < static_cast<int>(uniform(random, 3, 9)); ++i) {
        items.push_back({uniform(random, 3, capacity / 2), uniform(random, 1, 3)});
    }
    const plan::Instance instance = plan::makeInstance(
        items, {{capacity, capacity, -1, false}, {capacity * 2 / 3, 0, 2, true}});
    const std::size_t n = instance.items.size();
    std::vector<double> profit(n);
    for (double& p : profit) {
        p = static_cast<double>(uniform(random, 0, 100)) / 100.0;
    }
    std::vector<plan::SubsetRow> cuts;
    std::vector<double> cutDual;
    for (int c = 0; c < 4 && n >= 3; ++c) {
        std::vector<std::uint32_t> pick(n);
        for (std::uint32_t i = 0; i < n; ++i) {
            pick[i] = i;
        }
        std::ranges::shuffle(pick, random);
        std::array<std::uint32_t, 3> three{pick[0], pick[1], pick[2]};
        std::ranges::sort(three);
        cuts.push_back({three});
        cutDual.push_back(-static_cast<double>(uniform(random, 0, 60)) / 100.0);
    }
    std::vector<std::int64_t> demand;
    for (const plan::Item& item : instance.items) {
        demand.push_back(item.demand);
    }
    const std::vector<std::int64_t> available{-1, 2};
    // A price low enough that something prices out, and cost in the master's units.
    const std::vector<double> stockCost{0.3, 0.0};
    const std::vector<double> stockDual{0.0, -0.1};
    const plan::CutPricingResult priced =
        plan::priceWithCuts(instance, profit, cuts, cutDual, demand, available, stockCost,
                            stockDual, 1'000'000, 50, plan::Budget::seconds(30));
    ASSERT_TRUE(priced.complete);
    for (std::uint32_t s = 0; s < 2; ++s) {
        const double best = bestWorth(instance, s, profit, cuts, cutDual);
        const double threshold = stockCost[s] - stockDual[s];
        EXPECT_GE(priced.upperValue[s], best - 1e-9) << "stock " << s;
        EXPECT_NEAR(priced.upperValue[s], std::max(best, threshold), 1e-9) << "stock " << s;
    }
    for (const plan::Column& column : priced.columns) {
        EXPECT_TRUE(plan::fits(instance, column.stock, column.content));
        EXPECT_GT(plan::worthWithCuts(column.content, profit, cuts, cutDual),
                  stockCost[column.stock] - stockDual[column.stock]);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, CutPricing, testing::Range<std::uint64_t>(1, 61));

// Pieces of a quarter to a half of the bin, three to a bin at most: the linear programme's
// plans pair and triple them fractionally, where the cuts are active.
struct CutRun {
    std::int64_t bound = 0;
    std::int64_t optimum = 0;
    std::int64_t lengthBound = 0;
    std::size_t cuts = 0;
};

CutRun cutRun(std::uint64_t seed) {
    Random random(seed);
    const std::int64_t capacity = uniform(random, 40, 100);
    std::vector<std::int64_t> sizes;
    std::vector<plan::Item> items;
    const auto n = static_cast<int>(uniform(random, 5, 11));
    for (int i = 0; i < n; ++i) {
        sizes.push_back(uniform(random, capacity / 5, capacity / 2 + 2));
        items.push_back({sizes.back(), 1});
    }
    std::ranges::sort(sizes, std::greater<>{});
    const plan::Instance instance = plan::makeInstance(items, {{capacity, capacity, -1, false}});
    // The incumbent is every piece in a bar of its own, far above the optimum, so that a bound
    // the cuts raised too far is not hidden by the incumbent's cost.
    plan::Incumbent incumbent(instance, {});
    plan::Solution alone;
    for (std::uint32_t i = 0; i < instance.items.size(); ++i) {
        alone.patterns.push_back({0, instance.items[i].demand, {{i, 1U}}});
    }
    incumbent.offer(alone);
    plan::Master root(instance);
    std::vector<plan::Column> start;
    for (const plan::BarPattern& p : alone.patterns) {
        start.push_back({p.stock, p.content});
    }
    root.add(start);
    const plan::CutStats stats =
        plan::raiseBoundWithCuts(instance, root, incumbent, plan::Budget::seconds(30));
    std::int64_t total = 0;
    for (const std::int64_t s : sizes) {
        total += s;
    }
    return {incumbent.bound(), plan_test::leastBins(sizes, capacity) * capacity,
            (total + capacity - 1) / capacity * capacity, stats.cuts};
}

class CutBound : public testing::TestWithParam<std::uint64_t> {};

TEST_P(CutBound, NeverExceedsTheOptimum) {
    const CutRun run = cutRun(GetParam());
    EXPECT_LE(run.bound, run.optimum) << "cuts " << run.cuts;
    // The cuts never take the bound below what the pieces' length gives.
    EXPECT_GE(run.bound, run.lengthBound);
}

TEST(CutBound, CutsAreAddedAndRaiseTheBoundOnSomeInstances) {
    std::size_t withCuts = 0;
    std::size_t raised = 0;
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        const CutRun run = cutRun(seed);
        withCuts += run.cuts > 0 ? 1 : 0;
        raised += run.cuts > 0 && run.bound > run.lengthBound ? 1 : 0;
    }
    std::printf("%zu of 200 with cuts, %zu of them above the length bound\n", withCuts, raised);
    EXPECT_GT(withCuts, 0U);
}

INSTANTIATE_TEST_SUITE_P(Seeds, CutBound, testing::Range<std::uint64_t>(1, 201));

} // namespace
