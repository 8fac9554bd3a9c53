#pragma once

#include "plan/instance.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// An integer plan as the algorithms build it: how many bars of each stock are cut by each
// pattern. Nothing leaves the optimiser before `check` has passed it.
namespace plan {

// Pieces of each item in one bar: (item index, pieces), item indices ascending.
using Content = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

struct BarPattern {
    std::uint32_t stock = 0;
    std::int64_t count = 0; // bars cut this way
    Content content;

    friend bool operator==(const BarPattern&, const BarPattern&) = default;
};

struct Solution {
    std::vector<BarPattern> patterns;

    // Steel bought: Σ count × cost.
    [[nodiscard]] std::int64_t cost(const Instance& instance) const;
    [[nodiscard]] std::int64_t bars() const;
};

// The space a bar's content takes, kerf included (see Instance).
[[nodiscard]] std::int64_t used(const Instance& instance, const Content& content);
[[nodiscard]] bool fits(const Instance& instance, std::uint32_t stock, const Content& content);

// Why `solution` is not a plan for `instance`: a piece cut more or fewer times than wanted, a
// bar overfilled, more offcuts taken than lie in the yard; nullopt when it is sound.
[[nodiscard]] std::optional<std::string> check(const Instance& instance, const Solution& solution);

// Puts a solution in its plain form: patterns with the same stock and content merged, empty
// ones dropped, pieces cut beyond their demand taken out again (the bar just keeps a longer
// remnant), and every bar moved to the cheapest stock that still holds it.
void normalise(const Instance& instance, Solution& solution);

} // namespace plan
