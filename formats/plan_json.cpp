#include "formats/plan_json.h"

#include "formats/plan_words.h"

#include <cmath>
#include <string_view>

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

QString scopeKey(plan::joints::BoundScope scope) {
    switch (scope) {
    case plan::joints::BoundScope::AllSegmentations:
        return QStringLiteral("all");
    case plan::joints::BoundScope::ChosenSegmentation:
        return QStringLiteral("chosen");
    }
    return {};
}

QJsonValue gradeValue(const plan::GroupPlan& g) {
    return g.steel.grade.empty() ? QJsonValue(QJsonValue::Null)
                                 : QJsonValue(QString::fromStdString(g.steel.grade));
}

QJsonValue diameterValue(const plan::GroupPlan& g) {
    return static_cast<double>(g.steel.diameter) / 10;
}

// The key a list names the method with, so that a plan read back names it the same way.
QString methodKeyText(plan::joints::Method method) {
    const std::string_view key = plan::joints::methodKey(method);
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

QJsonObject layout(const plan::joints::Layout& l) {
    QJsonArray segments;
    for (const plan::joints::Segment& s : l.segments) {
        segments.append(QJsonObject{{QStringLiteral("mark"), QString::fromStdString(s.mark)},
                                    {QStringLiteral("length"), qint64(s.length)}});
    }
    QJsonArray joints;
    for (const std::int64_t at : l.joints) {
        joints.append(qint64(at));
    }
    return QJsonObject{{QStringLiteral("bars"), qint64(l.bars)},
                       {QStringLiteral("segments"), segments},
                       {QStringLiteral("joints"), joints}};
}

// A long bar with the steel of its group, so that a reader of `spliced` alone knows the bar.
QJsonObject spliced(const plan::GroupPlan& g, const plan::joints::SplicedBar& bar) {
    QJsonArray layouts;
    for (const plan::joints::Layout& l : bar.layouts) {
        layouts.append(layout(l));
    }
    return QJsonObject{
        {QStringLiteral("mark"), QString::fromStdString(bar.mark)},
        {QStringLiteral("grade"), gradeValue(g)},
        {QStringLiteral("diameter"), diameterValue(g)},
        {QStringLiteral("steel"), steelLabel(g)},
        {QStringLiteral("length"), qint64(bar.length)},
        {QStringLiteral("count"), qint64(bar.count)},
        {QStringLiteral("method"), methodKeyText(bar.rule.method)},
        {QStringLiteral("overlap"), qint64(bar.rule.overlap)},
        {QStringLiteral("layouts"), layouts},
    };
}

// Money in 元 to the fen, from whole fen.
double yuan(std::int64_t fen) {
    return static_cast<double>(fen) / 100;
}

QJsonObject cost(const plan::joints::Money& money) {
    return QJsonObject{{QStringLiteral("steel"), yuan(money.steel)},
                       {QStringLiteral("joints"), yuan(money.joints)},
                       {QStringLiteral("total"), yuan(money.total())}};
}

QJsonObject group(const plan::GroupPlan& g) {
    QJsonArray patterns;
    for (const plan::Pattern& p : g.patterns) {
        patterns.append(pattern(p));
    }
    return QJsonObject{
        {QStringLiteral("diameter"), diameterValue(g)},
        {QStringLiteral("grade"), gradeValue(g)},
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
        {QStringLiteral("overlap_mm"), qint64(g.overlapMm)},
        {QStringLiteral("joints"), qint64(g.joints)},
        {QStringLiteral("bound_scope"), scopeKey(g.boundScope)},
        {QStringLiteral("cost"),
         [&g] {
             QJsonObject c = cost(g.money);
             c.insert(QStringLiteral("by_cost"), g.byCost);
             c.insert(QStringLiteral("bound"), g.byCost && g.boundFen > 0
                                                   ? QJsonValue(yuan(g.boundFen))
                                                   : QJsonValue(QJsonValue::Null));
             return c;
         }()},
    };
}

} // namespace

namespace {

QJsonArray floorNames(const std::vector<std::string>& floors) {
    QJsonArray out;
    for (const std::string& floor : floors) {
        out.append(QString::fromStdString(floor));
    }
    return out;
}

QJsonObject planObject(const plan::Plan& plan) {
    QJsonArray groups;
    QJsonArray splicedBars;
    for (const plan::GroupPlan& g : plan.groups) {
        groups.append(group(g));
        for (const plan::joints::SplicedBar& bar : g.spliced) {
            splicedBars.append(spliced(g, bar));
        }
    }
    QJsonObject top{
        {QStringLiteral("groups"), groups},
        {QStringLiteral("spliced"), splicedBars},
        {QStringLiteral("seconds"), std::round(plan.seconds * 1000) / 1000},
        {QStringLiteral("optimal"), plan.optimal()},
        {QStringLiteral("cancelled"), plan.cancelled},
        {QStringLiteral("stock_mm"), qint64(plan.stockMm())},
        {QStringLiteral("weight_kg"), hundredths(plan.stockKg())},
        {QStringLiteral("pieces_kg"), hundredths(plan.piecesKg())},
        {QStringLiteral("cost"), cost(plan.money())},
    };
    if (!plan.floors.empty()) {
        top.insert(QStringLiteral("floor_names"), floorNames(plan.floors));
    }
    return top;
}

} // namespace

QByteArray planJson(const plan::Plan& plan) {
    return QJsonDocument(planObject(plan)).toJson(QJsonDocument::Indented);
}

QByteArray buildingJson(const plan::BuildingPlan& building) {
    QJsonObject top = planObject(plan::buildingTotals(building));
    QJsonArray floors;
    std::vector<std::string> names;
    for (const plan::FloorPlan& f : building.floors) {
        QJsonObject floor = planObject(f.plan);
        floor.remove(QStringLiteral("floor_names"));
        floor.insert(QStringLiteral("floor"), QString::fromStdString(f.floor));
        floors.append(floor);
        names.push_back(f.floor);
    }
    top.insert(QStringLiteral("floors"), floors);
    top.insert(QStringLiteral("floor_names"), floorNames(names));
    QJsonArray yard;
    for (const plan::Offcut& o : building.yard) {
        plan::GroupPlan steel;
        steel.steel = o.steel;
        yard.append(QJsonObject{{QStringLiteral("grade"), gradeValue(steel)},
                                {QStringLiteral("diameter"), diameterValue(steel)},
                                {QStringLiteral("steel"), steelLabel(o.steel)},
                                {QStringLiteral("length"), qint64(o.length)},
                                {QStringLiteral("count"), qint64(o.count)}});
    }
    top.insert(QStringLiteral("yard"), yard);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

} // namespace formats
