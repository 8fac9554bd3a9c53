#pragma once

#include "plan/instance.h"
#include "plan/master.h"
#include "plan/pricing.h"
#include "plan/solve.h"

#include <cstdint>
#include <map>
#include <span>
#include <vector>

// Gilmore and Gomory's column generation on the residual problem of one search node: solve the
// master, price out new patterns, repeat until none is worth adding. Every round also gives a
// Lagrangian lower bound, so a node can be closed, or the root's bound fixed, before the tail
// of the iterations.
namespace plan {

// What is left to cut at a node of the search.
struct NodeState {
    std::vector<std::int64_t> demand;          // per item
    std::vector<std::int64_t> available;       // per stock; -1 for bought stock
    std::map<std::size_t, std::int64_t> upper; // caps the search has put on columns
};

struct NodeLp {
    bool solved = false;     // the master was solved at least once
    bool converged = false;  // no pattern prices out: `value` is the node's linear optimum
    bool infeasible = false; // no plan of the node's columns exists (closed columns only)
    double bound = 0;        // mm: no way of cutting what is left costs less
    double value = 0;        // mm: the master's last value
    // When converged: the duals that proved it (items ≥ 0, offcuts ≤ 0), in the master's units,
    // and the bound in mm they give, which every plan's cost exceeds by at least the reduced
    // costs of its bars.
    std::vector<double> itemDuals;
    std::vector<double> stockDuals;
    double dualBound = 0;
};

class ColumnGeneration {
public:
    ColumnGeneration(const Instance& instance, Master& master);

    // Generates columns until the node's linear programme is solved, or until its rounded
    // bound `fixed` + bound reaches `cutoff` (the node cannot beat the best plan), or — unless
    // `complete` — can no longer rise.
    NodeLp solve(const NodeState& node, std::int64_t fixed, std::int64_t cutoff, bool complete,
                 const Budget& budget);

    [[nodiscard]] int rounds() const { return rounds_; }

    // From now on no columns are added: the master's columns are all a plan may use (they
    // hold every pattern that could be part of a cheaper plan), and a node's bound is its
    // master's value.
    void close() { closed_ = true; }

private:
    [[nodiscard]] double lagrangianBound(const NodeState& node, std::span<const double> profit,
                                         std::span<const double> stockCost,
                                         std::span<const double> upperValue, std::int64_t fixed,
                                         std::int64_t cutoff) const;

    const Instance& instance_;
    Master& master_;
    Pricing pricing_;
    int rounds_ = 0;
    bool closed_ = false;
};

} // namespace plan
