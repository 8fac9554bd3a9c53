#include "formats/sheet_grid.h"

#include <limits>

namespace formats {

bool SheetGrid::reserve(Row& row, int column) {
    const qsizetype grow = column + 1 - row.cells.size();
    if (grow <= 0) {
        return true;
    }
    if (grow > cellsLeft_) {
        return false;
    }
    cellsLeft_ -= grow;
    row.cells.resize(column + 1);
    row.quoted.resize(column + 1);
    return true;
}

bool SheetGrid::put(int row, int column, const QString& text, bool quoted) {
    if (row < 1 || row > limits_.rows || column < 0 || column >= limits_.columns) {
        return false;
    }
    if (text.isEmpty()) {
        return true; // an empty cell is only a place, which the cells right of it keep
    }
    Row& at = rows_[row];
    if (!reserve(at, column)) {
        return false;
    }
    at.cells[column] = text;
    at.quoted[column] = quoted;
    return true;
}

bool SheetGrid::merge(int top, int left, int bottom, int right) {
    if (top > bottom || left > right || top < 1 || left < 0 || bottom > limits_.rows ||
        right >= limits_.columns) {
        return false;
    }
    const auto first = rows_.find(top);
    if (first == rows_.end() || left >= first->second.cells.size() ||
        first->second.cells[left].isEmpty()) {
        return true; // Excel shows a merged range with an empty first cell as empty
    }
    const QString text = first->second.cells[left];
    const bool quoted = first->second.quoted[left];
    // Each new row of the range takes its width from the cells left, so even a range over the
    // whole sheet stops at the limit.
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (!put(row, column, text, quoted)) {
                return false;
            }
        }
    }
    return true;
}

Records SheetGrid::records() const {
    Records out;
    for (const auto& [line, row] : rows_) {
        bool blank = true;
        for (const QString& cell : row.cells) {
            blank = blank && isBlank(cell);
        }
        if (!blank) {
            out.records.push_back({row.cells, row.quoted, line});
        }
    }
    return out;
}

std::optional<CellReference> cellReference(QStringView text) {
    CellReference out;
    qsizetype i = 0;
    qint64 column = 0;
    for (; i < text.size() && i < 4; ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') {
            column = column * 26 + (u - u'A' + 1);
        } else if (u >= u'a' && u <= u'z') {
            column = column * 26 + (u - u'a' + 1);
        } else {
            break;
        }
    }
    if (i == 0 || i == text.size()) {
        return std::nullopt;
    }
    qint64 row = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9' || row > std::numeric_limits<int>::max() / 10) {
            return std::nullopt;
        }
        row = row * 10 + (u - u'0');
    }
    if (row < 1 || row > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    out.row = static_cast<int>(row);
    out.column = static_cast<int>(column - 1);
    return out;
}

} // namespace formats
