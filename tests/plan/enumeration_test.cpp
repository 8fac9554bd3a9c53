// The listing of patterns by how much of a bar they fill: every pattern that takes at least the
// length asked of a stock's bar is listed once, and no other. A pattern missed there would let
// the exact cover say that no plan exists where one does: a false proof.
#include "plan/enumeration.h"
#include "plan/solution.h"

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include <gtest/gtest.h>

namespace {

using Listed = std::set<std::pair<std::uint32_t, plan::Content>>;

// Every content of every stock's bar that fits and fills at least `least[s]`, by trying every
// count of every piece.
Listed bruteForce(const plan::Instance& instance, const std::vector<std::int64_t>& least) {
    Listed all;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        std::vector<std::uint32_t> counts(instance.items.size(), 0);
        std::function<void(std::size_t, std::int64_t)> choose = [&](std::size_t k,
                                                                    std::int64_t used) {
            if (used > instance.capacity(s)) {
                return;
            }
            if (k == instance.items.size()) {
                plan::Content content;
                for (std::uint32_t i = 0; i < counts.size(); ++i) {
                    if (counts[i] > 0) {
                        content.emplace_back(i, counts[i]);
                    }
                }
                if (!content.empty() && used >= least[s]) {
                    all.insert({s, content});
                }
                return;
            }
            for (std::int64_t m = 0; m <= instance.items[k].demand; ++m) {
                counts[k] = static_cast<std::uint32_t>(m);
                choose(k + 1, used + m * instance.weight(k));
            }
            counts[k] = 0;
        };
        choose(0, 0);
    }
    return all;
}

Listed asSet(const std::vector<plan::Column>& columns) {
    Listed set;
    for (const plan::Column& c : columns) {
        EXPECT_TRUE(set.insert({c.stock, c.content}).second) << "a pattern listed twice";
    }
    return set;
}

struct FillingCase {
    const char* name;
    std::vector<plan::Item> items;
    std::vector<plan::Stock> stocks;
    std::int64_t kerf;
    std::vector<std::int64_t> least; // per stock, in the order makeInstance sorts them
    std::size_t expected;            // patterns listed
};

std::ostream& operator<<(std::ostream& out, const FillingCase& c) {
    return out << c.name;
}

class Filling : public testing::TestWithParam<FillingCase> {};

TEST_P(Filling, ListsWhatFillsEnough) {
    const FillingCase& c = GetParam();
    const plan::Instance instance = plan::makeInstance(c.items, c.stocks, c.kerf);
    const auto listed = plan::enumerateFilling(instance, c.least, 1000, plan::Budget::seconds(30));
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(listed->size(), c.expected);
    EXPECT_EQ(asSet(*listed), bruteForce(instance, c.least));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Filling,
    testing::Values(
        // 60 + 40 and 50 + 50: the bar filled exactly, nothing else.
        FillingCase{
            "whole_bars", {{60, 1}, {50, 2}, {40, 1}}, {{100, 100, -1, false}}, 0, {100}, 2},
        FillingCase{"within_ten",
                    {{60, 1}, {50, 2}, {40, 1}, {35, 1}},
                    {{100, 100, -1, false}},
                    0,
                    {90},
                    // 60+40, 60+35, 50+50, 50+40; not 50+35
                    4},
        FillingCase{"more_than_the_bar", {{60, 1}, {50, 1}}, {{100, 100, -1, false}}, 0, {101}, 0},
        FillingCase{"anything",
                    {{60, 1}, {50, 1}},
                    {{100, 100, -1, false}},
                    0,
                    {0},
                    // 60, 50
                    2},
        // With a kerf of 5 a bar of 100 holds 47 + 48 (52 + 53 ≤ 105): the last cut needs none.
        FillingCase{"kerf_at_the_last_cut",
                    {{47, 1}, {48, 1}, {30, 1}},
                    {{100, 100, -1, false}},
                    5,
                    {105},
                    1},
        FillingCase{"two_stocks",
                    {{40, 3}, {30, 2}},
                    {{120, 120, -1, false}, {100, 100, -1, false}},
                    0,
                    {120, 100},
                    // 120: 40×3; 100: 40+30+30
                    2},
        FillingCase{"a_stock_that_holds_too_little",
                    {{40, 3}, {30, 2}},
                    {{120, 120, -1, false}, {100, 100, -1, false}},
                    0,
                    {120, 101},
                    1}),
    [](const auto& info) { return std::string(info.param.name); });

// Seeded small lists, one or two stocks, demands above one and sometimes a kerf, each asked for
// a length near the bar: the listing agrees with trying every content.
TEST(FillingAgreement, WithEveryContentOfSeededLists) {
    std::mt19937_64 random(27);
    const auto uniform = [&random](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    std::size_t total = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<plan::Item> items;
        for (int i = 0; i < uniform(2, 7); ++i) {
            items.push_back({uniform(5, 70), uniform(1, 3)});
        }
        std::vector<plan::Stock> stocks{{100, 100, -1, false}};
        if (uniform(0, 1) == 1) {
            stocks.push_back({uniform(60, 190), 0, -1, false});
            stocks.back().cost = stocks.back().length;
        }
        const std::int64_t kerf = uniform(0, 2) == 0 ? uniform(1, 4) : 0;
        const plan::Instance instance = plan::makeInstance(items, stocks, kerf);
        std::vector<std::int64_t> least;
        for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
            least.push_back(instance.capacity(s) - uniform(0, 25));
        }
        const auto listed =
            plan::enumerateFilling(instance, least, 100'000, plan::Budget::seconds(30));
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(listed.has_value());
        const Listed expected = bruteForce(instance, least);
        ASSERT_EQ(asSet(*listed), expected);
        for (const plan::Column& c : *listed) {
            EXPECT_TRUE(plan::fits(instance, c.stock, c.content));
        }
        total += expected.size();
    }
    // The lists are not all empty.
    EXPECT_GT(total, 300U);
}

TEST(FillingLimit, TooManyPatternsListNothing) {
    std::vector<plan::Item> items;
    for (std::int64_t l = 10; l < 40; ++l) {
        items.push_back({l, 2});
    }
    const plan::Instance instance = plan::makeInstance(items, {{100, 100, -1, false}});
    const std::vector<std::int64_t> least{90};
    EXPECT_FALSE(plan::enumerateFilling(instance, least, 50, plan::Budget::seconds(30)));
    EXPECT_TRUE(plan::enumerateFilling(instance, least, 1'000'000, plan::Budget::seconds(30)));
}

} // namespace
