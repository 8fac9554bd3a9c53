#pragma once

#include "formats/file_error.h"
#include "plan/list.h"

#include <QString>

// The Chinese text a person reads about wrong input, naming the column or setting. Where the
// error is (a file and line, a table row, an option) is added by whoever shows it, so the
// command and the planner word every problem alike.
namespace formats {

// 编号, 直径, 长度, 根数, 原材长度, 锯口, 最短余料, 时限, 级别, 代号, 构件数, 总根数.
[[nodiscard]] QString fieldName(plan::Field field);

// "长度：不是数字", "长度：超过所有原材长度（12000 mm），暂不支持接长".
[[nodiscard]] QString describe(const plan::InputError& error);

// "缺少“长度”列", "引号没有闭合", "锯口：不是整数".
[[nodiscard]] QString describe(const FileError& error);

// A workbook's FileProblem::Workbook: "工作簿设有打开密码…" (workbook_messages.cpp).
[[nodiscard]] QString describeWorkbook(const FileError& error);

} // namespace formats
