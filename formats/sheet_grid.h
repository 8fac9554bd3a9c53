#pragma once

#include "formats/records.h"
#include "formats/workbook.h"

#include <map>

#include <QString>

// Inside the workbook readers: a sheet's cells gathered in any order, merged ranges filled, and
// the rows handed out as Records, within the limits that keep a hostile file from taking all
// memory.
namespace formats {

class SheetGrid {
public:
    // `cellsLeft` is shared by every sheet of a workbook and counts down.
    SheetGrid(const WorkbookLimits& limits, qint64& cellsLeft)
        : limits_(limits), cellsLeft_(cellsLeft) {}

    // `row` from 1, `column` from 0. False when the cell is past a limit.
    [[nodiscard]] bool put(int row, int column, const QString& text, bool quoted = false);
    // Every cell of the range takes the top-left cell's value. False past a limit.
    [[nodiscard]] bool merge(int top, int left, int bottom, int right);

    [[nodiscard]] Records records() const;

private:
    struct Row {
        QStringList cells;
        QList<bool> quoted;
    };
    [[nodiscard]] bool reserve(Row& row, int column);

    const WorkbookLimits& limits_;
    qint64& cellsLeft_;
    std::map<int, Row> rows_;
};

// "D12" as row 12, column 3; nothing for anything else.
struct CellReference {
    int row = 0;    // from 1
    int column = 0; // from 0
};
[[nodiscard]] std::optional<CellReference> cellReference(QStringView text);

} // namespace formats
