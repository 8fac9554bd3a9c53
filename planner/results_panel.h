#pragma once

#include "plan/plan.h"

#include <QWidget>

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
    void clear();
    void setStale(bool stale);

    [[nodiscard]] BarDrawing* drawing() const { return drawing_; }
    [[nodiscard]] const SheetModel& summaryModel() const { return *summary_; }
    [[nodiscard]] const SheetModel& patternsModel() const { return *patterns_; }
    [[nodiscard]] bool stale() const;

private:
    QLabel* staleNotice_ = nullptr;
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
