#include "formats/places.h"

#include "formats/columns.h"
#include "formats/workbook.h"

namespace formats {
namespace {

// A cell of the sheet, or only the line of a text file.
QString cellText(const TablePlace& place, int line, int column) {
    if (line <= 0) {
        return {};
    }
    if (place.sheet.empty()) {
        return QString::number(line);
    }
    return QStringLiteral("%1!%2%3")
        .arg(QString::fromStdString(place.sheet), columnLetters(column))
        .arg(line);
}

int columnOf(const std::vector<FieldColumn>& columns, plan::Field field) {
    for (const FieldColumn& c : columns) {
        if (c.field == field) {
            return c.column;
        }
    }
    return 0;
}

} // namespace

std::vector<FieldColumn> fieldColumns(const Record& header, std::span<const KnownColumn> known) {
    std::vector<FieldColumn> out;
    for (const KnownColumn& want : known) {
        if (!want.required) {
            continue;
        }
        for (qsizetype i = 0; i < header.cells.size(); ++i) {
            if (want.namedBy(normalName(header.cells[i]))) {
                out.push_back({*want.required, static_cast<int>(i)});
                break;
            }
        }
    }
    return out;
}

QString placeText(const TablePlace& place, const plan::InputError& error) {
    switch (error.source) {
    case plan::Source::Pieces:
        return cellText(place, error.line, columnOf(place.pieces, error.field));
    case plan::Source::Offcuts:
        return cellText(place, error.line, columnOf(place.offcuts, error.field));
    case plan::Source::Settings:
        return {};
    }
    return {};
}

QString placeText(const TablePlace& place, const FileError& error) {
    // A setting's value is in the cell after its name; every other row is named by its first.
    const int column = error.problem == FileProblem::BadSetting ? 1 : 0;
    return cellText(place, error.line, column);
}

} // namespace formats
