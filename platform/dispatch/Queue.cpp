#include "dispatch/Queue.h"

#include <condition_variable>
#include <deque>
#include <exception>

#include "dispatch/BlockingWait.h"
#include "dispatch/DelayedWork.h"
#include "dispatch/WorkerPool.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"

namespace dispatch {

namespace {

using detail::WorkerPool;

// The queue whose task the calling thread is running (main-queue tasks leave
// it unset: the main thread stands for the main queue).
thread_local Queue* tlsCurrentQueue = nullptr;

class CurrentQueueScope {
public:
    explicit CurrentQueueScope(Queue* q) : previous_(tlsCurrentQueue) { tlsCurrentQueue = q; }
    ~CurrentQueueScope() { tlsCurrentQueue = previous_; }
    CurrentQueueScope(const CurrentQueueScope&) = delete;
    CurrentQueueScope& operator=(const CurrentQueueScope&) = delete;

private:
    Queue* previous_;
};

// Runs `task` through `submit` and blocks until it ran, handing back what it
// threw.
void submitAndWait(const std::function<void(Queue::Task)>& submit, Queue::Task task) {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    std::exception_ptr thrown;
    submit([&] {
        try {
            task();
        } catch (...) {
            thrown = std::current_exception();
        }
        std::lock_guard lock(mutex);
        done = true;
        cv.notify_all();
    });
    BlockingWait blocking;
    std::unique_lock lock(mutex);
    cv.wait(lock, [&] { return done; });
    if (thrown) std::rethrow_exception(thrown);
}

// Shared by all kinds: the delay goes through the clock, the task then
// through the queue like any other.
void scheduleAfter(const QueuePtr& queue, double seconds, Queue::Task task) {
    if (seconds <= 0) {
        queue->async(std::move(task));
        return;
    }
    detail::DelayedWork::shared().schedule(foundation::Clock::now() + seconds,
                                           [queue, task = std::move(task)]() mutable { queue->async(std::move(task)); });
}

class MainQueue final : public Queue {
public:
    const std::string& label() const override { return label_; }
    bool isSerial() const override { return true; }
    void async(Task task) override { foundation::RunLoop::main().post(std::move(task)); }
    void sync(Task task) override {
        if (foundation::isMainThread()) {
            task();
            return;
        }
        submitAndWait([this](Task t) { async(std::move(t)); }, std::move(task));
    }
    // The block reaches the main loop with its deadline, so it runs before a
    // timer that came due after it within the same advance of the clock.
    void after(double seconds, Task task) override {
        if (seconds <= 0) {
            async(std::move(task));
            return;
        }
        const double due = foundation::Clock::now() + seconds;
        detail::DelayedWork::shared().schedule(due, [due, task = std::move(task)]() mutable {
            foundation::RunLoop::main().post(std::move(task), due);
        });
    }
    bool isCurrent() const override { return foundation::isMainThread(); }

private:
    const std::string label_ = "com.quovana.main-thread";
};

class SerialQueue final : public Queue {
public:
    explicit SerialQueue(std::string label) : label_(std::move(label)) {}
    const std::string& label() const override { return label_; }
    bool isSerial() const override { return true; }

    void async(Task task) override {
        bool start = false;
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
            start = !draining_;
            draining_ = true;
        }
        if (start) submitDrain();
    }

    void sync(Task task) override {
        if (isCurrent()) {
            foundation::raise(foundation::kInternalInconsistencyException,
                              "sync onto the serial queue \"" + label_ + "\" from its own task would wait for ever");
        }
        // A worker that finds the queue idle takes it for the task, as a drain
        // would, so what is queued meanwhile waits for the task's end: two
        // thread switches saved. The main thread never runs another queue's
        // task: what it syncs runs on a worker, off the main thread.
        if (foundation::isMainThread() || !takeIfIdle()) {
            submitAndWait([this](Task t) { async(std::move(t)); }, std::move(task));
            return;
        }
        struct Release {
            SerialQueue& queue;
            ~Release() { queue.releaseAfterCallerRan(); }
        } release{*this};
        CurrentQueueScope scope(this);
        task();
    }

    void after(double seconds, Task task) override { scheduleAfter(shared_from_this(), seconds, std::move(task)); }
    bool isCurrent() const override { return tlsCurrentQueue == this; }

private:
    bool takeIfIdle() {
        std::lock_guard lock(mutex_);
        if (draining_) return false;
        draining_ = true;
        return true;
    }

    void releaseAfterCallerRan() {
        bool queued = false;
        {
            std::lock_guard lock(mutex_);
            queued = !tasks_.empty();
            draining_ = queued;
        }
        if (queued) submitDrain();
    }

    // A drain gives its worker back after this many tasks, so one busy
    // serial queue cannot hold a worker for ever while others wait.
    static constexpr int kTasksPerDrain = 64;

    void submitDrain() {
        WorkerPool::shared().submit([self = std::static_pointer_cast<SerialQueue>(shared_from_this())] { self->drain(); });
    }

    void drain() {
        CurrentQueueScope scope(this);
        for (int n = 0;; ++n) {
            Task task;
            {
                std::lock_guard lock(mutex_);
                if (tasks_.empty()) {
                    draining_ = false;
                    return;
                }
                if (n == kTasksPerDrain) break;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
            task = nullptr;
            foundation::RunLoop::workDidEnd();
        }
        // Still draining: the next worker carries on where this one stopped.
        submitDrain();
    }

    const std::string label_;
    std::mutex mutex_;
    std::deque<Task> tasks_;
    bool draining_ = false;  // a drain is submitted or running
};

class ConcurrentQueue final : public Queue {
public:
    explicit ConcurrentQueue(std::string label) : label_(std::move(label)) {}
    const std::string& label() const override { return label_; }
    bool isSerial() const override { return false; }

    void async(Task task) override {
        WorkerPool::shared().submit([self = shared_from_this(), task = std::move(task)] {
            CurrentQueueScope scope(self.get());
            task();
        });
    }

    // Nothing to wait for on a concurrent queue: the task runs on the caller's
    // thread, as a member of this queue.
    void sync(Task task) override {
        CurrentQueueScope scope(this);
        task();
    }

    void after(double seconds, Task task) override { scheduleAfter(shared_from_this(), seconds, std::move(task)); }
    bool isCurrent() const override { return tlsCurrentQueue == this; }

private:
    const std::string label_;
};

}  // namespace

QueuePtr Queue::main() {
    // Never destroyed: work may still be queued while the process exits.
    static const QueuePtr* queue = new QueuePtr(std::make_shared<MainQueue>());
    return *queue;
}

QueuePtr Queue::global() {
    static const QueuePtr* queue = new QueuePtr(std::make_shared<ConcurrentQueue>("com.quovana.global"));
    return *queue;
}

QueuePtr Queue::createSerial(std::string label) {
    return std::make_shared<SerialQueue>(std::move(label));
}

QueuePtr Queue::createConcurrent(std::string label) {
    return std::make_shared<ConcurrentQueue>(std::move(label));
}

QueuePtr Queue::current() {
    if (tlsCurrentQueue) return tlsCurrentQueue->shared_from_this();
    if (foundation::isMainThread()) return main();
    return nullptr;
}

}  // namespace dispatch
