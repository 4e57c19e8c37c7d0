// The threads behind every queue but the main one. Internal to the dispatch
// library: queues hand it tasks, it runs each exactly once on some worker.
//
// Only as many workers run tasks at once as the process has processors: more
// would only take turns on them, each turn a thread switch and a cold cache,
// and each thread an allocator arena of its own. A worker whose task waits
// for work elsewhere (a `BlockingWait`: semaphores, groups, syncs, operations)
// gives up its place meanwhile, and a queued task starts on another worker,
// so a task that blocks on another queue's work cannot starve that work.
// Should queued tasks still see none started for a while (a task waiting some
// other way), one more worker is let run. Workers live for the life of the
// process.
#pragma once

#include <functional>

namespace dispatch::detail {

class WorkerPool {
public:
    static WorkerPool& shared();
    void submit(std::function<void()> task);

    // Called by `BlockingWait` on any thread: a worker running a task gives
    // up its place (true) and later takes it back; other threads do nothing.
    bool blockingWaitBegins();
    void blockingWaitEnds();

private:
    WorkerPool();
    struct State;
    struct Idle;
    // A worker to start: an idle one woken, or a new thread.
    struct Start {
        Idle* woken = nullptr;
        bool spawn = false;
    };
    void workerLoop();
    void watchForStalls();
    Start placeWorkerLocked();
    void startWorker(Start start);
    State* state_;
};

}  // namespace dispatch::detail
