// Joints placed freely, the bound over every segmentation and planning by cost, on small lists
// whose best plans are worked out by hand or by trying every split.
#include "plan/joints/cutting.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using plan::joints::JointsPlan;
using plan::joints::LongBar;
using plan::joints::Method;
using plan::joints::Piece;
using plan::joints::Problem;
using plan::joints::SteelPlan;

// One row of bars, couplers unless told, and ordinary pieces of its steel.
Problem oneRow(std::int64_t diameter, std::int64_t length, std::int64_t count,
               std::vector<Piece> pieces) {
    Problem problem;
    // Far more than these lists take (a tenth of a second, a few under the sanitizers): each
    // plan ends when its search does, never at the deadline, so no result depends on the speed.
    problem.seconds = 60;
    LongBar bar;
    bar.mark = "KZ1";
    bar.grade = "HRB400";
    bar.diameter = diameter;
    bar.length = length;
    bar.count = count;
    bar.sideBySide = count;
    bar.share = 50;
    bar.method = Method::Coupler;
    bar.line = 2;
    problem.bars.push_back(bar);
    for (Piece& piece : pieces) {
        piece.grade = "HRB400";
        piece.diameter = diameter;
    }
    problem.pieces = std::move(pieces);
    return problem;
}

// The plan's one steel; a plan with errors or none stops the test here rather than read past.
const SteelPlan& only(const JointsPlan& plan) {
    if (!plan.errors.empty() || plan.steels.size() != 1 || plan.steels[0].spliced.size() != 1) {
        ADD_FAILURE() << plan.errors.size() << " errors, " << plan.steels.size() << " steels";
        std::abort();
    }
    return plan.steels.front();
}

// Every joint's centre of every layout, with the bars that have it.
std::vector<std::pair<std::int64_t, std::int64_t>> centres(const SteelPlan& steel) {
    std::vector<std::pair<std::int64_t, std::int64_t>> out;
    for (const plan::joints::Layout& layout : steel.spliced.front().layouts) {
        std::int64_t at = 0;
        for (std::size_t k = 0; k + 1 < layout.segments.size(); ++k) {
            at += layout.segments[k].length; // couplers: no overlap
            out.emplace_back(at, layout.bars);
        }
    }
    return out;
}

// A 17.6 m column bar by couplers and 9.6, 9.6, 2.6, 2.6 and 3.7 m of the same Φ25. Each 9.6 m
// piece takes a 12 m bar whose 2.4 m left nothing else fits. The practice cuts the column bar
// 12 m + 5.6 m, and 5.6 + 2.6 and 2.6 + 3.7 need two more bars: 24 + 12 + 9 + 9 = 54 m.
// Joined at 8.6 m instead, its segments fill two 9 m bars and the short pieces (8.9 m) a
// third: 51 m, the least any split buys.
Problem gapList() {
    return oneRow(250, 17'600, 1,
                  {{"", 0, "L1", 9600, 2}, {"", 0, "L2", 2600, 2}, {"", 0, "L3", 3700, 1}});
}

TEST(FreePositions, AJointMovesToFillAGap) {
    const Problem problem = gapList();
    const JointsPlan usual = plan::joints::planPractice(problem);
    const JointsPlan plan = plan::joints::planJoints(problem);
    EXPECT_EQ(usual.boughtMm(), 54'000);
    const SteelPlan& steel = only(plan);
    EXPECT_EQ(steel.boughtMm, 51'000);
    EXPECT_EQ(steel.joints, 1);
    EXPECT_EQ(steel.boundAllMm, 51'000);
    EXPECT_EQ(steel.scope, plan::joints::BoundScope::AllSegmentations);
}

TEST(FreePositions, AZoneMovesTheJointNotTheSteel) {
    // No joint between 8.4 and 8.8 m from the start: the bar turned end for end (9 m + 8.6 m)
    // buys the same 51 m with its joint at 9 m.
    Problem problem = gapList();
    problem.bars[0].zones = {{8400, 8800}};
    const JointsPlan steelPlan = plan::joints::planJoints(problem);
    const SteelPlan& steel = only(steelPlan);
    EXPECT_EQ(steel.boughtMm, 51'000);
    const auto joints = centres(steel);
    ASSERT_EQ(joints.size(), 1U);
    EXPECT_TRUE(joints[0].first < 8400 || joints[0].first > 8800) << joints[0].first;
}

TEST(FreePositions, AZoneOverEveryGoodJointCostsSteelButIsKept) {
    // No joint between 8.4 and 9.1 m: no split buys 51 m any more, and none goes in the zone.
    Problem problem = gapList();
    problem.bars[0].zones = {{8400, 9100}};
    const JointsPlan steelPlan = plan::joints::planJoints(problem);
    const SteelPlan& steel = only(steelPlan);
    EXPECT_GT(steel.boughtMm, 51'000);
    EXPECT_LE(steel.boughtMm, 54'000);
    for (const auto& [at, bars] : centres(steel)) {
        EXPECT_TRUE(at < 8400 || at > 9100) << at;
    }
}

TEST(FreePositions, StaggeringIsKeptWhenSegmentsAreShortened) {
    // Four Φ25 bars of 15.5 m side by side, half of them joined in one section at most, with
    // 5.1 m and 6.1 m pieces: the practice buys 93 m; shortening the long segments of two bars
    // to fill the gaps buys less, and their joints must still lie a section apart from the
    // other two's.
    const Problem problem =
        oneRow(250, 15'500, 4, {{"", 0, "L1", 5100, 2}, {"", 0, "L2", 6100, 2}});
    const JointsPlan usual = plan::joints::planPractice(problem);
    const JointsPlan steelPlan = plan::joints::planJoints(problem);
    const SteelPlan& steel = only(steelPlan);
    EXPECT_LT(steel.boughtMm, usual.boughtMm());
    EXPECT_EQ(steel.joints, 4);
    // GB 50010 8.4.7: a mechanical joint's section is 35d; of four bars, two in one.
    constexpr std::int64_t kSection = 35 * 25;
    const auto joints = centres(steel);
    for (const auto& [x, bars] : joints) {
        std::int64_t in = 0;
        for (const auto& [y, others] : joints) {
            in += y >= x && y - x < kSection ? others : 0;
        }
        EXPECT_LE(in, 2) << "section from " << x;
    }
}

// The least total of 9 m and 12 m bars that hold `sizes`, by trying every assignment.
std::int64_t leastStock(std::vector<std::int64_t> sizes) {
    std::ranges::sort(sizes, std::greater<>());
    std::vector<std::int64_t> room;
    std::int64_t used = 0;
    std::int64_t best = INT64_MAX;
    std::function<void(std::size_t)> place = [&](std::size_t k) {
        if (used >= best) {
            return;
        }
        if (k == sizes.size()) {
            best = used;
            return;
        }
        // By index: the bars opened deeper down may move `room`.
        for (std::size_t b = 0; b < room.size(); ++b) {
            if (room[b] >= sizes[k]) {
                room[b] -= sizes[k];
                place(k + 1);
                room[b] += sizes[k];
            }
        }
        for (const std::int64_t stock : {9000, 12'000}) {
            if (stock >= sizes[k]) {
                room.push_back(stock - sizes[k]);
                used += stock;
                place(k + 1);
                used -= stock;
                room.pop_back();
            }
        }
    };
    place(0);
    return best;
}

// A bound above what some split buys would call a plan optimal that is not. Small lists of one
// bar with one joint, lapped or coupled, and a few pieces: every split on a 100 mm grid is cut
// at its best by trying every assignment, and neither the steel's bound nor (by cost) the
// money's may be above the cheapest.
TEST(BoundOverEverySplit, IsNeverAboveWhatBruteForceFinds) {
    int stronger = 0; // lists where the bound is above the material, proving more than it
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937_64 random(seed);
        const auto uniform = [&random](std::int64_t low, std::int64_t high) {
            return std::uniform_int_distribution<std::int64_t>(low, high)(random);
        };
        const bool lapped = seed % 2 == 0;
        std::vector<Piece> pieces;
        for (int k = 0, n = static_cast<int>(uniform(1, 3)); k < n; ++k) {
            pieces.push_back(
                {"", 0, "L" + std::to_string(k), uniform(5, 110) * 100, uniform(1, 2)});
        }
        Problem problem = oneRow(lapped ? 200 : 250, uniform(125, 220) * 100, 1, pieces);
        if (lapped) {
            problem.bars[0].method = Method::Lap;
        }
        const JointsPlan steelPlan = plan::joints::planJoints(problem);
        const SteelPlan& steel = only(steelPlan);
        Problem byCost = problem;
        byCost.settings.byCost = true;
        // Its bound in money holds after any number of rounds: a short time keeps the test cheap.
        byCost.seconds = 0.1;
        const JointsPlan cheapestPlan = plan::joints::planJoints(byCost);
        const SteelPlan& cheapest = only(cheapestPlan);
        const std::int64_t overlap = steel.spliced.front().rule.overlap;
        const std::int64_t total = problem.bars[0].length + overlap;
        const std::int64_t shortest = problem.settings.shortestSegment + overlap;
        std::vector<std::int64_t> fixed;
        for (const Piece& piece : pieces) {
            fixed.insert(fixed.end(), static_cast<std::size_t>(piece.count), piece.length);
        }
        std::int64_t brute = INT64_MAX;
        for (std::int64_t first = shortest; first <= 12'000; first += 100) {
            const std::int64_t second = total - first;
            if (second >= shortest && second <= 12'000) {
                std::vector<std::int64_t> sizes = fixed;
                sizes.push_back(first);
                sizes.push_back(second);
                brute = std::min(brute, leastStock(sizes));
            }
        }
        ASSERT_LT(brute, INT64_MAX);
        EXPECT_LE(steel.boundAllMm, brute);
        EXPECT_LE(steel.boundAllMm, steel.boughtMm);
        stronger += steel.boundAllMm > steel.materialMm ? 1 : 0;
        // Bought by whole bars: no split's steel costs less than the fewest metres' price, and
        // a lap costs nothing but its steel.
        const std::int64_t grams = plan::joints::gramsPerMetre("HRB400", lapped ? 200 : 250);
        const std::int64_t bruteFen =
            plan::joints::steelFen(brute, grams, problem.settings.prices.steelFenPerTonne) +
            problem.settings.prices.joint(steel.spliced.front().rule.method);
        EXPECT_LE(cheapest.boundFen, bruteFen);
        EXPECT_LE(cheapest.boundFen, cheapest.money.total());
    }
    EXPECT_GT(stronger, 0);
}

// Φ20 by couplers, 18.4 m with 4.1 m and 4.3 m pieces, three each. One joint buys 48 m; two
// (three segments) fill the gaps and buy 45 m: 3 m of Φ20 (2.47 kg/m) at 4000 元/t, 29.64 元.
Problem couplerList(std::int64_t couplerFen) {
    Problem problem = oneRow(200, 18'400, 1, {{"", 0, "L1", 4100, 3}, {"", 0, "L2", 4300, 3}});
    problem.settings.byCost = true;
    problem.settings.prices.jointFen[static_cast<std::size_t>(Method::Coupler)] = couplerFen;
    return problem;
}

struct CostCase {
    const char* name;
    std::int64_t couplerFen;
    std::int64_t bought;
    std::int64_t joints;
};

class ByCost : public testing::TestWithParam<CostCase> {};

TEST_P(ByCost, TakesAJointMoreOnlyWhereItCostsLessThanTheSteelItSaves) {
    const CostCase& c = GetParam();
    const Problem problem = couplerList(c.couplerFen);
    Problem fewest = problem;
    fewest.settings.byCost = false;
    const JointsPlan leastPlan = plan::joints::planJoints(fewest);
    const SteelPlan& least = only(leastPlan);
    const JointsPlan cheapestPlan = plan::joints::planJoints(problem);
    const SteelPlan& cheapest = only(cheapestPlan);
    EXPECT_EQ(least.boughtMm, 48'000);
    EXPECT_EQ(least.joints, 1);
    EXPECT_EQ(cheapest.boughtMm, c.bought);
    EXPECT_EQ(cheapest.joints, c.joints);
    // The money is the steel at its nominal mass and each coupler at its price.
    EXPECT_EQ(cheapest.money.steel, c.bought * 247 * 4 / 1000); // 2.47 kg/m, 400 fen a kg
    EXPECT_EQ(cheapest.money.joints, c.joints * c.couplerFen);
    EXPECT_LE(cheapest.money.total(), least.money.total());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Couplers, ByCost, testing::Values(
    // A coupler more, 8 元, against 29.64 元 of steel.
    CostCase{"CheaperThanTheSteel", 800, 45'000, 2},
    // A coupler more at 30 元 costs more than the steel it saves.
    CostCase{"DearerThanTheSteel", 3000, 48'000, 1}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
