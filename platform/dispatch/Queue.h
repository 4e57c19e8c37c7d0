// Dispatch queues: serial and concurrent queues on a shared thread pool, the
// main queue that posts to the main run loop, and delayed work measured on
// the one clock. (Interface agreed with the object store and the HTTP library;
// the implementation keeps these signatures.)
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
    static QueuePtr global();
    static QueuePtr createSerial(std::string label);
    static QueuePtr createConcurrent(std::string label);
    // The queue running the calling code, or null.
    static QueuePtr current();

    virtual const std::string& label() const = 0;
    virtual bool isSerial() const = 0;
    virtual void async(Task task) = 0;
    // Blocks until the task ran. Sync onto the serial queue the caller is
    // already running on is a programming error (foundation::Exception); sync
    // onto the main queue from the main thread runs the task inline.
    virtual void sync(Task task) = 0;
    // Runs the task after `seconds` measured on foundation::Clock.
    virtual void after(double seconds, Task task) = 0;
    virtual bool isCurrent() const = 0;
};

class Group;
using GroupPtr = std::shared_ptr<Group>;

// Joins parallel work: notify runs once the count of entered-but-not-left
// work drops to zero.
class Group {
public:
    static GroupPtr create();
    virtual ~Group() = default;
    virtual void enter() = 0;
    virtual void leave() = 0;
    virtual void async(const QueuePtr& queue, Queue::Task task) = 0;
    virtual void notify(const QueuePtr& queue, Queue::Task task) = 0;
    // True when the group emptied before `timeoutSeconds` of real time passed.
    virtual bool wait(double timeoutSeconds) = 0;
};

class Semaphore {
public:
    explicit Semaphore(long value);
    ~Semaphore();
    void signal();
    // True when signalled before `timeoutSeconds` of real time passed.
    bool wait(double timeoutSeconds);

private:
    struct State;
    std::unique_ptr<State> state_;
};

void once(std::once_flag& flag, const std::function<void()>& fn);

}  // namespace dispatch
