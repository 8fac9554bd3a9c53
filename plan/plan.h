#pragma once

#include "plan/joints/long_bar.h"
#include "plan/steel.h"

#include <cstdint>
#include <string>
#include <vector>

// What the optimiser hands out: for each steel (grade and diameter), how to cut every stock bar.
// Lengths are whole millimetres; diameters are tenths of a millimetre.
namespace plan {

struct Cut {
    std::string mark;
    std::int64_t length = 0; // as cut: a length asked with decimals is rounded up

    friend bool operator==(const Cut&, const Cut&) = default;
};

// `count` bars of the same length, each cut the same way.
struct Pattern {
    std::int64_t stock = 0;   // length of the bar
    bool offcut = false;      // a yard offcut, not a new bar
    std::int64_t count = 0;   // bars cut this way
    std::vector<Cut> cuts;    // in cutting order, from the bar's end
    std::int64_t remnant = 0; // left of each bar after the last cut and its kerf
    bool reusable = false;    // the remnant is at least the shortest reusable length

    friend bool operator==(const Pattern&, const Pattern&) = default;
};

struct StockUse {
    std::int64_t length = 0;
    std::int64_t count = 0;

    friend bool operator==(const StockUse&, const StockUse&) = default;
};

// How far the search got with one steel.
enum class Finish {
    Proven,    // the plan's steel equals the lower bound: no plan buys less
    TimeUp,    // the time allowed ran out first
    Cancelled, // the caller stopped it
    Searched,  // the search ended with a gap (it ran out of ideas within its own limits)
};

struct GroupPlan {
    Steel steel;
    std::string code;              // the letter the list wrote the grade with ("C"), or empty
    std::vector<Pattern> patterns; // new bars first, longest stock first; then yard offcuts

    std::int64_t stockMm = 0; // new steel bought: total length of the new bars
    std::int64_t boundMm = 0; // no plan buys less new steel than this
    bool optimal = false;     // stockMm == boundMm
    Finish finish = Finish::Searched;

    std::vector<StockUse> bought;      // new bars by stock length, longest first
    std::vector<StockUse> offcutsUsed; // yard offcuts taken, by length, longest first
    std::vector<StockUse> remnants;    // reusable remnants to return to the yard, longest first
    std::int64_t pieces = 0;           // pieces cut
    std::int64_t piecesMm = 0;         // their total length
    std::int64_t offcutMm = 0;         // total length of yard offcuts taken
    std::int64_t remnantMm = 0;        // total length of reusable remnants
    std::int64_t wasteMm = 0;          // scrap: short remnants and the kerf of every cut
    double utilisation = 0;            // piecesMm / (stockMm + offcutMm)
    double piecesKg = 0;               // weight of the pieces (plan::weightKg)
    double stockKg = 0;                // weight of the new bars
    double seconds = 0;                // time spent on this steel

    // Long bars of this steel: their layouts, whose segments are among the patterns' cuts
    // (marked "KL1-1/2") and counted in pieces and piecesMm.
    std::vector<joints::SplicedBar> spliced;
    std::int64_t overlapMm = 0; // steel in the joints' overlaps, within piecesMm
    std::int64_t joints = 0;
    // With long bars, boundMm may hold only for the segments chosen (see BoundScope); without,
    // it holds outright.
    joints::BoundScope boundScope = joints::BoundScope::AllSegmentations;
    // What the new steel and the joints cost at the settings' prices. Planned by cost (a steel
    // with long bars and the settings' byCost), boundFen: no allowed segmentation costs less.
    joints::Money money;
    bool byCost = false;
    std::int64_t boundFen = 0;

    // How many more bars of the longest stock length the gap is worth, rounded up; 0 when optimal.
    [[nodiscard]] std::int64_t gapBars() const;
};

// What a group's new bars and joints cost at `prices`: each bar length's price to the fen, times
// its bars; each joint at its method's price.
[[nodiscard]] joints::Money moneyOf(const GroupPlan& group, const joints::Prices& prices);

struct Plan {
    std::vector<GroupPlan> groups; // by steel: diameter ascending, then grade
    double seconds = 0;            // wall time of the whole search
    bool cancelled = false;
    // The floors (楼层) the list's pieces are on, in the order they first appear; empty when it
    // names none.
    std::vector<std::string> floors;

    [[nodiscard]] bool optimal() const;
    [[nodiscard]] std::int64_t stockMm() const;
    [[nodiscard]] joints::Money money() const;
    [[nodiscard]] double stockKg() const;
    [[nodiscard]] double piecesKg() const;
};

} // namespace plan
