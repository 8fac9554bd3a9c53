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

} // namespace
