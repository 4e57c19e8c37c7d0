// A long-lived thread of our own with a run loop (the HTTP library's network
// thread): work reaches it by posting to its loop, never by sharing locked
// state. Everything else runs on the main thread or on dispatch queues.
// Invariants: the thread owns one run loop for its whole life, usable for
// posting before the thread starts; the thread keeps itself alive while it
// runs; start() runs the entry at most once.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace foundation {

class RunLoop;

// True only on the process's main thread (the thread that runs main()).
bool isMainThread();

class Thread : public std::enable_shared_from_this<Thread> {
public:
    // A thread, not yet started, that will run `entry` under `name`. Inside
    // the entry RunLoop::current() is this thread's loop; an entry that only
    // serves posted work calls RunLoop::current()->run().
    static std::shared_ptr<Thread> create(std::string name, std::function<void()> entry);

    // Starts the thread; later calls do nothing. The thread is detached: it
    // ends when its entry returns.
    void start();
    const std::string& name() const { return name_; }
    RunLoop& runLoop() { return *runLoop_; }
    bool isExecuting() const;
    bool isFinished() const;

    // The calling thread's name: the name given to create(), "main" on the
    // main thread, else empty.
    static std::string currentName();

    ~Thread();

private:
    Thread(std::string name, std::function<void()> entry);

    struct State;
    const std::string name_;
    std::function<void()> entry_;
    std::unique_ptr<RunLoop> runLoop_;
    std::unique_ptr<State> state_;
};

}  // namespace foundation
