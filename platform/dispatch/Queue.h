// Dispatch queues: serial and concurrent queues on a shared thread pool, the
// main queue that posts to the main run loop, and delayed work measured on
// the one clock. (Interface agreed with the object store and the HTTP library;
// the implementation keeps these signatures.)
// Invariants: every task runs exactly once; a serial queue runs its tasks one
// at a time in submission order (sync and async alike), a concurrent queue
// starts them in order but lets them overlap; the main queue's tasks run on
// the main thread only, when the main run loop runs; a queue stays alive
// while it has work, whoever else lets it go. An exception escaping an async
// task ends the process, as an uncaught one does on the device.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace dispatch {

class Queue;
using QueuePtr = std::shared_ptr<Queue>;

class Queue : public std::enable_shared_from_this<Queue> {
public:
    using Task = std::function<void()>;
    virtual ~Queue() = default;

    static QueuePtr main();
    // The process-wide concurrent queue.
    static QueuePtr global();
    static QueuePtr createSerial(std::string label);
    static QueuePtr createConcurrent(std::string label);
    // The queue running the calling code, or null. On the main thread, outside
    // any other queue's task, the main queue.
    static QueuePtr current();

    virtual const std::string& label() const = 0;
    virtual bool isSerial() const = 0;
    virtual void async(Task task) = 0;
    // Blocks until the task ran. Sync onto the serial queue the caller is
    // already running on is a programming error (foundation::Exception); sync
    // onto the main queue from the main thread runs the task inline, as does
    // sync from any other thread onto a serial queue with nothing queued or
    // running (that thread then counts as the queue for the task's length).
    // An exception thrown by the task reaches the caller.
    virtual void sync(Task task) = 0;
    // Runs the task after `seconds` measured on foundation::Clock.
    virtual void after(double seconds, Task task) = 0;
    virtual bool isCurrent() const = 0;
};

}  // namespace dispatch

// Part of the agreed interface of this header.
#include "dispatch/Group.h"
#include "dispatch/Once.h"
#include "dispatch/Semaphore.h"
