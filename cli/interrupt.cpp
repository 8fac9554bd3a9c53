#include "cli/interrupt.h"

#ifndef _WIN32
#include <csignal>
#include <cstdlib>
#include <ctime>
#endif

namespace cli {

#ifdef _WIN32

// The console's Ctrl+C ends the program as it always has.
Interrupts::Interrupts() = default;
Interrupts::~Interrupts() = default;

#else

namespace {

sigset_t interrupts() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

Interrupts::Interrupts() {
    const sigset_t set = interrupts();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::jthread([this](std::stop_token done) {
        const sigset_t wanted = interrupts();
        // Woken a few times a second to see whether the program is done with it.
        const timespec wait{0, 100'000'000};
        while (!done.stop_requested()) {
            if (sigtimedwait(&wanted, nullptr, &wait) < 0) {
                continue;
            }
            if (stop_.stop_requested()) {
                std::_Exit(130); // the second interrupt: the person does not want to wait
            }
            stop_.request_stop();
        }
    });
}

Interrupts::~Interrupts() {
    watcher_.request_stop();
    watcher_.join();
    const sigset_t set = interrupts();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

#endif

} // namespace cli
