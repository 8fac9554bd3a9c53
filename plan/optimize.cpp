#include "plan/optimize.h"

#include "plan/assemble.h"
#include "plan/instance.h"
#include "plan/solve.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace plan {

Plan optimize(const CuttingList& list, const ProgressCallback& progress, std::stop_token stop,
              unsigned threads) {
    const auto start = Budget::Clock::now();
    const auto seconds = std::chrono::duration<double>(list.settings().seconds);
    const Budget budget(start + std::chrono::duration_cast<Budget::Clock::duration>(seconds), stop);
    const std::vector<Steel> steels = list.steels();

    Plan plan;
    plan.groups.resize(steels.size());
    std::mutex reporting;
    const auto report = [&](const Progress& p) {
        if (progress) {
            const std::lock_guard lock(reporting);
            progress(p);
        }
    };

    // Groups are taken from a shared counter, the largest first, so that two threads finish
    // together rather than one waiting on the biggest group at the end.
    std::vector<std::size_t> order(steels.size());
    std::vector<Instance> instances;
    std::vector<std::string> codes;
    instances.reserve(steels.size());
    for (std::size_t g = 0; g < steels.size(); ++g) {
        order[g] = g;
        instances.push_back(makeInstance(list, steels[g]));
        codes.push_back(list.codeOf(steels[g]));
    }
    std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
        return instances[a].items.size() > instances[b].items.size();
    });
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t k = next++; k < order.size(); k = next++) {
            const std::size_t g = order[k];
            const auto groupStart = Budget::Clock::now();
            const Improvement improved = [&](std::int64_t best, std::int64_t bound) {
                report({g, steels[g], codes[g], best, bound, false});
            };
            GroupResult result = solve(instances[g], budget, improved);
            GroupPlan group = assemble(list, steels[g], instances[g], result.solution);
            group.boundMm = result.bound;
            group.optimal = group.stockMm == group.boundMm;
            group.finish = group.optimal ? Finish::Proven : result.finish;
            group.seconds =
                std::chrono::duration<double>(Budget::Clock::now() - groupStart).count();
            report({g, steels[g], codes[g], group.stockMm, group.boundMm, true});
            plan.groups[g] = std::move(group);
        }
    };

    unsigned n = threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    n = static_cast<unsigned>(std::min<std::size_t>(n, steels.size()));
    if (n <= 1) {
        work();
    } else {
        std::vector<std::jthread> pool;
        for (unsigned t = 0; t < n; ++t) {
            pool.emplace_back(work);
        }
    }
    plan.cancelled = stop.stop_requested();
    plan.seconds = std::chrono::duration<double>(Budget::Clock::now() - start).count();
    return plan;
}

} // namespace plan
