#include "plan/first_fit.h"

#include <algorithm>
#include <iterator>
#include <list>

namespace plan {
namespace {

// Consecutive bars, in the order they were opened, that hold the same pieces.
struct Run {
    std::uint32_t stock = 0;
    std::int64_t count = 0;
    std::int64_t room = 0; // capacity left in each bar
    Content content;
};

void add(Content& content, std::uint32_t item, std::int64_t n) {
    // Items arrive longest first, that is with ascending indices: append or extend the last.
    if (!content.empty() && content.back().first == item) {
        content.back().second += static_cast<std::uint32_t>(n);
    } else {
        content.emplace_back(item, static_cast<std::uint32_t>(n));
    }
}

} // namespace

Solution firstFitDecreasing(const Instance& instance) {
    std::list<Run> runs;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (instance.stocks[s].offcut) {
            runs.push_back({s, instance.stocks[s].available, instance.capacity(s), {}});
        }
    }
    // The longest new stock: any piece fits it, since a checked list has none longer.
    std::uint32_t longest = 0;
    for (std::uint32_t s = 0; s < instance.stocks.size(); ++s) {
        if (!instance.stocks[s].offcut &&
            (instance.stocks[longest].offcut ||
             instance.stocks[s].length > instance.stocks[longest].length)) {
            longest = s;
        }
    }

    for (std::uint32_t item = 0; item < instance.items.size(); ++item) {
        const std::int64_t w = instance.weight(item);
        std::int64_t left = instance.items[item].demand;
        for (auto run = runs.begin(); run != runs.end() && left > 0; ++run) {
            const std::int64_t each = run->room / w;
            if (each == 0) {
                continue;
            }
            // First fit fills the first bar of the run until the piece no longer fits, then
            // the next: every bar takes `each`, but the last one reached takes what is left.
            const std::int64_t full = std::min(run->count, left / each);
            const std::int64_t rest = full < run->count ? left - full * each : 0;
            if (full > 0 && full < run->count) {
                Run head = *run;
                head.count = full;
                add(head.content, item, each);
                head.room -= each * w;
                runs.insert(run, std::move(head));
                run->count -= full;
            } else if (full == run->count) {
                add(run->content, item, each);
                run->room -= each * w;
            }
            left -= full * each;
            if (rest > 0) {
                Run partial = *run;
                partial.count = 1;
                add(partial.content, item, rest);
                partial.room -= rest * w;
                runs.insert(run, std::move(partial));
                run->count -= 1;
                left -= rest;
            }
            if (run->count == 0) {
                run = std::prev(runs.erase(run));
            }
        }
        if (left > 0) {
            const std::int64_t each = instance.capacity(longest) / w;
            const std::int64_t full = left / each;
            if (full > 0) {
                Run run{longest, full, instance.capacity(longest) - each * w, {}};
                add(run.content, item, each);
                runs.push_back(std::move(run));
            }
            if (const std::int64_t rest = left - full * each; rest > 0) {
                Run run{longest, 1, instance.capacity(longest) - rest * w, {}};
                add(run.content, item, rest);
                runs.push_back(std::move(run));
            }
        }
    }

    Solution solution;
    for (Run& run : runs) {
        if (!run.content.empty()) {
            solution.patterns.push_back({run.stock, run.count, std::move(run.content)});
        }
    }
    normalise(instance, solution);
    return solution;
}

} // namespace plan
