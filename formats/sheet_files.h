#pragma once

#include "formats/sheet.h"
#include "plan/floors.h"
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
// with a blank row between them) and a workbook of a sheet per table, named by its title (made
// a name Excel allows, and none twice).
[[nodiscard]] QByteArray tablesCsv(const std::vector<Table>& tables);
[[nodiscard]] Workbook tablesXlsx(const std::vector<Table>& tables);

// An .xlsx workbook: the summary sheet 汇总, then a sheet per diameter ("Φ12"), then the long
// bars' sheet 接长 when there are any; numbers are numbers.
[[nodiscard]] Workbook sheetXlsx(const plan::Plan& plan);

// A building planned floor by floor: each floor's patterns (and long bars) under a line naming
// it, then every floor's summary rows, then the whole building's summary.
[[nodiscard]] QByteArray buildingCsv(const plan::BuildingPlan& building);
// The building's summary 汇总, every floor's summary rows 各层汇总, then a sheet of patterns per
// floor named by it (and its long bars, "首层 接长").
[[nodiscard]] Workbook buildingXlsx(const plan::BuildingPlan& building);

} // namespace formats
