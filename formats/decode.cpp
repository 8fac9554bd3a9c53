#include "formats/decode.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace formats {
namespace {

// Each call decodes a whole text: a character cut off at the end is an error, not something to
// wait for.
constexpr auto kWhole = QStringConverter::Flag::Stateless;

// A fresh decoder for each text: an ICU decoder keeps its errors across resetState().
template <typename Make>
bool reads(QByteArrayView bytes, const Make& make) {
    QStringDecoder decoder = make();
    const QString text = decoder.decode(bytes); // decode() converts when it becomes a QString
    return !decoder.hasError();
}

// The first line (from 1) that does not decode. A line feed is a line feed in UTF-8 and in
// GB18030 alike: neither uses 0x0A inside a character.
template <typename Make>
int firstBadLine(QByteArrayView bytes, const Make& make) {
    int line = 1;
    while (!bytes.empty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end + 1);
        if (!reads(piece, make)) {
            return line;
        }
        bytes = bytes.sliced(piece.size());
        ++line;
    }
    return 1;
}

template <typename Make>
Decoded decodeAll(QByteArrayView bytes, const Make& make, Encoding encoding) {
    Decoded out;
    out.encoding = encoding;
    QStringDecoder decoder = make();
    out.text = decoder.decode(bytes);
    if (decoder.hasError()) {
        out.text.clear();
        // A line of UTF-16 is not found by its bytes; the file is unreadable as a whole.
        out.badLine = encoding == Encoding::Utf16 ? 1 : firstBadLine(bytes, make);
    }
    return out;
}

} // namespace

Decoded decode(const QByteArray& bytes) {
    const QByteArrayView all(bytes);
    if (all.startsWith("\xFF\xFE") || all.startsWith("\xFE\xFF")) {
        const auto order =
            all.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        return decodeAll(
            all.sliced(2), [order] { return QStringDecoder(order, kWhole); }, Encoding::Utf16);
    }
    const auto utf8 = [] {
        return QStringDecoder(QStringConverter::Utf8, kWhole);
    };
    if (all.startsWith("\xEF\xBB\xBF")) {
        return decodeAll(all.sliced(3), utf8, Encoding::Utf8WithBom);
    }
    Decoded asUtf8 = decodeAll(all, utf8, Encoding::Utf8);
    if (asUtf8.badLine == 0) {
        return asUtf8;
    }
    const auto gb18030 = [] {
        return QStringDecoder("GB18030", kWhole);
    };
    if (!gb18030().isValid()) {
        return asUtf8; // a Qt built without ICU knows no GB18030: report what UTF-8 could not read
    }
    return decodeAll(all, gb18030, Encoding::Gb18030);
}

} // namespace formats
