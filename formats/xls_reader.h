#pragma once

#include "formats/workbook.h"

#include <QByteArray>
#include <QString>

// The .xls (BIFF) engine behind readWorkbook. FreeXL, which reads the file, runs in a short-lived
// child process, hengchi-xls-reader (freexl_sheets.h), with a memory and a time limit: a hostile
// file that makes it crash or run away ends the child, and the program that asked is told the
// file cannot be read. The child's answer is read within the workbook limits (xls_answer.h).
namespace formats {

[[nodiscard]] WorkbookRead readXls(const QByteArray& bytes, const WorkbookLimits& limits);

// The child's program: $HENGCHI_XLS_READER when set, else beside the running program, else in
// ../libexec/hengchi beside it (as installed), else where this build put it. Empty: none found.
[[nodiscard]] QString xlsReaderProgram();

} // namespace formats
