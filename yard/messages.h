#pragma once

#include <vector>

#include <QString>

#include "yard/error.h"
#include "yard/values.h"

// The Chinese words for the yard, in the style of the list's messages (formats/messages.h):
// what is wrong, without the file, which whoever shows it puts first, as for a list.
namespace yard {

// "文件已损坏，或不是 SQLite 数据库", "余料库已变：方案用到的 C25 3500 有 4 根，库里只剩 2
// 根；请重新优化"….
[[nodiscard]] QString describe(const Error& error);

// 确认下料, 导入, 手工, 报废.
[[nodiscard]] QString kindName(EntryKind kind);

// "2026-12-09 14:05", in the local time.
[[nodiscard]] QString timeText(std::int64_t seconds);

// Bars by steel, the longest first: "HRB400 Φ25 3500×4、2460×12；Φ8 1800×10"; "无" when none.
[[nodiscard]] QString movedText(const std::vector<Moved>& bars);

// Where a row came from: "#3 确认下料 · 3 号楼二层梁柱 · 二层 · 清单.csv", each part there
// only when it is given; sourceText adds the time, " · 2026-12-09 14:05".
[[nodiscard]] QString originText(const Source& source);
[[nodiscard]] QString sourceText(const Source& source);

// An entry as the history lists it: its source's line (with 已撤销 and the time when a commit
// was undone), then what it took (取出; 报废 when scrapped) and put in (放回 for a commit, else
// 入库). Lines end in '\n'.
[[nodiscard]] QString entryText(const Entry& entry);

} // namespace yard
