#pragma once

#include "plan/list.h"
#include "planner/text_table.h"

#include <optional>

#include <QString>

#include "yard/values.h"

// The tables checked by the optimiser's own rules (plan::checkList), the same the command
// applies to a file, and each error turned back into the cell it is about.
namespace planner {

class ListTables;

enum class Part { Pieces, Offcuts, Stock, Settings, Grades };

struct Spot {
    Part part = Part::Pieces;
    int row = 0; // 0-based, in the part's table
    int column = 0;
};

struct ListCheck {
    std::optional<plan::CuttingList> list; // when nothing is wrong
    TextTable::Problems pieces;
    TextTable::Problems offcuts;
    TextTable::Problems stock;
    TextTable::Problems settings;
    TextTable::Problems grades;
    // What the design code advises against but allows, by cell of the pieces table: the list is
    // planned all the same.
    TextTable::Problems pieceWarnings;
    // The first thing wrong, in the order of the pieces, the offcuts, the stock lengths, the
    // settings and the grade table, as a sentence naming its row: "清单第 3 行，长度：不是数字".
    QString first;
    Spot firstAt;
};

// With `yard`, its stock is the offcuts, in place of the offcuts table: those of the list's steels.
[[nodiscard]] ListCheck checkTables(const ListTables& tables,
                                    const std::vector<yard::Moved>* yard = nullptr);

} // namespace planner
