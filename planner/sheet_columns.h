#pragma once

#include "formats/sheet.h"

#include <vector>

#include <QFontMetricsF>

// The widths of a printed table's columns: the cutting sheet's tables fill the page's width,
// and a narrow page squeezes the columns that have the most to give.
namespace planner {

// The width below which a column's text would have to break inside a number or a word: a
// figure whole, a header or text between its blanks whole, a short Chinese word (最优, 合计,
// 回库) whole, a longer Chinese text between any two characters after the fourth.
std::vector<double> narrowestColumns(const formats::Table& table, const QFontMetricsF& body,
                                     const QFontMetricsF& bold, double pad);

// Each column's width when nothing breaks.
std::vector<double> naturalColumns(const formats::Table& table, const QFontMetricsF& body,
                                   const QFontMetricsF& bold, double pad);

// Column widths filling `width`: each its natural width, stretched, when they fit; else every
// column at least its narrowest, and what is left shared out by how much more each would like.
std::vector<double> fittedColumns(const std::vector<double>& natural,
                                  const std::vector<double>& narrow, double width);

} // namespace planner
