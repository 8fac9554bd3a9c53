#pragma once

#include <cstdio>

namespace cli {

// True when `stream` is a terminal a person watches, not a file or a pipe.
[[nodiscard]] bool isTerminal(std::FILE* stream);

} // namespace cli
