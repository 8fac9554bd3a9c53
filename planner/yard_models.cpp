#include "planner/yard_models.h"

#include "plan/number.h"

#include <array>
#include <span>

#include "yard/messages.h"

namespace planner {
namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString diameter(const plan::Steel& steel) {
    return text(plan::diameterText(steel.diameter));
}

QVariant header(std::span<const char16_t* const> names, int section, Qt::Orientation orientation,
                int role) {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    return section >= 0 && static_cast<std::size_t>(section) < names.size()
               ? QVariant(QString::fromUtf16(names[static_cast<std::size_t>(section)]))
               : QVariant();
}

// Figures to the right, as a spreadsheet shows numbers.
QVariant alignment(bool figure) {
    return QVariant::fromValue(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
}

// Bars moved, a steel a line.
QString steelLines(const std::vector<yard::Moved>& bars) {
    return bars.empty() ? QString()
                        : yard::movedText(bars).replace(QStringLiteral("；"), QStringLiteral("\n"));
}

constexpr std::array<const char16_t*, 4> kStockHeaders{u"级别", u"直径", u"长度", u"根数"};
constexpr std::array<const char16_t*, kYardColumns> kRowHeaders{
    u"级别", u"直径", u"长度", u"根数", u"位置", u"来源", u"入库时间"};
constexpr std::array<const char16_t*, 6> kHistoryHeaders{u"记录", u"时间", u"来源",
                                                         u"取出", u"放入", u"撤销"};

} // namespace

void YardStockModel::setStock(std::vector<yard::Moved> stock) {
    beginResetModel();
    stock_ = std::move(stock);
    endResetModel();
}

int YardStockModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(stock_.size());
}

int YardStockModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kStockHeaders.size());
}

QVariant YardStockModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return alignment(index.column() > 0);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const yard::Moved& m = stock_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return text(m.steel.grade);
    case 1:
        return diameter(m.steel);
    case 2:
        return QString::number(m.length);
    default:
        return QString::number(m.count);
    }
}

QVariant YardStockModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return header(kStockHeaders, section, orientation, role);
}

void YardRowsModel::setRows(std::vector<yard::Offcut> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int YardRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int YardRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kYardColumns;
}

QVariant YardRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return alignment(column == kYardDiameter || column == kYardLength || column == kYardCount);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const yard::Offcut& o = rows_[static_cast<std::size_t>(index.row())];
    switch (static_cast<YardRowColumn>(column)) {
    case kYardGrade:
        return text(o.steel.grade);
    case kYardDiameter:
        return diameter(o.steel);
    case kYardLength:
        return QString::number(o.length);
    case kYardCount:
        return QString::number(o.count);
    case kYardPlace:
        return text(o.place);
    case kYardSource:
        return yard::originText(o.source);
    case kYardTime:
        return yard::timeText(o.source.time);
    case kYardColumns:
        break;
    }
    return {};
}

QVariant YardRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return header(kRowHeaders, section, orientation, role);
}

Qt::ItemFlags YardRowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == kYardCount || index.column() == kYardPlace) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool YardRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    const QString typed = value.toString();
    if (typed == data(index, Qt::EditRole).toString()) {
        return false;
    }
    emit edited(rows_[static_cast<std::size_t>(index.row())], index.column(), typed);
    return true;
}

void YardHistoryModel::setEntries(std::vector<yard::Entry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int YardHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int YardHistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kHistoryHeaders.size());
}

QVariant YardHistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    const yard::Entry& e = entries_[static_cast<std::size_t>(index.row())];
    if (role == Qt::ToolTipRole) {
        return yard::entryText(e).trimmed();
    }
    switch (index.column()) {
    case 0:
        return QString::number(e.source.id);
    case 1:
        return yard::timeText(e.source.time);
    case 2: {
        QString origin = yard::originText(e.source);
        return origin.mid(origin.indexOf(u' ') + 1); // the number has a column of its own
    }
    case 3:
        return steelLines(e.taken);
    case 4:
        return steelLines(e.added);
    default:
        return e.undone ? QStringLiteral("已撤销 %1").arg(yard::timeText(*e.undone)) : QString();
    }
}

QVariant YardHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return {};
    }
    return header(kHistoryHeaders, section, orientation, role);
}

} // namespace planner
