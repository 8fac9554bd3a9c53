#pragma once

#include "planner/cutting_sheet.h"

#include <QByteArray>

namespace planner {

// The cutting sheet as a PDF file's bytes: A4 portrait, the Chinese font embedded.
[[nodiscard]] QByteArray sheetPdf(const SheetContent& content);

} // namespace planner
