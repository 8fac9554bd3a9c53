#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "examples.h"

namespace {

using calc::Cause;
using calc::Fault;
using calc::FieldStore;
using calc::Status;
using namespace examples;

// Each with an old text in its result fields, which must survive a fault.
const Texts kStraightBarOld = with(examples::kStraightBar, {{"Text6", "old"}});
const Texts kBentUpBarOld = with(examples::kBentUpBar, {{"Text15", "old"}});
const Texts kStirrupOld = with(examples::kStirrup, {{"Text23", "old"}, {"Text24", "old"}});

// 2^127 and 2^126: doubled, the first lies beyond the single range and the second within it.
constexpr const char* kTwoTo127 = "170141183460469231731687303715884105728";
constexpr const char* kMinusTwoTo126 = "-85070591730234615865843651857942052864";

struct Case {
    const char* name;
    Calculation calculate;
    Texts fields;
    Fault fault;
    Texts written; // what the calculation wrote before it met the fault
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.name;
}

class Faults : public testing::TestWithParam<Case> {};

TEST_P(Faults, StopAtTheStepAndNameTheCauseAndField) {
    const Case& c = GetParam();
    FieldStore store{c.fields};
    EXPECT_EQ(c.calculate(store), (calc::Outcome{Status::Failed, c.fault}));
    EXPECT_TRUE(store.messages().empty());
    EXPECT_EQ(store.texts(), with(c.fields, c.written));
    EXPECT_EQ(store.writes().size(), c.written.size());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(StraightBar, Faults, testing::Values(
    Case{"BlankIsFilledButNotANumber", kOne, with(kStraightBarOld, {{"Text2", " "}}),
         {Cause::NotANumber, "Text2"}, {}},
    Case{"MemberLengthIsConvertedLast", kOne, with(kStraightBarOld, {{"Text1", "x"}, {"Text2", "y"}}),
         {Cause::NotANumber, "Text2"}, {}},
    Case{"DiameterBeforeHookCoefficient", kOne, with(kStraightBarOld, {{"Text3", "x"}, {"Text4", "y"}}),
         {Cause::NotANumber, "Text4"}, {}},
    Case{"MemberLengthNotANumber", kOne, with(kStraightBarOld, {{"Text1", "九百"}}),
         {Cause::NotANumber, "Text1"}, {}},
    Case{"DiameterTooLarge", kOne, with(kStraightBarOld, {{"Text4", "1e39"}}),
         {Cause::TooLarge, "Text4"}, {}},
    Case{"DoubledCoverOverflows", kOne, with(kStraightBarOld, {{"Text2", "2e38"}}),
         {Cause::Overflow, "Text2"}, {}},
    Case{"HookOverflowBlamesTheLargeCoefficient", kOne, with(kStraightBarOld, {{"Text3", "1e38"}}),
         {Cause::Overflow, "Text3"}, {}},
    Case{"HookOverflowBlamesTheLargeDiameter", kOne, with(kStraightBarOld, {{"Text4", "1e38"}}),
         {Cause::Overflow, "Text4"}, {}},
    Case{"ElongationOverflow", kOne, with(kStraightBarOld, {{"Text5", "-1e38"}}),
         {Cause::Overflow, "Text5"}, {}},
    Case{"ResultOverflowHasNoSingleField", kOne,
         with(kStraightBarOld, {{"Text1", "3e38"}, {"Text2", "-1e38"}}), {Cause::Overflow, ""}, {}}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(BentUpBar, Faults, testing::Values(
    Case{"StraightSegmentNotANumber", kTwo, with(kBentUpBarOld, {{"Text7", "abc"}}),
         {Cause::NotANumber, "Text7"}, {}},
    Case{"StraightSegmentBeforeRaisedSegment", kTwo, with(kBentUpBarOld, {{"Text7", "a"}, {"Text8", "b"}}),
         {Cause::NotANumber, "Text7"}, {}},
    Case{"InclinedCoefficientBeforeItsLength", kTwo,
         with(kBentUpBarOld, {{"Text9", "a"}, {"Text16", "b"}}), {Cause::NotANumber, "Text9"}, {}},
    Case{"SecondFieldOfTheSlantRow", kTwo, with(kBentUpBarOld, {{"Text16", "1..0"}}),
         {Cause::NotANumber, "Text16"}, {}},
    Case{"DoubledRaisedSegmentOverflows", kTwo, with(kBentUpBarOld, {{"Text8", "2e38"}}),
         {Cause::Overflow, "Text8"}, {}},
    Case{"SegmentSumOverflows", kTwo, with(kBentUpBarOld, {{"Text7", "3e38"}, {"Text8", "1e38"}}),
         {Cause::Overflow, ""}, {}},
    Case{"DeductionOverflow", kTwo, with(kBentUpBarOld, {{"Text13", "1e37"}}),
         {Cause::Overflow, "Text13"}, {}},
    Case{"DiameterTooLarge", kTwo, with(kBentUpBarOld, {{"Text14", "4e38"}}),
         {Cause::TooLarge, "Text14"}, {}}
), [](const auto& info) { return std::string{info.param.name}; });

// The length is written before the count is computed; a fault in the count leaves it there.
INSTANTIATE_TEST_SUITE_P(Stirrup, Faults, testing::Values(
    Case{"WidthIsConvertedBeforeLength", kSw, with(kStirrupOld, {{"Text17", "a"}, {"Text18", "b"}}),
         {Cause::NotANumber, "Text18"}, {}},
    Case{"DoubledWidthOverflows", kSw, with(kStirrupOld, {{"Text18", kTwoTo127}}),
         {Cause::Overflow, "Text18"}, {}},
    Case{"ElongationNotANumber", kSw, with(kStirrupOld, {{"Text20", "1.25.0"}}),
         {Cause::NotANumber, "Text20"}, {}},
    Case{"ZeroSpacing", kSw, with(kStirrupOld, {{"Text22", "0"}}),
         {Cause::DivisionByZero, "Text22"}, {{"Text23", "917"}}},
    Case{"NegativeZeroSpacing", kSw, with(kStirrupOld, {{"Text22", "-0.0"}}),
         {Cause::DivisionByZero, "Text22"}, {{"Text23", "917"}}},
    Case{"ZeroOverZero", kSw, with(kStirrupOld, {{"Text21", "0"}, {"Text22", "0"}}),
         {Cause::InvalidOperation, "Text22"}, {{"Text23", "917"}}},
    Case{"SpacingNotANumber", kSw, with(kStirrupOld, {{"Text22", "150mm"}}),
         {Cause::NotANumber, "Text22"}, {{"Text23", "917"}}},
    Case{"MainBarTooLarge", kSw, with(kStirrupOld, {{"Text21", "1e40"}}),
         {Cause::TooLarge, "Text21"}, {{"Text23", "917"}}},
    Case{"QuotientOverflows", kSw, with(kStirrupOld, {{"Text21", "1e38"}, {"Text22", "1e-10"}}),
         {Cause::Overflow, "Text22"}, {{"Text23", "917"}}}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

// Only the sum of both doubled sides is rounded: twice 2^127 alone would overflow a single.
TEST(Stirrup, DoubledLengthIsNotRoundedOnItsOwn) {
    FieldStore store{with(kStirrupOld, {{"Text17", kTwoTo127}, {"Text18", kMinusTwoTo126}})};
    EXPECT_EQ(calc::sw(store).status, Status::Written);
    EXPECT_EQ(store.read("Text23"), "1.701412E+38");
    EXPECT_EQ(store.read("Text24"), "7");
}

// A tiny spacing is no fault as long as the count stays within the single range. As a
// subnormal single, 1e-40 keeps only about five digits: 9.99995e-41.
TEST(Stirrup, SubnormalSpacingStillCounts) {
    FieldStore store{with(kStirrupOld, {{"Text21", "1e-30"}, {"Text22", "1e-40"}})};
    EXPECT_EQ(calc::sw(store).status, Status::Written);
    EXPECT_EQ(store.read("Text24"), "1.000005E+10");
}

} // namespace
