// The one clock behind "now", every timer and every delay. Real time by
// default; tests and the command-line front switch to a virtual clock that only
// moves when advanced, so long waits cost nothing and no result depends on
// today's date.
#pragma once

#include <functional>

namespace foundation {

class Clock {
public:
    // Seconds since 2001-01-01 00:00:00 UTC.
    static double now();
    static bool isVirtual();
    // Switches to a virtual clock standing at `start` (seconds since 2001).
    // Listeners are told, as the time may have jumped either way.
    static void useVirtual(double start);
    // Back to real time; listeners are told.
    static void useReal();
    // Moves the virtual clock forward; a no-op on the real clock. Listeners
    // (the run loops and the delayed work of the dispatch queues) are told so
    // that due timers can fire before advance returns.
    static void advance(double seconds);

    // Called, outside the clock's lock and on the thread that moved the clock,
    // after every advance of the virtual clock and every switch between real
    // and virtual time. Returns an id for removal.
    static int addAdvanceListener(std::function<void()> listener);
    static void removeAdvanceListener(int id);
};

// Seconds between 1970-01-01 and 2001-01-01.
constexpr double kTimeIntervalSince1970 = 978307200.0;

}  // namespace foundation
