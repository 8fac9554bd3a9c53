#pragma once

#include "planner/bar_layout.h"

class QPainter;

// Draws a laid-out bar drawing with whatever font the painter has: on the screen, in a PDF and
// on a printer alike. Everything is drawn as lines, fills and text, never as a bitmap, so it is
// sharp at any scale.
namespace planner {

void paintHeading(QPainter& painter, const DrawnHeading& heading);
void paintBar(QPainter& painter, const DrawnBar& bar);
// A long bar's layout: its segments in two tones, each lap or weld as the two bars lying side by
// side, each joint's centre ticked (a coupler as its sleeve), and "× 4 根".
void paintSplice(QPainter& painter, const DrawnSplice& splice);

// A cut in words, for a tooltip or a screen reader: "KL1-1　6457 mm".
[[nodiscard]] QString cutText(const DrawnCut& cut);

} // namespace planner
