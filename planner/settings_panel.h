#pragma once

#include <array>

#include <QWidget>

class QDataWidgetMapper;
class QLineEdit;
class QUndoStack;

namespace planner {

class JointSettingsBox;
class ListTables;
class TableView;

// The settings kept with the list: the stock lengths (one per row), the kerf, the shortest
// remnant worth keeping, the time allowed and the project's name, how long bars are joined, the
// yard's offcuts, and the grade table that says which steel a list's letters (C25) and levels
// (三级) stand for. Every field edits the document's tables, so each change is a step on the undo
// stack, and a wrong value is marked red with its reason like a cell of the list.
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

private:
    void showProblems();

    ListTables& tables_;
    TableView* stock_ = nullptr;
    TableView* offcuts_ = nullptr;
    TableView* grades_ = nullptr;
    QDataWidgetMapper* mapper_ = nullptr;
    JointSettingsBox* joints_ = nullptr;
    std::array<QLineEdit*, 4> fields_{}; // by SettingColumn
};

} // namespace planner
