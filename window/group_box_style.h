#pragma once

#include <QProxyStyle>

namespace window {

// Group boxes drawn the classic way: the caption sits on the frame's top line and breaks it,
// and the frame is a plain etched line, so that a check box standing on that edge hides the
// line under it. Everything else is drawn by the platform's own style.
class GroupBoxStyle final : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

} // namespace window
