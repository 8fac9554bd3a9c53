#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "yard/values.h"

// The yard as tables the window shows: its stock as the optimiser takes it, its rows with where
// each came from, and its record. Each holds plain values the yard handed out; a change goes
// back to the yard, which is read again.
namespace planner {

// One row per steel and length, counts summed: what a plan may use (read-only).
class YardStockModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;
    void setStock(std::vector<yard::Moved> stock);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<yard::Moved> stock_;
};

enum YardRowColumn {
    kYardGrade,
    kYardDiameter,
    kYardLength,
    kYardCount,
    kYardPlace,
    kYardSource,
    kYardTime,
    kYardColumns
};

// The yard's rows; 根数 and 位置 may be edited, which the model only reports (edited), so that
// the yard decides and the rows are read again.
class YardRowsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;
    void setRows(std::vector<yard::Offcut> rows);
    [[nodiscard]] const std::vector<yard::Offcut>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void edited(const yard::Offcut& row, int column, const QString& text);

private:
    std::vector<yard::Offcut> rows_;
};

// The record, the latest entry first.
class YardHistoryModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;
    void setEntries(std::vector<yard::Entry> entries);
    [[nodiscard]] const std::vector<yard::Entry>& entries() const { return entries_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<yard::Entry> entries_;
};

} // namespace planner
