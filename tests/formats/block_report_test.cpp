#include "formats/list_file.h"
#include "formats/list_input.h"
#include "formats/places.h"
#include "formats/records.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "book_maker.h"

// Bar detail reports as quantity-takeoff programs export them: the element blocks and floor
// rows give the bars under them their element, count and floor.
namespace {

using formats::FileProblem;

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// A piece as the report makes it: mark, floor, elements × per element.
struct Piece {
    std::string mark;
    std::string floor;
    std::string elements;
    std::string count;

    friend bool operator==(const Piece&, const Piece&) = default;
};

void PrintTo(const Piece& p, std::ostream* out) {
    *out << p.mark << " @" << p.floor << " " << p.elements << "×" << p.count;
}

struct Error {
    int line;
    FileProblem problem;
    int column;

    friend bool operator==(const Error&, const Error&) = default;
};

void PrintTo(const Error& e, std::ostream* out) {
    *out << "line " << e.line << " problem " << static_cast<int>(e.problem) << " column "
         << e.column;
}

struct Report {
    const char* name;
    const char* csv; // the rows under the header
    std::vector<Piece> pieces;
    std::vector<Error> errors;
    int notes = 0; // rows kept with a 备注 alone
};

const char* const kHeader = "筋号,级别,直径,钢筋图形,长度,根数,搭接,总重(kg)\n";

class BlockForms : public testing::TestWithParam<Report> {};

TEST_P(BlockForms, GiveEachBarItsElementCountAndFloorOrNameTheCell) {
    const Report& c = GetParam();
    const formats::ListRead read = formats::readList(QByteArray(kHeader) + c.csv);
    std::vector<Piece> pieces;
    int notes = 0;
    for (const formats::ListRow& row : read.document.rows) {
        if (row.piece.diameter.empty()) {
            ++notes;
            continue;
        }
        pieces.push_back({row.piece.mark, row.piece.floor, row.piece.elements, row.piece.count});
    }
    std::vector<Error> errors;
    for (const formats::FileError& e : read.errors) {
        errors.push_back({e.line, e.problem, e.column});
    }
    EXPECT_EQ(pieces, c.pieces);
    EXPECT_EQ(errors, c.errors);
    EXPECT_EQ(notes, c.notes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reports, BlockForms, testing::Values(
    Report{"MergedTextWithTheProgramsId",
           "楼层名称：首层\n"
           "构件名称：KL1(2)[1023]    构件数量：3    本构件钢筋重：456.789kg\n"
           "1跨.上通长筋1,C,25,,8950,2,0,68.916\n",
           {{"KL1(2)-1跨.上通长筋1", "首层", "3", "2"}}, {}},
    Report{"LabelsInCellsOfTheirOwn",
           "楼层名称,首层\n"
           "构件名称,KZ1[1100],构件数量,4,本构件钢筋重：12kg\n"
           "全部纵筋.1,C,22,,3650,12,1,\n",
           {{"KZ1-全部纵筋.1", "首层", "4", "12"}}, {}},
    Report{"AsciiColonsAndSpacesAnywhere",
           "楼 层: 第2层\n"
           "构件 名称 : L3   构件数量:2件\n"
           "下部筋,C,16,,4200,3,0,\n",
           {{"L3-下部筋", "第2层", "2", "3"}}, {}},
    Report{"ElementNamesRepeatedOnTwoFloors",
           "楼层名称：首层\n构件名称：KL1[1]  构件数量：3\n上通长筋1,C,25,,8950,2,,\n"
           "楼层名称：第2层\n构件名称：KL1[2]  构件数量：2\n上通长筋1,C,25,,8950,2,,\n",
           {{"KL1-上通长筋1", "首层", "3", "2"}, {"KL1-上通长筋1", "第2层", "2", "2"}}, {}},
    Report{"PositionAndSubtotalRowsAreNoBars",
           "构件名称：KL1  构件数量：3\n构件位置：<1,A><2,A>\n"
           "箍筋1,A,8,,1780,42,0,29.526\n小计,,,,,,,98.442\n",
           {{"KL1-箍筋1", "", "3", "42"}}, {}, 1},
    Report{"ABlockWithoutACountNamesItsCellAndItsBars",
           "构件名称：KL1\n上通长筋1,C,25,,8950,2,,\n下通长筋1,C,25,,8950,2,,\n"
           "构件名称：KL2  构件数量：1\n上通长筋1,C,25,,6000,2,,\n",
           {{"KL2-上通长筋1", "", "1", "2"}},
           {{2, FileProblem::ElementWithoutCount, 0}}},
    Report{"ACountOfNoElements",
           "构件名称,KL1,构件数量,0\n上通长筋1,C,25,,8950,2,,\n",
           {}, {{2, FileProblem::NoElements, 2}}},
    Report{"ABarBeforeAnyBlock",
           "上通长筋1,C,25,,8950,2,,\n构件名称：KL1  构件数量：1\n上通长筋1,C,25,,8950,2,,\n",
           {{"KL1-上通长筋1", "", "1", "2"}}, {{2, FileProblem::BarBeforeElement, 0}}},
    Report{"ANewFloorEndsTheBlockAbove",
           "构件名称：KL1  构件数量：1\n上通长筋1,C,25,,8950,2,,\n楼层名称：第2层\n"
           ",C,25,,8950,2,,\n",
           {{"KL1-上通长筋1", "", "1", "2"}}, {{5, FileProblem::BarBeforeElement, 2}}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(BlockReports, KeepTheProjectPositionAndNotesAsColumns) {
    const formats::ListRead read = formats::readList(
        QByteArray("钢筋明细表\n工程名称：某办公楼        编制日期：2026-12-01\n") + kHeader +
        "构件名称：KL1  构件数量：3\n\"构件位置：<1,A><2,A>\"\n箍筋1,A,8,,1780,42,0,29.526\n"
        "本层钢筋总重：98kg\n");
    ASSERT_TRUE(read.errors.empty());
    EXPECT_EQ(read.document.settings.project, "某办公楼");
    const std::vector<std::string>& columns = read.document.otherColumns;
    const auto at = [&columns](const char* name) {
        return std::find(columns.begin(), columns.end(), name) - columns.begin();
    };
    ASSERT_EQ(read.document.rows.size(), 2U);
    const formats::ListRow& bar = read.document.rows[0];
    EXPECT_EQ(bar.others.at(at("构件名称")), "KL1");
    EXPECT_EQ(bar.others.at(at("构件位置")), "<1,A><2,A>");
    EXPECT_EQ(read.document.rows[1].others.at(at("备注")), "本层钢筋总重：98kg");
}

// In a workbook the merged block row holds its text in every cell, and an error names the sheet
// and the cell as Excel does.
TEST(BlockReports, MergedRowsOfAWorkbookReadAsOneTextAndErrorsNameTheirCell) {
    const QString cell = s(R"(<c r="%1%2" t="inlineStr"><is><t>%3</t></is></c>)");
    const auto row = [&cell](int r, const QStringList& texts) {
        QString out = QStringLiteral("<row r=\"%1\">").arg(r);
        for (qsizetype c = 0; c < texts.size(); ++c) {
            out += cell.arg(QChar(static_cast<char16_t>(u'A' + c))).arg(r).arg(texts[c]);
        }
        return out + s("</row>");
    };
    const QString data =
        row(1, {s("筋号"), s("级别"), s("直径"), s("长度"), s("根数")}) +
        row(2, {s("楼层名称：首层")}) + row(3, {s("构件名称：KL1[9] 构件数量：3")}) +
        row(4, {s("上通长筋1"), s("C"), s("25"), s("8950"), s("2")}) +
        row(5, {s("构件名称：KL2")}) + row(6, {s("上通长筋1"), s("C"), s("25"), s("8950"), s("2")});
    const QString merges = s(R"(<mergeCells count="3"><mergeCell ref="A2:E2"/>)"
                             R"(<mergeCell ref="A3:E3"/><mergeCell ref="A5:E5"/></mergeCells>)");
    const formats::ListRead read =
        formats::readListFile(handXlsx({{s("钢筋表"), data, merges}}), s("明细.xlsx"));
    ASSERT_EQ(read.errors.size(), 1U);
    EXPECT_EQ(formats::placeText(read.place, read.errors[0]), s("钢筋表!A5"));
    ASSERT_EQ(read.document.rows.size(), 1U);
    EXPECT_EQ(read.document.rows[0].piece.mark, "KL1-上通长筋1");
    EXPECT_EQ(read.document.rows[0].piece.elements, "3");
    EXPECT_EQ(read.document.rows[0].piece.floor, "首层");
}

// A list laid out in columns names its floors in a 楼层 column, kept on every row and written
// back.
TEST(FloorColumn, IsReadAndWrittenBack) {
    const formats::ListRead read =
        formats::readList(QByteArray("编号,直径,长度,根数,楼层\nKL1,25,6000,2,首层\n"));
    ASSERT_TRUE(read.errors.empty());
    ASSERT_EQ(read.document.rows.size(), 1U);
    EXPECT_EQ(read.document.rows[0].piece.floor, "首层");
    const formats::ListRead again = formats::readList(formats::writeList(read.document));
    ASSERT_EQ(again.document.rows.size(), 1U);
    EXPECT_EQ(again.document.rows[0].piece.floor, "首层");
}

} // namespace
