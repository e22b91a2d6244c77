// Waiting in tests: poll a condition until it holds or a time limit passes, while keeping this thread's
// messages flowing (a test thread that owns a window must not stall another process's SendMessage to it).
// No assertions here: callers decide what a timeout means.
#pragma once

#include <chrono>
#include <utility>

namespace lumorra::test {

using namespace std::chrono_literals;

// Dispatches this thread's messages for the given time (at least one pass).
void PumpMessagesFor(std::chrono::milliseconds duration);

// True as soon as predicate() is true; false when it is still false after timeout. It is checked once more at
// the end, so a zero timeout is a plain check.
template <class Predicate>
bool WaitUntil(Predicate&& predicate, std::chrono::milliseconds timeout, std::chrono::milliseconds poll = 20ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        PumpMessagesFor(left < poll ? left : poll);
    }
}

} // namespace lumorra::test
