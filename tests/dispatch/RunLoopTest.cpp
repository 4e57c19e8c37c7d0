#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dispatch/Queue.h"
#include "dispatch/VirtualTime.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "foundation/Thread.h"
#include "foundation/Timer.h"

using namespace foundation;

TEST(RunLoop, PostedTasksRunInOrderOnlyOnTheirThread) {
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) RunLoop::main().post([&, i] { order.push_back(i); });
    // A task posting another: the newcomer runs in the same drain, after the rest.
    RunLoop::main().post([&] { RunLoop::main().post([&] { order.push_back(99); }); });
    EXPECT_EQ(RunLoop::main().runDueTasks(), 7u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 99}));
    EXPECT_EQ(RunLoop::current(), &RunLoop::main());
    EXPECT_TRUE(isMainThread());
    EXPECT_NO_THROW(requireMainThread("Please call this from main thread only"));

    std::thread([] {
        EXPECT_FALSE(isMainThread());
        EXPECT_EQ(RunLoop::current(), nullptr);
        EXPECT_THROW(RunLoop::main().runDueTasks(), Exception);
        try {
            requireMainThread("Please call this from main thread only");
            ADD_FAILURE() << "no exception off the main thread";
        } catch (const Exception& e) {
            EXPECT_EQ(e.name(), kInternalInconsistencyException);
            EXPECT_EQ(e.reason(), "Please call this from main thread only");
        }
    }).join();
}

TEST(RunLoop, ThreadServesItsOwnLoop) {
    auto thread = Thread::create("QNNetworking", [] { RunLoop::current()->run(); });
    // Work may be posted before the thread runs.
    std::atomic<bool> done = false;
    std::string name;
    bool ownLoop = false;
    thread->runLoop().post([&] {
        name = Thread::currentName();
        ownLoop = RunLoop::current() == &thread->runLoop();
        done = true;
    });
    thread->start();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10));
    EXPECT_EQ(name, "QNNetworking");
    EXPECT_TRUE(ownLoop);
    EXPECT_EQ(Thread::currentName(), "main");
    thread->runLoop().stop();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return thread->isFinished(); }, 10));
}

TEST_F(VirtualTime, RepeatingTimerKeepsItsPhaseAndSkipsMissedFirings) {
    std::vector<double> firedAt;
    auto timer = Timer::scheduledTimerWithTimeInterval(30, true, [&](Timer&) { firedAt.push_back(Clock::now()); });
    // Firing by hand runs at once and leaves the schedule alone.
    timer->fire();
    EXPECT_EQ(firedAt, std::vector<double>{10000});
    EXPECT_EQ(timer->fireDate().timeIntervalSinceReferenceDate(), 10030);

    Clock::advance(29.5);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(firedAt.size(), 1u);
    Clock::advance(0.5);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(firedAt.back(), 10030);

    // Three periods late: one firing, and the next stays on the 30 s grid.
    Clock::advance(95);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(firedAt.size(), 3u);
    EXPECT_EQ(timer->fireDate().timeIntervalSinceReferenceDate(), 10150);

    timer->invalidate();
    Clock::advance(300);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(firedAt.size(), 3u);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(VirtualTime, OneShotTimersFireOnceAndMayBeStoppedFromInside) {
    int gpsTimeouts = 0;
    auto gps = Timer::scheduledTimerWithTimeInterval(5.0, false, [&](Timer&) { ++gpsTimeouts; });
    int selfStopping = 0;
    Timer::scheduledTimerWithTimeInterval(1.0, true, [&](Timer& t) {
        if (++selfStopping == 2) t.invalidate();
    });
    auto unscheduled = Timer::timerWithTimeInterval(1.0, false, [&](Timer&) { ADD_FAILURE() << "never added"; });

    for (int i = 0; i < 10; ++i) {
        Clock::advance(1);
        RunLoop::main().runDueTasks();
    }
    EXPECT_EQ(gpsTimeouts, 1);
    EXPECT_FALSE(gps->isValid());
    EXPECT_EQ(selfStopping, 2);

    // Invalidated before it was due: never fires; an invalid timer is not added.
    auto stopped = Timer::scheduledTimerWithTimeInterval(5.0, false, [&](Timer&) { ++gpsTimeouts; });
    stopped->invalidate();
    RunLoop::main().addTimer(stopped);
    Clock::advance(10);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(gpsTimeouts, 1);
}

TEST_F(VirtualTime, OneAdvancePastTwoDeadlinesRunsBothInDueOrder) {
    std::vector<std::string> order;
    // Scheduled in the opposite order of their deadlines.
    Timer::scheduledTimerWithTimeInterval(5.0, false, [&](Timer&) { order.push_back("timer at 5 s"); });
    dispatch::Queue::main()->after(2.0, [&] { order.push_back("block at 2 s"); });
    RunLoop::main().runDueTasks();
    EXPECT_TRUE(order.empty());

    Clock::advance(6.0);
    RunLoop::main().runDueTasks();
    EXPECT_EQ(order, (std::vector<std::string>{"block at 2 s", "timer at 5 s"}));
}

TEST_F(VirtualTime, RunUntilWakesForAnAdvanceFromAnotherThread) {
    bool fired = false;
    Timer::scheduledTimerWithTimeInterval(600, false, [&](Timer&) { fired = true; });
    std::thread other([] { Clock::advance(600); });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return fired; }, 10));
    other.join();
}

TEST(RunLoop, AWaitWakesForWhatItWaitsForAndDoesNotSpin) {
    // A flag another thread raises and says so.
    std::atomic<bool> raised = false;
    std::thread other([&] {
        raised = true;
        RunLoop::main().wakeUp();
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return raised.load(); }, 30));
    other.join();

    // A timer 0.3 s away: the predicate is looked at a handful of times
    // while nothing happens, not every few milliseconds.
    int looks = 0;
    bool fired = false;
    auto timer = Timer::scheduledTimerWithTimeInterval(0.3, false, [&](Timer&) { fired = true; });
    EXPECT_TRUE(RunLoop::main().runUntil(
        [&] {
            ++looks;
            return fired;
        },
        30));
    EXPECT_LE(looks, 25);
}

TEST(RunLoop, AWokenWaitSeesQueuedWorkAndWakeUpsAndOtherwiseSleepsToItsEnd) {
    // A flag raised by a queued task: the task's end wakes the main loop.
    std::atomic<bool> queued = false;
    dispatch::Queue::global()->async([&] { queued = true; });
    EXPECT_TRUE(RunLoop::main().runUntilWoken([&] { return queued.load(); }, 30));

    // A bare thread is seen once it says so.
    std::atomic<bool> raised = false;
    std::thread other([&] {
        raised = true;
        RunLoop::main().wakeUp();
    });
    EXPECT_TRUE(RunLoop::main().runUntilWoken([&] { return raised.load(); }, 30));
    other.join();

    // With nothing happening the predicate is looked at on entry and at the
    // end, never on a timer of the loop's own.
    RunLoop::main().runDueTasks();
    int looks = 0;
    EXPECT_FALSE(RunLoop::main().runUntilWoken(
        [&] {
            ++looks;
            return false;
        },
        0.2));
    EXPECT_LE(looks, 3);

    // A wait on the loop's own work is woken by a post, and not by the ends
    // of other threads' tasks.
    std::atomic<bool> posted = false;
    dispatch::Queue::global()->async([&] { dispatch::Queue::main()->async([&] { posted = true; }); });
    EXPECT_TRUE(RunLoop::main().runUntilPosted([&] { return posted.load(); }, 30));
    std::atomic<int> ended = 0;
    for (int i = 0; i < 20; ++i) dispatch::Queue::global()->async([&] { ++ended; });
    int postedLooks = 0;
    EXPECT_FALSE(RunLoop::main().runUntilPosted(
        [&] {
            ++postedLooks;
            return false;
        },
        0.2));
    EXPECT_LE(postedLooks, 3);
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ended.load() == 20; }, 30));
}
