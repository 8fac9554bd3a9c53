#include "window/reference_table.h"

#include <array>

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace window {
namespace {

constexpr int kRows = 4;
constexpr int kColumns = 3;
// Ruling lines, in pixels from the table's top-left; the last line closes the table.
constexpr std::array<int, kColumns + 1> kColumnLines{0, 44, 103, 162};
constexpr std::array<int, kRows + 1> kRowLines{0, 17, 34, 51, 68};

// clang-format off
constexpr std::array<std::array<const char16_t*, kColumns>, kRows> kCells{{
    {u"",       u"<=25",  u"28~40"},
    {u"5~6",    u"50~60", u"65"},
    {u"6.5~10", u"70~75", u"75~90"},
    {u"11~12",  u"90",    u"105"},
}};
// clang-format on

} // namespace

ReferenceTable::ReferenceTable(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // two pixels, as a sunken 3-D border
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("弯钩增长度参考表"));
}

void ReferenceTable::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect table(contentsRect().topLeft(), QSize(kWidth, kHeight));
    painter.fillRect(table, Qt::white);
    painter.translate(table.topLeft());
    painter.setPen(QPen(Qt::black, 0)); // a cosmetic pen: one device pixel at any scale

    for (const int x : kColumnLines) {
        painter.drawLine(x, kRowLines.front(), x, kRowLines.back());
    }
    for (const int y : kRowLines) {
        painter.drawLine(kColumnLines.front(), y, kColumnLines.back(), y);
    }
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QRect cell(QPoint(kColumnLines[column] + 1, kRowLines[row] + 1),
                             QPoint(kColumnLines[column + 1] - 1, kRowLines[row + 1] - 1));
            painter.drawText(cell, Qt::AlignCenter, QString::fromUtf16(kCells[row][column]));
        }
    }

    if (hasFocus()) {
        painter.resetTransform();
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = table.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace window
