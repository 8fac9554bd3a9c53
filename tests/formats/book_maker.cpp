#include "book_maker.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <QFile>
#include <QTemporaryDir>

QByteArray zipOf(const std::vector<std::pair<QString, QByteArray>>& parts) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("parts.zip")));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return {};
    }
    for (const auto& [name, data] : parts) {
        const zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0,
                                  nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) != ZIP_OK ||
            zipWriteInFileInZip(zip, data.constData(), static_cast<unsigned>(data.size())) !=
                ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            zipClose(zip, nullptr);
            return {};
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK) {
        return {};
    }
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray handXlsx(const std::vector<HandSheet>& sheets, const QString& strings) {
    const QString main =
        QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    const QString rel =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    QString book =
        QStringLiteral("<?xml version=\"1.0\"?><workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets>")
            .arg(main, rel);
    QString rels =
        QStringLiteral("<?xml version=\"1.0\"?><Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    std::vector<std::pair<QString, QByteArray>> parts;
    parts.emplace_back(
        QStringLiteral("_rels/.rels"),
        QStringLiteral("<?xml version=\"1.0\"?><Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rId1\" Type=\"%1/officeDocument\" "
                       "Target=\"xl/workbook.xml\"/></Relationships>")
            .arg(rel)
            .toUtf8());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        book += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>")
                    .arg(sheets[i].name)
                    .arg(n);
        rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2/worksheet\" "
                               "Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(n)
                    .arg(rel);
        parts.emplace_back(
            QStringLiteral("xl/worksheets/sheet%1.xml").arg(n),
            QStringLiteral("<?xml version=\"1.0\"?><worksheet xmlns=\"%1\"><sheetData>%2"
                           "</sheetData>%3</worksheet>")
                .arg(main, sheets[i].data, sheets[i].after)
                .toUtf8());
    }
    if (!strings.isEmpty()) {
        rels += QStringLiteral("<Relationship Id=\"rIdS\" Type=\"%1/sharedStrings\" "
                               "Target=\"sharedStrings.xml\"/>")
                    .arg(rel);
        parts.emplace_back(QStringLiteral("xl/sharedStrings.xml"),
                           QStringLiteral("<?xml version=\"1.0\"?><sst xmlns=\"%1\">%2</sst>")
                               .arg(main, strings)
                               .toUtf8());
    }
    parts.emplace_back(QStringLiteral("xl/workbook.xml"),
                       (book + QStringLiteral("</sheets></workbook>")).toUtf8());
    parts.emplace_back(QStringLiteral("xl/_rels/workbook.xml.rels"),
                       (rels + QStringLiteral("</Relationships>")).toUtf8());
    return zipOf(parts);
}

namespace {

QByteArray writeWriterXlsx() {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("list.xlsx")));
    lxw_workbook* book = workbook_new(path.constData());
    lxw_worksheet* notes = workbook_add_worksheet(book, "说明");
    worksheet_write_string(notes, 0, 0, "清单在下一张工作表", nullptr);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "钢筋表");
    worksheet_merge_range(sheet, 0, 0, 0, 4, "某某工程 钢筋下料单", nullptr);
    worksheet_write_string(sheet, 1, 0, "编制：张三", nullptr);
    const char* header[] = {"编号", "直径", "长度", "根数", "备注"};
    for (lxw_col_t c = 0; c < 5; ++c) {
        worksheet_write_string(sheet, 2, c, header[c], nullptr);
    }
    worksheet_write_string(sheet, 3, 0, "KL1-1", nullptr);
    worksheet_write_number(sheet, 3, 1, 25, nullptr);
    worksheet_write_number(sheet, 3, 2, 6456.34, nullptr);
    worksheet_write_number(sheet, 3, 3, 4, nullptr);
    worksheet_write_boolean(sheet, 3, 4, 1, nullptr);
    worksheet_write_string(sheet, 4, 0, "KL1-2", nullptr);
    worksheet_write_number(sheet, 4, 1, 22, nullptr);
    worksheet_write_formula_num(sheet, 4, 2, "=C4-3456.34", nullptr, 3000);
    worksheet_write_number(sheet, 4, 3, 2, nullptr);
    worksheet_write_string(sheet, 5, 0, "Z1", nullptr);
    worksheet_write_number(sheet, 5, 1, 20, nullptr);
    worksheet_write_number(sheet, 5, 2, 3200, nullptr);
    worksheet_write_number(sheet, 5, 3, 8, nullptr);
    worksheet_write_string(sheet, 7, 0, "#设置", nullptr);
    worksheet_write_string(sheet, 8, 0, "锯口", nullptr);
    worksheet_write_number(sheet, 8, 1, 3, nullptr);
    if (workbook_close(book) != LXW_NO_ERROR) {
        return {};
    }
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Made once a process: the suites' tables name it a dozen times, and every test of the
// executable would otherwise pay for writing them all when its tables are built.
QByteArray writerXlsx() {
    static const QByteArray bytes = writeWriterXlsx();
    return bytes;
}

QByteArray dataFile(const char* name) {
    QFile file(QStringLiteral(HENGCHI_FORMATS_DATA "/") + QString::fromUtf8(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
