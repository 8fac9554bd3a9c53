#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/inputs.h"

#include <functional>
#include <string>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The joint settings on the command line: read as the list's #设置 reads them, over what the
// list says.
namespace {

using plan::joints::JointSettings;
using plan::joints::Seismic;

QString s(const char* text) {
    return QString::fromUtf8(text);
}

const QByteArray kList("编号,直径,长度,根数\nKL1-1,25,6457,4\n");

// The file's value of every joint setting, each unlike the default and unlike the options'.
const QByteArray kJointSettings("#设置\n混凝土,C40\n抗震等级,三级\n机械连接直径,25\n对焊余量,20\n"
                                "最短分段,800\n允许多一个接头,否\n搭接接头率,50\n机械接头率,25\n");

struct Option {
    const char* name;
    QStringList words;
    std::function<void(JointSettings&)> put; // what it changes in the file's settings
};

class JointOption : public testing::TestWithParam<Option> {
protected:
    // The settings the list is checked with, from `list` and the options `words`.
    JointSettings settingsOf(const QByteArray& list, const QStringList& words) {
        QFile file(dir_.filePath(s("list.csv")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(list);
        file.close();
        const cli::Parsed parsed =
            cli::parseArguments(QStringList{s("hengchi-plan")} + words << file.fileName());
        EXPECT_EQ(parsed.request, cli::Request::Plan) << parsed.text.toStdString();
        const cli::Inputs inputs = cli::readInputs(parsed.arguments);
        EXPECT_TRUE(inputs.complaints.empty());
        return inputs.list.settings().joints;
    }

    QTemporaryDir dir_;
};

TEST_P(JointOption, OverridesTheListsSetting) {
    JointSettings want = settingsOf(kList + kJointSettings, {});
    GetParam().put(want);
    EXPECT_EQ(settingsOf(kList + kJointSettings, GetParam().words), want);
}

TEST_P(JointOption, OverridesTheDefaultWithoutSettings) {
    JointSettings want;
    GetParam().put(want);
    EXPECT_EQ(settingsOf(kList, GetParam().words), want);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, JointOption, testing::Values(
    Option{"Concrete", {s("--concrete"), s("C35")}, [](JointSettings& j) { j.concrete = 35; }},
    Option{"Seismic", {s("--seismic"), s("二级")}, [](JointSettings& j) { j.seismic = Seismic::Two; }},
    Option{"CouplerAbove", {s("--coupler-above"), s("18")}, [](JointSettings& j) { j.couplerAbove = 180; }},
    Option{"LapShare", {s("--lap-share"), s("100%")}, [](JointSettings& j) { j.lapShare = 100; }},
    Option{"MechanicalShare", {s("--mechanical-share=100")}, [](JointSettings& j) { j.mechanicalShare = 100; }},
    Option{"ShortestSegment", {s("--shortest-segment"), s("600")}, [](JointSettings& j) { j.shortestSegment = 600; }},
    Option{"ButtAllowance", {s("--butt-allowance"), s("0")}, [](JointSettings& j) { j.buttAllowance = 0; }},
    Option{"ExtraJoint", {s("--extra-joint")}, [](JointSettings& j) { j.extraJoint = true; }},
    Option{"ByCost", {s("--by-cost")}, [](JointSettings& j) { j.byCost = true; }},
    Option{"SteelPrice", {s("--steel-price"), s("3850.5")}, [](JointSettings& j) { j.prices.steelFenPerTonne = 385'050; }},
    Option{"JointPrice", {s("--joint-price"), s("机械连接=10;焊接=4")}, [](JointSettings& j) { j.prices.jointFen = {0, 1000, 400, 400, 400}; }},
    Option{"Several", {s("--concrete"), s("c50"), s("--seismic"), s("一级"), s("--extra-joint")},
           [](JointSettings& j) { j.concrete = 50; j.seismic = Seismic::One; j.extraJoint = true; }}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(JointOptions, TheFileGivesEverySetting) {
    QTemporaryDir dir;
    QFile file(dir.filePath(s("list.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kList + kJointSettings);
    file.close();
    cli::Arguments arguments;
    arguments.pieces = file.fileName();
    const cli::Inputs inputs = cli::readInputs(arguments);
    ASSERT_TRUE(inputs.complaints.empty());
    JointSettings want;
    want.concrete = 40;
    want.seismic = Seismic::Three;
    want.couplerAbove = 250;
    want.buttAllowance = 20;
    want.shortestSegment = 800;
    want.extraJoint = false;
    want.lapShare = 50;
    want.mechanicalShare = 25;
    EXPECT_EQ(inputs.list.settings().joints, want);
}

struct Wrong {
    const char* name;
    QStringList words;
    QByteArray settings; // the list's #设置 section, or nothing
    const char* complaint;
};

class WrongJointSetting : public testing::TestWithParam<Wrong> {};

// A wrong value is named with its option or its line, in the words the list's setting would
// get, and nothing is planned.
TEST_P(WrongJointSetting, ComplainsAndPlansNothing) {
    QTemporaryDir dir;
    QFile file(dir.filePath(s("list.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kList + GetParam().settings);
    file.close();
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = cli::runCommand(
        QStringList{s("hengchi-plan")} + GetParam().words << file.fileName(), out, err, false, {});
    EXPECT_EQ(code, cli::kBadInput);
    EXPECT_TRUE(out.data().isEmpty());
    QString complaint = QString::fromUtf8(GetParam().complaint);
    complaint.replace(s("{list}"), file.fileName());
    EXPECT_EQ(QString::fromUtf8(err.data()), complaint + u'\n');
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Values, WrongJointSetting, testing::Values(
    Wrong{"Concrete", {s("--concrete"), s("C33")}, {}, "hengchi-plan: --concrete C33: 混凝土：只能是 C20、C25…C80，如 C30"},
    Wrong{"Seismic", {s("--seismic"), s("五级")}, {}, "hengchi-plan: --seismic 五级: 抗震等级：只能是 一级、二级、三级、四级 或 非抗震"},
    Wrong{"CouplerAbove", {s("--coupler-above"), s("0")}, {}, "hengchi-plan: --coupler-above 0: 机械连接直径：必须大于 0"},
    Wrong{"LapShare", {s("--lap-share"), s("30")}, {}, "hengchi-plan: --lap-share 30: 搭接接头率：只能是 25%、50% 或 100%"},
    Wrong{"MechanicalShare", {s("--mechanical-share"), s("一半")}, {}, "hengchi-plan: --mechanical-share 一半: 机械接头率：不是数字"},
    Wrong{"ShortestSegment", {s("--shortest-segment"), s("0")}, {}, "hengchi-plan: --shortest-segment 0: 最短分段：必须大于 0"},
    Wrong{"ButtAllowance", {s("--butt-allowance"), s("-1")}, {}, "hengchi-plan: --butt-allowance -1: 对焊余量：不能是负数"},
    Wrong{"InTheFile", {}, QByteArray("#设置\n搭接接头率,30%\n"), "{list}:4: 搭接接头率：只能是 25%、50% 或 100%"},
    Wrong{"SteelPrice", {s("--steel-price"), s("4000.001")}, {}, "hengchi-plan: --steel-price 4000.001: 钢材单价：最多两位小数"},
    Wrong{"JointPriceInTheFile", {}, QByteArray("#设置\n接头单价,铆接=3\n"), "{list}:4: 接头单价：不认识“铆接”，可写绑扎搭接、机械连接、单面焊、双面焊或对焊（焊接：各种焊接）"},
    Wrong{"YesOrNoInTheFile", {}, QByteArray("#设置\n允许多一个接头,也许\n"), "{list}:4: 允许多一个接头：只能是 是 或 否"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Written {
    const char* name;
    const char* joint; // the 接头 cell
    std::optional<plan::joints::Method> method;
};

class JointWritten : public testing::TestWithParam<Written> {};

// The trade's words in a list reach the planning library as its methods.
TEST_P(JointWritten, IsTheMethodOfTheLongBar) {
    QTemporaryDir dir;
    QFile file(dir.filePath(s("list.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("编号,级别,直径,长度,根数,接头\nKL1,HRB400,20,15000,4,") +
               GetParam().joint + "\n");
    file.close();
    cli::Arguments arguments;
    arguments.pieces = file.fileName();
    const cli::Inputs inputs = cli::readInputs(arguments);
    ASSERT_TRUE(inputs.complaints.empty()) << inputs.complaints[0].message.toStdString();
    ASSERT_EQ(inputs.list.longBars().size(), 1U);
    EXPECT_EQ(inputs.list.longBars()[0].method, GetParam().method);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Words, JointWritten, testing::Values(
    Written{"StraightThread", "直螺纹", plan::joints::Method::Coupler},
    Written{"Tied", " 绑扎搭接 ", plan::joints::Method::Lap},
    Written{"SingleWeld", "单面焊", plan::joints::Method::LapWeldSingle},
    Written{"DoubleWeld", "双面搭接焊", plan::joints::Method::LapWeldDouble},
    Written{"Electroslag", "电渣压力焊", plan::joints::Method::ButtWeld},
    Written{"Key", "coupler", plan::joints::Method::Coupler},
    Written{"ByTheDiameter", "", std::nullopt}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
