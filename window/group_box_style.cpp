#include "window/group_box_style.h"

#include <QPainter>
#include <QStyleOptionGroupBox>

namespace window {

QRect GroupBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl part, const QWidget* widget) const {
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (control == CC_GroupBox && part == SC_GroupBoxFrame) {
        const QRect label = QProxyStyle::subControlRect(control, option, SC_GroupBoxLabel, widget);
        rect.setTop(label.center().y());
    }
    return rect;
}

void GroupBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The frame first, with a gap where the caption stands; then the caption alone.
    QStyleOptionGroupBox frame(*box);
    frame.subControls &= ~(SC_GroupBoxLabel | SC_GroupBoxCheckBox);
    QRegion outside(option->rect);
    if (!box->text.isEmpty()) {
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
        outside -= label.adjusted(-2, 0, 2, 0);
    }
    painter->save();
    painter->setClipRegion(outside);
    QProxyStyle::drawComplexControl(control, &frame, painter, widget);
    painter->restore();

    QStyleOptionGroupBox caption(*box);
    caption.subControls &= ~SC_GroupBoxFrame;
    QProxyStyle::drawComplexControl(control, &caption, painter, widget);
}

void GroupBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect outer = option->rect.adjusted(0, 0, -2, -2);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(option->palette.color(QPalette::Mid), 0));
    painter->drawRect(outer);
    painter->setPen(QPen(option->palette.color(QPalette::Light), 0));
    painter->drawRect(outer.translated(1, 1));
    painter->restore();
}

} // namespace window
