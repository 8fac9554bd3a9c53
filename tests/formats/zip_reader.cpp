#include "zip_reader.h"

#include <cstdint>
#include <zlib.h>

namespace {

std::uint32_t le(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

bool inflateRaw(const QByteArray& in, qsizetype size, QByteArray& out) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    stream.avail_in = static_cast<uInt>(in.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(size);
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return result == Z_STREAM_END && stream.total_out == static_cast<uLong>(size);
}

} // namespace

ZipParts readZip(const QByteArray& archive) {
    ZipParts out;
    // The end-of-central-directory record: its signature, searched from the end.
    const qsizetype end = archive.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > archive.size()) {
        out.error = "no end of central directory";
        return out;
    }
    const std::uint32_t entries = le(archive, end + 10, 2);
    qsizetype at = le(archive, end + 16, 4);
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (at + 46 > archive.size() || le(archive, at, 4) != 0x02014b50) {
            out.error = "bad central directory entry";
            return out;
        }
        const std::uint32_t method = le(archive, at + 10, 2);
        const qsizetype packed = le(archive, at + 20, 4);
        const qsizetype size = le(archive, at + 24, 4);
        const qsizetype nameLength = le(archive, at + 28, 2);
        const qsizetype skip = nameLength + le(archive, at + 30, 2) + le(archive, at + 32, 2);
        const qsizetype local = le(archive, at + 42, 4);
        const std::string name = archive.mid(at + 46, nameLength).toStdString();
        at += 46 + skip;

        if (local + 30 > archive.size() || le(archive, local, 4) != 0x04034b50) {
            out.error = "bad local header for " + name;
            return out;
        }
        const qsizetype data = local + 30 + le(archive, local + 26, 2) + le(archive, local + 28, 2);
        const QByteArray stored = archive.mid(data, packed);
        QByteArray contents(size, '\0');
        if (method == 0) {
            contents = stored;
        } else if (method != 8 || !inflateRaw(stored, size, contents)) {
            out.error = "cannot inflate " + name;
            return out;
        }
        out.parts[name] = contents;
    }
    return out;
}
