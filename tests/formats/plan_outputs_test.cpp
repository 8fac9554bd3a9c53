#include "formats/plan_json.h"
#include "formats/plan_text.h"
#include "formats/records.h"
#include "formats/sheet_files.h"

#include <cmath>
#include <string>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "qt_print.h"
#include "sample_plan.h"

namespace {

QJsonObject parsed(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

void expectWhole(const QJsonValue& value, std::int64_t expected, const char* key) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(value.isDouble());
    EXPECT_EQ(value.toDouble(), static_cast<double>(expected));
}

TEST(PlanJson, HasTheKeysOtherToolsReadWithTheirValues) {
    const plan::Plan plan = samplePlan();
    const QJsonObject top = parsed(formats::planJson(plan));
    EXPECT_TRUE(top.value(u"seconds").isDouble());
    const QJsonArray groups = top.value(u"groups").toArray();
    ASSERT_EQ(groups.size(), static_cast<qsizetype>(plan.groups.size()));
    for (std::size_t g = 0; g < plan.groups.size(); ++g) {
        const plan::GroupPlan& want = plan.groups[g];
        SCOPED_TRACE(want.steel.diameter);
        const QJsonObject got = groups[static_cast<qsizetype>(g)].toObject();
        EXPECT_EQ(got.value(u"diameter").toDouble(), static_cast<double>(want.steel.diameter) / 10);
        EXPECT_EQ(got.value(u"grade").toString().toStdString(), want.steel.grade);
        expectWhole(got.value(u"stock_mm"), want.stockMm, "stock_mm");
        expectWhole(got.value(u"bound_mm"), want.boundMm, "bound_mm");
        EXPECT_EQ(got.value(u"optimal").toBool(true), want.optimal);
        EXPECT_NEAR(got.value(u"weight_kg").toDouble(), want.stockKg, 0.005);
        EXPECT_EQ(got.value(u"gap_bars").toInteger(), want.gapBars());
        const QJsonArray patterns = got.value(u"patterns").toArray();
        ASSERT_EQ(patterns.size(), static_cast<qsizetype>(want.patterns.size()));
        for (std::size_t k = 0; k < want.patterns.size(); ++k) {
            const plan::Pattern& p = want.patterns[k];
            const QJsonObject pattern = patterns[static_cast<qsizetype>(k)].toObject();
            expectWhole(pattern.value(u"stock"), p.stock, "stock");
            expectWhole(pattern.value(u"count"), p.count, "count");
            expectWhole(pattern.value(u"remnant"), p.remnant, "remnant");
            EXPECT_EQ(pattern.value(u"offcut").toBool(!p.offcut), p.offcut);
            EXPECT_EQ(pattern.value(u"reusable").toBool(!p.reusable), p.reusable);
            const QJsonArray cuts = pattern.value(u"cuts").toArray();
            ASSERT_EQ(cuts.size(), static_cast<qsizetype>(p.cuts.size()));
            for (std::size_t c = 0; c < p.cuts.size(); ++c) {
                const QJsonObject cut = cuts[static_cast<qsizetype>(c)].toObject();
                EXPECT_EQ(cut.value(u"mark").toString().toStdString(), p.cuts[c].mark);
                expectWhole(cut.value(u"length"), p.cuts[c].length, "length");
            }
        }
    }
}

TEST(PlanJson, WritesEveryLengthAndCountAsAWholeNumber) {
    // In the text itself: 6457, never 6457.0 or 6.457e3, which some readers take for a float.
    const QString json = QString::fromUtf8(formats::planJson(samplePlan()));
    const QRegularExpression whole(QStringLiteral(
        "\"(stock|count|remnant|length|stock_mm|bound_mm|gap_mm|gap_bars|pieces|pieces_mm|"
        "offcut_mm|remnant_mm|waste_mm)\": ([^,\\n]+)"));
    int seen = 0;
    for (auto it = whole.globalMatch(json); it.hasNext(); ++seen) {
        const QRegularExpressionMatch m = it.next();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+$")).match(m.captured(2)).hasMatch())
            << m.captured(0).toStdString();
    }
    EXPECT_GT(seen, 30);
}

TEST(PlanJson, GivesTheDiameterAsPeopleWriteIt) {
    const QByteArray json = formats::planJson(samplePlan());
    EXPECT_TRUE(json.contains("\"diameter\": 6.5"));
    EXPECT_TRUE(json.contains("\"diameter\": 12\n") || json.contains("\"diameter\": 12,"));
}

TEST(PlanJson, AnEmptyPlanHasNoGroups) {
    const QJsonObject top = parsed(formats::planJson(plan::Plan{}));
    EXPECT_TRUE(top.value(u"groups").isArray());
    EXPECT_TRUE(top.value(u"groups").toArray().isEmpty());
}

TEST(SheetCsv, OpensInExcelAsTheCuttingSheetThenTheSummary) {
    const plan::Plan plan = samplePlan();
    const QByteArray bytes = formats::sheetCsv(plan);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    const QString text = QString::fromUtf8(bytes.sliced(3));
    ASSERT_EQ(text.toUtf8(), bytes.sliced(3)); // valid UTF-8 throughout
    const std::vector<formats::Record> records = formats::splitRecords(text, u',').records;

    std::size_t patterns = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        patterns += g.patterns.size();
    }
    // Header, the patterns, the summary's header, a row per steel, the total and the note on
    // the masses.
    ASSERT_EQ(records.size(), 1 + patterns + 1 + plan.groups.size() + 1 + 1);
    std::size_t row = 1;
    for (const plan::GroupPlan& g : plan.groups) {
        for (const plan::Pattern& p : g.patterns) {
            SCOPED_TRACE(row);
            const QStringList& cells = records[row++].cells;
            EXPECT_EQ(cells[2], QString::number(p.stock));
            EXPECT_EQ(cells[4], QString::number(p.count));
            EXPECT_EQ(cells[6], QString::number(p.remnant));
            EXPECT_TRUE(cells[5].startsWith(QString::fromStdString(p.cuts[0].mark)));
        }
    }
    const std::size_t summary = row + 1;
    for (std::size_t g = 0; g < plan.groups.size(); ++g) {
        const QStringList& cells = records[summary + g].cells;
        EXPECT_EQ(cells[3], QString::number(plan.groups[g].stockMm));
        EXPECT_EQ(cells[4], QString::number(plan.groups[g].boundMm));
        EXPECT_EQ(cells[10], QString::number(plan.groups[g].wasteMm));
        EXPECT_EQ(cells[11], QString::number(plan.groups[g].stockKg / 1000, 'f', 3));
    }
    const QStringList& total = records[records.size() - 2].cells;
    EXPECT_EQ(total[3], QString::number(plan.stockMm()));
    EXPECT_EQ(total[10], QStringLiteral("20")); // the waste of both steels
    EXPECT_EQ(records.back().cells,
              QStringList{
                  QStringLiteral("理论重量按 GB/T 1499 公称质量，HPB300 Φ6.5 按 0.00617d² 估算")});
    // The blank row between the two tables is a real line of the file.
    EXPECT_EQ(records[summary - 1].line, records[summary - 2].line + 2);
}

TEST(PlanText, SaysPerSteelWhetherThePlanIsProvenAndTheGap) {
    const plan::Plan plan = samplePlan();
    const QString text = formats::planText(plan, QStringLiteral("某某工程"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("项目：某某工程\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nHPB300 Φ6.5  最优\n")));
    const plan::GroupPlan& beam = plan.groups[1];
    EXPECT_TRUE(text.contains(QStringLiteral("\nC12  差 %1 根（%2 mm）（时限已到）\n")
                                  .arg(beam.gapBars())
                                  .arg(beam.stockMm - beam.boundMm)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("G1 1560×5，剩余 1200 回库")));
    EXPECT_TRUE(text.contains(QStringLiteral("库存余料 3200 ×1 根：KZ2 3180，剩余 20 废料")));
    EXPECT_TRUE(text.contains(QStringLiteral("新购原材  12000×3、9000×1，共 4 根")));
    EXPECT_TRUE(text.contains(QStringLiteral("回库余料  2543×1、803×3")));
    EXPECT_TRUE(text.contains(QStringLiteral("1 种钢筋未证明最优")));
    EXPECT_TRUE(text.contains(
        QStringLiteral("\n理论重量按 GB/T 1499 公称质量，HPB300 Φ6.5 按 0.00617d² 估算\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("优化用时 10.01 秒")));
}

TEST(PlanText, SaysWhenThereIsNothingToCut) {
    const QString text = formats::planText(plan::Plan{});
    EXPECT_TRUE(text.contains(QStringLiteral("没有要下料的钢筋")));
    EXPECT_FALSE(text.contains(QStringLiteral("合计")));
}

} // namespace
