#include "calc/number_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

using calc::Cause;
using calc::textToSingle;

struct Reading {
    const char* name;
    std::string text;
    std::string separator;
    float value;
    std::optional<Cause> error;
};

std::ostream& operator<<(std::ostream& out, const Reading& r) {
    return out << r.name;
}

class TextToSingle : public testing::TestWithParam<Reading> {};

TEST_P(TextToSingle, ReadsTheValueOrNamesTheCause) {
    const Reading& r = GetParam();
    const calc::Conversion got = textToSingle(r.text, r.separator);
    EXPECT_EQ(got.error, r.error);
    if (!r.error) {
        // Bit for bit: the sign of zero and the last bit of the rounding count.
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got.value), std::bit_cast<std::uint32_t>(r.value))
            << got.value << " for \"" << r.text << '"';
    }
}

constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();
constexpr auto kNaN = Cause::NotANumber;
constexpr auto kLarge = Cause::TooLarge;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Plain, TextToSingle, testing::Values(
    Reading{"Whole", "900", ".", 900.0F, {}},
    Reading{"Fraction", "6.25", ".", 6.25F, {}},
    Reading{"LeadingPoint", ".5", ".", 0.5F, {}},
    Reading{"TrailingPoint", "5.", ".", 5.0F, {}},
    Reading{"PlusSign", "+12", ".", 12.0F, {}},
    Reading{"MinusSign", "-60", ".", -60.0F, {}},
    Reading{"NegativeZero", "-0", ".", -0.0F, {}},
    Reading{"BlanksAround", "  \t25 \t", ".", 25.0F, {}},
    Reading{"Exponent", "1.5e3", ".", 1500.0F, {}},
    Reading{"CapitalExponentWithSign", "25E-1", ".", 2.5F, {}},
    Reading{"LongExponentOfZero", "0e99999999999999999999", ".", 0.0F, {}},
    Reading{"ManyDigits", "0.1000000000000000000000000000001", ".", 0.1F, {}},
    Reading{"CommaSeparator", "1,5", ",", 1.5F, {}}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(FullWidth, TextToSingle, testing::Values(
    Reading{"Digits", "\xEF\xBC\x99\xEF\xBC\x90\xEF\xBC\x90", ".", 900.0F, {}},
    Reading{"PointAndMinus", "\xEF\xBC\x8D\xEF\xBC\x91\xEF\xBC\x8E\xEF\xBC\x95", ".", -1.5F, {}},
    Reading{"Plus", "\xEF\xBC\x8B" "7", ".", 7.0F, {}},
    Reading{"IdeographicSpace", "\xE3\x80\x80" "25\xE3\x80\x80", ".", 25.0F, {}},
    Reading{"MixedWithAscii", "1\xEF\xBC\x92.5", ".", 12.5F, {}},
    Reading{"FullWidthLetterIsNotADigit", "\xEF\xBC\xA5", ".", 0.0F, kNaN}
), [](const auto& info) { return std::string{info.param.name}; });

// The single nearest to the decimal text, ties to even, with no detour through a double.
INSTANTIATE_TEST_SUITE_P(Rounding, TextToSingle, testing::Values(
    Reading{"ExactTieGoesToEven", "1.000000059604644775390625", ".", 1.0F, {}},
    Reading{"JustAboveTieGoesUp", "1.000000059604644775390626", ".", 1.00000012F, {}},
    // Rounded to a double first this would land on the tie and then go down to 1.
    Reading{"NoDoubleRounding", "1.00000005960464477539062500000000001", ".", 1.00000012F, {}},
    Reading{"LargestSingle", "3.4028235e38", ".", kMax, {}},
    Reading{"RoundsDownToLargest", "3.40282356e38", ".", kMax, {}},
    Reading{"SmallestSubnormal", "1.4e-45", ".", kTiny, {}},
    Reading{"UnderflowIsZero", "1e-50", ".", 0.0F, {}},
    Reading{"NegativeUnderflowIsNegativeZero", "-1e-50", ".", -0.0F, {}},
    Reading{"HugeNegativeExponent", "5e-99999999999999999", ".", 0.0F, {}}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(Rejected, TextToSingle, testing::Values(
    Reading{"Empty", "", ".", 0.0F, kNaN},
    Reading{"SingleBlank", " ", ".", 0.0F, kNaN},
    Reading{"Letters", "abc", ".", 0.0F, kNaN},
    Reading{"TrailingText", "12mm", ".", 0.0F, kNaN},
    Reading{"BlankInside", "1 2", ".", 0.0F, kNaN},
    Reading{"SignAlone", "-", ".", 0.0F, kNaN},
    Reading{"PointAlone", ".", ".", 0.0F, kNaN},
    Reading{"TwoSigns", "+-1", ".", 0.0F, kNaN},
    Reading{"TwoPoints", "1.2.3", ".", 0.0F, kNaN},
    Reading{"ExponentWithoutDigits", "1e", ".", 0.0F, kNaN},
    Reading{"ExponentAlone", "e5", ".", 0.0F, kNaN},
    Reading{"Infinity", "inf", ".", 0.0F, kNaN},
    Reading{"InfinityWord", "Infinity", ".", 0.0F, kNaN},
    Reading{"NaN", "nan", ".", 0.0F, kNaN},
    Reading{"Hexadecimal", "0x10", ".", 0.0F, kNaN},
    Reading{"ThousandsSeparator", "1,000", ".", 0.0F, kNaN},
    Reading{"PointUnderCommaLocale", "1.5", ",", 0.0F, kNaN},
    Reading{"NulInside", std::string{"1\0" "2", 3}, ".", 0.0F, kNaN},
    Reading{"AboveTheRange", "3.4028236e38", ".", 0.0F, kLarge},
    Reading{"FarAboveTheRange", "-1e39", ".", 0.0F, kLarge},
    Reading{"HugeExponent", "1e99999999999999999999", ".", 0.0F, kLarge},
    Reading{"ManyWholeDigits", std::string(60, '9'), ".", 0.0F, kLarge}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct Showing {
    const char* name;
    float value;
    std::string separator;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const Showing& s) {
    return out << s.name;
}

class SingleToText : public testing::TestWithParam<Showing> {};

TEST_P(SingleToText, ShowsSevenDigitsWithoutTrailingZeros) {
    const Showing& s = GetParam();
    EXPECT_EQ(calc::singleToText(s.value, s.separator), s.text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Forms, SingleToText, testing::Values(
    Showing{"Whole", 945.0F, ".", "945"},
    Showing{"Fraction", 917.4F, ".", "917.4"},
    Showing{"SevenDigits", 7.6666665F, ".", "7.666667"},
    Showing{"Negative", -20.0F, ".", "-20"},
    Showing{"BelowOneHasLeadingZero", 0.5F, ".", "0.5"},
    Showing{"Zero", 0.0F, ".", "0"},
    Showing{"NegativeZeroIsZero", -0.0F, ".", "0"},
    Showing{"SevenDigitWhole", 1234567.0F, ".", "1234567"},
    Showing{"EightDigitsTakeTheExponent", 12345678.0F, ".", "1.234568E+07"},
    Showing{"ExactTieRoundsToEven", 12345685.0F, ".", "1.234568E+07"},
    Showing{"ExactTieRoundsToEvenUp", 12345675.0F, ".", "1.234568E+07"},
    Showing{"RoundPowerOfTen", 1e7F, ".", "1E+07"},
    Showing{"SmallStaysPlain", 0.0001F, ".", "0.0001"},
    Showing{"SmallerTakesTheExponent", 0.00001F, ".", "1E-05"},
    Showing{"LargestSingle", std::numeric_limits<float>::max(), ".", "3.402823E+38"},
    Showing{"SmallestSubnormal", std::numeric_limits<float>::denorm_min(), ".", "1.401298E-45"},
    Showing{"CommaSeparator", 1.25F, ",", "1,25"}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

// Showing a value and reading it back moves it by no more than seven digits allow.
TEST(RoundTrip, SevenDigitsComeBackWithinHalfAUnitOfTheLastDigit) {
    for (const float v : {945.0F, 917.4F, 7.6666665F, 0.1F, 3.14159265F, 123456.789F, 1e-30F,
                          -2.5e20F, std::numeric_limits<float>::max()}) {
        const calc::Conversion back = textToSingle(calc::singleToText(v));
        ASSERT_FALSE(back.error) << v;
        EXPECT_NEAR(back.value, v, std::fabs(v) * 5e-7) << v;
    }
}

} // namespace
