// The exact cover over listed patterns: it finds a plan that cuts every piece exactly when one
// of at most the target's cost exists among them, never returns one that is not sound or costs
// more, and finds nothing where there is nothing.
#include "plan/exact_cover.h"

#include <gtest/gtest.h>

namespace {

struct CoverCase {
    const char* name;
    std::vector<plan::Item> items; // lengths and demands, in bars of 100
    std::vector<plan::Content> patterns;
    std::int64_t targetBars;
    bool found;
};

std::ostream& operator<<(std::ostream& out, const CoverCase& c) {
    return out << c.name;
}

class ExactCover : public testing::TestWithParam<CoverCase> {};

TEST_P(ExactCover, FindsAPlanOfTheListedPatternsWithinTheTarget) {
    const CoverCase& c = GetParam();
    const plan::Instance instance = plan::makeInstance(c.items, {{100, 100, -1, false}});
    std::vector<plan::Column> columns;
    for (const plan::Content& content : c.patterns) {
        columns.push_back({0, content});
    }
    const auto plan = plan::coverExactly(instance, columns, c.targetBars * 100, 100'000,
                                         plan::Budget::seconds(30));
    ASSERT_EQ(plan.has_value(), c.found);
    if (plan) {
        EXPECT_FALSE(plan::check(instance, *plan));
        EXPECT_LE(plan->cost(instance), c.targetBars * 100);
    }
}

// Items are sorted longest first by makeInstance: the indices below are of that order.
INSTANTIATE_TEST_SUITE_P(
    Lists, ExactCover,
    testing::Values(
        CoverCase{"two_perfect_bars",
                  {{50, 1}, {40, 1}, {30, 1}, {20, 1}, {60, 1}},
                  // items: 60(0) 50(1) 40(2) 30(3) 20(4)
                  {{{0, 1}, {2, 1}}, {{1, 1}, {3, 1}, {4, 1}}, {{0, 1}, {3, 1}}, {{1, 1}, {2, 1}}},
                  2,
                  true},
        CoverCase{"a_pattern_that_leads_nowhere",
                  // items: 60(0) 50(1) 40(2) 30(3) 20(4); {50,40} leaves 60,30,20 uncoverable
                  {{50, 1}, {40, 1}, {30, 1}, {20, 1}, {60, 1}},
                  {{{1, 1}, {2, 1}}, {{0, 1}, {3, 1}}, {{0, 1}, {2, 1}}, {{1, 1}, {3, 1}, {4, 1}}},
                  2,
                  true},
        CoverCase{"no_exact_cover",
                  {{50, 1}, {40, 1}, {30, 1}, {20, 1}, {60, 1}},
                  {{{0, 1}, {2, 1}}, {{1, 1}, {2, 1}}, {{3, 1}, {4, 1}}},
                  3,
                  false},
        CoverCase{"over_the_target",
                  {{50, 1}, {40, 1}, {30, 1}, {20, 1}, {60, 1}},
                  {{{0, 1}}, {{1, 1}, {2, 1}}, {{3, 1}, {4, 1}}},
                  2,
                  false},
        CoverCase{"demands_above_one",
                  // items: 50(0) 25(1); two bars of {50, 25, 25} and one of {50, 50}
                  {{50, 4}, {25, 4}},
                  {{{0, 1}, {1, 2}}, {{0, 2}}, {{1, 4}}},
                  3,
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
