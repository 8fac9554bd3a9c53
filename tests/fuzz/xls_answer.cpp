// Any bytes read as the answer of the .xls reader's process (formats/xls_answer.h): the reader
// never crashes nor runs past its limits, an answer is a workbook or one error, never half a
// workbook, and every row kept is in order, within the limits, with something in it.
#include "formats/xls_answer.h"

#include <cstddef>
#include <cstdint>

#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    formats::WorkbookLimits limits;
    limits.cells = 2'000;
    limits.columns = 64;
    limits.rows = 10'000;
    const formats::WorkbookRead book = formats::readXlsAnswer(bytes, limits);
    FUZZ_CHECK(book.error.has_value() != !book.sheets.empty(), "an error with %zu sheets",
               book.sheets.size());
    qint64 cells = 0;
    for (const formats::Sheet& sheet : book.sheets) {
        int previous = 0;
        for (const formats::Record& record : sheet.rows.records) {
            FUZZ_CHECK(record.line > previous && record.line <= limits.rows, "row %d after row %d",
                       record.line, previous);
            previous = record.line;
            FUZZ_CHECK(record.cells.size() <= limits.columns, "a row of %lld cells",
                       static_cast<long long>(record.cells.size()));
            cells += record.cells.size();
        }
    }
    FUZZ_CHECK(cells <= limits.cells, "%lld cells kept", static_cast<long long>(cells));
    return 0;
}
