#pragma once

#include "plan/plan.h"

#include <cstdint>
#include <vector>

#include <QRectF>
#include <QString>

// Where each part of the bar drawing goes: every pattern a horizontal bar to one scale, its cuts
// in cutting order, the kerf between them and the remnant at the end. The screen and the paper
// draw from the same layout, so they show the same thing.
namespace planner {

// Sizes in the units of whatever is drawn on (pixels, or dots of a page), from the font's line.
struct BarMetrics {
    double line = 16;  // one line of text
    double margin = 8; // left and right
    double count = 64; // room right of the bars for "× 12"
    [[nodiscard]] double headingHeight() const { return line * 1.8; }
    [[nodiscard]] double captionHeight() const { return line * 1.3; }
    [[nodiscard]] double barHeight() const { return line * 2.6; }
    [[nodiscard]] double rowHeight() const { return captionHeight() + barHeight() + line * 0.7; }
};

struct DrawnCut {
    QRectF rect;
    QString mark;
    std::int64_t length = 0;
};

struct DrawnBar {
    std::size_t group = 0;   // index into plan.groups
    std::size_t pattern = 0; // index into the group's patterns
    QRectF caption;          // "方案 1　新购原材 12000 mm"
    QString captionText;
    QRectF bar; // the whole stock bar, to scale
    std::vector<DrawnCut> cuts;
    std::vector<QRectF> kerfs;
    QRectF remnant; // empty when the bar is used up
    std::int64_t remnantMm = 0;
    bool reusable = false;
    QRectF count; // "× 5"
    std::int64_t bars = 0;
};

struct DrawnHeading {
    QRectF rect;
    QString text; // "Φ12　新购原材 12000×5、9000×2　最优"
};

struct BarSheet {
    std::vector<DrawnHeading> headings;
    std::vector<DrawnBar> bars;
    double height = 0;
};

// The longest bar of the plan, which sets the scale.
[[nodiscard]] std::int64_t longestStock(const plan::Plan& plan);

// One pattern's row with its top-left corner at (left, top), `unitsPerMm` to scale.
[[nodiscard]] DrawnBar layoutPattern(const plan::Pattern& pattern, std::size_t number, double left,
                                     double top, double unitsPerMm, const BarMetrics& metrics);

// How much room the bars get in a given width, per millimetre of the longest bar.
[[nodiscard]] double scaleFor(double width, std::int64_t longest, const BarMetrics& metrics);

// The heading of a diameter's drawing.
[[nodiscard]] QString headingText(const plan::GroupPlan& group);

// Every diameter under its heading, in a drawing `width` wide.
[[nodiscard]] BarSheet layoutPlan(const plan::Plan& plan, double width, const BarMetrics& metrics);

} // namespace planner
