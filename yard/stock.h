#pragma once

#include "plan/list.h"
#include "plan/plan.h"

#include <vector>

#include "yard/values.h"

namespace yard {

// The yard's stock (Yard::stock) as the offcut rows a list gives the optimiser, for
// formats::checkRows: those of `steels` only, since an offcut of a steel the list does not cut
// is an error there, and each count within an offcut row's limit (plan::kMaxCount; a plan never
// uses more of one length). Each row's line is its place in the stock, from 1.
[[nodiscard]] std::vector<plan::OffcutRow> offcutRows(const std::vector<Moved>& stock,
                                                      const std::vector<plan::Steel>& steels);

// The same stock as the offcuts a part of a list is planned with (plan::CuttingList::part), for
// floors planned one after another against the yard: every row, each count within the same
// limit, the line its place in the stock.
[[nodiscard]] std::vector<plan::Offcut> offcuts(const std::vector<Moved>& stock);

// What carrying `plan` out would take from the yard (each steel's offcuts used) and put in (its
// remnants), as an entry lists them: by steel, the longest first.
struct PlanChanges {
    std::vector<Moved> taken;
    std::vector<Moved> added;
};
[[nodiscard]] PlanChanges changesOf(const plan::Plan& plan);

} // namespace yard
