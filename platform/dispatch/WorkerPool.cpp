#include "dispatch/WorkerPool.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "foundation/AlternateSignalStack.h"
#include "foundation/RunLoop.h"

namespace dispatch::detail {

namespace {

// Enough for the deepest chains of blocking waits the libraries make (a task
// waiting on a serial queue waiting on a group...) with room to spare; past
// it tasks queue up for the next free worker.
constexpr int kMaxWorkers = 64;

}  // namespace

struct WorkerPool::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    int workers = 0;
    int idle = 0;
};

WorkerPool& WorkerPool::shared() {
    // Never destroyed: detached workers may still be waiting on it at exit.
    static WorkerPool* pool = new WorkerPool();
    return *pool;
}

WorkerPool::WorkerPool() : state_(new State()) {}

void WorkerPool::submit(std::function<void()> task) {
    auto& s = *state_;
    bool spawn = false;
    {
        std::lock_guard lock(s.mutex);
        s.tasks.push_back(std::move(task));
        // Idle workers may already be claimed by tasks queued before this one.
        if (s.idle < static_cast<int>(s.tasks.size()) && s.workers < kMaxWorkers) {
            ++s.workers;
            spawn = true;
        }
    }
    if (spawn) {
        std::thread([this] {
            foundation::AlternateSignalStack::installForCurrentThread();
            workerLoop();
        }).detach();
    } else {
        s.wake.notify_one();
    }
}

void WorkerPool::workerLoop() {
    auto& s = *state_;
    std::unique_lock lock(s.mutex);
    for (;;) {
        ++s.idle;
        s.wake.wait(lock, [&] { return !s.tasks.empty(); });
        --s.idle;
        auto task = std::move(s.tasks.front());
        s.tasks.pop_front();
        lock.unlock();
        task();
        task = nullptr;  // release captures before counting as idle again
        // What the task did, released included, may be what the main thread waits for.
        foundation::RunLoop::workDidEnd();
        lock.lock();
    }
}

}  // namespace dispatch::detail
