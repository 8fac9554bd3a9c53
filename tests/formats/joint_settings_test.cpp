#include "formats/setting_text.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The joint settings as the list's #设置, the command's options and the planner's fields read
// them.
namespace {

using plan::Field;
using plan::Problem;
using plan::joints::Seismic;

// An expected error: its problem and any limit.
struct Expected {
    Problem problem;
    std::int64_t limit = 0;
};

template <typename T>
void expectRead(const formats::SettingValue<T>& got, Field field, const T& value,
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
    EXPECT_EQ(got.error->limit, error->limit);
}

struct Concrete {
    const char* name;
    std::string text;
    int value;
    std::optional<Expected> error;
};

class ReadConcrete : public testing::TestWithParam<Concrete> {};

TEST_P(ReadConcrete, ReadsAClassOfTheTable) {
    const Concrete& c = GetParam();
    expectRead(formats::readConcrete(c.text), Field::Concrete, c.value, c.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadConcrete, testing::Values(
    Concrete{"Class", "C30", 30, {}},
    Concrete{"LowerCase", "c25", 25, {}},
    Concrete{"NumberAlone", "35", 35, {}},
    Concrete{"FullWidth", "Ｃ４０", 40, {}},
    Concrete{"Blanks", " C 50　", 50, {}},
    Concrete{"Lowest", "C20", 20, {}},
    Concrete{"Highest", "C80", 80, {}},
    Concrete{"BelowTheTable", "C15", 0, Expected{Problem::NotANumber}},
    Concrete{"AboveTheTable", "C85", 0, Expected{Problem::NotANumber}},
    Concrete{"BetweenClasses", "C32", 0, Expected{Problem::NotANumber}},
    Concrete{"LetterAlone", "C", 0, Expected{Problem::NotANumber}},
    Concrete{"Word", "混凝土", 0, Expected{Problem::NotANumber}},
    Concrete{"Fraction", "C30.5", 0, Expected{Problem::NotANumber}},
    Concrete{"Empty", " ", 0, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct SeismicText {
    const char* name;
    std::string text;
    Seismic value;
    std::optional<Expected> error;
};

class ReadSeismic : public testing::TestWithParam<SeismicText> {};

TEST_P(ReadSeismic, ReadsTheGrade) {
    const SeismicText& s = GetParam();
    expectRead(formats::readSeismic(s.text), Field::Seismic, s.value, s.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadSeismic, testing::Values(
    SeismicText{"One", "一级", Seismic::One, {}},
    SeismicText{"OneDigit", "1", Seismic::One, {}},
    SeismicText{"OneBare", "一", Seismic::One, {}},
    SeismicText{"Two", "二级", Seismic::Two, {}},
    SeismicText{"Three", "三级", Seismic::Three, {}},
    SeismicText{"FourFullWidth", "４", Seismic::Four, {}},
    SeismicText{"Four", "四级", Seismic::Four, {}},
    SeismicText{"GradeThenWord", "二级抗震", Seismic::Two, {}},
    SeismicText{"WordThenGrade", "抗震三级", Seismic::Three, {}},
    SeismicText{"None", "非抗震", Seismic::None, {}},
    SeismicText{"NoneWord", "无", Seismic::None, {}},
    SeismicText{"NoneDigit", "0", Seismic::None, {}},
    SeismicText{"Blanks", "　二级 ", Seismic::Two, {}},
    SeismicText{"Five", "五级", Seismic::None, Expected{Problem::NotANumber}},
    SeismicText{"WordAlone", "抗震", Seismic::None, Expected{Problem::NotANumber}},
    SeismicText{"Other", "special", Seismic::None, Expected{Problem::NotANumber}},
    SeismicText{"Empty", "", Seismic::None, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The settings read as numbers: which reader, the field its errors name.
enum class Number { CouplerAbove, ButtAllowance, ShortestSegment };

struct NumberText {
    const char* name;
    Number setting;
    std::string text;
    std::int64_t value;
    std::optional<Expected> error;
};

class ReadJointNumber : public testing::TestWithParam<NumberText> {};

TEST_P(ReadJointNumber, ReadsWithinItsLimits) {
    const NumberText& n = GetParam();
    switch (n.setting) {
    case Number::CouplerAbove:
        expectRead(formats::readCouplerAbove(n.text), Field::CouplerAbove, n.value, n.error);
        return;
    case Number::ButtAllowance:
        expectRead(formats::readButtAllowance(n.text), Field::ButtAllowance, n.value, n.error);
        return;
    case Number::ShortestSegment:
        expectRead(formats::readShortestSegment(n.text), Field::ShortestSegment, n.value, n.error);
        return;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadJointNumber, testing::Values(
    NumberText{"CouplerWhole", Number::CouplerAbove, "22", 220, {}},
    NumberText{"CouplerWithSign", Number::CouplerAbove, "Φ25", 250, {}},
    NumberText{"CouplerTenth", Number::CouplerAbove, "6.5", 65, {}},
    NumberText{"CouplerFullWidth", Number::CouplerAbove, "２８", 280, {}},
    NumberText{"CouplerFinerThanATenth", Number::CouplerAbove, "22.55", 0, Expected{Problem::NotWhole}},
    NumberText{"CouplerZero", Number::CouplerAbove, "0", 0, Expected{Problem::NotPositive}},
    NumberText{"CouplerTooThick", Number::CouplerAbove, "101", 0, Expected{Problem::TooLarge, plan::kMaxDiameter}},
    NumberText{"CouplerWord", Number::CouplerAbove, "二十二", 0, Expected{Problem::NotANumber}},
    NumberText{"CouplerEmpty", Number::CouplerAbove, "", 0, Expected{Problem::Empty}},
    NumberText{"ButtUsual", Number::ButtAllowance, "30", 30, {}},
    NumberText{"ButtNone", Number::ButtAllowance, "0", 0, {}},
    NumberText{"ButtFraction", Number::ButtAllowance, "2.5", 0, Expected{Problem::NotWhole}},
    NumberText{"ButtNegative", Number::ButtAllowance, "-5", 0, Expected{Problem::Negative}},
    NumberText{"ButtLongest", Number::ButtAllowance, "100000", plan::kMaxAllowance, {}},
    NumberText{"ButtTooLong", Number::ButtAllowance, "100001", 0, Expected{Problem::TooLarge, plan::kMaxAllowance}},
    NumberText{"SegmentUsual", Number::ShortestSegment, "500", 500, {}},
    NumberText{"SegmentZero", Number::ShortestSegment, "0", 0, Expected{Problem::NotPositive}},
    NumberText{"SegmentFraction", Number::ShortestSegment, "499.5", 0, Expected{Problem::NotWhole}},
    NumberText{"SegmentLongest", Number::ShortestSegment, "1000000", plan::kMaxLength, {}},
    NumberText{"SegmentTooLong", Number::ShortestSegment, "1000001", 0, Expected{Problem::TooLarge, plan::kMaxLength}},
    NumberText{"SegmentEmpty", Number::ShortestSegment, " ", 0, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct YesNo {
    const char* name;
    std::string text;
    bool value;
    std::optional<Expected> error;
};

class ReadExtraJoint : public testing::TestWithParam<YesNo> {};

TEST_P(ReadExtraJoint, ReadsYesOrNo) {
    const YesNo& y = GetParam();
    expectRead(formats::readExtraJoint(y.text), Field::ExtraJoint, y.value, y.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadExtraJoint, testing::Values(
    YesNo{"Yes", "是", true, {}},
    YesNo{"No", "否", false, {}},
    YesNo{"YesEnglish", "yes", true, {}},
    YesNo{"NoUpperCase", "NO", false, {}},
    YesNo{"True", "true", true, {}},
    YesNo{"False", "False", false, {}},
    YesNo{"One", "1", true, {}},
    YesNo{"Zero", "0", false, {}},
    YesNo{"Blanks", "　是 ", true, {}},
    YesNo{"Maybe", "也许", false, Expected{Problem::NotANumber}},
    YesNo{"Two", "2", false, Expected{Problem::NotANumber}},
    YesNo{"Empty", "", false, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Share {
    const char* name;
    Field field;
    std::string text;
    int value;
    std::optional<Expected> error;
};

class ReadShare : public testing::TestWithParam<Share> {};

TEST_P(ReadShare, ReadsOnlyTheSharesOfTheLapTable) {
    const Share& s = GetParam();
    expectRead(formats::readShare(s.field, s.text), s.field, s.value, s.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadShare, testing::Values(
    Share{"Quarter", Field::LapShare, "25", 25, {}},
    Share{"HalfWithPercent", Field::LapShare, "50%", 50, {}},
    Share{"AllWithSpacedPercent", Field::LapShare, "100 %", 100, {}},
    Share{"FullWidth", Field::MechanicalShare, "５０％", 50, {}},
    Share{"PointZero", Field::MechanicalShare, "50.0", 50, {}},
    Share{"MechanicalQuarter", Field::MechanicalShare, "25%", 25, {}},
    Share{"NotInTheTable", Field::LapShare, "30", 0, Expected{Problem::ShareNotAllowed}},
    Share{"Zero", Field::LapShare, "0", 0, Expected{Problem::ShareNotAllowed}},
    Share{"Negative", Field::MechanicalShare, "-25", 0, Expected{Problem::ShareNotAllowed}},
    Share{"Fraction", Field::MechanicalShare, "50.5", 0, Expected{Problem::ShareNotAllowed}},
    Share{"OverAll", Field::MechanicalShare, "200%", 0, Expected{Problem::ShareNotAllowed}},
    Share{"Word", Field::LapShare, "一半", 0, Expected{Problem::NotANumber}},
    Share{"PercentAlone", Field::LapShare, "%", 0, Expected{Problem::Empty}},
    Share{"Empty", Field::MechanicalShare, "", 0, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Money {
    const char* name;
    std::string text;
    std::int64_t fen;
    std::optional<Expected> error;
};

class ReadSteelPrice : public testing::TestWithParam<Money> {};

// Money is read exactly, as whole fen: no binary fraction ever decides a plan.
TEST_P(ReadSteelPrice, ReadsYuanToTheFen) {
    const Money& m = GetParam();
    expectRead(formats::readSteelPrice(m.text), Field::SteelPrice, m.fen, m.error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadSteelPrice, testing::Values(
    Money{"Whole", "4000", 400'000, {}},
    Money{"Fen", "3950.05", 395'005, {}},
    Money{"TrailingZeros", "3950.500", 395'050, {}},
    Money{"WithItsUnit", "4000元/t", 400'000, {}},
    Money{"FullWidth", "４２００", 420'000, {}},
    Money{"Free", "0", 0, {}},
    Money{"ThirdDecimal", "3950.005", 0, Expected{Problem::NotWhole}},
    Money{"Negative", "-4000", 0, Expected{Problem::Negative}},
    Money{"Words", "四千", 0, Expected{Problem::NotANumber}},
    Money{"Empty", "", 0, Expected{Problem::Empty}},
    Money{"TooDear", "1000001", 0, Expected{Problem::TooLarge, plan::kMaxPriceFen / 100}},
    Money{"FarTooDear", "99999999999999999999", 0, Expected{Problem::TooLarge, plan::kMaxPriceFen / 100}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct JointPrices {
    const char* name;
    std::string text;
    std::array<std::int64_t, 5> fen; // Lap, Coupler, LapWeldSingle, LapWeldDouble, ButtWeld
    std::optional<Expected> error;
    std::string word = {}; // the word of an unknown method
};

class ReadJointPrices : public testing::TestWithParam<JointPrices> {};

// Over the defaults (laps 0, couplers 8 元, welds 5 元): what the text names changes.
TEST_P(ReadJointPrices, SetsTheMethodsItNames) {
    const JointPrices& j = GetParam();
    const auto got = formats::readJointPrices(j.text, plan::joints::kJointFen);
    expectRead(got, Field::JointPrice, j.fen, j.error);
    if (j.error) {
        EXPECT_EQ(got.error->text, j.word);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadJointPrices, testing::Values(
    JointPrices{"Coupler", "机械连接=12", {0, 1200, 500, 500, 500}, {}},
    JointPrices{"TradeWordAndColon", "直螺纹:9.5", {0, 950, 500, 500, 500}, {}},
    JointPrices{"EveryWeld", "焊接=6", {0, 800, 600, 600, 600}, {}},
    JointPrices{"OneWeldAfterAll", "焊接=6；对焊=3.5", {0, 800, 600, 600, 350}, {}},
    JointPrices{"Lap", "绑扎搭接=1,机械连接=7", {100, 700, 500, 500, 500}, {}},
    JointPrices{"UnknownMethod", "铆接=3", {}, Expected{Problem::UnknownJoint}, "铆接"},
    JointPrices{"NoPrice", "机械连接", {}, Expected{Problem::NotANumber}},
    JointPrices{"BadPrice", "机械连接=八元", {}, Expected{Problem::NotANumber}},
    JointPrices{"Empty", " ", {}, Expected{Problem::Empty}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(JointPriceTexts, ReadBackToTheSamePrices) {
    const std::array<std::int64_t, 5> fen{5, 1250, 0, 650, 100'000'000};
    const auto back = formats::readJointPrices(formats::jointPricesText(fen), {});
    ASSERT_FALSE(back.error);
    EXPECT_EQ(back.value, fen);
    for (const std::int64_t price : {std::int64_t{0}, std::int64_t{5}, std::int64_t{50},
                                     std::int64_t{395'005}, plan::kMaxPriceFen}) {
        SCOPED_TRACE(price);
        const auto steel = formats::readSteelPrice(formats::yuanText(price));
        ASSERT_FALSE(steel.error);
        EXPECT_EQ(steel.value, price);
    }
}

// What the writers write, the readers read back: a list saved with its settings opens with the
// same ones.
TEST(JointSettingTexts, ReadBackToTheSameValues) {
    ASSERT_FALSE(formats::concreteClasses().empty());
    for (const int concrete : formats::concreteClasses()) {
        SCOPED_TRACE(concrete);
        const auto back = formats::readConcrete(formats::concreteText(concrete));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, concrete);
    }
    for (const Seismic seismic :
         {Seismic::None, Seismic::One, Seismic::Two, Seismic::Three, Seismic::Four}) {
        SCOPED_TRACE(formats::seismicText(seismic));
        const auto back = formats::readSeismic(formats::seismicText(seismic));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, seismic);
    }
    for (const std::int64_t tenths :
         {std::int64_t{220}, std::int64_t{65}, std::int64_t{1}, plan::kMaxDiameter}) {
        SCOPED_TRACE(tenths);
        const auto back = formats::readCouplerAbove(formats::diameterText(tenths));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, tenths);
    }
    for (const bool yes : {true, false}) {
        const auto back = formats::readExtraJoint(formats::yesNoText(yes));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, yes);
    }
    ASSERT_FALSE(formats::allowedShares().empty());
    for (const int share : formats::allowedShares()) {
        SCOPED_TRACE(share);
        const auto back = formats::readShare(Field::LapShare, formats::shareText(share));
        ASSERT_FALSE(back.error);
        EXPECT_EQ(back.value, share);
    }
}

// The defaults of the planning library are settings a list may write.
TEST(JointSettingTexts, TheDefaultsAreAccepted) {
    const plan::joints::JointSettings defaults;
    EXPECT_FALSE(formats::readConcrete(formats::concreteText(defaults.concrete)).error);
    EXPECT_FALSE(formats::readShare(Field::LapShare, formats::shareText(defaults.lapShare)).error);
    EXPECT_FALSE(
        formats::readShare(Field::MechanicalShare, formats::shareText(defaults.mechanicalShare))
            .error);
    EXPECT_FALSE(formats::readShortestSegment(std::to_string(defaults.shortestSegment)).error);
    EXPECT_FALSE(formats::readButtAllowance(std::to_string(defaults.buttAllowance)).error);
}

} // namespace
