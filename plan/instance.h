#pragma once

#include "plan/list.h"

#include <cstdint>
#include <vector>

// One steel's problem as the algorithms see it: distinct piece lengths with their demands,
// and the bars they may be cut from. A kerf k is folded in once here: a bar of length L holds
// pieces l1…ln when Σ(li + k) ≤ L + k, because the last cut needs no kerf when it ends exactly
// at the bar's end, and a kerf wider than what is left past the last piece just eats it.
namespace plan {

struct Item {
    std::int64_t length = 0; // mm, as cut
    std::int64_t demand = 0; // pieces wanted, all marks together
};

struct Stock {
    std::int64_t length = 0;
    std::int64_t cost = 0;       // mm of new steel bought: the length, or 0 for a yard offcut
    std::int64_t available = -1; // bars there are; -1: as many as needed
    bool offcut = false;

    [[nodiscard]] bool limited() const { return available >= 0; }
};

struct Instance {
    std::vector<Item> items;   // longest first
    std::vector<Stock> stocks; // new stock lengths, longest first, then yard offcuts, longest first
    std::int64_t kerf = 0;
    std::int64_t keep = 0;

    [[nodiscard]] std::int64_t weight(std::size_t item) const { return items[item].length + kerf; }
    [[nodiscard]] std::int64_t capacity(std::size_t stock) const {
        return stocks[stock].length + kerf;
    }
    [[nodiscard]] std::int64_t pieces() const;
};

// The problem of one steel of a checked list: its pieces, and the yard offcuts of that same
// steel. Offcuts too short for any piece are left out.
[[nodiscard]] Instance makeInstance(const CuttingList& list, const Steel& steel);

// A problem given directly, for the benchmarks and the tests: one stock length (or several),
// lengths and demands; items are merged by length and sorted.
[[nodiscard]] Instance makeInstance(std::vector<Item> items, std::vector<Stock> stocks,
                                    std::int64_t kerf = 0, std::int64_t keep = 0);

} // namespace plan
