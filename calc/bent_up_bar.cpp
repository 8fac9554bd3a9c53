#include "calc/calculations.h"
#include "calc/frame.h"

#include <array>

namespace calc {

using namespace std::string_view_literals;

Outcome two(FieldAccess& fields, std::string_view decimalSeparator) {
    static constexpr std::array inputs{"Text7"sv,  "Text8"sv,  "Text9"sv,  "Text10"sv, "Text16"sv,
                                       "Text11"sv, "Text12"sv, "Text13"sv, "Text14"sv};
    return detail::run(
        fields, decimalSeparator, inputs, kBentUpBarIncomplete, [](detail::Frame& x) {
            const double straight = x.number("Text7");
            const float raised = x.single(2 * x.number("Text8"), "Text8");
            const float segments = x.single(straight + raised, "");
            // Text16 is the length that the inclined coefficient in Text9 multiplies.
            const float inclined = x.product("Text16", "Text9", 2);
            const float hooks = x.product("Text11", "Text14", 2);
            const float bends = x.product("Text12", "Text14", 2);
            const float deduction = x.product("Text13", "Text14", 4);
            const double length =
                (((static_cast<double>(segments) + inclined) + hooks) - bends) - deduction;
            x.write("Text15", x.single(length, ""));
        });
}

} // namespace calc
