// A timer that fires on the run loop it was added to: once, or repeatedly at a
// fixed interval, measured on foundation::Clock.
// Invariants: a timer fires only while valid and only on its loop's thread;
// invalidate() is final; a repeating timer keeps its phase (fire date plus
// whole intervals) and skips the firings it missed instead of catching up.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "foundation/Date.h"

namespace foundation {

class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Block = std::function<void(Timer& timer)>;

    // A timer that is on no run loop yet: RunLoop::addTimer schedules it. Its
    // first fire date is `seconds` from now.
    static std::shared_ptr<Timer> timerWithTimeInterval(double seconds, bool repeats, Block block);
    // The same, added at once to the calling thread's run loop (the main loop
    // on the main thread). On a thread with no run loop the timer never fires.
    static std::shared_ptr<Timer> scheduledTimerWithTimeInterval(double seconds, bool repeats, Block block);

    // Runs the block now, on the calling thread. A repeating timer keeps its
    // schedule; a non-repeating one is invalidated. Nothing happens when the
    // timer is invalid.
    void fire();
    // Thread-safe; the block is never started again afterwards.
    void invalidate();
    bool isValid() const;
    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    Date fireDate() const;

    Timer(double seconds, bool repeats, Block block);

private:
    friend class RunLoop;
    // The loop's firing: moves a repeating timer's fire date past `now`
    // before the block runs, so the block may invalidate or fire it.
    void fireFromLoop(double now);
    void runBlock();

    mutable std::mutex mutex_;
    const double interval_;
    const bool repeats_;
    double fireDate_;
    bool valid_ = true;
    // Shared with a block in progress, so invalidating from inside the block
    // cannot destroy the running function.
    std::shared_ptr<Block> block_;
};

}  // namespace foundation
