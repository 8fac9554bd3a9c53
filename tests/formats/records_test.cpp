#include "formats/records.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qt_print.h"

namespace {

using formats::detectSeparator;
using formats::joinRecord;
using formats::splitRecords;

struct Split {
    const char* name;
    QString text;
    QChar separator;
    std::vector<QStringList> cells;
    std::vector<int> lines;
    int unclosedQuote = 0;
};

class SplitRecords : public testing::TestWithParam<Split> {};

TEST_P(SplitRecords, GivesTheCellsAndTheLineEachRecordStartsOn) {
    const Split& s = GetParam();
    const formats::Records got = splitRecords(s.text, s.separator);
    ASSERT_EQ(got.records.size(), s.cells.size());
    for (std::size_t i = 0; i < s.cells.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got.records[i].cells, s.cells[i]);
        EXPECT_EQ(got.records[i].line, s.lines[i]);
        EXPECT_EQ(got.records[i].quoted.size(), got.records[i].cells.size());
    }
    EXPECT_EQ(got.unclosedQuote, s.unclosedQuote);
}

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Records, SplitRecords, testing::Values(
    Split{"CrLf", q("a,b\r\nc,d\r\n"), u',', {{q("a"), q("b")}, {q("c"), q("d")}}, {1, 2}},
    Split{"Lf", q("a,b\nc,d\n"), u',', {{q("a"), q("b")}, {q("c"), q("d")}}, {1, 2}},
    Split{"LoneCr", q("a\rb\r"), u',', {{q("a")}, {q("b")}}, {1, 2}},
    Split{"NoLastLineEnd", q("a,b\nc"), u',', {{q("a"), q("b")}, {q("c")}}, {1, 2}},
    Split{"EmptyCellsKept", q("a,,\n"), u',', {{q("a"), q(""), q("")}}, {1}},
    Split{"BlanksInCellsKept", q(" a , b\n"), u',', {{q(" a "), q(" b")}}, {1}},
    Split{"SeparatorInQuotes", q("\"a,b\",c\n"), u',', {{q("a,b"), q("c")}}, {1}},
    Split{"DoubledQuotes", q("\"say \"\"hi\"\"\",x\n"), u',', {{q("say \"hi\""), q("x")}}, {1}},
    Split{"EmptyQuoted", q("\"\",x\n"), u',', {{q(""), q("x")}}, {1}},
    Split{"QuotedLfCountsALine", q("\"a\nb\",c\nd\n"), u',', {{q("a\nb"), q("c")}, {q("d")}}, {1, 3}},
    Split{"QuotedCrLfKeptAsWritten", q("\"a\r\nb\"\r\nd\r\n"), u',', {{q("a\r\nb")}, {q("d")}}, {1, 3}},
    Split{"BlankLinesSkipped", q("a\n\n   \n,,\n\xE3\x80\x80,\nb\n"), u',', {{q("a")}, {q("b")}}, {1, 6}},
    Split{"BlankQuotedRecordSkipped", q("\"\"\nb\n"), u',', {{q("b")}}, {2}},
    Split{"TextAfterClosingQuoteKept", q("\"a\"b,c\n"), u',', {{q("ab"), q("c")}}, {1}},
    Split{"QuoteInsideUnquotedCellKept", q("a\"b,c\n"), u',', {{q("a\"b"), q("c")}}, {1}},
    Split{"Semicolons", q("a;b,c\n"), u';', {{q("a"), q("b,c")}}, {1}},
    Split{"Tabs", q("a\tb c\n"), u'\t', {{q("a"), q("b c")}}, {1}},
    Split{"Chinese", q("编号,长度\nKL1-1,６４５７\n"), u',', {{q("编号"), q("长度")}, {q("KL1-1"), q("６４５７")}}, {1, 2}},
    Split{"UnclosedQuoteRunsToTheEnd", q("a\n\"b,c\nd\n"), u',', {{q("a")}, {q("b,c\nd\n")}}, {1, 2}, 2},
    Split{"Empty", q(""), u',', {}, {}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SplitRecords, MarksQuotedCells) {
    const formats::Records got = splitRecords(q("\"#1\",#2,\"\"\n"), u',');
    ASSERT_EQ(got.records.size(), 1U);
    EXPECT_EQ(got.records[0].quoted, (QList<bool>{true, false, true}));
}

struct Detect {
    const char* name;
    QString text;
    QChar separator;
};

class DetectSeparator : public testing::TestWithParam<Detect> {};

TEST_P(DetectSeparator, TakesTheMostFrequentOutsideQuotesOnTheFirstLine) {
    EXPECT_EQ(detectSeparator(GetParam().text), GetParam().separator);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Headers, DetectSeparator, testing::Values(
    Detect{"Comma", q("编号,直径,长度,根数\n"), u','},
    Detect{"Semicolon", q("编号;直径;长度;根数\n1,5;2;3;4\n"), u';'},
    Detect{"Tab", q("编号\t直径\t长度\t根数\n"), u'\t'},
    Detect{"OnlyTheFirstLineCounts", q("a;b\nc,d,e,f\n"), u';'},
    Detect{"QuotedSeparatorsIgnored", q("\"a,b,c\";d;e\n"), u';'},
    Detect{"LeadingBlankLinesSkipped", q("\n,,,\n\ta;b;c\n"), u';'},
    Detect{"TabBeatsCommaOnATie", q("a\tb,c\n"), u'\t'},
    Detect{"NoneIsComma", q("编号\n"), u','},
    Detect{"EmptyIsComma", q(""), u','}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Join {
    const char* name;
    QStringList cells;
    QChar separator;
    QString written;
};

class JoinRecord : public testing::TestWithParam<Join> {};

TEST_P(JoinRecord, QuotesOnlyWhatNeedsItAndReadsBack) {
    const Join& j = GetParam();
    const QString written = joinRecord(j.cells, j.separator);
    EXPECT_EQ(written, j.written);
    const formats::Records back = splitRecords(written + QStringLiteral("\r\n"), j.separator);
    ASSERT_EQ(back.records.size(), 1U);
    EXPECT_EQ(back.records[0].cells, j.cells);
    EXPECT_EQ(back.unclosedQuote, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cells, JoinRecord, testing::Values(
    Join{"Plain", {q("KL1-1"), q("Φ12"), q("6457")}, u',', q("KL1-1,Φ12,6457")},
    Join{"Separator", {q("a,b"), q("c")}, u',', q("\"a,b\",c")},
    Join{"OtherSeparatorNotQuoted", {q("a,b"), q("c")}, u'\t', q("a,b\tc")},
    Join{"Quote", {q("5\" bar")}, u',', q("\"5\"\" bar\"")},
    Join{"LineBreaks", {q("a\nb"), q("c\r\nd")}, u',', q("\"a\nb\",\"c\r\nd\"")},
    Join{"Hash", {q("#1"), q("x#")}, u',', q("\"#1\",x#")},
    Join{"BlanksAtTheEnds", {q(" a"), q("b "), q("\xE3\x80\x80" "c")}, u',', q("\" a\",\"b \",\"\xE3\x80\x80" "c\"")},
    Join{"EmptyCells", {q(""), q("x"), q("")}, u',', q(",x,")}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
