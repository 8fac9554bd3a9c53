#include "formats/freexl_sheets.h"

#include "formats/xls_answer.h"

#include <freexl.h>

#include <QFile>
#include <QTemporaryFile>

namespace formats {
namespace {

// FreeXL opens a path, never bytes: the handle closes with its owner.
class Handle {
public:
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != nullptr) {
            freexl_close(handle_);
        }
    }
    const void** out() { return &handle_; }
    [[nodiscard]] const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

WorkbookProblem openProblem(int code) {
    switch (code) {
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return WorkbookProblem::NotWorkbook;
    case FREEXL_INSUFFICIENT_MEMORY:
        return WorkbookProblem::TooLarge;
    default:
        return WorkbookProblem::Corrupt;
    }
}

QString numberText(double number) {
    return number == 0 ? QStringLiteral("0") : QString::number(number, 'g', 15);
}

// Cells as FreeXL gives them, into an answer; the limits are checked here too, so that a file
// claiming a million columns stops the child early, before the program checks them again.
class XlsReader {
public:
    XlsReader(const void* handle, const WorkbookLimits& limits, XlsAnswer& answer)
        : handle_(handle), limits_(limits), cellsLeft_(limits.cells), answer_(answer) {}

    void read() {
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
            answer_.problem(WorkbookProblem::Corrupt);
            return;
        }
        for (unsigned int i = 0; i < count && i <= 0xFFFF; ++i) {
            if (!readSheet(static_cast<unsigned short>(i))) {
                return;
            }
        }
    }

private:
    bool readSheet(unsigned short index) {
        const char* utf8Name = nullptr;
        if (freexl_get_worksheet_name(handle_, index, &utf8Name) != FREEXL_OK ||
            utf8Name == nullptr) {
            answer_.problem(WorkbookProblem::Corrupt);
            return false;
        }
        const QString name = QString::fromUtf8(utf8Name);
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle_, index) != FREEXL_OK ||
            freexl_worksheet_dimensions(handle_, &rows, &columns) != FREEXL_OK) {
            answer_.problem(WorkbookProblem::UnreadableSheet, name);
            return false;
        }
        // The dimensions are the file's claim: the cells asked for stay within the limits.
        if (rows > unsigned(limits_.rows) || columns > limits_.columns ||
            qint64(rows) * columns > cellsLeft_) {
            answer_.problem(WorkbookProblem::TooLarge, name);
            return false;
        }
        cellsLeft_ -= qint64(rows) * columns;
        answer_.sheet(name);
        for (unsigned int row = 0; row < rows; ++row) {
            for (unsigned short column = 0; column < columns; ++column) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(handle_, row, column, &cell) != FREEXL_OK) {
                    answer_.problem(WorkbookProblem::UnreadableSheet, name);
                    return false;
                }
                if (const QString value = text(cell); !value.isEmpty()) {
                    answer_.cell(row + 1, column, value);
                }
            }
        }
        return true;
    }

    static QString text(const FreeXL_CellValue& cell) {
        switch (cell.type) {
        case FREEXL_CELL_INT:
            return QString::number(cell.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return numberText(cell.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return cell.value.text_value == nullptr ? QString()
                                                    : QString::fromUtf8(cell.value.text_value);
        default:
            return {};
        }
    }

    const void* handle_;
    const WorkbookLimits& limits_;
    qint64 cellsLeft_;
    XlsAnswer& answer_;
};

} // namespace

QByteArray freexlAnswer(const QByteArray& bytes, const WorkbookLimits& limits) {
    XlsAnswer answer;
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) {
        answer.problem(WorkbookProblem::UnreadableSheet);
        return answer.finished();
    }
    const QByteArray path = QFile::encodeName(file.fileName());
    {
        // Asked first, with the reader that stops before the cells: an encrypted workbook's
        // cells cannot be read, and its records are not to be taken for damage.
        Handle info;
        const int opened = freexl_open_info(path.constData(), info.out());
        if (opened != FREEXL_OK) {
            answer.problem(openProblem(opened));
            return answer.finished();
        }
        unsigned int password = 0;
        if (freexl_get_info(info.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
            password == FREEXL_BIFF_OBFUSCATED) {
            answer.problem(WorkbookProblem::Encrypted);
            return answer.finished();
        }
    }
    Handle handle;
    const int opened = freexl_open(path.constData(), handle.out());
    if (opened != FREEXL_OK) {
        answer.problem(openProblem(opened));
        return answer.finished();
    }
    XlsReader(handle.get(), limits, answer).read();
    return answer.finished();
}

} // namespace formats
