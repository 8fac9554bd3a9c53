#include "planner/table_clipboard.h"

#include "formats/list_file.h"
#include "formats/offcuts_file.h"
#include "formats/records.h"

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

std::optional<Block> piecesWithHeader(const QString& text) {
    const formats::ListRead read = formats::readList(text.toUtf8());
    if (!headerFound(read.errors)) {
        return std::nullopt;
    }
    Block rows;
    for (const formats::ListRow& row : read.document.rows) {
        rows.push_back({fromUtf8(row.piece.mark), fromUtf8(row.piece.diameter),
                        fromUtf8(row.piece.length), fromUtf8(row.piece.count), fromUtf8(row.shape),
                        fromUtf8(row.parameters)});
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
        rows.push_back({fromUtf8(row.diameter), fromUtf8(row.length), fromUtf8(row.count)});
    }
    return rows;
}

} // namespace planner
