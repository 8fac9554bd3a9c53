#pragma once

#include "calc/outcome.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc {

struct Conversion {
    float value = 0.0F;
    // NotANumber or TooLarge; empty when the text converted.
    std::optional<Cause> error;
};

// A field's text as a single: blanks (space, tab, U+3000) around it are ignored; then an optional
// sign, digits with an optional fraction after the decimal separator, and an optional exponent
// (e or E, optional sign, digits). Full-width digits, point, plus and minus count as their ASCII
// twins, for Chinese input methods in full-width mode. The value is the correctly rounded single
// of the decimal text; a value too small for a single becomes zero. The separator is passed in,
// never taken from the C library's global locale.
[[nodiscard]] Conversion textToSingle(std::string_view text,
                                      std::string_view decimalSeparator = ".");

// A single as a field shows it: at most seven significant digits, exact ties rounded to even,
// no trailing zeros, no separator for a whole value, "0.5" below one, and "1.234568E+07" or
// "1E-05" once the decimal exponent is 7 or more, or below -4. Negative zero shows as "0".
[[nodiscard]] std::string singleToText(float value, std::string_view decimalSeparator = ".");

} // namespace calc
