#pragma once

#include <map>
#include <vector>

#include <QString>
#include <QStringList>
#include <QUndoCommand>

// A long bar's own joints in the list: the columns 接头 (how its segments are joined), 接头率,
// 搭接长度 and 禁止接头区 (where no joint may be), which most lists have none of. A list takes them
// on when a row needs other joints than the settings give it; rows that leave them empty follow the
// settings.
namespace planner {

class ListTables;
class TextTable;

// What a cell of the joint columns may be chosen from, by the pieces table's column: the
// methods in 接头, the shares the rules allow in 接头率. None when the list has no such column.
[[nodiscard]] std::map<int, QStringList> jointChoices(const ListTables& tables);

// Whether the list has all the joint columns.
[[nodiscard]] bool hasJointColumns(const ListTables& tables);

// The joint columns the list lacks put in after its schedule's columns (级别, 构件数, 总根数),
// every row's cells in them empty; undo takes them out again with whatever was typed in them.
class AddJointColumns final : public QUndoCommand {
public:
    explicit AddJointColumns(ListTables& tables);
    void undo() override;
    void redo() override;

private:
    ListTables& tables_;
    QStringList columnsBefore_;
    std::vector<QStringList> rowsBefore_;
    QStringList columnsAfter_;
    std::vector<QStringList> rowsAfter_;
};

} // namespace planner
