#pragma once

#include "plan/instance.h"
#include "plan/list.h"
#include "plan/plan.h"
#include "plan/solution.h"

#include <span>
#include <string>

// Turns a checked solution of one steel into the plan people read: every cut named by the
// mark of its row, remnants and their reuse, steel and weights.
namespace plan {

// Marks are handed out row by row in the list's order, and across the bars of one pattern
// position by position, so that bars cut alike stay together: a pattern splits only where a
// row's pieces run out.
[[nodiscard]] GroupPlan assemble(const CuttingList& list, const Steel& steel,
                                 const Instance& instance, const Solution& solution);

// The same with the pieces given: those of `steel` among `pieces` are the instance's items (the
// segments of long bars among them, each with its own mark).
[[nodiscard]] GroupPlan assemble(std::span<const Piece> pieces, const Steel& steel,
                                 const std::string& code, const Instance& instance,
                                 const Solution& solution);

} // namespace plan
