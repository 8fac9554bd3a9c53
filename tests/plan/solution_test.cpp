// The plain form of a plan and the moves that keep its steel: what the search hands over is
// only ever changed by these, so each must keep every piece and every bar sound.
#include "plan/first_fit.h"
#include "plan/polish.h"
#include "plan/solution.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace {

plan::Instance nineMetres(std::vector<plan::Item> items, std::int64_t kerf = 0) {
    return plan::makeInstance(std::move(items),
                              {{9000, 9000, -1, false}, {12000, 12000, -1, false}}, kerf);
}

TEST(Normalise, TakesOutPiecesCutBeyondTheirCount) {
    // Items are sorted longest first: 0 is 4000 (3 wanted), 1 is 1000 (2 wanted).
    const plan::Instance instance = nineMetres({{4000, 3}, {1000, 2}});
    plan::Solution solution{{{0, 2, {{0, 2}, {1, 1}}}}}; // 4 + 2 pieces for 3 + 2 wanted
    plan::normalise(instance, solution);
    EXPECT_FALSE(plan::check(instance, solution));
    EXPECT_EQ(solution.bars(), 2);
}

TEST(Normalise, MergesAlikeBarsAndMovesThemToTheCheapestLengthThatHoldsThem) {
    const plan::Instance instance = nineMetres({{4000, 4}});
    // Stock 0 is 12000 (longest first), stock 1 is 9000.
    plan::Solution solution{{{0, 1, {{0, 2}}}, {1, 1, {{0, 2}}}}};
    plan::normalise(instance, solution);
    ASSERT_EQ(solution.patterns.size(), 1U);
    EXPECT_EQ(solution.patterns[0].stock, 1U);
    EXPECT_EQ(solution.patterns[0].count, 2);
    EXPECT_EQ(solution.cost(instance), 18000);
}

TEST(Check, FindsWhatIsWrong) {
    const plan::Instance instance = nineMetres({{4000, 2}}, 3);
    EXPECT_TRUE(plan::check(instance, {{{1, 1, {{0, 1}}}}}));  // one piece short
    EXPECT_TRUE(plan::check(instance, {{{1, 1, {{0, 3}}}}}));  // too long a bar
    EXPECT_FALSE(plan::check(instance, {{{1, 1, {{0, 2}}}}})); // 4000 + 3 + 4000
    // 4499 + 3 + 4498 = 9000: the last cut ends at the bar's end and takes no kerf.
    const plan::Instance exact = nineMetres({{4499, 1}, {4498, 1}}, 3);
    EXPECT_FALSE(plan::check(exact, {{{1, 1, {{0, 1}, {1, 1}}}}}));
    const plan::Instance over = nineMetres({{4500, 2}}, 3);
    EXPECT_TRUE(plan::check(over, {{{1, 1, {{0, 2}}}}})); // the first cut's kerf is still lost
}

TEST(GatherRemnants, PutsTheShortPieceWhereItLeavesOneLongRemnant) {
    // Bars left with 700 (4000 + 4000 + 300) and 400 (4500 + 3800 + 300): moving a 300 gives
    // one remnant of 1000 worth keeping and one of 100.
    const plan::Instance instance = nineMetres({{4500, 1}, {4000, 2}, {3800, 1}, {300, 2}});
    plan::Solution solution{{{1, 1, {{1, 2}, {3, 1}}}, {1, 1, {{0, 1}, {2, 1}, {3, 1}}}}};
    plan::gatherRemnants(instance, solution);
    ASSERT_FALSE(plan::check(instance, solution));
    EXPECT_EQ(solution.cost(instance), 18000);
    std::vector<std::int64_t> remnants;
    for (const plan::BarPattern& p : solution.patterns) {
        remnants.push_back(instance.capacity(p.stock) - plan::used(instance, p.content));
    }
    std::ranges::sort(remnants);
    EXPECT_EQ(remnants, (std::vector<std::int64_t>{100, 1000}));
}

TEST(GatherRemnants, NeverSplitsAPattern) {
    const plan::Instance instance = nineMetres({{4000, 4}, {300, 2}});
    plan::Solution solution{{{1, 2, {{0, 2}, {1, 1}}}}};
    plan::gatherRemnants(instance, solution);
    EXPECT_EQ(solution.patterns.size(), 1U);
}

// First-fit decreasing, one piece at a time, as the run-length version must behave.
std::int64_t plainFirstFit(const plan::Instance& instance) {
    std::vector<std::int64_t> room;
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        for (std::int64_t n = 0; n < instance.items[i].demand; ++n) {
            const std::int64_t w = instance.weight(i);
            auto bar = std::ranges::find_if(room, [w](std::int64_t r) { return r >= w; });
            if (bar == room.end()) {
                room.push_back(instance.capacity(0) - w);
            } else {
                *bar -= w;
            }
        }
    }
    return static_cast<std::int64_t>(room.size());
}

class FirstFit : public testing::TestWithParam<std::uint64_t> {};

TEST_P(FirstFit, RunsOfBarsBehaveAsBarsOneByOne) {
    std::mt19937_64 random(GetParam());
    const auto pick = [&random](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    std::vector<plan::Item> items;
    for (int i = 0; i < pick(1, 12); ++i) {
        items.push_back({pick(1, 100), pick(1, pick(0, 1) == 0 ? 5 : 200)});
    }
    const plan::Instance instance =
        plan::makeInstance(items, {{100, 100, -1, false}}, pick(0, 1) == 0 ? 0 : pick(1, 3));
    const plan::Solution solution = plan::firstFitDecreasing(instance);
    EXPECT_FALSE(plan::check(instance, solution));
    EXPECT_EQ(solution.bars(), plainFirstFit(instance));
}

INSTANTIATE_TEST_SUITE_P(Seeds, FirstFit, testing::Range<std::uint64_t>(1, 101));

} // namespace
