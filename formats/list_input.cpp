#include "formats/list_input.h"

#include "formats/workbook.h"

#include <algorithm>

namespace formats {
namespace {

FileError workbookError(WorkbookProblem problem, const QString& sheet = {},
                        const QStringList& sheets = {}) {
    FileError error;
    error.problem = FileProblem::Workbook;
    error.workbook = problem;
    error.text = sheet.toStdString();
    for (const QString& name : sheets) {
        error.sheets.push_back(name.toStdString());
    }
    return error;
}

// The pieces table's header is on this sheet: its columns are all there.
bool holdsTable(const ListRead& read) {
    return std::ranges::none_of(read.errors, [&read](const FileError& e) {
        return e.problem == FileProblem::NoHeader ||
               (e.problem == FileProblem::MissingColumn && e.line == read.place.header);
    });
}

ListRead fromSheet(const Sheet& sheet) {
    ListRead read = readList(sheet.rows);
    read.place.sheet = sheet.name.toStdString();
    return read;
}

} // namespace

bool isWorkbookFile(const QByteArray& bytes, const QString& fileName) {
    return fileKind(bytes, fileName) != FileKind::Text;
}

ListRead readListFile(const QByteArray& bytes, const QString& fileName, const QString& sheet) {
    if (!isWorkbookFile(bytes, fileName)) {
        return readList(bytes);
    }
    ListRead out;
    const WorkbookRead book = readWorkbook(bytes, fileName);
    if (book.error) {
        out.errors.push_back(
            workbookError(book.error->problem, book.error->sheet, book.error->sheets));
        return out;
    }
    QStringList names;
    for (const Sheet& s : book.sheets) {
        names.append(s.name);
    }
    if (!sheet.isEmpty()) {
        const auto named = std::ranges::find_if(book.sheets, [&sheet](const Sheet& s) {
            return s.name.compare(sheet, Qt::CaseInsensitive) == 0;
        });
        if (named == book.sheets.end()) {
            out.errors.push_back(workbookError(WorkbookProblem::UnknownSheet, sheet, names));
            return out;
        }
        return fromSheet(*named);
    }
    for (const Sheet& s : book.sheets) {
        ListRead read = fromSheet(s);
        if (holdsTable(read)) {
            return read;
        }
    }
    out.errors.push_back(workbookError(WorkbookProblem::NoTable, {}, names));
    return out;
}

} // namespace formats
