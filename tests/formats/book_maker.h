#pragma once

#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

// Workbooks made inside the tests: with libxlsxwriter as Excel would save them, and by hand,
// part by part with minizip (libxlsxwriter's zip library: QuaZip
// cannot share a program with it), for the forms libxlsxwriter never writes (inline strings, rich
// text, formulas with cached values, numbers stored as text).

// An .xlsx with the sheets given as the XML inside their <sheetData> (and after it, say a
// <mergeCells>), and the shared strings as the <si> elements of the string table.
struct HandSheet {
    QString name;
    QString data;       // "<row r=\"1\"><c …/></row>…"
    QString after = {}; // XML after </sheetData>
};
[[nodiscard]] QByteArray handXlsx(const std::vector<HandSheet>& sheets,
                                  const QString& strings = {});

// A zip of the given parts, names and contents as they are.
[[nodiscard]] QByteArray zipOf(const std::vector<std::pair<QString, QByteArray>>& parts);

// The bytes of a workbook libxlsxwriter writes: a title merged over A1:E1, a note on row 2,
// the header on row 3 (编号 直径 长度 根数 备注), three pieces on rows 4 to 6 (a number, a
// decimal, a formula with its value, a boolean among them), then a #设置 section; on a second
// sheet 钢筋表 after a first sheet 说明 that has no list.
[[nodiscard]] QByteArray writerXlsx();

// A file of tests/formats/data.
[[nodiscard]] QByteArray dataFile(const char* name);
