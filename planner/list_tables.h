#pragma once

#include "formats/list_file.h"
#include "planner/text_table.h"

#include <optional>

#include <QString>
#include <QStringList>

// The planner's document while it is open: the list file's parts as tables of texts, exactly as
// typed, so that nothing the user wrote is changed or lost before it is checked.
namespace planner {

// The columns of the pieces table; 参数 is kept for the shape dialog and not shown. The list
// file's other columns follow from kPieceColumns on, so that each row's cells in them go with the
// row through every edit; the view shows them after 形状. A schedule's 级别, 构件数 and 总根数,
// and a long bar's 接头, 接头率, 搭接长度 and 禁止接头区, are among them, first, when the file has
// them: most lists have none, a grade may be written in the diameter cell ("C25"), and a long bar's
// joints follow the settings unless its row says otherwise.
enum PieceColumn { kMark, kDiameter, kLength, kCount, kShape, kParameters, kPieceColumns };
enum OffcutColumn { kOffcutDiameter, kOffcutLength, kOffcutCount, kOffcutGrade };
// The grade table: a letter code or level, and the grade it stands for (formats/grades.h).
enum GradeColumn { kGradeCode, kGradeName };
// The one row of the settings table. The joint settings (kConcrete on) are empty where the
// document leaves them to the defaults (joint_settings.h).
enum SettingColumn {
    kKerf,
    kKeep,
    kSeconds,
    kProject,
    kConcrete,
    kSeismic,
    kCouplerAbove,
    kLapShare,
    kMechanicalShare,
    kShortestSegment,
    kButtAllowance,
    kExtraJoint,
    kByCost,
    kSteelPrice,
    kJointPrices,
    kSettingColumns
};

class ListTables {
public:
    ListTables();
    ListTables(const ListTables&) = delete;
    ListTables& operator=(const ListTables&) = delete;

    TextTable pieces;
    TextTable offcuts;
    TextTable stock; // one length per row
    TextTable settings;
    TextTable grades; // the letter codes and levels a list's grades are written with

    // Puts a document's texts in; settings it leaves out show the optimiser's defaults.
    void load(const formats::ListDocument& document);
    // An empty list with the default settings.
    void clear();

    [[nodiscard]] QString project() const;
    // The names of the list's other columns, as the file has them (an unnamed one is empty).
    [[nodiscard]] const QStringList& otherColumns() const { return otherColumns_; }
    // The pieces table's column of 级别, 构件数, 总根数, 接头, 接头率, 搭接长度 or 禁止接头区 (by
    // plan::Field), or -1.
    [[nodiscard]] int columnOf(plan::Field field) const;
    // The pieces table's other columns and every row at once: a column added, or taken away
    // again (joint_columns.h).
    void setPieceColumns(QStringList otherColumns, std::vector<TextTable::Row> rows);
    // The grade table's rows as typed, blank rows left out.
    [[nodiscard]] std::vector<formats::GradeCode> gradeRows() const;

private:
    QStringList otherColumns_;
};

// The document for the list file. Blank rows are left out. The settings must be valid to be
// written; otherwise nothing, and `error` says which is wrong.
struct ForFile {
    std::optional<formats::ListDocument> document;
    QString error;
};
[[nodiscard]] ForFile toDocument(const ListTables& tables);

} // namespace planner
