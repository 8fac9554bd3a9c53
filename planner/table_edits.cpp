#include "planner/table_edits.h"

#include <algorithm>

namespace planner {

SetBlock::SetBlock(TextTable& table, int top, int left, std::vector<TextTable::Row> block,
                   const QString& text)
    : QUndoCommand(text), table_(table), top_(top), left_(left), rowsBefore_(table.dataRows()),
      after_(std::move(block)) {
    for (std::size_t r = 0; r < after_.size(); ++r) {
        const int row = top_ + static_cast<int>(r);
        if (row >= rowsBefore_) {
            break;
        }
        TextTable::Row old;
        for (qsizetype c = 0; c < after_[r].size(); ++c) {
            old.append(table_.text(row, left_ + static_cast<int>(c)));
        }
        before_.push_back(old);
    }
}

void SetBlock::undo() {
    table_.truncate(rowsBefore_);
    table_.writeBlock(top_, left_, before_);
}

void SetBlock::redo() {
    table_.writeBlock(top_, left_, after_);
}

InsertRows::InsertRows(TextTable& table, int at, std::vector<TextTable::Row> rows,
                       const QString& text)
    : QUndoCommand(text), table_(table), at_(at), rows_(std::move(rows)) {
}

void InsertRows::undo() {
    static_cast<void>(table_.takeRows(at_, static_cast<int>(rows_.size())));
}

void InsertRows::redo() {
    table_.insertAt(at_, rows_);
}

RemoveRows::RemoveRows(TextTable& table, std::vector<int> rows, const QString& text)
    : QUndoCommand(text), table_(table), indices_(std::move(rows)) {
    std::ranges::sort(indices_);
    indices_.erase(std::unique(indices_.begin(), indices_.end()), indices_.end());
    std::erase_if(indices_, [this](int row) { return row < 0 || row >= table_.dataRows(); });
}

void RemoveRows::undo() {
    for (std::size_t i = 0; i < indices_.size(); ++i) {
        table_.insertAt(indices_[i], {removed_[i]});
    }
    removed_.clear();
}

void RemoveRows::redo() {
    removed_.assign(indices_.size(), {});
    for (std::size_t i = indices_.size(); i-- > 0;) {
        removed_[i] = table_.takeRows(indices_[i], 1).front();
    }
}

MoveRows::MoveRows(TextTable& table, int first, int count, int by, const QString& text)
    : QUndoCommand(text), table_(table), first_(first), count_(count), by_(by) {
}

void MoveRows::move(int from, int to) {
    const std::vector<TextTable::Row> rows = table_.takeRows(from, count_);
    table_.insertAt(to, rows);
}

void MoveRows::undo() {
    move(first_ + by_, first_);
}

void MoveRows::redo() {
    move(first_, first_ + by_);
}

ReplaceRows::ReplaceRows(TextTable& table, std::vector<TextTable::Row> rows, const QString& text)
    : QUndoCommand(text), table_(table), before_(table.rows()), after_(std::move(rows)) {
}

void ReplaceRows::undo() {
    table_.replaceAll(before_);
}

void ReplaceRows::redo() {
    table_.replaceAll(after_);
}

} // namespace planner
