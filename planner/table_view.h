#pragma once

#include "planner/table_clipboard.h"

#include <functional>
#include <map>
#include <optional>

#include <QStringList>
#include <QTableView>

class QUndoStack;

namespace planner {

class TextTable;

// A view on a TextTable that edits like a spreadsheet: type over a cell, paste a block copied
// from Excel or WPS at the current cell, copy the selected cells out the same way; insert,
// duplicate, delete and move whole rows. Every change is one step on the undo stack.
class TableView final : public QTableView {
    Q_OBJECT

public:
    // A pasted text that starts with a header naming the table's columns, as its rows.
    using HeaderReader = std::function<std::optional<Block>(const QString&)>;

    TableView(TextTable& table, QUndoStack& stack, QWidget* parent = nullptr);

    [[nodiscard]] TextTable& table() const { return table_; }
    void setHeaderReader(HeaderReader reader) { headerReader_ = std::move(reader); }
    // Cells of this column are not typed into: asking to edit one asks for its dialog instead.
    void setDialogColumn(int column) { dialogColumn_ = column; }
    // The texts a cell of each column may be chosen from as it is edited (anything else may
    // still be typed); the columns not named have none.
    void setChoices(std::map<int, QStringList> choices) { choices_ = std::move(choices); }
    [[nodiscard]] QStringList choices(int column) const;

    // The selected cells, a rectangle around them, as tab-separated lines (hidden columns left
    // out); empty when nothing is selected.
    [[nodiscard]] QString copiedText() const;
    // Writes a block at the current cell (a block with a header: whole rows at the current row),
    // adding rows as needed; false when there was nothing to paste.
    bool paste(const QString& text);

    void insertRow();
    void duplicateRows();
    void deleteRows();
    void moveRows(int by);

    // Sizes the shown columns from `first` on to their header and texts, at most `widest` pixels
    // each; returns the width the view needs to show every shown column without scrolling.
    int fitColumns(int first, int widest);

    // The rows with a selected or current cell, ascending, without the row ready for new entries.
    [[nodiscard]] std::vector<int> chosenRows() const;
    void goTo(int row, int column);

signals:
    void dialogRequested(int row);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    // A plain block pasted at (top, left) as it lands on the columns shown, as the user sees the
    // table: a hidden column between them is written back with its own text.
    [[nodiscard]] Block intoShownColumns(const Block& block, int top, int left) const;

    TextTable& table_;
    QUndoStack& stack_;
    HeaderReader headerReader_;
    int dialogColumn_ = -1;
    std::map<int, QStringList> choices_;
};

} // namespace planner
