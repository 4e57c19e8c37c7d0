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

// A worker that finished an operation runs the queue's next one itself: the
// width, the order, cancellation and the thread the adder is on still hold
// over runs longer than one worker's turn.
TEST(OperationQueue, OperationsRunBackToBackKeepWidthOrderAndCancellation) {
    for (long width : {1L, 3L}) {
        SCOPED_TRACE(width);
        auto queue = OperationQueue::create();
        queue->setMaxConcurrentOperationCount(width);
        const auto adder = std::this_thread::get_id();
        std::mutex m;
        std::vector<int> order;
        std::atomic<int> inside = 0, widest = 0, onAdder = 0, wrongQueue = 0;
        std::vector<OperationPtr> ops;
        for (int i = 0; i < 200; ++i) {
            ops.push_back(BlockOperation::blockOperationWithBlock([&, i] {
                int now = inside.fetch_add(1) + 1;
                for (int seen = widest; now > seen && !widest.compare_exchange_weak(seen, now);) {
                }
                if (std::this_thread::get_id() == adder) ++onAdder;
                if (OperationQueue::currentQueue() != queue) ++wrongQueue;
                {
                    std::lock_guard lock(m);
                    order.push_back(i);
                }
                --inside;
            }));
        }
        // Every slot held by a gate, so the cancellations below land before
        // the queue reaches them.
        auto gate = std::make_shared<dispatch::Semaphore>(0);
        for (long g = 0; g < width; ++g) queue->addOperationWithBlock([gate] { gate->wait(dispatch::kWaitForever); });
        for (auto& op : ops) queue->addOperation(op);
        for (int i = 5; i < 200; i += 10) ops[i]->cancel();
        for (long g = 0; g < width; ++g) gate->signal();
        queue->waitUntilAllOperationsAreFinished();

        EXPECT_EQ(queue->operationCount(), 0u);
        EXPECT_LE(widest, width);
        EXPECT_EQ(onAdder, 0);
        EXPECT_EQ(wrongQueue, 0);
        ASSERT_EQ(order.size(), 180u);
        for (auto& op : ops) EXPECT_TRUE(op->isFinished());
        if (width == 1) {
            for (size_t i = 1; i < order.size(); ++i) ASSERT_LT(order[i - 1], order[i]);
        }
        for (int i : order) EXPECT_NE(i % 10, 5);
    }
}

// An operation that adds the next one from inside its block (as a chain of
// delegate events does) gets it run after itself, on the same queue, and the
// queue lets itself go once the chain ends.
TEST(OperationQueue, ChainAddedFromInsideRunsInOrderAndReleasesTheQueue) {
    auto queue = OperationQueue::create();
    queue->setMaxConcurrentOperationCount(1);
    std::weak_ptr<OperationQueue> weakQueue = queue;
    std::vector<int> order;
    dispatch::Semaphore done(0);
    std::function<void(int)> link = [&](int i) {
        order.push_back(i);
        if (i == 149) {
            done.signal();
            return;
        }
        if (auto q = weakQueue.lock()) q->addOperationWithBlock([&link, i] { link(i + 1); });
    };
    queue->addOperationWithBlock([&] { link(0); });
    queue = nullptr;  // the queue keeps itself alive while it has operations
    ASSERT_TRUE(done.wait(10));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return weakQueue.expired(); }, 10));
    ASSERT_EQ(order.size(), 150u);
    for (int i = 0; i < 150; ++i) ASSERT_EQ(order[i], i);
}
