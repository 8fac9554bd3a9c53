#pragma once

#include "plan/knapsack.h"
#include "plan/solution.h"

#include <cstdint>
#include <span>
#include <vector>

// The pricing of the relaxation over every segmentation (relaxation.h): the most one stock bar
// can be worth when it holds ordinary pieces, each at its dual price and at most as many as are
// wanted, and pieces of any length within a range whose worth is linear in the length (the
// segments of long bars, whose worth the relaxation makes piecewise linear). The pieces' table
// (KnapsackTable) and a table of the free pieces alone, both over 0…C, answer every bar length
// and every yard offcut at once: a bar is worth the best split of its length between the two.
namespace plan::joints {

// Free pieces of one kind: any whole length within [shortest, longest] mm, worth
// perMm × length + each.
struct FreeKind {
    std::int64_t shortest = 0;
    std::int64_t longest = 0;
    double perMm = 0;
    double each = 0;
};

struct FreePiece {
    std::uint32_t kind = 0;
    std::int64_t length = 0;

    friend bool operator==(const FreePiece&, const FreePiece&) = default;
};

// What one bar holds: ordinary pieces, and free pieces (each takes its length and a kerf).
struct FreeContent {
    Content pieces;
    std::vector<FreePiece> free;
};

class FreePricing {
public:
    // `pieces` as the cutting's pricing gives them (weights with the kerf); `capacity` the
    // longest bar's, kerf included.
    void solve(std::span<const PricingItem> pieces, std::span<const FreeKind> kinds,
               std::int64_t kerf, std::int64_t capacity);

    // The most a bar of `capacity` (kerf included, at most the one solved for) can be worth.
    [[nodiscard]] double best(std::int64_t capacity) const;
    // A content worth best(capacity).
    [[nodiscard]] FreeContent content(std::int64_t capacity) const;

private:
    // The room given to the ordinary pieces in the best split of `capacity`.
    [[nodiscard]] std::int64_t split(std::int64_t capacity) const;
    [[nodiscard]] std::int64_t top(std::int64_t capacity) const;

    KnapsackTable pieces_;
    std::vector<std::int64_t> weights_;
    std::int64_t kerf_ = 0;
    // free_[c]: the most free pieces alone are worth within c; last_[c] the kind of the last
    // piece of such a content (−1: the content of c − 1) and length_[c] its length.
    std::vector<double> free_;
    std::vector<std::int32_t> last_;
    std::vector<std::int64_t> length_;
};

} // namespace plan::joints
