#include "formats/offcuts_file.h"

#include "formats/columns.h"
#include "formats/workbook.h"

#include <algorithm>
#include <functional>

namespace formats {
namespace {

OffcutsRead fromRecords(const std::vector<Record>& rows) {
    OffcutsRead out;
    if (rows.empty()) {
        out.errors.push_back(fileError(0, FileProblem::NoHeader));
        return out;
    }
    const std::size_t header = headerAt(rows, 0, rows.size(), kOffcutColumns);
    out.place.header = rows[header].line;
    out.place.offcuts = fieldColumns(rows[header], kOffcutColumns);
    const Columns columns(rows[header], kOffcutColumns, out.errors);
    for (std::size_t i = header + 1; i < rows.size() && columns.complete(); ++i) {
        if (auto offcut = offcutRow(rows[i], columns)) {
            out.offcuts.push_back(std::move(*offcut));
            out.places.push_back(utf8(columns.cell(rows[i], Column::Place).trimmed()));
        }
    }
    return out;
}

bool holdsTable(const OffcutsRead& read) {
    return std::ranges::none_of(read.errors, [](const FileError& e) {
        return e.problem == FileProblem::NoHeader || e.problem == FileProblem::MissingColumn;
    });
}

} // namespace

OffcutsRead readOffcuts(const QByteArray& bytes) {
    const Decoded decoded = decode(bytes);
    if (decoded.badLine > 0) {
        OffcutsRead out;
        out.encoding = decoded.encoding;
        out.errors.push_back(fileError(decoded.badLine, FileProblem::NotText));
        return out;
    }
    const Records records = splitRecords(decoded.text, detectSeparator(decoded.text));
    OffcutsRead out = fromRecords(records.records);
    out.encoding = decoded.encoding;
    if (records.unclosedQuote > 0) {
        out.errors.push_back(fileError(records.unclosedQuote, FileProblem::UnclosedQuote));
    }
    std::ranges::stable_sort(out.errors, std::less{}, &FileError::line);
    return out;
}

OffcutsRead readOffcutsFile(const QByteArray& bytes, const QString& fileName) {
    if (fileKind(bytes, fileName) == FileKind::Text) {
        return readOffcuts(bytes);
    }
    OffcutsRead out;
    const WorkbookRead book = readWorkbook(bytes, fileName);
    FileError error = fileError(0, FileProblem::Workbook);
    if (book.error) {
        error.workbook = book.error->problem;
        error.text = book.error->sheet.toStdString();
        for (const QString& name : book.error->sheets) {
            error.sheets.push_back(name.toStdString());
        }
        out.errors.push_back(error);
        return out;
    }
    for (const Sheet& sheet : book.sheets) {
        OffcutsRead read = fromRecords(sheet.rows.records);
        if (holdsTable(read)) {
            read.place.sheet = sheet.name.toStdString();
            std::ranges::stable_sort(read.errors, std::less{}, &FileError::line);
            return read;
        }
        error.sheets.push_back(sheet.name.toStdString());
    }
    error.workbook = WorkbookProblem::NoOffcutTable;
    out.errors.push_back(error);
    return out;
}

} // namespace formats
