#include "formats/sheet_files.h"

#include "formats/records.h"
#include "formats/sheet.h"
#include "formats/spliced_words.h"

#include <algorithm>
#include <xlsxwriter.h>

#include <QFile>
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

} // namespace

QByteArray sheetCsv(const plan::Plan& plan) {
    QString text;
    appendCsv(patternTable(plan), text);
    text.append(u"\r\n");
    if (hasSpliced(plan)) {
        appendCsv(splicedTable(plan), text);
        text.append(u"\r\n");
    }
    appendCsv(summaryTable(plan), text);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

Workbook sheetXlsx(const plan::Plan& plan) {
    // libxlsxwriter writes only to a named file; the bytes are read back so that the caller
    // saves them whole, like every other output.
    const QTemporaryDir dir;
    if (!dir.isValid()) {
        return {{}, QStringLiteral("无法创建临时文件夹：%1").arg(dir.errorString())};
    }
    const QString path = dir.filePath(QStringLiteral("plan.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (book == nullptr) {
        return {{}, QStringLiteral("无法创建工作簿")};
    }
    const Formats f = makeFormats(book);
    lxw_error error = addSheet(book, summaryTable(plan), f);
    for (const plan::GroupPlan& g : plan.groups) {
        if (error == LXW_NO_ERROR) {
            error = addSheet(book, patternTable(g), f);
        }
    }
    if (error == LXW_NO_ERROR && hasSpliced(plan)) {
        error = addSheet(book, splicedTable(plan), f);
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

} // namespace formats
