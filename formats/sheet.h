#pragma once

#include "plan/floors.h"
#include "plan/plan.h"

#include <vector>

#include <QString>
#include <QStringList>

// The cutting sheet as tables of cells, drawn alike into CSV, a workbook and (in the planner)
// onto paper, so that every output says the same thing in the same words.
namespace formats {

enum class CellKind {
    Text,
    Integer,   // millimetres, counts
    Kilograms, // two decimals
    Tonnes,    // three decimals
    Percent,   // a share: 0.964 shows as 96.4%
    Yuan,      // money, two decimals
};

struct Cell {
    CellKind kind = CellKind::Text;
    QString text;      // as shown
    double number = 0; // the value behind any kind but Text
};

struct Table {
    QString title; // a workbook's sheet name: "汇总", "HRB400 Φ12"
    QStringList header;
    std::vector<std::vector<Cell>> rows;
    QString note; // a line under the table, when there is something to say about all of it
};

// Where the summary gives the joints of a plan with long bars: in two columns of its own, or
// apart (jointTotalsTable), for a page too narrow for two more columns.
enum class SummaryJoints { Columns, Apart };

// One row per steel (grade and diameter) and a total: new bars by stock length, steel bought,
// bound, 最优 or the gap, utilisation, weights, reusable remnants, waste, and the steel to buy in
// tonnes; with long bars and SummaryJoints::Columns, then the joints, the steel in their
// overlaps and what the steel, the joints and both cost; its note says what the weights are
// worked out by (massNote).
[[nodiscard]] Table summaryTable(const plan::Plan& plan,
                                 SummaryJoints joints = SummaryJoints::Columns);
// A building planned floor by floor: each floor's summary rows (its 合计 as 本层合计) with the
// floor first. The whole building's is summaryTable(plan::buildingTotals(building)).
[[nodiscard]] Table floorsTable(const plan::BuildingPlan& building);
// One row per steel with long bars and a total: the long bars, their joints, the steel in the
// joints' overlaps and what the steel, the joints and both cost.
[[nodiscard]] Table jointTotalsTable(const plan::Plan& plan);
// One row per pattern: the steel, stock, new or yard offcut, bars, the cuts in order, remnant.
[[nodiscard]] Table patternTable(const plan::GroupPlan& group);
// The patterns of every steel in one table, titled 下料单.
[[nodiscard]] Table patternTable(const plan::Plan& plan);
// The long bars of a steel (接长): a row per layout with the steel, mark, length, bars made
// this way, joint method, overlap per joint, the segments from the bar's start, the joint
// centres, the joints and the steel in their overlaps; then a total.
[[nodiscard]] Table splicedTable(const plan::GroupPlan& group);
// The long bars of every steel in one table, titled 接长.
[[nodiscard]] Table splicedTable(const plan::Plan& plan);

} // namespace formats
