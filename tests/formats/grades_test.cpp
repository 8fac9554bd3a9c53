#include "formats/grades.h"
#include "formats/list_file.h"
#include "formats/messages.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qt_print.h"

namespace {

using formats::GradeCode;
using plan::Field;
using plan::Problem;

// How a diameter cell reads: the grade's name, the letter shown, the diameter left for
// plan::readDiameter, and the grade not known.
struct Spelling {
    const char* name;
    std::string cell;
    std::string grade;
    std::string code;
    std::string diameter;
    std::string unknown;
};

std::ostream& operator<<(std::ostream& out, const Spelling& s) {
    return out << s.name;
}

class DiameterCell : public testing::TestWithParam<Spelling> {};

TEST_P(DiameterCell, ReadsTheGradeAndLeavesTheDiameter) {
    const Spelling& want = GetParam();
    const formats::SteelText got = formats::readSteelText(want.cell, formats::defaultGrades());
    EXPECT_EQ(got.grade, want.grade);
    EXPECT_EQ(got.code, want.code);
    EXPECT_EQ(got.diameter, want.diameter);
    EXPECT_EQ(got.unknown, want.unknown);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Spellings, DiameterCell, testing::Values(
    Spelling{"Letter", "C25", "HRB400", "C", "25", ""},
    Spelling{"LowerCaseLetter", "c25", "HRB400", "C", "25", ""},
    Spelling{"LetterA", "A8", "HPB300", "A", "8", ""},
    Spelling{"LetterB", "B16", "HRB335", "B", "16", ""},
    Spelling{"LetterD", "D32", "HRB500", "D", "32", ""},
    Spelling{"SeismicLetters", "CE20", "HRB400E", "CE", "20", ""},
    Spelling{"LetterAndSign", "C Φ25", "HRB400", "C", "Φ25", ""},
    Spelling{"NameSpaceDiameter", "HRB400 25", "HRB400", "", "25", ""},
    Spelling{"SeismicNameRunOn", "HRB400E25", "HRB400E", "", "25", ""},
    Spelling{"SeismicNameAndSign", "HRB400E Φ25", "HRB400E", "", "Φ25", ""},
    Spelling{"LowerCaseName", "hrb500 28", "HRB500", "", "28", ""},
    Spelling{"PlainName", "HPB300Φ10", "HPB300", "", "Φ10", ""},
    Spelling{"Level", "三级 25", "HRB400", "", "25", ""},
    Spelling{"LevelRunOn", "一级8", "HPB300", "", "8", ""},
    Spelling{"CadCodeGradeOne", "%%1308", "HPB300", "", "8", ""},
    Spelling{"CadCodeGradeTwo", "%%131 16", "HRB335", "", "16", ""},
    Spelling{"CadCodeGradeThree", "%%13225", "HRB400", "", "25", ""},
    Spelling{"CadCodeGradeFour", "%%13320", "RRB400", "", "20", ""},
    Spelling{"SignOnly", "Φ25", "", "", "Φ25", ""},
    Spelling{"DiameterSign", "⌀25", "", "", "⌀25", ""},
    Spelling{"NumberOnly", "25", "", "", "25", ""},
    Spelling{"TenthOfAMillimetre", "6.5", "", "", "6.5", ""},
    Spelling{"FullWidthLetter", "Ｃ２５", "HRB400", "C", "25", ""},
    Spelling{"FullWidthName", "ＨＲＢ４００Ｅ　Φ２５", "HRB400E", "", "Φ25", ""},
    Spelling{"FullWidthCadCode", "％％１３２２５", "HRB400", "", "25", ""},
    Spelling{"UnknownLetter", "X25", "", "", "25", "X"},
    Spelling{"UnknownName", "HRB999 25", "", "", "25", "HRB999"},
    Spelling{"UnknownLevel", "五级 25", "", "", "25", "五级"},
    Spelling{"NotADiameterAtAll", "abc", "", "", "", "abc"}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct ColumnCase {
    const char* name;
    std::string cell;
    std::string grade;
    std::string unknown;
};

std::ostream& operator<<(std::ostream& out, const ColumnCase& c) {
    return out << c.name;
}

class GradeColumn : public testing::TestWithParam<ColumnCase> {};

TEST_P(GradeColumn, ReadsAGradeAlone) {
    const formats::SteelText got =
        formats::readGradeText(GetParam().cell, formats::defaultGrades());
    EXPECT_EQ(got.grade, GetParam().grade);
    EXPECT_EQ(got.unknown, GetParam().unknown);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cells, GradeColumn, testing::Values(
    ColumnCase{"Name", "HRB400", "HRB400", ""},
    ColumnCase{"NameWithBlanks", "  HRB500E ", "HRB500E", ""},
    ColumnCase{"Letter", "C", "HRB400", ""},
    ColumnCase{"Level", "三级", "HRB400", ""},
    ColumnCase{"CadCode", "%%130", "HPB300", ""},
    ColumnCase{"UnknownName", "HRB999", "", "HRB999"},
    ColumnCase{"UnknownLetter", "Q", "", "Q"},
    ColumnCase{"ADiameterIsNoGrade", "C25", "", "C25"},
    ColumnCase{"Words", "螺纹钢", "", "螺纹钢"}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

plan::InputError gradeError(int line, Field field, Problem problem, std::string text) {
    return {plan::Source::Pieces, line, field, problem, 0, std::move(text)};
}

TEST(GradeTable, AnEditedRowChangesWhatALetterMeans) {
    std::vector<GradeCode> table = formats::defaultGrades();
    formats::putGrade(table, {"C", "HRB400E"});
    EXPECT_EQ(formats::readSteelText("C25", table).grade, "HRB400E");
    EXPECT_EQ(table.size(), formats::defaultGrades().size()); // replaced, not added
    formats::putGrade(table, {"F", "HRB600"});
    EXPECT_EQ(formats::readSteelText("F25", table).grade, "HRB600");
}

TEST(GradeTable, ALetterRemovedIsNoLongerKnown) {
    std::vector<GradeCode> table{{"C", "HRB400"}};
    EXPECT_EQ(formats::readSteelText("A8", table).unknown, "A");
    // A grade's name needs no row.
    EXPECT_EQ(formats::readSteelText("HPB300 8", table).grade, "HPB300");
}

TEST(GradeTable, ANameOnlyTheTableGivesIsKnown) {
    const std::vector<GradeCode> table{{"R", "CRB550"}};
    EXPECT_EQ(formats::readSteelText("CRB550 8", table).grade, "CRB550");
    EXPECT_EQ(formats::readSteelText("R8", table).grade, "CRB550");
}

struct RowCase {
    const char* name;
    GradeCode row;
    std::optional<formats::FileProblem> problem;
};

std::ostream& operator<<(std::ostream& out, const RowCase& c) {
    return out << c.name;
}

class GradeRow : public testing::TestWithParam<RowCase> {};

TEST_P(GradeRow, IsCheckedAsATableRow) {
    EXPECT_EQ(formats::gradeRowProblem(GetParam().row), GetParam().problem);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, GradeRow, testing::Values(
    RowCase{"Letter", {"C", "HRB400"}, std::nullopt},
    RowCase{"TwoLetters", {"CE", "HRB400E"}, std::nullopt},
    RowCase{"Level", {"三级", "HRB400"}, std::nullopt},
    RowCase{"Digits", {"1", "HRB400"}, formats::FileProblem::BadGradeCode},
    RowCase{"FourLetters", {"ABCD", "HRB400"}, formats::FileProblem::BadGradeCode},
    RowCase{"EmptyCode", {"", "HRB400"}, formats::FileProblem::BadGradeCode},
    RowCase{"NotAGrade", {"C", "FOO"}, formats::FileProblem::UnknownGradeName},
    RowCase{"EmptyGrade", {"C", ""}, formats::FileProblem::UnknownGradeName}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(GradeEntry, IsCodeEqualsGrade) {
    EXPECT_EQ(formats::gradeEntry("C=HRB400E"), (GradeCode{"C", "HRB400E"}));
    EXPECT_EQ(formats::gradeEntry(" ce = hrb400e "), (GradeCode{"CE", "HRB400E"}));
    EXPECT_EQ(formats::gradeEntry("HRB400E"), std::nullopt);
    EXPECT_EQ(formats::gradeEntry("=HRB400E"), std::nullopt);
}

TEST(GradesFile, ReadsTheTableUnderItsHeader) {
    const formats::GradesRead read =
        formats::readGrades("牌号表\n代号,牌号\nC,HRB400E\nｃｅ,hrb500e\n\n");
    EXPECT_TRUE(read.errors.empty());
    EXPECT_EQ(read.table, (std::vector<GradeCode>{{"C", "HRB400E"}, {"CE", "HRB500E"}}));
}

TEST(GradesFile, NamesEachWrongRow) {
    const formats::GradesRead read =
        formats::readGrades("code,grade\nC,HRB400\n1,HRB400\nD,FOO\nc,HRB500\n");
    ASSERT_EQ(read.errors.size(), 3U);
    EXPECT_EQ(read.errors[0].line, 3);
    EXPECT_EQ(read.errors[0].problem, formats::FileProblem::BadGradeCode);
    EXPECT_EQ(read.errors[1].line, 4);
    EXPECT_EQ(read.errors[1].problem, formats::FileProblem::UnknownGradeName);
    EXPECT_EQ(read.errors[2].line, 5);
    EXPECT_EQ(read.errors[2].problem, formats::FileProblem::RepeatedGradeCode);
    EXPECT_EQ(formats::describe(read.errors[1]),
              QStringLiteral("牌号表的牌号“FOO”：不是钢筋牌号（如 HPB300、HRB400E）"));
}

TEST(GradesFile, WithoutTheCodeColumnSaysSo) {
    const formats::GradesRead read = formats::readGrades("牌号\nHRB400\n");
    ASSERT_EQ(read.errors.size(), 1U);
    EXPECT_EQ(read.errors[0].problem, formats::FileProblem::MissingColumn);
    EXPECT_EQ(formats::describe(read.errors[0]), QStringLiteral("缺少“代号”列"));
}

TEST(ResolveSteels, ColumnAndCellMustAgree) {
    std::vector<plan::PieceRow> rows{
        {"a", "C25", "6000", "1", 2, "HRB400"}, // agree
        {"b", "C25", "6000", "1", 3, "HRB500"}, // disagree
        {"c", "25", "6000", "1", 4, "三级"},    // the column alone
        {"d", "X25", "6000", "1", 5, "HRB400"}, // an unknown letter in the cell
        {"e", "25", "6000", "1", 6, "HRB999"},  // an unknown name in the column
        {"f", "HRB400E25", "6000", "1", 7, ""}, // the cell alone
    };
    std::vector<plan::OffcutRow> offcuts{{"C25", "3000", "1", 9}};
    const std::vector<plan::InputError> errors =
        formats::resolveSteels(rows, offcuts, formats::defaultGrades());
    EXPECT_EQ(errors, (std::vector<plan::InputError>{
                          gradeError(3, Field::Grade, Problem::GradesDisagree, "HRB500/HRB400"),
                          gradeError(5, Field::Diameter, Problem::UnknownGrade, "X"),
                          gradeError(6, Field::Grade, Problem::UnknownGrade, "HRB999"),
                      }));
    EXPECT_EQ(rows[0].grade, "HRB400");
    EXPECT_EQ(rows[0].code, "C");
    EXPECT_EQ(rows[0].diameter, "25");
    EXPECT_EQ(rows[2].grade, "HRB400");
    EXPECT_EQ(rows[2].code, "");
    EXPECT_EQ(rows[5].grade, "HRB400E");
    EXPECT_EQ(offcuts[0].grade, "HRB400");
    EXPECT_EQ(offcuts[0].diameter, "25");
    EXPECT_EQ(formats::describe(errors[0]),
              QStringLiteral("级别：HRB500 与直径里写的 HRB400 不一致"));
    EXPECT_EQ(
        formats::describe(errors[1]),
        QStringLiteral("直径：不认识的级别“X”（在牌号表里添上它的代号，或写牌号，如 HRB400）"));
}

TEST(CheckRows, TwoGradesOfOneDiameterAreTwoSteels) {
    const plan::Checked checked =
        formats::checkRows({{"a", "C25", "6000", "2", 2},
                            {"b", "HRB500 25", "5000", "2", 3},
                            {"c", "25", "4000", "1", 4}},
                           {{"D25", "5500", "1", 6}}, plan::Settings{}, formats::defaultGrades());
    ASSERT_TRUE(checked.errors.empty());
    EXPECT_EQ(checked.list.steels(),
              (std::vector<plan::Steel>{{"", 250}, {"HRB400", 250}, {"HRB500", 250}}));
    EXPECT_EQ(checked.list.codeOf({"HRB400", 250}), "C");
    EXPECT_EQ(checked.list.codeOf({"HRB500", 250}), "");
    ASSERT_EQ(checked.list.offcuts().size(), 1U);
    EXPECT_EQ(checked.list.offcuts()[0].steel, (plan::Steel{"HRB500", 250}));
}

TEST(CheckRows, AnOffcutWithoutAGradeServesOnlyPiecesWithoutOne) {
    const plan::Checked checked =
        formats::checkRows({{"a", "C25", "6000", "2", 2}}, {{"25", "6000", "1", 4}},
                           plan::Settings{}, formats::defaultGrades());
    EXPECT_EQ(checked.errors,
              (std::vector<plan::InputError>{
                  {plan::Source::Offcuts, 4, Field::Diameter, Problem::NoPieces, 0, {}}}));
}

TEST(CheckRows, GradeProblemsComeInTheOrderOfTheRowsAndNoListIsGiven) {
    const plan::Checked checked = formats::checkRows(
        {{"a", "X25", "6000", "2", 2}, {"b", "25", "abc", "2", 3}, {"c", "Q8", "abc", "1", 4}}, {},
        plan::Settings{}, formats::defaultGrades());
    EXPECT_EQ(checked.errors,
              (std::vector<plan::InputError>{
                  gradeError(2, Field::Diameter, Problem::UnknownGrade, "X"),
                  {plan::Source::Pieces, 3, Field::Length, Problem::NotANumber, 0, {}},
                  gradeError(4, Field::Diameter, Problem::UnknownGrade, "Q"),
                  {plan::Source::Pieces, 4, Field::Length, Problem::NotANumber, 0, {}},
              }));
    EXPECT_TRUE(checked.list.pieces().empty());
}

} // namespace
