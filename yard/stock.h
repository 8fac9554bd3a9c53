#pragma once

#include "plan/list.h"

#include <vector>

#include "yard/values.h"

namespace yard {

// The yard's stock (Yard::stock) as the offcut rows a list gives the optimiser, for
// formats::checkRows: those of `steels` only, since an offcut of a steel the list does not cut
// is an error there, and each count within an offcut row's limit (plan::kMaxCount; a plan never
// uses more of one length). Each row's line is its place in the stock, from 1.
[[nodiscard]] std::vector<plan::OffcutRow> offcutRows(const std::vector<Moved>& stock,
                                                      const std::vector<plan::Steel>& steels);

} // namespace yard
