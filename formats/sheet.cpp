#include "formats/sheet.h"

#include "formats/plan_words.h"
#include "formats/spliced_words.h"

namespace formats {
namespace {

Cell text(const QString& value) {
    return {CellKind::Text, value, 0};
}

Cell whole(std::int64_t value) {
    return {CellKind::Integer, QString::number(value), static_cast<double>(value)};
}

Cell kilograms(double value) {
    const QString shown = kilogramsText(value);
    return {CellKind::Kilograms, shown, shown.toDouble()};
}

Cell tonnes(double kg) {
    const QString shown = QString::number(kg / 1000.0, 'f', 3);
    return {CellKind::Tonnes, shown, shown.toDouble()};
}

Cell yuan(std::int64_t fen) {
    return {CellKind::Yuan, moneyText(fen), static_cast<double>(fen) / 100};
}

// What the steel, the joints and both cost.
void addCost(std::vector<Cell>& row, const plan::joints::Money& money) {
    row.push_back(yuan(money.steel));
    row.push_back(yuan(money.joints));
    row.push_back(yuan(money.total()));
}

QStringList costHeader() {
    return {QStringLiteral("钢材 (元)"), QStringLiteral("接头 (元)"), QStringLiteral("造价 (元)")};
}

Cell percent(double share) {
    return {CellKind::Percent, percentText(share), share};
}

QStringList patternHeader() {
    return {QStringLiteral("钢筋"),          QStringLiteral("方案"),
            QStringLiteral("原材 (mm)"),     QStringLiteral("来源"),
            QStringLiteral("根数"),          QStringLiteral("下料（按切割顺序）"),
            QStringLiteral("每根剩余 (mm)"), QStringLiteral("剩余去向")};
}

void addPatterns(const plan::GroupPlan& group, Table& table) {
    int number = 0;
    for (const plan::Pattern& p : group.patterns) {
        QString remnant;
        if (p.remnant > 0) {
            remnant = p.reusable ? QStringLiteral("回库") : QStringLiteral("废料");
        }
        table.rows.push_back({text(steelLabel(group)), whole(++number), whole(p.stock),
                              text(p.offcut ? QStringLiteral("库存余料") : QStringLiteral("新购")),
                              whole(p.count), text(cutsText(p.cuts)), whole(p.remnant),
                              text(remnant)});
    }
}

QStringList splicedHeader() {
    return {QStringLiteral("钢筋"),           QStringLiteral("编号"),
            QStringLiteral("长度 (mm)"),      QStringLiteral("根数"),
            QStringLiteral("接头方式"),       QStringLiteral("每个接头用钢 (mm)"),
            QStringLiteral("分段（自起点）"), QStringLiteral("接头位置 (mm)"),
            QStringLiteral("接头 (个)"),      QStringLiteral("接头用钢 (mm)")};
}

struct SplicedTotals {
    std::int64_t bars = 0;
    std::int64_t joints = 0;
    std::int64_t overlapMm = 0;
};

// A row per layout: the bars made alike are what one cutter makes together.
void addSpliced(const plan::GroupPlan& group, Table& table, SplicedTotals& totals) {
    for (const plan::joints::SplicedBar& bar : group.spliced) {
        for (const plan::joints::Layout& l : bar.layouts) {
            const std::int64_t joints = l.bars * static_cast<std::int64_t>(l.joints.size());
            table.rows.push_back({text(steelLabel(group)), text(QString::fromStdString(bar.mark)),
                                  whole(bar.length), whole(l.bars),
                                  text(methodName(bar.rule.method)), whole(bar.rule.overlap),
                                  text(segmentsText(l.segments)), text(jointPlacesText(l.joints)),
                                  whole(joints), whole(joints * bar.rule.overlap)});
            totals.bars += l.bars;
            totals.joints += joints;
            totals.overlapMm += joints * bar.rule.overlap;
        }
    }
}

Table splicedTable(const std::vector<const plan::GroupPlan*>& groups) {
    Table table;
    table.title = QStringLiteral("接长");
    table.header = splicedHeader();
    SplicedTotals totals;
    for (const plan::GroupPlan* g : groups) {
        addSpliced(*g, table, totals);
    }
    table.rows.push_back({text(QStringLiteral("合计")), text({}), text({}), whole(totals.bars),
                          text({}), text({}), text({}), text({}), whole(totals.joints),
                          whole(totals.overlapMm)});
    table.note = QStringLiteral("分段自钢筋起点依次排列；接头位置为接头中心距起点的长度");
    return table;
}

std::vector<Cell> summaryRow(const QString& label, std::int64_t bars, const QString& bought,
                             std::int64_t stockMm, std::int64_t boundMm, const QString& result,
                             double utilisation, double piecesKg, double stockKg,
                             const QString& remnants, std::int64_t wasteMm) {
    return {text(label),        text(bought),   whole(bars),          whole(stockMm),
            whole(boundMm),     text(result),   percent(utilisation), kilograms(piecesKg),
            kilograms(stockKg), text(remnants), whole(wasteMm),       tonnes(stockKg)};
}

} // namespace

Table summaryTable(const plan::Plan& plan, SummaryJoints joints) {
    Table table;
    table.title = QStringLiteral("汇总");
    table.header = {QStringLiteral("钢筋"),          QStringLiteral("新购原材 (mm×根)"),
                    QStringLiteral("新购根数"),      QStringLiteral("用钢 (mm)"),
                    QStringLiteral("下界 (mm)"),     QStringLiteral("结果"),
                    QStringLiteral("利用率"),        QStringLiteral("成品重 (kg)"),
                    QStringLiteral("新购钢重 (kg)"), QStringLiteral("回库余料 (mm×根)"),
                    QStringLiteral("废料 (mm)"),     QStringLiteral("新购钢重 (t)")};
    std::int64_t bars = 0;
    std::int64_t piecesMm = 0;
    std::int64_t usedMm = 0;
    std::int64_t wasteMm = 0;
    std::int64_t jointCount = 0;
    std::int64_t overlapMm = 0;
    // Plans without long bars keep the columns they always had.
    const bool spliced = joints == SummaryJoints::Columns && hasSpliced(plan);
    if (spliced) {
        table.header << QStringLiteral("接头 (个)") << QStringLiteral("接头用钢 (mm)")
                     << costHeader();
    }
    for (const plan::GroupPlan& g : plan.groups) {
        wasteMm += g.wasteMm;
        QString result = resultText(g);
        const QString finish = finishText(g.finish);
        if (!finish.isEmpty()) {
            result += QStringLiteral("，") + finish;
        }
        table.rows.push_back(summaryRow(steelLabel(g), barsOf(g.bought), usesText(g.bought),
                                        g.stockMm, g.boundMm, result, g.utilisation, g.piecesKg,
                                        g.stockKg, usesText(g.remnants), g.wasteMm));
        if (spliced) {
            table.rows.back().push_back(whole(g.joints));
            table.rows.back().push_back(whole(g.overlapMm));
            addCost(table.rows.back(), g.money);
        }
        jointCount += g.joints;
        overlapMm += g.overlapMm;
        bars += barsOf(g.bought);
        piecesMm += g.piecesMm;
        usedMm += g.stockMm + g.offcutMm;
    }
    std::int64_t boundMm = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        boundMm += g.boundMm;
    }
    const double utilisation =
        usedMm > 0 ? static_cast<double>(piecesMm) / static_cast<double>(usedMm) : 0;
    QString result = QStringLiteral("未全部证明最优");
    if (plan.optimal()) {
        result = boundForChosenSegments(plan) ? QStringLiteral("最优（接长钢筋按所选分段）")
                                              : QStringLiteral("最优");
    }
    table.rows.push_back(summaryRow(QStringLiteral("合计"), bars, QString(), plan.stockMm(),
                                    boundMm, result, utilisation, plan.piecesKg(), plan.stockKg(),
                                    QString(), wasteMm));
    if (spliced) {
        table.rows.back().push_back(whole(jointCount));
        table.rows.back().push_back(whole(overlapMm));
        addCost(table.rows.back(), plan.money());
    }
    if (!plan.groups.empty()) {
        table.note = massNote(plan);
    }
    if (!plan.floors.empty()) {
        table.note = QStringLiteral("楼层：%1。%2").arg(floorsText(plan.floors), table.note);
    }
    return table;
}

Table floorsTable(const plan::BuildingPlan& building) {
    Table table;
    table.title = QStringLiteral("各层汇总");
    for (const plan::FloorPlan& f : building.floors) {
        plan::Plan floor = f.plan;
        floor.floors.clear();
        Table one = summaryTable(floor, SummaryJoints::Apart);
        if (table.header.isEmpty()) {
            table.header = QStringList{QStringLiteral("楼层")} + one.header;
        }
        for (std::vector<Cell>& row : one.rows) {
            if (row.front().text == QStringLiteral("合计")) {
                row.front() = text(QStringLiteral("本层合计"));
            }
            row.insert(row.begin(), text(floorName(f.floor)));
            table.rows.push_back(std::move(row));
        }
    }
    table.note =
        QStringLiteral("逐层下料：每层先用前面各层留下的余料，本层的回库余料留给后面各层。");
    return table;
}

Table jointTotalsTable(const plan::Plan& plan) {
    Table table;
    table.title = QStringLiteral("接长汇总");
    table.header = {QStringLiteral("钢筋"), QStringLiteral("接长钢筋 (根)"),
                    QStringLiteral("接头 (个)"), QStringLiteral("接头用钢 (mm)")};
    table.header << costHeader();
    plan::joints::Money money;
    std::int64_t bars = 0;
    std::int64_t joints = 0;
    std::int64_t overlapMm = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        if (g.spliced.empty()) {
            continue;
        }
        std::int64_t longBars = 0;
        for (const plan::joints::SplicedBar& bar : g.spliced) {
            longBars += bar.count;
        }
        table.rows.push_back(
            {text(steelLabel(g)), whole(longBars), whole(g.joints), whole(g.overlapMm)});
        addCost(table.rows.back(), g.money);
        money.steel += g.money.steel;
        money.joints += g.money.joints;
        bars += longBars;
        joints += g.joints;
        overlapMm += g.overlapMm;
    }
    table.rows.push_back(
        {text(QStringLiteral("合计")), whole(bars), whole(joints), whole(overlapMm)});
    addCost(table.rows.back(), money);
    return table;
}

Table patternTable(const plan::GroupPlan& group) {
    Table table;
    table.title = steelLabel(group);
    table.header = patternHeader();
    addPatterns(group, table);
    return table;
}

Table patternTable(const plan::Plan& plan) {
    Table table;
    table.title = QStringLiteral("下料单");
    table.header = patternHeader();
    for (const plan::GroupPlan& g : plan.groups) {
        addPatterns(g, table);
    }
    return table;
}

Table splicedTable(const plan::GroupPlan& group) {
    Table table = splicedTable(std::vector<const plan::GroupPlan*>{&group});
    table.title = steelLabel(group) + QStringLiteral(" 接长");
    return table;
}

Table splicedTable(const plan::Plan& plan) {
    std::vector<const plan::GroupPlan*> groups;
    for (const plan::GroupPlan& g : plan.groups) {
        if (!g.spliced.empty()) {
            groups.push_back(&g);
        }
    }
    return splicedTable(groups);
}

} // namespace formats
