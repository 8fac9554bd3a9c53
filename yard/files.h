#pragma once

#include "formats/file_error.h"
#include "formats/grades.h"
#include "formats/places.h"
#include "formats/sheet.h"
#include "plan/list.h"

#include <vector>

#include <QByteArray>
#include <QString>

#include "yard/values.h"

// The yard and the files around it: where it lives unless told, its rows as a table to export
// (an offcuts file that reads back), and an offcuts file's rows checked for importing.
namespace yard {

// The yard a program opens when it is not told which: 余料库.sqlite in the user's data folder
// (QStandardPaths::AppDataLocation), which is made if need be. Empty when there is no such
// folder.
[[nodiscard]] QString defaultPath();

// The rows as an offcuts file's table, titled 余料库: 级别 (the grade's name, or empty), 直径,
// 长度, 根数, 位置, then 来源 and 入库时间, which an import does not read.
[[nodiscard]] formats::Table offcutsTable(const std::vector<Offcut>& rows);

// An offcuts file (CSV, .xlsx, .xls) read for importing, each row checked as a list's offcuts
// are, grades by `grades`. `bars` only when there is no error.
struct ImportRead {
    std::vector<NewOffcut> bars;
    std::vector<formats::FileError> fileErrors; // the file as a whole, its header
    std::vector<plan::InputError> errors;       // its rows, by line
    formats::TablePlace place;                  // in a workbook, the sheet and columns
};
[[nodiscard]] ImportRead readImport(const QByteArray& bytes, const QString& fileName,
                                    const std::vector<formats::GradeCode>& grades);

} // namespace yard
