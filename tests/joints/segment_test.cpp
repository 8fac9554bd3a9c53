// The segmentation stage on named bars: what it makes of them, the errors it names, and the
// faults its check finds in layouts that break a rule.
#include "plan/joints/segment.h"

#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using plan::joints::JointProblem;
using plan::joints::JointSettings;
using plan::joints::LongBar;
using plan::joints::Method;
using plan::joints::Segmented;

const std::vector<std::int64_t> kStock{9000, 12000};

LongBar bar(std::int64_t length, std::int64_t count, std::int64_t diameter = 250,
            std::optional<Method> method = Method::Coupler) {
    LongBar b;
    b.mark = "KL1-1";
    b.grade = "HRB400";
    b.diameter = diameter;
    b.length = length;
    b.count = count;
    b.method = method;
    b.line = 7;
    return b;
}

std::int64_t sum(const plan::joints::Layout& layout) {
    return std::accumulate(
        layout.segments.begin(), layout.segments.end(), std::int64_t{0},
        [](std::int64_t s, const plan::joints::Segment& g) { return s + g.length; });
}

TEST(Segment, ACoupledBarIsWholeStockBarsAndOneRemainder) {
    const Segmented s = plan::joints::segment(bar(30'000, 1), kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    ASSERT_EQ(s.spliced->layouts.size(), 1U);
    const plan::joints::Layout& layout = s.spliced->layouts[0];
    EXPECT_EQ(layout.segments.size(), 3U);
    EXPECT_EQ(sum(layout), 30'000);
    int whole = 0;
    for (const plan::joints::Segment& g : layout.segments) {
        whole += g.length == 9000 || g.length == 12'000 ? 1 : 0;
    }
    EXPECT_EQ(whole, 3); // 12 + 9 + 9 m
    EXPECT_EQ(layout.segments[0].mark, "KL1-1/1");
    EXPECT_EQ(layout.segments[1].mark, "KL1-1/2");
}

TEST(Segment, LapsAddTheirOverlapToTheSegments) {
    LongBar b = bar(20'000, 1, 200, Method::Lap);
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    // HRB400, C30, 25 %: 42d = 840 mm.
    EXPECT_EQ(s.spliced->rule.overlap, 840);
    const plan::joints::Layout& layout = s.spliced->layouts[0];
    EXPECT_EQ(sum(layout), 20'000 + 840);
    ASSERT_EQ(layout.joints.size(), 1U);
    EXPECT_EQ(layout.joints[0], layout.segments[0].length - 420);
}

TEST(Segment, BarsSideBySideAreStaggeredASectionApart) {
    // Four bars, couplers at 50 %: two layouts, their joints at least 35d = 875 mm apart.
    const Segmented s = plan::joints::segment(bar(30'000, 8, 250), kStock, [] {
        JointSettings j;
        return j;
    }());
    ASSERT_TRUE(s.spliced.has_value());
    EXPECT_EQ(s.spliced->rule.sideBySide, 8);
    EXPECT_EQ(s.spliced->rule.perSection, 4);
    ASSERT_EQ(s.spliced->layouts.size(), 2U);
    EXPECT_EQ(s.spliced->layouts[0].bars + s.spliced->layouts[1].bars, 8);
    for (const std::int64_t a : s.spliced->layouts[0].joints) {
        for (const std::int64_t b : s.spliced->layouts[1].joints) {
            EXPECT_GE(std::abs(a - b), 875);
        }
    }
}

TEST(Segment, AQuarterOfEightBarsNeedsFourLayouts) {
    LongBar b = bar(26'000, 16, 200, Method::Lap);
    b.sideBySide = 8;
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value()) << static_cast<int>(s.error->problem);
    EXPECT_EQ(s.spliced->rule.perSection, 2);
    EXPECT_EQ(s.spliced->layouts.size(), 4U);
    for (const plan::joints::Layout& layout : s.spliced->layouts) {
        EXPECT_EQ(layout.perElement, 2);
        EXPECT_EQ(layout.bars, 4);
    }
}

TEST(Segment, ZonesKeepTheJointsOut) {
    LongBar b = bar(20'000, 1);
    // The one joint can only lie between 8 and 12 m; the zone leaves 8 to 9 m.
    b.zones = {{0, 1000}, {9000, 13'000}, {19'000, 20'000}};
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    ASSERT_EQ(s.spliced->layouts[0].joints.size(), 1U);
    EXPECT_LE(s.spliced->layouts[0].joints[0], 9000);
}

TEST(Segment, FourLapsAQuarterEachTakeAJointMoreToStagger) {
    // The first joint of a bar with two joints must lie between 7.6 and 11.5 m: no room for
    // four joints 1.3 l_l = 1365 mm apart. Some bars take a third joint.
    const LongBar b = bar(30'000, 4, 250, Method::Lap);
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    EXPECT_EQ(s.spliced->rule.joints, 2);
    EXPECT_EQ(s.spliced->rule.mostJoints, 3);
    EXPECT_GT(s.spliced->joints(), 4 * 2);
    EXPECT_LE(s.spliced->joints(), 4 * 3);
    EXPECT_FALSE(plan::joints::check(*s.spliced, b, kStock, {}).has_value());
}

TEST(Segment, ALoneBarNeverTakesMoreThanTheFewestJoints) {
    const Segmented s = plan::joints::segment(bar(30'000, 1, 250, Method::Lap), kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    EXPECT_EQ(s.spliced->joints(), 2);
    EXPECT_EQ(s.spliced->rule.mostJoints, 2);
}

TEST(Segment, ExtraJointWhenAllowed) {
    JointSettings more;
    more.extraJoint = true;
    const Segmented s = plan::joints::segment(bar(30'000, 1, 250), kStock, more);
    ASSERT_TRUE(s.spliced.has_value());
    EXPECT_EQ(s.spliced->rule.mostJoints, 3);
    EXPECT_EQ(s.spliced->joints(), 2); // the first choice keeps the fewest
}

TEST(Segment, ThickLappedTensionBarIsAWarningNotARefusal) {
    const Segmented s = plan::joints::segment(bar(20'000, 1, 280, Method::Lap), kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    ASSERT_EQ(s.warnings.size(), 1U);
    EXPECT_EQ(s.warnings[0].warning, plan::joints::JointWarning::ThickTensionLap);
    EXPECT_EQ(s.warnings[0].line, 7);
}

TEST(Segment, MethodByDiameter) {
    const Segmented thin = plan::joints::segment(bar(20'000, 1, 220, std::nullopt), kStock, {});
    const Segmented thick = plan::joints::segment(bar(20'000, 1, 250, std::nullopt), kStock, {});
    ASSERT_TRUE(thin.spliced && thick.spliced);
    EXPECT_EQ(thin.spliced->rule.method, Method::Lap);
    EXPECT_EQ(thick.spliced->rule.method, Method::Coupler);
}

struct Refused {
    const char* name;
    LongBar bar;
    std::vector<std::int64_t> stock;
    JointProblem problem;
    std::int64_t value;
};

std::ostream& operator<<(std::ostream& out, const Refused& r) {
    return out << r.name;
}

class Errors : public testing::TestWithParam<Refused> {};

TEST_P(Errors, NameTheRowAndTheReason) {
    const Refused& r = GetParam();
    const Segmented s = plan::joints::segment(r.bar, r.stock, {});
    EXPECT_FALSE(s.spliced.has_value());
    ASSERT_TRUE(s.error.has_value());
    EXPECT_EQ(s.error->problem, r.problem);
    EXPECT_EQ(s.error->line, 7);
    EXPECT_EQ(s.error->mark, "KL1-1");
    EXPECT_EQ(s.error->value, r.value);
}

LongBar with(LongBar b, auto change) {
    change(b);
    return b;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bars, Errors, testing::Values(
    Refused{"LapLongerThanASegmentHolds",
            with(bar(8000, 1, 250, Method::Lap), [](LongBar& b) { b.lapLength = 2800; }),
            {3000}, JointProblem::LapTooLong, 2800},
    Refused{"ZonesLeaveNoPlace",
            with(bar(15'000, 1), [](LongBar& b) { b.zones = {{2000, 13'000}}; }),
            {12'000}, JointProblem::ZonesBlock, 0},
    // Two bars, a quarter: not even one may be lapped in a section.
    Refused{"QuarterOfTwoBars", bar(20'000, 2, 200, Method::Lap), {12'000},
            JointProblem::ShareTooSmall, 2},
    // Every joint between 8 and 8.5 m: too little room for two bars' joints 875 mm apart,
    // however many joints they take.
    Refused{"NoRoomToStagger",
            with(bar(20'000, 2), [](LongBar& b) { b.zones = {{0, 8000}, {8500, 20'000}}; }),
            {12'000}, JointProblem::ShareUnmet, 875},
    Refused{"NotLong", bar(11'000, 1), {12'000}, JointProblem::NotLong, 12'000},
    Refused{"ShareOfAThird",
            with(bar(20'000, 1), [](LongBar& b) { b.share = 33; }),
            {12'000}, JointProblem::ShareNotAllowed, 33},
    Refused{"LapWithoutGrade",
            with(bar(20'000, 1, 200, Method::Lap), [](LongBar& b) { b.grade.clear(); }),
            {12'000}, JointProblem::Rule, 0}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(Errors, ALapWithoutGradeSaysSo) {
    LongBar b = bar(20'000, 1, 200, Method::Lap);
    b.grade.clear();
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.error.has_value());
    EXPECT_EQ(s.error->rule, plan::joints::RuleProblem::NoGrade);
}

TEST(Errors, ACouplerNeedsNoGrade) {
    LongBar b = bar(20'000, 1);
    b.grade.clear();
    EXPECT_TRUE(plan::joints::segment(b, kStock, {}).spliced.has_value());
}

// Layouts that break one rule each, made from a sound one.
struct Fault {
    const char* name;
    void (*breakIt)(plan::joints::SplicedBar&);
};

std::ostream& operator<<(std::ostream& out, const Fault& f) {
    return out << f.name;
}

class Check : public testing::TestWithParam<Fault> {};

TEST_P(Check, FindsTheFault) {
    LongBar b = bar(30'000, 4, 250, Method::Lap);
    b.share = 50;
    b.zones = {{14'000, 15'000}};
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    ASSERT_FALSE(plan::joints::check(*s.spliced, b, kStock, {}).has_value());
    plan::joints::SplicedBar broken = *s.spliced;
    GetParam().breakIt(broken);
    EXPECT_TRUE(plan::joints::check(broken, b, kStock, {}).has_value());
}

void moveJoint(plan::joints::SplicedBar& s, std::int64_t by) {
    plan::joints::Layout& l = s.layouts[0];
    l.segments[0].length += by;
    l.segments[1].length -= by;
    l.joints[0] += by;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Faults, Check, testing::Values(
    Fault{"ShortOfTheLength", [](plan::joints::SplicedBar& s) {
        s.layouts[0].segments.back().length -= 1; }},
    Fault{"JointsOfTwoLayoutsInOneSection", [](plan::joints::SplicedBar& s) {
        const std::int64_t by = s.layouts[1].joints[0] - s.layouts[0].joints[0];
        moveJoint(s, by); }},
    Fault{"JointInAZone", [](plan::joints::SplicedBar& s) {
        moveJoint(s, 14'500 - s.layouts[0].joints[0]); }},
    Fault{"SegmentLongerThanTheStock", [](plan::joints::SplicedBar& s) {
        moveJoint(s, 12'001 - s.layouts[0].segments[0].length); }},
    Fault{"CentreNotWhereTheSegmentsPutIt", [](plan::joints::SplicedBar& s) {
        s.layouts[0].joints[0] += 1; }},
    Fault{"BarsMissing", [](plan::joints::SplicedBar& s) { s.layouts[0].bars -= 1; }},
    Fault{"AllBarsAlike", [](plan::joints::SplicedBar& s) {
        s.layouts[0].perElement += s.layouts[1].perElement;
        s.layouts[0].bars += s.layouts[1].bars;
        s.layouts.pop_back(); }},
    Fault{"AJointMore", [](plan::joints::SplicedBar& s) {
        plan::joints::Layout& l = s.layouts[0];
        const std::int64_t overlap = s.rule.overlap;
        l.segments.back().length -= 2000;
        l.segments.push_back({"X", 2000 + overlap});
        l.joints.push_back(30'000 - 2000 - overlap / 2); }}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(Practice, StartsEverySecondBarWithAPartOfABar) {
    const LongBar b = bar(30'000, 2);
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    const std::optional<plan::joints::SplicedBar> p =
        plan::joints::practice(b, s.spliced->rule, kStock, {});
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(p->layouts.size(), 2U);
    EXPECT_EQ(p->layouts[0].segments[0].length, 12'000);
    EXPECT_EQ(p->layouts[1].segments[0].length, 6000);
    EXPECT_EQ(sum(p->layouts[0]), 30'000);
    EXPECT_EQ(sum(p->layouts[1]), 30'000);
}

TEST(Practice, ARemainderTooShortBorrowsFromTheBarBeforeIt) {
    // 24.2 m in 12 m bars: 12 + 12 + 0.2 m; the last takes 300 mm to reach 500.
    const LongBar b = bar(24'200, 1);
    const Segmented s = plan::joints::segment(b, kStock, {});
    ASSERT_TRUE(s.spliced.has_value());
    const std::optional<plan::joints::SplicedBar> p =
        plan::joints::practice(b, s.spliced->rule, kStock, {});
    ASSERT_TRUE(p.has_value());
    const plan::joints::Layout& l = p->layouts[0];
    ASSERT_EQ(l.segments.size(), 3U);
    EXPECT_EQ(l.segments[1].length, 11'700);
    EXPECT_EQ(l.segments[2].length, 500);
}

} // namespace
