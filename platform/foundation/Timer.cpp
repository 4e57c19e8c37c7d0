#include "foundation/Timer.h"

#include <algorithm>
#include <cmath>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

namespace foundation {

namespace {

// A repeating timer of no interval would fire on every turn of its loop.
constexpr double kShortestRepeat = 0.0001;

}  // namespace

Timer::Timer(double seconds, bool repeats, Block block)
    : interval_(repeats ? std::max(seconds, kShortestRepeat) : std::max(seconds, 0.0)),
      repeats_(repeats),
      fireDate_(Clock::now() + interval_),
      block_(std::make_shared<Block>(std::move(block))) {}

std::shared_ptr<Timer> Timer::timerWithTimeInterval(double seconds, bool repeats, Block block) {
    return std::make_shared<Timer>(seconds, repeats, std::move(block));
}

std::shared_ptr<Timer> Timer::scheduledTimerWithTimeInterval(double seconds, bool repeats, Block block) {
    auto timer = timerWithTimeInterval(seconds, repeats, std::move(block));
    if (auto* loop = RunLoop::current()) loop->addTimer(timer);
    return timer;
}

void Timer::fire() {
    runBlock();
    if (!repeats_) invalidate();
}

void Timer::fireFromLoop(double now) {
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
        if (repeats_) {
            // The next multiple of the interval after now: missed firings are
            // skipped, the phase is kept.
            double missed = std::floor((now - fireDate_) / interval_);
            fireDate_ += (std::max(missed, 0.0) + 1) * interval_;
        }
    }
    fire();
}

void Timer::runBlock() {
    std::shared_ptr<Block> block;
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
        block = block_;
    }
    if (*block) (*block)(*this);
}

void Timer::invalidate() {
    std::shared_ptr<Block> released;
    {
        std::lock_guard lock(mutex_);
        valid_ = false;
        released = std::move(block_);
    }
    // Whatever the block holds is let go outside the lock (and after a block
    // in progress has returned, as that call keeps its own reference).
}

bool Timer::isValid() const {
    std::lock_guard lock(mutex_);
    return valid_;
}

Date Timer::fireDate() const {
    std::lock_guard lock(mutex_);
    return Date(fireDate_);
}

}  // namespace foundation
