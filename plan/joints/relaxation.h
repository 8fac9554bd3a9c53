#pragma once

#include "plan/instance.h"
#include "plan/solve.h"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// A lower bound over every allowed segmentation of a steel's long bars: the linear programme
// of the cutting in which each long bar is any split of its length and overlaps into segments
// the rules allow, and each segment is cut as a piece at least as long as it (a longer piece
// only wastes what it has over). Every plan of every segmentation within the rules is one of
// its solutions, so no plan costs less than its optimum. Zones, staggering and that the bars of
// a layout share their segments are left out: they only ever raise the cost.
//
// Lengths of segments are kept on a grid of nodes per row, a length between two nodes as the
// share of each that puts it at its place between them (a segment 30 % of the way from 4000 to
// 5000 mm is 0.7 of one at 4000 and 0.3 of one at 5000), with links that let a longer piece
// serve a shorter node:
//
//   min Σ cost_p x_p + Σ jointCost·k_σ·z_σ
//   Σ a_ip x_p ≥ d_i                       every ordinary piece
//   Σ x_p ≤ u_s                            every yard offcut length
//   Σ c_rgp x_p + f_r,g+ − f_r,g − Σ q_rgσ z_σ ≥ 0
//                                          node g of row r: the pieces cut for it (c), handed
//                                          down from the next node (f_r,g+) or on to the one
//                                          below (f_r,g), and what the splits want (q)
//   Σ_σ z_σ = b_r                          every bar of row r takes a split σ
//   Σ_σ k_σ z_σ ≤ J_r                      the joints the row may have, where limited
//
// A real plan cuts each segment at its own length, and so is a solution on any grid; what a
// length is worth is then linear between nodes, so that the cutting patterns are priced exactly
// by free_pricing.h and the splits by their corners (all segments but one on a node or at an
// end of their range). Every round's duals give a Lagrangian bound, so that the bound holds
// whether the programme converges or not. Once it converges, the lengths its solution cuts
// become nodes and it is solved again, until its solution lies on the grid: it is then the
// programme of every length.
namespace plan::joints {

// A row of long bars as the relaxation sees it.
struct FreeRow {
    std::int64_t bars = 0;
    std::int64_t length = 0;   // mm
    std::int64_t overlap = 0;  // mm each joint adds
    std::int64_t shortest = 0; // least segment, besides its overlaps
    std::int64_t fewestJoints = 0;
    std::int64_t mostJoints = 0;
    std::int64_t mostTotal = -1; // joints of all the row's bars together; −1: no limit
    std::int64_t jointCost = 0;  // per joint, in the instance's cost units
    // A segmentation within the rules to start from: segment lengths and how many bars.
    std::vector<std::pair<std::vector<std::int64_t>, std::int64_t>> start;
};

// The lengths one segment of a bar of `row` with `joints` joints may have, longest stock
// `longest`: at least the least segment with an overlap and what the other segments leave at
// their longest; at most a stock bar and what the others leave at their least (an inner
// segment has two overlaps, an end one). first > second when no bar has that many joints.
[[nodiscard]] std::pair<std::int64_t, std::int64_t>
segmentRange(const FreeRow& row, std::int64_t joints, std::int64_t longest);

// A bar of a known plan, to start from: its stock length (an offcut or bought), its ordinary
// pieces (items of the relaxation's instance) and its segments by row.
struct KnownBar {
    std::int64_t stock = 0;
    bool offcut = false;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pieces;
    std::vector<std::pair<std::uint32_t, std::int64_t>> segments; // (row, length)
};

struct Relaxation {
    // No plan costs less: the best Lagrangian bound, rounded up to a cost a plan can have.
    std::int64_t bound = 0;
    double value = 0;       // the programme's last value (its optimum when converged)
    bool converged = false; // solved on a grid its solution lies on: `value` is the optimum
    int rounds = 0;
    int grids = 0;
};

// The relaxation of `ordinary` (the steel's ordinary pieces, its stock and offcuts, costs in
// any unit) with the long bars of `rows`. `cutoff` is the cost of a known plan, whose bars
// `known` are: no better plan has more bars of a stock than it could buy for that, and the
// programme starts from that plan's columns and lengths.
[[nodiscard]] Relaxation relax(const Instance& ordinary, std::span<const FreeRow> rows,
                               std::span<const KnownBar> known, std::int64_t cutoff,
                               const Budget& budget);

} // namespace plan::joints
