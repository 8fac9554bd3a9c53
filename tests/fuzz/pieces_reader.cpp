// Any bytes read as a list file: the reader never crashes, every line it names is in the file,
// rows keep the order of their lines, and what it read writes out and reads back as the same
// document, byte for byte the second time.
#include "formats/list_file.h"

#include <cstddef>
#include <cstdint>

#include "check.h"

namespace {

bool sameRows(const formats::ListDocument& a, const formats::ListDocument& b) {
    if (a.otherColumns != b.otherColumns || a.rows.size() != b.rows.size() ||
        a.offcuts.size() != b.offcuts.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.rows.size(); ++i) {
        const formats::ListRow& x = a.rows[i];
        const formats::ListRow& y = b.rows[i];
        if (x.piece.mark != y.piece.mark || x.piece.diameter != y.piece.diameter ||
            x.piece.length != y.piece.length || x.piece.count != y.piece.count ||
            x.shape != y.shape || x.parameters != y.parameters || x.others != y.others ||
            x.piece.grade != y.piece.grade || x.piece.elements != y.piece.elements ||
            x.piece.total != y.piece.total || x.piece.joint != y.piece.joint ||
            x.piece.share != y.piece.share || x.piece.lap != y.piece.lap ||
            x.piece.zones != y.piece.zones) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.offcuts.size(); ++i) {
        const plan::OffcutRow& x = a.offcuts[i];
        const plan::OffcutRow& y = b.offcuts[i];
        if (x.diameter != y.diameter || x.length != y.length || x.count != y.count) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const formats::ListRead read = formats::readList(bytes);

    // Every line break of any encoding holds a '\n' or '\r' byte, or is UTF-16.
    const int lines = static_cast<int>(bytes.count('\n') + bytes.count('\r')) + 1;
    for (const formats::FileError& e : read.errors) {
        FUZZ_CHECK(e.line >= 0 && e.line <= lines, "error on line %d of %d", e.line, lines);
    }
    int previous = 0;
    for (const formats::ListRow& row : read.document.rows) {
        FUZZ_CHECK(row.piece.line > previous && row.piece.line <= lines,
                   "row on line %d after line %d, of %d", row.piece.line, previous, lines);
        previous = row.piece.line;
    }

    const QByteArray written = formats::writeList(read.document);
    const formats::ListRead back = formats::readList(written);
    FUZZ_CHECK(back.errors.empty(), "the written list reads with %zu errors, the first on line %d",
               back.errors.size(), back.errors.empty() ? 0 : back.errors.front().line);
    FUZZ_CHECK(sameRows(back.document, read.document), "the written list reads back other rows");
    FUZZ_CHECK(back.document.settings == read.document.settings,
               "the written list reads back other settings");
    FUZZ_CHECK(formats::writeList(back.document) == written, "writing again changes the bytes");
    return 0;
}
