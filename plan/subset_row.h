#pragma once

#include "plan/instance.h"
#include "plan/solution.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Subset-row cuts over three pieces (Jepsen, Petersen, Spoorendonk and Pisinger; for bin
// packing, Wei, Luo, Baldacci and Lim 2020). A plan that cuts each piece exactly as often as it
// is wanted has Σ_p a_ip x_p = d_i; half the sum of these rows for items i, j and k, rounded down
// on the left (every bar count is a whole number and x ≥ 0) and then on the right (the left is
// a whole number), gives
//
//   Σ_p ⌊(a_ip + a_jp + a_kp) / 2⌋ x_p  ≤  ⌊(d_i + d_j + d_k) / 2⌋
//
// Every plan can be made one that cuts exactly its demand at no extra cost (pieces cut beyond
// it are left on the bar, an emptied bar is not bought), so the least cost of all plans is the
// least cost of those, and the master's bound with these rows added is still a bound on it.
// They cut off the fractional plans the bound of the linear programme rests on when three
// pieces are each cut half in bars with one of the others: the instances whose optimum is a bar
// above it.
namespace plan {

struct SubsetRow {
    std::array<std::uint32_t, 3> items{}; // ascending

    // The cut's coefficient of a bar cut this way.
    [[nodiscard]] std::int64_t coefficient(const Content& content) const;
    // The most the left side may be for these demands.
    [[nodiscard]] std::int64_t rhs(std::span<const std::int64_t> demand) const;

    friend bool operator==(const SubsetRow&, const SubsetRow&) = default;
    friend auto operator<=>(const SubsetRow&, const SubsetRow&) = default;
};

struct SupportColumn {
    const Content* content;
    double value; // bars cut this way in the fractional plan
};

// The cuts that the fractional plan `support` violates by more than a small margin, most
// violated first, at most `limit`, none of those in `known`.
[[nodiscard]] std::vector<SubsetRow> separate(std::size_t items,
                                              std::span<const SupportColumn> support,
                                              std::span<const std::int64_t> demand,
                                              std::span<const SubsetRow> known, std::size_t limit);

} // namespace plan
