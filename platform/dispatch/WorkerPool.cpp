#include "dispatch/WorkerPool.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "foundation/AlternateSignalStack.h"
#include "foundation/RunLoop.h"

namespace dispatch::detail {

namespace {

// Threads at most, however many tasks wait: the deepest chains of blocking
// waits the libraries make (a task waiting on a serial queue waiting on a
// group...) need far fewer.
constexpr int kMaxWorkers = 64;

// How long queued tasks may see no task start before one more worker may run.
constexpr auto kStallInterval = std::chrono::milliseconds(50);

// The processors this process may run on, as the scheduler sees them (a
// process pinned to two cores of eight gets two), and never fewer than two.
int processorCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    int count = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 0;
    if (count <= 0) count = int(std::thread::hardware_concurrency());
    return std::max(count, 2);
}

// Set while this thread is a worker counted among the running ones.
thread_local bool tlsCountedRunning = false;

}  // namespace

// An idle worker, waiting to be handed a place among the running ones.
struct WorkerPool::Idle {
    std::condition_variable wake;
    bool started = false;
};

struct WorkerPool::State {
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
    std::vector<Idle*> idle;  // the last to go idle is the first woken: its cache is warmest
    int workers = 0;
    int running = 0;  // workers given a place: running tasks, or about to look for one
    const int limit = processorCount();
    int extra = 0;          // places added after stalls, until the queue runs empty
    uint64_t taken = 0;     // tasks started so far, for the stall watch
    bool watching = false;  // the stall watch runs
    bool watchIdle = false; // it waits for tasks to queue up
    std::condition_variable watch;
};

WorkerPool& WorkerPool::shared() {
    // Never destroyed: detached workers may still be waiting on it at exit.
    static WorkerPool* pool = new WorkerPool();
    return *pool;
}

WorkerPool::WorkerPool() : state_(new State()) {}

// Under the lock: gives a place to an idle worker or to a new one when a
// queued task has neither.
WorkerPool::Start WorkerPool::placeWorkerLocked() {
    auto& s = *state_;
    if (s.tasks.empty() || s.running >= s.limit + s.extra) return {};
    if (!s.idle.empty()) {
        Idle* woken = s.idle.back();
        s.idle.pop_back();
        woken->started = true;
        ++s.running;
        return {woken, false};
    }
    if (s.workers >= kMaxWorkers) return {};
    ++s.workers;
    ++s.running;
    return {nullptr, true};
}

// Out of the lock: what placeWorkerLocked decided.
void WorkerPool::startWorker(Start start) {
    if (start.woken) start.woken->wake.notify_one();
    if (start.spawn) {
        std::thread([this] {
            foundation::AlternateSignalStack::installForCurrentThread();
            workerLoop();
        }).detach();
    }
}

void WorkerPool::submit(std::function<void()> task) {
    auto& s = *state_;
    Start start;
    bool startWatch = false;
    {
        std::lock_guard lock(s.mutex);
        s.tasks.push_back(std::move(task));
        start = placeWorkerLocked();
        if (!start.woken && !start.spawn) {
            // Every place is taken: the task waits for a worker to finish,
            // and the watch makes sure one does.
            if (!s.watching) startWatch = s.watching = true;
            else if (s.watchIdle) s.watch.notify_one();
        }
    }
    startWorker(start);
    if (startWatch) std::thread([this] { watchForStalls(); }).detach();
}

void WorkerPool::workerLoop() {
    auto& s = *state_;
    Idle self;
    std::unique_lock lock(s.mutex);
    for (;;) {
        // This worker holds a place: it runs what is queued while the pool
        // stays within its places.
        while (!s.tasks.empty() && s.running <= s.limit + s.extra) {
            auto task = std::move(s.tasks.front());
            s.tasks.pop_front();
            ++s.taken;
            lock.unlock();
            tlsCountedRunning = true;
            task();
            task = nullptr;  // release captures before giving up the place
            tlsCountedRunning = false;
            // What the task did, released included, may be what the main thread waits for.
            foundation::RunLoop::workDidEnd();
            lock.lock();
        }
        --s.running;
        if (s.tasks.empty()) s.extra = 0;
        self.started = false;
        s.idle.push_back(&self);
        self.wake.wait(lock, [&] { return self.started; });
    }
}

void WorkerPool::watchForStalls() {
    auto& s = *state_;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.watchIdle = true;
        s.watch.wait(lock, [&] { return !s.tasks.empty(); });
        s.watchIdle = false;
        const uint64_t seen = s.taken;
        if (s.watch.wait_for(lock, kStallInterval, [&] { return s.tasks.empty() || s.taken != seen; })) continue;
        // Queued tasks, none started: the running workers may all be waiting
        // in a way the pool cannot see. One more may run.
        ++s.extra;
        const Start start = placeWorkerLocked();
        lock.unlock();
        startWorker(start);
        lock.lock();
    }
}

bool WorkerPool::blockingWaitBegins() {
    if (!tlsCountedRunning) return false;
    auto& s = *state_;
    Start start;
    {
        std::lock_guard lock(s.mutex);
        tlsCountedRunning = false;
        --s.running;
        start = placeWorkerLocked();
    }
    startWorker(start);
    return true;
}

void WorkerPool::blockingWaitEnds() {
    auto& s = *state_;
    std::lock_guard lock(s.mutex);
    tlsCountedRunning = true;
    // Back among the running, above the places for a while perhaps: the
    // next worker to finish a task gives its place up instead.
    ++s.running;
}

}  // namespace dispatch::detail
