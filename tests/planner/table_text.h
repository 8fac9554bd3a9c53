#pragma once

#include "planner/list_tables.h"
#include "planner/text_table.h"

#include <vector>

#include <QString>
#include <QStringList>

// Tables written and compared in one line each, so that a failing comparison prints them:
// rows separated by ';', cells by ',' ("A1,12,5800,4;A2,12,3000,2").
inline std::vector<planner::TextTable::Row> rowsFrom(const QString& text, int columns) {
    std::vector<planner::TextTable::Row> rows;
    if (text.isEmpty()) {
        return rows;
    }
    for (const QString& line : text.split(u';')) {
        QStringList cells = line.split(u',');
        cells.resize(columns);
        rows.push_back(cells);
    }
    return rows;
}

// Each row's mark, 形状, 参数 and its cells in the list file's other columns.
inline QString otherCellsOf(const planner::TextTable& table) {
    QStringList lines;
    for (const planner::TextTable::Row& row : table.rows()) {
        QStringList cells{row.value(planner::kMark), row.value(planner::kShape),
                          row.value(planner::kParameters)};
        cells.append(row.mid(planner::kPieceColumns));
        lines.append(cells.join(u','));
    }
    return lines.join(u';');
}

// The first `columns` cells of every row.
inline QString textOf(const planner::TextTable& table, int columns) {
    QStringList lines;
    for (const planner::TextTable::Row& row : table.rows()) {
        lines.append(row.mid(0, columns).join(u','));
    }
    return lines.join(u';');
}
