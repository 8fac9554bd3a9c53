#pragma once

#include "formats/workbook.h"

#include <QByteArray>

// The .xlsx engine behind readWorkbook: the zip through minizip (zlib's), each part through
// QXmlStreamReader. Only what a list needs is read: the sheets in the workbook's order, their
// cells' values (shared, inline and rich strings, numbers, booleans, formulas' cached values)
// and merged ranges; styles, dates and formulas themselves are not.
namespace formats {

[[nodiscard]] WorkbookRead readXlsx(const QByteArray& bytes, const WorkbookLimits& limits);

} // namespace formats
