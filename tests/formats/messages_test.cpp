#include "formats/messages.h"

#include <string>

#include <gtest/gtest.h>

#include "qt_print.h"

namespace {

using plan::Field;
using plan::Problem;

constexpr Field kFields[] = {Field::Mark,         Field::Diameter,        Field::Length,
                             Field::Count,        Field::StockLength,     Field::Kerf,
                             Field::Keep,         Field::Seconds,         Field::Grade,
                             Field::GradeCode,    Field::Elements,        Field::Total,
                             Field::Joint,        Field::Share,           Field::Lap,
                             Field::Zones,        Field::Concrete,        Field::Seismic,
                             Field::CouplerAbove, Field::ButtAllowance,   Field::ShortestSegment,
                             Field::LapShare,     Field::MechanicalShare, Field::ExtraJoint};
// Problem::Joint has words of its own for each reason (joint_messages_test.cpp).
constexpr Problem kProblems[] = {
    Problem::Empty,          Problem::NotANumber,     Problem::NotWhole,
    Problem::NotPositive,    Problem::Negative,       Problem::TooLarge,
    Problem::NoPieces,       Problem::NoStock,        Problem::Duplicate,
    Problem::UnknownGrade,   Problem::GradesDisagree, Problem::CountsDisagree,
    Problem::TotalDisagrees, Problem::UnknownJoint,   Problem::ShareNotAllowed,
    Problem::BadZone};

// Every problem of every field reads as "field：what is wrong", with any limit in it: a new
// enum value without words, or a limit left out, shows here.
TEST(Describe, NamesTheFieldAndSaysWhatIsWrong) {
    for (const Field field : kFields) {
        const QString name = formats::fieldName(field);
        ASSERT_FALSE(name.isEmpty()) << static_cast<int>(field);
        for (const Problem problem : kProblems) {
            SCOPED_TRACE(name.toStdString() + " problem " +
                         std::to_string(static_cast<int>(problem)));
            const plan::InputError error{plan::Source::Pieces, 3, field, problem, 12345};
            const QString text = formats::describe(error);
            EXPECT_TRUE(text.startsWith(name + u'：')) << text.toStdString();
            EXPECT_GT(text.size(), name.size() + 1);
            if (problem == Problem::TooLarge) {
                EXPECT_TRUE(text.contains(u"12345") || text.contains(u"1234.5"))
                    << text.toStdString();
            }
        }
    }
}

TEST(FieldName, NamesEveryFieldApart) {
    QStringList names;
    for (const Field field : kFields) {
        const QString name = formats::fieldName(field);
        EXPECT_FALSE(name.isEmpty()) << static_cast<int>(field);
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names.append(name);
    }
}

TEST(Describe, AllowsADiameterOneDecimal) {
    const plan::InputError error{plan::Source::Pieces, 7, Field::Diameter, Problem::NotWhole, 0};
    EXPECT_EQ(formats::describe(error), QStringLiteral("直径：最多一位小数"));
}

TEST(Describe, GivesADiameterLimitInMillimetres) {
    const plan::InputError error{plan::Source::Pieces, 7, Field::Diameter, Problem::TooLarge,
                                 plan::kMaxDiameter};
    EXPECT_TRUE(formats::describe(error).contains(u"100 mm"));
}

TEST(Describe, WordsEveryFileProblem) {
    using formats::FileProblem;
    for (const FileProblem problem :
         {FileProblem::NotText, FileProblem::NoHeader, FileProblem::UnclosedQuote,
          FileProblem::MissingColumn, FileProblem::RepeatedColumn, FileProblem::UnknownSection,
          FileProblem::RepeatedSection, FileProblem::UnknownSetting, FileProblem::RepeatedSetting,
          FileProblem::BadSetting}) {
        SCOPED_TRACE(static_cast<int>(problem));
        formats::FileError error;
        error.line = 4;
        error.problem = problem;
        error.field = Field::Kerf;
        error.value = Problem::NotWhole;
        error.text = "#杂项";
        const QString text = formats::describe(error);
        EXPECT_FALSE(text.isEmpty());
        if (problem == FileProblem::MissingColumn || problem == FileProblem::BadSetting) {
            EXPECT_TRUE(text.contains(u"锯口")) << text.toStdString();
        }
        if (problem == FileProblem::RepeatedColumn || problem == FileProblem::UnknownSection ||
            problem == FileProblem::RepeatedSection || problem == FileProblem::UnknownSetting ||
            problem == FileProblem::RepeatedSetting) {
            EXPECT_TRUE(text.contains(u"#杂项")) << text.toStdString();
        }
    }
}

} // namespace
