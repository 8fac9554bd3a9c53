#pragma once

#include "plan/incumbent.h"
#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solve.h"

#include <cstddef>

// The root's bound raised by cutting planes: the root's columns in a master of their own, subset-
// row cuts separated from its fractional solution and added as rows, column generation priced
// with the cuts' duals, round after round. Every round's bound goes to the incumbent, so a plan
// one bar above the linear programme's bound is proven as soon as the cuts lift it.
namespace plan {

struct CutStats {
    int rounds = 0;       // rounds of separation
    std::size_t cuts = 0; // cuts added
    int pricings = 0;     // master solves priced with the cuts
};

// Works within `budget`; `root` is the master of the search after its root was solved.
CutStats raiseBoundWithCuts(const Instance& instance, const Master& root, Incumbent& incumbent,
                            const Budget& budget);

// Whether the cuts' pricing is likely to be quick enough: bars that hold few pieces.
[[nodiscard]] bool cutsWorthTrying(const Instance& instance);

} // namespace plan
