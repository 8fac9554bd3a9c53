#pragma once

#include "formats/decode.h"
#include "formats/file_error.h"
#include "plan/list.h"

#include <vector>

#include <QByteArray>

// The yard's offcuts as a file of their own (hengchi-plan --offcuts): a header row naming
// 直径 or diameter, 长度 or length, 根数 or count in any order, read by the same rules as the
// pieces table of a list file (list_file.h).
namespace formats {

struct OffcutsRead {
    std::vector<plan::OffcutRow> offcuts; // lines as in the file
    Encoding encoding = Encoding::Utf8;
    std::vector<FileError> errors;
};

[[nodiscard]] OffcutsRead readOffcuts(const QByteArray& bytes);

} // namespace formats
