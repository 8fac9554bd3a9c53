// Anchorage and lap lengths against entries printed in the national drawing tables
// (22G101-1, as 16G101-1 before it): l_ab, l_abE, l_a/l_aE in both diameter columns, l_l/l_lE
// for each share.
#include "plan/joints/rules.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

using plan::joints::Seismic;

struct Printed {
    const char* name;
    const char* grade;
    int concrete;
    Seismic seismic;
    std::int64_t diameter; // tenths of a mm
    int share;
    int basic;        // l_ab as printed, in d
    int basicSeismic; // l_abE as printed
    int anchorage;    // l_a / l_aE of the diameter's column
    int lap;          // l_l / l_lE for the share
};

std::ostream& operator<<(std::ostream& out, const Printed& p) {
    return out << p.name;
}

class Tables : public testing::TestWithParam<Printed> {};

TEST_P(Tables, MatchThePrintedEntry) {
    const Printed& p = GetParam();
    const plan::joints::Anchorage a =
        plan::joints::anchorage({p.grade, p.diameter, p.concrete, p.seismic, p.share, 0});
    ASSERT_FALSE(a.problem.has_value());
    EXPECT_EQ(a.d.basic, p.basic);
    EXPECT_EQ(a.d.basicSeismic, p.basicSeismic);
    EXPECT_EQ(a.d.anchorage, p.anchorage);
    EXPECT_EQ(a.d.lap, p.lap);
}

constexpr Seismic kNone = Seismic::None;
constexpr Seismic kOne = Seismic::One;
constexpr Seismic kTwo = Seismic::Two;
constexpr Seismic kThree = Seismic::Three;
constexpr Seismic kFour = Seismic::Four;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Entries, Tables, testing::Values(
    // l_ab row by row (non-seismic, d ≤ 25, 25 %: l_a = l_ab, l_l = 1.2 l_a)
    Printed{"HPB300_C25", "HPB300", 25, kNone, 200, 25, 34, 34, 34, 41},
    Printed{"HPB300_C30", "HPB300", 30, kNone, 200, 25, 30, 30, 30, 36},
    Printed{"HPB300_C35", "HPB300", 35, kNone, 200, 25, 28, 28, 28, 34},
    Printed{"HPB300_C40", "HPB300", 40, kNone, 200, 25, 25, 25, 25, 30},
    Printed{"HPB300_C60", "HPB300", 60, kNone, 200, 25, 21, 21, 21, 25},
    Printed{"HRB335_C20", "HRB335", 20, kNone, 200, 25, 38, 38, 38, 46},
    Printed{"HRB335_C30", "HRB335", 30, kNone, 200, 25, 29, 29, 29, 35},
    Printed{"HRB400_C25", "HRB400", 25, kNone, 200, 25, 40, 40, 40, 48},
    Printed{"HRB400_C30", "HRB400", 30, kNone, 200, 25, 35, 35, 35, 42},
    Printed{"HRB400_C35", "HRB400", 35, kNone, 200, 25, 32, 32, 32, 38},
    Printed{"HRB400_C40", "HRB400", 40, kNone, 200, 25, 29, 29, 29, 35},
    Printed{"HRB400_C45", "HRB400", 45, kNone, 200, 25, 28, 28, 28, 34},
    Printed{"HRB400_C50", "HRB400", 50, kNone, 200, 25, 27, 27, 27, 32},
    Printed{"HRB400_C55", "HRB400", 55, kNone, 200, 25, 26, 26, 26, 31},
    Printed{"HRB400_C60", "HRB400", 60, kNone, 200, 25, 25, 25, 25, 30},
    Printed{"HRB400_C70_TakesC60", "HRB400", 70, kNone, 200, 25, 25, 25, 25, 30},
    Printed{"HRBF400_AsHRB400", "HRBF400", 30, kNone, 200, 25, 35, 35, 35, 42},
    Printed{"RRB400_AsHRB400", "RRB400", 30, kNone, 200, 25, 35, 35, 35, 42},
    Printed{"HRB400E_AsHRB400", "HRB400E", 30, kNone, 200, 25, 35, 35, 35, 42},
    Printed{"HRB500_C25", "HRB500", 25, kNone, 200, 25, 48, 48, 48, 58},
    Printed{"HRB500_C30", "HRB500", 30, kNone, 200, 25, 43, 43, 43, 52},
    Printed{"HRB500_C40", "HRB500", 40, kNone, 200, 25, 36, 36, 36, 43},
    Printed{"HRB500_C60", "HRB500", 60, kNone, 200, 25, 30, 30, 30, 36},
    // l_abE / l_aE, grades 一 and 二
    Printed{"HPB300_C30_One", "HPB300", 30, kOne, 200, 25, 30, 35, 35, 42},
    Printed{"HPB300_C35_Two", "HPB300", 35, kTwo, 200, 25, 28, 32, 32, 38},
    Printed{"HRB400_C25_Two", "HRB400", 25, kTwo, 200, 25, 40, 46, 46, 55},
    Printed{"HRB400_C30_Two", "HRB400", 30, kTwo, 200, 25, 35, 40, 40, 48},
    Printed{"HRB400_C40_One", "HRB400", 40, kOne, 200, 25, 29, 33, 33, 40},
    Printed{"HRB400_C60_Two", "HRB400", 60, kTwo, 200, 25, 25, 29, 29, 35},
    Printed{"HRB500_C30_Two", "HRB500", 30, kTwo, 200, 25, 43, 49, 49, 59},
    Printed{"HRB500_C50_One", "HRB500", 50, kOne, 200, 25, 32, 37, 37, 44},
    // grade 三: 1.05 times the printed l_ab
    Printed{"HPB300_C25_Three", "HPB300", 25, kThree, 200, 25, 34, 36, 36, 43},
    Printed{"HRB400_C30_Three", "HRB400", 30, kThree, 200, 25, 35, 37, 37, 44},
    Printed{"HRB400_C40_Three_FromPrintedLab", "HRB400", 40, kThree, 200, 25, 29, 30, 30, 36},
    Printed{"HRB500_C30_Three", "HRB500", 30, kThree, 200, 25, 43, 45, 45, 54},
    // grade 四 is the non-seismic table
    Printed{"HRB400_C30_Four", "HRB400", 30, kFour, 200, 25, 35, 35, 35, 42},
    // the d > 25 column: 1.1 times the printed l_a / l_aE
    Printed{"HRB400_C25_Thick", "HRB400", 25, kNone, 280, 25, 40, 40, 44, 53},
    Printed{"HRB400_C30_Thick", "HRB400", 30, kNone, 280, 25, 35, 35, 39, 47},
    Printed{"HRB500_C30_Thick", "HRB500", 30, kNone, 320, 25, 43, 43, 47, 56},
    Printed{"HRB400_C25_Two_Thick", "HRB400", 25, kTwo, 280, 25, 40, 46, 51, 61},
    Printed{"HRB400_C30_Two_Thick", "HRB400", 30, kTwo, 280, 25, 35, 40, 44, 53},
    Printed{"HRB400_25mm_IsTheThinColumn", "HRB400", 30, kNone, 250, 25, 35, 35, 35, 42},
    // shares: ζ_l 1.2, 1.4, 1.6
    Printed{"HRB400_C30_Half", "HRB400", 30, kNone, 200, 50, 35, 35, 35, 49},
    Printed{"HRB400_C30_All", "HRB400", 30, kNone, 200, 100, 35, 35, 35, 56},
    Printed{"HRB400_C30_Two_Half", "HRB400", 30, kTwo, 200, 50, 35, 40, 40, 56},
    Printed{"HRB400_C30_Two_All", "HRB400", 30, kTwo, 200, 100, 35, 40, 40, 64},
    Printed{"HRB400_C30_Two_Half_Thick", "HRB400", 30, kTwo, 280, 50, 35, 40, 44, 62},
    Printed{"HRB400_C30_Two_All_Thick", "HRB400", 30, kTwo, 280, 100, 35, 40, 44, 70},
    Printed{"HRB400_C30_Half_Thick", "HRB400", 30, kNone, 280, 50, 35, 35, 39, 55},
    Printed{"HRB400_C30_All_Thick", "HRB400", 30, kNone, 280, 100, 35, 35, 39, 62}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct Least {
    const char* name;
    const char* grade;
    std::int64_t diameter;
    std::int64_t anchorageMm;
    std::int64_t lapMm;
};

std::ostream& operator<<(std::ostream& out, const Least& l) {
    return out << l.name;
}

class Lengths : public testing::TestWithParam<Least> {};

TEST_P(Lengths, AreTimesDiameterWithTheirLeastValues) {
    const Least& l = GetParam();
    const plan::joints::Anchorage a =
        plan::joints::anchorage({l.grade, l.diameter, 30, Seismic::None, 25, 0});
    ASSERT_FALSE(a.problem.has_value());
    EXPECT_EQ(a.anchorageMm, l.anchorageMm);
    EXPECT_EQ(a.lapMm, l.lapMm);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Diameters, Lengths, testing::Values(
    // 30d · 6 = 180 mm is under 200 (8.3.1); 36d · 6 = 216 under 300 (8.4.4)
    Least{"Thin_AtTheLeastAnchorageAndLap", "HPB300", 60, 200, 300},
    // 35d · 6.5 = 227.5, up to the next mm
    Least{"Fraction_RoundsUp", "HRB400", 65, 228, 300},
    Least{"D25", "HRB400", 250, 875, 1050},
    Least{"D28_ThickColumn", "HRB400", 280, 1092, 1316}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct Refused {
    const char* name;
    const char* grade;
    int concrete;
    int share;
    plan::joints::RuleProblem problem;
};

std::ostream& operator<<(std::ostream& out, const Refused& r) {
    return out << r.name;
}

class Refusals : public testing::TestWithParam<Refused> {};

TEST_P(Refusals, NameTheCause) {
    const Refused& r = GetParam();
    const plan::joints::Anchorage a =
        plan::joints::anchorage({r.grade, 200, r.concrete, Seismic::None, r.share, 0});
    EXPECT_EQ(a.problem, r.problem);
}

using plan::joints::RuleProblem;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Queries, Refusals, testing::Values(
    Refused{"NoGrade", "", 30, 25, RuleProblem::NoGrade},
    Refused{"UnknownGrade", "Q235", 30, 25, RuleProblem::UnknownGrade},
    Refused{"UnknownConcrete", "HRB400", 32, 25, RuleProblem::UnknownConcrete},
    Refused{"HRB400InC20", "HRB400", 20, 25, RuleProblem::WeakConcrete},
    Refused{"ShareOfAThird", "HRB400", 30, 33, RuleProblem::UnknownShare}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(Anchorage, ARowsFactorReplacesTheOneForThickBars) {
    // ζ_a 1.25 (epoxy-coated bars, 8.3.2-2) on a 28 mm bar: 1.25 · 35 = 43.75 → 44d.
    const plan::joints::Anchorage a =
        plan::joints::anchorage({"HRB400", 280, 30, Seismic::None, 25, 125});
    EXPECT_EQ(a.d.anchorage, 44);
}

TEST(Anchorage, PlainBarsHaveNoThickColumn) {
    const plan::joints::Anchorage thin =
        plan::joints::anchorage({"HPB300", 220, 30, Seismic::None, 25, 0});
    const plan::joints::Anchorage thick =
        plan::joints::anchorage({"HPB300", 280, 30, Seismic::None, 25, 0});
    EXPECT_EQ(thin.d.anchorage, thick.d.anchorage);
}

struct Joint {
    const char* name;
    plan::joints::Method method;
    const char* grade;
    std::int64_t diameter;
    std::int64_t overlap;
    std::int64_t section;
    int share;
};

std::ostream& operator<<(std::ostream& out, const Joint& j) {
    return out << j.name;
}

class Joints : public testing::TestWithParam<Joint> {};

TEST_P(Joints, CostTheirOverlapAndSection) {
    const Joint& j = GetParam();
    const std::optional<plan::joints::GradeRow> grade = plan::joints::gradeNamed(j.grade);
    ASSERT_TRUE(grade.has_value());
    const plan::joints::JointCost cost =
        plan::joints::jointCost(j.method, &*grade, j.diameter, 1050, 40);
    EXPECT_EQ(cost.overlap, j.overlap);
    EXPECT_EQ(cost.section, j.section);
    EXPECT_EQ(cost.defaultShare, j.share);
}

using plan::joints::Method;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Methods, Joints, testing::Values(
    // 1.3 · 1050 = 1365 (8.4.3)
    Joint{"Lap", Method::Lap, "HRB400", 250, 1050, 1365, 25},
    // 35d (8.4.7)
    Joint{"Coupler", Method::Coupler, "HRB400", 250, 0, 875, 50},
    Joint{"Coupler_32", Method::Coupler, "HRB400", 320, 0, 1120, 50},
    // 10d and 5d for ribbed bars, 8d and 4d for HPB300 (JGJ 18-2012 table 4.5.2)
    Joint{"SingleWeld", Method::LapWeldSingle, "HRB400", 250, 250, 875, 50},
    Joint{"DoubleWeld", Method::LapWeldDouble, "HRB400", 250, 125, 875, 50},
    Joint{"SingleWeld_Plain", Method::LapWeldSingle, "HPB300", 200, 160, 700, 50},
    Joint{"DoubleWeld_Plain", Method::LapWeldDouble, "HPB300", 200, 80, 700, 50},
    // 35d but at least 500 mm (8.4.9)
    Joint{"ButtWeld_Thin", Method::ButtWeld, "HRB400", 120, 40, 500, 50},
    Joint{"ButtWeld_Thick", Method::ButtWeld, "HRB400", 280, 40, 980, 50}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(LapSection, RoundsUpSoThatAJointAtExactly1_3LapsIsInTheNextSection) {
    EXPECT_EQ(plan::joints::lapSection(1000), 1300);
    EXPECT_EQ(plan::joints::lapSection(1001), 1302); // 1301.3
}

} // namespace
