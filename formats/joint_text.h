#pragma once

#include "plan/list.h"

#include <string>
#include <string_view>
#include <vector>

// How a list names the way a long bar's segments are joined: the trade's words (绑扎搭接,
// 直螺纹, 闪光对焊…) become the keys plan::joints::methodOfKey reads ("lap", "coupler", …).
namespace formats {

// The key of `text`: trimmed, blanks (the ideographic space too) and case ignored. Empty text
// stays empty (joined by the diameter); a text that names no method comes back unchanged, so
// that plan::checkList reports it as written (Problem::UnknownJoint).
[[nodiscard]] std::string jointKey(std::string_view text);

// Every row's 接头 as its key, as resolveSteels does for the grades.
void resolveJoints(std::vector<plan::PieceRow>& rows);

} // namespace formats
