// The yard's rows out as an offcuts file and back in: what is exported reads back as the same
// bars, from CSV and from a workbook, and an import is checked as an offcuts file is.
#include "formats/messages.h"
#include "formats/sheet_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/yard/yard_fixture.h"
#include "yard/files.h"

namespace {

using namespace yard_test;

std::vector<yard::Offcut> sampleRows() {
    const auto row = [](plan::Steel steel, std::int64_t length, std::int64_t count,
                        std::string place) {
        yard::Offcut o;
        o.steel = std::move(steel);
        o.length = length;
        o.count = count;
        o.place = std::move(place);
        o.source = {7, yard::EntryKind::Commit, 1'765'000'000, "二层.csv", "3 号楼", "二层"};
        return o;
    };
    return {row(kC25, 3500, 4, "A 区, 第 2 排"), row({"HRB400E", 220}, 2900, 6, "\"东\"门"),
            row(kPlain8, 1800, 10, ""), row({"HPB300", 65}, 1200, 3, "  ")};
}

std::vector<yard::NewOffcut> asBars(const std::vector<yard::Offcut>& rows) {
    std::vector<yard::NewOffcut> bars;
    for (const yard::Offcut& r : rows) {
        // A place is kept trimmed, as any cell is read.
        bars.push_back(
            {r.steel, r.length, r.count, QString::fromStdString(r.place).trimmed().toStdString()});
    }
    return bars;
}

void expectSameBars(const yard::ImportRead& read, const std::vector<yard::NewOffcut>& want) {
    ASSERT_TRUE(read.fileErrors.empty());
    ASSERT_TRUE(read.errors.empty()) << formats::describe(read.errors.front()).toStdString();
    ASSERT_EQ(read.bars.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(read.bars[i].steel, want[i].steel) << i;
        EXPECT_EQ(read.bars[i].length, want[i].length) << i;
        EXPECT_EQ(read.bars[i].count, want[i].count) << i;
        EXPECT_EQ(read.bars[i].place, want[i].place) << i;
    }
}

TEST(Export, CsvReadsBackAsTheSameBars) {
    const std::vector<yard::Offcut> rows = sampleRows();
    const QByteArray csv = formats::tablesCsv({yard::offcutsTable(rows)});
    expectSameBars(yard::readImport(csv, QStringLiteral("余料库.csv"), formats::defaultGrades()),
                   asBars(rows));
}

TEST(Export, AWorkbookReadsBackAsTheSameBars) {
    const std::vector<yard::Offcut> rows = sampleRows();
    const formats::Workbook book = formats::tablesXlsx({yard::offcutsTable(rows)});
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    expectSameBars(
        yard::readImport(book.bytes, QStringLiteral("余料库.xlsx"), formats::defaultGrades()),
        asBars(rows));
}

TEST(Import, ReadsGradesByTheTableAndPlacesByTheirColumn) {
    const QByteArray csv("直径,长度,根数,级别,堆放点\nC25,3000,2,,北区\n8,1500,4,A,\n");
    const yard::ImportRead read =
        yard::readImport(csv, QStringLiteral("库存.csv"), formats::defaultGrades());
    expectSameBars(read, {{kC25, 3000, 2, "北区"}, {{"HPB300", 80}, 1500, 4, ""}});
}

// Rows an import must refuse, each reported at its line; no bar is taken from such a file.
struct BadRow {
    const char* name;
    const char* row;
    plan::Field field;
    plan::Problem problem;
};

class ImportRefuses : public testing::TestWithParam<BadRow> {};

TEST_P(ImportRefuses, TheRowAtItsLine) {
    const QByteArray csv = QByteArray("级别,直径,长度,根数\nHRB400,25,3000,2\n") + GetParam().row;
    const yard::ImportRead read =
        yard::readImport(csv, QStringLiteral("库存.csv"), formats::defaultGrades());
    EXPECT_TRUE(read.bars.empty());
    ASSERT_EQ(read.errors.size(), 1U);
    EXPECT_EQ(read.errors[0].line, 3);
    EXPECT_EQ(read.errors[0].field, GetParam().field);
    EXPECT_EQ(read.errors[0].problem, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Yard, ImportRefuses,
                         testing::Values(BadRow{"NegativeCount", "HRB400,25,3000,-2\n",
                                                plan::Field::Count, plan::Problem::NotPositive},
                                         BadRow{"LongerThanAnyStock", "HRB400,25,1000001,2\n",
                                                plan::Field::Length, plan::Problem::TooLarge},
                                         BadRow{"UnknownGrade", "X,25,3000,2\n", plan::Field::Grade,
                                                plan::Problem::UnknownGrade},
                                         BadRow{"CountNotWhole", ",25,3000,1.5\n",
                                                plan::Field::Count, plan::Problem::NotWhole}),
                         [](const testing::TestParamInfo<BadRow>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
