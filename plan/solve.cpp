#include "plan/solve.h"

#include "plan/bound.h"
#include "plan/first_fit.h"

namespace plan {

Budget Budget::seconds(double s, std::stop_token stop) {
    return {Clock::now() + std::chrono::duration_cast<Clock::duration>(
                               std::chrono::duration<double>(s)),
            std::move(stop)};
}

GroupResult solve(const Instance& instance, const Budget& budget, const Improvement& improved) {
    GroupResult result;
    result.solution = firstFitDecreasing(instance);
    result.bound = lengthBound(instance);
    const std::int64_t cost = result.solution.cost(instance);
    if (improved) {
        improved(cost, result.bound);
    }
    result.finish = cost == result.bound ? Finish::Proven
                    : budget.stopped()   ? Finish::Cancelled
                                         : Finish::Searched;
    return result;
}

} // namespace plan
