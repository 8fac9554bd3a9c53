#include "formats/xls_answer.h"

#include "formats/sheet_grid.h"

#include <optional>

namespace formats {
namespace {

constexpr char kMagic[] = "HXLS1\n";
constexpr qsizetype kMagicSize = sizeof(kMagic) - 1;

// The problems an answer may carry: a number that is none of them is a malformed answer.
std::optional<WorkbookProblem> problemOf(quint32 code) {
    switch (static_cast<WorkbookProblem>(code)) {
    case WorkbookProblem::Encrypted:
    case WorkbookProblem::Corrupt:
    case WorkbookProblem::NotWorkbook:
    case WorkbookProblem::UnreadableSheet:
    case WorkbookProblem::TooLarge:
        return static_cast<WorkbookProblem>(code);
    case WorkbookProblem::NoTable:
    case WorkbookProblem::NoOffcutTable:
    case WorkbookProblem::UnknownSheet:
    case WorkbookProblem::ReaderFailed:
    case WorkbookProblem::ReaderMissing:
        break;
    }
    return std::nullopt;
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    [[nodiscard]] bool atEnd() const { return at_ >= bytes_.size(); }
    [[nodiscard]] std::optional<char> tag() {
        if (atEnd()) {
            return std::nullopt;
        }
        return bytes_[at_++];
    }
    [[nodiscard]] std::optional<quint32> number() {
        if (bytes_.size() - at_ < 4) {
            return std::nullopt;
        }
        quint32 value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(bytes_[at_ + i]);
        }
        at_ += 4;
        return value;
    }
    [[nodiscard]] std::optional<QString> text() {
        const std::optional<quint32> size = number();
        if (!size || *size > static_cast<quint64>(bytes_.size() - at_)) {
            return std::nullopt;
        }
        QString out = QString::fromUtf8(bytes_.constData() + at_, static_cast<qsizetype>(*size));
        at_ += static_cast<qsizetype>(*size);
        return out;
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = kMagicSize;
};

WorkbookRead failed(WorkbookProblem problem, const QString& sheet = {}) {
    return {{}, WorkbookError{problem, sheet, {}}};
}

} // namespace

XlsAnswer::XlsAnswer() : bytes_(kMagic, kMagicSize) {
}

void XlsAnswer::number(quint32 value) {
    for (int i = 0; i < 4; ++i) {
        bytes_.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void XlsAnswer::text(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    number(static_cast<quint32>(utf8.size()));
    bytes_.append(utf8);
}

void XlsAnswer::sheet(const QString& name) {
    bytes_.append('S');
    text(name);
}

void XlsAnswer::cell(quint32 row, quint32 column, const QString& text) {
    bytes_.append('C');
    number(row);
    number(column);
    this->text(text);
}

void XlsAnswer::problem(WorkbookProblem problem, const QString& sheet) {
    bytes_.append('E');
    number(static_cast<quint32>(problem));
    text(sheet);
}

QByteArray XlsAnswer::finished() {
    bytes_.append('Z');
    return bytes_;
}

WorkbookRead readXlsAnswer(const QByteArray& answer, const WorkbookLimits& limits) {
    if (!answer.startsWith(QByteArrayView(kMagic, kMagicSize))) {
        return failed(WorkbookProblem::ReaderFailed);
    }
    WorkbookRead out;
    qint64 cellsLeft = limits.cells;
    std::optional<QString> name;
    std::optional<SheetGrid> grid;
    const auto close = [&] {
        if (name) {
            out.sheets.push_back({*name, grid->records()});
        }
    };
    Reader in(answer);
    for (;;) {
        const std::optional<char> tag = in.tag();
        if (!tag) {
            return failed(WorkbookProblem::ReaderFailed); // cut short: no end
        }
        switch (*tag) {
        case 'S': {
            const std::optional<QString> sheet = in.text();
            if (!sheet) {
                return failed(WorkbookProblem::ReaderFailed);
            }
            close();
            name = *sheet;
            grid.emplace(limits, cellsLeft);
            break;
        }
        case 'C': {
            const std::optional<quint32> row = in.number();
            const std::optional<quint32> column = in.number();
            const std::optional<QString> text = in.text();
            if (!row || !column || !text || !grid) {
                return failed(WorkbookProblem::ReaderFailed);
            }
            if (*row > static_cast<quint32>(limits.rows) ||
                *column >= static_cast<quint32>(limits.columns) ||
                !grid->put(static_cast<int>(*row), static_cast<int>(*column), *text)) {
                return failed(WorkbookProblem::TooLarge, *name);
            }
            break;
        }
        case 'E': {
            const std::optional<quint32> code = in.number();
            const std::optional<QString> sheet = in.text();
            const std::optional<WorkbookProblem> problem = code ? problemOf(*code) : std::nullopt;
            if (!problem || !sheet) {
                return failed(WorkbookProblem::ReaderFailed);
            }
            return failed(*problem, *sheet);
        }
        case 'Z':
            if (!in.atEnd()) {
                return failed(WorkbookProblem::ReaderFailed);
            }
            close();
            if (out.sheets.empty()) {
                return failed(WorkbookProblem::NotWorkbook);
            }
            return out;
        default:
            return failed(WorkbookProblem::ReaderFailed);
        }
    }
}

} // namespace formats
