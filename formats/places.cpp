#include "formats/places.h"

#include "formats/columns.h"
#include "formats/workbook.h"

#include <optional>

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

// The field an error about a column's cell names: the required field of the column, or the
// field of a column that is read but not required.
std::optional<plan::Field> fieldOf(const KnownColumn& column) {
    return column.required ? column.required : optionalField(column.column);
}

std::optional<int> columnNamed(const Record& header, const KnownColumn& want, bool standIn) {
    for (qsizetype i = 0; i < header.cells.size(); ++i) {
        const QString name = normalName(header.cells[i]);
        if (standIn ? want.replacedBy(name) : want.namedBy(name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<FieldColumn> fieldColumns(const Record& header, std::span<const KnownColumn> known) {
    std::vector<FieldColumn> out;
    for (const KnownColumn& want : known) {
        const std::optional<plan::Field> field = fieldOf(want);
        if (!field) {
            continue;
        }
        // A column that stands in (构件名称 for the mark, 总根数 for the count) is where the
        // field's errors are when the column itself is not there.
        std::optional<int> at = columnNamed(header, want, false);
        if (!at) {
            at = columnNamed(header, want, true);
        }
        if (at) {
            out.push_back({*field, *at});
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
    // A setting's value is in the cell after its name; every other row is named by its first,
    // unless the problem is one cell of it.
    const int column = error.column >= 0                          ? error.column
                       : error.problem == FileProblem::BadSetting ? 1
                                                                  : 0;
    return cellText(place, error.line, column);
}

} // namespace formats
