#pragma once

#include "formats/sheet.h"
#include "plan/plan.h"

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

// The cutting sheet (sheet.h) as files a spreadsheet opens.
namespace formats {

struct Workbook {
    QByteArray bytes;
    QString error; // when not empty, why the workbook could not be made
};

// UTF-8 with a BOM, so that Excel reads the Chinese: the patterns of every diameter, a blank
// row, the long bars (接长) and a blank row when there are any, then the summary.
// Comma-separated, CR LF.
[[nodiscard]] QByteArray sheetCsv(const plan::Plan& plan);

// Any tables as the same kinds of file: CSV (UTF-8 with a BOM, the tables one after another
// with a blank row between them) and a workbook of a sheet per table, named by its title.
[[nodiscard]] QByteArray tablesCsv(const std::vector<Table>& tables);
[[nodiscard]] Workbook tablesXlsx(const std::vector<Table>& tables);

// An .xlsx workbook: the summary sheet 汇总, then a sheet per diameter ("Φ12"), then the long
// bars' sheet 接长 when there are any; numbers are numbers.
[[nodiscard]] Workbook sheetXlsx(const plan::Plan& plan);

} // namespace formats
