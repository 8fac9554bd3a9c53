#include "planner/table_view.h"

#include "planner/table_edits.h"
#include "planner/text_table.h"

#include <algorithm>
#include <set>

#include <QAbstractItemView>
#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QUndoStack>

namespace planner {
namespace {

// A wrong cell keeps a red frame when it is selected, where the selection hides its red ground;
// a cell with a warning an amber one. A column with choices offers them as its cell is edited.
class CellDelegate final : public QStyledItemDelegate {
public:
    explicit CellDelegate(TableView* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.data(Qt::ToolTipRole).toString().isEmpty()) {
            return;
        }
        painter->save();
        const bool warning = index.data(kWarningRole).toBool();
        QPen pen(warning ? QColor(200, 140, 0) : QColor(200, 0, 0));
        pen.setWidth(2);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        const QStringList choices = view_->choices(index.column());
        if (line == nullptr || choices.isEmpty()) {
            return editor;
        }
        auto* completer = new QCompleter(choices, line);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        // A handful of choices: all of them in sight, the one typed so far marked.
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        line->setCompleter(completer);
        // The list as wide as its longest choice, not as the cell, which may be narrow.
        int widest = 0;
        for (const QString& choice : choices) {
            widest = std::max(widest, line->fontMetrics().horizontalAdvance(choice));
        }
        completer->popup()->setMinimumWidth(
            widest + line->fontMetrics().averageCharWidth() * 4 +
            completer->popup()->verticalScrollBar()->sizeHint().width());
        auto* self = const_cast<CellDelegate*>(this);
        // A choice clicked is the cell's text, as a choice typed and confirmed with Enter.
        connect(completer, qOverload<const QString&>(&QCompleter::activated), line,
                [self, line](const QString& text) {
                    line->setText(text);
                    emit self->commitData(line);
                    emit self->closeEditor(line, QAbstractItemDelegate::SubmitModelCache);
                });
        QTimer::singleShot(0, line, [completer] { completer->complete(); });
        return editor;
    }

private:
    TableView* view_;
};

} // namespace

TableView::TableView(TextTable& table, QUndoStack& stack, QWidget* parent)
    : QTableView(parent), table_(table), stack_(stack) {
    setModel(&table);
    setItemDelegate(new CellDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A line of text and a little room, as a spreadsheet shows its rows.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    // After an edit, an undo or a redo, the cells it touched are shown and selected.
    connect(&table, &TextTable::touched, this, [this](int top, int left, int bottom, int right) {
        if (top < 0 || top >= model()->rowCount()) {
            return;
        }
        bottom = std::min(bottom, model()->rowCount() - 1);
        const QModelIndex first = model()->index(top, left);
        setCurrentIndex(first);
        selectionModel()->select(QItemSelection(first, model()->index(bottom, right)),
                                 QItemSelectionModel::ClearAndSelect);
        scrollTo(first);
    });
}

QStringList TableView::choices(int column) const {
    const auto it = choices_.find(column);
    return it == choices_.end() ? QStringList() : it->second;
}

bool TableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && index.column() == dialogColumn_ &&
        (trigger & (DoubleClicked | EditKeyPressed | AnyKeyPressed)) != 0) {
        emit dialogRequested(index.row());
        return false;
    }
    return QTableView::edit(index, trigger, event);
}

QString TableView::copiedText() const {
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) {
        return {};
    }
    int top = chosen.front().row();
    int bottom = top;
    int left = chosen.front().column();
    int right = left;
    for (const QModelIndex& i : chosen) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    Block rows;
    for (int r = top; r <= std::min(bottom, table_.dataRows() - 1); ++r) {
        QStringList row;
        for (int c = left; c <= right; ++c) {
            if (!isColumnHidden(c)) {
                row.append(table_.text(r, c));
            }
        }
        rows.push_back(row);
    }
    return textOf(rows);
}

bool TableView::paste(const QString& text) {
    QModelIndex at = currentIndex();
    if (!at.isValid()) {
        at = model()->index(0, 0);
    }
    std::optional<Block> block;
    int left = at.column();
    if (headerReader_) {
        block = headerReader_(text);
        if (block) {
            left = 0;
        }
    }
    if (!block) {
        block = intoShownColumns(cellsOf(text), at.row(), left);
    }
    if (block->empty()) {
        return false;
    }
    stack_.push(new SetBlock(table_, at.row(), left, *block,
                             QStringLiteral("粘贴 %1 行").arg(block->size())));
    return true;
}

Block TableView::intoShownColumns(const Block& block, int top, int left) const {
    std::vector<int> shown;
    for (int c = left; c < table_.columnCount(); ++c) {
        if (!isColumnHidden(c)) {
            shown.push_back(c);
        }
    }
    Block out;
    for (std::size_t r = 0; r < block.size(); ++r) {
        const QStringList& cells = block[r];
        const auto count = std::min(static_cast<std::size_t>(cells.size()), shown.size());
        QStringList row;
        for (std::size_t i = 0; i < count; ++i) {
            // A hidden column the block passes over is written with the text it has.
            while (left + row.size() < shown[i]) {
                row.append(
                    table_.text(top + static_cast<int>(r), left + static_cast<int>(row.size())));
            }
            row.append(cells[static_cast<qsizetype>(i)]);
        }
        out.push_back(std::move(row));
    }
    return out;
}

int TableView::fitColumns(int first, int widest) {
    int width = verticalHeader()->sizeHint().width() + 2 * frameWidth() +
                verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model()->columnCount(); ++c) {
        if (isColumnHidden(c)) {
            continue;
        }
        // The last column may be stretched wider than it needs: count what it needs.
        int needs = columnWidth(c);
        if (c >= first) {
            needs = std::min(std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c)),
                             widest);
            setColumnWidth(c, needs);
        }
        width += needs;
    }
    return width;
}

std::vector<int> TableView::chosenRows() const {
    std::set<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes()) {
        rows.insert(i.row());
    }
    if (currentIndex().isValid()) {
        rows.insert(currentIndex().row());
    }
    std::vector<int> out;
    for (const int row : rows) {
        if (row < table_.dataRows()) {
            out.push_back(row);
        }
    }
    return out;
}

void TableView::goTo(int row, int column) {
    const QModelIndex index = model()->index(row, column);
    if (index.isValid()) {
        setCurrentIndex(index);
        scrollTo(index);
    }
}

void TableView::insertRow() {
    const int at = currentIndex().isValid() ? std::min(currentIndex().row(), table_.dataRows())
                                            : table_.dataRows();
    stack_.push(new InsertRows(table_, at, {TextTable::Row(table_.columnCount())},
                               QStringLiteral("插入行")));
}

void TableView::duplicateRows() {
    const std::vector<int> rows = chosenRows();
    if (rows.empty()) {
        return;
    }
    std::vector<TextTable::Row> copies;
    for (const int row : rows) {
        copies.push_back(table_.rows()[static_cast<std::size_t>(row)]);
    }
    stack_.push(new InsertRows(table_, rows.back() + 1, copies,
                               QStringLiteral("复制 %1 行").arg(rows.size())));
}

void TableView::deleteRows() {
    const std::vector<int> rows = chosenRows();
    if (rows.empty()) {
        return;
    }
    stack_.push(new RemoveRows(table_, rows, QStringLiteral("删除 %1 行").arg(rows.size())));
}

void TableView::moveRows(int by) {
    const std::vector<int> rows = chosenRows();
    if (rows.empty()) {
        return;
    }
    // A contiguous run moves as one; a scattered choice moves the run of its first row.
    const int first = rows.front();
    int count = 1;
    while (count < static_cast<int>(rows.size()) &&
           rows[static_cast<std::size_t>(count)] == first + count) {
        ++count;
    }
    if (first + by < 0 || first + count + by > table_.dataRows()) {
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    stack_.push(new MoveRows(table_, first, count, by,
                             by < 0 ? QStringLiteral("上移") : QStringLiteral("下移")));
    selectionModel()->select(
        QItemSelection(model()->index(first + by, 0),
                       model()->index(first + by + count - 1, model()->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(model()->index(first + by, column),
                                      QItemSelectionModel::NoUpdate);
}

} // namespace planner
