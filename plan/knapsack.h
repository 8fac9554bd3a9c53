#pragma once

#include "plan/solution.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The pricing problem of column generation: which pieces, at most `bound` of each, to put in a
// bar so that their dual prices add up to the most. One dynamic programme over the capacities
// 0…C answers it for every bar length up to C at once: a 9000 and a 12000 mm bar, and every
// yard offcut, from the same table.
namespace plan {

struct PricingItem {
    std::int64_t weight = 0; // length + kerf
    double profit = 0;       // the item's dual price; items worth nothing are left out
    std::int64_t bound = 0;  // pieces still wanted
};

class KnapsackTable {
public:
    // Fills the table for capacities up to `capacity`. Weights and capacities are divided by
    // their greatest common divisor first, which shrinks the table when all lengths are
    // multiples of 10 mm, say.
    void solve(std::span<const PricingItem> items, std::int64_t capacity);

    // The most a bar of `capacity` can be worth (capacity at most the one solved for).
    [[nodiscard]] double best(std::int64_t capacity) const;
    // A content worth best(capacity).
    [[nodiscard]] Content pattern(std::int64_t capacity) const;
    // Up to `count` other contents for a bar of `capacity`, each worth more than `threshold`:
    // the best contents of smaller capacities, where the table changes value.
    [[nodiscard]] std::vector<Content> alternatives(std::int64_t capacity, double threshold,
                                                    std::size_t count) const;

    // Cells the table would have for these items: the cost of solve(), to choose it or not.
    [[nodiscard]] static double cells(std::span<const PricingItem> items, std::int64_t capacity);

private:
    struct Stage {
        std::uint32_t item;
        std::uint32_t copies; // 0: any number of copies
        std::int64_t weight;  // scaled, of all copies together (of one, for any number)
    };
    [[nodiscard]] std::size_t scaled(std::int64_t capacity) const;
    [[nodiscard]] Content trace(std::size_t capacity) const;

    std::int64_t unit_ = 1;
    std::size_t size_ = 0; // capacities 0…size_-1
    std::vector<Stage> stages_;
    std::vector<double> value_; // value_[c]: best worth within capacity c
    std::vector<double> scratch_;
    // taken_[stage * size_ + c]: the stage improved c. Every cell is written before it is read,
    // so the buffer is only ever grown, never cleared.
    std::unique_ptr<std::uint8_t[]> taken_;
    std::size_t takenSize_ = 0;
};

} // namespace plan
