#include "calc/calculations.h"
#include "calc/frame.h"

#include <array>

namespace calc {

using namespace std::string_view_literals;

Outcome one(FieldAccess& fields, std::string_view decimalSeparator) {
    static constexpr std::array inputs{"Text1"sv, "Text2"sv, "Text3"sv, "Text4"sv, "Text5"sv};
    return detail::run(fields, decimalSeparator, inputs, kStraightBarIncomplete,
                       [](detail::Frame& x) {
                           const float covers = x.single(2 * x.number("Text2"), "Text2");
                           const float hooks = x.product("Text3", "Text4", 2);
                           const float bends = x.product("Text5", "Text4", 2);
                           const double member = x.number("Text1");
                           x.write("Text6", x.single(((member - covers) + hooks) - bends, ""));
                       });
}

} // namespace calc
