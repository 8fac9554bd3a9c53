#pragma once

#include "calc/field_access.h"
#include "calc/outcome.h"

#include <functional>
#include <span>
#include <string_view>

namespace calc::detail {

// The steps every calculation shares: the filled test, converting a field afresh for each use,
// rounding a term to single and testing it for a fault, and writing a result. A fault abandons
// the rest of the calculation; run() turns it into the Outcome.
class Frame {
public:
    Frame(FieldAccess& fields, std::string_view decimalSeparator)
        : fields_(fields), separator_(decimalSeparator) {}

    // The field's text converted now (never cached: a field used twice is converted twice).
    [[nodiscard]] double number(std::string_view field);

    // A term or result, tested for a fault at double precision and rounded to single.
    // `blame` names the field the fault is laid on, empty for a sum of several fields.
    [[nodiscard]] float single(double value, std::string_view blame);

    // (left × right) × factor as a term; right is converted first. An overflow is laid on
    // whichever of the two fields holds the larger number, the one out of proportion.
    [[nodiscard]] float product(std::string_view left, std::string_view right, double factor);

    // dividend ÷ divisor rounded to single; a zero divisor is a fault laid on it.
    [[nodiscard]] float quotient(std::string_view dividend, std::string_view divisor);

    void write(std::string_view field, float value);

private:
    FieldAccess& fields_;
    std::string_view separator_;
};

// Runs one calculation: reads every input and applies the filled test, showing
// `incompleteMessage` if one is empty; otherwise runs `body` until it ends or meets a fault.
Outcome run(FieldAccess& fields, std::string_view decimalSeparator,
            std::span<const std::string_view> inputs, std::string_view incompleteMessage,
            const std::function<void(Frame&)>& body);

} // namespace calc::detail
