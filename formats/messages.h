#pragma once

#include "formats/file_error.h"
#include "plan/list.h"

#include <QString>

// The Chinese text a person reads about wrong input, naming the column or setting. Where the
// error is (a file and line, a table row, an option) is added by whoever shows it, so the
// command and the planner word every problem alike.
namespace formats {

// 编号, 直径, 长度, 根数, 原材长度, 锯口, 最短余料, 时限, 级别, 代号, 构件数, 总根数, 接头, 接头率,
// 搭接长度, 禁止接头区, and the joint settings: 混凝土, 抗震等级, 机械连接直径, ….
[[nodiscard]] QString fieldName(plan::Field field);

// "长度：不是数字", "接头：不认识“焊”，可写…", and a long bar the joint rules cannot make, by
// describe(JointError).
[[nodiscard]] QString describe(const plan::InputError& error);

// Why a long bar cannot be joined, without the field: "搭接长度 1400 mm 过长，原材放不下一段"
// (joint_messages.cpp).
[[nodiscard]] QString describe(const plan::joints::JointError& error);

// "警告：KL1-1（HRB400 Φ28）受拉钢筋直径大于 25 mm，不宜绑扎搭接（GB 50010 第 8.4.2 条）";
// `steel` as plan_words' steelLabel gives it, or empty.
[[nodiscard]] QString describe(const plan::joints::Warning& warning, const QString& steel = {});

// The shares a list may give: "25%、50% 或 100%".
[[nodiscard]] QString sharesAllowedText();

// "缺少“长度”列", "引号没有闭合", "锯口：不是整数".
[[nodiscard]] QString describe(const FileError& error);

// A workbook's FileProblem::Workbook: "工作簿设有打开密码…" (workbook_messages.cpp).
[[nodiscard]] QString describeWorkbook(const FileError& error);

} // namespace formats
