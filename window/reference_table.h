#pragma once

#include <QFrame>

namespace window {

// The guide table of the stirrup group: hook allowances by bar diameter, black on white inside
// a sunken two-pixel border. Drawn rather than stored as a bitmap, so that it stays sharp on
// screens of any scale. The program never reads it.
class ReferenceTable final : public QFrame {
    Q_OBJECT

public:
    explicit ReferenceTable(QWidget* parent = nullptr);

    // The table's own size in pixels, inside the border.
    static constexpr int kWidth = 163;
    static constexpr int kHeight = 69;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace window
