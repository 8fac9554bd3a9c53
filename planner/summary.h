#pragma once

#include "formats/sheet.h"
#include "plan/plan.h"

#include <QString>

// What the window and its paper say of a whole plan, beyond the sheet the command writes.
namespace planner {

// The command's summary (one row per diameter and a total) with the waste in mm and the steel
// bought in tonnes added, as a bar bender reads them on site.
[[nodiscard]] formats::Table summary(const plan::Plan& plan);

// In one sentence each: what to buy, per diameter; and whether no plan buys less steel.
[[nodiscard]] QString toBuy(const plan::Plan& plan);
[[nodiscard]] QString verdict(const plan::Plan& plan);

// "1.203": tonnes to the kilogram.
[[nodiscard]] QString tonnesText(double kg);

} // namespace planner
