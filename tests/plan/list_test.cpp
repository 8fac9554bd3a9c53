#include "plan/list.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using plan::Field;
using plan::InputError;
using plan::Problem;
using plan::Source;

struct BadRow {
    const char* name;
    plan::PieceRow row;
    std::vector<InputError> errors;
};

std::ostream& operator<<(std::ostream& out, const BadRow& r) {
    return out << r.name;
}

class PieceRowError : public testing::TestWithParam<BadRow> {};

TEST_P(PieceRowError, NamesTheRowAndTheField) {
    const plan::Checked checked = plan::checkList({GetParam().row}, {}, plan::Settings{});
    EXPECT_EQ(checked.errors, GetParam().errors);
    EXPECT_TRUE(checked.list.pieces().empty());
}

InputError piece(int line, Field field, Problem problem, std::int64_t limit = 0) {
    return {Source::Pieces, line, field, problem, limit};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, PieceRowError, testing::Values(
    BadRow{"LongerThanEveryStockLength", {"KL1", "25", "12001", "2", 7},
           {piece(7, Field::Length, Problem::LongerThanStock, 12000)}},
    BadRow{"ZeroLength", {"KL1", "25", "0", "2", 3}, {piece(3, Field::Length, Problem::NotPositive)}},
    BadRow{"NegativeLength", {"KL1", "25", "-100", "2", 3},
           {piece(3, Field::Length, Problem::NotPositive)}},
    BadRow{"LengthNotANumber", {"KL1", "25", "六米", "2", 3},
           {piece(3, Field::Length, Problem::NotANumber)}},
    BadRow{"LengthOverTheLimit", {"KL1", "25", "1000001", "2", 3},
           {piece(3, Field::Length, Problem::TooLarge, plan::kMaxLength)}},
    BadRow{"CountOverAMillion", {"KL1", "25", "6000", "1000001", 9},
           {piece(9, Field::Count, Problem::TooLarge, plan::kMaxCount)}},
    BadRow{"FractionalCount", {"KL1", "25", "6000", "2.5", 9},
           {piece(9, Field::Count, Problem::NotWhole)}},
    BadRow{"ZeroCount", {"KL1", "25", "6000", "0", 9},
           {piece(9, Field::Count, Problem::NotPositive)}},
    BadRow{"MissingDiameter", {"KL1", "", "6000", "2", 4}, {piece(4, Field::Diameter, Problem::Empty)}},
    BadRow{"OnlyAMark", {"KL1", "", "", "", 5},
           {piece(5, Field::Diameter, Problem::Empty), piece(5, Field::Length, Problem::Empty),
            piece(5, Field::Count, Problem::Empty)}},
    BadRow{"EveryFieldWrong", {"", "x", "y", "z", 6},
           {piece(6, Field::Diameter, Problem::NotANumber),
            piece(6, Field::Length, Problem::NotANumber), piece(6, Field::Count, Problem::NotANumber)}}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(CheckList, KeepsGoodRowsAndTheLengthAsWritten) {
    const plan::Checked checked = plan::checkList(
        {{"KL1-1", "25", "6456.34", "4", 2}, {"", "", "", "", 3}, {" KZ2 ", "Φ12", "3180", "6", 4}},
        {}, plan::Settings{});
    ASSERT_TRUE(checked.errors.empty());
    const auto& pieces = checked.list.pieces();
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[0].length, 6457);
    EXPECT_EQ(pieces[0].asked, "6456.34");
    EXPECT_EQ(pieces[1].mark, "KZ2");
    EXPECT_EQ(pieces[1].steel.diameter, 120);
    EXPECT_TRUE(pieces[1].asked.empty());
    EXPECT_EQ(checked.list.steels(), (std::vector<plan::Steel>{{"", 120}, {"", 250}}));
}

TEST(CheckList, OffcutsOfADiameterWithoutPiecesAreAnError) {
    const plan::Checked checked =
        plan::checkList({{"A", "12", "3000", "2", 2}},
                        {{"16", "4000", "1", 3}, {"12", "4000", "1", 4}}, plan::Settings{});
    EXPECT_EQ(checked.errors, (std::vector<InputError>{
                                  {Source::Offcuts, 3, Field::Diameter, Problem::NoPieces, 0}}));
}

TEST(CheckList, AnyErrorLeavesTheListEmpty) {
    const plan::Checked checked = plan::checkList(
        {{"A", "12", "3000", "2", 2}, {"B", "12", "x", "2", 3}}, {}, plan::Settings{});
    EXPECT_EQ(checked.errors.size(), 1U);
    EXPECT_TRUE(checked.list.pieces().empty());
}

struct BadSettings {
    const char* name;
    plan::Settings settings;
    InputError error;
};

std::ostream& operator<<(std::ostream& out, const BadSettings& s) {
    return out << s.name;
}

class SettingsError : public testing::TestWithParam<BadSettings> {};

TEST_P(SettingsError, IsReportedBeforeAnyRow) {
    const plan::Checked checked =
        plan::checkList({{"A", "12", "30000", "1", 2}}, {}, GetParam().settings);
    ASSERT_FALSE(checked.errors.empty());
    EXPECT_EQ(checked.errors.front(), GetParam().error);
}

plan::Settings with(std::vector<std::int64_t> stock, std::int64_t kerf = 0, std::int64_t keep = 500,
                    double seconds = 10) {
    return {std::move(stock), kerf, keep, seconds};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Settings, SettingsError, testing::Values(
    BadSettings{"NoStock", with({}), {Source::Settings, 0, Field::StockLength, Problem::NoStock, 0}},
    BadSettings{"ZeroStock", with({9000, 0}), {Source::Settings, 2, Field::StockLength, Problem::NotPositive, 0}},
    BadSettings{"StockOverTheLimit", with({2'000'000}),
                {Source::Settings, 1, Field::StockLength, Problem::TooLarge, plan::kMaxLength}},
    BadSettings{"RepeatedStock", with({9000, 9000}),
                {Source::Settings, 2, Field::StockLength, Problem::Duplicate, 0}},
    BadSettings{"NegativeKerf", with({9000}, -1), {Source::Settings, 0, Field::Kerf, Problem::Negative, 0}},
    BadSettings{"NegativeKeep", with({9000}, 0, -5), {Source::Settings, 0, Field::Keep, Problem::Negative, 0}},
    BadSettings{"NoTime", with({9000}, 0, 500, 0), {Source::Settings, 0, Field::Seconds, Problem::NotPositive, 0}}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(CheckList, LongStockMakesALongPieceFit) {
    const plan::Checked checked =
        plan::checkList({{"A", "12", "30000", "1", 2}}, {}, with({1'000'000}));
    EXPECT_TRUE(checked.errors.empty());
}

} // namespace
