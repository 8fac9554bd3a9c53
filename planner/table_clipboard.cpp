#include "planner/table_clipboard.h"

#include "formats/list_file.h"
#include "formats/offcuts_file.h"
#include "formats/records.h"
#include "planner/list_tables.h"

#include <algorithm>

namespace planner {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// A header the readers could not find the columns in leaves them complaining about the first
// line; then the text is plain cells, not a table with a header.
bool headerFound(const std::vector<formats::FileError>& errors) {
    return std::ranges::none_of(errors, [](const formats::FileError& e) {
        return e.problem == formats::FileProblem::NoHeader ||
               e.problem == formats::FileProblem::MissingColumn ||
               e.problem == formats::FileProblem::RepeatedColumn ||
               e.problem == formats::FileProblem::NotText;
    });
}

// For each of the list's other columns, the pasted other column of the same name: the first
// not taken yet, so that two columns of one name each find their own. Unnamed ones find none.
std::vector<std::optional<std::size_t>> pastedColumns(const std::vector<std::string>& pasted,
                                                      const QStringList& otherColumns) {
    std::vector<bool> taken(pasted.size(), false);
    std::vector<std::optional<std::size_t>> from;
    for (const QString& name : otherColumns) {
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < pasted.size() && !name.isEmpty() && !found; ++i) {
            if (!taken[i] && fromUtf8(pasted[i]).compare(name, Qt::CaseInsensitive) == 0) {
                taken[i] = true;
                found = i;
            }
        }
        from.push_back(found);
    }
    return from;
}

} // namespace

Block cellsOf(const QString& text) {
    const formats::Records split = formats::splitRecords(text, formats::detectSeparator(text));
    Block rows;
    for (const formats::Record& record : split.records) {
        rows.push_back(record.cells);
    }
    return rows;
}

QString textOf(const Block& rows) {
    QString text;
    for (const QStringList& row : rows) {
        text += formats::joinRecord(row, u'\t');
        text += u'\n';
    }
    return text;
}

std::optional<Block> piecesWithHeader(const QString& text, const QStringList& otherColumns) {
    const formats::ListRead read = formats::readList(text.toUtf8());
    if (!headerFound(read.errors)) {
        return std::nullopt;
    }
    const std::vector<std::optional<std::size_t>> from =
        pastedColumns(read.document.otherColumns, otherColumns);
    Block rows;
    for (const formats::ListRow& row : read.document.rows) {
        QStringList cells{fromUtf8(row.piece.mark),   fromUtf8(row.piece.diameter),
                          fromUtf8(row.piece.length), fromUtf8(row.piece.count),
                          fromUtf8(row.shape),        fromUtf8(row.parameters)};
        for (qsizetype i = 0; i < otherColumns.size(); ++i) {
            // A schedule's or a long bar's column is read into the row's own field.
            const std::optional<plan::Field> field = formats::countOrGradeColumn(otherColumns[i]);
            const auto member = field ? plan::rowText(*field) : nullptr;
            const std::optional<std::size_t>& column = from[static_cast<std::size_t>(i)];
            cells.append(member != nullptr ? fromUtf8(row.piece.*member)
                         : column          ? fromUtf8(row.others[*column])
                                           : QString());
        }
        if (!std::ranges::all_of(cells, [](const QString& c) { return formats::isBlank(c); })) {
            rows.push_back(std::move(cells));
        }
    }
    return rows;
}

std::optional<Block> offcutsWithHeader(const QString& text) {
    const formats::OffcutsRead read = formats::readOffcuts(text.toUtf8());
    if (!headerFound(read.errors)) {
        return std::nullopt;
    }
    Block rows;
    for (const plan::OffcutRow& row : read.offcuts) {
        rows.push_back({fromUtf8(row.diameter), fromUtf8(row.length), fromUtf8(row.count),
                        fromUtf8(row.grade)});
    }
    return rows;
}

} // namespace planner
