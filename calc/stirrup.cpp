#include "calc/calculations.h"
#include "calc/frame.h"

#include <array>

namespace calc {

using namespace std::string_view_literals;

Outcome sw(FieldAccess& fields, std::string_view decimalSeparator) {
    static constexpr std::array inputs{"Text17"sv, "Text18"sv, "Text19"sv,
                                       "Text20"sv, "Text21"sv, "Text22"sv};
    return detail::run(fields, decimalSeparator, inputs, kStirrupIncomplete, [](detail::Frame& x) {
        // The doubled width is rounded before the doubled length is even converted.
        const float widths = x.single(2 * x.number("Text18"), "Text18");
        const double lengths = 2 * x.number("Text17");
        const float sides = x.single(lengths + widths, "");
        const float hooks = x.single(2 * x.number("Text19"), "Text19");
        const float bends = x.single((x.number("Text20") * 6) * 2, "Text20");
        x.write("Text23", x.single(((static_cast<double>(hooks) + sides) - bends) - 18, ""));

        // The count is not rounded to a whole number: 900 / 200 gives 5.5 stirrups.
        const float spans = x.quotient("Text21", "Text22");
        x.write("Text24", x.single(static_cast<double>(spans) + 1, "Text22"));
    });
}

} // namespace calc
