#pragma once

#include "formats/list_file.h"

#include <QByteArray>
#include <QString>

// A list from a file of any kind the command and the planner open: CSV text as readList reads
// it, or an Excel workbook (.xlsx, .xls, told by its first bytes), whose list is the first sheet
// holding the pieces table's columns, or the sheet named. Either way the same document, with
// the place of every error (places.h).
namespace formats {

// `fileName` tells a file named .xlsx that is no workbook from a text file; `sheet`, when not
// empty, names the sheet to read (Excel's names ignore case). A workbook that cannot be read
// gives one error of FileProblem::Workbook, and no rows.
[[nodiscard]] ListRead readListFile(const QByteArray& bytes, const QString& fileName,
                                    const QString& sheet = {});

// True when the file is a workbook, or named as one: the planner never saves a list over it.
[[nodiscard]] bool isWorkbookFile(const QByteArray& bytes, const QString& fileName);

} // namespace formats
