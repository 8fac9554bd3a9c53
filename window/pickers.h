#pragma once

#include <array>
#include <span>
#include <string_view>

namespace window {

// A list of standard coefficients lying behind the field it fills.
struct Picker {
    std::string_view combo;
    std::string_view field;
    std::array<std::string_view, 3> items; // copied into the field as they stand: "0.50", "1.0"
};

// What a screen reader says of a field that has a list, besides the field's name.
inline constexpr std::string_view kListHint = "可按 Alt+↓ 或双击打开标准值列表。";

// The seven pickers, in the order their lists are filled when the window loads.
std::span<const Picker> pickerTable();

// The picker lying behind `field`; nullptr for a field without one.
const Picker* pickerForField(std::string_view field);

} // namespace window
