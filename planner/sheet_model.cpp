#include "planner/sheet_model.h"

namespace planner {

void SheetModel::setTable(formats::Table table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.header.size());
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= table_.rows.size()) {
        return {};
    }
    const auto& row = table_.rows[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size()) {
        return {};
    }
    const formats::Cell& cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return cell.text;
    case Qt::TextAlignmentRole: {
        // Figures line up on the right, words on the left.
        bool figure = false;
        static_cast<void>(cell.text.toDouble(&figure));
        figure = figure || cell.kind != formats::CellKind::Text;
        return static_cast<int>(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole &&
        section < table_.header.size()) {
        return table_.header[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace planner
