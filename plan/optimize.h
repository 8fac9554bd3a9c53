#pragma once

#include "plan/list.h"
#include "plan/plan.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>

// The one entry point of the optimiser. Each steel (grade and diameter) is its own problem: least
// new steel, then fewest distinct patterns, then remnants gathered into fewer, longer pieces;
// exactly the requested count of every piece. Nothing is shared between calls, so a window can run
// it on a worker thread while it stays responsive.
namespace plan {

struct Progress {
    std::size_t group = 0; // index into the list's steels()
    Steel steel;
    std::string code;         // the letter the list wrote its grade with, or empty
    std::int64_t bestMm = 0;  // steel bought by the best plan so far
    std::int64_t boundMm = 0; // the lower bound so far
    bool done = false;        // this steel's search has ended
};

// Called whenever a steel's best plan or bound improves, and once when it is done. It may be
// called from any of the optimiser's threads, but never by two at once; keep it short.
using ProgressCallback = std::function<void(const Progress&)>;

// Plans every steel of `list` within its settings' time. A stop request ends the search
// early with the best plan found so far and its bound (Finish::Cancelled). Groups may be
// searched in parallel, on at most `threads` threads (0: as many as the machine has cores).
[[nodiscard]] Plan optimize(const CuttingList& list, const ProgressCallback& progress = {},
                            std::stop_token stop = {}, unsigned threads = 0);

} // namespace plan
