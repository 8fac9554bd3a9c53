#include "formats/offcuts_file.h"

#include "formats/columns.h"
#include "formats/records.h"

#include <algorithm>
#include <functional>

namespace formats {
OffcutsRead readOffcuts(const QByteArray& bytes) {
    OffcutsRead out;
    const Decoded decoded = decode(bytes);
    out.encoding = decoded.encoding;
    if (decoded.badLine > 0) {
        out.errors.push_back(fileError(decoded.badLine, FileProblem::NotText));
        return out;
    }
    const Records records = splitRecords(decoded.text, detectSeparator(decoded.text));
    if (records.unclosedQuote > 0) {
        out.errors.push_back(fileError(records.unclosedQuote, FileProblem::UnclosedQuote));
    }
    if (records.records.empty()) {
        out.errors.push_back(fileError(0, FileProblem::NoHeader));
    } else {
        const std::vector<Record>& rows = records.records;
        const std::size_t header = headerAt(rows, 0, rows.size(), kOffcutColumns);
        const Columns columns(rows[header], kOffcutColumns, out.errors);
        for (std::size_t i = header + 1; i < rows.size() && columns.complete(); ++i) {
            if (auto offcut = offcutRow(rows[i], columns)) {
                out.offcuts.push_back(std::move(*offcut));
            }
        }
    }
    std::ranges::stable_sort(out.errors, std::less{}, &FileError::line);
    return out;
}

} // namespace formats
