// A unit of work that an OperationQueue starts once it is ready: after the
// operations it depends on have finished. Two kinds: plain operations, whose
// start() runs main() and finishes, and operations that drive their own state
// (isConcurrent, such as the HTTP library's connection operation), whose
// start() returns at once and which announce their state changes themselves.
// Invariants: finished is final; the completion block runs at most once, on a
// worker thread, after the first announcement of the finished state; a
// cancelled operation counts as ready whatever its dependencies, so its queue
// can start it and let it finish at once.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "foundation/Object.h"

namespace foundation {

class Operation;
using OperationPtr = std::shared_ptr<Operation>;

class Operation : public Object {
public:
    Operation();
    ~Operation() override;
    std::string className() const override { return "NSOperation"; }

    // Runs the operation on the calling thread: a cancelled one finishes
    // without running main(); otherwise executing, main(), finished, each
    // change announced. Raises (kInvalidArgumentException) when the operation
    // is not ready or was started before.
    virtual void start();
    // The work of a plain operation.
    virtual void main() {}
    // Marks the operation cancelled; work in progress notices through
    // isCancelled(). Nothing happens for a finished operation.
    virtual void cancel();
    bool isCancelled() const;
    // Every dependency finished, or this operation cancelled.
    virtual bool isReady() const;
    virtual bool isExecuting() const;
    virtual bool isFinished() const;
    // True for an operation that drives its own state: start() returns before
    // it finishes. Queues treat both kinds alike.
    virtual bool isConcurrent() const { return false; }

    // The operation becomes ready only once `op` has finished. Dependencies
    // are held strongly, as the platform does.
    void addDependency(const OperationPtr& op);
    void removeDependency(const OperationPtr& op);
    std::vector<OperationPtr> dependencies() const;

    // An empty function clears the slot. The block is taken out of the slot
    // when it is run.
    void setCompletionBlock(std::function<void()> block);
    std::function<void()> completionBlock() const;

    // Blocks until the operation has announced that it finished.
    void waitUntilFinished();

protected:
    // Announce a change of "isReady", "isExecuting", "isFinished" or
    // "isCancelled": a subclass that drives its own state calls willChange
    // before it stores a change and didChange after. Queues and dependent operations learn of changes from didChange; the
    // first didChange of "isFinished" that finds the operation finished runs
    // the completion block. Overrides must call these.
    virtual void willChangeValueForKey(std::string_view key);
    virtual void didChangeValueForKey(std::string_view key);

private:
    friend class OperationQueue;
    // For the queue: false when the operation was enqueued before.
    bool markEnqueued();
    // For the queue: `watcher` hears every didChange key.
    int addStateWatcher(std::function<void(std::string_view key)> watcher);
    void removeStateWatcher(int id);

    struct State;
    std::shared_ptr<State> state_;
};

// A plain operation whose work is one function.
class BlockOperation : public Operation {
public:
    explicit BlockOperation(std::function<void()> block);
    static std::shared_ptr<BlockOperation> blockOperationWithBlock(std::function<void()> block);
    std::string className() const override { return "NSBlockOperation"; }
    void main() override;

private:
    std::function<void()> block_;
};

}  // namespace foundation
