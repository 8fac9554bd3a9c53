#pragma once

#include "formats/list_file.h"

#include <optional>

#include <QString>

// The list file on disk: read in any of the encodings spreadsheets write, written as UTF-8 with
// a BOM through a temporary file, so that a failed save never leaves half a file.
namespace planner {

class ListTables;

struct OpenedList {
    // Nothing when the file could not be read as a list at all.
    std::optional<formats::ListDocument> document;
    // What was wrong, each problem with its line ("第 1 行：缺少“根数”列"); empty when nothing.
    QString problems;
    QString encoding; // "UTF-8", "GB18030", …; for a workbook, its sheet
    // Read from an Excel workbook: saving writes a list file (.csv), never over the workbook.
    bool workbook = false;
};

[[nodiscard]] OpenedList readListFile(const QString& path);

// Empty, or why the list was not saved.
[[nodiscard]] QString writeListFile(const QString& path, const ListTables& tables);

} // namespace planner
