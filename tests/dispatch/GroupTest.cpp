#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"

using namespace dispatch;
using foundation::RunLoop;

TEST(Group, NotifyRunsOnceAfterTheLastLeave) {
    auto group = Group::create();
    int notified = 0;
    // An empty group notifies at once (on the next turn of the queue).
    group->notify(Queue::main(), [&] { ++notified; });
    RunLoop::main().runDueTasks();
    EXPECT_EQ(notified, 1);

    constexpr int kBlocks = 100;
    std::atomic<int> done = 0;
    auto workers = Queue::createConcurrent("test.group");
    for (int i = 0; i < kBlocks; ++i) group->async(workers, [&] { ++done; });
    group->enter();  // one more piece, left by hand below
    int doneAtNotify = -1;
    bool notifiedOnMain = false;
    group->notify(Queue::main(), [&] {
        ++notified;
        doneAtNotify = done;
        notifiedOnMain = foundation::isMainThread();
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done == kBlocks; }, 10));
    RunLoop::main().runDueTasks();
    EXPECT_EQ(notified, 1);  // still waiting for the manual piece
    EXPECT_FALSE(group->wait(0));
    group->leave();
    EXPECT_TRUE(group->wait(kWaitForever));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return notified == 2; }, 10));
    EXPECT_EQ(doneAtNotify, kBlocks);
    EXPECT_TRUE(notifiedOnMain);
    // Leaving more often than entering is a programming error.
    EXPECT_THROW(group->leave(), foundation::Exception);
}

TEST(Semaphore, SignalsReleaseWaitsOneForOne) {
    Semaphore s(1);
    EXPECT_TRUE(s.wait(0));
    EXPECT_FALSE(s.wait(0.001));  // timed out, nothing consumed
    s.signal();
    s.signal();
    EXPECT_TRUE(s.wait(0));
    EXPECT_TRUE(s.wait(0));
    EXPECT_FALSE(s.wait(0));

    Semaphore answer(0);
    std::thread([&] { answer.signal(); }).detach();
    EXPECT_TRUE(answer.wait(kWaitForever));
    EXPECT_THROW(Semaphore(-1), foundation::Exception);
}

TEST(Once, RunsExactlyOnceAcrossThreads) {
    std::once_flag flag;
    std::atomic<int> runs = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] { once(flag, [&] { ++runs; }); });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(runs, 1);
}
