#include "foundation/Clock.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <vector>

namespace foundation {

namespace {

struct ClockState {
    std::mutex mutex;
    bool isVirtual = false;
    double virtualNow = 0;
    int nextListener = 1;
    std::map<int, std::function<void()>> listeners;
};

// Never destroyed: a platform thread still starting while the process
// exits (a network thread an image load began) registers with the clock
// after static destruction would have run.
ClockState& state() {
    static ClockState& s = *new ClockState;
    return s;
}

}  // namespace

double Clock::now() {
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.isVirtual) return s.virtualNow;
    }
    auto since1970 = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    return since1970 - kTimeIntervalSince1970;
}

bool Clock::isVirtual() {
    std::lock_guard lock(state().mutex);
    return state().isVirtual;
}

namespace {

std::vector<std::function<void()>> listenersLocked() {
    std::vector<std::function<void()>> out;
    for (auto& [id, l] : state().listeners) out.push_back(l);
    return out;
}

void callAll(const std::vector<std::function<void()>>& listeners) {
    for (auto& l : listeners) l();
}

}  // namespace

void Clock::useVirtual(double start) {
    std::vector<std::function<void()>> toCall;
    {
        std::lock_guard lock(state().mutex);
        state().isVirtual = true;
        state().virtualNow = start;
        toCall = listenersLocked();
    }
    callAll(toCall);
}

void Clock::useReal() {
    std::vector<std::function<void()>> toCall;
    {
        std::lock_guard lock(state().mutex);
        state().isVirtual = false;
        toCall = listenersLocked();
    }
    callAll(toCall);
}

void Clock::advance(double seconds) {
    std::vector<std::function<void()>> toCall;
    {
        std::lock_guard lock(state().mutex);
        if (!state().isVirtual) return;
        state().virtualNow += seconds;
        toCall = listenersLocked();
    }
    callAll(toCall);
}

int Clock::addAdvanceListener(std::function<void()> listener) {
    std::lock_guard lock(state().mutex);
    int id = state().nextListener++;
    state().listeners[id] = std::move(listener);
    return id;
}

void Clock::removeAdvanceListener(int id) {
    std::lock_guard lock(state().mutex);
    state().listeners.erase(id);
}

}  // namespace foundation
