#include "formats/records.h"

#include <array>

namespace formats {
namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kIdeographicSpace = u'\u3000';

bool isBlankChar(QChar c) {
    return c == u' ' || c == u'\t' || c == kIdeographicSpace;
}

bool isLineEnd(QChar c) {
    return c == u'\n' || c == u'\r';
}

// Reads text one record at a time, counting physical lines. A line ends at CR LF, LF, or a
// lone CR; a quoted cell keeps its line ends exactly as written.
class Splitter {
public:
    Splitter(QStringView text, QChar separator) : text_(text), separator_(separator) {}

    [[nodiscard]] bool atEnd() const { return pos_ >= text_.size(); }
    [[nodiscard]] int unclosedQuote() const { return unclosedQuote_; }

    Record next() {
        Record record;
        record.line = line_;
        for (;;) {
            bool quoted = false;
            QString cell = readCell(record.line, quoted);
            record.cells.append(std::move(cell));
            record.quoted.append(quoted);
            if (atEnd()) {
                return record;
            }
            if (text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            skipLineEnd();
            return record;
        }
    }

private:
    QString readCell(int recordLine, bool& quoted) {
        QString cell;
        if (!atEnd() && text_[pos_] == kQuote) {
            quoted = true;
            ++pos_;
            for (;;) {
                if (atEnd()) {
                    unclosedQuote_ = recordLine;
                    return cell;
                }
                const QChar c = text_[pos_];
                if (c == kQuote) {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == kQuote) {
                        cell.append(kQuote);
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                if (c == u'\n' || (c == u'\r' && !nextIs(u'\n'))) {
                    ++line_;
                }
                cell.append(c);
                ++pos_;
            }
        }
        // Text after a closing quote is kept as Excel keeps it, rather than lost.
        while (!atEnd() && text_[pos_] != separator_ && !isLineEnd(text_[pos_])) {
            cell.append(text_[pos_++]);
        }
        return cell;
    }

    [[nodiscard]] bool nextIs(QChar c) const {
        return pos_ + 1 < text_.size() && text_[pos_ + 1] == c;
    }

    void skipLineEnd() {
        if (text_[pos_] == u'\r' && nextIs(u'\n')) {
            ++pos_;
        }
        ++pos_;
        ++line_;
    }

    QStringView text_;
    QChar separator_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int unclosedQuote_ = 0;
};

bool blankRecord(const Record& record) {
    for (const QString& cell : record.cells) {
        if (!isBlank(cell)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool isBlank(QStringView text) {
    for (const QChar c : text) {
        if (!isBlankChar(c) && !isLineEnd(c)) {
            return false;
        }
    }
    return true;
}

QChar detectSeparator(QStringView text) {
    constexpr std::array<QChar, 3> candidates{u'\t', u';', u','}; // ties go to the first
    std::array<int, 3> counts{};
    bool inQuotes = false;
    bool lineHasText = false;
    for (const QChar c : text) {
        if (c == kQuote) {
            inQuotes = !inQuotes;
        }
        if (inQuotes) {
            lineHasText = true;
            continue;
        }
        if (isLineEnd(c)) {
            if (lineHasText) {
                break;
            }
            counts = {};
            continue;
        }
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (c == candidates[i]) {
                ++counts[i];
            }
        }
        if (!isBlankChar(c) && c != u';' && c != u',') {
            lineHasText = true;
        }
    }
    std::size_t best = 2;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (counts[i] > counts[best] || (counts[i] == counts[best] && counts[i] > 0 && i < best)) {
            best = i;
        }
    }
    return candidates[best];
}

Records splitRecords(QStringView text, QChar separator) {
    Records out;
    Splitter splitter(text, separator);
    while (!splitter.atEnd()) {
        Record record = splitter.next();
        if (!blankRecord(record)) {
            out.records.push_back(std::move(record));
        }
    }
    out.unclosedQuote = splitter.unclosedQuote();
    return out;
}

QString joinRecord(const QStringList& cells, QChar separator) {
    QString out;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QString& cell = cells[i];
        if (i > 0) {
            out.append(separator);
        }
        // A cell starting with '#' is quoted so that a mark like "#1" is never read as a section;
        // one with any space at its ends, so that no reader trims it.
        const bool needsQuotes =
            cell.contains(separator) || cell.contains(kQuote) || cell.contains(u'\n') ||
            cell.contains(u'\r') || cell.trimmed().startsWith(u'#') ||
            (!cell.isEmpty() && (cell.front().isSpace() || cell.back().isSpace()));
        if (needsQuotes) {
            QString escaped = cell;
            escaped.replace(kQuote, QStringLiteral("\"\""));
            out.append(kQuote).append(escaped).append(kQuote);
        } else {
            out.append(cell);
        }
    }
    return out;
}

} // namespace formats
