#include "planner/bar_layout.h"

#include "formats/plan_words.h"
#include "planner/joint_words.h"

#include <algorithm>

#include <QStringList>

namespace planner {

std::int64_t longestStock(const plan::Plan& plan) {
    std::int64_t longest = 1;
    for (const plan::GroupPlan& g : plan.groups) {
        for (const plan::Pattern& p : g.patterns) {
            longest = std::max(longest, p.stock);
        }
    }
    return longest;
}

std::int64_t longestSpliced(const plan::Plan& plan) {
    std::int64_t longest = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        for (const plan::joints::SplicedBar& bar : g.spliced) {
            longest = std::max(longest, bar.length);
        }
    }
    return longest;
}

DrawnSplice layoutSplice(const plan::joints::SplicedBar& bar, std::size_t layout, double left,
                         double top, double unitsPerMm, const BarMetrics& metrics) {
    const plan::joints::Layout& way = bar.layouts.at(layout);
    DrawnSplice out;
    out.layout = layout;
    out.bars = way.bars;
    out.method = bar.rule.method;
    out.overlapMm = bar.rule.overlap;
    QStringList caption{QStringLiteral("接长 ") + QString::fromStdString(bar.mark),
                        QStringLiteral("%1 mm").arg(bar.length),
                        formats::methodName(bar.rule.method)};
    if (const QString overlap = overlapText(bar.rule.method, bar.rule.overlap);
        !overlap.isEmpty()) {
        caption.append(overlap);
    }
    if (!bar.zones.empty()) {
        caption.append(QStringLiteral("斜线为禁止接头区"));
    }
    if (bar.layouts.size() > 1) {
        caption.append(QStringLiteral("接法 %1/%2").arg(layout + 1).arg(bar.layouts.size()));
    }
    out.captionText = caption.join(u'　');

    const double x0 = left + metrics.margin;
    out.caption = QRectF(x0, top, metrics.line * 30, metrics.captionHeight());
    const double barTop = top + metrics.captionHeight();
    const auto at = [&](std::int64_t mm) {
        return x0 + static_cast<double>(mm) * unitsPerMm;
    };
    out.bar =
        QRectF(at(0), barTop, static_cast<double>(bar.length) * unitsPerMm, metrics.barHeight());

    // Segment k + 1 begins where the overlap of joint k begins, an overlap before segment k
    // ends; its own stretch is what it shares with neither neighbour.
    const std::int64_t overlap = bar.rule.overlap;
    std::int64_t start = 0;
    for (std::size_t k = 0; k < way.segments.size(); ++k) {
        const plan::joints::Segment& segment = way.segments[k];
        const std::int64_t end = start + segment.length;
        const std::int64_t from = k > 0 ? start + overlap : start;
        const std::int64_t to = k + 1 < way.segments.size() ? end - overlap : end;
        out.segments.push_back(
            {QRectF(at(from), barTop, static_cast<double>(to - from) * unitsPerMm,
                    metrics.barHeight()),
             QString::fromStdString(segment.mark), segment.length});
        if (k + 1 < way.segments.size() && overlap > 0) {
            out.overlaps.push_back(QRectF(at(to), barTop, static_cast<double>(overlap) * unitsPerMm,
                                          metrics.barHeight()));
        }
        start = end - overlap;
    }
    for (const std::int64_t joint : way.joints) {
        out.joints.push_back(at(joint));
    }
    for (const plan::joints::Zone& zone : bar.zones) {
        out.zones.push_back(QRectF(at(zone.from), barTop,
                                   static_cast<double>(zone.to - zone.from) * unitsPerMm,
                                   metrics.barHeight()));
    }
    out.count = QRectF(out.bar.right() + metrics.line * 0.5, barTop,
                       metrics.count - metrics.line * 0.5, metrics.barHeight());
    return out;
}

double scaleFor(double width, std::int64_t longest, const BarMetrics& metrics) {
    const double room = std::max(width - 2 * metrics.margin - metrics.count, metrics.line * 4);
    return room / static_cast<double>(std::max<std::int64_t>(longest, 1));
}

DrawnBar layoutPattern(const plan::Pattern& pattern, std::size_t number, double left, double top,
                       double unitsPerMm, const BarMetrics& metrics) {
    DrawnBar out;
    out.pattern = number;
    out.bars = pattern.count;
    out.remnantMm = pattern.remnant;
    out.reusable = pattern.reusable;
    const QString source = pattern.offcut ? QStringLiteral("库存余料") : QStringLiteral("新购原材");
    out.captionText =
        QStringLiteral("方案 %1　%2 %3 mm").arg(number + 1).arg(source).arg(pattern.stock);

    const double x0 = left + metrics.margin;
    // The caption may run past a short bar, over the room the longest one would take.
    out.caption = QRectF(x0, top, metrics.line * 30, metrics.captionHeight());
    const double barTop = top + metrics.captionHeight();
    const auto at = [&](std::int64_t mm) {
        return x0 + static_cast<double>(mm) * unitsPerMm;
    };
    out.bar =
        QRectF(at(0), barTop, static_cast<double>(pattern.stock) * unitsPerMm, metrics.barHeight());

    // The kerf is what the cuts and the remnant leave of the bar: one after every cut but a
    // last one that ends exactly at the bar's end.
    std::int64_t cutMm = 0;
    for (const plan::Cut& c : pattern.cuts) {
        cutMm += c.length;
    }
    const std::int64_t kerfMm = std::max<std::int64_t>(pattern.stock - pattern.remnant - cutMm, 0);
    const auto cuts = static_cast<std::int64_t>(pattern.cuts.size());
    const std::int64_t gaps = pattern.remnant > 0 ? cuts : std::max<std::int64_t>(cuts - 1, 0);
    const double kerf = gaps > 0 ? static_cast<double>(kerfMm) / static_cast<double>(gaps) : 0;

    double mm = 0;
    for (std::size_t i = 0; i < pattern.cuts.size(); ++i) {
        const plan::Cut& c = pattern.cuts[i];
        const double start = at(0) + mm * unitsPerMm;
        const double length = static_cast<double>(c.length) * unitsPerMm;
        out.cuts.push_back({QRectF(start, barTop, length, metrics.barHeight()),
                            QString::fromStdString(c.mark), c.length});
        mm += static_cast<double>(c.length);
        if (kerf > 0 && static_cast<std::int64_t>(i) < gaps) {
            out.kerfs.push_back(
                QRectF(at(0) + mm * unitsPerMm, barTop, kerf * unitsPerMm, metrics.barHeight()));
            mm += kerf;
        }
    }
    if (pattern.remnant > 0) {
        const double start = at(pattern.stock - pattern.remnant);
        out.remnant = QRectF(start, barTop, static_cast<double>(pattern.remnant) * unitsPerMm,
                             metrics.barHeight());
    }
    out.count = QRectF(out.bar.right() + metrics.line * 0.5, barTop,
                       metrics.count - metrics.line * 0.5, metrics.barHeight());
    return out;
}

QString headingText(const plan::GroupPlan& group) {
    QString text = formats::steelLabel(group) + QStringLiteral("　新购原材 ") +
                   formats::usesText(group.bought) + QStringLiteral("　") +
                   formats::resultText(group);
    if (const QString finish = formats::finishText(group.finish); !finish.isEmpty()) {
        text += QStringLiteral("（") + finish + QStringLiteral("）");
    }
    return text;
}

BarSheet layoutPlan(const plan::Plan& plan, double width, const BarMetrics& metrics) {
    BarSheet sheet;
    const double scale = scaleFor(width, longestStock(plan), metrics);
    const double splicedScale = scaleFor(width, longestSpliced(plan), metrics);
    double top = 0;
    for (std::size_t g = 0; g < plan.groups.size(); ++g) {
        const plan::GroupPlan& group = plan.groups[g];
        sheet.headings.push_back(
            {QRectF(metrics.margin, top, width - 2 * metrics.margin, metrics.headingHeight()),
             headingText(group)});
        top += metrics.headingHeight();
        for (std::size_t p = 0; p < group.patterns.size(); ++p) {
            DrawnBar bar = layoutPattern(group.patterns[p], p, 0, top, scale, metrics);
            bar.group = g;
            sheet.bars.push_back(std::move(bar));
            top += metrics.rowHeight();
        }
        for (std::size_t b = 0; b < group.spliced.size(); ++b) {
            for (std::size_t l = 0; l < group.spliced[b].layouts.size(); ++l) {
                DrawnSplice splice =
                    layoutSplice(group.spliced[b], l, 0, top, splicedScale, metrics);
                splice.group = g;
                splice.spliced = b;
                sheet.splices.push_back(std::move(splice));
                top += metrics.rowHeight();
            }
        }
    }
    sheet.height = top + metrics.line;
    return sheet;
}

} // namespace planner
