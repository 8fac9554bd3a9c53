#pragma once

#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solution.h"
#include "plan/solve.h"

#include <cstdint>
#include <span>

// A proof over a fixed list of patterns by cutting planes. When the patterns a cheaper plan could
// use are listed (see enumeration.h), the question left is an integer programme with a fixed set
// of columns: does some plan of them cut every piece exactly as wanted for at most the target?
// Its linear programme often says yes by a few millimetres where no whole plan exists. Gomory's
// cuts, read from the rows of the optimal basis, and {0,½}-cuts, combining rows modulo 2, shave
// off such fractional corners round after round. Once the linear programme with them has no
// solution, no plan within the target exists; when its solution comes out whole, it is one.
//
// Every cut is a Chvátal–Gomory cut Σ ⌊u·a_j⌋ x_j ≤ ⌊u·b⌋ whose multipliers u are rationals,
// worked out in whole numbers: a cut is valid whatever floating point did on the way to it. The
// final bound is checked the same way, with the duals rounded to whole numbers and every reduced
// cost that came out negative charged at the most bars its column can take.
namespace plan {

struct GomoryStats {
    int rounds = 0;
    int cuts = 0;
};

struct CutOutcome {
    enum Kind {
        Unsettled, // the cuts did not get there within their rounds or the budget
        NoPlan,    // no plan within the target cuts every piece exactly from these patterns
        Plan,      // `plan` is one, of these patterns, within the target
    };
    Kind kind = Unsettled;
    Solution plan;
};

[[nodiscard]] CutOutcome settleByCuts(const Instance& instance, std::span<const Column> columns,
                                      std::int64_t target, const Budget& budget,
                                      GomoryStats* stats = nullptr);

} // namespace plan
