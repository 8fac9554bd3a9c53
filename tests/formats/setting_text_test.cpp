#include "formats/setting_text.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using formats::SettingValue;
using plan::Field;
using plan::Problem;

// An expected error: its problem, and for a stock length its position and any limit.
struct Expected {
    Problem problem;
    int position = 0;
    std::int64_t limit = 0;
};

template <typename T>
void expectRead(const SettingValue<T>& got, Field field, const T& value,
                const std::optional<Expected>& error) {
    if (!error) {
        ASSERT_FALSE(got.error) << "problem " << static_cast<int>(got.error->problem);
        EXPECT_EQ(got.value, value);
        return;
    }
    ASSERT_TRUE(got.error);
    EXPECT_EQ(got.error->source, plan::Source::Settings);
    EXPECT_EQ(got.error->field, field);
    EXPECT_EQ(got.error->problem, error->problem);
    EXPECT_EQ(got.error->line, error->position);
    EXPECT_EQ(got.error->limit, error->limit);
}

struct Stock {
    const char* name;
    std::string text;
    std::vector<std::int64_t> lengths;
    std::optional<Expected> error;
};

class ReadStockLengths : public testing::TestWithParam<Stock> {};

TEST_P(ReadStockLengths, ReadsEveryLengthOrNamesTheWrongOne) {
    const Stock& s = GetParam();
    expectRead(formats::readStockLengths(s.text), Field::StockLength, s.lengths, s.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadStockLengths, testing::Values(
    Stock{"Semicolons", "9000;12000", {9000, 12000}, {}},
    Stock{"Commas", "9000,12000", {9000, 12000}, {}},
    Stock{"OrderKept", "12000,6000,9000", {12000, 6000, 9000}, {}},
    Stock{"ChineseSeparatorsAndBlanks", " 9000，12000、6000；4500　3000 ", {9000, 12000, 6000, 4500, 3000}, {}},
    Stock{"FullWidthDigits", "９０００", {9000}, {}},
    Stock{"WholeWithPointZero", "9000.0", {9000}, {}},
    Stock{"OneMillimetre", "1", {1}, {}},
    Stock{"TheLongest", "1000000", {1000000}, {}},
    Stock{"TooLong", "9000;1000001", {}, Expected{Problem::TooLarge, 2, plan::kMaxLength}},
    Stock{"Fraction", "9000.5", {}, Expected{Problem::NotWhole, 1}},
    Stock{"Zero", "9000,0", {}, Expected{Problem::NotPositive, 2}},
    Stock{"Negative", "-9000", {}, Expected{Problem::NotPositive, 1}},
    Stock{"Word", "9000;十二米", {}, Expected{Problem::NotANumber, 2}},
    Stock{"Twice", "9000;12000;9000", {}, Expected{Problem::Duplicate, 3}},
    Stock{"Nothing", " ;, ", {}, Expected{Problem::NoStock}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Allowance {
    const char* name;
    bool kerf; // otherwise the shortest reusable remnant
    std::string text;
    std::int64_t value;
    std::optional<Expected> error;
};

class ReadAllowance : public testing::TestWithParam<Allowance> {};

TEST_P(ReadAllowance, ReadsWholeMillimetresFromZero) {
    const Allowance& a = GetParam();
    if (a.kerf) {
        expectRead(formats::readKerf(a.text), Field::Kerf, a.value, a.error);
    } else {
        expectRead(formats::readKeep(a.text), Field::Keep, a.value, a.error);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadAllowance, testing::Values(
    Allowance{"KerfZero", true, "0", 0, {}},
    Allowance{"KerfFullWidth", true, "　３ ", 3, {}},
    Allowance{"KerfFraction", true, "2.5", 0, Expected{Problem::NotWhole}},
    Allowance{"KerfNegative", true, "-1", 0, Expected{Problem::Negative}},
    Allowance{"KerfEmpty", true, "", 0, Expected{Problem::Empty}},
    Allowance{"KerfAtItsLimit", true, "100000", 100000, {}},
    Allowance{"KerfOverItsLimit", true, "100001", 0, Expected{Problem::TooLarge, 0, plan::kMaxAllowance}},
    Allowance{"KeepZero", false, "0", 0, {}},
    Allowance{"KeepOverTheKerfLimit", false, "500000", 500000, {}},
    Allowance{"KeepOverItsLimit", false, "1000001", 0, Expected{Problem::TooLarge, 0, plan::kMaxLength}},
    Allowance{"KeepWord", false, "五百", 0, Expected{Problem::NotANumber}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Seconds {
    const char* name;
    std::string text;
    double value;
    std::optional<Expected> error;
};

class ReadSeconds : public testing::TestWithParam<Seconds> {};

TEST_P(ReadSeconds, ReadsAPositiveNumberOfSeconds) {
    const Seconds& s = GetParam();
    expectRead(formats::readSeconds(s.text), Field::Seconds, s.value, s.error);
}

constexpr auto kSecondsLimit = static_cast<std::int64_t>(plan::kMaxSeconds);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadSeconds, testing::Values(
    Seconds{"Whole", "10", 10, {}},
    Seconds{"Fraction", "0.25", 0.25, {}},
    Seconds{"LeadingPoint", ".5", 0.5, {}},
    Seconds{"PlusAndBlanks", " +3 ", 3, {}},
    Seconds{"FullWidth", "１．５", 1.5, {}},
    Seconds{"Exponent", "1e-3", 0.001, {}},
    Seconds{"ADay", "86400", 86400, {}},
    Seconds{"OverADay", "86400.5", 0, Expected{Problem::TooLarge, 0, kSecondsLimit}},
    Seconds{"Huge", "1e999", 0, Expected{Problem::TooLarge, 0, kSecondsLimit}},
    Seconds{"Tiny", "1e-999", 0, Expected{Problem::NotPositive}},
    Seconds{"Zero", "0", 0, Expected{Problem::NotPositive}},
    Seconds{"Negative", "-1", 0, Expected{Problem::Negative}},
    Seconds{"Infinity", "inf", 0, Expected{Problem::NotANumber}},
    Seconds{"NaN", "nan", 0, Expected{Problem::NotANumber}},
    Seconds{"HexFloat", "0x1p3", 0, Expected{Problem::NotANumber}},
    Seconds{"Unit", "10s", 0, Expected{Problem::NotANumber}},
    Seconds{"Empty", " ", 0, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SettingTexts, ReadBackToTheSameValues) {
    for (const double seconds : {10.0, 0.1, 2.5, 1e-3, 86400.0, 1.0 / 3}) {
        SCOPED_TRACE(seconds);
        const auto back = formats::readSeconds(formats::secondsText(seconds));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, seconds);
    }
    for (const std::vector<std::int64_t>& lengths :
         {std::vector<std::int64_t>{9000, 12000}, std::vector<std::int64_t>{1},
          std::vector<std::int64_t>{1000000, 6000, 9000}}) {
        const auto back = formats::readStockLengths(formats::stockLengthsText(lengths));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, lengths);
    }
}

} // namespace
