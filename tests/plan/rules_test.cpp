// The cutting rules as a bar bender checks them on a plan: named cases through the optimiser's
// one entry point.
#include "plan/optimize.h"

#include <chrono>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

plan::CuttingList listOf(const std::vector<plan::PieceRow>& rows,
                         const std::vector<plan::OffcutRow>& offcuts = {},
                         plan::Settings settings = {}) {
    settings.seconds = 5;
    plan::Checked checked = plan::checkList(rows, offcuts, settings);
    EXPECT_TRUE(checked.errors.empty());
    return std::move(checked.list);
}

const plan::GroupPlan& only(const plan::Plan& plan) {
    EXPECT_EQ(plan.groups.size(), 1U);
    return plan.groups.front();
}

std::int64_t cutLength(const plan::Pattern& p) {
    return std::accumulate(p.cuts.begin(), p.cuts.end(), std::int64_t{0},
                           [](std::int64_t sum, const plan::Cut& c) { return sum + c.length; });
}

TEST(Rules, ALengthWithDecimalsIsCutAtTheNextMillimetre) {
    const plan::Plan plan = plan::optimize(listOf({{"KL1", "25", "6456.34", "1", 2}}));
    const plan::GroupPlan& group = only(plan);
    ASSERT_EQ(group.patterns.size(), 1U);
    ASSERT_EQ(group.patterns[0].cuts.size(), 1U);
    EXPECT_EQ(group.patterns[0].cuts[0].length, 6457);
    EXPECT_EQ(group.patterns[0].stock, 9000);
    EXPECT_EQ(group.patterns[0].remnant, 9000 - 6457);
}

TEST(Rules, APieceExactlyTheStockLengthLeavesNothing) {
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "9000", "3", 2}}, {}, {{9000}, 5}));
    const plan::GroupPlan& group = only(plan);
    ASSERT_EQ(group.patterns.size(), 1U);
    EXPECT_EQ(group.patterns[0].count, 3);
    EXPECT_EQ(group.patterns[0].remnant, 0);
    EXPECT_FALSE(group.patterns[0].reusable);
    EXPECT_EQ(group.stockMm, 27000);
    EXPECT_TRUE(group.optimal);
}

TEST(Rules, NoKerfAfterACutThatEndsAtTheBarsEnd) {
    // Two pieces of 4498 and a kerf of 4 fill 9000 exactly: one cut, one kerf.
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "4498", "2", 2}}, {}, {{9000}, 4}));
    const plan::GroupPlan& group = only(plan);
    EXPECT_EQ(group.stockMm, 9000);
    ASSERT_EQ(group.patterns.size(), 1U);
    EXPECT_EQ(group.patterns[0].remnant, 0);
}

TEST(Rules, EveryOtherCutTakesItsKerf) {
    // 4499 + 4 + 4499 = 9002: with the kerf the two pieces no longer share a bar.
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "4499", "2", 2}}, {}, {{9000}, 4}));
    EXPECT_EQ(only(plan).stockMm, 18000);
}

TEST(Rules, TheRemnantIsWhatIsLeftAfterTheLastKerf) {
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "3000", "2", 2}}, {}, {{9000}, 3}));
    const plan::GroupPlan& group = only(plan);
    ASSERT_EQ(group.patterns.size(), 1U);
    EXPECT_EQ(group.patterns[0].remnant, 9000 - 6000 - 2 * 3);
    EXPECT_TRUE(group.patterns[0].reusable);
    ASSERT_EQ(group.remnants.size(), 1U);
    EXPECT_EQ(group.remnants[0].length, 2994);
    EXPECT_EQ(group.wasteMm, 6);
}

TEST(Rules, ZeroKerfPacksExactly) {
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "3000", "3", 2}}, {}, {{9000}}));
    const plan::GroupPlan& group = only(plan);
    EXPECT_EQ(group.stockMm, 9000);
    EXPECT_EQ(group.wasteMm, 0);
}

TEST(Rules, YardOffcutsAreUsedFirst) {
    const plan::Plan plan = plan::optimize(
        listOf({{"A", "16", "2500", "3", 2}}, {{"16", "5000", "1", 2}, {"16", "2600", "1", 3}}));
    const plan::GroupPlan& group = only(plan);
    EXPECT_EQ(group.stockMm, 0);
    EXPECT_TRUE(group.optimal);
    std::int64_t offcuts = 0;
    for (const plan::Pattern& p : group.patterns) {
        EXPECT_TRUE(p.offcut);
        offcuts += p.count;
    }
    EXPECT_EQ(offcuts, 2);
}

TEST(Rules, OffcutsAreNotTakenBeyondTheirCount) {
    const plan::Plan plan =
        plan::optimize(listOf({{"A", "16", "2500", "4", 2}}, {{"16", "5000", "1", 2}}));
    const plan::GroupPlan& group = only(plan);
    EXPECT_EQ(group.offcutMm, 5000);
    EXPECT_EQ(group.stockMm, 9000);
}

TEST(Rules, MarksFollowTheRowsAndEveryPieceIsCutOnce) {
    const plan::Plan plan = plan::optimize(listOf({{"KL1-1", "20", "3000", "5", 2},
                                                   {"KL1-2", "20", "3000", "2", 3},
                                                   {"KZ1", "20", "5900", "3", 4}}));
    std::map<std::string, std::int64_t> cut;
    for (const plan::Pattern& p : only(plan).patterns) {
        EXPECT_LE(cutLength(p), p.stock);
        for (const plan::Cut& c : p.cuts) {
            cut[c.mark] += p.count;
            EXPECT_EQ(c.length, c.mark == "KZ1" ? 5900 : 3000);
        }
    }
    EXPECT_EQ(cut, (std::map<std::string, std::int64_t>{{"KL1-1", 5}, {"KL1-2", 2}, {"KZ1", 3}}));
}

TEST(Rules, CutsRunFromTheLongestPiece) {
    const plan::Plan plan =
        plan::optimize(listOf({{"S", "10", "1200", "1", 2}, {"L", "10", "7800", "1", 3}}));
    const plan::GroupPlan& group = only(plan);
    ASSERT_EQ(group.patterns.size(), 1U);
    ASSERT_EQ(group.patterns[0].cuts.size(), 2U);
    EXPECT_EQ(group.patterns[0].cuts[0].mark, "L");
}

TEST(Rules, EachDiameterIsItsOwnProblem) {
    const plan::Plan plan = plan::optimize(
        listOf({{"A", "12", "4500", "1", 2}, {"B", "14", "4500", "1", 3}}, {}, {{9000}}));
    ASSERT_EQ(plan.groups.size(), 2U);
    EXPECT_EQ(plan.groups[0].steel.diameter, 120);
    EXPECT_EQ(plan.groups[1].steel.diameter, 140);
    EXPECT_EQ(plan.stockMm(), 18000);
}

TEST(Rules, WeightIsOfTheDiameter) {
    const plan::Plan plan = plan::optimize(listOf({{"A", "10", "9000", "1", 2}}, {}, {{9000}}));
    // GB/T 1499.2's nominal 0.617 kg/m × 9 m.
    EXPECT_NEAR(only(plan).piecesKg, 5.553, 1e-9);
    EXPECT_NEAR(only(plan).stockKg, 5.553, 1e-9);
}

TEST(Rules, AnEmptyListPlansToNothing) {
    const plan::Plan plan = plan::optimize(listOf({}));
    EXPECT_TRUE(plan.groups.empty());
    EXPECT_EQ(plan.stockMm(), 0);
}

TEST(Progress, ReportsEveryGroupAsDoneWithItsBound) {
    std::vector<plan::Progress> seen;
    const plan::Plan plan = plan::optimize(listOf({{"A", "12", "2300", "40", 2},
                                                   {"B", "12", "3700", "25", 3},
                                                   {"C", "16", "5100", "9", 4}}),
                                           [&seen](const plan::Progress& p) { seen.push_back(p); });
    int done = 0;
    for (const plan::Progress& p : seen) {
        EXPECT_LE(p.boundMm, p.bestMm);
        done += p.done ? 1 : 0;
    }
    EXPECT_EQ(done, 2);
    EXPECT_EQ(seen.back().done, true);
}

TEST(Cancel, AStopBeforeTheStartStillGivesASoundPlan) {
    std::stop_source stop;
    stop.request_stop();
    const plan::Plan plan = plan::optimize(
        listOf({{"A", "12", "2300", "40", 2}, {"B", "12", "3700", "25", 3}}), {}, stop.get_token());
    EXPECT_TRUE(plan.cancelled);
    const plan::GroupPlan& group = only(plan);
    std::int64_t pieces = 0;
    for (const plan::Pattern& p : group.patterns) {
        pieces += p.count * static_cast<std::int64_t>(p.cuts.size());
    }
    EXPECT_EQ(pieces, 65);
    EXPECT_LE(group.boundMm, group.stockMm);
    if (!group.optimal) {
        EXPECT_EQ(group.finish, plan::Finish::Cancelled);
    }
}

} // namespace

namespace {

struct Extreme {
    const char* name;
    std::vector<plan::PieceRow> rows;
    std::vector<std::int64_t> stock;
    std::int64_t kerf;
    std::int64_t bars; // the least number of new bars
};

std::ostream& operator<<(std::ostream& out, const Extreme& e) {
    return out << e.name;
}

std::vector<plan::PieceRow> manyLengths(int n) {
    std::vector<plan::PieceRow> rows;
    for (int i = 0; i < n; ++i) {
        rows.push_back({"P", "12", std::to_string(1000 + 23 * i), "1", i + 2});
    }
    return rows;
}

class Extremes : public testing::TestWithParam<Extreme> {};

// Limits of the input, not of the optimiser: each ends within its time with every piece cut.
TEST_P(Extremes, PlanEveryPieceWithinTheTimeAllowed) {
    const Extreme& e = GetParam();
    plan::Settings settings{e.stock, e.kerf, 500, 3};
    const plan::Checked checked = plan::checkList(e.rows, {}, settings);
    ASSERT_TRUE(checked.errors.empty());
    const auto start = std::chrono::steady_clock::now();
    const plan::Plan plan = plan::optimize(checked.list);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    std::int64_t wanted = 0;
    for (const plan::Piece& p : checked.list.pieces()) {
        wanted += p.count;
    }
    std::int64_t cut = 0;
    std::int64_t bars = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        EXPECT_LE(g.boundMm, g.stockMm);
        cut += g.pieces;
        for (const plan::StockUse& use : g.bought) {
            bars += use.count;
        }
    }
    EXPECT_EQ(cut, wanted);
    if (e.bars > 0) {
        EXPECT_EQ(bars, e.bars);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lists, Extremes, testing::Values(
    Extreme{"AMillionMillimetrePiecesInOneLongBar", {{"A", "6", "1", "1000000", 2}}, {1'000'000}, 0, 1},
    Extreme{"AMillionBarsOfOneMillimetre", {{"A", "6", "1", "1000000", 2}}, {1}, 0, 1'000'000},
    Extreme{"MillionsOfPiecesOfThreeLengths",
            {{"A", "12", "2900", "1000000", 2}, {"B", "12", "4100", "1000000", 3},
             {"C", "12", "5300", "1000000", 4}}, {9000, 12000}, 0, 0},
    Extreme{"ThreeHundredLengthsOnceEach", manyLengths(300), {9000, 12000}, 0, 0},
    Extreme{"WideKerf", {{"A", "20", "3000", "10", 2}}, {12000}, 3000, 5},
    // A perfect packing of a million bars that first-fit misses: deeper than any search may go.
    Extreme{"AMillionFullBars",
            {{"A", "12", "4500", "1000000", 2}, {"B", "12", "4000", "1000000", 3},
             {"C", "12", "3500", "1000000", 4}}, {12000}, 0, 1'000'000},
    Extreme{"LongStockShortPieces", {{"A", "20", "7", "500", 2}, {"B", "20", "13", "300", 3}},
            {1'000'000}, 1, 1}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

} // namespace
