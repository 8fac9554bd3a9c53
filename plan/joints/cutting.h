#pragma once

#include "plan/joints/segment.h"
#include "plan/solve.h"

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

// Joints chosen together with the cutting plan. Each steel (grade and diameter) is its own
// problem: its ordinary pieces and the segments of its long bars are cut from the same stock,
// so the segments are chosen to leave the least for the cutting to waste, their joints wherever
// the rules allow (free_layouts.h); the plan's bound holds for every segmentation the rules
// allow (relaxation.h). By default the fewest joints come first, then the least steel; by cost,
// the least money for the steel and the joints together.
namespace plan::joints {

// A piece that needs no joint, of the same steel as some long bars.
struct Piece {
    std::string grade;
    std::int64_t diameter = 0; // tenths of a mm
    std::string mark;
    std::int64_t length = 0; // mm, as cut
    std::int64_t count = 0;
};

struct Problem {
    std::vector<LongBar> bars;
    std::vector<Piece> pieces;
    std::vector<std::int64_t> stocks{9000, 12000}; // mm, bought in any number
    // Yard offcuts of the steel (Stock::offcut, limited): free to use, so no bound counts them.
    std::vector<Stock> offcuts;
    std::int64_t kerf = 0;
    std::int64_t keep = 500;
    JointSettings settings;
    double seconds = 5;   // for the whole problem
    unsigned threads = 0; // steels planned side by side; 0: as many as the machine has cores
};

struct SteelPlan {
    std::string grade;
    std::int64_t diameter = 0;
    std::vector<SplicedBar> spliced;
    Instance instance; // the ordinary pieces and the segments, as the cutting solver saw them
    GroupResult cut;   // its cutting, checked

    std::int64_t boughtMm = 0;  // new steel: Σ stock bars bought
    std::int64_t piecesMm = 0;  // the finished lengths: ordinary pieces and long bars
    std::int64_t overlapMm = 0; // steel in the overlaps of the joints
    std::int64_t joints = 0;
    std::int64_t boundMm = 0; // see scope
    BoundScope scope = BoundScope::ChosenSegmentation;
    // Σ finished lengths and the fewest overlaps, rounded up to what stock can sum to, less the
    // yard's offcuts: the material alone.
    std::int64_t materialMm = 0;
    // No segmentation allowed buys less: the material, or the relaxation over every allowed
    // segmentation where that is higher.
    std::int64_t boundAllMm = 0;
    // What the plan costs at the settings' prices, and (planned by cost) no allowed
    // segmentation costs less than boundFen.
    Money money;
    std::int64_t boundFen = 0;

    // bought − pieces − overlaps.
    [[nodiscard]] std::int64_t wasteMm() const { return boughtMm - piecesMm - overlapMm; }
};

struct JointsPlan {
    std::vector<SteelPlan> steels; // by grade, then diameter
    std::vector<JointError> errors;
    std::vector<Warning> warnings;
    double seconds = 0;

    [[nodiscard]] std::int64_t boughtMm() const;
    [[nodiscard]] std::int64_t piecesMm() const;
    [[nodiscard]] std::int64_t overlapMm() const;
    [[nodiscard]] std::int64_t joints() const;
};

// The plan with joints chosen with the cutting. A problem with any error is not planned (the
// errors name the rows); a plan has passed check() for every long bar and the cutting
// solver's own check. Where the usual practice keeps to the joints allowed, no plan buys more
// than it (costs more, by cost).
// `improved` hears of the final cutting's progress (best and bound of the segments chosen).
[[nodiscard]] JointsPlan planJoints(const Problem& problem, std::stop_token stop = {},
                                    const Improvement& improved = {});

// The usual practice (see practice()), its segments cut by the same solver within the same
// time: the difference to planJoints is the segmentation alone. A bar whose practice breaks a
// rule is an error of this plan.
[[nodiscard]] JointsPlan planPractice(const Problem& problem, std::stop_token stop = {});

// The least sum of stock lengths, each used any number of times, that is at least `mm`.
[[nodiscard]] std::int64_t leastPurchase(std::span<const std::int64_t> stocks, std::int64_t mm);

} // namespace plan::joints
