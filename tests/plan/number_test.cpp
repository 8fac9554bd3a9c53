#include "plan/number.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

using plan::NumberError;

struct Reading {
    const char* name;
    const char* text;
    std::int64_t value;
    std::optional<NumberError> error;
};

std::ostream& operator<<(std::ostream& out, const Reading& r) {
    return out << r.name;
}

const auto byName = [](const auto& info) {
    return std::string{info.param.name};
};

class Length : public testing::TestWithParam<Reading> {};

TEST_P(Length, IsCutAtTheNextWholeMillimetre) {
    const plan::Number n = plan::readLength(GetParam().text, 1'000'000);
    EXPECT_EQ(n.error, GetParam().error);
    if (!GetParam().error) {
        EXPECT_EQ(n.value, GetParam().value);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, Length, testing::Values(
    Reading{"Whole", "6457", 6457, {}},
    Reading{"DecimalsRoundUp", "6456.34", 6457, {}},
    Reading{"TinyFractionStillRoundsUp", "6456.0000000001", 6457, {}},
    Reading{"ZerosAfterThePointAreWhole", "6456.000", 6456, {}},
    Reading{"Blanks", "  3180\t", 3180, {}},
    Reading{"IdeographicSpace", "\xE3\x80\x80" "3180", 3180, {}},
    Reading{"FullWidthDigits", "\xEF\xBC\x96\xEF\xBC\x94\xEF\xBC\x95\xEF\xBC\x97", 6457, {}},
    Reading{"FullWidthPoint", "1\xEF\xBC\x8E" "5", 2, {}},
    Reading{"Exponent", "1.2E3", 1200, {}},
    Reading{"ExponentWithFraction", "1.2345e3", 1235, {}},
    Reading{"BelowAMillimetre", "0.3", 1, {}},
    Reading{"PlusSign", "+900", 900, {}},
    Reading{"AtTheLimit", "1000000", 1000000, {}},
    Reading{"JustOverTheLimitAfterRounding", "1000000.1", 0, NumberError::TooLarge},
    Reading{"HugeDoesNotOverflow", "99999999999999999999999", 0, NumberError::TooLarge},
    Reading{"HugeExponent", "1e999999999999", 0, NumberError::TooLarge},
    Reading{"Zero", "0", 0, NumberError::NotPositive},
    Reading{"NegativeZero", "-0.0", 0, NumberError::NotPositive},
    Reading{"Negative", "-5", 0, NumberError::NotPositive},
    Reading{"Empty", "", 0, NumberError::Empty},
    Reading{"OnlyBlanks", "   ", 0, NumberError::Empty},
    Reading{"Letters", "abc", 0, NumberError::NotANumber},
    Reading{"TrailingUnit", "6457mm", 0, NumberError::NotANumber},
    Reading{"ThousandsSeparator", "6,457", 0, NumberError::NotANumber},
    Reading{"LonePoint", ".", 0, NumberError::NotANumber},
    Reading{"ExponentWithoutDigits", "12e", 0, NumberError::NotANumber},
    Reading{"Infinity", "inf", 0, NumberError::NotANumber},
    Reading{"Hexadecimal", "0x10", 0, NumberError::NotANumber}
), byName);
// clang-format on

TEST(OffcutLength, IsRoundedDownToWhatCanBeUsed) {
    EXPECT_EQ(plan::readLength("3200.9", 1'000'000, plan::Rounding::Down).value, 3200);
    EXPECT_EQ(plan::readLength("0.9", 1'000'000, plan::Rounding::Down).error,
              NumberError::NotPositive);
}

class Count : public testing::TestWithParam<Reading> {};

TEST_P(Count, IsAWholeNumberAboveZero) {
    const plan::Number n = plan::readCount(GetParam().text, 1'000'000);
    EXPECT_EQ(n.error, GetParam().error);
    if (!GetParam().error) {
        EXPECT_EQ(n.value, GetParam().value);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, Count, testing::Values(
    Reading{"Whole", "4", 4, {}},
    Reading{"WholeWithZeroFraction", "4.00", 4, {}},
    Reading{"Fraction", "2.5", 0, NumberError::NotWhole},
    Reading{"AMillion", "1000000", 1000000, {}},
    Reading{"OverAMillion", "1000001", 0, NumberError::TooLarge},
    Reading{"Zero", "0", 0, NumberError::NotPositive},
    Reading{"Negative", "-3", 0, NumberError::NotPositive},
    Reading{"Words", "four", 0, NumberError::NotANumber}
), byName);
// clang-format on

class Allowance : public testing::TestWithParam<Reading> {};

TEST_P(Allowance, IsWholeAndNotNegative) {
    const plan::Number n = plan::readAllowance(GetParam().text, 100'000);
    EXPECT_EQ(n.error, GetParam().error);
    if (!GetParam().error) {
        EXPECT_EQ(n.value, GetParam().value);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, Allowance, testing::Values(
    Reading{"Zero", "0", 0, {}},
    Reading{"Three", "3", 3, {}},
    Reading{"FractionIsNotRounded", "2.5", 0, NumberError::NotWhole},
    Reading{"Negative", "-1", 0, NumberError::Negative},
    Reading{"OverTheLimit", "100001", 0, NumberError::TooLarge}
), byName);
// clang-format on

class Diameter : public testing::TestWithParam<Reading> {};

TEST_P(Diameter, IsReadInTenthsOfAMillimetre) {
    const plan::Number n = plan::readDiameter(GetParam().text, 1000);
    EXPECT_EQ(n.error, GetParam().error);
    if (!GetParam().error) {
        EXPECT_EQ(n.value, GetParam().value);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, Diameter, testing::Values(
    Reading{"Whole", "12", 120, {}},
    Reading{"WireRod", "6.5", 65, {}},
    Reading{"CapitalPhi", "\xCE\xA6" "25", 250, {}},
    Reading{"SmallPhi", "\xCF\x86" "8", 80, {}},
    Reading{"SignThenBlank", "\xCE\xA6 16", 160, {}},
    Reading{"CyrillicEf", "\xD0\xA4" "20", 200, {}},
    Reading{"FinerThanATenth", "6.55", 0, NumberError::NotWhole},
    Reading{"Exponent", "1.2e1", 0, NumberError::NotANumber},
    Reading{"Zero", "0", 0, NumberError::NotPositive},
    Reading{"OverTheLimit", "101", 0, NumberError::TooLarge},
    Reading{"SignAlone", "\xCE\xA6", 0, NumberError::Empty},
    Reading{"GradeLetter", "C12", 0, NumberError::NotANumber}
), byName);
// clang-format on

TEST(DiameterText, WritesTenthsOnlyWhenThereAreSome) {
    EXPECT_EQ(plan::diameterText(120), "12");
    EXPECT_EQ(plan::diameterText(65), "6.5");
}

} // namespace
