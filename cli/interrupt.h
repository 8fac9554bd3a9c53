#pragma once

#include <stop_token>
#include <thread>

// Ctrl+C while the search runs stops it, and the best plan found so far is written as usual; a
// second Ctrl+C ends the program at once. No signal handler and no global: the signals are
// blocked in every thread, and one thread of this object waits for them.
namespace cli {

class Interrupts {
public:
    // Create it before any other thread, so that every thread inherits the blocked signals.
    Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;
    ~Interrupts();

    // Requested when the first interrupt comes.
    [[nodiscard]] std::stop_token token() const { return stop_.get_token(); }

private:
    std::stop_source stop_;
    std::jthread watcher_;
};

} // namespace cli
