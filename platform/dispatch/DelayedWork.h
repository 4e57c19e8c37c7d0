// Work that waits for a moment on foundation::Clock before it is handed to its
// queue. Internal to the dispatch library (Queue::after).
// Invariants: entries are handed over in the order of their due times (equal
// times in scheduling order); on the virtual clock every entry that an advance
// makes due has been handed over before Clock::advance returns, so a test that
// advances the clock and then runs the main loop sees the work; on the real
// clock one timekeeper thread hands entries over as they come due.
#pragma once

#include <functional>

namespace dispatch::detail {

class DelayedWork {
public:
    static DelayedWork& shared();
    // `handOver` runs once `due` (seconds since 2001 on the clock) has come;
    // it should only enqueue, as it runs on the timekeeper or the thread
    // moving the clock.
    void schedule(double due, std::function<void()> handOver);

private:
    DelayedWork();
    void timekeeperLoop();
    // Hands over every entry due now; true when at least one was.
    bool handOverDue();
    struct State;
    State* state_;
};

}  // namespace dispatch::detail
