#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// For the tests: the least number of bins of `capacity` that hold `sizes`, by trying every
// assignment of items to bins. Only for a dozen items or so; what the optimiser's plans and
// bounds are checked against.
namespace plan_test {

inline std::int64_t leastBins(const std::vector<std::int64_t>& sizes, std::int64_t capacity) {
    std::vector<std::int64_t> room;
    auto best = static_cast<std::int64_t>(sizes.size());
    std::function<void(std::size_t)> place = [&](std::size_t k) {
        if (static_cast<std::int64_t>(room.size()) >= best) {
            return;
        }
        if (k == sizes.size()) {
            best = static_cast<std::int64_t>(room.size());
            return;
        }
        for (std::size_t b = 0; b < room.size(); ++b) {
            if (room[b] >= sizes[k]) {
                room[b] -= sizes[k];
                place(k + 1);
                room[b] += sizes[k];
            }
        }
        room.push_back(capacity - sizes[k]);
        place(k + 1);
        room.pop_back();
    };
    place(0);
    return best;
}

} // namespace plan_test
