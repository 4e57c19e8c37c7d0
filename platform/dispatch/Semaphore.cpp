#include "dispatch/Semaphore.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "dispatch/BlockingWait.h"
#include "foundation/Exception.h"

namespace dispatch {

struct Semaphore::State {
    std::mutex mutex;
    std::condition_variable signalled;
    long value = 0;
};

Semaphore::Semaphore(long value) : state_(new State()) {
    if (value < 0) foundation::raise(foundation::kInvalidArgumentException, "a semaphore cannot start below zero");
    state_->value = value;
}

Semaphore::~Semaphore() = default;

void Semaphore::signal() {
    // Notified under the lock: a waiter may destroy the semaphore as soon as
    // it can see the new value.
    std::lock_guard lock(state_->mutex);
    ++state_->value;
    state_->signalled.notify_one();
}

bool Semaphore::wait(double timeoutSeconds) {
    std::unique_lock lock(state_->mutex);
    auto available = [&] { return state_->value > 0; };
    std::optional<BlockingWait> blocking;
    if (!available()) blocking.emplace();
    if (!(timeoutSeconds < 1e9)) {
        state_->signalled.wait(lock, available);
    } else if (!state_->signalled.wait_for(lock, std::chrono::duration<double>(std::max(timeoutSeconds, 0.0)),
                                           available)) {
        return false;
    }
    --state_->value;
    return true;
}

}  // namespace dispatch
