#include "formats/list_file.h"
#include "formats/messages.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qt_print.h"

// What a person reads about a long bar that cannot be joined, a joint setting that is wrong,
// and a joint the design code advises against.
namespace {

using plan::Field;
using plan::Problem;
using plan::joints::JointError;
using plan::joints::JointProblem;
using plan::joints::RuleProblem;

constexpr JointProblem kJointProblems[] = {JointProblem::Rule,       JointProblem::NoLength,
                                           JointProblem::NotLong,    JointProblem::LapTooLong,
                                           JointProblem::ZonesBlock, JointProblem::ShareTooSmall,
                                           JointProblem::ShareUnmet, JointProblem::ShareNotAllowed};
constexpr RuleProblem kRuleProblems[] = {RuleProblem::UnknownGrade, RuleProblem::NoGrade,
                                         RuleProblem::UnknownConcrete, RuleProblem::WeakConcrete,
                                         RuleProblem::UnknownShare};

JointError jointError(JointProblem problem, std::int64_t value = 0,
                      std::optional<RuleProblem> rule = std::nullopt) {
    return JointError{7, "KL1-1", problem, rule, value};
}

// Each reason a bar cannot be joined reads differently, so that a person knows which to put
// right; none says joining is not supported.
TEST(DescribeJoint, WordsEveryReasonApart) {
    std::vector<JointError> errors;
    for (const JointProblem problem : kJointProblems) {
        if (problem != JointProblem::Rule) {
            errors.push_back(jointError(problem, 30));
        }
    }
    for (const RuleProblem rule : kRuleProblems) {
        errors.push_back(jointError(JointProblem::Rule, 0, rule));
    }
    errors.push_back(jointError(JointProblem::Rule)); // a rule problem not said
    QStringList texts;
    for (const JointError& error : errors) {
        const QString text = formats::describe(error);
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(texts.contains(text));
        EXPECT_FALSE(text.contains(u"暂不支持"));
        texts.append(text);
    }
}

struct Said {
    const char* name;
    JointError error;
    const char* text; // what the message must hold
};

class DescribeJointValue : public testing::TestWithParam<Said> {};

TEST_P(DescribeJointValue, GivesTheNumberThatStoppedIt) {
    const QString text = formats::describe(GetParam().error);
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().text))) << text.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Errors, DescribeJointValue, testing::Values(
    Said{"LapTooLong", jointError(JointProblem::LapTooLong, 1400), "搭接长度 1400 mm 过长，原材放不下一段"},
    Said{"NothingFitsACoupler", jointError(JointProblem::LapTooLong, 0), "最短分段"},
    Said{"ShareUnmet", jointError(JointProblem::ShareUnmet, 980), "按接头率错开接头（连接区段 980 mm）时原材不够长"},
    Said{"ShareTooSmall", jointError(JointProblem::ShareTooSmall, 3), "接头率太小：并排的 3 根钢筋中一根也不许在同一区段有接头"},
    Said{"NotLong", jointError(JointProblem::NotLong, 12000), "12000 mm"},
    Said{"ShareNotAllowed", jointError(JointProblem::ShareNotAllowed, 30), "30%"},
    Said{"NoGrade", jointError(JointProblem::Rule, 0, RuleProblem::NoGrade), "绑扎搭接需要钢筋牌号"},
    Said{"WeakConcrete", jointError(JointProblem::Rule, 0, RuleProblem::WeakConcrete), "C25"},
    Said{"UnknownConcrete", jointError(JointProblem::Rule, 0, RuleProblem::UnknownConcrete), "C20 到 C80"},
    Said{"UnknownShare", jointError(JointProblem::Rule, 0, RuleProblem::UnknownShare), "25%、50% 或 100%"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DescribeJoint, AnInputErrorNamesItsFieldFirst) {
    plan::InputError error{plan::Source::Pieces, 7, Field::Length, Problem::Joint};
    error.joint = jointError(JointProblem::LapTooLong, 1400);
    EXPECT_EQ(formats::describe(error),
              QStringLiteral("长度：搭接长度 1400 mm 过长，原材放不下一段"));
    error.joint.reset();
    EXPECT_TRUE(formats::describe(error).startsWith(QStringLiteral("长度：")));
    EXPECT_FALSE(formats::describe(error).endsWith(u'：'));
}

// A reason that begins with the field's name is not named twice.
TEST(DescribeJoint, DoesNotNameTheFieldTwice) {
    plan::InputError error{plan::Source::Pieces, 7, Field::Share, Problem::Joint};
    error.joint = jointError(JointProblem::ShareTooSmall, 3);
    EXPECT_EQ(formats::describe(error),
              QStringLiteral("接头率太小：并排的 3 根钢筋中一根也不许在同一区段有接头"));
    error.joint = jointError(JointProblem::ShareNotAllowed, 30);
    EXPECT_EQ(formats::describe(error), QStringLiteral("接头率 30% 不行，只能是 25%、50% 或 100%"));
}

struct Row {
    const char* name;
    plan::InputError error;
    const char* text;
};

class DescribeJointRow : public testing::TestWithParam<Row> {};

TEST_P(DescribeJointRow, SaysWhatToWriteInstead) {
    EXPECT_EQ(formats::describe(GetParam().error), QString::fromUtf8(GetParam().text));
}

plan::InputError rowError(Field field, Problem problem, std::string text = {}) {
    plan::InputError error{plan::Source::Pieces, 4, field, problem};
    error.text = std::move(text);
    return error;
}

plan::InputError settingError(Field field, Problem problem) {
    return {plan::Source::Settings, 0, field, problem};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Errors, DescribeJointRow, testing::Values(
    Row{"UnknownJoint", rowError(Field::Joint, Problem::UnknownJoint, "焊"), "接头：不认识“焊”，可写绑扎搭接、机械连接、单面焊、双面焊或对焊"},
    Row{"ShareOfARow", rowError(Field::Share, Problem::ShareNotAllowed), "接头率：只能是 25%、50% 或 100%"},
    Row{"LapShareSetting", settingError(Field::LapShare, Problem::ShareNotAllowed), "搭接接头率：只能是 25%、50% 或 100%"},
    Row{"MechanicalShareSetting", settingError(Field::MechanicalShare, Problem::ShareNotAllowed), "机械接头率：只能是 25%、50% 或 100%"},
    Row{"Concrete", settingError(Field::Concrete, Problem::NotANumber), "混凝土：只能是 C20、C25…C80，如 C30"},
    Row{"Seismic", settingError(Field::Seismic, Problem::NotANumber), "抗震等级：只能是 一级、二级、三级、四级 或 非抗震"},
    Row{"ExtraJoint", settingError(Field::ExtraJoint, Problem::NotANumber), "允许多一个接头：只能是 是 或 否"},
    Row{"CouplerAbove", settingError(Field::CouplerAbove, Problem::NotWhole), "机械连接直径：必须是整数"},
    Row{"LapOfARow", rowError(Field::Lap, Problem::NotANumber), "搭接长度：不是数字"},
    Row{"Zones", rowError(Field::Zones, Problem::BadZone), "禁止接头区：应写成 起点-终点（毫米，从钢筋一端量起，在钢筋长度之内），几段用分号分开，如 0-500;14500-15000"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DescribeWarning, NamesTheBarItsSteelAndTheClause) {
    const plan::joints::Warning tension{3, "KL1-1", plan::joints::JointWarning::ThickTensionLap};
    EXPECT_EQ(formats::describe(tension, QStringLiteral("HRB400 Φ28")),
              QStringLiteral("警告：KL1-1 HRB400 Φ28 受拉钢筋不宜绑扎搭接（直径大于 25 mm，GB "
                             "50010 第 8.4.2 条）"));
    const plan::joints::Warning compression{3, "KZ1",
                                            plan::joints::JointWarning::ThickCompressionLap};
    const QString text = formats::describe(compression);
    EXPECT_TRUE(text.startsWith(QStringLiteral("警告：KZ1 受压钢筋"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("28 mm"))) << text.toStdString();
}

// A setting a file may give is never called unknown, and the message about an unknown one lists
// it.
TEST(DescribeSetting, TheUnknownSettingMessageListsEveryJointSetting) {
    formats::FileError unknown;
    unknown.problem = formats::FileProblem::UnknownSetting;
    unknown.text = "杂项";
    const QString listed = formats::describe(unknown);
    for (const char* name : {"混凝土", "抗震等级", "机械连接直径", "对焊余量", "最短分段",
                             "允许多一个接头", "搭接接头率", "机械接头率"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(listed.contains(QString::fromUtf8(name)));
        const formats::ListRead read = formats::readList(
            QByteArray("编号,直径,长度,根数\nKL1,25,6457,4\n#设置\n") + name + ",?\n");
        ASSERT_EQ(read.errors.size(), 1U);
        EXPECT_EQ(read.errors[0].problem, formats::FileProblem::BadSetting);
        EXPECT_EQ(formats::describe(read.errors[0]).section(u'：', 0, 0), QString::fromUtf8(name));
    }
}

} // namespace
