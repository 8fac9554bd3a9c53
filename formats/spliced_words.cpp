#include "formats/spliced_words.h"

#include <algorithm>

#include <QStringList>

namespace formats {

QString overlapText(const plan::joints::Rule& rule) {
    switch (rule.method) {
    case plan::joints::Method::Lap:
    case plan::joints::Method::LapWeldSingle:
    case plan::joints::Method::LapWeldDouble:
        return QStringLiteral("搭接长度 %1 mm").arg(rule.overlap);
    case plan::joints::Method::ButtWeld:
        return QStringLiteral("每个接头烧损 %1 mm").arg(rule.overlap);
    case plan::joints::Method::Coupler:
        return {};
    }
    return {};
}

QString segmentsText(const std::vector<plan::joints::Segment>& segments) {
    QStringList parts;
    for (const plan::joints::Segment& s : segments) {
        parts.append(QStringLiteral("%1 %2").arg(QString::fromStdString(s.mark)).arg(s.length));
    }
    return parts.join(QStringLiteral(" + "));
}

QString jointPlacesText(const std::vector<std::int64_t>& joints) {
    QStringList parts;
    for (const std::int64_t at : joints) {
        parts.append(QString::number(at));
    }
    return parts.join(u'、');
}

bool hasSpliced(const plan::Plan& plan) {
    return std::ranges::any_of(plan.groups,
                               [](const plan::GroupPlan& g) { return !g.spliced.empty(); });
}

bool boundForChosenSegments(const plan::Plan& plan) {
    return std::ranges::any_of(plan.groups, [](const plan::GroupPlan& g) {
        return g.boundScope == plan::joints::BoundScope::ChosenSegmentation;
    });
}

} // namespace formats
