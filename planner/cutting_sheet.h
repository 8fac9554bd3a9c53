#pragma once

#include "plan/floors.h"
#include "plan/plan.h"

#include <optional>
#include <vector>

#include <QDate>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

// The cutting sheet on paper, for a PDF file or a printer alike: the list the plan was made
// from, the summary per steel, and every steel's patterns as a table and as drawn bars, then
// its long bars' segments and joints; with the date and the project's name on every page.
namespace planner {

struct SheetContent {
    plan::Plan plan; // for a building planned floor by floor, its totals (plan::buildingTotals)
    std::optional<plan::BuildingPlan> building;
    // 编号, 钢筋, 长度, 根数, 形状 of each row planned, and its 楼层 when it names one.
    std::vector<QStringList> list;
    QString project; // may be empty
    QDate date;
};

// Lays the sheet out on pages of the device's size and paints them; returns how many.
int printSheet(QPagedPaintDevice& device, const SheetContent& content);

} // namespace planner
