#pragma once

#include "formats/decode.h"
#include "formats/file_error.h"
#include "formats/places.h"
#include "formats/records.h"
#include "plan/list.h"

#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

// The yard's offcuts as a file of their own (hengchi-plan --offcuts, a yard's import and
// export): a header row naming 直径 or diameter, 长度 or length, 根数 or count in any order, and
// optionally 级别 and 位置, read by the same rules as the pieces table of a list file
// (list_file.h). Other columns (a yard's 来源, 入库时间) are not read.
namespace formats {

struct OffcutsRead {
    std::vector<plan::OffcutRow> offcuts; // lines as in the file
    std::vector<std::string> places;      // each offcut's 位置 (UTF-8, trimmed), or empty
    Encoding encoding = Encoding::Utf8;
    std::vector<FileError> errors;
    TablePlace place; // in a workbook, the sheet and the columns, to name where an error is
};

[[nodiscard]] OffcutsRead readOffcuts(const QByteArray& bytes);

// A text file as readOffcuts reads it, or an Excel workbook (.xlsx, .xls, told by its first
// bytes), whose table is on the first sheet naming the columns.
[[nodiscard]] OffcutsRead readOffcutsFile(const QByteArray& bytes, const QString& fileName);

} // namespace formats
