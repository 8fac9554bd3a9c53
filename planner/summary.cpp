#include "planner/summary.h"

#include "formats/plan_words.h"

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
        return QStringLiteral("全部最优：已证明没有更省钢的方案。");
    }
    return QStringLiteral("未全部证明最优：%1。").arg(open.join(QStringLiteral("；")));
}

} // namespace planner
