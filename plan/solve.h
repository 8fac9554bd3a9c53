#pragma once

#include "plan/instance.h"
#include "plan/plan.h"
#include "plan/solution.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>

// The search for one diameter, apart from marks and presentation: from an Instance to a
// checked Solution and a lower bound on its cost.
namespace plan {

// When to give up: a deadline and the caller's stop request.
class Budget {
public:
    using Clock = std::chrono::steady_clock;

    Budget(Clock::time_point deadline, std::stop_token stop)
        : deadline_(deadline), stop_(std::move(stop)) {}
    static Budget seconds(double s, std::stop_token stop = {});

    [[nodiscard]] bool stopped() const { return stop_.stop_requested(); }
    [[nodiscard]] bool expired() const { return stopped() || Clock::now() >= deadline_; }
    [[nodiscard]] Clock::time_point deadline() const { return deadline_; }
    [[nodiscard]] const std::stop_token& stopToken() const { return stop_; }

private:
    Clock::time_point deadline_;
    std::stop_token stop_;
};

// What the search did, for the benchmark.
struct SearchStats {
    int rounds = 0;          // master solves with pricing
    std::int64_t nodes = 0;  // search nodes
    std::size_t columns = 0; // columns in the master at the end
    int repairs = 0;         // master solves repeated because Clp's answer did not hold up
    int cutRounds = 0;       // rounds of subset-row cuts at the root
    std::size_t cuts = 0;    // subset-row cuts added
    int gomoryRounds = 0;    // rounds of Gomory's cuts over the listed patterns
    int gomoryCuts = 0;      // Gomory's cuts added
};

struct GroupResult {
    Solution solution;
    std::int64_t bound = 0; // no solution costs less
    Finish finish = Finish::Searched;
    SearchStats stats;
};

// Called when the best cost or the bound improves.
using Improvement = std::function<void(std::int64_t best, std::int64_t bound)>;

// Least steel bought for `instance` within `budget`. The solution always passes check().
[[nodiscard]] GroupResult solve(const Instance& instance, const Budget& budget,
                                const Improvement& improved = {});

} // namespace plan
