#include "planner/summary.h"

#include "formats/plan_words.h"

#include <map>

#include <QStringList>

namespace planner {

QString tonnesText(double kg) {
    return QString::number(kg / 1000.0, 'f', 3);
}

QString toBuy(const plan::Plan& plan) {
    if (plan.groups.empty()) {
        return QStringLiteral("清单里没有要下料的钢筋。");
    }
    QStringList parts;
    std::int64_t bars = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        parts.append(formats::steelLabel(g) + u' ' + formats::usesText(g.bought));
        bars += formats::barsOf(g.bought);
    }
    // A no-break space keeps each figure with its unit when the line wraps.
    return QStringLiteral("新购原材（mm×根）：%1；共 %2 根，%3\u00a0mm，%4\u00a0t（%5）。")
        .arg(parts.join(QStringLiteral("；")))
        .arg(bars)
        .arg(plan.stockMm())
        .arg(tonnesText(plan.stockKg()), formats::massNote(plan));
}

QString verdict(const plan::Plan& plan) {
    if (plan.groups.empty()) {
        return {};
    }
    QStringList open;
    for (const plan::GroupPlan& g : plan.groups) {
        if (!g.optimal) {
            QString gap = formats::steelLabel(g) + u' ' + formats::resultText(g);
            if (const QString why = formats::finishText(g.finish); !why.isEmpty()) {
                gap += QStringLiteral("（%1）").arg(why);
            }
            open.append(gap);
        }
    }
    if (open.isEmpty()) {
        // A long bar's bound may hold only for the segments chosen: another way of cutting it
        // into segments was not ruled out.
        QStringList chosen;
        for (const plan::GroupPlan& g : plan.groups) {
            if (g.boundScope == plan::joints::BoundScope::ChosenSegmentation) {
                chosen.append(formats::steelLabel(g));
            }
        }
        if (!chosen.isEmpty()) {
            return QStringLiteral("全部最优：已证明没有更省钢的方案（%1 的接长钢筋按所选分段；"
                                  "换一种分段未证明）。")
                .arg(chosen.join(u'、'));
        }
        return QStringLiteral("全部最优：已证明没有更省钢的方案。");
    }
    return QStringLiteral("未全部证明最优：%1。").arg(open.join(QStringLiteral("；")));
}

QString jointsText(const plan::Plan& plan) {
    std::map<plan::joints::Method, std::int64_t> byMethod;
    std::int64_t joints = 0;
    std::int64_t overlapMm = 0;
    double overlapKg = 0;
    bool any = false;
    for (const plan::GroupPlan& g : plan.groups) {
        for (const plan::joints::SplicedBar& bar : g.spliced) {
            any = true;
            byMethod[bar.rule.method] += bar.joints();
        }
        joints += g.joints;
        overlapMm += g.overlapMm;
        overlapKg += plan::weightKg(g.steel, g.overlapMm);
    }
    if (!any) {
        return {};
    }
    QStringList kinds;
    for (const auto& [method, count] : byMethod) {
        kinds.append(QStringLiteral("%1 %2").arg(formats::methodName(method)).arg(count));
    }
    QString text = QStringLiteral("接长：接头 %1 个（%2）").arg(joints).arg(kinds.join(u'、'));
    if (overlapMm > 0) {
        // Within the pieces' length already: the overlaps are cut with the segments.
        // In kilograms: a few metres of overlap would be 0.00x t.
        text += QStringLiteral("；接头用钢 %1\u00a0mm，%2\u00a0kg（已含在下料长度内）")
                    .arg(overlapMm)
                    .arg(overlapKg, 0, 'f', 1);
    }
    // What the steel bought and the joints cost at the settings' prices.
    return text + QStringLiteral("；造价 ") + formats::costText(plan.money()) + u'。';
}

} // namespace planner
