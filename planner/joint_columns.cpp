#include "planner/joint_columns.h"

#include "formats/list_file.h"
#include "formats/setting_text.h"
#include "planner/joint_words.h"
#include "planner/list_tables.h"

#include <algorithm>
#include <array>

namespace planner {
namespace {

// The columns a long bar's joints are written in, named as the list file names them.
constexpr std::array kJointFields{plan::Field::Joint, plan::Field::Share, plan::Field::Lap,
                                  plan::Field::Zones};

QString columnName(plan::Field field) {
    for (const formats::RowColumn& column : formats::rowColumns()) {
        if (column.field == field) {
            return column.name;
        }
    }
    return {};
}

// The shares the rules allow: 25%, 50%, 100%.
QStringList shareChoices() {
    QStringList out;
    for (const int percent : formats::allowedShares()) {
        out.append(QString::fromStdString(formats::shareText(percent)));
    }
    return out;
}

} // namespace

std::map<int, QStringList> jointChoices(const ListTables& tables) {
    std::map<int, QStringList> out;
    if (const int column = tables.columnOf(plan::Field::Joint); column >= 0) {
        out[column] = methodNames();
    }
    if (const int column = tables.columnOf(plan::Field::Share); column >= 0) {
        out[column] = shareChoices();
    }
    return out;
}

bool hasJointColumns(const ListTables& tables) {
    return std::ranges::all_of(
        kJointFields, [&tables](plan::Field field) { return tables.columnOf(field) >= 0; });
}

AddJointColumns::AddJointColumns(ListTables& tables)
    : QUndoCommand(QStringLiteral("添加接头列")), tables_(tables),
      columnsBefore_(tables.otherColumns()), rowsBefore_(tables.pieces.rows()),
      columnsAfter_(columnsBefore_), rowsAfter_(rowsBefore_) {
    // After the schedule's columns, which a list shows first, and those joint columns it has.
    qsizetype at = 0;
    while (at < columnsAfter_.size() && formats::countOrGradeColumn(columnsAfter_[at])) {
        ++at;
    }
    for (const plan::Field field : kJointFields) {
        if (tables.columnOf(field) >= 0) {
            continue;
        }
        columnsAfter_.insert(at, columnName(field));
        for (QStringList& row : rowsAfter_) {
            row.resize(std::max<qsizetype>(row.size(), kPieceColumns + at));
            row.insert(kPieceColumns + at, QString());
        }
        ++at;
    }
}

void AddJointColumns::undo() {
    tables_.setPieceColumns(columnsBefore_, rowsBefore_);
}

void AddJointColumns::redo() {
    tables_.setPieceColumns(columnsAfter_, rowsAfter_);
}

} // namespace planner
