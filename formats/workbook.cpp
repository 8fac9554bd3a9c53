#include "formats/workbook.h"

#include "formats/xls_reader.h"
#include "formats/xlsx_reader.h"

namespace formats {
namespace {

constexpr char kZip[] = "PK\x03\x04";
constexpr char kOle[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// Office keeps an encrypted .xlsx in an OLE file whose one stream of interest is named so; the
// name stands in the file's directory in UTF-16.
bool holdsEncryptedPackage(const QByteArray& bytes) {
    static const QByteArray name = [] {
        QByteArray out;
        for (const char c : QByteArrayView("EncryptedPackage")) {
            out.append(c).append('\0');
        }
        return out;
    }();
    return bytes.contains(name);
}

} // namespace

FileKind fileKind(const QByteArray& bytes, const QString& name) {
    if (bytes.startsWith(kZip)) {
        return FileKind::Xlsx;
    }
    if (bytes.startsWith(QByteArrayView(kOle, 8))) {
        return FileKind::Ole;
    }
    const QString lower = name.toLower();
    if (lower.endsWith(u".xlsx") || lower.endsWith(u".xls") || lower.endsWith(u".xlsm")) {
        return FileKind::Workbook;
    }
    return FileKind::Text;
}

namespace {

WorkbookRead readByKind(const QByteArray& bytes, const QString& name,
                        const WorkbookLimits& limits) {
    switch (fileKind(bytes, name)) {
    case FileKind::Xlsx:
        return readXlsx(bytes, limits);
    case FileKind::Ole:
        if (holdsEncryptedPackage(bytes)) {
            return {{}, WorkbookError{WorkbookProblem::Encrypted, {}, {}}};
        }
        return readXls(bytes, limits);
    case FileKind::Workbook:
    case FileKind::Text:
        break;
    }
    return {{}, WorkbookError{WorkbookProblem::NotWorkbook, {}, {}}};
}

} // namespace

WorkbookRead readWorkbook(const QByteArray& bytes, const QString& name,
                          const WorkbookLimits& limits) {
    WorkbookRead out = readByKind(bytes, name, limits);
    if (out.error) {
        out.sheets.clear(); // half a workbook is never taken for the whole
    }
    return out;
}

QString columnLetters(int column) {
    QString out;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) {
        out.prepend(QChar(u'A' + (n - 1) % 26));
    }
    return out;
}

} // namespace formats
