#include "cli/arguments.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using cli::Request;

struct Line {
    const char* name;
    QStringList words; // after the program's name
    Request request;
};

class ParseArguments : public testing::TestWithParam<Line> {};

TEST_P(ParseArguments, TellsWhatWasAskedFor) {
    const cli::Parsed got =
        cli::parseArguments(QStringList{QStringLiteral("hengchi-plan")} + GetParam().words);
    EXPECT_EQ(got.request, GetParam().request) << got.text.toStdString();
    if (got.request != Request::Plan) {
        EXPECT_FALSE(got.text.isEmpty());
    }
}

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, ParseArguments, testing::Values(
    Line{"JustTheList", {s("list.csv")}, Request::Plan},
    Line{"EveryOption", {s("--stock"), s("9000,12000"), s("--offcuts"), s("o.csv"), s("--kerf"), s("0"),
                         s("--keep"), s("500"), s("--seconds"), s("2"), s("--json"), s("-"), s("--csv"),
                         s("a.csv"), s("--xlsx"), s("a.xlsx"), s("list.csv")}, Request::Plan},
    Line{"EqualsForm", {s("--kerf=3"), s("list.csv")}, Request::Plan},
    Line{"EveryJointOption", {s("--concrete"), s("C30"), s("--seismic"), s("二级"), s("--coupler-above"), s("22"),
                              s("--lap-share"), s("50"), s("--mechanical-share"), s("50"), s("--shortest-segment"),
                              s("500"), s("--butt-allowance"), s("30"), s("--extra-joint"), s("list.csv")}, Request::Plan},
    Line{"JointOptionWithoutValue", {s("list.csv"), s("--concrete")}, Request::Wrong},
    Line{"ExtraJointTakesNoValue", {s("--extra-joint=是"), s("list.csv")}, Request::Wrong},
    Line{"Help", {s("--help")}, Request::Help},
    Line{"ShortHelp", {s("-h")}, Request::Help},
    Line{"Version", {s("--version")}, Request::Version},
    Line{"NoList", {}, Request::Wrong},
    Line{"TwoLists", {s("a.csv"), s("b.csv")}, Request::Wrong},
    Line{"UnknownOption", {s("--stocks"), s("9000"), s("list.csv")}, Request::Wrong},
    Line{"OptionWithoutValue", {s("list.csv"), s("--kerf")}, Request::Wrong}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ParseArguments, KeepsTheValuesAsWritten) {
    const cli::Parsed got =
        cli::parseArguments({s("hengchi-plan"), s("--stock"), s("９０００，12000"), s("--kerf=2.5"),
                             s("--json"), s("-"), s("清单.csv")});
    ASSERT_EQ(got.request, Request::Plan);
    EXPECT_EQ(got.arguments.pieces, s("清单.csv"));
    EXPECT_EQ(got.arguments.stock, s("９０００，12000"));
    EXPECT_EQ(got.arguments.kerf, s("2.5"));
    EXPECT_EQ(got.arguments.json, s("-"));
    EXPECT_FALSE(got.arguments.keep);
    EXPECT_FALSE(got.arguments.offcuts);
    EXPECT_FALSE(got.arguments.csv);
}

TEST(ParseArguments, KeepsTheJointOptionsAsWritten) {
    const cli::Parsed got =
        cli::parseArguments({s("hengchi-plan"), s("--concrete"), s("ｃ３０"), s("--seismic=二级"),
                             s("--coupler-above"), s("Φ25"), s("--lap-share"), s("50%"),
                             s("--mechanical-share"), s("100"), s("--shortest-segment"), s("600"),
                             s("--butt-allowance"), s("25"), s("--extra-joint"), s("清单.csv")});
    ASSERT_EQ(got.request, Request::Plan);
    const cli::Arguments& a = got.arguments;
    EXPECT_EQ(a.concrete, s("ｃ３０"));
    EXPECT_EQ(a.seismic, s("二级"));
    EXPECT_EQ(a.couplerAbove, s("Φ25"));
    EXPECT_EQ(a.lapShare, s("50%"));
    EXPECT_EQ(a.mechanicalShare, s("100"));
    EXPECT_EQ(a.shortestSegment, s("600"));
    EXPECT_EQ(a.buttAllowance, s("25"));
    EXPECT_TRUE(a.extraJoint);
    const cli::Parsed none = cli::parseArguments({s("hengchi-plan"), s("清单.csv")});
    EXPECT_FALSE(none.arguments.concrete);
    EXPECT_FALSE(none.arguments.seismic);
    EXPECT_FALSE(none.arguments.lapShare);
    EXPECT_FALSE(none.arguments.extraJoint);
}

TEST(ParseArguments, TheHelpNamesEveryJointOption) {
    const cli::Parsed got = cli::parseArguments({s("hengchi-plan"), s("--help")});
    for (const char* option :
         {"--concrete", "--seismic", "--coupler-above", "--lap-share", "--mechanical-share",
          "--shortest-segment", "--butt-allowance", "--extra-joint"}) {
        EXPECT_TRUE(got.text.contains(s(option))) << option;
    }
}

} // namespace
