#pragma once

#include "plan/list.h"
#include "plan/plan.h"

#include <cstdint>
#include <vector>

#include <QString>

// The words every output uses for the same part of a plan, so that the text, the sheets, the
// planner's window and its paper agree.
namespace formats {

// "Φ12", "Φ6.5".
[[nodiscard]] QString diameterLabel(std::int64_t tenths);

// The steel as the list wrote it: "C25" when it used the grade's letter `code`, "HRB400 Φ25"
// with the grade's name, "Φ25" without a grade.
[[nodiscard]] QString steelLabel(const plan::Steel& steel, const std::string& code = {});
[[nodiscard]] QString steelLabel(const plan::GroupPlan& group);

// What the weights are worked out by: "理论重量按 GB/T 1499 公称质量", "理论重量按 0.00617d²
// 估算", or the standard's with the steels estimated named ("…，Φ13 按 0.00617d² 估算").
[[nodiscard]] QString massNote(const plan::Plan& plan);

// A floor as headings name it: its name, or 未注明楼层 for the rows that name none.
[[nodiscard]] QString floorName(const std::string& floor);
// The floors a plan covers: "首层、第2层、第3层".
[[nodiscard]] QString floorsText(const std::vector<std::string>& floors);

// A row's count as the schedule gives it: "4 件 × 6 根 = 24 根" by elements, else "24".
[[nodiscard]] QString countText(const plan::Piece& piece);

// The cuts in cutting order, a run of equal cuts once with its number:
// "KL1-1 6457×2 + KZ2-3 1560".
[[nodiscard]] QString cutsText(const std::vector<plan::Cut>& cuts);

// Lengths with their numbers: "12000×5、9000×2"; "无" when there are none.
[[nodiscard]] QString usesText(const std::vector<plan::StockUse>& uses);

[[nodiscard]] std::int64_t barsOf(const std::vector<plan::StockUse>& uses);

// "最优" when no plan buys less steel, otherwise "差 1 根（3000 mm）": the gap to the bound;
// "按所选分段最优", "按所选分段差 1 根（3000 mm）" when the bound holds only for the long bars'
// segments chosen.
[[nodiscard]] QString resultText(const plan::GroupPlan& group);

// Why a search stopped short: "时限已到", "已取消", or empty.
[[nodiscard]] QString finishText(plan::Finish finish);

// How a long bar's segments are joined: 绑扎搭接, 机械连接, 单面搭接焊, 双面搭接焊, 对焊.
[[nodiscard]] QString methodName(plan::joints::Method method);

// "96.4%".
[[nodiscard]] QString percentText(double share);

// "123.45".
[[nodiscard]] QString kilogramsText(double kg);

// Whole fen as 元 with two decimals: "18480.00".
[[nodiscard]] QString moneyText(std::int64_t fen);

// What the steel and the joints of a group or a plan cost: "钢材 18480.00 元，接头 96.00 元，
// 合计 18576.00 元".
[[nodiscard]] QString costText(const plan::joints::Money& money);

} // namespace formats
