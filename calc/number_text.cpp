#include "calc/number_text.h"

#include "calc/float_rules.h"
#include "calc/full_width.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string>
#include <system_error>

namespace calc {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view digitsAt(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// The decimal exponent of the leading non-zero digit, clamped far beyond the single range so
// that an exponent of any length cannot overflow. Only called for a non-zero mantissa.
long leadingExponent(std::string_view whole, std::string_view fraction, std::string_view exponent,
                     bool negativeExponent) {
    constexpr long kFar = 100000;
    long lead = 0;
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        lead = static_cast<long>(whole.size() - firstWhole) - 1;
    } else {
        lead = -static_cast<long>(fraction.find_first_not_of('0')) - 1;
    }
    long shift = 0;
    for (const char digit : exponent) {
        shift = shift * 10 + (digit - '0');
        if (shift > kFar) {
            shift = kFar;
            break;
        }
    }
    return lead + (negativeExponent ? -shift : shift);
}

} // namespace

Conversion textToSingle(std::string_view original, std::string_view decimalSeparator) {
    const Conversion notANumber{0.0F, Cause::NotANumber};
    const std::string text = narrowed(original);
    std::string_view rest = text;
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && isBlank(rest.back())) {
        rest.remove_suffix(1);
    }

    std::size_t pos = 0;
    bool negative = false;
    if (pos < rest.size() && (rest[pos] == '+' || rest[pos] == '-')) {
        negative = rest[pos++] == '-';
    }
    const std::string_view whole = digitsAt(rest, pos);
    std::string_view fraction;
    if (!decimalSeparator.empty() && rest.substr(pos).starts_with(decimalSeparator)) {
        pos += decimalSeparator.size();
        fraction = digitsAt(rest, pos);
    }
    if (whole.empty() && fraction.empty()) {
        return notANumber;
    }
    std::string_view exponent;
    bool negativeExponent = false;
    if (pos < rest.size() && (rest[pos] == 'e' || rest[pos] == 'E')) {
        ++pos;
        if (pos < rest.size() && (rest[pos] == '+' || rest[pos] == '-')) {
            negativeExponent = rest[pos++] == '-';
        }
        exponent = digitsAt(rest, pos);
        if (exponent.empty()) {
            return notANumber;
        }
    }
    if (pos != rest.size()) {
        return notANumber;
    }

    // from_chars sees only the plain form it reads exactly: no '+', a point, no blanks.
    std::string plain;
    plain.reserve(whole.size() + fraction.size() + exponent.size() + 4);
    if (negative) {
        plain.push_back('-');
    }
    plain.append(whole.empty() ? std::string_view{"0"} : whole);
    if (!fraction.empty()) {
        plain.push_back('.');
        plain.append(fraction);
    }
    if (!exponent.empty()) {
        plain.push_back('e');
        if (negativeExponent) {
            plain.push_back('-');
        }
        plain.append(exponent);
    }

    float value = 0.0F;
    const char* const end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Reported for both ends of the range; only the upper end is an error.
        if (leadingExponent(whole, fraction, exponent, negativeExponent) > 0) {
            return {0.0F, Cause::TooLarge};
        }
        return {negative ? -0.0F : 0.0F, std::nullopt};
    }
    if (ec != std::errc{} || ptr != end) {
        return notANumber;
    }
    return {value, std::nullopt};
}

std::string singleToText(float value, std::string_view decimalSeparator) {
    if (value == 0.0F) {
        return "0"; // negative zero too
    }
    std::array<char, 32> buffer{};
    const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 7);
    if (ec != std::errc{}) {
        return {};
    }
    std::string text;
    for (const char* c = buffer.data(); c != ptr; ++c) {
        if (*c == '.') {
            text.append(decimalSeparator);
        } else if (*c == 'e') {
            text.push_back('E');
        } else {
            text.push_back(*c);
        }
    }
    return text;
}

} // namespace calc
