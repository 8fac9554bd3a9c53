// Any bytes read as a workbook, named .xlsx and .xls: the readers never crash nor run past
// their limits, a workbook is either read whole or is one error, every row is an Excel row in
// order with something in it, and a list read from it keeps its rows in the sheet's order.
#include "formats/list_input.h"
#include "formats/workbook.h"

#include <cstddef>
#include <cstdint>

#include "check.h"

namespace {

void checkBook(const QByteArray& bytes, const QString& name) {
    formats::WorkbookLimits limits;
    // Small enough that the fuzzer meets them, and that no input takes long.
    limits.cells = 20'000;
    limits.partBytes = 1 << 20;
    limits.totalBytes = 4 << 20;
    const formats::WorkbookRead book = formats::readWorkbook(bytes, name, limits);
    FUZZ_CHECK(!book.error || book.sheets.empty(), "an error with %zu sheets read",
               book.sheets.size());
    qint64 cells = 0;
    for (const formats::Sheet& sheet : book.sheets) {
        int previous = 0;
        for (const formats::Record& record : sheet.rows.records) {
            FUZZ_CHECK(record.line > previous && record.line <= limits.rows, "row %d after row %d",
                       record.line, previous);
            previous = record.line;
            FUZZ_CHECK(record.cells.size() == record.quoted.size() &&
                           record.cells.size() <= limits.columns,
                       "a row of %lld cells", static_cast<long long>(record.cells.size()));
            bool blank = true;
            for (const QString& cell : record.cells) {
                blank = blank && formats::isBlank(cell);
            }
            FUZZ_CHECK(!blank, "blank row %d kept", record.line);
            cells += record.cells.size();
        }
    }
    FUZZ_CHECK(cells <= limits.cells, "%lld cells kept", static_cast<long long>(cells));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
#ifdef HENGCHI_LIBFUZZER
    // An .xls is read by FreeXL in a process of its own (formats/xls_reader.h), one a file: the
    // fuzzer keeps to the .xlsx engine and the list reader in this process, and the xls_answer
    // target to what the child hands back. The corpus replay still reads its real .xls files
    // through the child. (FreeXL 1.0.6 reads past its own buffers on crafted BIFF records: the
    // inputs with which this target found it are in tests/fuzz/freexl_findings.)
    if (formats::fileKind(bytes, QString()) == formats::FileKind::Ole) {
        return -1; // not kept in the corpus
    }
#endif
    checkBook(bytes, QStringLiteral("清单.xlsx"));
    checkBook(bytes, QStringLiteral("清单.xls"));

    if (formats::fileKind(bytes, QStringLiteral("清单.xlsx")) != formats::FileKind::Text) {
        const formats::ListRead read = formats::readListFile(bytes, QStringLiteral("清单.xlsx"));
        int previous = 0;
        for (const formats::ListRow& row : read.document.rows) {
            FUZZ_CHECK(row.piece.line > previous, "row %d after row %d", row.piece.line, previous);
            previous = row.piece.line;
        }
        for (const formats::FileError& e : read.errors) {
            FUZZ_CHECK(e.problem != formats::FileProblem::Workbook || e.line == 0,
                       "a workbook error on row %d", e.line);
        }
    }
    return 0;
}
