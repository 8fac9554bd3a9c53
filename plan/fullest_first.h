#pragma once

#include "plan/instance.h"
#include "plan/solution.h"
#include "plan/solve.h"

#include <cstdint>
#include <optional>

// The sequential heuristic of the cutting trade: cut the bar that holds the most steel for its
// price, as often as the pieces still wanted allow, and again on what is left. On what a
// rounded-down linear programme leaves over (a few pieces of many lengths) it often comes out
// a bar or two shorter than first-fit decreasing, which fills the first bars well and the last
// ones badly.
namespace plan {

// Each bar's content is searched by branch and bound for at most `nodes` nodes: a bar that is
// nearly full is as good here as the fullest one. Up to `passes` passes, each with the pieces
// valued anew by how the last one cut them; they stop once a plan costs `target` or less. The
// cheapest plan is returned; nothing if a pass went wrong, or if the budget ran out before the
// first pass was done.
[[nodiscard]] std::optional<Solution> fullestFirst(const Instance& instance, std::int64_t nodes,
                                                   int passes, std::int64_t target,
                                                   const Budget& budget);

} // namespace plan
