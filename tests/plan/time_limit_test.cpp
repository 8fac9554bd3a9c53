// The search keeps its time limit: a plan it cannot prove is improved until the time is up, a
// stop request ends it with the best plan so far, and the first plan is reported before either.
#include "plan/instance.h"
#include "plan/solve.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

#include <gtest/gtest.h>

namespace {

// A perfect packing of `bars` bars, three pieces each of a quarter to a half of the bar, all
// sizes different: its optimum is `bars`, yet one of 400 pieces is rarely proven at once.
plan::Instance perfectPacking(std::uint64_t seed, int bars, std::int64_t capacity) {
    std::mt19937_64 random(seed);
    const auto uniform = [&](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    std::vector<plan::Item> items;
    std::vector<std::int64_t> used;
    while (static_cast<int>(items.size()) < 3 * bars) {
        const std::int64_t a = uniform(capacity / 4 + 1, capacity / 2 - 1);
        const std::int64_t low = std::max(capacity / 4 + 1, capacity / 2 + 1 - a);
        const std::int64_t high = std::min(capacity / 2 - 1, capacity - capacity / 4 - 1 - a);
        if (low > high) {
            continue;
        }
        const std::int64_t b = uniform(low, high);
        const std::int64_t c = capacity - a - b;
        items.push_back({a, 1});
        items.push_back({b, 1});
        items.push_back({c, 1});
    }
    return plan::makeInstance(items, {{capacity, capacity, -1, false}});
}

struct Reported {
    std::atomic<int> count{0};
    std::atomic<std::int64_t> firstBest{0};
};

TEST(TimeLimit, AnUnprovenSearchEndsWhenTheTimeIsUpWithASoundPlan) {
    const plan::Instance instance = perfectPacking(7, 134, 40'000);
    Reported reported;
    const plan::GroupResult result =
        plan::solve(instance, plan::Budget::seconds(0.5), [&](std::int64_t best, std::int64_t) {
            if (reported.count++ == 0) {
                reported.firstBest = best;
            }
        });
    EXPECT_FALSE(plan::check(instance, result.solution));
    EXPECT_LE(result.bound, result.solution.cost(instance));
    EXPECT_GE(reported.count.load(), 1);
    EXPECT_GE(reported.firstBest.load(), result.solution.cost(instance));
    // Either the plan was proven in time or the search ran until the time was up; it no longer
    // gives up on its own before that.
    EXPECT_TRUE(result.finish == plan::Finish::Proven || result.finish == plan::Finish::TimeUp)
        << static_cast<int>(result.finish);
}

TEST(TimeLimit, AStopRequestEndsALongSearchWithTheBestPlanSoFar) {
    const plan::Instance instance = perfectPacking(11, 134, 40'000);
    std::stop_source stop;
    std::atomic<bool> first{false};
    plan::GroupResult result;
    std::thread worker([&] {
        result = plan::solve(instance, plan::Budget::seconds(600, stop.get_token()),
                             [&](std::int64_t, std::int64_t) { first = true; });
    });
    // Stopped once the first plan is out, which is how the window's Cancel meets it.
    while (!first) {
        std::this_thread::yield();
    }
    stop.request_stop();
    worker.join();
    EXPECT_FALSE(plan::check(instance, result.solution));
    EXPECT_LE(result.bound, result.solution.cost(instance));
    EXPECT_TRUE(result.finish == plan::Finish::Proven || result.finish == plan::Finish::Cancelled)
        << static_cast<int>(result.finish);
}

} // namespace
