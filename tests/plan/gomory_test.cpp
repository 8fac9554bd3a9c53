// The proof by Gomory's cuts over a fixed list of patterns, against the cheapest plan found by
// trying every one: a proof that no plan exists at a cost some plan has would be the worst
// fault the optimiser can have.
#include "plan/gomory.h"
#include "plan/instance.h"
#include "plan/solution.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <random>

#include <gtest/gtest.h>

namespace {

using Random = std::mt19937_64;

std::int64_t uniform(Random& random, std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random);
}

// Every content of every stock that fits and cuts no piece more often than wanted.
std::vector<plan::Column> everyPattern(const plan::Instance& instance) {
    std::vector<plan::Column> columns;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        plan::Content content;
        std::function<void(std::uint32_t, std::int64_t)> walk = [&](std::uint32_t from,
                                                                    std::int64_t room) {
            if (!content.empty()) {
                columns.push_back({s, content});
            }
            for (std::uint32_t k = from; k < instance.items.size(); ++k) {
                const std::int64_t have =
                    !content.empty() && content.back().first == k ? content.back().second : 0;
                if (instance.weight(k) > room || have >= instance.items[k].demand) {
                    continue;
                }
                if (have > 0) {
                    ++content.back().second;
                } else {
                    content.emplace_back(k, 1U);
                }
                walk(k, room - instance.weight(k));
                if (content.back().second > 1) {
                    --content.back().second;
                } else {
                    content.pop_back();
                }
            }
        };
        walk(0, instance.capacity(s));
    }
    return columns;
}

// The cheapest plan that cuts every piece exactly as wanted, by trying every one: the first
// piece still wanted is cut in some bar, so branching on that bar's pattern covers every plan.
std::int64_t cheapest(const plan::Instance& instance, const std::vector<plan::Column>& columns) {
    std::vector<std::int64_t> left;
    for (const plan::Item& item : instance.items) {
        left.push_back(item.demand);
    }
    for (const plan::Stock& stock : instance.stocks) {
        left.push_back(stock.available);
    }
    constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max() / 4;
    std::map<std::vector<std::int64_t>, std::int64_t> memo;
    const std::size_t items = instance.items.size();
    std::function<std::int64_t()> best = [&]() -> std::int64_t {
        const auto first =
            std::ranges::find_if(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(items),
                                 [](std::int64_t n) { return n > 0; });
        if (first == left.begin() + static_cast<std::ptrdiff_t>(items)) {
            return 0;
        }
        if (const auto known = memo.find(left); known != memo.end()) {
            return known->second;
        }
        const auto wanted = static_cast<std::uint32_t>(first - left.begin());
        std::int64_t least = kNone;
        for (const plan::Column& column : columns) {
            const bool cutsIt = std::ranges::any_of(
                column.content, [&](const auto& entry) { return entry.first == wanted; });
            const bool fitsLeft =
                std::ranges::all_of(column.content,
                                    [&](const auto& entry) {
                                        return left[entry.first] >=
                                               static_cast<std::int64_t>(entry.second);
                                    }) &&
                left[items + column.stock] != 0;
            if (!cutsIt || !fitsLeft) {
                continue;
            }
            for (const auto& [item, n] : column.content) {
                left[item] -= n;
            }
            --left[items + column.stock]; // -1 - 1 stays negative: unlimited
            least = std::min(least, instance.stocks[column.stock].cost + best());
            ++left[items + column.stock];
            for (const auto& [item, n] : column.content) {
                left[item] += n;
            }
        }
        memo[left] = least;
        return least;
    };
    return best();
}

struct Small {
    plan::Instance instance;
    std::vector<plan::Column> columns;
    std::int64_t optimum = 0;
};

// A few pieces wanted a few times each, one or two new lengths, sometimes an offcut or two.
Small small(std::uint64_t seed) {
    Random random(seed);
    const std::int64_t capacity = uniform(random, 20, 60);
    std::vector<plan::Item> items;
    for (int i = 0; i < static_cast<int>(uniform(random, 2, 7)); ++i) {
        items.push_back({uniform(random, 3, capacity * 2 / 3), uniform(random, 1, 5)});
    }
    std::vector<plan::Stock> stocks{{capacity, capacity, -1, false}};
    if (seed % 2 == 0) {
        const std::int64_t shorter = uniform(random, capacity / 2, capacity - 1);
        stocks.push_back({shorter, shorter, -1, false});
    }
    if (seed % 3 == 0) {
        stocks.push_back(
            {uniform(random, capacity / 3, capacity - 1), 0, uniform(random, 1, 2), true});
    }
    Small s{plan::makeInstance(items, stocks), {}, 0};
    s.columns = everyPattern(s.instance);
    s.optimum = cheapest(s.instance, s.columns);
    return s;
}

class GomoryProof : public testing::TestWithParam<std::uint64_t> {};

TEST_P(GomoryProof, NeverDeniesAPlanThatExistsAndFindsOnlySoundOnes) {
    const Small s = small(GetParam());
    plan::GomoryStats stats;
    const plan::CutOutcome outcome =
        plan::settleByCuts(s.instance, s.columns, s.optimum, plan::Budget::seconds(30), &stats);
    EXPECT_NE(outcome.kind, plan::CutOutcome::NoPlan)
        << "optimum " << s.optimum << " after " << stats.rounds << " rounds, " << stats.cuts
        << " cuts";
    if (outcome.kind == plan::CutOutcome::Plan) {
        EXPECT_EQ(plan::check(s.instance, outcome.plan), std::nullopt);
        EXPECT_EQ(outcome.plan.cost(s.instance), s.optimum);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, GomoryProof, testing::Range<std::uint64_t>(1, 301));

TEST(GomoryProof, ProvesThatNothingCheaperExistsWhereTheCutsAreNeeded) {
    int proven = 0;
    int byCuts = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        const Small s = small(seed);
        plan::GomoryStats stats;
        const plan::CutOutcome outcome = plan::settleByCuts(s.instance, s.columns, s.optimum - 1,
                                                            plan::Budget::seconds(30), &stats);
        ASSERT_NE(outcome.kind, plan::CutOutcome::Plan) << "seed " << seed;
        if (outcome.kind == plan::CutOutcome::NoPlan) {
            ++proven;
            byCuts += stats.cuts > 0 ? 1 : 0;
        }
    }
    std::printf("%d of 300 proven below the optimum, %d of them by cuts\n", proven, byCuts);
    EXPECT_GT(byCuts, 0);
}

TEST(GomoryProof, EndsOnAWholePlanWhereTheCutsLeaveOne) {
    int found = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        const Small s = small(seed);
        found +=
            plan::settleByCuts(s.instance, s.columns, s.optimum, plan::Budget::seconds(30)).kind ==
                    plan::CutOutcome::Plan
                ? 1
                : 0;
    }
    std::printf("%d of 300 ended on a plan at the optimum\n", found);
    EXPECT_GT(found, 0);
}

} // namespace
