#include <gtest/gtest.h>

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "dispatch/Queue.h"
#include "dispatch/VirtualTime.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"

using namespace dispatch;
using foundation::Clock;
using foundation::RunLoop;

TEST(Queue, SerialQueueRunsOneTaskAtATimeInSubmissionOrder) {
    auto q = Queue::createSerial("test.serial");
    EXPECT_TRUE(q->isSerial());
    std::vector<int> seen;  // no lock: the queue is the lock
    std::atomic<int> inside = 0, overlaps = 0;
    for (int i = 0; i < 300; ++i) {
        q->async([&, i] {
            if (inside.fetch_add(1) != 0) ++overlaps;
            seen.push_back(i);
            EXPECT_TRUE(q->isCurrent());
            EXPECT_EQ(Queue::current(), q);
            --inside;
        });
    }
    // sync waits its turn behind everything queued before it.
    size_t countInSync = 0;
    q->sync([&] { countInSync = seen.size(); });
    EXPECT_EQ(countInSync, 300u);
    EXPECT_EQ(overlaps, 0);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(seen[i], i);
    EXPECT_FALSE(q->isCurrent());
}

TEST(Queue, SyncMisuseAndExceptionsReachTheCaller) {
    auto q = Queue::createSerial("test.reentrant");
    bool raised = false;
    q->sync([&] {
        try {
            q->sync([] {});
        } catch (const foundation::Exception&) {
            raised = true;
        }
    });
    EXPECT_TRUE(raised);
    EXPECT_THROW(q->sync([] { throw std::runtime_error("boom"); }), std::runtime_error);
    // The queue still works after a task threw.
    int value = 0;
    q->sync([&] { value = 1; });
    EXPECT_EQ(value, 1);
}

namespace {

// Run on a thread other than the main one.
void syncFromAWorkerHoldsTheQueue(const QueuePtr& q) {
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> insideSync = false;
    std::atomic<bool> laterRan = false;
    bool laterOverlapped = false;
    std::thread::id ranOn;
    q->sync([&] {
        insideSync = true;
        ranOn = std::this_thread::get_id();
        EXPECT_TRUE(q->isCurrent());
        EXPECT_EQ(Queue::current(), q);
        // Queued while the caller holds the queue: it must wait for the end.
        q->async([&] {
            laterOverlapped = insideSync.load();
            laterRan = true;
        });
        for (int i = 0; i < 20000 && !laterRan; ++i) std::this_thread::yield();
        insideSync = false;
    });
    EXPECT_EQ(ranOn, caller);
    EXPECT_FALSE(q->isCurrent());
    q->sync([] {});  // behind the task queued meanwhile
    EXPECT_TRUE(laterRan);
    EXPECT_FALSE(laterOverlapped);

    // A task that throws gives the queue back, with what was queued meanwhile.
    std::atomic<bool> afterThrowRan = false;
    EXPECT_THROW(q->sync([&] {
        q->async([&] { afterThrowRan = true; });
        throw std::runtime_error("boom");
    }),
                 std::runtime_error);
    q->sync([] {});
    EXPECT_TRUE(afterThrowRan);
}

}  // namespace

TEST(Queue, SyncOntoAnIdleSerialQueueRunsOnTheCallersThreadAndHoldsTheQueue) {
    // From the main thread a synced task runs off it.
    auto fromMain = Queue::createSerial("test.inline.main");
    bool offMain = false;
    fromMain->sync([&] { offMain = !foundation::isMainThread(); });
    EXPECT_TRUE(offMain);
    // From any other thread it runs on that thread. A queue of its own: the
    // worker that ran the main thread's task may not have let go of that
    // queue yet, and a busy queue is not taken.
    auto q = Queue::createSerial("test.inline");
    std::thread([&] { syncFromAWorkerHoldsTheQueue(q); }).join();
}

TEST(Queue, ConcurrentQueueLetsTasksOverlap) {
    auto q = Queue::createConcurrent("test.concurrent");
    EXPECT_FALSE(q->isSerial());
    // Two tasks that can only finish together: a serial runner would deadlock
    // and the waits would time out.
    Semaphore aArrived(0), bArrived(0);
    std::atomic<bool> aSawB = false, bSawA = false;
    auto group = Group::create();
    group->async(q, [&] {
        aArrived.signal();
        aSawB = bArrived.wait(10);
    });
    group->async(q, [&] {
        bArrived.signal();
        bSawA = aArrived.wait(10);
    });
    ASSERT_TRUE(group->wait(20));
    EXPECT_TRUE(aSawB);
    EXPECT_TRUE(bSawA);
    // sync on a concurrent queue runs at once, as a member of the queue.
    bool member = false;
    q->sync([&] { member = q->isCurrent(); });
    EXPECT_TRUE(member);
}

namespace {

int processorsOfThisProcess() {
    cpu_set_t set;
    CPU_ZERO(&set);
    EXPECT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    return std::max(CPU_COUNT(&set), 2);
}

double threadCPUSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace

TEST(Queue, TasksRunNoMoreAtOnceThanTheProcessorsAndAWaitingTaskLendsItsPlace) {
    const int processors = processorsOfThisProcess();
    auto q = Queue::createConcurrent("test.width");
    auto group = Group::create();
    std::atomic<int> inside = 0, most = 0;
    for (int i = 0; i < 48; ++i) {
        group->async(q, [&] {
            int now = ++inside;
            for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {}
            // Busy, not waiting: a worker per task would have them all inside at once.
            const double until = threadCPUSeconds() + 0.005;
            while (threadCPUSeconds() < until) {}
            --inside;
        });
    }
    ASSERT_TRUE(group->wait(60));
    // One or two more only if the pool saw no task start for a while (a
    // loaded machine): a worker per task would be dozens.
    EXPECT_LE(most.load(), processors + 2);
    EXPECT_GE(most.load(), 1);

    // More tasks than processors wait for one queued after them: each wait
    // gives its place up, so that one runs and every wait ends.
    Semaphore released(0);
    std::atomic<int> waited = 0;
    for (int i = 0; i < processors + 2; ++i)
        group->async(q, [&] { waited += released.wait(30) ? 1 : 0; });
    group->async(q, [&] {
        for (int i = 0; i < processors + 2; ++i) released.signal();
    });
    ASSERT_TRUE(group->wait(60));
    EXPECT_EQ(waited.load(), processors + 2);
}

TEST(Queue, MainQueueRunsOnTheMainThreadWhenTheLoopRuns) {
    auto main = Queue::main();
    EXPECT_TRUE(main->isCurrent());
    EXPECT_EQ(Queue::current(), main);
    std::atomic<int> ran = 0;
    bool onMain = false;
    std::thread([&] {
        EXPECT_FALSE(Queue::main()->isCurrent());
        EXPECT_EQ(Queue::current(), nullptr);
        Queue::main()->async([&] {
            onMain = foundation::isMainThread();
            ++ran;
        });
    }).join();
    EXPECT_EQ(ran, 0);  // nothing runs behind the main loop's back
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ran == 1; }, 10));
    EXPECT_TRUE(onMain);

    // A worker's sync onto the main queue waits for the loop to run it.
    std::atomic<bool> workerDone = false;
    std::thread worker([&] {
        Queue::main()->sync([&] { ++ran; });
        workerDone = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return workerDone.load(); }, 10));
    worker.join();
    EXPECT_EQ(ran, 2);
    // From the main thread itself it runs inline.
    main->sync([&] { ++ran; });
    EXPECT_EQ(ran, 3);
}

TEST_F(VirtualTime, QueueAfterWaitsForTheClock) {
    std::vector<std::string> order;
    auto main = Queue::main();
    main->after(10, [&] { order.push_back("10s"); });
    main->after(0.17, [&] { order.push_back("0.17s"); });
    main->after(0.17, [&] { order.push_back("0.17s again"); });
    main->after(0, [&] { order.push_back("now"); });
    RunLoop::main().runDueTasks();
    EXPECT_EQ(order, std::vector<std::string>{"now"});

    Clock::advance(0.1);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(order.size(), 1u);
    Clock::advance(0.1);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(order, (std::vector<std::string>{"now", "0.17s", "0.17s again"}));

    // Other queues get their delayed work as the clock passes, too.
    auto serial = Queue::createSerial("test.after");
    Semaphore ran(0);
    serial->after(600, [&] { ran.signal(); });
    Clock::advance(600);
    EXPECT_TRUE(ran.wait(10));
    RunLoop::main().runDueTasks();
    EXPECT_EQ(order.back(), "10s");
}
