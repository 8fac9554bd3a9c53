#pragma once

#include <vector>

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Rows of delimited text as spreadsheets write them: RFC 4180 quoting (a quoted field may hold
// the separator, line breaks and doubled quotes), CR LF or LF line ends. The same rules serve a
// file and a block pasted from Excel or WPS, which is tab-separated.
namespace formats {

struct Record {
    QStringList cells;  // as written, not trimmed; quotes removed
    QList<bool> quoted; // per cell: it was written in quotes (so "#1" is data, not a section)
    int line = 0;       // the physical line the record starts on, from 1
};

struct Records {
    std::vector<Record> records; // blank records (every cell blank) are left out
    int unclosedQuote = 0;       // above 0: the line of a record whose quote never closes
};

// The separator of the first non-blank line outside quotes: the most frequent of tab,
// semicolon and comma; a comma when there is none.
[[nodiscard]] QChar detectSeparator(QStringView text);

[[nodiscard]] Records splitRecords(QStringView text, QChar separator);

// One record, quoting only the cells that need it (the separator, a quote, a line break,
// spaces at either end, or a '#' first); no line end is added.
[[nodiscard]] QString joinRecord(const QStringList& cells, QChar separator);

// True when the text is empty or only blanks, the ideographic space included.
[[nodiscard]] bool isBlank(QStringView text);

} // namespace formats
