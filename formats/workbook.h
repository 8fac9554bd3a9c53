#pragma once

#include "formats/file_error.h"
#include "formats/records.h"

#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

// Workbooks read as tables: one entry point for every kind of file a list comes in, one engine
// per format behind it (xlsx_reader, xls_reader), each giving the same rows a CSV file gives, so
// that whoever reads a list never knows which engine ran.
//
// A sheet's rows are Records whose `line` is Excel's row number and whose cell i is Excel's
// column i (A = 0): an empty cell keeps its column's place. Values are the text Excel shows for
// a plain cell: a number as written in General format (3000, 6456.34), a formula's cached value,
// TRUE or FALSE. A merged range holds its top-left cell's value in each of its cells, as a
// person reading the sheet takes it. Rows with nothing in them are left out, as in a CSV file.
namespace formats {

enum class FileKind {
    Text,     // anything else: read as CSV
    Xlsx,     // a zip archive (PK\3\4)
    Ole,      // an OLE compound file (D0 CF 11 E0): an .xls, or an encrypted .xlsx
    Workbook, // named .xlsx or .xls but neither of the above: not a workbook after all
};

// By the first bytes; the name only decides for a file that is neither zip nor OLE.
[[nodiscard]] FileKind fileKind(const QByteArray& bytes, const QString& name);

// What readWorkbook found wrong (the problems are in file_error.h, with the list's).
struct WorkbookError {
    WorkbookProblem problem = WorkbookProblem::Corrupt;
    QString sheet;
    QStringList sheets;

    friend bool operator==(const WorkbookError&, const WorkbookError&) = default;
};

struct Sheet {
    QString name;
    Records rows;
};

struct WorkbookRead {
    std::vector<Sheet> sheets; // in the workbook's order
    std::optional<WorkbookError> error;
};

// Bounds against a hostile file, far above any bar list: a zip bomb or a sheet that claims a
// million columns is an error, not an exhausted memory.
struct WorkbookLimits {
    qint64 partBytes = 64 * 1024 * 1024; // one part of an .xlsx, uncompressed
    qint64 totalBytes = 256 * 1024 * 1024;
    int columns = 1024;        // a cell further right than this
    int rows = 1'048'576;      // Excel's own last row
    qint64 cells = 4'000'000;  // cells kept over all sheets, the empty ones inside rows too
    int strings = 1'000'000;   // shared strings
    double readerSeconds = 30; // the .xls reader's process, before it is stopped (xls_reader.h)
};

// The workbook in `bytes` (an .xlsx or .xls file's contents; `name` only for the error of a
// file named as one that is not one). Every sheet is read: which holds the list is the list
// reader's choice.
[[nodiscard]] WorkbookRead readWorkbook(const QByteArray& bytes, const QString& name,
                                        const WorkbookLimits& limits = {});

// Excel's letters for a column from 0: A, …, Z, AA, ….
[[nodiscard]] QString columnLetters(int column);

} // namespace formats
