#pragma once

#include "plan/instance.h"
#include "plan/solution.h"
#include "plan/solve.h"

#include <cstdint>
#include <limits>

// The best plan found so far for one diameter, and the bound it is measured against. Every
// offer is normalised and checked before it can replace the best.
namespace plan {

class Incumbent {
public:
    Incumbent(const Instance& instance, Improvement improved)
        : instance_(instance), improved_(std::move(improved)) {}

    // Takes `solution` if it is sound and cheaper than the best so far.
    bool offer(Solution solution);
    // Raises the lower bound (never lowers it).
    void raiseBound(std::int64_t bound);

    [[nodiscard]] std::int64_t cost() const { return cost_; }
    [[nodiscard]] std::int64_t bound() const { return bound_; }
    [[nodiscard]] bool proven() const { return cost_ <= bound_; }
    [[nodiscard]] const Solution& solution() const { return solution_; }

private:
    void report() const;

    const Instance& instance_;
    Improvement improved_;
    Solution solution_;
    std::int64_t cost_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t bound_ = 0;
};

} // namespace plan
