// Showing a single and reading the text back moves it by no more than seven significant digits
// allow, and showing it again gives the same text.
#include "calc/number_text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, 4);
    const float value = std::bit_cast<float>(bits);
    if (!std::isfinite(value)) {
        return 0;
    }
    const bool comma = size > 4 && (data[4] & 1) != 0;
    const char* const separator = comma ? "," : ".";

    const std::string text = calc::singleToText(value, separator);
    const calc::Conversion back = calc::textToSingle(text, separator);
    FUZZ_CHECK(!back.error, "\"%s\" shown for %.9g does not read back", text.c_str(),
               static_cast<double>(value));
    // Half a unit of the seventh digit (at most 5e-7 of the value), then the rounding of that
    // decimal to the nearest single as it is read: up to half a single's spacing there.
    const float magnitude = std::fabs(value);
    const double spacing = static_cast<double>(
        std::nextafter(magnitude, std::numeric_limits<float>::infinity()) - magnitude);
    const double allowed = static_cast<double>(magnitude) * 5e-7 + spacing / 2;
    FUZZ_CHECK(std::fabs(static_cast<double>(back.value) - value) <= allowed,
               "%.9g shown as \"%s\" reads back as %.9g", static_cast<double>(value), text.c_str(),
               static_cast<double>(back.value));
    FUZZ_CHECK(calc::singleToText(back.value, separator) == text, "\"%s\" is not stable",
               text.c_str());
    return 0;
}
