#include "planner/joint_columns.h"

#include "formats/list_file.h"
#include "formats/setting_text.h"
#include "planner/joint_words.h"
#include "planner/list_tables.h"

#include <array>

namespace planner {
namespace {

struct JointColumn {
    plan::Field field;
    const char16_t* name;
};

constexpr std::array<JointColumn, 4> kJointColumns{{
    {plan::Field::Joint, u"接头"},
    {plan::Field::Share, u"接头率"},
    {plan::Field::Lap, u"搭接长度"},
    {plan::Field::Zones, u"禁止接头区"},
}};

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
    for (const JointColumn& column : kJointColumns) {
        if (tables.columnOf(column.field) < 0) {
            return false;
        }
    }
    return true;
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
    for (const JointColumn& column : kJointColumns) {
        if (tables.columnOf(column.field) >= 0) {
            continue;
        }
        columnsAfter_.insert(at, QString::fromUtf16(column.name));
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
