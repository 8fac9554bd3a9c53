#include "planner/bar_painter.h"

#include <algorithm>

#include <QBrush>
#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace planner {
namespace {

// Neighbouring cuts in two tones, so that where one ends and the next begins is seen at once.
const QColor kCutFills[] = {QColor(204, 224, 245), QColor(232, 238, 212)};
const QColor kOutline(60, 60, 60);
const QColor kKerf(90, 90, 90);
const QColor kZone(200, 40, 40);
const QColor kKept(40, 120, 40);    // a remnant that goes back to the yard
const QColor kScrap(150, 150, 150); // a remnant too short to keep

// The text fits the rectangle with a little room left at both sides.
bool fits(const QFontMetricsF& metrics, const QString& text, const QRectF& rect) {
    return metrics.horizontalAdvance(text) + metrics.averageCharWidth() <= rect.width();
}

void drawInside(QPainter& painter, const QRectF& rect, const QStringList& lines) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    QStringList shown;
    for (const QString& line : lines) {
        if (fits(metrics, line, rect)) {
            shown.append(line);
        }
    }
    if (shown.isEmpty() || metrics.height() * static_cast<double>(shown.size()) > rect.height()) {
        return;
    }
    painter.drawText(rect, Qt::AlignCenter, shown.join(u'\n'));
}

// Diagonal lines drawn one by one rather than a brush pattern, whose lines are a pixel of the
// device apart: fine on a screen, a grey dust at the 300 dots per inch of paper.
void hatch(QPainter& painter, const QRectF& rect, const QColor& ink, double line) {
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    QPen pen(ink);
    pen.setWidthF(std::max(line / 14, 1.0));
    painter.setPen(pen);
    const double step = line * 0.45;
    for (double x = rect.left() - rect.height(); x < rect.right(); x += step) {
        painter.drawLine(QPointF(x, rect.bottom()), QPointF(x + rect.height(), rect.top()));
    }
    painter.restore();
}

} // namespace

QString cutText(const DrawnCut& cut) {
    const QString length = QStringLiteral("%1 mm").arg(cut.length);
    return cut.mark.isEmpty() ? length : cut.mark + u'　' + length;
}

void paintSplice(QPainter& painter, const DrawnSplice& splice) {
    painter.save();
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    painter.setPen(Qt::black);
    painter.drawText(splice.caption, Qt::AlignLeft | Qt::AlignVCenter, splice.captionText);

    QPen outline(kOutline);
    outline.setWidthF(std::max(line / 16, 1.0));
    for (std::size_t i = 0; i < splice.segments.size(); ++i) {
        const DrawnCut& segment = splice.segments[i];
        painter.setPen(outline);
        painter.setBrush(kCutFills[i % 2]);
        painter.drawRect(segment.rect);
        painter.setPen(Qt::black);
        const QString length = QString::number(segment.length);
        if (fits(metrics, segment.mark, segment.rect) && fits(metrics, length, segment.rect)) {
            drawInside(painter, segment.rect, {segment.mark, length});
        } else {
            drawInside(painter, segment.rect, {length});
        }
    }
    // The two segments of a lap or weld lie side by side along the overlap: the one ending above,
    // the one beginning below, each in its own tone.
    for (std::size_t k = 0; k < splice.overlaps.size(); ++k) {
        const QRectF& overlap = splice.overlaps[k];
        const double half = overlap.height() / 2;
        painter.setPen(outline);
        painter.setBrush(kCutFills[k % 2]);
        painter.drawRect(QRectF(overlap.left(), overlap.top(), overlap.width(), half));
        painter.setBrush(kCutFills[(k + 1) % 2]);
        painter.drawRect(QRectF(overlap.left(), overlap.top() + half, overlap.width(), half));
    }
    // The stretches no joint may touch, hatched over the segments so that both stay readable.
    for (const QRectF& zone : splice.zones) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(kZone, Qt::BDiagPattern));
        painter.drawRect(zone);
    }
    // Each joint's centre: a sleeve over the bar for a coupler, else a tick below the bar (the
    // caption is above it).
    const QRectF& bar = splice.bar;
    const double reach = bar.height() * 0.25;
    for (const double x : splice.joints) {
        if (splice.method == plan::joints::Method::Coupler) {
            const double w = std::max(line * 0.5, 3.0);
            painter.setPen(outline);
            painter.setBrush(kKerf);
            painter.drawRect(QRectF(x - w / 2, bar.top() - reach * 0.2, w, bar.height() + reach));
        } else {
            QPen tick(Qt::black);
            tick.setWidthF(std::max(line / 10, 1.5));
            painter.setPen(tick);
            painter.drawLine(QPointF(x, bar.bottom() - reach * 0.4),
                             QPointF(x, bar.bottom() + reach));
        }
    }
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);

    QFont big = painter.font();
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(Qt::black);
    painter.drawText(splice.count, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("× %1 根").arg(splice.bars));
    painter.restore();
}

void paintHeading(QPainter& painter, const DrawnHeading& heading) {
    painter.save();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(heading.rect, Qt::AlignLeft | Qt::AlignVCenter, heading.text);
    painter.restore();
}

void paintBar(QPainter& painter, const DrawnBar& bar) {
    painter.save();
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    painter.setPen(Qt::black);
    painter.drawText(bar.caption, Qt::AlignLeft | Qt::AlignVCenter, bar.captionText);

    QPen outline(kOutline);
    outline.setWidthF(std::max(line / 16, 1.0));
    outline.setCosmetic(false);

    for (std::size_t i = 0; i < bar.cuts.size(); ++i) {
        const DrawnCut& cut = bar.cuts[i];
        painter.setPen(outline);
        painter.setBrush(kCutFills[i % 2]);
        painter.drawRect(cut.rect);
        painter.setPen(Qt::black);
        const QString length = QString::number(cut.length);
        if (!cut.mark.isEmpty() && fits(metrics, cut.mark, cut.rect) &&
            fits(metrics, length, cut.rect)) {
            drawInside(painter, cut.rect, {cut.mark, length});
        } else {
            drawInside(painter, cut.rect, {length});
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kKerf);
    for (const QRectF& kerf : bar.kerfs) {
        painter.drawRect(kerf);
    }
    if (!bar.remnant.isEmpty()) {
        const QColor ink = bar.reusable ? kKept : kScrap;
        painter.setBrush(Qt::white);
        painter.drawRect(bar.remnant);
        hatch(painter, bar.remnant, ink, line);
        painter.setPen(bar.reusable ? kKept.darker(150) : Qt::black);
        const QString what = bar.reusable ? QStringLiteral("余料") : QStringLiteral("废料");
        const QString mm = QString::number(bar.remnantMm);
        const QString oneLine = what + u' ' + mm;
        // On one line when it fits, else on two; a white ground keeps it readable over the hatch.
        QStringList lines{oneLine};
        if (!fits(metrics, oneLine, bar.remnant)) {
            lines = {what, mm};
        }
        double widest = 0;
        for (const QString& l : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(l));
        }
        const double w = widest + metrics.averageCharWidth();
        const double h = line * static_cast<double>(lines.size());
        if (w <= bar.remnant.width() && h <= bar.remnant.height()) {
            const QPointF mid = bar.remnant.center();
            painter.fillRect(QRectF(mid.x() - w / 2, mid.y() - h / 2, w, h), Qt::white);
            painter.drawText(bar.remnant, Qt::AlignCenter, lines.join(u'\n'));
        }
    }
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.bar);

    QFont big = painter.font();
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(Qt::black);
    painter.drawText(bar.count, Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("× %1").arg(bar.bars));
    painter.restore();
}

} // namespace planner
