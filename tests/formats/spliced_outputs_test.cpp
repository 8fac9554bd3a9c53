#include "formats/plan_json.h"
#include "formats/plan_text.h"
#include "formats/records.h"
#include "formats/sheet.h"
#include "formats/sheet_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "qt_print.h"
#include "spliced_plan.h"
#include "zip_reader.h"

namespace {

namespace j = plan::joints;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QJsonObject parsed(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

QJsonObject segment(const char* mark, qint64 length) {
    return {{q("mark"), q(mark)}, {q("length"), length}};
}

TEST(SplicedJson, ListsEveryLongBarWithItsLayoutsSegmentsAndJoints) {
    const QJsonObject top = parsed(formats::planJson(splicedPlan()));
    const QJsonArray want{
        QJsonObject{
            {q("mark"), q("KL1-1")},
            {q("grade"), q("HRB400")},
            {q("diameter"), 20},
            {q("steel"), q("HRB400 Φ20")},
            {q("length"), 24240},
            {q("count"), 4},
            {q("method"), q("lap")},
            {q("overlap"), 560},
            {q("layouts"),
             QJsonArray{
                 QJsonObject{
                     {q("bars"), 2},
                     {q("segments"), QJsonArray{segment("KL1-1/1", 12000), segment("KL1-1/2", 9000),
                                                segment("KL1-1/3", 4360)}},
                     {q("joints"), QJsonArray{11720, 20160}}},
                 QJsonObject{
                     {q("bars"), 2},
                     {q("segments"), QJsonArray{segment("KL1-1/4", 6000), segment("KL1-1/5", 12000),
                                                segment("KL1-1/6", 7360)}},
                     {q("joints"), QJsonArray{5720, 17160}}},
             }},
        },
        QJsonObject{
            {q("mark"), q("KZ1")},
            {q("grade"), q("HRB400")},
            {q("diameter"), 20},
            {q("steel"), q("HRB400 Φ20")},
            {q("length"), 15000},
            {q("count"), 2},
            {q("method"), q("coupler")},
            {q("overlap"), 0},
            {q("layouts"),
             QJsonArray{QJsonObject{
                 {q("bars"), 2},
                 {q("segments"), QJsonArray{segment("KZ1/1", 12000), segment("KZ1/2", 3000)}},
                 {q("joints"), QJsonArray{12000}}}}},
        },
    };
    EXPECT_EQ(top.value(u"spliced").toArray(), want)
        << QJsonDocument(top.value(u"spliced").toArray()).toJson().toStdString();
}

TEST(SplicedJson, WritesTheLongBarsLengthsAsWholeNumbers) {
    const QString json = QString::fromUtf8(formats::planJson(splicedPlan()));
    const qsizetype from = json.indexOf(q("\"spliced\""));
    ASSERT_GE(from, 0);
    const QString spliced = json.sliced(from);
    // A number after a key, or alone on a line in the joints' lists.
    const QRegularExpression number(q("(\"(length|count|overlap|bars)\": |^ +)([0-9][^,\\n]*)"),
                                    QRegularExpression::MultilineOption);
    int seen = 0;
    for (auto it = number.globalMatch(spliced); it.hasNext(); ++seen) {
        const QRegularExpressionMatch m = it.next();
        EXPECT_TRUE(QRegularExpression(q("^[0-9]+$")).match(m.captured(3)).hasMatch())
            << m.captured(0).toStdString();
    }
    // KL1-1: length, count, overlap and per layout its bars, three segments and two joints;
    // KZ1: length, count, overlap, bars, two segments, one joint.
    EXPECT_EQ(seen, 3 + 2 * 6 + 3 + 4);
}

struct GroupKeys {
    const char* name;
    std::size_t group;
    qint64 overlapMm;
    qint64 joints;
    const char* scope;
};

class SplicedJsonGroup : public testing::TestWithParam<GroupKeys> {};

TEST_P(SplicedJsonGroup, GivesTheJointsOverlapAndWhatTheBoundCovers) {
    const GroupKeys& k = GetParam();
    const QJsonObject group = parsed(formats::planJson(splicedPlan()))
                                  .value(u"groups")
                                  .toArray()[static_cast<qsizetype>(k.group)]
                                  .toObject();
    EXPECT_EQ(group.value(u"overlap_mm"), QJsonValue(k.overlapMm));
    EXPECT_EQ(group.value(u"joints"), QJsonValue(k.joints));
    EXPECT_EQ(group.value(u"bound_scope").toString(), q(k.scope));
}

INSTANTIATE_TEST_SUITE_P(Formats, SplicedJsonGroup,
                         testing::Values(GroupKeys{"WithoutLongBars", 0, 0, 0, "all"},
                                         GroupKeys{"WithLongBars", 2, 4480, 10, "chosen"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Money to the fen beside the old keys: what each steel and the plan cost, and by cost the
// bound in money.
TEST(SplicedJson, GivesTheCostOfEachGroupAndOfThePlan) {
    plan::Plan plan = splicedPlan();
    plan.groups.back().byCost = true;
    plan.groups.back().boundFen = 131'999;
    const QJsonObject top = parsed(formats::planJson(plan));
    const QJsonObject group = top.value(u"groups").toArray()[2].toObject();
    EXPECT_EQ(group.value(u"stock_mm"), QJsonValue(qint64{132'000}));
    const QJsonObject cost = group.value(u"cost").toObject();
    EXPECT_EQ(cost.value(u"steel"), QJsonValue(1304.16));
    EXPECT_EQ(cost.value(u"joints"), QJsonValue(16.0));
    EXPECT_EQ(cost.value(u"total"), QJsonValue(1320.16));
    EXPECT_EQ(cost.value(u"by_cost"), QJsonValue(true));
    EXPECT_EQ(cost.value(u"bound"), QJsonValue(1319.99));
    // Planned for steel, no bound in money is claimed.
    const QJsonObject first =
        top.value(u"groups").toArray()[0].toObject().value(u"cost").toObject();
    EXPECT_EQ(first.value(u"by_cost"), QJsonValue(false));
    EXPECT_TRUE(first.value(u"bound").isNull());
    // The plan's: the sum of the groups' (the sample's others cost nothing here).
    EXPECT_EQ(top.value(u"cost").toObject().value(u"total"), QJsonValue(1320.16));
    EXPECT_TRUE(top.contains(u"stock_mm"));
    EXPECT_TRUE(top.contains(u"weight_kg"));
}

TEST(SplicedJson, APlanWithoutLongBarsHasAnEmptyList) {
    const QJsonObject top = parsed(formats::planJson(samplePlan()));
    ASSERT_TRUE(top.value(u"spliced").isArray());
    EXPECT_TRUE(top.value(u"spliced").toArray().isEmpty());
}

// The end of a line of the text (its whole when it is the line's start that matters), and the
// plan it is read from.
struct TextLine {
    const char* name;
    plan::Plan (*plan)();
    const char* line;
};

plan::Plan allSegmentations() {
    plan::Plan p = splicedPlan();
    p.groups.back().boundScope = j::BoundScope::AllSegmentations;
    return p;
}

plan::Plan withMethod(j::Method method, std::int64_t overlap) {
    plan::Plan p;
    p.groups = {splicedGroup()};
    p.groups[0].spliced.resize(1);
    p.groups[0].spliced[0].rule.method = method;
    p.groups[0].spliced[0].rule.overlap = overlap;
    return p;
}

class SplicedText : public testing::TestWithParam<TextLine> {};

TEST_P(SplicedText, SaysEachLongBarHowItIsMade) {
    const TextLine& t = GetParam();
    const QString text = formats::planText(t.plan());
    const QStringList lines = text.split(u'\n');
    EXPECT_TRUE(std::ranges::any_of(lines, [&t](const QString& line) {
        return line.endsWith(q(t.line));
    })) << text.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Formats, SplicedText, testing::Values(
    TextLine{"SectionHeading", splicedPlan, "  接长"},
    TextLine{"LapBar", splicedPlan, "    KL1-1 长 24240 ×4 根，绑扎搭接，搭接长度 560 mm"},
    TextLine{"FirstLayout", splicedPlan,
             "      2 根：KL1-1/1 12000 + KL1-1/2 9000 + KL1-1/3 4360，接头距起点 11720、20160 mm"},
    TextLine{"StaggeredLayout", splicedPlan,
             "      2 根：KL1-1/4 6000 + KL1-1/5 12000 + KL1-1/6 7360，接头距起点 5720、17160 mm"},
    TextLine{"CouplerHasNoOverlap", splicedPlan, "    KZ1 长 15000 ×2 根，机械连接"},
    TextLine{"CouplerLayout", splicedPlan, "      2 根：KZ1/1 12000 + KZ1/2 3000，接头距起点 12000 mm"},
    TextLine{"SteelTotals", splicedPlan, "    接头 10 个，接头用钢 4480 mm"},
    TextLine{"PlanTotals", splicedPlan, "      接头 10 个，接头用钢 4480 mm"},
    TextLine{"SteelCost", splicedPlan, "    造价 钢材 1304.16 元，接头 16.00 元，合计 1320.16 元"},
    TextLine{"PlanCost", splicedPlan, "      造价 钢材 1304.16 元，接头 16.00 元，合计 1320.16 元"},
    TextLine{"ByCostWithItsBound", [] {
                 plan::Plan p = splicedPlan();
                 p.groups.back().byCost = true;
                 p.groups.back().boundFen = 131'999;
                 return p;
             }, "    造价 钢材 1304.16 元，接头 16.00 元，合计 1320.16 元，下界 1319.99 元"},
    TextLine{"BoundForTheChosenSegments", splicedPlan,
             "  用钢      132000 mm，下界（按所选分段） 132000 mm，废料 560 mm"},
    TextLine{"OptimalForTheChosenSegments", splicedPlan, "HRB400 Φ20  按所选分段最优"},
    TextLine{"BoundForEverySegmentation", allSegmentations,
             "  用钢      132000 mm，下界 132000 mm，废料 560 mm"},
    TextLine{"OptimalOutright", allSegmentations, "HRB400 Φ20  最优"},
    TextLine{"WholePlanOptimalForTheChosenSegments",
             [] { return withMethod(j::Method::Lap, 560); },
             "kg，全部最优（接长钢筋按所选分段）"},
    TextLine{"SingleLapWeld", [] { return withMethod(j::Method::LapWeldSingle, 200); },
             "    KL1-1 长 24240 ×4 根，单面搭接焊，搭接长度 200 mm"},
    TextLine{"DoubleLapWeld", [] { return withMethod(j::Method::LapWeldDouble, 100); },
             "    KL1-1 长 24240 ×4 根，双面搭接焊，搭接长度 100 mm"},
    TextLine{"ButtWeld", [] { return withMethod(j::Method::ButtWeld, 30); },
             "    KL1-1 长 24240 ×4 根，对焊，每个接头烧损 30 mm"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SplicedText, PlansWithoutLongBarsSayNothingOfJoints) {
    const QString text = formats::planText(samplePlan());
    EXPECT_FALSE(text.contains(q("接长")));
    EXPECT_FALSE(text.contains(q("接头")));
    EXPECT_FALSE(text.contains(q("按所选分段")));
}

QStringList texts(const std::vector<formats::Cell>& row) {
    QStringList out;
    for (const formats::Cell& cell : row) {
        out.append(cell.text);
    }
    return out;
}

TEST(SplicedSheet, HasARowPerLayoutThenTheTotal) {
    const formats::Table table = formats::splicedTable(splicedPlan());
    EXPECT_EQ(table.title, q("接长"));
    EXPECT_EQ(table.header, (QStringList{q("钢筋"), q("编号"), q("长度 (mm)"), q("根数"),
                                         q("接头方式"), q("每个接头用钢 (mm)"), q("分段（自起点）"),
                                         q("接头位置 (mm)"), q("接头 (个)"), q("接头用钢 (mm)")}));
    const std::vector<QStringList> want{
        {q("HRB400 Φ20"), q("KL1-1"), q("24240"), q("2"), q("绑扎搭接"), q("560"),
         q("KL1-1/1 12000 + KL1-1/2 9000 + KL1-1/3 4360"), q("11720、20160"), q("4"), q("2240")},
        {q("HRB400 Φ20"), q("KL1-1"), q("24240"), q("2"), q("绑扎搭接"), q("560"),
         q("KL1-1/4 6000 + KL1-1/5 12000 + KL1-1/6 7360"), q("5720、17160"), q("4"), q("2240")},
        {q("HRB400 Φ20"), q("KZ1"), q("15000"), q("2"), q("机械连接"), q("0"),
         q("KZ1/1 12000 + KZ1/2 3000"), q("12000"), q("2"), q("0")},
        {q("合计"), q(""), q(""), q("6"), q(""), q(""), q(""), q(""), q("10"), q("4480")},
    };
    ASSERT_EQ(table.rows.size(), want.size());
    for (std::size_t r = 0; r < want.size(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(texts(table.rows[r]), want[r]);
    }
    // Lengths and counts stay numbers for the workbook.
    EXPECT_EQ(table.rows[0][2].kind, formats::CellKind::Integer);
    EXPECT_EQ(table.rows[0][2].number, 24240);
    EXPECT_EQ(table.rows[3][9].number, 4480);
}

TEST(SplicedSheet, OneSteelsTableIsTitledWithTheSteel) {
    const formats::Table table = formats::splicedTable(splicedGroup());
    EXPECT_EQ(table.title, q("HRB400 Φ20 接长"));
    EXPECT_EQ(table.rows.size(), 4U);
}

struct SummaryColumn {
    const char* name;
    plan::Plan (*plan)();
    formats::SummaryJoints joints;
    QStringList lastCells; // per row: the cells after the twelfth, joined by "/"
    qsizetype columns;
};

class SplicedSummary : public testing::TestWithParam<SummaryColumn> {};

TEST_P(SplicedSummary, CountsTheJointsOnlyWhenThereAreLongBars) {
    const SummaryColumn& s = GetParam();
    const formats::Table table = formats::summaryTable(s.plan(), s.joints);
    ASSERT_EQ(table.header.size(), s.columns);
    QStringList last;
    for (const std::vector<formats::Cell>& row : table.rows) {
        ASSERT_EQ(static_cast<qsizetype>(row.size()), s.columns);
        last.append(texts(row).sliced(12).join(u'/'));
    }
    EXPECT_EQ(last, s.lastCells);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Formats, SplicedSummary, testing::Values(
    SummaryColumn{"WithLongBars", splicedPlan, formats::SummaryJoints::Columns,
                  {q("0/0/0.00/0.00/0.00"), q("0/0/0.00/0.00/0.00"),
                   q("10/4480/1304.16/16.00/1320.16"), q("10/4480/1304.16/16.00/1320.16")}, 17},
    SummaryColumn{"WithLongBarsJointsApart", splicedPlan, formats::SummaryJoints::Apart,
                  {q(""), q(""), q(""), q("")}, 12},
    SummaryColumn{"WithoutLongBars", samplePlan, formats::SummaryJoints::Columns,
                  {q(""), q(""), q("")}, 12}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SplicedSheet, TheSummaryHeadsTheJointColumns) {
    const formats::Table table = formats::summaryTable(splicedPlan());
    EXPECT_EQ(table.header.sliced(12),
              (QStringList{q("接头 (个)"), q("接头用钢 (mm)"), q("钢材 (元)"), q("接头 (元)"),
                           q("造价 (元)")}));
    EXPECT_EQ(table.rows[2][5].text, q("按所选分段最优"));
    // Every steel proven, one only for its segments: the total does not claim more.
    plan::Plan proven;
    proven.groups = {splicedGroup()};
    EXPECT_EQ(formats::summaryTable(proven).rows.back()[5].text, q("最优（接长钢筋按所选分段）"));
}

TEST(SplicedSheet, TheJointTotalsHaveARowPerSteelWithLongBarsAndATotal) {
    plan::Plan plan = splicedPlan();
    plan::GroupPlan other = splicedGroup();
    other.steel = {"HRB400", 250};
    other.spliced.resize(1); // KL1-1 alone: its four bars, eight laps
    other.joints = 8;
    other.overlapMm = 8 * 560;
    other.money = {100'000, 0}; // laps cost only their steel
    plan.groups.push_back(other);
    const formats::Table table = formats::jointTotalsTable(plan);
    EXPECT_EQ(table.header,
              (QStringList{q("钢筋"), q("接长钢筋 (根)"), q("接头 (个)"), q("接头用钢 (mm)"),
                           q("钢材 (元)"), q("接头 (元)"), q("造价 (元)")}));
    const std::vector<QStringList> want{
        {q("HRB400 Φ20"), q("6"), q("10"), q("4480"), q("1304.16"), q("16.00"), q("1320.16")},
        {q("HRB400 Φ25"), q("4"), q("8"), q("4480"), q("1000.00"), q("0.00"), q("1000.00")},
        {q("合计"), q("10"), q("18"), q("8960"), q("2304.16"), q("16.00"), q("2320.16")},
    };
    ASSERT_EQ(table.rows.size(), want.size());
    for (std::size_t r = 0; r < want.size(); ++r) {
        EXPECT_EQ(texts(table.rows[r]), want[r]) << r;
    }
}

TEST(SplicedCsv, PutsTheLongBarsBetweenThePatternsAndTheSummary) {
    const plan::Plan plan = splicedPlan();
    const QString text = QString::fromUtf8(formats::sheetCsv(plan).sliced(3));
    const std::vector<formats::Record> records = formats::splitRecords(text, u',').records;
    const auto headed = [&records](const QString& first, const QString& second) {
        return std::ranges::find_if(records,
                                    [&](const formats::Record& r) {
                                        return r.cells.size() > 1 && r.cells[0] == first &&
                                               r.cells[1] == second;
                                    }) -
               records.begin();
    };
    const auto spliced = headed(q("钢筋"), q("编号"));
    const auto summary = headed(q("钢筋"), q("新购原材 (mm×根)"));
    std::size_t patterns = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        patterns += g.patterns.size();
    }
    ASSERT_EQ(spliced, static_cast<std::ptrdiff_t>(1 + patterns));
    // Three layouts, the total and the note, then the summary after a blank line.
    ASSERT_EQ(summary, spliced + 6);
    EXPECT_EQ(records[static_cast<std::size_t>(summary)].line,
              records[static_cast<std::size_t>(summary - 1)].line + 2);
    const QStringList& first = records[static_cast<std::size_t>(spliced + 1)].cells;
    EXPECT_EQ(first[6], q("KL1-1/1 12000 + KL1-1/2 9000 + KL1-1/3 4360"));
    EXPECT_EQ(first[7], q("11720、20160"));
    const QStringList& total = records[static_cast<std::size_t>(spliced + 4)].cells;
    EXPECT_EQ(total[0], q("合计"));
    EXPECT_EQ(total[9], q("4480"));
}

TEST(SplicedCsv, APlanWithoutLongBarsHasNoSuchTable) {
    const QString text = QString::fromUtf8(formats::sheetCsv(samplePlan()));
    EXPECT_FALSE(text.contains(q("接头")));
    EXPECT_FALSE(text.contains(q("分段")));
}

struct BookSheets {
    const char* name;
    plan::Plan (*plan)();
    QStringList sheets;
};

class SplicedWorkbook : public testing::TestWithParam<BookSheets> {};

TEST_P(SplicedWorkbook, HasTheLongBarsSheetLastWhenThereAreAny) {
    const BookSheets& b = GetParam();
    const formats::Workbook book = formats::sheetXlsx(b.plan());
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    const ZipParts zip = readZip(book.bytes);
    ASSERT_TRUE(zip.error.empty()) << zip.error;
    const QString workbook = QString::fromUtf8(zip.parts.at("xl/workbook.xml"));
    const QRegularExpression sheet(q("<sheet name=\"([^\"]+)\""));
    QStringList names;
    for (auto it = sheet.globalMatch(workbook); it.hasNext();) {
        names.append(it.next().captured(1));
    }
    EXPECT_EQ(names, b.sheets);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Formats, SplicedWorkbook, testing::Values(
    BookSheets{"WithLongBars", splicedPlan,
               {q("汇总"), q("HPB300 Φ6.5"), q("C12"), q("HRB400 Φ20"), q("接长")}},
    BookSheets{"WithoutLongBars", samplePlan, {q("汇总"), q("HPB300 Φ6.5"), q("C12")}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SplicedWorkbook, WritesTheLongBarsLengthsAsNumbersAndTheSegmentsAsText) {
    const formats::Workbook book = formats::sheetXlsx(splicedPlan());
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    const ZipParts zip = readZip(book.bytes);
    ASSERT_TRUE(zip.error.empty()) << zip.error;
    const QString sheet = QString::fromUtf8(zip.parts.at("xl/worksheets/sheet5.xml"));
    // Row 2, the first layout: length in C, bars in D, the overlap's steel in J.
    for (const auto& [cell, value] : {std::pair{"C2", 24240}, std::pair{"D2", 2},
                                      std::pair{"J2", 2240}, std::pair{"J5", 4480}}) {
        SCOPED_TRACE(cell);
        EXPECT_TRUE(
            QRegularExpression(q("<c r=\"%1\"( s=\"\\d+\")?><v>%2</v></c>").arg(q(cell)).arg(value))
                .match(sheet)
                .hasMatch());
    }
    const QString strings = QString::fromUtf8(zip.parts.at("xl/sharedStrings.xml"));
    EXPECT_TRUE(strings.contains(q("KL1-1/4 6000 + KL1-1/5 12000 + KL1-1/6 7360")));
    EXPECT_TRUE(strings.contains(q("机械连接")));
    EXPECT_TRUE(strings.contains(q("5720、17160")));
}

} // namespace
