#include "zip_reader.h"

#include <unzip.h>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

ZipParts readZip(const QByteArray& archive) {
    ZipParts out;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.zip"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size()) {
        out.error = "cannot write a scratch copy";
        return out;
    }
    file.close();
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (zip == nullptr) {
        out.error = "not a zip archive";
        return out;
    }
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        std::vector<char> name(1024);
        if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()),
                                    nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            out.error = "cannot open a part";
            break;
        }
        QByteArray data;
        std::vector<char> chunk(64 * 1024);
        int n = 0;
        while ((n = unzReadCurrentFile(zip, chunk.data(), static_cast<unsigned>(chunk.size()))) >
               0) {
            data.append(chunk.data(), n);
        }
        if (unzCloseCurrentFile(zip) != UNZ_OK || n < 0) {
            out.error = std::string("damaged part ") + name.data();
            break;
        }
        out.parts[name.data()] = data;
    }
    unzClose(zip);
    return out;
}
