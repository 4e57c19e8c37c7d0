// The application's background tasks: identifiers, ending, the system's
// expiry, and beginning and ending from other threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "uikit/UIApplication.h"

using uikit::UIApplication;
using uikit::UIBackgroundTaskIdentifier;
using uikit::UIBackgroundTaskInvalid;

TEST(UIApplicationBackgroundTasks, TasksLiveUntilEndedOrExpired) {
    auto& application = UIApplication::sharedApplication();
    application.resetForTests();
    std::vector<std::string> heard;
    UIBackgroundTaskIdentifier first = application.beginBackgroundTaskWithExpirationHandler([&] {
        heard.push_back("first");
    });
    UIBackgroundTaskIdentifier second = UIBackgroundTaskInvalid;
    second = application.beginBackgroundTaskWithExpirationHandler([&] {
        heard.push_back("second");
        application.endBackgroundTask(second);
    });
    UIBackgroundTaskIdentifier ended = application.beginBackgroundTaskWithExpirationHandler([&] {
        heard.push_back("ended");
    });
    EXPECT_NE(first, UIBackgroundTaskInvalid);
    EXPECT_LT(first, second);
    EXPECT_EQ(application.backgroundTasks(), (std::vector<UIBackgroundTaskIdentifier>{first, second, ended}));
    application.endBackgroundTask(ended);
    application.endBackgroundTask(ended);
    application.endBackgroundTask(UIBackgroundTaskInvalid);
    EXPECT_EQ(application.backgroundTasks(), (std::vector<UIBackgroundTaskIdentifier>{first, second}));

    application.expireBackgroundTasks();
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"})) << "oldest first, ended tasks not told";
    EXPECT_TRUE(application.backgroundTasks().empty()) << "what a handler leaves, the system ends";

    // A task begun by a handler is not part of the expiry that made it.
    UIBackgroundTaskIdentifier successor = UIBackgroundTaskInvalid;
    application.beginBackgroundTaskWithExpirationHandler([&] {
        successor = application.beginBackgroundTaskWithExpirationHandler(nullptr);
    });
    application.expireBackgroundTasks();
    EXPECT_EQ(application.backgroundTasks(), std::vector<UIBackgroundTaskIdentifier>{successor});
    application.resetForTests();
    EXPECT_TRUE(application.backgroundTasks().empty());
}

TEST(UIApplicationBackgroundTasks, WorkOnOtherThreadsBeginsAndEndsTasks) {
    auto& application = UIApplication::sharedApplication();
    application.resetForTests();
    std::vector<std::thread> workers;
    std::vector<UIBackgroundTaskIdentifier> kept(4);
    for (size_t i = 0; i < kept.size(); ++i) {
        workers.emplace_back([&, i] {
            for (int n = 0; n < 50; ++n) {
                auto identifier = application.beginBackgroundTaskWithExpirationHandler(nullptr);
                if (n == 49) kept[i] = identifier;
                else application.endBackgroundTask(identifier);
            }
        });
    }
    for (auto& worker : workers) worker.join();
    auto live = application.backgroundTasks();
    ASSERT_EQ(live.size(), kept.size());
    for (auto identifier : kept) EXPECT_NE(std::find(live.begin(), live.end(), identifier), live.end());
    application.resetForTests();
}
