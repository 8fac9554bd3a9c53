#pragma once

#include <QByteArray>
#include <QString>

// How the bytes of a list file become text. Files come from this program (UTF-8 with a BOM),
// from editors (UTF-8 without one) and from Excel or WPS on Chinese Windows, which save CSV in
// the system's code page, GBK; GB18030 reads every GBK file and more. Excel's "Unicode text"
// is UTF-16 with a BOM.
namespace formats {

enum class Encoding {
    Utf8,
    Utf8WithBom,
    Gb18030,
    Utf16, // with a BOM, little- or big-endian
};

struct Decoded {
    QString text; // without the BOM
    Encoding encoding = Encoding::Utf8;
    int badLine = 0; // when above 0: the first line that neither UTF-8 nor GB18030 reads
};

// UTF-16 when the bytes start with its BOM; UTF-8 when they are valid UTF-8 (a BOM is dropped);
// otherwise GB18030.
[[nodiscard]] Decoded decode(const QByteArray& bytes);

} // namespace formats
