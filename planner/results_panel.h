#pragma once

#include "plan/floors.h"
#include "plan/plan.h"

#include <optional>

#include <QWidget>

class QComboBox;
class QLabel;
class QTabWidget;
class QTableView;

namespace planner {

class BarDrawing;
class SheetModel;

// The plan as the window shows it: what to buy and whether it is proven least, the long bars'
// joints when there are any, the summary per
// diameter, the drawing of every pattern and the table of patterns. When the list has changed
// since the plan was made, a notice says so.
class ResultsPanel final : public QWidget {
    Q_OBJECT

public:
    explicit ResultsPanel(QWidget* parent = nullptr);

    void showPlan(const plan::Plan& plan);
    // A building planned floor by floor: the whole building first (what to buy per steel, and
    // every floor's summary rows), and a choice of floor that shows that floor's plan.
    void showBuilding(const plan::BuildingPlan& building);
    void clear();
    void setStale(bool stale);

    [[nodiscard]] BarDrawing* drawing() const { return drawing_; }
    [[nodiscard]] const SheetModel& summaryModel() const { return *summary_; }
    [[nodiscard]] const SheetModel& patternsModel() const { return *patterns_; }
    [[nodiscard]] bool stale() const;
    [[nodiscard]] QComboBox* floorView() const { return floorView_; }

private:
    void showParts(const plan::Plan& plan);
    void floorPicked(int index);

    QLabel* staleNotice_ = nullptr;
    QComboBox* floorView_ = nullptr; // only for a building planned floor by floor
    std::optional<plan::BuildingPlan> building_;
    QLabel* toBuy_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* joints_ = nullptr; // the long bars' joints; hidden without any
    SheetModel* summary_ = nullptr;
    SheetModel* patterns_ = nullptr;
    QTableView* summaryView_ = nullptr;
    QTableView* patternsView_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    BarDrawing* drawing_ = nullptr;
};

} // namespace planner
