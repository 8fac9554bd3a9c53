#pragma once

#include "planner/text_table.h"

#include <vector>

#include <QUndoCommand>

// The edits of a TextTable, each undoable: the only code that changes a table's texts once a
// document is open. A command keeps what it replaced, so undo puts back exactly that.
namespace planner {

// Texts written into a block of cells from (top, left): a typed cell, a pasted block, a row
// refilled by the shape dialog. A block reaching past the last row adds rows, and undo takes
// them away again.
class SetBlock final : public QUndoCommand {
public:
    SetBlock(TextTable& table, int top, int left, std::vector<TextTable::Row> block,
             const QString& text);
    void undo() override;
    void redo() override;

private:
    TextTable& table_;
    int top_;
    int left_;
    int rowsBefore_;
    std::vector<TextTable::Row> after_;
    std::vector<TextTable::Row> before_; // the cells the block covered that already existed
};

// Whole rows put in before row `at` (new, duplicated).
class InsertRows final : public QUndoCommand {
public:
    InsertRows(TextTable& table, int at, std::vector<TextTable::Row> rows, const QString& text);
    void undo() override;
    void redo() override;

private:
    TextTable& table_;
    int at_;
    std::vector<TextTable::Row> rows_;
};

// Rows taken out, wherever they are; undo puts each back in its place.
class RemoveRows final : public QUndoCommand {
public:
    RemoveRows(TextTable& table, std::vector<int> rows, const QString& text);
    void undo() override;
    void redo() override;

private:
    TextTable& table_;
    std::vector<int> indices_; // ascending
    std::vector<TextTable::Row> removed_;
};

// `count` rows from `first` moved by `by` places (up when negative).
class MoveRows final : public QUndoCommand {
public:
    MoveRows(TextTable& table, int first, int count, int by, const QString& text);
    void undo() override;
    void redo() override;

private:
    void move(int from, int to);
    TextTable& table_;
    int first_;
    int count_;
    int by_;
};

// Every row replaced at once: a sort.
class ReplaceRows final : public QUndoCommand {
public:
    ReplaceRows(TextTable& table, std::vector<TextTable::Row> rows, const QString& text);
    void undo() override;
    void redo() override;

private:
    TextTable& table_;
    std::vector<TextTable::Row> before_;
    std::vector<TextTable::Row> after_;
};

} // namespace planner
