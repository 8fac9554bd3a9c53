#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the cutting list's texts become whole numbers. A spreadsheet cell or a typed field is read
// exactly, never through a binary floating-point number, so that 6456.0000001 is still cut at
// 6457 and never at 6456.
namespace plan {

enum class NumberError {
    Empty,      // nothing but blanks
    NotANumber, // not a decimal number
    NotWhole,   // a fraction where only whole numbers are meant (a count)
    NotPositive,
    Negative,
    TooLarge,
};

struct Number {
    std::int64_t value = 0;
    std::optional<NumberError> error;
};

// Blanks (space, tab, U+3000) around the text are ignored; full-width digits, point, plus and
// minus read as their ASCII twins, exactly as in the calculator's fields (calc/full_width.h). An
// optional sign, digits with an optional fraction after '.', and an optional exponent (e or E,
// optional sign, digits), as a spreadsheet may write a large number; a thousands separator is not a
// number.

enum class Rounding {
    Up,   // a piece: "6456.34" is cut at 6457, never shorter
    Down, // a yard offcut: only its whole millimetres can be used
};

// A length in whole millimetres, above zero and at most `limit` once rounded.
[[nodiscard]] Number readLength(std::string_view text, std::int64_t limit,
                                Rounding rounding = Rounding::Up);

// A whole number above zero and at most `limit`: a count. "3.0" is 3; "2.5" is NotWhole.
[[nodiscard]] Number readCount(std::string_view text, std::int64_t limit);

// A whole number of millimetres of zero or more, at most `limit`: the kerf, the shortest
// reusable remnant. "2.5" is NotWhole: a setting is never silently rounded.
[[nodiscard]] Number readAllowance(std::string_view text, std::int64_t limit);

// A bar diameter in tenths of a millimetre ("12" is 120, "6.5" is 65), above zero and at most
// `limitTenths`. A leading diameter sign is allowed: "Φ12" is 12 mm, and so are φ, ϕ, Ø, ø, ∅, ⌀
// and the Cyrillic Ф, ф that input methods and word processors often put in its place. A grade
// ("C12" for HRB400) is not a diameter: formats::resolveSteels takes it off first. No exponent;
// finer than a tenth ("12.55") is NotWhole.
[[nodiscard]] Number readDiameter(std::string_view text, std::int64_t limitTenths);

// A diameter in tenths as people write it: "12", "6.5".
[[nodiscard]] std::string diameterText(std::int64_t tenths);

} // namespace plan
