#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

// Blocks of cells as Excel and WPS put them on the clipboard: a row per line, cells separated by
// tabs, quoted where a cell holds a tab, a quote or a line break.
namespace planner {

using Block = std::vector<QStringList>;

// The cells of a pasted text, row by row. Tabs separate them; text copied from a CSV file (with
// semicolons or commas and no tab) is split the same way a list file is. Blank lines carry no
// row.
[[nodiscard]] Block cellsOf(const QString& text);

// Rows of cells as a spreadsheet pastes them: tab-separated, one line each.
[[nodiscard]] QString textOf(const Block& rows);

// When the pasted text begins with a header naming the columns of a list (编号, 直径, 长度, 根数,
// and optionally 形状 and 参数, in any order), its rows rearranged into the table's columns:
// mark, diameter, length, count, shape, parameters, then the list's `otherColumns`, each filled
// from the pasted column of the same name (case ignored) or left empty. Rows with nothing in
// those columns are left out. Nothing when it has no such header.
[[nodiscard]] std::optional<Block> piecesWithHeader(const QString& text,
                                                    const QStringList& otherColumns);

// The same for a table of yard offcuts: 直径, 长度, 根数, 级别.
[[nodiscard]] std::optional<Block> offcutsWithHeader(const QString& text);

} // namespace planner
