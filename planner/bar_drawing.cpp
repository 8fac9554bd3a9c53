#include "planner/bar_drawing.h"

#include "planner/bar_painter.h"
#include "planner/joint_words.h"

#include <cmath>

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace planner {

BarDrawing::BarDrawing(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("barDrawing"));
    setAccessibleName(QStringLiteral("下料图"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

BarMetrics BarDrawing::metrics() const {
    const QFontMetricsF font(this->font());
    BarMetrics m;
    m.line = font.height();
    m.margin = font.averageCharWidth() * 2;
    QFont bold = this->font();
    bold.setBold(true);
    m.count = QFontMetricsF(bold).horizontalAdvance(QStringLiteral("× 9999 根")) + m.line;
    return m;
}

void BarDrawing::setPlan(const plan::Plan& plan) {
    plan_ = plan;
    relayout();
}

void BarDrawing::clear() {
    plan_.reset();
    relayout();
}

int BarDrawing::heightForWidth(int width) const {
    if (!plan_) {
        return 0;
    }
    return static_cast<int>(std::ceil(layoutPlan(*plan_, width, metrics()).height));
}

QSize BarDrawing::sizeHint() const {
    const int width = 640;
    return {width, heightForWidth(width)};
}

void BarDrawing::relayout() {
    sheet_ = plan_ ? layoutPlan(*plan_, width(), metrics()) : BarSheet{};
    setMinimumHeight(static_cast<int>(std::ceil(sheet_.height)));
    updateGeometry();
    update();
}

void BarDrawing::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (plan_) {
        sheet_ = layoutPlan(*plan_, width(), metrics());
        setMinimumHeight(static_cast<int>(std::ceil(sheet_.height)));
    }
}

void BarDrawing::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    const QRectF dirty = event->rect();
    for (const DrawnHeading& heading : sheet_.headings) {
        if (heading.rect.intersects(dirty)) {
            paintHeading(painter, heading);
        }
    }
    for (const DrawnBar& bar : sheet_.bars) {
        if (bar.caption.united(bar.bar).united(bar.count).intersects(dirty)) {
            paintBar(painter, bar);
        }
    }
    for (const DrawnSplice& splice : sheet_.splices) {
        // The joints' ticks reach a little past the bar.
        const QRectF bar = splice.bar.adjusted(0, -splice.bar.height(), 0, splice.bar.height());
        if (splice.caption.united(bar).united(splice.count).intersects(dirty)) {
            paintSplice(painter, splice);
        }
    }
}

bool BarDrawing::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QPointF at = help->pos();
        for (const DrawnBar& bar : sheet_.bars) {
            for (const DrawnCut& cut : bar.cuts) {
                if (cut.rect.contains(at)) {
                    QToolTip::showText(help->globalPos(), cutText(cut), this);
                    return true;
                }
            }
        }
        for (const DrawnSplice& splice : sheet_.splices) {
            for (const DrawnCut& segment : splice.segments) {
                if (segment.rect.contains(at)) {
                    QToolTip::showText(help->globalPos(), cutText(segment), this);
                    return true;
                }
            }
            for (const QRectF& overlap : splice.overlaps) {
                if (overlap.contains(at)) {
                    QToolTip::showText(help->globalPos(),
                                       overlapText(splice.method, splice.overlapMm), this);
                    return true;
                }
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

} // namespace planner
