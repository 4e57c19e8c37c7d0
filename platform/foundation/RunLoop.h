// The run loop of a thread: tasks posted to it and the timers added to it,
// run one at a time on that thread. The main run loop belongs to the process's
// main thread; the HTTP library's connection thread has another.
// Invariants: tasks run in posting order, each exactly once, only on the
// loop's own thread and only while that thread runs the loop; a timer fires on
// the loop it was added to, when foundation::Clock reaches its fire date (so a
// virtual clock fires timers only when advanced); among the work that is due,
// what came due first runs first (a task counts as due when posted, or at the
// due time it was posted with), so one advance of the clock past a delayed
// block and a timer runs them in the order of their deadlines; a loop never
// busy-waits.
// (Interface agreed with the object store and the HTTP library; the
// implementation keeps these signatures.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace foundation {

class Timer;

// True only on the process's main thread (the thread that runs main()).
bool isMainThread();

class RunLoop {
public:
    static RunLoop& main();
    // The run loop of the calling thread, or null when it has none (the
    // workers behind the dispatch queues have none).
    static RunLoop* current();

    // Thread-safe; the task runs on this loop's thread, in posting order.
    void post(std::function<void()> task);
    // The same for work that came due at `dueTime` (seconds since 2001 on
    // foundation::Clock) and is handed over only now: it runs before timers
    // that came due after it.
    void post(std::function<void()> task, double dueTime);
    // Thread-safe. A timer already invalidated, or already on this loop, is
    // not added.
    void addTimer(std::shared_ptr<Timer> timer);

    // Runs this loop (on its own thread only) until `pred` is true or
    // `timeoutSeconds` of real time pass; returns pred()'s final value. The
    // predicate is looked at after each task and timer and on each wake (a
    // post, a timer, a clock change, wakeUp(), and on the main loop the end
    // of any queued task or thread elsewhere). While nothing happens it is
    // looked at again after 1 ms, then after ever longer waits up to 64 ms,
    // for a bare thread that changes what it reads and tells no one.
    bool runUntil(const std::function<bool()>& pred, double timeoutSeconds);
    // runUntil without the backing-off looks, for a predicate that turns true
    // only through something that wakes the loop (a post, a timer, a clock
    // change, wakeUp(), on the main loop the end of a queued task or of
    // another loop's task): a long wait then sleeps until that happens or
    // the time is up, with no wake-ups of its own.
    bool runUntilWoken(const std::function<bool()>& pred, double timeoutSeconds);
    // runUntilWoken for a predicate that only this loop's own work (its posted
    // tasks, its timers) or a wakeUp() turns true: the end of other threads'
    // work does not wake it.
    bool runUntilPosted(const std::function<bool()>& pred, double timeoutSeconds);
    // Runs everything due now without blocking; returns how many ran.
    size_t runDueTasks();
    // How many tasks and timer firings this loop has run so far, so that a
    // caller waiting in runUntil can tell whether anything ran meanwhile.
    // Own thread only.
    uint64_t workRun() const { return workRun_; }
    // Runs this loop (on its own thread only) until stop() is called.
    void run();
    // Thread-safe: makes the current or next run() return once the task in
    // progress ends.
    void stop();
    // Thread-safe: makes a waiting runUntil look at its predicate again.
    void wakeUp();
    // Thread-safe: a piece of work ended on another thread (a queue's task,
    // another loop's task), which may have made the main thread's runUntil
    // predicate true. Wakes that wait, if there is one; costs a load if not.
    static void workDidEnd();

    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

private:
    friend class Thread;
    RunLoop();
    // Raises when the calling thread is not this loop's.
    void requireOwnThread(const char* operation) const;
    // Runs the task or fires the timer that came due first; false when
    // nothing is due at `now`.
    bool runOneDue(double now);
    // Runs until `done` or the deadline; `lookAgain` adds the backing-off
    // looks at `done` while nothing happens.
    bool runUntilDeadline(const std::function<bool()>& done, double timeoutSeconds, bool lookAgain);
    // runUntil's body: counts the wait for workDidEnd, then runs until the
    // predicate holds or the time is up.
    bool runUntilPredicate(const std::function<bool()>& pred, double timeoutSeconds, bool lookAgain);

    struct State;
    std::shared_ptr<State> state_;
    uint64_t workRun_ = 0;
};

}  // namespace foundation
