#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foundation/NotificationCenter.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"

using namespace foundation;

namespace {

struct Sender : Object {};

}  // namespace

TEST(NotificationCenter, MatchesByNameAndSenderAndForgetsRemovedObservers) {
    NotificationCenter center;
    auto task = std::make_shared<Sender>();
    auto otherTask = std::make_shared<Sender>();
    std::vector<std::string> log;
    int screen = 0, indicator = 0;  // two observers' identities
    center.addObserver(&screen, [&](const Notification& n) { log.push_back("status " + n.object.stringValue()); },
                       "qvaNetworkStatus");
    center.addObserver(&screen, [&](const Notification&) { log.push_back("this task"); },
                       "com.quovana.networking.task.complete", Value(task));
    center.addObserver(&indicator, [&](const Notification& n) { log.push_back("any: " + n.name); }, "");

    center.postNotificationName("qvaNetworkStatus", "qvaNetworkOffline");
    center.postNotificationName("com.quovana.networking.task.complete", Value(otherTask));
    center.postNotificationName("com.quovana.networking.task.complete", Value(task),
                                Value::dictionary({{"error", "x"}}));
    EXPECT_EQ(log, (std::vector<std::string>{"status qvaNetworkOffline", "any: qvaNetworkStatus",
                                             "any: com.quovana.networking.task.complete", "this task",
                                             "any: com.quovana.networking.task.complete"}));

    EXPECT_TRUE(center.hasObserversForName("qvaNetworkStatus"));
    EXPECT_TRUE(center.hasObserversForName("unheard of")) << "an observer of every name hears it";

    // Removing one name of an observer leaves its others.
    log.clear();
    center.removeObserver(&screen, "qvaNetworkStatus");
    center.postNotificationName("qvaNetworkStatus", "qvaNetworkOnline");
    center.postNotificationName("com.quovana.networking.task.complete", Value(task));
    EXPECT_EQ(log, (std::vector<std::string>{"any: qvaNetworkStatus", "this task",
                                             "any: com.quovana.networking.task.complete"}));

    // An observer removed by an earlier one during a post is not called by it.
    log.clear();
    center.removeObserver(&indicator);
    int late = 0;
    center.addObserver(&indicator, [&](const Notification&) { center.removeObserver(&late); }, "dealloc");
    center.addObserver(&late, [&](const Notification&) { log.push_back("late"); }, "dealloc");
    center.postNotificationName("dealloc");
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(center.hasObserversForName("qvaNetworkStatus"));
}

TEST(NotificationCenter, QueuedObserversRunOnTheirQueueWhileThePosterWaits) {
    NotificationCenter center;
    std::atomic<bool> handled = false, onMain = false, postReturned = false, handledBeforeReturn = false;
    auto token = center.addObserverForName("UIApplicationDidReceiveMemoryWarningNotification", Value(),
                                           OperationQueue::mainQueue(), [&](const Notification&) {
                                               onMain = isMainThread();
                                               handled = true;
                                           });
    std::thread poster([&] {
        center.postNotificationName("UIApplicationDidReceiveMemoryWarningNotification");
        handledBeforeReturn = handled.load();
        postReturned = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return postReturned.load(); }, 10));
    poster.join();
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(handledBeforeReturn);

    // Posted on the observer's own queue: runs inline.
    handled = false;
    center.postNotificationName("UIApplicationDidReceiveMemoryWarningNotification");
    EXPECT_TRUE(handled);

    handled = false;
    center.removeObserver(token);
    center.postNotificationName("UIApplicationDidReceiveMemoryWarningNotification");
    EXPECT_FALSE(handled);
}
