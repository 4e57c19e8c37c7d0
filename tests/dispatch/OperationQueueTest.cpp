#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"

using namespace foundation;

namespace {

// An operation that drives its own state, as the HTTP library's connection
// operation does: start() returns at once and finish() comes later, from
// whatever thread ends the work.
class SelfDrivenOperation : public Operation {
public:
    bool isConcurrent() const override { return true; }
    bool isExecuting() const override { return state() == 2; }
    bool isFinished() const override { return state() == 3; }
    void start() override { setState(isCancelled() ? 3 : 2); }
    void finish() { setState(3); }
    std::vector<std::string> announced() const {
        std::lock_guard lock(mutex_);
        return announced_;
    }

protected:
    void willChangeValueForKey(std::string_view key) override {
        record("will " + std::string(key));
        Operation::willChangeValueForKey(key);
    }
    void didChangeValueForKey(std::string_view key) override {
        record("did " + std::string(key));
        Operation::didChangeValueForKey(key);
    }

private:
    static const char* key(int s) { return s == 2 ? "isExecuting" : s == 3 ? "isFinished" : "isReady"; }
    int state() const {
        std::lock_guard lock(mutex_);
        return state_;
    }
    void setState(int s) {
        std::lock_guard lock(mutex_);  // recursive: announcements run under it
        const char* oldKey = key(state_);
        willChangeValueForKey(key(s));
        willChangeValueForKey(oldKey);
        state_ = s;
        didChangeValueForKey(oldKey);
        didChangeValueForKey(key(s));
    }
    void record(std::string s) {
        std::lock_guard lock(mutex_);
        announced_.push_back(std::move(s));
    }
    mutable std::recursive_mutex mutex_;
    int state_ = 1;
    std::vector<std::string> announced_;
};

}  // namespace

TEST(OperationQueue, WidthOneRunsInOrderAndDependenciesHoldAcrossQueues) {
    auto serial = OperationQueue::create();
    serial->setMaxConcurrentOperationCount(1);
    std::mutex m;
    std::vector<int> order;
    std::atomic<int> inside = 0, overlaps = 0;
    for (int i = 0; i < 20; ++i) {
        serial->addOperationWithBlock([&, i] {
            if (inside.fetch_add(1) != 0) ++overlaps;
            std::lock_guard lock(m);
            order.push_back(i);
            --inside;
        });
    }
    // A later operation of another queue waits for one held back here.
    auto other = OperationQueue::create();
    auto gate = std::make_shared<dispatch::Semaphore>(0);
    auto first = BlockOperation::blockOperationWithBlock([gate] { gate->wait(dispatch::kWaitForever); });
    std::atomic<bool> secondRan = false;
    auto second = BlockOperation::blockOperationWithBlock([&] { secondRan = first->isFinished(); });
    second->addDependency(first);
    other->addOperation(second);
    serial->addOperation(first);
    EXPECT_FALSE(second->isReady());
    gate->signal();
    serial->waitUntilAllOperationsAreFinished();
    other->waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(secondRan);
    EXPECT_EQ(overlaps, 0);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(order[i], i);
    EXPECT_EQ(serial->operationCount(), 0u);
}

TEST(OperationQueue, CancelledOperationsFinishWithoutRunningAndStillComplete) {
    auto queue = OperationQueue::create();
    auto neverFinishing = std::make_shared<SelfDrivenOperation>();
    bool ran = false;
    auto op = BlockOperation::blockOperationWithBlock([&] { ran = true; });
    op->addDependency(neverFinishing);  // would hold it back for ever...
    dispatch::Semaphore completed(0);
    op->setCompletionBlock([&] { completed.signal(); });
    queue->addOperation(op);
    EXPECT_EQ(queue->operationCount(), 1u);
    op->cancel();  // ...but a cancelled operation is ready at once
    ASSERT_TRUE(completed.wait(10));
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(op->isFinished());
    EXPECT_TRUE(op->isCancelled());
    EXPECT_FALSE(op->completionBlock());  // taken out of the slot when run

    // Misuse is loud.
    EXPECT_THROW(queue->addOperation(op), Exception);
    auto blocked = BlockOperation::blockOperationWithBlock([] {});
    blocked->addDependency(neverFinishing);
    EXPECT_THROW(blocked->start(), Exception);
    auto twice = BlockOperation::blockOperationWithBlock([] {});
    queue->addOperation(twice);
    EXPECT_THROW(OperationQueue::create()->addOperation(twice), Exception);
}

TEST(OperationQueue, SelfDrivenOperationHoldsItsSlotUntilItAnnouncesFinished) {
    auto queue = OperationQueue::create();
    queue->setMaxConcurrentOperationCount(1);
    auto driven = std::make_shared<SelfDrivenOperation>();
    std::atomic<int> completions = 0;
    driven->setCompletionBlock([&] { ++completions; });
    std::atomic<bool> nextRan = false;
    queue->addOperation(driven);
    queue->addOperationWithBlock([&] { nextRan = true; });

    EXPECT_TRUE(RunLoop::main().runUntil([&] { return driven->isExecuting(); }, 10));
    EXPECT_FALSE(nextRan);  // start() returned long ago, but the slot is still taken
    std::thread([&] { driven->finish(); }).join();
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(nextRan);
    driven->waitUntilFinished();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return completions == 1; }, 10));
    // Announcements in the order the operation made them: new key first, old key last.
    auto a = driven->announced();
    std::vector<std::string> expected{"will isFinished", "will isExecuting", "did isExecuting", "did isFinished"};
    ASSERT_GE(a.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(a.end() - 4, a.end()), expected);
}

TEST(OperationQueue, MainQueueRunsOperationsOnTheMainThread) {
    auto main = OperationQueue::mainQueue();
    EXPECT_EQ(OperationQueue::currentQueue(), main);
    EXPECT_EQ(main->maxConcurrentOperationCount(), 1);
    bool onMain = false;
    OperationQueuePtr seenQueue;
    auto op = BlockOperation::blockOperationWithBlock([&] {
        onMain = isMainThread();
        seenQueue = OperationQueue::currentQueue();
    });
    std::thread([&] { OperationQueue::mainQueue()->addOperation(op); }).join();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return op->isFinished(); }, 10));
    EXPECT_TRUE(onMain);
    EXPECT_EQ(seenQueue, main);

    auto workers = OperationQueue::create();
    OperationQueuePtr inside;
    workers->addOperationWithBlock([&] { inside = OperationQueue::currentQueue(); });
    workers->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(inside, workers);
}
