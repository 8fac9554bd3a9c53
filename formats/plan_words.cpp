#include "formats/plan_words.h"

#include "plan/number.h"

#include <cstddef>

#include <QStringList>

namespace formats {

QString diameterLabel(std::int64_t tenths) {
    return u'Φ' + QString::fromStdString(plan::diameterText(tenths));
}

QString cutsText(const std::vector<plan::Cut>& cuts) {
    QStringList runs;
    for (std::size_t i = 0; i < cuts.size();) {
        std::size_t end = i + 1;
        while (end < cuts.size() && cuts[end] == cuts[i]) {
            ++end;
        }
        QString run = QString::fromStdString(cuts[i].mark);
        if (!run.isEmpty()) {
            run.append(u' ');
        }
        run.append(QString::number(cuts[i].length));
        if (end - i > 1) {
            run.append(u'×').append(QString::number(end - i));
        }
        runs.append(run);
        i = end;
    }
    return runs.join(QStringLiteral(" + "));
}

QString usesText(const std::vector<plan::StockUse>& uses) {
    QStringList parts;
    for (const plan::StockUse& use : uses) {
        parts.append(QStringLiteral("%1×%2").arg(use.length).arg(use.count));
    }
    return parts.isEmpty() ? QStringLiteral("无") : parts.join(u'、');
}

std::int64_t barsOf(const std::vector<plan::StockUse>& uses) {
    std::int64_t bars = 0;
    for (const plan::StockUse& use : uses) {
        bars += use.count;
    }
    return bars;
}

QString resultText(const plan::GroupPlan& group) {
    if (group.optimal) {
        return QStringLiteral("最优");
    }
    return QStringLiteral("差 %1 根（%2 mm）")
        .arg(group.gapBars())
        .arg(group.stockMm - group.boundMm);
}

QString finishText(plan::Finish finish) {
    switch (finish) {
    case plan::Finish::Proven:
    case plan::Finish::Searched:
        return {};
    case plan::Finish::TimeUp:
        return QStringLiteral("时限已到");
    case plan::Finish::Cancelled:
        return QStringLiteral("已取消");
    }
    return {};
}

QString percentText(double share) {
    return QString::number(share * 100, 'f', 1) + u'%';
}

QString kilogramsText(double kg) {
    return QString::number(kg, 'f', 2);
}

} // namespace formats
