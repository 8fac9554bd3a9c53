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

// One way a long bar is made (a layout of a plan::joints::SplicedBar): the finished bar to its
// own scale, each segment where it lies in it, the stretches two segments share at a lap or weld,
// and each joint's centre.
struct DrawnSplice {
    std::size_t group = 0;   // index into plan.groups
    std::size_t spliced = 0; // index into the group's spliced bars
    std::size_t layout = 0;  // index into the bar's layouts
    QRectF caption;          // "KL1-1　15000 mm　绑扎搭接 1050 mm　做法 1/2"
    QString captionText;
    QRectF bar; // the finished bar
    plan::joints::Method method = plan::joints::Method::Lap;
    // Each segment's own stretch, without the overlaps it shares with its neighbours: the
    // segments' marks and lengths are written there.
    std::vector<DrawnCut> segments;
    std::vector<QRectF> overlaps; // between segments k and k + 1; empty for couplers
    std::vector<double> joints;   // x of each joint's centre
    std::vector<QRectF> zones;    // stretches of the bar no joint may touch (禁止接头区)
    std::int64_t overlapMm = 0;   // of each joint
    QRectF count;                 // "× 4 根"
    std::int64_t bars = 0;
};

struct DrawnHeading {
    QRectF rect;
    QString text; // "Φ12　新购原材 12000×5、9000×2　最优"
};

struct BarSheet {
    std::vector<DrawnHeading> headings;
    std::vector<DrawnBar> bars;
    std::vector<DrawnSplice> splices;
    double height = 0;
};

// The longest bar of the plan, which sets the scale.
[[nodiscard]] std::int64_t longestStock(const plan::Plan& plan);

// One pattern's row with its top-left corner at (left, top), `unitsPerMm` to scale.
[[nodiscard]] DrawnBar layoutPattern(const plan::Pattern& pattern, std::size_t number, double left,
                                     double top, double unitsPerMm, const BarMetrics& metrics);

// The longest finished long bar of the plan, which sets the long bars' scale; 0 without any.
[[nodiscard]] std::int64_t longestSpliced(const plan::Plan& plan);

// Layout `layout` of a long bar with its top-left corner at (left, top), `unitsPerMm` to scale.
[[nodiscard]] DrawnSplice layoutSplice(const plan::joints::SplicedBar& bar, std::size_t layout,
                                       double left, double top, double unitsPerMm,
                                       const BarMetrics& metrics);

// How much room the bars get in a given width, per millimetre of the longest bar.
[[nodiscard]] double scaleFor(double width, std::int64_t longest, const BarMetrics& metrics);

// The heading of a diameter's drawing.
[[nodiscard]] QString headingText(const plan::GroupPlan& group);

// Every diameter under its heading, in a drawing `width` wide: its patterns to the scale of the
// longest stock bar, then its long bars, layout by layout, to the scale of the longest of them.
[[nodiscard]] BarSheet layoutPlan(const plan::Plan& plan, double width, const BarMetrics& metrics);

} // namespace planner
