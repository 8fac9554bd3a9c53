#pragma once

#include "plan/joints/rules.h"

#include <QString>

// The words the window and its paper name a long bar's joints with.
namespace planner {

// Every method's name (formats::methodName), in the order a list's 接头 cell offers them.
[[nodiscard]] QStringList methodNames();

// What one joint of `method` adds to the segments, in words: "搭接 1050 mm", "焊缝 250 mm",
// "烧损 30 mm"; empty for a coupler, which adds nothing.
[[nodiscard]] QString overlapText(plan::joints::Method method, std::int64_t overlapMm);

} // namespace planner
