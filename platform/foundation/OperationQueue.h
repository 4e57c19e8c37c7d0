// Runs operations when they are ready, at most maxConcurrentOperationCount at
// a time, on the dispatch workers; the main operation queue runs them one at a
// time on the main thread.
// Invariants: an operation is in at most one queue, ever; the queue starts
// each of its operations at most once, in the order added among those ready;
// an operation leaves the queue when it has announced that it finished; a
// queue with operations keeps itself alive until they have left.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/Operation.h"

namespace foundation {

class OperationQueue;
using OperationQueuePtr = std::shared_ptr<OperationQueue>;

class OperationQueue : public Object {
public:
    // The platform's default width: the queue chooses.
    static constexpr long kDefaultMaxConcurrentOperationCount = -1;

    static OperationQueuePtr create();
    static OperationQueuePtr mainQueue();
    // The queue that started the operation the caller runs in; the main queue
    // on the main thread otherwise; else null.
    static OperationQueuePtr currentQueue();

    std::string className() const override { return "NSOperationQueue"; }
    std::string description() const override;

    // Raises (kInvalidArgumentException) for an operation that is or was in a
    // queue, or that is executing or finished.
    void addOperation(const OperationPtr& op);
    void addOperations(const std::vector<OperationPtr>& ops, bool waitUntilFinished);
    void addOperationWithBlock(std::function<void()> block);

    // The operations not yet finished, in the order added.
    std::vector<OperationPtr> operations() const;
    size_t operationCount() const;
    long maxConcurrentOperationCount() const;
    // kDefaultMaxConcurrentOperationCount, or at least 1. The main queue
    // stays at 1.
    void setMaxConcurrentOperationCount(long count);
    void cancelAllOperations();
    // Blocks until every operation has left the queue. Not for the main queue
    // on the main thread.
    void waitUntilAllOperationsAreFinished();
    std::string name() const;
    void setName(std::string name);

    ~OperationQueue() override;

private:
    explicit OperationQueue(bool isMain);
    OperationQueuePtr self();
    long width() const;  // under mutex_
    void scheduleEvaluation();
    // True when the caller is to evaluate now; false when an evaluation runs
    // already (it then looks once more).
    bool claimEvaluation();
    // Drops finished operations and starts ready ones; one evaluation at a
    // time (claimed before), repeated while changes came in meanwhile. With
    // `mayRunOneHere` the first operation to start is handed back instead,
    // for the caller to run on its own thread.
    OperationPtr evaluate(bool mayRunOneHere);
    // Runs `op` on the calling worker, then the next ones the evaluation
    // after each hands back.
    void runOperations(OperationPtr op);
    void startOperation(const OperationPtr& op);

    struct Entry {
        OperationPtr op;
        int watcher;
        bool started;
    };

    const bool isMain_;
    mutable std::mutex mutex_;
    std::condition_variable emptied_;
    std::vector<Entry> entries_;
    long maxConcurrent_ = kDefaultMaxConcurrentOperationCount;
    std::string name_;
    bool evaluationScheduled_ = false;
    bool evaluationPending_ = false;
    // Set while operations are in the queue (see the invariants).
    OperationQueuePtr keepAlive_;
};

}  // namespace foundation
