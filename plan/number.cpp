#include "plan/number.h"

#include "calc/full_width.h"

#include <array>
#include <cstddef>

namespace plan {
namespace {

// Signs people write before a diameter: Φ φ ϕ Ø ø ∅ ⌀, and the Cyrillic Ф ф.
constexpr std::array<std::string_view, 9> kDiameterSigns{"\xCE\xA6",     "\xCF\x86", "\xCF\x95",
                                                         "\xC3\x98",     "\xC3\xB8", "\xE2\x88\x85",
                                                         "\xE2\x8C\x80", "\xD0\xA4", "\xD1\x84"};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal text taken apart exactly: its digits with the point moved by the exponent.
struct Decimal {
    bool negative = false;
    std::string whole;     // digits before the point, no leading zeros
    bool fraction = false; // a non-zero digit after the point
};

enum class Parse { Ok, Empty, NotANumber, TooLarge };

constexpr std::size_t kMaxWholeDigits = 18; // below 2^63

Parse parse(std::string_view raw, Decimal& out) {
    const std::string text = calc::narrowed(raw);
    const std::string_view t = trimmed(text);
    if (t.empty()) {
        return Parse::Empty;
    }
    std::size_t pos = 0;
    if (t[pos] == '+' || t[pos] == '-') {
        out.negative = t[pos] == '-';
        ++pos;
    }
    std::string digits;
    long point = 0;
    bool any = false;
    while (pos < t.size() && isDigit(t[pos])) {
        digits.push_back(t[pos++]);
        any = true;
    }
    point = static_cast<long>(digits.size());
    if (pos < t.size() && t[pos] == '.') {
        ++pos;
        while (pos < t.size() && isDigit(t[pos])) {
            digits.push_back(t[pos++]);
            any = true;
        }
    }
    if (!any) {
        return Parse::NotANumber;
    }
    if (pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) {
            negativeExponent = t[pos] == '-';
            ++pos;
        }
        if (pos >= t.size() || !isDigit(t[pos])) {
            return Parse::NotANumber;
        }
        long exponent = 0;
        while (pos < t.size() && isDigit(t[pos])) {
            // Far beyond any length: the clamp keeps a long exponent from overflowing.
            exponent = std::min(exponent * 10 + (t[pos++] - '0'), 1'000'000L);
        }
        point += negativeExponent ? -exponent : exponent;
    }
    if (pos != t.size()) {
        return Parse::NotANumber;
    }

    const auto firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return Parse::Ok; // zero, whatever its exponent
    }
    // Leading zeros carry no value; drop them and move the point with them.
    digits.erase(0, firstNonZero);
    point -= static_cast<long>(firstNonZero);
    if (point > static_cast<long>(kMaxWholeDigits)) {
        return Parse::TooLarge;
    }
    if (point <= 0) {
        out.fraction = true;
        return Parse::Ok;
    }
    const auto wholeDigits = static_cast<std::size_t>(point);
    out.whole = digits.substr(0, std::min(wholeDigits, digits.size()));
    out.whole.append(wholeDigits - out.whole.size(), '0');
    if (digits.size() > wholeDigits) {
        out.fraction = digits.find_first_not_of('0', wholeDigits) != std::string::npos;
    }
    return Parse::Ok;
}

std::int64_t wholeValue(const Decimal& d) {
    std::int64_t v = 0;
    for (const char c : d.whole) {
        v = v * 10 + (c - '0');
    }
    return v;
}

bool isZero(const Decimal& d) {
    return d.whole.empty() && !d.fraction;
}

Number fail(NumberError e) {
    return {0, e};
}

// Common front: empty, not a number, too large for any limit, negative.
std::optional<NumberError> frontError(Parse p, const Decimal& d, bool zeroAllowed) {
    switch (p) {
    case Parse::Ok:
        break;
    case Parse::Empty:
        return NumberError::Empty;
    case Parse::NotANumber:
        return NumberError::NotANumber;
    case Parse::TooLarge:
        return d.negative ? NumberError::Negative : NumberError::TooLarge;
    }
    if (d.negative && !isZero(d)) {
        return zeroAllowed ? NumberError::Negative : NumberError::NotPositive;
    }
    if (isZero(d) && !zeroAllowed) {
        return NumberError::NotPositive;
    }
    return std::nullopt;
}

// A whole number up to `limit`; zero allowed or not. A fraction is never rounded away.
Number readWhole(std::string_view text, std::int64_t limit, bool zeroAllowed) {
    Decimal d;
    if (const auto e = frontError(parse(text, d), d, zeroAllowed)) {
        return fail(*e);
    }
    if (d.fraction) {
        return fail(NumberError::NotWhole);
    }
    const std::int64_t v = wholeValue(d);
    if (v > limit) {
        return fail(NumberError::TooLarge);
    }
    return {v, std::nullopt};
}

} // namespace

Number readLength(std::string_view text, std::int64_t limit, Rounding rounding) {
    Decimal d;
    if (const auto e = frontError(parse(text, d), d, false)) {
        return fail(*e);
    }
    std::int64_t v = wholeValue(d);
    if (d.fraction && rounding == Rounding::Up) {
        ++v;
    }
    if (v == 0) {
        return fail(NumberError::NotPositive); // below a millimetre, rounded down
    }
    if (v > limit) {
        return fail(NumberError::TooLarge);
    }
    return {v, std::nullopt};
}

Number readCount(std::string_view text, std::int64_t limit) {
    return readWhole(text, limit, false);
}

Number readAllowance(std::string_view text, std::int64_t limit) {
    return readWhole(text, limit, true);
}

Number readDiameter(std::string_view text, std::int64_t limitTenths) {
    std::string_view t = trimmed(text);
    for (const std::string_view sign : kDiameterSigns) {
        if (t.starts_with(sign)) {
            t.remove_prefix(sign.size());
            break;
        }
    }
    // In tenths: the text with its point moved one place right.
    const std::string shifted = std::string(t) + "e1";
    if (t.find_first_of("eE") != std::string_view::npos) {
        return fail(NumberError::NotANumber); // nobody writes a diameter with an exponent
    }
    return readWhole(t.empty() ? t : std::string_view(shifted), limitTenths, false);
}

std::string diameterText(std::int64_t tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
    }
    return text;
}

} // namespace plan
