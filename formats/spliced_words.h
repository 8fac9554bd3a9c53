#pragma once

#include "plan/joints/long_bar.h"
#include "plan/plan.h"

#include <cstdint>
#include <vector>

#include <QString>

// The words the outputs share for long bars and their joints (plan_words.h has the rest), so
// that the text, the sheets and the paper name a joint alike.
namespace formats {

// What each joint of `rule` costs in length, as a cutter says it: "搭接长度 560 mm",
// "每个接头烧损 30 mm"; empty for a coupler, whose bars meet end to end.
[[nodiscard]] QString overlapText(const plan::joints::Rule& rule);

// A layout's segments from the bar's start: "KL1-1/1 12000 + KL1-1/2 9000".
[[nodiscard]] QString segmentsText(const std::vector<plan::joints::Segment>& segments);

// Joint centres from the bar's start: "11720、20160".
[[nodiscard]] QString jointPlacesText(const std::vector<std::int64_t>& joints);

[[nodiscard]] bool hasSpliced(const plan::Plan& plan);

// Whether some steel's bound holds only for the segments chosen (joints::BoundScope), so that
// the plan's 最优 must say so.
[[nodiscard]] bool boundForChosenSegments(const plan::Plan& plan);

} // namespace formats
