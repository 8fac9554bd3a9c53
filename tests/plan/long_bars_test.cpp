#include "plan/list.h"
#include "plan/optimize.h"

#include <chrono>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using plan::Field;
using plan::Problem;
using plan::joints::JointProblem;
using plan::joints::RuleProblem;

plan::PieceRow row(std::string mark, std::string grade, std::string diameter, std::string length,
                   std::string count, int line) {
    plan::PieceRow r{std::move(mark), std::move(diameter), std::move(length), std::move(count),
                     line};
    r.grade = std::move(grade);
    return r;
}

// What a row's check says about its joints: the errors' fields and problems, the joint
// problem when there is one, and how many warnings.
struct JointCase {
    const char* name;
    plan::PieceRow row;
    std::vector<std::pair<Field, Problem>> errors;
    std::optional<JointProblem> joint;
    std::optional<RuleProblem> rule;
    std::size_t warnings = 0;
};

std::ostream& operator<<(std::ostream& out, const JointCase& c) {
    return out << c.name;
}

JointCase with(JointCase c, std::string joint, std::string share = {}, std::string lap = {},
               std::string zones = {}) {
    c.row.joint = std::move(joint);
    c.row.share = std::move(share);
    c.row.lap = std::move(lap);
    c.row.zones = std::move(zones);
    return c;
}

class LongRowCheck : public testing::TestWithParam<JointCase> {};

TEST_P(LongRowCheck, ReportsWhatTheJointRulesSay) {
    const JointCase& c = GetParam();
    const plan::Checked checked = plan::checkList({c.row}, {}, plan::Settings{});
    std::vector<std::pair<Field, Problem>> errors;
    for (const plan::InputError& e : checked.errors) {
        EXPECT_EQ(e.line, c.row.line);
        errors.emplace_back(e.field, e.problem);
        if (e.problem == Problem::Joint) {
            ASSERT_TRUE(e.joint.has_value());
            EXPECT_EQ(e.joint->problem, c.joint);
            EXPECT_EQ(e.joint->rule, c.rule);
            EXPECT_EQ(e.joint->line, c.row.line);
        }
    }
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(checked.warnings.size(), c.warnings);
    if (c.errors.empty()) {
        ASSERT_EQ(checked.list.longBars().size(), 1U);
        EXPECT_TRUE(checked.list.pieces().empty());
        EXPECT_EQ(checked.list.steels().size(), 1U);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, LongRowCheck, testing::Values(
    JointCase{"CouplerByDiameter", row("KL1-1", "HRB400", "25", "26000", "4", 3), {}, {}, {}, 0},
    with(JointCase{"LapOfAThinBar", row("B1", "HRB400", "12", "15000", "6", 4), {}, {}, {}, 0},
         "lap"),
    with(JointCase{"LapOfAThickTensionBarIsWarned", row("KL2", "HRB400", "28", "15000", "2", 5),
                   {}, {}, {}, 1}, "lap", "50"),
    with(JointCase{"UnknownMethod", row("KL3", "HRB400", "25", "15000", "2", 6),
                   {{Field::Joint, Problem::UnknownJoint}}, {}, {}, 0}, "glue"),
    with(JointCase{"ShareOfThirtyPercent", row("KL4", "HRB400", "25", "15000", "2", 7),
                   {{Field::Share, Problem::ShareNotAllowed}}, {}, {}, 0}, "", "30%"),
    with(JointCase{"ShareWithAFullWidthSign", row("KL5", "HRB400", "25", "15000", "2", 8),
                   {}, {}, {}, 0}, "coupler", "50％"),
    with(JointCase{"LapWithoutAGrade", row("KL6", "", "16", "15000", "2", 9),
                   {{Field::Length, Problem::Joint}}, JointProblem::Rule, RuleProblem::NoGrade, 0},
         "lap"),
    with(JointCase{"LapLongerThanAStockBarHolds", row("KL7", "HRB400", "25", "15000", "2", 10),
                   {{Field::Length, Problem::Joint}}, JointProblem::LapTooLong, {}, 0},
         "lap", "50", "11800"),
    with(JointCase{"NoJointAllowedAmongTwoBarsAtTwentyFivePercent",
                   row("KL9", "HRB400", "20", "15000", "2", 12),
                   {{Field::Share, Problem::Joint}}, JointProblem::ShareTooSmall, {}, 0}, "lap"),
    with(JointCase{"ZonesInFullWidth", row("KZ1", "HRB400", "25", "15000", "2", 13), {}, {}, {}, 0},
         "coupler", "", "", "0－500；14500～15000"),
    with(JointCase{"ZoneBeyondTheBar", row("KZ2", "HRB400", "25", "15000", "2", 14),
                   {{Field::Zones, Problem::BadZone}}, {}, {}, 0}, "coupler", "", "", "14500-15500"),
    with(JointCase{"ZoneWithoutAnEnd", row("KZ3", "HRB400", "25", "15000", "2", 15),
                   {{Field::Zones, Problem::BadZone}}, {}, {}, 0}, "coupler", "", "", "500"),
    with(JointCase{"ZonesLeavingNoPlaceForAJoint", row("KZ4", "HRB400", "25", "15000", "2", 16),
                   {{Field::Length, Problem::Joint}}, JointProblem::ZonesBlock, {}, 0},
         "coupler", "", "", "1000-14000"),
    with(JointCase{"GivenLapIsALength", row("KL8", "HRB400", "16", "15000", "2", 11),
                   {{Field::Lap, Problem::NotANumber}}, {}, {}, 0}, "lap", "", "long")
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(LongRows, FitsAStockBarIsAnOrdinaryPieceWhateverItsJoint) {
    plan::PieceRow r = row("L1", "HRB400", "25", "12000", "2", 2);
    r.joint = "lap";
    const plan::Checked checked = plan::checkList({r}, {}, plan::Settings{});
    EXPECT_TRUE(checked.errors.empty());
    EXPECT_EQ(checked.list.pieces().size(), 1U);
    EXPECT_TRUE(checked.list.longBars().empty());
}

TEST(LongRows, ZonesReachTheJointsStage) {
    plan::PieceRow r = row("KZ1", "HRB400", "25", "15000", "2", 2);
    r.zones = "0-500, 11000~12500、14500-15000";
    const plan::Checked checked = plan::checkList({r}, {}, plan::Settings{});
    ASSERT_TRUE(checked.errors.empty());
    const std::vector<plan::joints::Zone> zones{{0, 500}, {11000, 12500}, {14500, 15000}};
    EXPECT_EQ(plan::longBarOf(checked.list.longBars().front()).zones, zones);
}

TEST(LongRows, JointSettingsAreChecked) {
    plan::Settings settings;
    settings.joints.lapShare = 30;
    settings.joints.shortestSegment = 0;
    const plan::Checked checked =
        plan::checkList({row("L1", "HRB400", "25", "6000", "2", 2)}, {}, settings);
    std::vector<std::pair<Field, Problem>> errors;
    for (const plan::InputError& e : checked.errors) {
        errors.emplace_back(e.field, e.problem);
    }
    const std::vector<std::pair<Field, Problem>> expected{
        {Field::ShortestSegment, Problem::NotPositive},
        {Field::LapShare, Problem::ShareNotAllowed}};
    EXPECT_EQ(errors, expected);
}

// A list with long bars, planned: every bar's segments are cut exactly as many times as its
// layouts say, with the segments' own marks, beside the ordinary pieces; the bound stays below
// the plan and above the finished lengths with their overlaps.
struct PlannedCase {
    const char* name;
    std::vector<plan::PieceRow> rows;
    std::vector<plan::OffcutRow> offcuts;
};

std::ostream& operator<<(std::ostream& out, const PlannedCase& c) {
    return out << c.name;
}

class LongBarPlan : public testing::TestWithParam<PlannedCase> {};

TEST_P(LongBarPlan, CutsEverySegmentOnce) {
    plan::Settings settings;
    settings.seconds = 2;
    const plan::Checked checked = plan::checkList(GetParam().rows, GetParam().offcuts, settings);
    ASSERT_TRUE(checked.errors.empty());
    const plan::Plan planned = plan::optimize(checked.list, {}, {}, 1);

    std::map<std::string, std::int64_t> wanted; // mark → pieces, segments included
    std::map<std::string, std::int64_t> cut;
    for (const plan::Piece& p : checked.list.pieces()) {
        wanted[p.mark] += p.count;
    }
    std::size_t spliced = 0;
    for (const plan::GroupPlan& group : planned.groups) {
        std::int64_t finished = 0;
        for (const plan::joints::SplicedBar& bar : group.spliced) {
            ++spliced;
            std::int64_t bars = 0;
            for (const plan::joints::Layout& layout : bar.layouts) {
                bars += layout.bars;
                std::int64_t covered = 0;
                for (const plan::joints::Segment& s : layout.segments) {
                    wanted[s.mark] += layout.bars;
                    covered += s.length;
                }
                EXPECT_EQ(covered, bar.length + static_cast<std::int64_t>(layout.joints.size()) *
                                                    bar.rule.overlap)
                    << bar.mark;
            }
            EXPECT_EQ(bars, bar.count) << bar.mark;
            finished += bar.length * bar.count;
        }
        for (const plan::Pattern& pattern : group.patterns) {
            for (const plan::Cut& c : pattern.cuts) {
                cut[c.mark] += pattern.count;
            }
        }
        EXPECT_LE(group.boundMm, group.stockMm);
        EXPECT_GE(group.piecesMm, finished + group.overlapMm);
    }
    EXPECT_EQ(spliced, checked.list.longBars().size());
    EXPECT_EQ(cut, wanted);
}

plan::PieceRow elements(plan::PieceRow r, std::string count) {
    r.elements = std::move(r.count);
    r.count = std::move(count);
    return r;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lists, LongBarPlan, testing::Values(
    PlannedCase{"BeamThroughBarsWithCouplers",
                {row("KL1-1", "HRB400", "25", "26400", "4", 2),
                 row("KL1-2", "HRB400", "25", "5200", "6", 3)}, {}},
    PlannedCase{"LappedBarsByElement",
                {elements(row("B1-1", "HRB400", "12", "17500", "3", 2), "4"),
                 row("B1-2", "HRB400", "12", "3300", "20", 3)}, {}},
    PlannedCase{"TwoSteelsAndAnOffcut",
                {row("Z1", "HRB400", "22", "13800", "8", 2),
                 row("L1", "HRB400", "20", "4000", "5", 3)},
                {plan::OffcutRow{"22", "4000", "2", 5, "HRB400"}}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace

namespace {

// A stop request during the choice of layouts ends the search at once with a whole plan: every
// segment of every long bar cut, as many times as its layouts say.
TEST(LongBarPlan, AStopRequestEndsTheChoiceWithAWholePlan) {
    std::vector<plan::PieceRow> rows;
    int line = 2;
    for (int k = 0; k < 12; ++k) {
        rows.push_back(row("L" + std::to_string(k), "HRB400", "25",
                           std::to_string(13'100 + 1'777 * k), std::to_string(4 + k % 5), line++));
        rows.push_back(row("P" + std::to_string(k), "HRB400", "25", std::to_string(2'150 + 613 * k),
                           std::to_string(7 + k), line++));
    }
    plan::Settings settings;
    settings.seconds = 60;
    const plan::Checked checked = plan::checkList(rows, {}, settings);
    ASSERT_TRUE(checked.errors.empty());

    std::stop_source stop;
    const auto start = std::chrono::steady_clock::now();
    std::jthread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop.request_stop();
    });
    const plan::Plan planned = plan::optimize(checked.list, {}, stop.get_token(), 1);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0);

    std::map<std::string, std::int64_t> wanted;
    std::map<std::string, std::int64_t> cut;
    for (const plan::Piece& p : checked.list.pieces()) {
        wanted[p.mark] += p.count;
    }
    ASSERT_EQ(planned.groups.size(), 1U);
    for (const plan::joints::SplicedBar& bar : planned.groups.front().spliced) {
        for (const plan::joints::Layout& layout : bar.layouts) {
            for (const plan::joints::Segment& s : layout.segments) {
                wanted[s.mark] += layout.bars;
            }
        }
    }
    for (const plan::Pattern& pattern : planned.groups.front().patterns) {
        for (const plan::Cut& c : pattern.cuts) {
            cut[c.mark] += pattern.count;
        }
    }
    EXPECT_EQ(cut, wanted);
    EXPECT_EQ(planned.groups.front().spliced.size(), 12U);
}

} // namespace
