#pragma once

#include "formats/workbook.h"

#include <QByteArray>

// The .xls (BIFF) workbook through FreeXL, inside the child process hengchi-xls-reader only (see
// xls_answer.h): FreeXL 1.0.6 reads out of bounds on some hostile files. It reads cell values
// only and reports no merged ranges, so a merged cell of an .xls reads as Excel stores it, its
// value in the top-left cell and the others empty.
namespace formats {

// The answer for the workbook in `bytes` (xls_answer.h), within `limits`: what the child writes.
[[nodiscard]] QByteArray freexlAnswer(const QByteArray& bytes, const WorkbookLimits& limits);

} // namespace formats
