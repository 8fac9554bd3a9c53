#include "formats/columns.h"

#include <algorithm>

namespace formats {

QString normalName(const QString& text) {
    // trimmed() takes the ideographic space too: it is a space to Unicode.
    QString name = text.trimmed().toLower();
    for (const auto unit : {u"(mm)", u"（mm）"}) {
        const QString suffix = QString::fromUtf16(unit);
        if (name.endsWith(suffix)) {
            name.chop(suffix.size());
            name = name.trimmed();
        }
    }
    return name;
}

std::optional<QString> sectionName(const Record& record) {
    const QString first = record.cells.front().trimmed();
    if (record.quoted.front() || !first.startsWith(u'#')) {
        return std::nullopt;
    }
    return first;
}

FileError fileError(int line, FileProblem problem, std::string text) {
    FileError error;
    error.line = line;
    error.problem = problem;
    error.text = std::move(text);
    return error;
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

std::optional<plan::Field> optionalField(Column column) {
    switch (column) {
    case Column::Grade:
        return plan::Field::Grade;
    case Column::Elements:
        return plan::Field::Elements;
    case Column::Total:
        return plan::Field::Total;
    case Column::Joint:
        return plan::Field::Joint;
    case Column::Share:
        return plan::Field::Share;
    case Column::Lap:
        return plan::Field::Lap;
    case Column::Zones:
        return plan::Field::Zones;
    case Column::Floor:
        return plan::Field::Floor;
    case Column::Mark:
    case Column::Diameter:
    case Column::Length:
    case Column::Count:
    case Column::Shape:
    case Column::Parameters:
    case Column::Code:
    case Column::Place:
        break;
    }
    return std::nullopt;
}

namespace {

bool names(const Record& row, const KnownColumn& want) {
    return std::ranges::any_of(
        row.cells, [&want](const QString& cell) { return want.namedBy(normalName(cell)); });
}

bool namesStandIn(const Record& row, const KnownColumn& want) {
    return std::ranges::any_of(
        row.cells, [&want](const QString& cell) { return want.replacedBy(normalName(cell)); });
}

} // namespace

std::size_t headerAt(const std::vector<Record>& records, std::size_t begin, std::size_t end,
                     std::span<const KnownColumn> known) {
    for (std::size_t i = begin; i < end; ++i) {
        const bool all = std::ranges::all_of(known, [&](const KnownColumn& want) {
            return !want.required || names(records[i], want) || namesStandIn(records[i], want);
        });
        if (all) {
            return i;
        }
    }
    return begin;
}

std::optional<plan::OffcutRow> offcutRow(const Record& row, const Columns& columns) {
    const QString diameter = columns.cell(row, Column::Diameter);
    const QString length = columns.cell(row, Column::Length);
    const QString count = columns.cell(row, Column::Count);
    const QString grade = columns.cell(row, Column::Grade);
    if (isBlank(diameter) && isBlank(length) && isBlank(count) && isBlank(grade)) {
        return std::nullopt;
    }
    return plan::OffcutRow{utf8(diameter), utf8(length), utf8(count), row.line, utf8(grade), {}};
}

Columns::Columns(const Record& header, std::span<const KnownColumn> known,
                 std::vector<FileError>& errors) {
    for (const KnownColumn& want : known) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < header.cells.size(); ++i) {
            if (!want.namedBy(normalName(header.cells[i]))) {
                continue;
            }
            if (at >= 0) {
                errors.push_back(fileError(header.line, FileProblem::RepeatedColumn,
                                           utf8(header.cells[i].trimmed())));
                complete_ = false;
                continue;
            }
            at = i;
        }
        if (at >= 0) {
            found_.emplace_back(want.column, at);
        } else if (want.required && !namesStandIn(header, want)) {
            FileError error = fileError(header.line, FileProblem::MissingColumn);
            error.field = *want.required;
            errors.push_back(error);
            complete_ = false;
        }
    }
}

QString Columns::cell(const Record& row, Column column) const {
    for (const auto& [c, at] : found_) {
        if (c == column) {
            return at < row.cells.size() ? row.cells[at] : QString();
        }
    }
    return {};
}

qsizetype Columns::at(Column column) const {
    for (const auto& [c, at] : found_) {
        if (c == column) {
            return at;
        }
    }
    return -1;
}

} // namespace formats
