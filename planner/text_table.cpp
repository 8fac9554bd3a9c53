#include "planner/text_table.h"

#include "formats/records.h"
#include "planner/table_edits.h"

#include <algorithm>

#include <QColor>
#include <QUndoStack>

namespace planner {
namespace {

// A pale red that black text stays readable on, in light and dark themes alike.
const QColor kProblemBackground(255, 205, 205);
const QColor kProblemText(120, 0, 0);
// Amber, as a caution is marked on a drawing.
const QColor kWarningBackground(255, 236, 179);
const QColor kWarningText(90, 60, 0);

} // namespace

TextTable::TextTable(QStringList headers, bool appendable, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), appendable_(appendable) {
}

QString TextTable::text(int row, int column) const {
    if (row < 0 || row >= dataRows() || column < 0 || column >= rows_[row].size()) {
        return {};
    }
    return rows_[row][column];
}

bool TextTable::blankRow(int row) const {
    if (row < 0 || row >= dataRows()) {
        return true;
    }
    return std::ranges::all_of(rows_[row], [](const QString& t) { return formats::isBlank(t); });
}

void TextTable::writeBlock(int top, int left, const std::vector<Row>& block) {
    if (block.empty()) {
        return;
    }
    const int bottom = top + static_cast<int>(block.size()) - 1;
    if (bottom >= dataRows()) {
        // The ready row becomes the first new one, so the view keeps its place.
        const int first = dataRows() + (appendable_ ? 1 : 0);
        const int last = bottom + (appendable_ ? 1 : 0);
        if (last >= first) {
            beginInsertRows({}, first, last);
        }
        rows_.resize(static_cast<std::size_t>(bottom) + 1, Row(columnCount(), QString()));
        if (last >= first) {
            endInsertRows();
        }
    }
    int right = left;
    for (std::size_t r = 0; r < block.size(); ++r) {
        Row& target = rows_[static_cast<std::size_t>(top) + r];
        for (qsizetype c = 0; c < block[r].size() && left + c < columnCount(); ++c) {
            target[left + c] = block[r][c];
            right = std::max(right, static_cast<int>(left + c));
        }
    }
    emit dataChanged(index(top, left), index(bottom, right));
    emit textsChanged();
    emit touched(top, left, bottom, right);
}

void TextTable::insertAt(int at, const std::vector<Row>& rows) {
    if (rows.empty()) {
        return;
    }
    at = std::clamp(at, 0, dataRows());
    const int count = static_cast<int>(rows.size());
    beginInsertRows({}, at, at + count - 1);
    std::vector<Row> padded = rows;
    for (Row& row : padded) {
        row.resize(columnCount());
    }
    rows_.insert(rows_.begin() + at, padded.begin(), padded.end());
    endInsertRows();
    emit textsChanged();
    emit touched(at, 0, at + count - 1, columnCount() - 1);
}

std::vector<TextTable::Row> TextTable::takeRows(int at, int count) {
    count = std::min(count, dataRows() - at);
    if (at < 0 || count <= 0) {
        return {};
    }
    beginRemoveRows({}, at, at + count - 1);
    const auto first = rows_.begin() + at;
    std::vector<Row> taken(first, first + count);
    rows_.erase(first, first + count);
    endRemoveRows();
    emit textsChanged();
    const int next = std::min(at, rowCount() - 1);
    emit touched(next, 0, next, columnCount() - 1);
    return taken;
}

void TextTable::truncate(int count) {
    if (count < dataRows()) {
        static_cast<void>(takeRows(count, dataRows() - count));
    }
}

void TextTable::replaceAll(std::vector<Row> rows) {
    replaceAll(headers_, std::move(rows));
}

void TextTable::replaceAll(QStringList headers, std::vector<Row> rows) {
    beginResetModel();
    headers_ = std::move(headers);
    rows_ = std::move(rows);
    for (Row& row : rows_) {
        row.resize(columnCount());
    }
    problems_.clear();
    warnings_.clear();
    endResetModel();
    emit textsChanged();
}

void TextTable::setProblems(Problems problems) {
    if (problems == problems_) {
        return;
    }
    problems_ = std::move(problems);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole,
                          Qt::AccessibleDescriptionRole});
    }
}

QString TextTable::problem(int row, int column) const {
    const auto it = problems_.find({row, column});
    return it == problems_.end() ? QString() : it->second;
}

void TextTable::setWarnings(Problems warnings) {
    if (warnings == warnings_) {
        return;
    }
    warnings_ = std::move(warnings);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole, Qt::ToolTipRole,
                          Qt::AccessibleDescriptionRole});
    }
}

QString TextTable::warning(int row, int column) const {
    const auto it = warnings_.find({row, column});
    return it == warnings_.end() ? QString() : it->second;
}

int TextTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : dataRows() + (appendable_ ? 1 : 0);
}

int TextTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant TextTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row(), index.column());
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        QString why = problem(index.row(), index.column());
        if (why.isEmpty()) {
            why = warning(index.row(), index.column());
        }
        return why.isEmpty() ? QVariant() : QVariant(why);
    }
    case Qt::TextAlignmentRole:
        return static_cast<int>(
            Qt::AlignVCenter |
            (figures_.contains(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    case kWarningRole:
        return problem(index.row(), index.column()).isEmpty() &&
               !warning(index.row(), index.column()).isEmpty();
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        const bool background = role == Qt::BackgroundRole;
        if (!problem(index.row(), index.column()).isEmpty()) {
            return background ? kProblemBackground : kProblemText;
        }
        if (!warning(index.row(), index.column()).isEmpty()) {
            return background ? kWarningBackground : kWarningText;
        }
        return {};
    }
    default:
        return {};
    }
}

QVariant TextTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        return section < headers_.size() ? headers_[section] : QString();
    }
    // The ready row is marked as a spreadsheet marks its row for new entries.
    return section < dataRows() ? QString::number(section + 1) : QStringLiteral("*");
}

Qt::ItemFlags TextTable::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool TextTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const QString typed = value.toString();
    if (typed == text(index.row(), index.column())) {
        return true; // leaving a cell unchanged is no edit to undo
    }
    const std::vector<Row> block{Row{typed}};
    if (stack_ != nullptr) {
        stack_->push(new SetBlock(*this, index.row(), index.column(), block,
                                  QStringLiteral("编辑“%1”").arg(headers_[index.column()])));
    } else {
        writeBlock(index.row(), index.column(), block);
    }
    return true;
}

} // namespace planner
