#include "calc/frame.h"

#include "calc/float_rules.h"
#include "calc/number_text.h"

#include <cmath>
#include <string>

namespace calc::detail {
namespace {

// Thrown and caught inside this file only: it abandons the remaining steps of a calculation at
// the fault, and run() hands the cause back as a value. It never leaves the library.
struct Abandon {
    Fault fault;
};

[[noreturn]] void abandon(Cause cause, std::string_view field) {
    throw Abandon{Fault{cause, std::string{field}}};
}

// Half an ulp above FLT_MAX: anything at least this large rounds to infinity as a single.
constexpr double kSingleOverflow = 0x1.ffffffp127;

} // namespace

double Frame::number(std::string_view field) {
    const Conversion converted = textToSingle(fields_.read(field), separator_);
    if (converted.error) {
        abandon(*converted.error, field);
    }
    return converted.value;
}

float Frame::single(double value, std::string_view blame) {
    if (std::isnan(value)) {
        abandon(Cause::InvalidOperation, blame);
    }
    // Tested before the conversion: a double beyond the float range does not convert safely.
    if (std::fabs(value) >= kSingleOverflow) {
        abandon(Cause::Overflow, blame);
    }
    return static_cast<float>(value);
}

float Frame::product(std::string_view left, std::string_view right, double factor) {
    const double r = number(right);
    const double l = number(left);
    return single((l * r) * factor, std::fabs(l) >= std::fabs(r) ? left : right);
}

float Frame::quotient(std::string_view dividend, std::string_view divisor) {
    const double n = number(dividend);
    const double d = number(divisor);
    if (d == 0.0) {
        abandon(n == 0.0 ? Cause::InvalidOperation : Cause::DivisionByZero, divisor);
    }
    return single(n / d, divisor);
}

void Frame::write(std::string_view field, float value) {
    fields_.write(field, singleToText(value, separator_));
}

Outcome run(FieldAccess& fields, std::string_view decimalSeparator,
            std::span<const std::string_view> inputs, std::string_view incompleteMessage,
            const std::function<void(Frame&)>& body) {
    bool complete = true;
    for (const std::string_view field : inputs) {
        // Exactly the empty string: a field of blanks is filled, and fails its conversion later.
        if (fields.read(field).empty()) {
            complete = false;
        }
    }
    if (!complete) {
        fields.showMessage(incompleteMessage);
        return {Status::Incomplete, {}};
    }
    Frame frame{fields, decimalSeparator};
    try {
        body(frame);
    } catch (const Abandon& abandoned) {
        return {Status::Failed, abandoned.fault};
    }
    return {Status::Written, {}};
}

} // namespace calc::detail
