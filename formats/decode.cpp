#include "formats/decode.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace formats {
namespace {

// The first line (from 1) the decoder cannot read. A line feed is a line feed in UTF-8 and in
// GB18030 alike: neither uses 0x0A inside a character.
int firstBadLine(QByteArrayView bytes, QStringDecoder& decoder) {
    int line = 1;
    while (!bytes.empty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end + 1);
        decoder.resetState();
        // decode() converts lazily, when its result becomes a QString.
        const QString text = decoder.decode(piece);
        if (decoder.hasError()) {
            return line;
        }
        bytes = bytes.sliced(piece.size());
        ++line;
    }
    return 1; // the whole reads badly though no single line does: a character split by a line end
}

Decoded decodeAll(QByteArrayView bytes, QStringDecoder& decoder, Encoding encoding) {
    Decoded out;
    out.encoding = encoding;
    out.text = decoder.decode(bytes);
    if (decoder.hasError()) {
        out.text.clear();
        out.badLine = firstBadLine(bytes, decoder);
    }
    return out;
}

} // namespace

Decoded decode(const QByteArray& bytes) {
    const QByteArrayView all(bytes);
    if (all.startsWith("\xFF\xFE") || all.startsWith("\xFE\xFF")) {
        const auto order =
            all.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        QStringDecoder utf16(order);
        Decoded out = decodeAll(all.sliced(2), utf16, Encoding::Utf16);
        // A line of UTF-16 is not found by its bytes; the file is unreadable as a whole.
        out.badLine = out.badLine > 0 ? 1 : 0;
        return out;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    if (all.startsWith("\xEF\xBB\xBF")) {
        return decodeAll(all.sliced(3), utf8, Encoding::Utf8WithBom);
    }
    Decoded asUtf8 = decodeAll(all, utf8, Encoding::Utf8);
    if (asUtf8.badLine == 0) {
        return asUtf8;
    }
    QStringDecoder gb18030("GB18030");
    if (!gb18030.isValid()) {
        return asUtf8; // a Qt built without ICU knows no GB18030: report what UTF-8 could not read
    }
    return decodeAll(all, gb18030, Encoding::Gb18030);
}

} // namespace formats
