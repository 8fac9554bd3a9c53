// Ctrl+C as the command sees it: the signal, sent to the whole process as a terminal sends it,
// reaches the watcher whatever thread is running, and the watcher lets the program end as soon as
// its work is done, with or without an interrupt.
#include "cli/interrupt.h"

#include <chrono>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

namespace {

bool requestedWithin(const std::stop_token& token, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!token.stop_requested() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return token.stop_requested();
}

TEST(Interrupts, TheFirstInterruptRequestsTheStop) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const cli::Interrupts interrupts;
        EXPECT_FALSE(interrupts.token().stop_requested());
        ASSERT_EQ(kill(getpid(), signal), 0);
        EXPECT_TRUE(requestedWithin(interrupts.token(), std::chrono::seconds(30)));
    }
}

TEST(Interrupts, AProgramThatWasNeverInterruptedEndsAndCanBeInterruptedAgain) {
    for (int i = 0; i < 50; ++i) {
        const cli::Interrupts interrupts;
        EXPECT_FALSE(interrupts.token().stop_requested());
    }
    // The watcher took nothing with it: a new one still hears the interrupt.
    const cli::Interrupts interrupts;
    ASSERT_EQ(kill(getpid(), SIGINT), 0);
    EXPECT_TRUE(requestedWithin(interrupts.token(), std::chrono::seconds(30)));
}

} // namespace
