#include "formats/list_file.h"
#include "formats/records.h"

#include <string>
#include <vector>

#include <QStringEncoder>

#include <gtest/gtest.h>

#include "qt_print.h"

// GoogleTest finds it beside the type.
namespace formats {
void PrintTo(const FileError& e, std::ostream* out) {
    *out << "line " << e.line << " problem " << static_cast<int>(e.problem) << " field "
         << static_cast<int>(e.field) << " value " << static_cast<int>(e.value) << " limit "
         << e.limit << " text " << e.text;
}
} // namespace formats

namespace {

using formats::FileError;
using formats::FileProblem;
using formats::ListDocument;
using formats::ListRead;
using formats::ListRow;
using formats::readList;
using formats::writeList;
using plan::Field;

// A row's texts and line, as a test writes them down.
struct Row {
    std::string mark, diameter, length, count;
    int line;
    std::string shape;
    std::string parameters;

    friend bool operator==(const Row&, const Row&) = default;
};

void PrintTo(const Row& r, std::ostream* out) {
    *out << r.line << ": " << r.mark << '|' << r.diameter << '|' << r.length << '|' << r.count
         << '|' << r.shape << '|' << r.parameters;
}

std::vector<Row> rowsOf(const ListDocument& d) {
    std::vector<Row> out;
    for (const ListRow& r : d.rows) {
        out.push_back({r.piece.mark, r.piece.diameter, r.piece.length, r.piece.count, r.piece.line,
                       r.shape, r.parameters});
    }
    return out;
}

QByteArray utf8(const char* text) {
    return QByteArray(text);
}

struct Readable {
    const char* name;
    QByteArray bytes;
    std::vector<Row> rows;
};

class ReadPieces : public testing::TestWithParam<Readable> {};

TEST_P(ReadPieces, FindsTheColumnsByNameAndKeepsTheLines) {
    const ListRead got = readList(GetParam().bytes);
    EXPECT_TRUE(got.errors.empty()) << got.errors.size() << " errors, the first on line "
                                    << (got.errors.empty() ? 0 : got.errors[0].line);
    EXPECT_EQ(rowsOf(got.document), GetParam().rows);
}

const char* const kPlain = "编号,直径,长度,根数\r\nKL1-1,25,6457,4\r\nKZ2-3,Φ12,3180,10\r\n";
const std::vector<Row> kPlainRows{{"KL1-1", "25", "6457", "4", 2, "", ""},
                                  {"KZ2-3", "Φ12", "3180", "10", 3, "", ""}};

QByteArray gb18030(const char* text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(QString::fromUtf8(text));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadPieces, testing::Values(
    Readable{"Utf8", utf8(kPlain), kPlainRows},
    Readable{"Utf8WithBom", utf8("\xEF\xBB\xBF") + utf8(kPlain), kPlainRows},
    Readable{"Gb18030", gb18030(kPlain), kPlainRows},
    Readable{"DoubledBom", utf8("\xEF\xBB\xBF\xEF\xBB\xBF") + utf8(kPlain), kPlainRows},
    Readable{"Semicolons", utf8("编号;直径;长度;根数\nKL1-1;25;6457;4\nKZ2-3;Φ12;3180;10\n"), kPlainRows},
    Readable{"Tabs", utf8("编号\t直径\t长度\t根数\nKL1-1\t25\t6457\t4\nKZ2-3\tΦ12\t3180\t10\n"), kPlainRows},
    Readable{"EnglishNamesAnyOrderAndCase",
             utf8(" Count ,LENGTH,mark,Diameter\n4,6457,KL1-1,25\n10,3180,KZ2-3,Φ12\n"), kPlainRows},
    Readable{"UnitsAfterNames", utf8("编号,直径(mm),长度（mm）,根数\nKL1-1,25,6457,4\nKZ2-3,Φ12,3180,10\n"), kPlainRows},
    Readable{"OtherColumnsAroundTheSix",
             utf8("序号,编号,备注,直径,长度,根数,重量\n1,KL1-1,梁,25,6457,4,99\n2,KZ2-3,柱,Φ12,3180,10,28\n"),
             kPlainRows},
    Readable{"BlankLinesKeepTheirNumbers",
             utf8("\n编号,直径,长度,根数\n\nKL1-1,25,6457,4\n,,,\n\nKZ2-3,Φ12,3180,10\n"),
             {{"KL1-1", "25", "6457", "4", 4, "", ""}, {"KZ2-3", "Φ12", "3180", "10", 7, "", ""}}},
    Readable{"QuotedLineBreakMovesTheNextLine",
             utf8("编号,直径,长度,根数\n\"KL1\n(左)\",25,6457,4\nKZ2-3,Φ12,3180,10\n"),
             {{"KL1\n(左)", "25", "6457", "4", 2, "", ""}, {"KZ2-3", "Φ12", "3180", "10", 4, "", ""}}},
    Readable{"FullWidthDigitsKeptAsWritten", utf8("编号,直径,长度,根数\nKL1,２５,６４５７.３４,４\n"),
             {{"KL1", "２５", "６４５７.３４", "４", 2, "", ""}}},
    Readable{"ShortRowsGiveEmptyCells", utf8("编号,直径,长度,根数\nKL1,25\n"),
             {{"KL1", "25", "", "", 2, "", ""}}},
    Readable{"RowsWithTextOnlyInOtherColumnsAreKept", utf8("编号,直径,长度,根数,备注\n,,,,只有备注\nKL1,25,6457,4,\n"),
             {{"", "", "", "", 2, "", ""}, {"KL1", "25", "6457", "4", 3, "", ""}}},
    Readable{"ShapeAndParameters",
             utf8("编号,直径,长度,根数,形状,参数\nG1,8,1560,20,箍筋,\"长=300;宽=200\"\n"),
             {{"G1", "8", "1560", "20", 2, "箍筋", "长=300;宽=200"}}},
    Readable{"QuotedHashIsAMark", utf8("编号,直径,长度,根数\n\"#1\",25,6457,4\n"),
             {{"#1", "25", "6457", "4", 2, "", ""}}},
    Readable{"TitleRowsAboveTheHeader",
             utf8("3 号楼钢筋下料单,,,\n日期：12 月 1 日,编号 见图,,\n编号,直径,长度,根数\nKL1-1,25,6457,4\nKZ2-3,Φ12,3180,10\n"),
             {{"KL1-1", "25", "6457", "4", 4, "", ""}, {"KZ2-3", "Φ12", "3180", "10", 5, "", ""}}},
    Readable{"HeaderOnly", utf8("编号,直径,长度,根数\r\n"), {}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

using Others = std::vector<std::vector<std::string>>;

// Each row's cells in the other columns.
Others othersOf(const ListDocument& d) {
    Others out;
    for (const ListRow& r : d.rows) {
        out.push_back(r.others);
    }
    return out;
}

struct WithOthers {
    const char* name;
    QByteArray bytes;
    std::vector<std::string> columns;
    Others rows;
};

class ReadOtherColumns : public testing::TestWithParam<WithOthers> {};

TEST_P(ReadOtherColumns, KeepsTheirNamesAndCellsInFileOrder) {
    const ListRead got = readList(GetParam().bytes);
    EXPECT_TRUE(got.errors.empty()) << got.errors.size() << " errors, the first on line "
                                    << (got.errors.empty() ? 0 : got.errors[0].line);
    EXPECT_EQ(got.document.otherColumns, GetParam().columns);
    EXPECT_EQ(othersOf(got.document), GetParam().rows);
}

const char* const kMembers = "编号,构件,直径,长度,根数\r\nKL1-1,KL1 上部通长筋,25,6456.34,8\r\n"
                             "KZ1-2,KZ1 箍筋,10,2140,60\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadOtherColumns, testing::Values(
    WithOthers{"None", utf8(kPlain), {}, {{}, {}}},
    WithOthers{"MemberColumn", utf8(kMembers), {"构件"}, {{"KL1 上部通长筋"}, {"KZ1 箍筋"}}},
    WithOthers{"MemberColumnInGb18030", gb18030(kMembers), {"构件"}, {{"KL1 上部通长筋"}, {"KZ1 箍筋"}}},
    WithOthers{"InFileOrderAroundTheSix",
               utf8("序号,编号,备注,直径,长度,根数,形状,重量\n1,KL1-1,梁,25,6457,4,,99\n"),
               {"序号", "备注", "重量"}, {{"1", "梁", "99"}}},
    WithOthers{"NamesTrimmedCellsAsWritten", utf8(" 备注\u3000,编号,直径,长度,根数\n 左 ,KL1,25,6457,4\n"),
               {"备注"}, {{" 左 "}}},
    WithOthers{"NamesKeepTheirCase", utf8("编号,直径,长度,根数,Note (mm)\nKL1,25,6457,4,x\n"),
               {"Note (mm)"}, {{"x"}}},
    WithOthers{"QuotedCellWithACommaAndALineBreak",
               utf8("编号,直径,长度,根数,备注\nKL1,25,6457,4,\"梁,左\n二跨\"\n"), {"备注"}, {{"梁,左\n二跨"}}},
    WithOthers{"EmptyCellsAndShortRows", utf8("编号,直径,长度,根数,构件,备注\nKL1,25,6457,4,,甲\nKL2,25,6457,4\n"),
               {"构件", "备注"}, {{"", "甲"}, {"", ""}}},
    WithOthers{"UnnamedColumnWithTextKeepsItsPlace", utf8("编号,,直径,长度,根数,备注\nKL1,x,25,6457,4,甲\n"),
               {"", "备注"}, {{"x", "甲"}}},
    WithOthers{"UnnamedEmptyColumnBeforeANamedOneKept", utf8("编号,直径,长度,根数,,备注\nKL1,25,6457,4,,甲\n"),
               {"", "备注"}, {{"", "甲"}}},
    WithOthers{"SpreadsheetPaddingLeftOut", utf8("编号,直径,长度,根数,备注,,,\nKL1,25,6457,4,甲,,\u3000,\n"),
               {"备注"}, {{"甲"}}},
    WithOthers{"CellsPastTheHeaderKeptUnnamed", utf8("编号,直径,长度,根数\nKL1,25,6457,4,,迟到\nKL2,25,6457,4\n"),
               {"", ""}, {{"", "迟到"}, {"", ""}}},
    WithOthers{"TitleRowsAboveAddNoColumns", utf8("下料单,,,,,,\n编号,直径,长度,根数\nKL1,25,6457,4\n"), {}, {{}}},
    WithOthers{"SemicolonsFile", utf8("编号;直径;长度;根数;备注\nKL1;25;6457;4;a,b\n"), {"备注"}, {{"a,b"}}},
    WithOthers{"RowWithTextOnlyInOtherColumns", utf8("编号,直径,长度,根数,备注\n,,,,只有备注\nKL1,25,6457,4\n"),
               {"备注"}, {{"只有备注"}, {""}}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ReadList, KeepsNoOtherColumnsWhenTheHeaderIsWrong) {
    const ListRead got = readList(utf8("编号,直径,长度,备注\nKL1,25,6457,甲\n"));
    EXPECT_EQ(got.errors.size(), 1U);
    EXPECT_TRUE(got.document.otherColumns.empty());
    EXPECT_TRUE(got.document.rows.empty());
}

TEST(ReadList, TheOptimiserPassesOverRowsWithTextOnlyInOtherColumns) {
    const ListRead got =
        readList(utf8("编号,直径,长度,根数,备注\nKL1,25,6457,4,梁\n,,,,以下为二层\n"));
    ASSERT_EQ(got.document.rows.size(), 2U);
    std::vector<plan::PieceRow> rows;
    for (const ListRow& r : got.document.rows) {
        rows.push_back(r.piece);
    }
    const plan::Checked checked = plan::checkList(rows, {}, plan::Settings{});
    EXPECT_TRUE(checked.errors.empty());
    ASSERT_EQ(checked.list.pieces().size(), 1U);
    EXPECT_EQ(checked.list.pieces()[0].mark, "KL1");
}

FileError error(int line, FileProblem problem) {
    FileError e;
    e.line = line;
    e.problem = problem;
    return e;
}

FileError column(int line, FileProblem problem, Field field) {
    FileError e = error(line, problem);
    e.field = field;
    return e;
}

FileError named(int line, FileProblem problem, const char* text) {
    FileError e = error(line, problem);
    e.text = text;
    return e;
}

FileError setting(int line, Field field, plan::Problem value, std::int64_t limit = 0) {
    FileError e = column(line, FileProblem::BadSetting, field);
    e.value = value;
    e.limit = limit;
    return e;
}

struct Wrong {
    const char* name;
    QByteArray bytes;
    std::vector<FileError> errors;
};

class ReadWrongFile : public testing::TestWithParam<Wrong> {};

TEST_P(ReadWrongFile, ReportsEachProblemAtItsLine) {
    EXPECT_EQ(readList(GetParam().bytes).errors, GetParam().errors);
}

const char* const kHead = "编号,直径,长度,根数\nKL1,25,6457,4\n";

QByteArray withHead(const char* rest) {
    return utf8(kHead) + utf8(rest);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadWrongFile, testing::Values(
    Wrong{"Empty", utf8(""), {error(0, FileProblem::NoHeader)}},
    Wrong{"OnlyBlankLines", utf8("\r\n  \r\n,,,\r\n"), {error(0, FileProblem::NoHeader)}},
    Wrong{"SectionBeforeTheTable", utf8("\n#设置\n锯口,0\n"), {error(2, FileProblem::NoHeader)}},
    Wrong{"MissingLength", utf8("\n编号,直径,根数\nKL1,25,4\n"), {column(2, FileProblem::MissingColumn, Field::Length)}},
    Wrong{"MissingMarkAndCount", utf8("直径,长度\n25,6457\n"),
          {column(1, FileProblem::MissingColumn, Field::Mark), column(1, FileProblem::MissingColumn, Field::Count)}},
    Wrong{"RepeatedColumn", utf8("编号,长度,直径, Length ,根数\n"), {named(1, FileProblem::RepeatedColumn, "Length")}},
    Wrong{"NotText", utf8("编号,直径,长度,根数\nKL1,25,6457,4\n\xFF\n"), {error(3, FileProblem::NotText)}},
    Wrong{"UnclosedQuote", withHead("\n\"KL2,25,100,1\nKL3,25,100,1\n"), {error(4, FileProblem::UnclosedQuote)}},
    Wrong{"UnknownSection", withHead("#备注\n随便写\n#设置\n锯口,0\n"), {named(3, FileProblem::UnknownSection, "#备注")}},
    Wrong{"UnquotedHashMarkIsASection", withHead("#1,25,6457,4\n"), {named(3, FileProblem::UnknownSection, "#1")}},
    Wrong{"RepeatedSection", withHead("#设置\n锯口,0\n#设置\n锯口,1\n"), {named(5, FileProblem::RepeatedSection, "#设置")}},
    Wrong{"UnknownSetting", withHead("#设置\n锯口宽度,3\n"), {named(4, FileProblem::UnknownSetting, "锯口宽度")}},
    Wrong{"RepeatedSetting", withHead("#设置\n锯口,0\n kerf ,1\n"), {named(5, FileProblem::RepeatedSetting, "kerf")}},
    Wrong{"KerfWithDecimals", withHead("#设置\n锯口,2.5\n"), {setting(4, Field::Kerf, plan::Problem::NotWhole)}},
    Wrong{"KerfEmpty", withHead("#设置\n锯口,,,\n"), {setting(4, Field::Kerf, plan::Problem::Empty)}},
    Wrong{"KerfTwoValues", withHead("#设置\n锯口,1,2\n"), {setting(4, Field::Kerf, plan::Problem::NotANumber)}},
    Wrong{"KeepTooLarge", withHead("#设置\n最短余料,2000000\n"), {setting(4, Field::Keep, plan::Problem::TooLarge, plan::kMaxLength)}},
    Wrong{"StockZero", withHead("#设置\n原材长度,9000;0\n"), {setting(4, Field::StockLength, plan::Problem::NotPositive)}},
    Wrong{"StockTwice", withHead("#设置\n原材长度,9000;12000;9000\n"), {setting(4, Field::StockLength, plan::Problem::Duplicate)}},
    Wrong{"StockNone", withHead("#设置\n原材长度\n"), {setting(4, Field::StockLength, plan::Problem::NoStock)}},
    Wrong{"SecondsNotANumber", withHead("#设置\n时限,十秒\n"), {setting(4, Field::Seconds, plan::Problem::NotANumber)}},
    Wrong{"SecondsZero", withHead("#设置\n时限,0\n"), {setting(4, Field::Seconds, plan::Problem::NotPositive)}},
    Wrong{"OffcutsWithoutLength", withHead("#余料\n直径,根数\n25,2\n"), {column(4, FileProblem::MissingColumn, Field::Length)}},
    Wrong{"EveryProblemInLineOrder", withHead("#设置\n锯口,x\n#杂项\n#余料\n直径,长度\n"),
          {setting(4, Field::Kerf, plan::Problem::NotANumber), named(5, FileProblem::UnknownSection, "#杂项"),
           column(7, FileProblem::MissingColumn, Field::Count)}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ReadList, ReadsEverySettingAndTheOffcuts) {
    // As a spreadsheet saves the file again: every row padded to the widest.
    const ListRead got = readList(utf8("编号,直径,长度,根数,形状,参数\n"
                                       "KL1,25,6457,4,,\n"
                                       "#设置,,,,,\n"
                                       "原材长度,9000;12000,,,,\n"
                                       "锯口,２,,,,\n"
                                       "最短余料,800,,,,\n"
                                       "时限,2.5,,,,\n"
                                       "项目,\"某某工程, 二期\",,,,\n"
                                       "#余料,,,,,\n"
                                       "根数,直径,长度,,,\n"
                                       "2,25,3200,,,\n"
                                       "1,Φ25,1800.5,,,\n"));
    ASSERT_TRUE(got.errors.empty());
    const formats::ListSettings& s = got.document.settings;
    EXPECT_EQ(s.stockLengths, (std::vector<std::int64_t>{9000, 12000}));
    EXPECT_EQ(s.kerf, 2);
    EXPECT_EQ(s.keep, 800);
    EXPECT_EQ(s.seconds, 2.5);
    EXPECT_EQ(s.project, "某某工程, 二期");
    ASSERT_EQ(got.document.offcuts.size(), 2U);
    EXPECT_EQ(got.document.offcuts[0].diameter, "25");
    EXPECT_EQ(got.document.offcuts[0].length, "3200");
    EXPECT_EQ(got.document.offcuts[0].count, "2");
    EXPECT_EQ(got.document.offcuts[0].line, 11);
    EXPECT_EQ(got.document.offcuts[1].length, "1800.5");
    EXPECT_EQ(got.document.offcuts[1].line, 12);
}

TEST(ReadList, ReadsSettingsSpreadOverCellsInASemicolonFile) {
    const ListRead got =
        readList(utf8("编号;直径;长度;根数\nKL1;25;6457;4\n#设置\n原材长度;9000;12000\n"));
    ASSERT_TRUE(got.errors.empty());
    EXPECT_EQ(got.document.settings.stockLengths, (std::vector<std::int64_t>{9000, 12000}));
}

TEST(ReadList, SectionsComeInEitherOrderAndMayBeEmpty) {
    const ListRead got =
        readList(utf8("编号,直径,长度,根数\nKL1,25,6457,4\n#余料\n#设置\n锯口,1\n"));
    ASSERT_TRUE(got.errors.empty());
    EXPECT_TRUE(got.document.offcuts.empty());
    EXPECT_EQ(got.document.settings.kerf, 1);
    EXPECT_EQ(got.document.rows.size(), 1U);
}

TEST(ReadList, KeepsReadingRowsAfterABadSetting) {
    const ListRead got = readList(withHead("#设置\n锯口,x\n最短余料,300\n"));
    EXPECT_EQ(got.errors.size(), 1U);
    EXPECT_EQ(got.document.settings.keep, 300);
    EXPECT_FALSE(got.document.settings.kerf);
    EXPECT_EQ(got.document.rows.size(), 1U);
}

TEST(Applied, PutsOnlyWhatTheFileGivesOverTheBase) {
    plan::Settings base;
    base.stockLengths = {6000};
    base.kerf = 3;
    base.keep = 100;
    base.seconds = 4;
    formats::ListSettings file;
    file.kerf = 0;
    file.seconds = 1.5;
    const plan::Settings got = formats::applied(file, base);
    EXPECT_EQ(got.stockLengths, base.stockLengths);
    EXPECT_EQ(got.kerf, 0);
    EXPECT_EQ(got.keep, base.keep);
    EXPECT_EQ(got.seconds, 1.5);
}

// A document with every text that needs care in a CSV file.
ListDocument awkwardDocument() {
    ListDocument d;
    const auto row = [&](std::string mark, std::string diameter, std::string length,
                         std::string count, std::string shape, std::string parameters) {
        ListRow r;
        r.piece = {std::move(mark), std::move(diameter), std::move(length), std::move(count), 0};
        r.shape = std::move(shape);
        r.parameters = std::move(parameters);
        d.rows.push_back(std::move(r));
    };
    row("KL1-1", "25", "6456.34", "4", "直钢筋(弯钩)", "构件长度=6500;保护层厚度=25");
    row("梁,左", "Φ12", "３１８０", "10", "", "");
    row("say \"A\"", "12", "1560", "2", "箍筋", "长=300;宽=200");
    row("#1", "8", "900", "1", "", "");
    row(" 前后有空格 ", "8", "900", "1", "", "");
    row("两行\r\n的编号", "8", "900", "1", "", "");
    row("", "", "", "3", "", ""); // wrong, but kept: the planner shows it marked
    d.settings.stockLengths = std::vector<std::int64_t>{12000, 9000, 6000};
    d.settings.kerf = 3;
    d.settings.keep = 500;
    d.settings.seconds = 0.1;
    d.settings.project = "工程 \"一期\", 北区";
    d.offcuts = {{"25", "3200", "2", 0}, {"Φ12", "1,800", "1", 0}};
    return d;
}

std::vector<Row> withoutLines(std::vector<Row> rows) {
    for (Row& r : rows) {
        r.line = 0;
    }
    return rows;
}

void expectSameDocument(const ListDocument& got, const ListDocument& want) {
    EXPECT_EQ(withoutLines(rowsOf(got)), withoutLines(rowsOf(want)));
    EXPECT_EQ(got.otherColumns, want.otherColumns);
    EXPECT_EQ(othersOf(got), othersOf(want));
    EXPECT_EQ(got.settings, want.settings);
    ASSERT_EQ(got.offcuts.size(), want.offcuts.size());
    for (std::size_t i = 0; i < want.offcuts.size(); ++i) {
        EXPECT_EQ(got.offcuts[i].diameter, want.offcuts[i].diameter);
        EXPECT_EQ(got.offcuts[i].length, want.offcuts[i].length);
        EXPECT_EQ(got.offcuts[i].count, want.offcuts[i].count);
        EXPECT_EQ(got.offcuts[i].grade, want.offcuts[i].grade);
    }
    ASSERT_EQ(got.rows.size(), want.rows.size());
    for (std::size_t i = 0; i < want.rows.size(); ++i) {
        EXPECT_EQ(got.rows[i].piece.grade, want.rows[i].piece.grade) << i;
        EXPECT_EQ(got.rows[i].piece.elements, want.rows[i].piece.elements) << i;
        EXPECT_EQ(got.rows[i].piece.total, want.rows[i].piece.total) << i;
    }
    EXPECT_EQ(got.grades, want.grades);
}

struct Document {
    const char* name;
    ListDocument document;
};

class RoundTrip : public testing::TestWithParam<Document> {};

TEST_P(RoundTrip, ReadsBackTheSameDocumentAndWritesTheSameBytes) {
    const QByteArray bytes = writeList(GetParam().document);
    const ListRead back = readList(bytes);
    ASSERT_TRUE(back.errors.empty());
    expectSameDocument(back.document, GetParam().document);
    EXPECT_EQ(writeList(back.document), bytes);
}

TEST_P(RoundTrip, SurvivesASpreadsheetPaddingEveryRow) {
    // Excel and WPS save every row as wide as the widest, with empty cells.
    const QByteArray bytes = writeList(GetParam().document);
    const QString text = QString::fromUtf8(bytes.sliced(3));
    const formats::Records records = formats::splitRecords(text, u',');
    QByteArray padded("\xEF\xBB\xBF");
    for (const formats::Record& r : records.records) {
        QStringList cells = r.cells;
        const auto width = static_cast<qsizetype>(GetParam().document.otherColumns.size()) + 12;
        while (cells.size() < width) {
            cells.append(QString());
        }
        // Excel quotes only what needs it, so a section heading comes back bare.
        QString line = formats::joinRecord(cells, u',');
        if (!r.quoted[0] && cells[0].startsWith(u'#')) {
            line = cells[0] + formats::joinRecord(cells.mid(1), u',').prepend(u',');
        }
        padded += (line + QStringLiteral("\r\n")).toUtf8();
    }
    const ListRead back = readList(padded);
    ASSERT_TRUE(back.errors.empty());
    expectSameDocument(back.document, GetParam().document);
}

// The other columns of a spreadsheet's list, with texts that need care in a CSV file.
ListDocument otherColumns() {
    ListDocument d;
    d.otherColumns = {"构件", "", "备注, 说明", "a;b", "制\t表", "\"引号\"", "#号"};
    const auto row = [&](std::string mark, std::vector<std::string> others) {
        ListRow r;
        r.piece = {std::move(mark), "25", "6457", "4", 0};
        r.others = std::move(others);
        d.rows.push_back(std::move(r));
    };
    row("KL1-1", {"KL1 上部通长筋", "", "梁,左", "", "", "", ""});
    row("KL1-2", {"", "无名列", "两行\r\n的备注", " 前后空格 ", "制\t表", "say \"A\"", "#1"});
    row("", {"", "", "只有备注", "", "", "", ""}); // a note of its own: kept, planned as blank
    row("KL1-3", {"", "", "", "", "", "", ""});
    return d;
}

ListDocument settingsOnly() {
    ListDocument d;
    d.settings.keep = 0;
    return d;
}

ListDocument offcutsOnly() {
    ListDocument d;
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    d.offcuts = {{"25", "3200", "2", 0}};
    return d;
}

// A bar-bending schedule: grades in a column and in the diameter cell, counts by element, an
// offcut with its grade, and a grade table of its own.
ListDocument schedule() {
    ListDocument d;
    d.otherColumns = {"构件名称", "筋号"};
    const auto row = [&](std::string grade, std::string diameter, std::string elements,
                         std::string count, std::string total) {
        ListRow r;
        r.piece = {
            "KL1-1", std::move(diameter), "6000",          std::move(count), 0, std::move(grade),
            {},      std::move(elements), std::move(total)};
        r.others = {"KL1", "1"};
        d.rows.push_back(std::move(r));
    };
    row("HRB400", "25", "4", "6", "24");
    row("", "C25", "2", "3", "");
    row("三级", "25", "", "", "7");
    row("", "Φ12", "", "5", "");
    d.offcuts = {{"25", "3200", "2", 0, "HRB400"}, {"12", "1800", "1", 0, ""}};
    d.grades = {{"C", "HRB400E"}, {"三级", "HRB400"}, {"R", "CRB550"}};
    return d;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip, testing::Values(
    Document{"Schedule", schedule()},
    Document{"Awkward", awkwardDocument()},
    Document{"OtherColumns", otherColumns()},
    Document{"Empty", ListDocument{}},
    Document{"SettingsOnly", settingsOnly()},
    Document{"OffcutsOnly", offcutsOnly()}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WriteList, WritesUtf8WithBomCommasAndCrLf) {
    const QByteArray bytes = writeList(awkwardDocument());
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.sliced(3).startsWith("编号,直径,长度,根数,形状,参数\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n#设置\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n#余料\r\n直径,长度,根数\r\n"));
    // Every line end outside the quoted two-line mark is CR LF.
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

TEST(WriteList, WritesOtherColumnsAfterTheSix) {
    ListDocument d;
    d.otherColumns = {"构件", "备注"};
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {"梁", "甲,乙"}});
    d.rows.push_back({{"KL2", "25", "6457", "4", 0}, "", "", {"柱"}});          // one missing
    d.rows.push_back({{"KL3", "25", "6457", "4", 0}, "", "", {"a", "b", "c"}}); // one too many
    d.rows.push_back({{"", "", "", "", 0}, "", "", {"", "", "只在多出的格里"}});
    EXPECT_EQ(writeList(d).sliced(3), QByteArray("编号,直径,长度,根数,形状,参数,构件,备注\r\n"
                                                 "KL1,25,6457,4,,,梁,\"甲,乙\"\r\n"
                                                 "KL2,25,6457,4,,,柱,\r\n"
                                                 "KL3,25,6457,4,,,a,b\r\n"));
}

struct LooksLikeASeparator {
    const char* name;
    std::string column;
};

class SeparatorInAName : public testing::TestWithParam<LooksLikeASeparator> {};

// The header row decides the separator: more semicolons or tabs in its names than commas between
// them must not make the written file read as another kind.
TEST_P(SeparatorInAName, StillReadsAsACommaFile) {
    ListDocument d;
    d.otherColumns = {GetParam().column};
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {"x"}});
    const ListRead back = readList(writeList(d));
    EXPECT_TRUE(back.errors.empty());
    EXPECT_EQ(back.document.otherColumns, d.otherColumns);
    EXPECT_EQ(othersOf(back.document), othersOf(d));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SeparatorInAName, testing::Values(
    LooksLikeASeparator{"Semicolons", std::string(20, ';')},
    LooksLikeASeparator{"Tabs", "制" + std::string(20, '\t') + "表"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WriteList, LeavesOutSectionsWithNothingInThem) {
    ListDocument d;
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    const QByteArray bytes = writeList(d);
    EXPECT_FALSE(bytes.contains("#"));
}

TEST(WriteList, LeavesOutBlankRows) {
    ListDocument d;
    d.rows.push_back({{" ", "", "", "", 0}, "", "", {}});
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    const ListRead back = readList(writeList(d));
    ASSERT_EQ(back.document.rows.size(), 1U);
    EXPECT_EQ(back.document.rows[0].piece.line, 2);
}

} // namespace

namespace {

TEST(ReadSchedule, ReadsGradesCountsByElementAndMarksFromTheElement) {
    const ListRead read = readList(QStringLiteral("钢筋表\n"
                                                  "构件名称,筋号,钢筋级别,直径,长度,构件数量,"
                                                  "单件根数,总根数,总重\n"
                                                  "KL1,1,HRB400,25,6000,4,6,24,554.4\n"
                                                  "KL1,,,C22,3000,,,5,\n"
                                                  ",2,,12,1000,,3,,\n")
                                       .toUtf8());
    ASSERT_TRUE(read.errors.empty());
    const std::vector<ListRow>& rows = read.document.rows;
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].piece.mark, "KL1-1");
    EXPECT_EQ(rows[0].piece.grade, "HRB400");
    EXPECT_EQ(rows[0].piece.elements, "4");
    EXPECT_EQ(rows[0].piece.count, "6");
    EXPECT_EQ(rows[0].piece.total, "24");
    EXPECT_EQ(rows[1].piece.mark, "KL1"); // no 筋号: the element alone
    EXPECT_EQ(rows[1].piece.diameter, "C22");
    EXPECT_EQ(rows[1].piece.count, "");
    EXPECT_EQ(rows[1].piece.total, "5");
    EXPECT_EQ(rows[2].piece.mark, "2");
    // The columns a mark is made of, and the weight, stay the list's own.
    EXPECT_EQ(read.document.otherColumns, (std::vector<std::string>{"构件名称", "筋号", "总重"}));
}

TEST(ReadSchedule, AnEditedMarkIsKeptWhenThereIsAMarkColumn) {
    const ListRead read = readList("编号,构件名称,筋号,直径,长度,根数\nA7,KL1,1,25,6000,2\n");
    ASSERT_TRUE(read.errors.empty());
    EXPECT_EQ(read.document.rows[0].piece.mark, "A7");
}

// (筋号 without 编号 or 构件名称 is a bar detail report's header, whose marks come from its
// element blocks: block_report_test.cpp.)
TEST(ReadSchedule, NeedsAMarkOrAnElementAndACountOrATotal) {
    const ListRead read = readList("序号,直径,长度,件数\n1,25,6000,2\n");
    ASSERT_EQ(read.errors.size(), 2U);
    EXPECT_EQ(read.errors[0].problem, FileProblem::MissingColumn);
    EXPECT_EQ(read.errors[0].field, Field::Mark);
    EXPECT_EQ(read.errors[1].field, Field::Count);
}

TEST(ReadSchedule, ReadsTheGradeTableSectionAndItsWrongRows) {
    const ListRead read = readList("编号,直径,长度,根数\nA,C25,6000,2\n"
                                   "#牌号\n代号,牌号\nC,HRB400E\n7,HRB400\nX,WOOD\n");
    EXPECT_EQ(read.document.grades, (std::vector<formats::GradeCode>{{"C", "HRB400E"}}));
    ASSERT_EQ(read.errors.size(), 2U);
    EXPECT_EQ(read.errors[0].line, 6);
    EXPECT_EQ(read.errors[0].problem, FileProblem::BadGradeCode);
    EXPECT_EQ(read.errors[1].line, 7);
    EXPECT_EQ(read.errors[1].problem, FileProblem::UnknownGradeName);
    EXPECT_EQ(formats::gradesOf(read.document),
              (std::vector<formats::GradeCode>{{"C", "HRB400E"}}));
    EXPECT_EQ(formats::gradesOf(ListDocument{}), formats::defaultGrades());
}

TEST(WriteList, WritesTheScheduleColumnsOnlyWhenUsed) {
    ListDocument d;
    d.rows.push_back({{"KL1", "25", "6457", "4", 0}, "", "", {}});
    EXPECT_TRUE(writeList(d).contains("编号,直径,长度,根数,形状,参数\r\n"));
    d.rows[0].piece.total = "4";
    EXPECT_TRUE(writeList(d).contains("编号,直径,长度,根数,形状,参数,总根数\r\n"));
    EXPECT_FALSE(writeList(d).contains("#牌号"));
}

} // namespace
