#include "cli/interrupt.h"

#ifndef _WIN32
#include <csignal>
#include <cstdlib>
#include <pthread.h>
#endif

namespace cli {

#ifdef _WIN32

// The console's Ctrl+C ends the program as it always has.
Interrupts::Interrupts() = default;
Interrupts::~Interrupts() = default;

#else

namespace {

// The watcher waits with no time-out, so that the program ends the moment its work is done: the
// destructor wakes it with this signal, sent to that thread alone. It is blocked like the others,
// so one sent before the watcher waits stays pending and is taken at once.
constexpr int kWake = SIGUSR1;

sigset_t interrupts() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

sigset_t watched() {
    sigset_t set = interrupts();
    sigaddset(&set, kWake);
    return set;
}

} // namespace

Interrupts::Interrupts() {
    const sigset_t set = watched();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::jthread([this](std::stop_token done) {
        const sigset_t wanted = watched();
        while (!done.stop_requested()) {
            const int signal = sigwaitinfo(&wanted, nullptr);
            if (signal < 0 || signal == kWake) {
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
    pthread_kill(watcher_.native_handle(), kWake);
    watcher_.join();
    const sigset_t set = watched();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

#endif

} // namespace cli
