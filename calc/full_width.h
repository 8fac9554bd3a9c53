#pragma once

#include <string>
#include <string_view>

namespace calc {

// `text` with the full-width characters a Chinese input method types in full-width mode made
// their ASCII twins: the digits ０–９, the point ．, plus ＋ and minus －, and the ideographic
// space. Everything else is kept as it is. Whatever reads a number typed by a person in this
// program reads it through here, so that 「６４５７」 is 6457 everywhere.
[[nodiscard]] std::string narrowed(std::string_view text);

} // namespace calc
