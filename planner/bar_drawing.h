#pragma once

#include "plan/plan.h"
#include "planner/bar_layout.h"

#include <optional>

#include <QWidget>

namespace planner {

// The plan drawn on screen: under each diameter's heading, every pattern as a bar to scale with
// its cuts labelled, the remnant hatched and how many bars are cut that way; then each long bar
// as it is put together from its segments, with its joints. It follows the window's width; a cut
// too narrow for its label names itself in a tooltip.
class BarDrawing final : public QWidget {
    Q_OBJECT

public:
    explicit BarDrawing(QWidget* parent = nullptr);

    void setPlan(const plan::Plan& plan);
    void clear();

    // What is drawn now, in the widget's coordinates.
    [[nodiscard]] const BarSheet& sheet() const { return sheet_; }
    [[nodiscard]] BarMetrics metrics() const;

    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;
    [[nodiscard]] QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();

    std::optional<plan::Plan> plan_;
    BarSheet sheet_;
};

} // namespace planner
