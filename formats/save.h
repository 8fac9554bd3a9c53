#pragma once

#include <QByteArray>
#include <QString>

// Output files are written whole or not at all: a failed or interrupted write leaves the old
// file, or none, never half a file.
namespace formats {

// Writes `bytes` to `path` through a temporary file renamed over it. Returns an empty string,
// or why it failed (Chinese, naming the file).
[[nodiscard]] QString saveFile(const QString& path, const QByteArray& bytes);

} // namespace formats
