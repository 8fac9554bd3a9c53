#pragma once

#include <string>

namespace calc {

// Why a calculation was abandoned part-way.
enum class Cause {
    NotANumber,       // a field's text is not a decimal number
    TooLarge,         // a field's number lies beyond the single-precision range
    Overflow,         // a term or result lies beyond the single-precision range
    DivisionByZero,   // a non-zero length divided by a zero spacing
    InvalidOperation, // a result that is not a number, such as 0 ÷ 0
};

struct Fault {
    Cause cause = Cause::NotANumber;
    // The field that caused it; empty when the fault comes from a sum of several fields.
    std::string field;

    friend bool operator==(const Fault&, const Fault&) = default;
};

enum class Status {
    Written,    // every result was written
    Incomplete, // an input was empty: the incompleteness message was shown, nothing written
    Failed,     // abandoned at a fault; results written before it stay
};

// What one calculation did. It cannot be ignored: a fault has to reach the user.
struct [[nodiscard]] Outcome {
    Status status = Status::Written;
    Fault fault; // meaningful only when status is Failed

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

} // namespace calc
