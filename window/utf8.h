#pragma once

#include <string_view>

#include <QString>

namespace window {

// The tables and the calculations keep their texts as UTF-8.
inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace window
