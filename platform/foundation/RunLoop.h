// The run loop of a thread: tasks posted to it and the timers added to it,
// run one at a time on that thread. The main run loop belongs to the process's
// main thread; the HTTP library's connection thread has another.
// (Interface agreed with the object store and the HTTP library; the
// implementation keeps these signatures.)
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace foundation {

class Timer;

// True only on the process's main thread (the thread that runs main()).
bool isMainThread();

class RunLoop {
public:
    static RunLoop& main();
    // The run loop of the calling thread, or null when it has none.
    static RunLoop* current();

    // Thread-safe; the task runs on this loop's thread, in posting order.
    void post(std::function<void()> task);
    void addTimer(std::shared_ptr<Timer> timer);

    // Runs this loop (on its own thread only) until `pred` is true or
    // `timeoutSeconds` of real time pass; returns pred()'s final value. Wakes
    // at once when work is posted.
    bool runUntil(const std::function<bool()>& pred, double timeoutSeconds);
    // Runs everything due now without blocking; returns how many ran.
    size_t runDueTasks();
};

}  // namespace foundation
