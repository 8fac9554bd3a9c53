// Every text either converts to exactly what an independent conversion (the C library's
// strtof in the "C" locale) makes of the same number, or is rejected for the cause that
// conversion and a plain grammar agree on.
#include "calc/number_text.h"

#include <bit>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <string>

#include "check.h"

namespace {

std::string withoutFullWidth(const std::string& text) {
    static const std::pair<std::string, char> twins[] = {
        {"\uFF10", '0'}, {"\uFF11", '1'}, {"\uFF12", '2'}, {"\uFF13", '3'}, {"\uFF14", '4'},
        {"\uFF15", '5'}, {"\uFF16", '6'}, {"\uFF17", '7'}, {"\uFF18", '8'}, {"\uFF19", '9'},
        {"\uFF0E", '.'}, {"\uFF0B", '+'}, {"\uFF0D", '-'}, {"\u3000", ' '}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool found = false;
        for (const auto& [wide, ascii] : twins) {
            if (text.compare(i, wide.size(), wide) == 0) {
                out += ascii;
                i += wide.size();
                found = true;
                break;
            }
        }
        if (!found) {
            out += text[i++];
        }
    }
    return out;
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// The grammar, walked by hand: blanks, sign, digits, separator, digits, exponent, blanks. The
// number comes back in the form strtof reads in the "C" locale, or nothing for any other text.
std::optional<std::string> plainNumber(const std::string& s, char separator) {
    std::size_t i = 0;
    const auto blanks = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) {
            ++i;
        }
    };
    blanks();
    std::string out;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        out += s[i++];
    }
    std::size_t digits = 0;
    for (; i < s.size() && digit(s[i]); ++i, ++digits) {
        out += s[i];
    }
    out += digits == 0 ? "0." : ".";
    if (i < s.size() && s[i] == separator) {
        ++i;
        for (; i < s.size() && digit(s[i]); ++i, ++digits) {
            out += s[i];
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    out += '0';
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        out += s[i++];
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            out += s[i++];
        }
        const std::size_t start = i;
        for (; i < s.size() && digit(s[i]); ++i) {
            out += s[i];
        }
        if (i == start) {
            return std::nullopt;
        }
    }
    blanks();
    if (i != s.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the decimal separator; the rest is the field's text.
    const bool comma = (data[0] & 1) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const calc::Conversion got = calc::textToSingle(text, comma ? "," : ".");

    const std::optional<std::string> c = plainNumber(withoutFullWidth(text), comma ? ',' : '.');
    if (!c) {
        FUZZ_CHECK(got.error == calc::Cause::NotANumber, "accepted \"%s\"", text.c_str());
        return 0;
    }

    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    errno = 0;
    const float expected = strtof_l(c->c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(expected)) {
        FUZZ_CHECK(got.error == calc::Cause::TooLarge, "\"%s\" is beyond the range", text.c_str());
        return 0;
    }
    FUZZ_CHECK(!got.error, "rejected \"%s\"", text.c_str());
    FUZZ_CHECK(std::bit_cast<std::uint32_t>(got.value) == std::bit_cast<std::uint32_t>(expected),
               "\"%s\" read as %.9g, not %.9g", text.c_str(), static_cast<double>(got.value),
               static_cast<double>(expected));
    return 0;
}
