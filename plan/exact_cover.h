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

struct CoverResult {
    std::optional<Solution> plan; // a plan of at most `target`, where one was found
    // No plan of the listed patterns costs `target` or less: the search ran to its end, and at
    // that cost a plan could not cut any piece more often than wanted (every bar full, or
    // nearly). Where the list holds every pattern such a plan could use, no plan of at most
    // `target` exists at all.
    bool none = false;
};

// Every plan of at most `target` cuts each piece exactly as often as wanted: the pieces' length
// and the shortest piece more cost more than `target` at every stock's price per millimetre.
[[nodiscard]] bool cutsExactly(const Instance& instance, std::int64_t target);

// A plan of at most `target` found within `nodes` nodes and `budget`. Plans that cut a piece
// more often than wanted are not tried, so running out of plans proves something only where
// no plan of at most `target` can cut one (cutsExactly); that is when `none` is set.
[[nodiscard]] CoverResult coverExactly(const Instance& instance, std::span<const Column> columns,
                                       std::int64_t target, std::int64_t nodes,
                                       const Budget& budget);

// A plan of at most `target` that cuts all but at most `leftOver` pieces with the listed
// patterns and those by first-fit decreasing, found within `nodes` nodes and `budget`. Where
// every bar of a perfect packing would be full but none exists, the plan a bar dearer often
// packs nearly every piece perfectly and only a few in the extra bar: the patterns without waste
// and a handful of pieces left over find it.
[[nodiscard]] std::optional<Solution> coverMostly(const Instance& instance,
                                                  std::span<const Column> columns,
                                                  std::int64_t target, std::int64_t leftOver,
                                                  std::int64_t nodes, const Budget& budget);

} // namespace plan
