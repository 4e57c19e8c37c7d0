#include "foundation/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "dispatch/BlockingWait.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/Timer.h"

namespace foundation {

RunLoop* currentThreadRunLoop();  // Thread.cpp

namespace {

using SteadyClock = std::chrono::steady_clock;

// A predicate is looked at on every wake. A bare thread that changes what it
// reads and tells no one is still noticed: while nothing happens, runUntil
// looks again after these waits, doubling from the first to the last.
constexpr auto kFirstLook = std::chrono::milliseconds(1);
constexpr auto kLongestLook = std::chrono::milliseconds(64);
// Timeouts beyond this (about 30 years) mean "no timeout".
constexpr double kNoTimeout = 1e9;
// Far-off timers are looked at again after this long rather than converted
// to a time point that could overflow.
constexpr double kLongestSleep = 3600;

}  // namespace

struct RunLoop::State {
    std::mutex mutex;
    std::condition_variable wake;
    // Each with the time it came due, in posting order.
    std::deque<std::pair<double, std::function<void()>>> tasks;
    std::vector<std::shared_ptr<Timer>> timers;
    // Bumped by every post, timer, stop and clock change, so a waiting loop
    // never sleeps through a change it has not looked at.
    uint64_t generation = 0;
    bool stopRequested = false;
    int clockListener = 0;
    // runUntil calls in progress on this loop (0 or 1: a loop has one thread).
    std::atomic<int> predicateWaits{0};
};

RunLoop::RunLoop() : state_(std::make_shared<State>()) {
    // Weak: the clock may call a listener it copied just before this loop went away.
    std::weak_ptr<State> weak = state_;
    state_->clockListener = Clock::addAdvanceListener([weak] {
        auto s = weak.lock();
        if (!s) return;
        std::lock_guard lock(s->mutex);
        ++s->generation;
        s->wake.notify_all();
    });
}

RunLoop::~RunLoop() {
    Clock::removeAdvanceListener(state_->clockListener);
}

RunLoop& RunLoop::main() {
    // Never destroyed: work may be posted to it while the process exits.
    static RunLoop* loop = new RunLoop();
    return *loop;
}

RunLoop* RunLoop::current() {
    if (isMainThread()) return &main();
    return currentThreadRunLoop();
}

void RunLoop::post(std::function<void()> task) { post(std::move(task), Clock::now()); }

void RunLoop::post(std::function<void()> task, double dueTime) {
    {
        std::lock_guard lock(state_->mutex);
        state_->tasks.emplace_back(dueTime, std::move(task));
        ++state_->generation;
    }
    state_->wake.notify_all();
}

void RunLoop::addTimer(std::shared_ptr<Timer> timer) {
    if (!timer || !timer->isValid()) return;
    {
        std::lock_guard lock(state_->mutex);
        if (std::find(state_->timers.begin(), state_->timers.end(), timer) != state_->timers.end()) return;
        state_->timers.push_back(std::move(timer));
        ++state_->generation;
    }
    state_->wake.notify_all();
}

void RunLoop::stop() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopRequested = true;
        ++state_->generation;
    }
    state_->wake.notify_all();
}

void RunLoop::wakeUp() {
    {
        std::lock_guard lock(state_->mutex);
        ++state_->generation;
    }
    state_->wake.notify_all();
}

void RunLoop::workDidEnd() {
    RunLoop& loop = main();
    // Sequentially consistent with runUntil's count and with the flag the
    // work raised: either the wait sees the flag or this sees the wait.
    if (loop.state_->predicateWaits.load() == 0) return;
    loop.wakeUp();
}

void RunLoop::requireOwnThread(const char* operation) const {
    if (current() != this) {
        raise(kInternalInconsistencyException,
              std::string(operation) + " must be called on the run loop's own thread");
    }
}

bool RunLoop::runOneDue(double now) {
    std::function<void()> task;
    std::shared_ptr<Timer> due;
    {
        std::lock_guard lock(state_->mutex);
        auto& timers = state_->timers;
        std::erase_if(timers, [](const std::shared_ptr<Timer>& t) { return !t->isValid(); });
        double earliest = now;
        for (auto& t : timers) {
            double d = t->fireDate().timeIntervalSinceReferenceDate();
            if (d <= earliest) {
                earliest = d;
                due = t;
            }
        }
        // A task due no later than the earliest due timer goes first.
        if (!state_->tasks.empty() && (!due || state_->tasks.front().first <= earliest)) {
            task = std::move(state_->tasks.front().second);
            state_->tasks.pop_front();
            due.reset();
        } else if (due && !due->repeats()) {
            // A non-repeating timer leaves the loop when it fires.
            std::erase(timers, due);
        }
    }
    if (task) {
        ++workRun_;
        task();
        if (this != &main()) workDidEnd();
        return true;
    }
    if (!due) return false;
    ++workRun_;
    due->fireFromLoop(now);
    return true;
}

size_t RunLoop::runDueTasks() {
    requireOwnThread("runDueTasks");
    // Timers are judged against one reading of the clock, so a repeating
    // timer fires at most once here even on the real clock.
    double now = Clock::now();
    size_t count = 0;
    while (runOneDue(now)) ++count;
    return count;
}

bool RunLoop::runUntil(const std::function<bool()>& pred, double timeoutSeconds) {
    requireOwnThread("runUntil");
    return runUntilPredicate(pred, timeoutSeconds, true);
}

bool RunLoop::runUntilWoken(const std::function<bool()>& pred, double timeoutSeconds) {
    requireOwnThread("runUntilWoken");
    return runUntilPredicate(pred, timeoutSeconds, false);
}

bool RunLoop::runUntilPosted(const std::function<bool()>& pred, double timeoutSeconds) {
    requireOwnThread("runUntilPosted");
    return runUntilDeadline(pred, timeoutSeconds, false);
}

bool RunLoop::runUntilPredicate(const std::function<bool()>& pred, double timeoutSeconds, bool lookAgain) {
    struct Waiting {
        std::atomic<int>& count;
        explicit Waiting(std::atomic<int>& c) : count(c) { ++count; }
        ~Waiting() { --count; }
    } waiting(state_->predicateWaits);
    return runUntilDeadline(pred, timeoutSeconds, lookAgain);
}

void RunLoop::run() {
    requireOwnThread("run");
    runUntilDeadline(
        [this] {
            std::lock_guard lock(state_->mutex);
            return state_->stopRequested;
        },
        kNoTimeout * 2, false);
    std::lock_guard lock(state_->mutex);
    state_->stopRequested = false;
}

bool RunLoop::runUntilDeadline(const std::function<bool()>& done, double timeoutSeconds, bool lookAgain) {
    const bool hasDeadline = timeoutSeconds < kNoTimeout;
    const auto deadline = SteadyClock::now() + std::chrono::duration_cast<SteadyClock::duration>(
                                                   std::chrono::duration<double>(hasDeadline ? timeoutSeconds : 0));
    SteadyClock::duration nextLook = kFirstLook;
    for (;;) {
        uint64_t seen;
        {
            std::lock_guard lock(state_->mutex);
            seen = state_->generation;
        }
        if (done()) return true;
        if (runOneDue(Clock::now())) {
            nextLook = kFirstLook;
            continue;
        }
        if (hasDeadline && SteadyClock::now() >= deadline) return done();

        std::unique_lock lock(state_->mutex);
        auto wakeAt = hasDeadline ? deadline : SteadyClock::time_point::max();
        if (lookAgain) {
            wakeAt = std::min(wakeAt, SteadyClock::now() + nextLook);
            nextLook = std::min<SteadyClock::duration>(2 * nextLook, kLongestLook);
        }
        if (!Clock::isVirtual()) {
            // On the real clock the next timer bounds the sleep; on the virtual
            // one only an advance (which bumps the generation) can make it due.
            double now = Clock::now();
            for (auto& t : state_->timers) {
                if (!t->isValid()) continue;
                double in = std::clamp(t->fireDate().timeIntervalSinceReferenceDate() - now, 0.0, kLongestSleep);
                auto at = SteadyClock::now() +
                          std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(in));
                wakeAt = std::min(wakeAt, at);
            }
        }
        auto changed = [&] { return state_->generation != seen; };
        dispatch::BlockingWait blocking;
        if (wakeAt == SteadyClock::time_point::max()) {
            state_->wake.wait(lock, changed);
        } else {
            state_->wake.wait_until(lock, wakeAt, changed);
        }
    }
}

}  // namespace foundation
