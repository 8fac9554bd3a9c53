#include "formats/plan_words.h"

#include "plan/number.h"

#include <cstddef>

#include <QStringList>

namespace formats {

QString diameterLabel(std::int64_t tenths) {
    return u'Φ' + QString::fromStdString(plan::diameterText(tenths));
}

QString steelLabel(const plan::Steel& steel, const std::string& code) {
    const QString diameter = QString::fromStdString(plan::diameterText(steel.diameter));
    if (!code.empty()) {
        return QString::fromStdString(code) + diameter;
    }
    if (!steel.grade.empty()) {
        return QString::fromStdString(steel.grade) + QStringLiteral(" Φ") + diameter;
    }
    return u'Φ' + diameter;
}

QString methodName(plan::joints::Method method) {
    switch (method) {
    case plan::joints::Method::Lap:
        return QStringLiteral("绑扎搭接");
    case plan::joints::Method::Coupler:
        return QStringLiteral("机械连接");
    case plan::joints::Method::LapWeldSingle:
        return QStringLiteral("单面搭接焊");
    case plan::joints::Method::LapWeldDouble:
        return QStringLiteral("双面搭接焊");
    case plan::joints::Method::ButtWeld:
        return QStringLiteral("对焊");
    }
    return {};
}

QString steelLabel(const plan::GroupPlan& group) {
    return steelLabel(group.steel, group.code);
}

QString massNote(const plan::Plan& plan) {
    QStringList estimated;
    bool nominal = false;
    for (const plan::GroupPlan& g : plan.groups) {
        if (plan::massBasis(g.steel) == plan::MassBasis::Nominal) {
            nominal = true;
        } else {
            estimated.append(steelLabel(g));
        }
    }
    const QString standard = QStringLiteral("理论重量按 GB/T 1499 公称质量");
    if (estimated.isEmpty()) {
        return standard;
    }
    if (!nominal) {
        return QStringLiteral("理论重量按 0.00617d² 估算");
    }
    return standard + QStringLiteral("，%1 按 0.00617d² 估算").arg(estimated.join(u'、'));
}

QString countText(const plan::Piece& piece) {
    if (piece.elements > 0) {
        return QStringLiteral("%1 件 × %2 根 = %3 根")
            .arg(piece.elements)
            .arg(piece.perElement)
            .arg(piece.count);
    }
    return QString::number(piece.count);
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
    // A bound that holds only for the segments chosen proves nothing about other ways of
    // splitting the long bars: the words say what was proven.
    const QString scope = group.boundScope == plan::joints::BoundScope::ChosenSegmentation
                              ? QStringLiteral("按所选分段")
                              : QString();
    if (group.optimal) {
        return scope + QStringLiteral("最优");
    }
    return scope + QStringLiteral("差 %1 根（%2 mm）")
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

QString floorName(const std::string& floor) {
    return floor.empty() ? QStringLiteral("未注明楼层") : QString::fromStdString(floor);
}

QString floorsText(const std::vector<std::string>& floors) {
    QStringList names;
    for (const std::string& floor : floors) {
        names.append(floorName(floor));
    }
    return names.join(u'、');
}

QString moneyText(std::int64_t fen) {
    const std::int64_t cents = fen % 100;
    return QStringLiteral("%1.%2").arg(fen / 100).arg(cents < 0 ? -cents : cents, 2, 10,
                                                      QLatin1Char('0'));
}

QString costText(const plan::joints::Money& money) {
    return QStringLiteral("钢材 %1 元，接头 %2 元，合计 %3 元")
        .arg(moneyText(money.steel), moneyText(money.joints), moneyText(money.total()));
}

} // namespace formats
