#include "formats/save.h"

#include <QSaveFile>

namespace formats {

QString saveFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("无法写入“%1”：%2").arg(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        return QStringLiteral("无法写入“%1”：%2").arg(path, file.errorString());
    }
    if (!file.commit()) {
        return QStringLiteral("无法保存“%1”：%2").arg(path, file.errorString());
    }
    return {};
}

} // namespace formats
