#include "calc/full_width.h"

#include <array>
#include <cstddef>

namespace calc {
namespace {

// A full-width character in UTF-8 and the ASCII character it stands for.
struct Twin {
    std::string_view wide;
    char ascii;
};

// U+FF10..U+FF19 are EF BC 90..99; the ideographic space is E3 80 80.
constexpr std::array<Twin, 14> kTwins{{
    {"\xEF\xBC\x90", '0'},
    {"\xEF\xBC\x91", '1'},
    {"\xEF\xBC\x92", '2'},
    {"\xEF\xBC\x93", '3'},
    {"\xEF\xBC\x94", '4'},
    {"\xEF\xBC\x95", '5'},
    {"\xEF\xBC\x96", '6'},
    {"\xEF\xBC\x97", '7'},
    {"\xEF\xBC\x98", '8'},
    {"\xEF\xBC\x99", '9'},
    {"\xEF\xBC\x8E", '.'},
    {"\xEF\xBC\x8B", '+'},
    {"\xEF\xBC\x8D", '-'},
    {"\xE3\x80\x80", ' '},
}};

} // namespace

std::string narrowed(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const Twin& twin : kTwins) {
            if (text.substr(i).starts_with(twin.wide)) {
                out.push_back(twin.ascii);
                i += twin.wide.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out.push_back(text[i++]);
        }
    }
    return out;
}

} // namespace calc
