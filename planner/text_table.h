#pragma once

#include <map>
#include <utility>
#include <vector>

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

class QUndoStack;

namespace planner {

// true for a cell with a warning and no problem (TextTable::setWarnings).
inline constexpr int kWarningRole = Qt::UserRole + 1;

// A table of texts as the user typed or pasted them: the pieces, the yard offcuts, the stock
// lengths and the settings are each one. Cells are never converted here; the checks of the
// optimiser read them and hand back problems, which the table shows as red cells with the
// reason in the tooltip.
//
// Every edit the views make goes through the undo stack: setData pushes a command, and the
// commands (table_edits.h) change the texts through the methods below.
class TextTable final : public QAbstractTableModel {
    Q_OBJECT

public:
    using Row = QStringList; // one text per column

    // `appendable`: a last, empty row stands ready for a new entry, as in a spreadsheet;
    // otherwise the table has the rows it is given and no more.
    TextTable(QStringList headers, bool appendable, QObject* parent = nullptr);

    // Columns of figures, shown to the right as a spreadsheet shows numbers.
    void setFigureColumns(QList<int> columns) { figures_ = std::move(columns); }

    // Where the views' edits go; without a stack they change the texts directly.
    void setUndoStack(QUndoStack* stack) { stack_ = stack; }

    [[nodiscard]] const std::vector<Row>& rows() const { return rows_; }
    [[nodiscard]] int dataRows() const { return static_cast<int>(rows_.size()); }
    [[nodiscard]] QString text(int row, int column) const;
    [[nodiscard]] bool appendable() const { return appendable_; }
    // A row with nothing but blanks in it carries nothing.
    [[nodiscard]] bool blankRow(int row) const;

    // The changes the edit commands make. A block reaching past the last row adds rows.
    void writeBlock(int top, int left, const std::vector<Row>& block);
    void insertAt(int at, const std::vector<Row>& rows);
    [[nodiscard]] std::vector<Row> takeRows(int at, int count);
    void truncate(int count);
    void replaceAll(std::vector<Row> rows);
    // Every row, and the columns with them: a document with columns of its own was opened.
    void replaceAll(QStringList headers, std::vector<Row> rows);

    // What is wrong with a cell, by (row, column); cells not named are fine.
    using Problems = std::map<std::pair<int, int>, QString>;
    void setProblems(Problems problems);
    [[nodiscard]] QString problem(int row, int column) const;
    // What is allowed but advised against (a lap on a thick bar): shown amber, never in the way
    // of a run; a problem of the same cell is shown instead.
    void setWarnings(Problems warnings);
    [[nodiscard]] QString warning(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The texts changed, by any edit, undo or redo.
    void textsChanged();
    // The cells an edit, undo or redo just changed, so that a view can show them; after rows
    // were removed, the row now standing where they were.
    void touched(int top, int left, int bottom, int right);

private:
    QStringList headers_;
    bool appendable_;
    std::vector<Row> rows_;
    Problems problems_;
    Problems warnings_;
    QList<int> figures_;
    QUndoStack* stack_ = nullptr;
};

} // namespace planner
