#include "plan/incumbent.h"

#include <algorithm>

namespace plan {

bool Incumbent::offer(Solution solution) {
    normalise(instance_, solution);
    const std::int64_t cost = solution.cost(instance_);
    if (cost >= cost_ || check(instance_, solution)) {
        return false;
    }
    solution_ = std::move(solution);
    cost_ = cost;
    report();
    return true;
}

void Incumbent::raiseBound(std::int64_t bound) {
    // A bound above a plan's cost would be a fault of the search, never the truth.
    bound = std::min(bound, cost_);
    if (bound > bound_) {
        bound_ = bound;
        report();
    }
}

void Incumbent::report() const {
    if (improved_ && cost_ != std::numeric_limits<std::int64_t>::max()) {
        improved_(cost_, bound_);
    }
}

} // namespace plan
