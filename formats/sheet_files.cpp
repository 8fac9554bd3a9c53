#include "formats/sheet_files.h"

#include "formats/plan_words.h"
#include "formats/records.h"
#include "formats/sheet.h"
#include "formats/spliced_words.h"

#include <algorithm>
#include <xlsxwriter.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace formats {
namespace {

void appendCsv(const Table& table, QString& out) {
    out.append(joinRecord(table.header, u',')).append(u"\r\n");
    for (const std::vector<Cell>& row : table.rows) {
        QStringList cells;
        for (const Cell& cell : row) {
            cells.append(cell.text);
        }
        out.append(joinRecord(cells, u',')).append(u"\r\n");
    }
    if (!table.note.isEmpty()) {
        out.append(joinRecord({table.note}, u',')).append(u"\r\n");
    }
}

// Columns a spreadsheet shows: a Chinese character takes about two Latin ones.
double displayWidth(const QString& text) {
    double width = 0;
    for (const QChar c : text) {
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    }
    return width;
}

// The formats of one workbook; libxlsxwriter owns them and frees them with the workbook.
struct Formats {
    lxw_format* header = nullptr;
    lxw_format* integer = nullptr;
    lxw_format* kilograms = nullptr;
    lxw_format* tonnes = nullptr;
    lxw_format* percent = nullptr;
};

Formats makeFormats(lxw_workbook* book) {
    Formats f;
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    f.integer = workbook_add_format(book);
    format_set_num_format(f.integer, "0");
    f.kilograms = workbook_add_format(book);
    format_set_num_format(f.kilograms, "0.00");
    f.tonnes = workbook_add_format(book);
    format_set_num_format(f.tonnes, "0.000");
    f.percent = workbook_add_format(book);
    format_set_num_format(f.percent, "0.0%");
    return f;
}

lxw_format* formatOf(CellKind kind, const Formats& f) {
    switch (kind) {
    case CellKind::Text:
        return nullptr;
    case CellKind::Integer:
        return f.integer;
    case CellKind::Kilograms:
    case CellKind::Yuan:
        return f.kilograms;
    case CellKind::Tonnes:
        return f.tonnes;
    case CellKind::Percent:
        return f.percent;
    }
    return nullptr;
}

// Writes one table as a sheet; the first error libxlsxwriter reports, or LXW_NO_ERROR.
lxw_error addSheet(lxw_workbook* book, const Table& table, const Formats& f) {
    const QByteArray name = table.title.toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(book, name.constData());
    if (sheet == nullptr) {
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    for (qsizetype c = 0; c < table.header.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c);
        const QByteArray title = table.header[c].toUtf8();
        if (const lxw_error e = worksheet_write_string(sheet, 0, col, title.constData(), f.header);
            e != LXW_NO_ERROR) {
            return e;
        }
        double width = displayWidth(table.header[c]);
        for (const std::vector<Cell>& cells : table.rows) {
            if (c < static_cast<qsizetype>(cells.size())) {
                width = std::max(width, displayWidth(cells[static_cast<std::size_t>(c)].text));
            }
        }
        worksheet_set_column(sheet, col, col, width + 2, nullptr);
    }
    lxw_row_t row = 1;
    for (const std::vector<Cell>& cells : table.rows) {
        lxw_col_t col = 0;
        for (const Cell& cell : cells) {
            const lxw_error e =
                cell.kind == CellKind::Text
                    ? worksheet_write_string(sheet, row, col, cell.text.toUtf8().constData(),
                                             nullptr)
                    : worksheet_write_number(sheet, row, col, cell.number, formatOf(cell.kind, f));
            if (e != LXW_NO_ERROR) {
                return e;
            }
            ++col;
        }
        ++row;
    }
    if (!table.note.isEmpty()) {
        // A row apart from the table, so that a filter or a sum over it leaves the note out.
        if (const lxw_error e =
                worksheet_write_string(sheet, row + 1, 0, table.note.toUtf8().constData(), nullptr);
            e != LXW_NO_ERROR) {
            return e;
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    return LXW_NO_ERROR;
}

// A sheet's name as Excel allows it: none of []:*?/\\, at most 31 characters, none twice.
QString sheetName(QString name, QStringList& taken) {
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral("_"));
    name = name.left(31);
    const QString base = name.left(27);
    for (int n = 2; name.isEmpty() || taken.contains(name, Qt::CaseInsensitive); ++n) {
        name = QStringLiteral("%1(%2)").arg(base).arg(n);
    }
    taken.append(name);
    return name;
}

} // namespace

QByteArray tablesCsv(const std::vector<Table>& tables) {
    QString text;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) {
            text.append(u"\r\n");
        }
        appendCsv(tables[i], text);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

Workbook tablesXlsx(const std::vector<Table>& tables) {
    // libxlsxwriter writes only to a named file; the bytes are read back so that the caller
    // saves them whole, like every other output.
    const QTemporaryDir dir;
    if (!dir.isValid()) {
        return {{}, QStringLiteral("无法创建临时文件夹：%1").arg(dir.errorString())};
    }
    const QString path = dir.filePath(QStringLiteral("tables.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (book == nullptr) {
        return {{}, QStringLiteral("无法创建工作簿")};
    }
    const Formats f = makeFormats(book);
    lxw_error error = LXW_NO_ERROR;
    QStringList taken;
    for (const Table& table : tables) {
        if (error == LXW_NO_ERROR) {
            Table named = table;
            named.title = sheetName(table.title, taken);
            error = addSheet(book, named, f);
        }
    }
    // Closing writes the file and frees the workbook, whatever happened before.
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR) {
        error = closed;
    }
    if (error != LXW_NO_ERROR) {
        return {{},
                QStringLiteral("无法生成工作簿：%1").arg(QString::fromUtf8(lxw_strerror(error)))};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, QStringLiteral("无法读取生成的工作簿：%1").arg(file.errorString())};
    }
    return {file.readAll(), {}};
}

QByteArray sheetCsv(const plan::Plan& plan) {
    std::vector<Table> tables{patternTable(plan)};
    if (hasSpliced(plan)) {
        tables.push_back(splicedTable(plan));
    }
    tables.push_back(summaryTable(plan));
    return tablesCsv(tables);
}

Workbook sheetXlsx(const plan::Plan& plan) {
    std::vector<Table> tables{summaryTable(plan)};
    for (const plan::GroupPlan& g : plan.groups) {
        tables.push_back(patternTable(g));
    }
    if (hasSpliced(plan)) {
        tables.push_back(splicedTable(plan));
    }
    return tablesXlsx(tables);
}

QByteArray buildingCsv(const plan::BuildingPlan& building) {
    QString text;
    for (const plan::FloorPlan& f : building.floors) {
        text.append(joinRecord({QStringLiteral("楼层：%1").arg(floorName(f.floor))}, u','))
            .append(u"\r\n");
        appendCsv(patternTable(f.plan), text);
        text.append(u"\r\n");
        if (hasSpliced(f.plan)) {
            appendCsv(splicedTable(f.plan), text);
            text.append(u"\r\n");
        }
    }
    appendCsv(floorsTable(building), text);
    text.append(u"\r\n");
    appendCsv(summaryTable(plan::buildingTotals(building)), text);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

Workbook buildingXlsx(const plan::BuildingPlan& building) {
    std::vector<Table> tables{summaryTable(plan::buildingTotals(building)), floorsTable(building)};
    for (const plan::FloorPlan& f : building.floors) {
        Table patterns = patternTable(f.plan);
        patterns.title = floorName(f.floor);
        tables.push_back(std::move(patterns));
        if (hasSpliced(f.plan)) {
            Table spliced = splicedTable(f.plan);
            spliced.title = QStringLiteral("%1 接长").arg(floorName(f.floor));
            tables.push_back(std::move(spliced));
        }
    }
    return tablesXlsx(tables);
}

} // namespace formats
