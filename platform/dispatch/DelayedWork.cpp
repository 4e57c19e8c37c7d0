#include "dispatch/DelayedWork.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/AlternateSignalStack.h"
#include "foundation/Clock.h"

namespace dispatch::detail {

using foundation::AlternateSignalStack;
using foundation::Clock;

struct DelayedWork::State {
    // Held while entries are taken and handed over, so two threads handing
    // over at once cannot reorder them.
    std::mutex handOverMutex;
    std::mutex mutex;
    std::condition_variable wake;
    std::map<std::pair<double, uint64_t>, std::function<void()>> entries;
    uint64_t nextSequence = 0;
    // Bumped by every new entry and every move of the clock, so the
    // timekeeper never sleeps through a change it has not looked at.
    uint64_t generation = 0;
    bool timekeeperStarted = false;
};

DelayedWork& DelayedWork::shared() {
    // Never destroyed: the timekeeper thread waits on it until the process ends.
    static DelayedWork* work = new DelayedWork();
    return *work;
}

DelayedWork::DelayedWork() : state_(new State()) {
    Clock::addAdvanceListener([this] {
        {
            std::lock_guard lock(state_->mutex);
            ++state_->generation;
        }
        handOverDue();
        state_->wake.notify_all();
    });
}

void DelayedWork::schedule(double due, std::function<void()> handOver) {
    auto& s = *state_;
    bool start = false;
    {
        std::lock_guard lock(s.mutex);
        s.entries.emplace(std::make_pair(due, s.nextSequence++), std::move(handOver));
        ++s.generation;
        start = !std::exchange(s.timekeeperStarted, true);
    }
    if (start) {
        std::thread([this] {
            AlternateSignalStack::installForCurrentThread();
            timekeeperLoop();
        }).detach();
    }
    s.wake.notify_all();
}

bool DelayedWork::handOverDue() {
    auto& s = *state_;
    std::lock_guard order(s.handOverMutex);
    std::vector<std::function<void()>> due;
    {
        std::lock_guard lock(s.mutex);
        double now = Clock::now();
        while (!s.entries.empty() && s.entries.begin()->first.first <= now) {
            due.push_back(std::move(s.entries.begin()->second));
            s.entries.erase(s.entries.begin());
        }
    }
    for (auto& f : due) f();
    return !due.empty();
}

void DelayedWork::timekeeperLoop() {
    auto& s = *state_;
    for (;;) {
        uint64_t seen;
        {
            std::lock_guard lock(s.mutex);
            seen = s.generation;
        }
        handOverDue();
        std::unique_lock lock(s.mutex);
        auto changed = [&] { return s.generation != seen; };
        if (s.entries.empty() || Clock::isVirtual()) {
            // Only a new entry or a move of the clock can make anything due.
            s.wake.wait(lock, changed);
        } else {
            double wait = s.entries.begin()->first.first - Clock::now();
            if (wait > 0) s.wake.wait_for(lock, std::chrono::duration<double>(wait), changed);
        }
    }
}

}  // namespace dispatch::detail
