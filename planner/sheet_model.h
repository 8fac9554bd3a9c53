#pragma once

#include "formats/sheet.h"

#include <QAbstractTableModel>

namespace planner {

// A table of the cutting sheet (formats/sheet.h) for a view: read-only, numbers to the right.
class SheetModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setTable(formats::Table table);
    [[nodiscard]] const formats::Table& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    formats::Table table_;
};

} // namespace planner
