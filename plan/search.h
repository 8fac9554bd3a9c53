#pragma once

#include "plan/column_generation.h"
#include "plan/incumbent.h"
#include "plan/instance.h"
#include "plan/master.h"
#include "plan/solve.h"

#include <cstdint>
#include <vector>

// Branch and price on the columns of the master. At a node the linear programme is solved by
// column generation; a column j with fractional value x is branched on as x_j ≥ ⌈x⌉ (cut that
// many bars this way and solve what is left) or x_j ≤ ⌊x⌋ (a cap, which pricing respects).
// The two children cover every plan, so a search that runs to its end proves its best plan
// optimal. Before that, dives with few or no second branches (limited discrepancy search) find
// good plans fast: they also round the other columns down as they go.
namespace plan {

class TreeSearch {
public:
    TreeSearch(const Instance& instance, Master& master, Incumbent& incumbent,
               const Budget& budget);

    // Solves the root: its bound goes to the incumbent, its rounding heuristics offer plans.
    // False if the root's linear programme could not be solved at all.
    bool root();

    // A search allowing at most `discrepancies` second branches on any path; with -1, the
    // complete search. It gives up after `nodes` nodes. True if it ran to its end, which for
    // the complete search means that no plan cheaper than the incumbent exists.
    bool run(int discrepancies, std::int64_t nodes);

    // Solves the root's linear programme to the end, for its duals.
    [[nodiscard]] NodeLp solveRoot();

    // The master's columns are all there is: see ColumnGeneration::close.
    void close() { generation_.close(); }

    [[nodiscard]] std::int64_t nodes() const { return nodes_; }
    [[nodiscard]] int rounds() const { return generation_.rounds(); }

private:
    struct Fix {
        std::size_t column;
        std::int64_t count;
    };
    // Returns false when the search must stop (the budget is spent or the bound is reached).
    bool explore(NodeState& node, std::vector<Fix>& fixed, std::int64_t fixedCost,
                 int discrepancies, int depth);
    void offerRounding(const NodeState& node, const std::vector<Fix>& fixed, bool up, bool fullest);
    [[nodiscard]] Solution solutionOf(const std::vector<Fix>& fixed) const;
    [[nodiscard]] bool done() const;

    const Instance& instance_;
    Master& master_;
    Incumbent& incumbent_;
    const Budget& budget_;
    ColumnGeneration generation_;
    std::int64_t nodes_ = 0;
    std::int64_t nodeLimit_ = 0; // nodes_ at which the current run gives up
    bool complete_ = false;      // the current run is the complete search
    bool cutShort_ = false;      // something stopped a complete run from covering every plan
};

} // namespace plan
