#pragma once

#include "formats/workbook.h"

#include <QByteArray>
#include <QString>

// What the .xls reader's child process (hengchi-xls-reader) hands back on its standard output:
// the workbook's sheets and cells, or the problem it found. FreeXL reads out of bounds on some
// hostile files, so it only ever runs in that child, which a crash or a limit ends alone; the
// program reads its answer here, within the same limits as any workbook, and takes anything it
// cannot read whole for a file that could not be read.
//
//     HXLS1\n            then records, each a tag byte and its fields:
//     S name             a sheet begins
//     C row column text  a cell of the sheet begun last (row from 1, column from 0)
//     E problem sheet    the reader's problem (WorkbookProblem) and the sheet it is about
//     Z                  the end
//
// Numbers are 4 bytes, little-endian; a text is its length in bytes (4) and its UTF-8.
namespace formats {

// The writer's side, for the child: an answer built record by record.
class XlsAnswer {
public:
    XlsAnswer();
    void sheet(const QString& name);
    void cell(quint32 row, quint32 column, const QString& text);
    void problem(WorkbookProblem problem, const QString& sheet = {});
    // The whole answer, its end written.
    [[nodiscard]] QByteArray finished();

private:
    void number(quint32 value);
    void text(const QString& text);
    QByteArray bytes_;
};

// The reader's side: the workbook in an answer, within `limits`. An answer that is cut short,
// malformed or past the limits is an error (ReaderFailed or TooLarge), never half a workbook.
[[nodiscard]] WorkbookRead readXlsAnswer(const QByteArray& answer, const WorkbookLimits& limits);

} // namespace formats
