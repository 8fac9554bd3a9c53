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

namespace {

// A row's counts as a schedule writes them: 根数, 构件数, 总根数.
struct Counts {
    const char* name;
    std::string count;
    std::string elements;
    std::string total;
    std::int64_t pieces;     // the row's count
    std::int64_t ofElements; // elements kept on the piece, 0 when not given
    std::int64_t perElement;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.name;
}

class RowCounts : public testing::TestWithParam<Counts> {};

TEST_P(RowCounts, MultiplyAndAgree) {
    const Counts& c = GetParam();
    plan::PieceRow row{"KL1-1", "25", "6000", c.count, 2};
    row.elements = c.elements;
    row.total = c.total;
    const plan::Checked checked = plan::checkList({row}, {}, plan::Settings{});
    ASSERT_TRUE(checked.errors.empty());
    ASSERT_EQ(checked.list.pieces().size(), 1U);
    const plan::Piece& piece = checked.list.pieces()[0];
    EXPECT_EQ(piece.count, c.pieces);
    EXPECT_EQ(piece.elements, c.ofElements);
    EXPECT_EQ(piece.perElement, c.perElement);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, RowCounts, testing::Values(
    Counts{"OldListCountIsTheCount", "24", "", "", 24, 0, 0},
    Counts{"ElementsTimesBars", "6", "4", "", 24, 4, 6},
    Counts{"ElementsTimesBarsAgreeingWithTheTotal", "6", "4", "24", 24, 4, 6},
    Counts{"OnlyTheTotal", "", "", "24", 24, 0, 0},
    Counts{"CountAndTotalAgree", "24", "", "24", 24, 0, 0},
    Counts{"FullWidthElements", "6", "４", "", 24, 4, 6}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(Counts, PieceRowError, testing::Values(
    BadRow{"TotalDisagreesWithTheProduct", {"KL1", "25", "6000", "6", 3, {}, {}, "4", "25"},
           {piece(3, Field::Total, Problem::CountsDisagree, 24)}},
    BadRow{"TotalDisagreesWithTheCount", {"KL1", "25", "6000", "6", 3, {}, {}, "", "7"},
           {piece(3, Field::Total, Problem::TotalDisagrees, 6)}},
    BadRow{"ElementsNotANumber", {"KL1", "25", "6000", "6", 3, {}, {}, "四", ""},
           {piece(3, Field::Elements, Problem::NotANumber)}},
    BadRow{"ElementsWithoutBars", {"KL1", "25", "6000", "", 3, {}, {}, "4", "24"},
           {piece(3, Field::Count, Problem::Empty)}},
    BadRow{"ProductOverTheLimit", {"KL1", "25", "6000", "1000", 3, {}, {}, "1001", ""},
           {piece(3, Field::Elements, Problem::TooLarge, plan::kMaxCount)}},
    BadRow{"TotalNotWhole", {"KL1", "25", "6000", "", 3, {}, {}, "", "2.5"},
           {piece(3, Field::Total, Problem::NotWhole)}}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(CheckList, PiecesOfTwoGradesAreTwoSteelsAndOffcutsKeepTheirGrade) {
    const plan::Checked checked = plan::checkList(
        {{"A", "25", "6000", "1", 2, "HRB400"}, {"B", "25", "6000", "1", 3, "HRB500"}},
        {{"25", "7000", "1", 5, "HRB400"}, {"25", "7000", "1", 6, ""}}, plan::Settings{});
    EXPECT_EQ(
        checked.errors,
        (std::vector<InputError>{{Source::Offcuts, 6, Field::Diameter, Problem::NoPieces, 0, {}}}));
}

} // namespace
