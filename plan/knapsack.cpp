#include "plan/knapsack.h"

#include "plan/relax.h"

#include <algorithm>
#include <bit>
#include <map>
#include <memory>
#include <numeric>

namespace plan {

double KnapsackTable::cells(std::span<const PricingItem> items, std::int64_t capacity) {
    double stages = 0;
    for (const PricingItem& item : items) {
        if (item.profit > 0 && item.bound > 0 && item.weight <= capacity) {
            const std::int64_t fit = capacity / item.weight;
            stages += item.bound >= fit && fit > 1
                          ? 1
                          : std::bit_width(static_cast<std::uint64_t>(std::min(item.bound, fit)));
        }
    }
    return stages * static_cast<double>(capacity + 1);
}

std::size_t KnapsackTable::scaled(std::int64_t capacity) const {
    return std::min(static_cast<std::size_t>(capacity / unit_), size_ - 1);
}

void KnapsackTable::solve(std::span<const PricingItem> items, std::int64_t capacity) {
    unit_ = capacity;
    for (const PricingItem& item : items) {
        if (item.profit > 0 && item.bound > 0 && item.weight <= capacity) {
            unit_ = std::gcd(unit_, item.weight);
        }
    }
    unit_ = std::max<std::int64_t>(unit_, 1);
    const auto cap = static_cast<std::size_t>(capacity / unit_);
    size_ = cap + 1;

    // An item whose bound does not bind (a bar cannot hold more of it than are wanted) is one
    // stage of any number of copies. A bound that binds is split into stages of 1, 2, 4, …
    // copies and a rest, each taken or not: any number up to the bound is a sum of some.
    stages_.clear();
    for (std::uint32_t i = 0; i < items.size(); ++i) {
        const PricingItem& item = items[i];
        if (item.profit <= 0 || item.bound <= 0 || item.weight > capacity) {
            continue;
        }
        const std::int64_t w = item.weight / unit_;
        const std::int64_t fit = capacity / item.weight;
        if (item.bound >= fit && fit > 1) {
            stages_.push_back({i, 0, w});
            continue;
        }
        std::int64_t left = std::min(item.bound, fit);
        for (std::int64_t copies = 1; left > 0; copies *= 2) {
            const std::int64_t take = std::min(copies, left);
            stages_.push_back({i, static_cast<std::uint32_t>(take), take * w});
            left -= take;
        }
    }

    value_.assign(size_, 0.0);
    scratch_.resize(size_);
    if (takenSize_ < stages_.size() * size_) {
        takenSize_ = stages_.size() * size_;
        taken_ = std::make_unique_for_overwrite<std::uint8_t[]>(takenSize_);
    }
    const std::size_t size = size_;
    for (std::size_t s = 0; s < stages_.size(); ++s) {
        const Stage& stage = stages_[s];
        const auto w = static_cast<std::size_t>(stage.weight);
        std::uint8_t* taken = taken_.get() + s * size;
        std::fill(taken, taken + std::min(w, size), std::uint8_t{0});
        if (stage.copies == 0) {
            // Any number of copies: the row is updated in place, from low capacities up, so a
            // cell may build on a copy just added below it. Within one block of `w` cells no
            // cell reads another of the block, so a block is one call of the vector loop.
            const double worth = items[stage.item].profit;
            double* f = value_.data();
            for (std::size_t base = w; base < size; base += w) {
                const std::size_t end = std::min(base + w, size);
                relax(f + base, f + base - w, f + base, taken + base, end - base, worth);
            }
            continue;
        }
        const double worth = items[stage.item].profit * stage.copies;
        // Taken or not: from the old row into a new one, every cell from the old row alone.
        const double* old = value_.data();
        double* now = scratch_.data();
        std::copy(old, old + std::min(w, size), now);
        if (w < size) {
            relax(old + w, old, now + w, taken + w, size - w, worth);
        }
        value_.swap(scratch_);
    }
}

double KnapsackTable::best(std::int64_t capacity) const {
    return size_ == 0 ? 0.0 : value_[scaled(capacity)];
}

Content KnapsackTable::trace(std::size_t c) const {
    std::map<std::uint32_t, std::uint32_t> counts;
    for (std::size_t s = stages_.size(); s-- > 0;) {
        const Stage& stage = stages_[s];
        const auto w = static_cast<std::size_t>(stage.weight);
        // A stage of any number of copies is left only where it added none.
        while (c >= w && taken_[s * size_ + c] != 0) {
            counts[stage.item] += std::max<std::uint32_t>(stage.copies, 1);
            c -= w;
            if (stage.copies != 0) {
                break;
            }
        }
    }
    return {counts.begin(), counts.end()};
}

Content KnapsackTable::pattern(std::int64_t capacity) const {
    if (size_ == 0) {
        return {};
    }
    return trace(scaled(capacity));
}

std::vector<Content> KnapsackTable::alternatives(std::int64_t capacity, double threshold,
                                                 std::size_t count) const {
    std::vector<Content> found;
    if (size_ == 0) {
        return found;
    }
    // Walking down from the full capacity, the best content changes where the value drops.
    std::size_t c = scaled(capacity);
    double previous = value_[c];
    while (c-- > 0 && found.size() < count) {
        if (value_[c] <= threshold) {
            break;
        }
        if (value_[c] < previous) {
            found.push_back(trace(c));
            previous = value_[c];
        }
    }
    return found;
}

} // namespace plan
