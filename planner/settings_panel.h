#pragma once

#include <array>
#include <vector>

#include <QWidget>

#include "yard/values.h"

class QDataWidgetMapper;
class QGroupBox;
class QLineEdit;
class QStackedWidget;
class QTableView;
class QUndoStack;

namespace planner {

class JointSettingsBox;
class ListTables;
class TableView;
class YardStockModel;

// The settings kept with the list: the stock lengths (one per row), the kerf, the shortest
// remnant worth keeping, the time allowed and the project's name, how long bars are joined, the
// yard's offcuts, and the grade table that says which steel a list's letters (C25) and levels
// (三级) stand for. Every field edits the document's tables, so each change is a step on the undo
// stack, and a wrong value is marked red with its reason like a cell of the list. While a yard
// (余料库) is open, 库存余料 shows its stock instead of the list's own offcuts, read-only: those
// are what a plan is then made with.
class SettingsPanel final : public QWidget {
    Q_OBJECT

public:
    SettingsPanel(ListTables& tables, QUndoStack& stack, QWidget* parent = nullptr);

    [[nodiscard]] TableView* stockView() const { return stock_; }
    [[nodiscard]] TableView* offcutsView() const { return offcuts_; }
    [[nodiscard]] TableView* gradesView() const { return grades_; }
    [[nodiscard]] QLineEdit* field(int column) const;
    // The widget that edits a column of the settings table: a field, or a joint setting's.
    [[nodiscard]] QWidget* editor(int column) const;
    // The yard's stock in place of the list's offcuts, under the yard's name; an empty name
    // shows the list's offcuts again.
    void showYard(const QString& name, std::vector<yard::Moved> stock);
    [[nodiscard]] QTableView* yardView() const { return yardView_; }

private:
    void showProblems();

    ListTables& tables_;
    TableView* stock_ = nullptr;
    TableView* offcuts_ = nullptr;
    TableView* grades_ = nullptr;
    QGroupBox* offcutsBox_ = nullptr;
    QStackedWidget* offcutsPages_ = nullptr;
    QTableView* yardView_ = nullptr;
    YardStockModel* yardStock_ = nullptr;
    QDataWidgetMapper* mapper_ = nullptr;
    JointSettingsBox* joints_ = nullptr;
    std::array<QLineEdit*, 4> fields_{}; // by SettingColumn
};

} // namespace planner
