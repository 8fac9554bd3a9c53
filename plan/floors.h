#pragma once

#include "plan/list.h"
#include "plan/optimize.h"
#include "plan/plan.h"

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

// A building planned floor by floor, in the order its floors are built: each floor is cut with
// the yard's offcuts first, and what it leaves of at least the shortest reusable length goes
// back to the yard for the floors after it. It is a loop over the one optimize(), carrying
// offcuts, not an optimiser of its own.
namespace plan {

struct FloorPlan {
    std::string floor; // as the list names it; empty for the rows that name none
    Plan plan;
};

struct BuildingPlan {
    std::vector<FloorPlan> floors; // in the order planned
    std::vector<Offcut> yard;      // what the yard holds after the last floor
    double seconds = 0;
    bool cancelled = false; // a stop request ended it; the floors after the one stopped are left

    [[nodiscard]] std::int64_t stockMm() const;
    [[nodiscard]] double stockKg() const;
    [[nodiscard]] double piecesKg() const;
    [[nodiscard]] bool optimal() const;
};

// The building's steels, each its floors' groups together: what to buy (new bars by stock
// length), steel, bounds, weights, waste, joints; no patterns. A steel is optimal when every
// floor's plan of it is. Its remnants are what the yard holds of it after the last floor.
[[nodiscard]] Plan buildingTotals(const BuildingPlan& building);

// The yard after `plan` is carried out: the offcuts it cut taken out, its reusable remnants put
// in, by steel and length.
[[nodiscard]] std::vector<Offcut> carriedOut(std::vector<Offcut> yard, const Plan& plan);

// Where the floors take their offcuts from and give their remnants back to. Left empty, a yard
// in memory that starts with the list's own offcuts; a yard kept elsewhere (a database) answers
// `offcuts` before each floor and hears of each floor's plan through `carriedOut`, which may
// refuse it (false): the building then stops there, as if cancelled.
struct FloorYard {
    std::function<std::vector<Offcut>()> offcuts;
    std::function<bool(const FloorPlan&)> carriedOut;
};

// Heard before each floor is planned: its place in the order and its name.
using FloorStarted = std::function<void(std::size_t index, const std::string& floor)>;

// Plans `floors` of `list` one after another, each within the list's time, as optimize() does.
[[nodiscard]] BuildingPlan optimizeByFloor(const CuttingList& list,
                                           const std::vector<std::string>& floors,
                                           const FloorYard& yard = {},
                                           const FloorStarted& started = {},
                                           const ProgressCallback& progress = {},
                                           std::stop_token stop = {}, unsigned threads = 0);

} // namespace plan
