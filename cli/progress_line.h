#pragma once

#include "plan/optimize.h"

#include <chrono>
#include <cstddef>

#include <QIODevice>

// While the search runs, one line on a terminal says how far it has got, rewritten in place, so
// that a long search is not mistaken for a hung one. It is cleared before the plan is printed.
namespace cli {

class ProgressLine {
public:
    ProgressLine(QIODevice& terminal, std::size_t groups);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // For plan::optimize: called on its threads, one at a time.
    void update(const plan::Progress& progress);

private:
    QIODevice& terminal_;
    std::size_t groups_;
    std::size_t done_ = 0;
    std::chrono::steady_clock::time_point shown_{};
    bool written_ = false;
};

} // namespace cli
