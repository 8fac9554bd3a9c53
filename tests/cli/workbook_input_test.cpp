// hengchi-plan reading its list from a workbook: planned as the same list in CSV would be, and
// every wrong cell or workbook reported at the file, sheet and cell, with nothing written.
#include "cli/command.h"
#include "cli/inputs.h"
#include "formats/workbook.h"

#include <map>
#include <string>
#include <xlsxwriter.h>

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char* text) {
    return QString::fromUtf8(text);
}

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

// A bar list on the sheet 钢筋表 under a title row, with text where `bad` puts it: row 3 is
// good, rows 4 and 5 carry `length` and `count`.
void writeList(const QString& path, const char* length, const char* count) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "钢筋表");
    worksheet_merge_range(sheet, 0, 0, 0, 3, "某某工程 钢筋下料单", nullptr);
    const char* header[] = {"编号", "直径", "长度", "根数"};
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_write_string(sheet, 1, c, header[c], nullptr);
    }
    worksheet_write_string(sheet, 2, 0, "KL1", nullptr);
    worksheet_write_number(sheet, 2, 1, 25, nullptr);
    worksheet_write_number(sheet, 2, 2, 6456.34, nullptr);
    worksheet_write_number(sheet, 2, 3, 4, nullptr);
    worksheet_write_string(sheet, 3, 0, "KL2", nullptr);
    worksheet_write_number(sheet, 3, 1, 25, nullptr);
    worksheet_write_string(sheet, 3, 2, length, nullptr);
    worksheet_write_number(sheet, 3, 3, 2, nullptr);
    worksheet_write_string(sheet, 4, 0, "KZ1", nullptr);
    worksheet_write_number(sheet, 4, 1, 20, nullptr);
    worksheet_write_number(sheet, 4, 2, 3200, nullptr);
    worksheet_write_string(sheet, 4, 3, count, nullptr);
    workbook_close(book);
}

class WorkbookCommand : public testing::Test {
protected:
    [[nodiscard]] QString path(const char* name) const { return dir_.filePath(s(name)); }

    Outcome run(QStringList words) {
        words.prepend(s("hengchi-plan"));
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Outcome r;
        r.code = cli::runCommand(words, out, err, false, {});
        r.out = QString::fromUtf8(out.data());
        r.err = QString::fromUtf8(err.data());
        return r;
    }

    QTemporaryDir dir_;
};

TEST_F(WorkbookCommand, PlansTheListOfAWorkbook) {
    writeList(path("清单.xlsx"), "3000", "8");
    const Outcome r = run({s("--json"), s("-"), path("清单.xlsx")});
    ASSERT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    const QJsonArray groups =
        QJsonDocument::fromJson(r.out.toUtf8()).object()[s("groups")].toArray();
    EXPECT_EQ(groups.size(), 2);
}

TEST_F(WorkbookCommand, PlansTheListOfAnXls) {
    QFile::copy(s(HENGCHI_FORMATS_DATA "/list.xls"), path("清单.xls"));
    const Outcome r = run({s("--json"), s("-"), s("--sheet"), s("钢筋表"), path("清单.xls")});
    ASSERT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    const QJsonArray groups =
        QJsonDocument::fromJson(r.out.toUtf8()).object()[s("groups")].toArray();
    EXPECT_EQ(groups.size(), 3);
}

struct Wrong {
    const char* name;
    const char* file;       // written in the scratch folder
    const char* length;     // of row 4, when the file is the list written here
    const char* count;      // of row 5
    QStringList words;      // before the list file
    QStringList complaints; // "{file}" is the list file's path
};

class WrongWorkbook : public WorkbookCommand, public testing::WithParamInterface<Wrong> {};

TEST_P(WrongWorkbook, IsReportedAtItsCellAndNothingIsWritten) {
    const Wrong& c = GetParam();
    const QString list = path(c.file);
    if (QString(s(c.file)).endsWith(s(".xls"))) {
        ASSERT_TRUE(QFile::copy(s(HENGCHI_FORMATS_DATA "/encrypted.xls"), list));
    } else if (QString(s(c.file)).endsWith(s(".csv")) || c.length == nullptr) {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("编号,直径,长度,根数\nA,25,3000,2\n");
    } else {
        writeList(list, c.length, c.count);
    }
    const Outcome r = run(QStringList(c.words) << s("--json") << path("plan.json") << list);
    EXPECT_EQ(r.code, cli::kBadInput);
    QStringList expected;
    for (QString complaint : c.complaints) {
        expected.append(complaint.replace(s("{file}"), list));
    }
    EXPECT_EQ(r.err.split(u'\n', Qt::SkipEmptyParts), expected) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("plan.json")));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, WrongWorkbook, testing::Values(
    Wrong{"CellsOfTheSheet", "清单.xlsx", "abc", "0", {},
          {s("{file}:钢筋表!C4: 长度：不是数字"), s("{file}:钢筋表!D5: 根数：必须大于 0")}},
    Wrong{"SheetThatIsNotThere", "清单.xlsx", "3000", "8", {s("--sheet"), s("钢材")},
          {s("{file}: 没有名为“钢材”的工作表；工作簿里有：“钢筋表”")}},
    Wrong{"EncryptedXls", "清单.xls", nullptr, nullptr, {},
          {s("{file}: 工作簿设有打开密码，无法读取（请在 Excel 中取消密码后另存）")}},
    Wrong{"TextNamedXlsx", "清单.xlsx", nullptr, nullptr, {},
          {s("{file}: 不是 Excel 工作簿（.xlsx 或 .xls）")}},
    Wrong{"SheetOfATextList", "清单.csv", nullptr, nullptr, {s("--sheet"), s("钢筋表")},
          {s("hengchi-plan: --sheet 只用于 Excel 工作簿")}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Warned {
    const char* name;
    bool jointColumn; // whether the sheet has a 接头 column
    QStringList words;
    const char* cell;
};

class WorkbookWarning : public WorkbookCommand, public testing::WithParamInterface<Warned> {};

// A thick bar lapped is planned, with the warning at its row's 接头 cell, or at its 直径 when
// the sheet has no such column.
TEST_P(WorkbookWarning, IsPlacedAtTheRowsCell) {
    const QString list = path("清单.xlsx");
    lxw_workbook* book = workbook_new(QFile::encodeName(list).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "钢筋表");
    const char* header[] = {"编号", "级别", "直径", "长度", "根数", "接头"};
    const lxw_col_t columns = GetParam().jointColumn ? 6 : 5;
    for (lxw_col_t c = 0; c < columns; ++c) {
        worksheet_write_string(sheet, 0, c, header[c], nullptr);
    }
    worksheet_write_string(sheet, 1, 0, "KL1", nullptr);
    worksheet_write_string(sheet, 1, 1, "HRB400", nullptr);
    worksheet_write_number(sheet, 1, 2, 28, nullptr);
    worksheet_write_number(sheet, 1, 3, 15000, nullptr);
    worksheet_write_number(sheet, 1, 4, 4, nullptr);
    if (GetParam().jointColumn) {
        worksheet_write_string(sheet, 1, 5, "绑扎搭接", nullptr);
    }
    workbook_close(book);
    const Outcome r = run(QStringList(GetParam().words) << list);
    EXPECT_EQ(r.code, cli::kPlanned) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(
        QStringLiteral("%1:%2: 警告：KL1 HRB400 Φ28").arg(list, s(GetParam().cell))))
        << r.err.toStdString();
    EXPECT_FALSE(r.out.isEmpty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sheets, WorkbookWarning, testing::Values(
    Warned{"AtTheJointCell", true, {}, "钢筋表!F2"},
    Warned{"AtTheDiameterCell", false, {s("--coupler-above"), s("28")}, "钢筋表!C2"}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace

namespace {

// Nothing of a bar detail report is lost: every bar row becomes pieces, 根数 × 构件数量 of them,
// counted here from the report's own cells, apart from the reader that makes the list.
TEST(DetailReport, EveryBarRowIsItsCountTimesItsElements) {
    const QString report = s(HENGCHI_EXAMPLES "/钢筋明细表.xlsx");
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const formats::WorkbookRead book = formats::readWorkbook(file.readAll(), report);
    ASSERT_FALSE(book.error.has_value());
    std::map<int, std::int64_t> wanted; // by diameter, mm
    std::int64_t elements = 0;
    const QRegularExpression count(s("构件数量[:：]\\s*(\\d+)"));
    for (const formats::Record& row : book.sheets.at(0).rows.records) {
        if (const QRegularExpressionMatch m = count.match(row.cells.value(0)); m.hasMatch()) {
            elements = m.captured(1).toLongLong();
            continue;
        }
        bool diameter = false;
        bool perElement = false;
        const int d = row.cells.value(2).toInt(&diameter);
        const int n = row.cells.value(7).toInt(&perElement);
        if (diameter && perElement) {
            wanted[d] += n * elements;
        }
    }
    ASSERT_FALSE(wanted.empty());

    cli::Arguments arguments;
    arguments.pieces = report;
    const cli::Inputs inputs = cli::readInputs(arguments);
    ASSERT_TRUE(inputs.complaints.empty()) << inputs.complaints.front().message.toStdString();
    std::map<int, std::int64_t> planned;
    for (const auto* rows : {&inputs.list.pieces(), &inputs.list.longBars()}) {
        for (const plan::Piece& piece : *rows) {
            planned[static_cast<int>(piece.steel.diameter / 10)] += piece.count;
        }
    }
    EXPECT_EQ(planned, wanted);
}

} // namespace
