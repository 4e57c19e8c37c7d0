// The threads behind every queue but the main one. Internal to the dispatch
// library: queues hand it tasks, it runs each exactly once on some worker.
// Invariants: a task never waits for a free worker while the pool is under its
// cap (a worker is added instead), so a task that blocks on another queue's
// work cannot starve that work; workers live for the life of the process.
#pragma once

#include <functional>

namespace dispatch::detail {

class WorkerPool {
public:
    static WorkerPool& shared();
    void submit(std::function<void()> task);

private:
    WorkerPool();
    void workerLoop();
    struct State;
    State* state_;
};

}  // namespace dispatch::detail
