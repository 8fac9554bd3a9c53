#pragma once

#include "formats/sheet.h"
#include "plan/plan.h"

#include <QString>

// What the window and its paper say of a whole plan in words, beyond the sheet's tables.
namespace planner {

// In one sentence each: what to buy, per diameter; and whether no plan buys less steel.
[[nodiscard]] QString toBuy(const plan::Plan& plan);
[[nodiscard]] QString verdict(const plan::Plan& plan);
// The long bars' joints, when the plan has any: how many of each kind, the steel their
// overlaps take and what the steel and the joints cost ("接长：接头 18 个（绑扎搭接 12、机械连接
// 6）；接头用钢 …；造价 钢材 … 元，接头 … 元，合计 … 元"); else empty.
[[nodiscard]] QString jointsText(const plan::Plan& plan);

// "1.203": tonnes to the kilogram.
[[nodiscard]] QString tonnesText(double kg);

} // namespace planner
