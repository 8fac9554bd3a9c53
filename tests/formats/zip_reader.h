#pragma once

#include <map>
#include <string>

#include <QByteArray>

// The parts of a zip archive (an .xlsx workbook is one), read with minizip: enough for a test to
// look inside a workbook the program wrote without an unzip program.
struct ZipParts {
    std::map<std::string, QByteArray> parts; // name → contents
    std::string error;                       // why the archive could not be read
};

[[nodiscard]] ZipParts readZip(const QByteArray& archive);
