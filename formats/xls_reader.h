#pragma once

#include "formats/workbook.h"

#include <QByteArray>

// The .xls (BIFF) engine behind readWorkbook, through FreeXL. FreeXL 1.0.6 reads cell values
// only: it reports no merged ranges, so a merged cell of an .xls reads as Excel stores it, its
// value in the top-left cell and the others empty.
namespace formats {

[[nodiscard]] WorkbookRead readXls(const QByteArray& bytes, const WorkbookLimits& limits);

} // namespace formats
