#include "formats/plan_text.h"

#include "formats/plan_words.h"
#include "formats/spliced_words.h"

#include <algorithm>
#include <QStringList>

namespace formats {
namespace {

QString patternLine(int number, const plan::Pattern& p) {
    QString line = QStringLiteral("    %1. %2 %3 ×%4 根：%5")
                       .arg(number)
                       .arg(p.offcut ? QStringLiteral("库存余料") : QStringLiteral("新购"))
                       .arg(p.stock)
                       .arg(p.count)
                       .arg(cutsText(p.cuts));
    if (p.remnant > 0) {
        line += QStringLiteral("，剩余 %1 %2")
                    .arg(p.remnant)
                    .arg(p.reusable ? QStringLiteral("回库") : QStringLiteral("废料"));
    }
    return line;
}

// Each long bar, how its bars are made, and what the joints cost the steel.
void appendSpliced(const plan::GroupPlan& g, QStringList& lines) {
    lines.append(g.byCost ? QStringLiteral("  接长（按造价）") : QStringLiteral("  接长"));
    for (const plan::joints::SplicedBar& bar : g.spliced) {
        QString line = QStringLiteral("    %1 长 %2 ×%3 根，%4")
                           .arg(QString::fromStdString(bar.mark))
                           .arg(bar.length)
                           .arg(bar.count)
                           .arg(methodName(bar.rule.method));
        const QString overlap = overlapText(bar.rule);
        if (!overlap.isEmpty()) {
            line += QStringLiteral("，") + overlap;
        }
        lines.append(line);
        for (const plan::joints::Layout& l : bar.layouts) {
            lines.append(QStringLiteral("      %1 根：%2，接头距起点 %3 mm")
                             .arg(l.bars)
                             .arg(segmentsText(l.segments), jointPlacesText(l.joints)));
        }
    }
    lines.append(QStringLiteral("    接头 %1 个，接头用钢 %2 mm").arg(g.joints).arg(g.overlapMm));
    QString cost = QStringLiteral("    造价 ") + costText(g.money);
    if (g.byCost && g.boundFen > 0) {
        // Planned by cost: no segmentation the rules allow costs less than this.
        cost += QStringLiteral("，下界 %1 元").arg(moneyText(g.boundFen));
    }
    lines.append(cost);
}

void appendGroup(const plan::GroupPlan& g, QStringList& lines) {
    QString heading = steelLabel(g) + QStringLiteral("  ") + resultText(g);
    const QString finish = finishText(g.finish);
    if (!finish.isEmpty()) {
        heading += QStringLiteral("（%1）").arg(finish);
    }
    lines.append(heading);
    lines.append(
        QStringLiteral("  新购原材  %1，共 %2 根").arg(usesText(g.bought)).arg(barsOf(g.bought)));
    if (!g.offcutsUsed.empty()) {
        lines.append(QStringLiteral("  库存余料  %1，共 %2 根")
                         .arg(usesText(g.offcutsUsed))
                         .arg(barsOf(g.offcutsUsed)));
    }
    lines.append(QStringLiteral("  用钢      %1 mm，%2 %3 mm，废料 %4 mm")
                     .arg(g.stockMm)
                     .arg(g.boundScope == plan::joints::BoundScope::ChosenSegmentation
                              ? QStringLiteral("下界（按所选分段）")
                              : QStringLiteral("下界"))
                     .arg(g.boundMm)
                     .arg(g.wasteMm));
    lines.append(
        QStringLiteral("  利用率    %1，成品 %2 kg，新购钢材 %3 kg")
            .arg(percentText(g.utilisation), kilogramsText(g.piecesKg), kilogramsText(g.stockKg)));
    if (!g.remnants.empty()) {
        lines.append(QStringLiteral("  回库余料  %1").arg(usesText(g.remnants)));
    }
    lines.append(QStringLiteral("  下料方案"));
    int number = 0;
    for (const plan::Pattern& p : g.patterns) {
        lines.append(patternLine(++number, p));
    }
    if (!g.spliced.empty()) {
        appendSpliced(g, lines);
    }
    lines.append(QString());
}

} // namespace

QString planText(const plan::Plan& plan, const QString& project) {
    QStringList lines;
    if (!project.isEmpty()) {
        lines.append(QStringLiteral("项目：%1").arg(project));
    }
    if (!plan.floors.empty()) {
        lines.append(QStringLiteral("楼层：%1").arg(floorsText(plan.floors)));
    }
    if (!lines.isEmpty()) {
        lines.append(QString());
    }
    if (plan.groups.empty()) {
        lines.append(QStringLiteral("清单里没有要下料的钢筋。"));
    }
    std::int64_t bars = 0;
    int open = 0;
    std::int64_t joints = 0;
    std::int64_t overlapMm = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        appendGroup(g, lines);
        bars += barsOf(g.bought);
        open += g.optimal ? 0 : 1;
        joints += g.joints;
        overlapMm += g.overlapMm;
    }
    if (!plan.groups.empty()) {
        lines.append(QStringLiteral("合计  新购原材 %1 根，用钢 %2 mm，新购钢材 %3 kg，%4")
                         .arg(bars)
                         .arg(plan.stockMm())
                         .arg(kilogramsText(plan.stockKg()),
                              open > 0 ? QStringLiteral("%1 种钢筋未证明最优").arg(open)
                              : boundForChosenSegments(plan)
                                  ? QStringLiteral("全部最优（接长钢筋按所选分段）")
                                  : QStringLiteral("全部最优")));
        if (hasSpliced(plan)) {
            lines.append(
                QStringLiteral("      接头 %1 个，接头用钢 %2 mm").arg(joints).arg(overlapMm));
            lines.append(QStringLiteral("      造价 ") + costText(plan.money()));
        }
        lines.append(massNote(plan));
    }
    lines.append(QStringLiteral("优化用时 %1 秒").arg(QString::number(plan.seconds, 'f', 2)));
    return lines.join(u'\n') + u'\n';
}

QString buildingText(const plan::BuildingPlan& building, const QString& project) {
    QStringList lines;
    if (!project.isEmpty()) {
        lines.append(QStringLiteral("项目：%1").arg(project));
        lines.append(QString());
    }
    const std::size_t floors = building.floors.size();
    for (std::size_t i = 0; i < floors; ++i) {
        const plan::FloorPlan& f = building.floors[i];
        lines.append(
            QStringLiteral("━━ 楼层 %1/%2：%3 ━━").arg(i + 1).arg(floors).arg(floorName(f.floor)));
        plan::Plan floor = f.plan;
        floor.floors.clear(); // named in the heading
        lines.append(planText(floor));
    }
    const plan::Plan totals = plan::buildingTotals(building);
    lines.append(
        QStringLiteral("━━ 全楼（%1 层，逐层下料，前面各层的余料留给后面各层）━━").arg(floors));
    std::int64_t bars = 0;
    int open = 0;
    for (const plan::GroupPlan& g : totals.groups) {
        lines.append(QStringLiteral("%1  新购原材 %2，共 %3 根，用钢 %4 mm，新购钢材 %5 kg，"
                                    "废料 %6 mm%7")
                         .arg(steelLabel(g), usesText(g.bought))
                         .arg(barsOf(g.bought))
                         .arg(g.stockMm)
                         .arg(kilogramsText(g.stockKg))
                         .arg(g.wasteMm)
                         .arg(g.optimal ? QString() : QStringLiteral("（有楼层未证明最优）")));
        if (!g.remnants.empty()) {
            lines.append(QStringLiteral("      余料库剩余 %1").arg(usesText(g.remnants)));
        }
        bars += barsOf(g.bought);
        open += g.optimal ? 0 : 1;
    }
    lines.append(QStringLiteral("合计  新购原材 %1 根，用钢 %2 mm，新购钢材 %3 kg，%4")
                     .arg(bars)
                     .arg(totals.stockMm())
                     .arg(kilogramsText(totals.stockKg()),
                          open > 0 ? QStringLiteral("%1 种钢筋有楼层未证明最优").arg(open)
                                   : QStringLiteral("各层全部最优")));
    if (std::ranges::any_of(building.floors,
                            [](const plan::FloorPlan& f) { return hasSpliced(f.plan); })) {
        std::int64_t joints = 0;
        std::int64_t overlapMm = 0;
        for (const plan::GroupPlan& g : totals.groups) {
            joints += g.joints;
            overlapMm += g.overlapMm;
        }
        lines.append(QStringLiteral("      接头 %1 个，接头用钢 %2 mm").arg(joints).arg(overlapMm));
        lines.append(QStringLiteral("      造价 ") + costText(totals.money()));
    }
    if (building.cancelled) {
        lines.append(QStringLiteral("已中断：只下料了前 %1 层").arg(floors));
    }
    lines.append(QStringLiteral("优化用时 %1 秒").arg(QString::number(building.seconds, 'f', 2)));
    return lines.join(u'\n') + u'\n';
}

} // namespace formats
