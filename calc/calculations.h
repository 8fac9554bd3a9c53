#pragma once

#include "calc/field_access.h"
#include "calc/outcome.h"

#include <string_view>

// The three calculators. Each reads its group's fields through `fields`, shows its
// incompleteness message when an input is empty, and otherwise writes its result text into its
// result field(s). Text is converted with `decimalSeparator` (the interface locale's).
namespace calc {

inline constexpr std::string_view kStraightBarIncomplete = "直钢筋参数未填写完成。";
inline constexpr std::string_view kBentUpBarIncomplete = "弯起钢筋参数未填写完成。";
inline constexpr std::string_view kStirrupIncomplete = "箍筋参数未填写完成。";

// Straight bar with a hook at each end, Text1..Text5 into Text6:
// member length − 2 × cover + 2 × hook coefficient × D − 2 × elongation coefficient × D.
Outcome one(FieldAccess& fields, std::string_view decimalSeparator = ".");

// Bent-up bar, Text7..Text14 and Text16 into Text15: straight + 2 × raised + 2 × inclined
// coefficient × Text16 + 2 × hook × D − 2 × elongation × D − 4 × deduction × D. The cover
// (Text10) must be filled but takes no part in the sum.
Outcome two(FieldAccess& fields, std::string_view decimalSeparator = ".");

// Closed stirrup, Text17..Text22 into Text23 (length) and Text24 (count):
// 2 × (length + width) + 2 × hook allowance − 12 × elongation coefficient − 18, and
// main-bar length ÷ spacing + 1. The length is written before the count is computed, so a
// zero spacing leaves the new length and the old count.
Outcome sw(FieldAccess& fields, std::string_view decimalSeparator = ".");

} // namespace calc
