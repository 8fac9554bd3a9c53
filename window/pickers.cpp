#include "window/pickers.h"

#include <algorithm>

namespace window {
namespace {

constexpr std::array<std::string_view, 3> kHooks{"6.25", "4.87", "4.21"};
constexpr std::array<std::string_view, 3> kElongations{"1.5", "1.25", "1.0"};

constexpr std::array<Picker, 7> kPickers{{
    {"Combo1", "Text3", kHooks},
    {"Combo2", "Text5", kElongations},
    {"Combo3", "Text11", kHooks},
    {"Combo4", "Text12", kElongations},
    {"Combo5", "Text13", {"0.85", "0.50", "0.35"}},
    {"Combo6", "Text9", {"1.15", "1.41", "2.0"}},
    {"Combo7", "Text20", kElongations},
}};

} // namespace

std::span<const Picker> pickerTable() {
    return kPickers;
}

const Picker* pickerForField(std::string_view field) {
    const auto it = std::ranges::find(kPickers, field, &Picker::field);
    return it == kPickers.end() ? nullptr : &*it;
}

} // namespace window
