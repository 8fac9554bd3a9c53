#pragma once

#include <QByteArray>
#include <QString>

// How the bytes of a list file become text. Files come from this program (UTF-8 with a BOM),
// from editors (UTF-8 without one) and from Excel or WPS on Chinese Windows, which save CSV in
// the system's code page, GBK; GB18030 reads every GBK file and more.
namespace formats {

enum class Encoding {
    Utf8,
    Utf8WithBom,
    Gb18030,
};

struct Decoded {
    QString text; // without the BOM
    Encoding encoding = Encoding::Utf8;
    int badLine = 0; // when above 0: the first line that neither UTF-8 nor GB18030 reads
};

// UTF-8 when the bytes are valid UTF-8 (a BOM is dropped), otherwise GB18030.
[[nodiscard]] Decoded decode(const QByteArray& bytes);

} // namespace formats
