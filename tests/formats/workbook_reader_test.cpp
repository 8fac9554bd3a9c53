#include "formats/list_input.h"
#include "formats/messages.h"
#include "formats/places.h"
#include "formats/workbook.h"

#include <string>
#include <vector>

#include <QFile>

#include <gtest/gtest.h>

#include "book_maker.h"
#include "qt_print.h"

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

struct Row {
    int line;
    QStringList cells;

    friend bool operator==(const Row&, const Row&) = default;
    friend void PrintTo(const Row& row, std::ostream* os) {
        *os << row.line << ": [" << row.cells.join(u'|').toStdString() << "]";
    }
};

std::vector<Row> rowsOf(const formats::Records& records) {
    std::vector<Row> out;
    for (const formats::Record& r : records.records) {
        out.push_back({r.line, r.cells});
    }
    return out;
}

std::vector<Row> firstSheet(const QByteArray& bytes) {
    const formats::WorkbookRead book = formats::readWorkbook(bytes, s("清单.xlsx"));
    EXPECT_FALSE(book.error.has_value());
    if (book.error || book.sheets.empty()) {
        return {};
    }
    return rowsOf(book.sheets.front().rows);
}

struct FormCase {
    const char* name;
    const char* data;
    const char* after;
    const char* strings;
    std::vector<Row> rows;
};

class CellForms : public testing::TestWithParam<FormCase> {};

TEST_P(CellForms, ReadBackAsExcelShowsThem) {
    const FormCase& c = GetParam();
    const QByteArray bytes = handXlsx({{s("钢筋表"), s(c.data), s(c.after)}}, s(c.strings));
    EXPECT_EQ(firstSheet(bytes), c.rows);
}

const FormCase kForms[] = {
    {"shared_strings",
     R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row><row r="2"><c r="A2" t="s"><v>1</v></c></row>)",
     "",
     "<si><t>编号</t></si><si><t>KL1</t></si>",
     {{1, {s("编号")}}, {2, {s("KL1")}}}},
    {"rich_text_runs_joined_without_phonetics",
     R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)",
     "",
     R"(<si><r><rPr><b/></rPr><t>KL</t></r><r><t xml:space="preserve">1 </t></r><rPh sb="0" eb="1"><t>ケ</t></rPh></si>)",
     {{1, {s("KL1 ")}}}},
    {"inline_string",
     R"(<row r="1"><c r="B1" t="inlineStr"><is><t>长度</t></is></c></row>)",
     "",
     "",
     {{1, {s(""), s("长度")}}}},
    {"inline_rich_text",
     R"(<row r="1"><c r="A1" t="inlineStr"><is><r><t>Z</t></r><r><t>1</t></r></is></c></row>)",
     "",
     "",
     {{1, {s("Z1")}}}},
    {"whole_number", R"(<row r="1"><c r="A1"><v>3000</v></c></row>)", "", "", {{1, {s("3000")}}}},
    {"decimal_stays",
     R"(<row r="1"><c r="A1" t="n"><v>6456.34</v></c></row>)",
     "",
     "",
     {{1, {s("6456.34")}}}},
    {"decimal_written_to_17_digits",
     R"(<row r="1"><c r="A1"><v>6456.3400000000001</v></c></row>)",
     "",
     "",
     {{1, {s("6456.34")}}}},
    {"exponent_shown_plain",
     R"(<row r="1"><c r="A1"><v>3E3</v></c></row>)",
     "",
     "",
     {{1, {s("3000")}}}},
    {"half", R"(<row r="1"><c r="A1"><v>0.5</v></c></row>)", "", "", {{1, {s("0.5")}}}},
    {"number_stored_as_shared_text",
     R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)",
     "",
     "<si><t>3000</t></si>",
     {{1, {s("3000")}}}},
    {"number_stored_as_text_keeps_zeros",
     R"(<row r="1"><c r="A1" t="str"><v>0025</v></c></row>)",
     "",
     "",
     {{1, {s("0025")}}}},
    {"formula_cached_number",
     R"(<row r="1"><c r="A1"><f>B1*2</f><v>6000</v></c><c r="B1"><v>3000</v></c></row>)",
     "",
     "",
     {{1, {s("6000"), s("3000")}}}},
    {"formula_cached_text",
     R"(<row r="1"><c r="A1" t="str"><f>"KL"&amp;1</f><v>KL1</v></c></row>)",
     "",
     "",
     {{1, {s("KL1")}}}},
    {"formula_without_cached_value",
     R"(<row r="1"><c r="A1"><f>B1</f></c><c r="B1"><v>1</v></c></row>)",
     "",
     "",
     {{1, {s(""), s("1")}}}},
    {"booleans",
     R"(<row r="1"><c r="A1" t="b"><v>1</v></c><c r="B1" t="b"><v>0</v></c></row>)",
     "",
     "",
     {{1, {s("TRUE"), s("FALSE")}}}},
    {"error_value",
     R"(<row r="1"><c r="A1" t="e"><v>#N/A</v></c></row>)",
     "",
     "",
     {{1, {s("#N/A")}}}},
    {"empty_cells_keep_their_columns",
     R"(<row r="1"><c r="A1" t="inlineStr"><is><t>a</t></is></c><c r="B1" s="1"/><c r="D1"><v>4</v></c></row>)",
     "",
     "",
     {{1, {s("a"), s(""), s(""), s("4")}}}},
    {"cells_and_rows_without_references",
     R"(<row><c><v>1</v></c><c><v>2</v></c></row><row><c><v>3</v></c></row>)",
     "",
     "",
     {{1, {s("1"), s("2")}}, {2, {s("3")}}}},
    {"rows_keep_excel_numbers_and_blank_rows_are_left_out",
     R"(<row r="2"><c r="A2" t="inlineStr"><is><t> </t></is></c></row><row r="7"><c r="C7"><v>9</v></c></row>)",
     "",
     "",
     {{7, {s(""), s(""), s("9")}}}},
    {"merged_header_and_merged_data_cells",
     R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row><row r="2"><c r="A2" t="s"><v>1</v></c><c r="B2"><v>1</v></c></row><row r="3"><c r="B3"><v>2</v></c></row><row r="4"><c r="B4"><v>3</v></c></row>)",
     R"(<mergeCells count="2"><mergeCell ref="A1:B1"/><mergeCell ref="A2:A4"/></mergeCells>)",
     "<si><t>构件名称</t></si><si><t>KL1</t></si>",
     {{1, {s("构件名称"), s("构件名称")}},
      {2, {s("KL1"), s("1")}},
      {3, {s("KL1"), s("2")}},
      {4, {s("KL1"), s("3")}}}},
    {"merged_header_over_two_rows",
     R"(<row r="1"><c r="A1" t="inlineStr"><is><t>编号</t></is></c><c r="B1" t="inlineStr"><is><t>尺寸</t></is></c></row><row r="2"><c r="B2" t="inlineStr"><is><t>长度</t></is></c></row>)",
     R"(<mergeCells><mergeCell ref="A1:A2"/></mergeCells>)",
     "",
     {{1, {s("编号"), s("尺寸")}}, {2, {s("编号"), s("长度")}}}},
    {"entities",
     R"(<row r="1"><c r="A1" t="inlineStr"><is><t>A&amp;B&lt;1&gt;</t></is></c></row>)",
     "",
     "",
     {{1, {s("A&B<1>")}}}},
};

INSTANTIATE_TEST_SUITE_P(Xlsx, CellForms, testing::ValuesIn(kForms),
                         [](const auto& info) { return std::string(info.param.name); });

const std::vector<Row> kWriterSheet = {
    {1,
     {s("某某工程 钢筋下料单"), s("某某工程 钢筋下料单"), s("某某工程 钢筋下料单"),
      s("某某工程 钢筋下料单"), s("某某工程 钢筋下料单")}},
    {2, {s("编制：张三")}},
    {3, {s("编号"), s("直径"), s("长度"), s("根数"), s("备注")}},
    {4, {s("KL1-1"), s("25"), s("6456.34"), s("4"), s("TRUE")}},
    {5, {s("KL1-2"), s("22"), s("3000"), s("2")}},
    {6, {s("Z1"), s("20"), s("3200"), s("8")}},
    {8, {s("#设置")}},
    {9, {s("锯口"), s("3")}},
};

TEST(WorkbookSheets, LibxlsxwriterBookReadsEverySheetInOrder) {
    const formats::WorkbookRead book = formats::readWorkbook(writerXlsx(), s("清单.xlsx"));
    ASSERT_FALSE(book.error.has_value());
    ASSERT_EQ(book.sheets.size(), 2U);
    EXPECT_EQ(book.sheets[0].name, s("说明"));
    EXPECT_EQ(book.sheets[1].name, s("钢筋表"));
    EXPECT_EQ(rowsOf(book.sheets[0].rows), (std::vector<Row>{{1, {s("清单在下一张工作表")}}}));
    EXPECT_EQ(rowsOf(book.sheets[1].rows), kWriterSheet);
}

TEST(WorkbookSheets, XlsReadsAsItsXlsxTwinButForTheMergedTitle) {
    // FreeXL 1.0.6 reports no merged ranges: the title stays in its first cell, and the text
    // in 备注 is the .xls's own.
    const formats::WorkbookRead book = formats::readWorkbook(dataFile("list.xls"), s("清单.xls"));
    ASSERT_FALSE(book.error.has_value());
    ASSERT_EQ(book.sheets.size(), 2U);
    EXPECT_EQ(book.sheets[0].name, s("说明"));
    EXPECT_EQ(book.sheets[1].name, s("钢筋表"));
    std::vector<Row> want = kWriterSheet;
    want[0].cells = QStringList{s("某某工程 钢筋下料单")};
    want[3].cells.back() = s("梁");
    EXPECT_EQ(rowsOf(book.sheets[1].rows), want);
}

TEST(WorkbookSheets, PartsAreFoundThroughTheirRelationships) {
    // Not where Excel puts them: a workbook at the root, its sheet and strings elsewhere, named by
    // the relationships alone (absolute and relative targets).
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const QByteArray pkg = "http://schemas.openxmlformats.org/package/2006/relationships";
    const QByteArray bytes = zipOf({
        {s("_rels/.rels"), "<Relationships xmlns=\"" + pkg + "\"><Relationship Id=\"a\" Type=\"" +
                               rel + "/officeDocument\" Target=\"/book.xml\"/></Relationships>"},
        {s("book.xml"), "<workbook xmlns:q=\"" + rel +
                            "\"><sheets><sheet name=\"表\" q:id=\"s\"/></sheets></workbook>"},
        {s("_rels/book.xml.rels"),
         "<Relationships xmlns=\"" + pkg + "\"><Relationship Id=\"s\" Type=\"" + rel +
             "/worksheet\" Target=\"data/one.xml\"/><Relationship Id=\"t\" Type=\"" + rel +
             "/sharedStrings\" Target=\"/text/strings.xml\"/></Relationships>"},
        {s("data/one.xml"),
         R"(<worksheet><sheetData><row r="2"><c r="B2" t="s"><v>0</v></c></row></sheetData></worksheet>)"},
        {s("text/strings.xml"), "<sst><si><t>长度</t></si></sst>"},
    });
    const formats::WorkbookRead book = formats::readWorkbook(bytes, s("a.xlsx"));
    ASSERT_FALSE(book.error.has_value());
    ASSERT_EQ(book.sheets.size(), 1U);
    EXPECT_EQ(book.sheets[0].name, s("表"));
    EXPECT_EQ(rowsOf(book.sheets[0].rows), (std::vector<Row>{{2, {s(""), s("长度")}}}));
}

TEST(WorkbookSheets, KindIsToldByTheFirstBytes) {
    EXPECT_EQ(formats::fileKind(writerXlsx(), s("清单.csv")), formats::FileKind::Xlsx);
    EXPECT_EQ(formats::fileKind(dataFile("list.xls"), s("清单.xlsx")), formats::FileKind::Ole);
    EXPECT_EQ(formats::fileKind("编号,直径", s("清单.XLSX")), formats::FileKind::Workbook);
    EXPECT_EQ(formats::fileKind("编号,直径", s("清单.csv")), formats::FileKind::Text);
}

struct ListCase {
    const char* name;
    QByteArray bytes;
    const char* file;
    const char* sheet;
};

class WorkbookLists : public testing::TestWithParam<ListCase> {};

TEST_P(WorkbookLists, TheSheetWithTheColumnsIsReadBelowItsTitle) {
    const ListCase& c = GetParam();
    const formats::ListRead read = formats::readListFile(c.bytes, s(c.file), s(c.sheet));
    ASSERT_TRUE(read.errors.empty()) << formats::describe(read.errors.front()).toStdString();
    EXPECT_EQ(read.place.sheet, "钢筋表");
    EXPECT_EQ(read.place.header, 3);
    EXPECT_EQ(read.place.pieces, (std::vector<formats::FieldColumn>{{plan::Field::Mark, 0},
                                                                    {plan::Field::Diameter, 1},
                                                                    {plan::Field::Length, 2},
                                                                    {plan::Field::Count, 3}}));
    ASSERT_EQ(read.document.rows.size(), 3U);
    const plan::PieceRow& first = read.document.rows[0].piece;
    EXPECT_EQ(first.mark, "KL1-1");
    EXPECT_EQ(first.diameter, "25");
    EXPECT_EQ(first.length, "6456.34");
    EXPECT_EQ(first.count, "4");
    EXPECT_EQ(first.line, 4);
    EXPECT_EQ(read.document.rows[1].piece.length, "3000");
    EXPECT_EQ(read.document.rows[2].piece.line, 6);
    EXPECT_EQ(read.document.otherColumns, std::vector<std::string>{"备注"});
    EXPECT_EQ(read.document.settings.kerf, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Books, WorkbookLists,
    testing::Values(ListCase{"xlsx_first_sheet_with_the_columns", writerXlsx(), "清单.xlsx", ""},
                    ListCase{"xlsx_sheet_named", writerXlsx(), "清单.xlsx", "钢筋表"},
                    ListCase{"xls_first_sheet_with_the_columns", dataFile("list.xls"), "清单.xls",
                             ""},
                    ListCase{"xls_named_xlsx", dataFile("list.xls"), "清单.xlsx", "钢筋表"}),
    [](const auto& info) { return std::string(info.param.name); });

QByteArray encryptedXlsx() {
    // What Office writes for a password to open: an OLE compound file whose directory names an
    // EncryptedPackage stream. Its header and that name are all the reader looks at.
    QByteArray bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    bytes.append(504, '\0');
    for (const char c : QByteArrayView("EncryptedPackage")) {
        bytes.append(c).append('\0');
    }
    bytes.append(512 - 32, '\0');
    return bytes;
}

QByteArray damaged(QByteArray bytes) {
    for (qsizetype i = 40; i < bytes.size() / 2; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    return bytes;
}

QByteArray oneCell(const char* cell, const char* after = "") {
    return handXlsx({{s("Sheet1"), s(cell), s(after)}});
}

struct BadCase {
    const char* name;
    QByteArray bytes;
    const char* file;
    const char* sheet;
    formats::WorkbookProblem problem;
    const char* message;
    formats::WorkbookLimits limits = {};
};

class BadWorkbooks : public testing::TestWithParam<BadCase> {};

TEST_P(BadWorkbooks, AreOneErrorWithNoRows) {
    const BadCase& c = GetParam();
    const formats::ListRead read = formats::readListFile(c.bytes, s(c.file), s(c.sheet));
    ASSERT_EQ(read.errors.size(), 1U);
    const formats::FileError& error = read.errors.front();
    EXPECT_EQ(error.problem, formats::FileProblem::Workbook);
    EXPECT_EQ(error.workbook, c.problem);
    EXPECT_EQ(error.line, 0);
    EXPECT_EQ(formats::describe(error), s(c.message));
    EXPECT_TRUE(read.document.rows.empty());
}

TEST_P(BadWorkbooks, AreTheWorkbookReadersOwnErrorUnlessTheListChoseTheSheet) {
    const BadCase& c = GetParam();
    const formats::WorkbookRead book = formats::readWorkbook(c.bytes, s(c.file), c.limits);
    if (c.problem == formats::WorkbookProblem::NoTable ||
        c.problem == formats::WorkbookProblem::UnknownSheet) {
        EXPECT_FALSE(book.error.has_value()); // a sound workbook, only not holding the list
        EXPECT_FALSE(book.sheets.empty());
        return;
    }
    ASSERT_TRUE(book.error.has_value());
    EXPECT_EQ(book.error->problem, c.problem);
    EXPECT_TRUE(book.sheets.empty());
}

const char* const kNoTable =
    "没有一张工作表含有清单的表头（编号、直径、长度、根数）；看过的工作表：“封面”、“汇总”";

INSTANTIATE_TEST_SUITE_P(
    Books, BadWorkbooks,
    testing::Values(
        BadCase{"encrypted_xlsx", encryptedXlsx(), "清单.xlsx", "",
                formats::WorkbookProblem::Encrypted,
                "工作簿设有打开密码，无法读取（请在 Excel 中取消密码后另存）"},
        BadCase{"encrypted_xls", dataFile("encrypted.xls"), "清单.xls", "",
                formats::WorkbookProblem::Encrypted,
                "工作簿设有打开密码，无法读取（请在 Excel 中取消密码后另存）"},
        BadCase{"damaged_zip", damaged(writerXlsx()), "清单.xlsx", "",
                formats::WorkbookProblem::Corrupt, "工作簿已损坏或不完整，无法读取"},
        BadCase{"truncated_xlsx", writerXlsx().left(writerXlsx().size() / 2), "清单.xlsx", "",
                formats::WorkbookProblem::Corrupt, "工作簿已损坏或不完整，无法读取"},
        BadCase{"truncated_xls", dataFile("list.xls").left(3000), "清单.xls", "",
                formats::WorkbookProblem::Corrupt, "工作簿已损坏或不完整，无法读取"},
        BadCase{"zip_that_is_not_a_workbook", zipOf({{s("说明.txt"), "编号,直径,长度,根数"}}),
                "清单.xlsx", "", formats::WorkbookProblem::NotWorkbook,
                "不是 Excel 工作簿（.xlsx 或 .xls）"},
        BadCase{"text_named_xlsx", "编号,直径,长度,根数\r\nA,25,3000,2\r\n", "清单.xlsx", "",
                formats::WorkbookProblem::NotWorkbook, "不是 Excel 工作簿（.xlsx 或 .xls）"},
        BadCase{"broken_sheet_xml", oneCell("<row><c r=\"A1\"><v>1</v></row>"), "清单.xlsx", "",
                formats::WorkbookProblem::UnreadableSheet, "工作表“Sheet1”无法读取"},
        BadCase{"shared_string_that_is_not_there",
                oneCell(R"(<row><c r="A1" t="s"><v>7</v></c></row>)"), "清单.xlsx", "",
                formats::WorkbookProblem::UnreadableSheet, "工作表“Sheet1”无法读取"},
        BadCase{"cell_in_the_last_column", oneCell(R"(<row><c r="XFD1"><v>1</v></c></row>)"),
                "清单.xlsx", "", formats::WorkbookProblem::TooLarge,
                "工作表“Sheet1”过大，超过可读取的范围"},
        BadCase{"merge_over_the_whole_sheet",
                oneCell(R"(<row><c r="A1"><v>1</v></c></row>)",
                        R"(<mergeCells><mergeCell ref="A1:AMI1048576"/></mergeCells>)"),
                "清单.xlsx", "", formats::WorkbookProblem::TooLarge,
                "工作表“Sheet1”过大，超过可读取的范围"},
        BadCase{
            "no_sheet_with_the_columns",
            handXlsx({{s("封面"), s(R"(<row><c t="inlineStr"><is><t>工程</t></is></c></row>)")},
                      {s("汇总"), s(R"(<row><c t="inlineStr"><is><t>编号</t></is></c></row>)")}}),
            "清单.xlsx", "", formats::WorkbookProblem::NoTable, kNoTable},
        BadCase{"sheet_that_is_not_there", writerXlsx(), "清单.xlsx", "钢材",
                formats::WorkbookProblem::UnknownSheet,
                "没有名为“钢材”的工作表；工作簿里有：“说明”、“钢筋表”"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkbookLimits, APartLargerThanAllowedIsTooLarge) {
    formats::WorkbookLimits limits;
    limits.partBytes = 1000; // the workbook's own parts fit, the sheet does not
    QString row;
    for (int i = 1; i <= 100; ++i) {
        row += QStringLiteral("<c r=\"A%1\"><v>%1</v></c>").arg(i);
    }
    const formats::WorkbookRead book =
        formats::readWorkbook(oneCell(row.toUtf8()), s("a.xlsx"), limits);
    ASSERT_TRUE(book.error.has_value());
    EXPECT_EQ(book.error->problem, formats::WorkbookProblem::TooLarge);
    EXPECT_EQ(book.error->sheet, s("Sheet1"));
}

TEST(WorkbookLimits, CellsAreCountedOverEverySheet) {
    formats::WorkbookLimits limits;
    limits.cells = 5;
    const QString three = s(R"(<row><c r="C1"><v>1</v></c></row>)");
    EXPECT_FALSE(
        formats::readWorkbook(handXlsx({{s("a"), three}}), s("a.xlsx"), limits).error.has_value());
    const formats::WorkbookRead two =
        formats::readWorkbook(handXlsx({{s("a"), three}, {s("b"), three}}), s("a.xlsx"), limits);
    ASSERT_TRUE(two.error.has_value());
    EXPECT_EQ(two.error->problem, formats::WorkbookProblem::TooLarge);
    EXPECT_EQ(two.error->sheet, s("b"));
}

TEST(WorkbookLists, ASheetIsNamedIgnoringCase) {
    const QByteArray bytes = handXlsx(
        {{s("Notes"), s(R"(<row><c t="inlineStr"><is><t>x</t></is></c></row>)")},
         {s("Bars"),
          s(R"(<row><c t="inlineStr"><is><t>mark</t></is></c><c t="inlineStr"><is><t>diameter</t></is></c><c t="inlineStr"><is><t>length</t></is></c><c t="inlineStr"><is><t>count</t></is></c></row><row><c t="inlineStr"><is><t>A</t></is></c><c><v>12</v></c><c><v>900</v></c><c><v>1</v></c></row>)")}});
    const formats::ListRead read = formats::readListFile(bytes, s("a.xlsx"), s("bARS"));
    EXPECT_TRUE(read.errors.empty());
    EXPECT_EQ(read.place.sheet, "Bars");
    ASSERT_EQ(read.document.rows.size(), 1U);
    EXPECT_EQ(read.document.rows[0].piece.length, "900");
}

TEST(WorkbookLists, ANamedSheetWithoutTheColumnsSaysWhatIsMissingThere) {
    const formats::ListRead read = formats::readListFile(writerXlsx(), s("a.xlsx"), s("说明"));
    ASSERT_FALSE(read.errors.empty());
    EXPECT_EQ(read.errors.front().problem, formats::FileProblem::MissingColumn);
    EXPECT_EQ(read.place.sheet, "说明");
    EXPECT_EQ(formats::placeText(read.place, read.errors.front()), s("说明!A1"));
}

TEST(WorkbookLists, TextStaysTheCsvReader) {
    const QByteArray csv = "编号,直径,长度,根数\nA,25,3000,2\n";
    const formats::ListRead read = formats::readListFile(csv, s("清单.csv"));
    EXPECT_TRUE(read.errors.empty());
    EXPECT_TRUE(read.place.sheet.empty());
    ASSERT_EQ(read.document.rows.size(), 1U);
    EXPECT_EQ(read.document.rows[0].piece.line, 2);
}

struct PlaceCase {
    const char* name;
    const char* sheet;
    plan::Source source;
    int line;
    plan::Field field;
    const char* place;
};

class Places : public testing::TestWithParam<PlaceCase> {};

TEST_P(Places, NameTheCellAsExcelDoes) {
    const PlaceCase& c = GetParam();
    formats::TablePlace place;
    place.sheet = c.sheet;
    place.pieces = {{plan::Field::Mark, 1},
                    {plan::Field::Diameter, 2},
                    {plan::Field::Length, 3},
                    {plan::Field::Count, 27}};
    place.offcuts = {{plan::Field::Diameter, 0}, {plan::Field::Length, 1}};
    const plan::InputError error{c.source, c.line, c.field, plan::Problem::NotANumber, 0};
    EXPECT_EQ(formats::placeText(place, error), s(c.place));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, Places,
    testing::Values(PlaceCase{"length_in_a_sheet", "钢筋表", plan::Source::Pieces, 12,
                              plan::Field::Length, "钢筋表!D12"},
                    PlaceCase{"count_past_z", "钢筋表", plan::Source::Pieces, 5, plan::Field::Count,
                              "钢筋表!AB5"},
                    PlaceCase{"offcut_length", "钢筋表", plan::Source::Offcuts, 30,
                              plan::Field::Length, "钢筋表!B30"},
                    PlaceCase{"setting_of_the_command", "钢筋表", plan::Source::Settings, 1,
                              plan::Field::Kerf, ""},
                    PlaceCase{"line_of_a_text_file", "", plan::Source::Pieces, 12,
                              plan::Field::Length, "12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Places, ASettingsValueIsTheCellAfterItsName) {
    formats::TablePlace place;
    place.sheet = "钢筋表";
    formats::FileError error;
    error.line = 9;
    error.problem = formats::FileProblem::BadSetting;
    EXPECT_EQ(formats::placeText(place, error), s("钢筋表!B9"));
    error.problem = formats::FileProblem::UnknownSetting;
    EXPECT_EQ(formats::placeText(place, error), s("钢筋表!A9"));
    error.line = 0;
    EXPECT_EQ(formats::placeText(place, error), QString());
}

struct LetterCase {
    int column;
    const char* letters;
};

TEST(Places, ColumnLetters) {
    for (const LetterCase& c :
         {LetterCase{0, "A"}, LetterCase{25, "Z"}, LetterCase{26, "AA"}, LetterCase{701, "ZZ"},
          LetterCase{702, "AAA"}, LetterCase{16383, "XFD"}}) {
        EXPECT_EQ(formats::columnLetters(c.column), s(c.letters)) << c.column;
    }
}

} // namespace

namespace {

// Not a test: writes the workbook fuzzer's starting corpus, small real workbooks of every form
// read above, into the folder HENGCHI_CORPUS names. Run by hand:
//   HENGCHI_CORPUS=tests/fuzz/corpus/workbook_reader formats_tests
//       --gtest_also_run_disabled_tests --gtest_filter='*WriteFuzzCorpus*'
TEST(WorkbookCorpus, DISABLED_WriteFuzzCorpus) {
    const QString folder = QString::fromLocal8Bit(qgetenv("HENGCHI_CORPUS"));
    ASSERT_FALSE(folder.isEmpty());
    const auto save = [&folder](const QString& name, const QByteArray& bytes) {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    save(s("writer.xlsx"), writerXlsx());
    save(s("list.xls"), dataFile("list.xls"));
    save(s("encrypted.xls"), dataFile("encrypted.xls"));
    save(s("encrypted.xlsx"), encryptedXlsx());
    for (const FormCase& c : kForms) {
        save(QString::fromUtf8(c.name) + s(".xlsx"),
             handXlsx({{s("钢筋表"), s(c.data), s(c.after)}}, s(c.strings)));
    }
}

} // namespace
