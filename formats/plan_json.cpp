#include "formats/plan_json.h"

#include "formats/plan_words.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace formats {
namespace {

// Weights and shares are measures, not counts: a hundredth is all anyone reads of them, and
// fewer digits keep the file stable from one run to the next.
double hundredths(double value) {
    return std::round(value * 100) / 100;
}

QString finishKey(plan::Finish finish) {
    switch (finish) {
    case plan::Finish::Proven:
        return QStringLiteral("proven");
    case plan::Finish::TimeUp:
        return QStringLiteral("time_up");
    case plan::Finish::Cancelled:
        return QStringLiteral("cancelled");
    case plan::Finish::Searched:
        return QStringLiteral("searched");
    }
    return {};
}

QJsonArray uses(const std::vector<plan::StockUse>& list) {
    QJsonArray out;
    for (const plan::StockUse& use : list) {
        out.append(QJsonObject{{QStringLiteral("length"), qint64(use.length)},
                               {QStringLiteral("count"), qint64(use.count)}});
    }
    return out;
}

QJsonObject pattern(const plan::Pattern& p) {
    QJsonArray cuts;
    for (const plan::Cut& cut : p.cuts) {
        cuts.append(QJsonObject{{QStringLiteral("mark"), QString::fromStdString(cut.mark)},
                                {QStringLiteral("length"), qint64(cut.length)}});
    }
    return QJsonObject{
        {QStringLiteral("stock"), qint64(p.stock)},     {QStringLiteral("offcut"), p.offcut},
        {QStringLiteral("count"), qint64(p.count)},     {QStringLiteral("cuts"), cuts},
        {QStringLiteral("remnant"), qint64(p.remnant)}, {QStringLiteral("reusable"), p.reusable},
    };
}

QJsonObject group(const plan::GroupPlan& g) {
    QJsonArray patterns;
    for (const plan::Pattern& p : g.patterns) {
        patterns.append(pattern(p));
    }
    return QJsonObject{
        {QStringLiteral("diameter"), static_cast<double>(g.steel.diameter) / 10},
        {QStringLiteral("grade"), g.steel.grade.empty()
                                      ? QJsonValue(QJsonValue::Null)
                                      : QJsonValue(QString::fromStdString(g.steel.grade))},
        {QStringLiteral("steel"), steelLabel(g)},
        {QStringLiteral("mass"), plan::massBasis(g.steel) == plan::MassBasis::Nominal
                                     ? QStringLiteral("nominal")
                                     : QStringLiteral("estimated")},
        {QStringLiteral("patterns"), patterns},
        {QStringLiteral("stock_mm"), qint64(g.stockMm)},
        {QStringLiteral("bound_mm"), qint64(g.boundMm)},
        {QStringLiteral("optimal"), g.optimal},
        {QStringLiteral("finish"), finishKey(g.finish)},
        {QStringLiteral("gap_bars"), qint64(g.gapBars())},
        {QStringLiteral("gap_mm"), qint64(g.stockMm - g.boundMm)},
        {QStringLiteral("weight_kg"), hundredths(g.stockKg)},
        {QStringLiteral("bought"), uses(g.bought)},
        {QStringLiteral("offcuts_used"), uses(g.offcutsUsed)},
        {QStringLiteral("remnants"), uses(g.remnants)},
        {QStringLiteral("pieces"), qint64(g.pieces)},
        {QStringLiteral("pieces_mm"), qint64(g.piecesMm)},
        {QStringLiteral("offcut_mm"), qint64(g.offcutMm)},
        {QStringLiteral("remnant_mm"), qint64(g.remnantMm)},
        {QStringLiteral("waste_mm"), qint64(g.wasteMm)},
        {QStringLiteral("utilisation"), std::round(g.utilisation * 10000) / 10000},
        {QStringLiteral("pieces_kg"), hundredths(g.piecesKg)},
        {QStringLiteral("seconds"), std::round(g.seconds * 1000) / 1000},
    };
}

} // namespace

QByteArray planJson(const plan::Plan& plan) {
    QJsonArray groups;
    for (const plan::GroupPlan& g : plan.groups) {
        groups.append(group(g));
    }
    const QJsonObject top{
        {QStringLiteral("groups"), groups},
        {QStringLiteral("seconds"), std::round(plan.seconds * 1000) / 1000},
        {QStringLiteral("optimal"), plan.optimal()},
        {QStringLiteral("cancelled"), plan.cancelled},
        {QStringLiteral("stock_mm"), qint64(plan.stockMm())},
        {QStringLiteral("weight_kg"), hundredths(plan.stockKg())},
        {QStringLiteral("pieces_kg"), hundredths(plan.piecesKg())},
    };
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

} // namespace formats
