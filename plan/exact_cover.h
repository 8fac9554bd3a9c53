#pragma once

#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solution.h"
#include "plan/solve.h"

#include <cstdint>
#include <optional>
#include <span>

// A primal search over a fixed list of patterns: the plan that cuts every piece exactly as often
// as wanted from these patterns alone, for at most `target`. With the patterns that a plan at
// the linear bound could use (see enumeration.h), a perfect packing is an exact cover of the
// pieces by them, and branching on the piece that the fewest patterns still cover (Knuth's
// Algorithm X) finds one where the linear programme's dives keep ending a bar too high.
namespace plan {

// A plan of at most `target`, or nothing if none was found within `nodes` nodes and `budget`.
// Finding nothing proves nothing: plans that cut a piece more often than wanted are not tried.
[[nodiscard]] std::optional<Solution> coverExactly(const Instance& instance,
                                                   std::span<const Column> columns,
                                                   std::int64_t target, std::int64_t nodes,
                                                   const Budget& budget);

} // namespace plan
