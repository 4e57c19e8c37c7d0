// Requests through the HTTP library show in the status bar: two overlapping
// requests raise the application's activity flag once, and it goes down a
// moment after the last one ended. The moment is the virtual clock's, so a
// slow machine cannot let it pass between the two completions.
#include <gtest/gtest.h>

#include "app/NetworkActivityIndicator.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "http/QNHTTPResponseSerializer.h"
#include "http/QNHTTPSessionManager.h"
#include "http/QNNetworkActivityIndicatorManager.h"
#include "service/TestServer.h"
#include "uikit/UIApplication.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;
using uikit::UIApplication;

TEST(NetworkActivityIndicator, OverlappingRequestsRaiseTheStatusBarFlagOnceUntilTheLastEnds) {
    auto& application = UIApplication::sharedApplication();
    application.resetForTests();
    Clock::useVirtual(447669000);
    TestServer server;
    Reply held = Reply::text("slow body");
    held.stallAfterBytes = 1;
    server.on("GET", "/one", held);
    server.on("GET", "/two", held);
    ASSERT_TRUE(server.start());
    QVAShowNetworkActivityInStatusBar();
    ASSERT_TRUE(QNNetworkActivityIndicatorManager::sharedManager().isEnabled());

    // Every turn of the main loop looks at the flag and counts its rises.
    int rises = 0;
    bool shown = application.isNetworkActivityIndicatorVisible();
    auto watch = [&](const std::function<bool()>& until) {
        return RunLoop::main().runUntil(
            [&] {
                bool now = application.isNetworkActivityIndicatorVisible();
                if (now && !shown) ++rises;
                shown = now;
                return until();
            },
            20);
    };

    auto manager = QNHTTPSessionManager::manager();
    manager->setResponseSerializer(QNHTTPResponseSerializer::serializer());
    int done = 0;
    bool shownWhenFirstEnded = false;
    auto get = [&](const std::string& path) {
        return manager->GET(
            server.urlFor(path), Value(),
            [&](const URLSessionDataTaskPtr&, const Value&) {
                if (++done == 1) shownWhenFirstEnded = application.isNetworkActivityIndicatorVisible();
            },
            [&](const URLSessionDataTaskPtr&, const ErrorPtr&) { ++done; });
    };
    get("/one");
    get("/two");
    ASSERT_TRUE(watch([&] { return server.requestCount() == 2 && shown; }));
    server.resumeStalledReplies();
    ASSERT_TRUE(watch([&] { return done == 2; }));
    EXPECT_TRUE(shownWhenFirstEnded) << "one request still runs";
    EXPECT_TRUE(shown) << "still on until the manager's delay has passed";
    // The manager hears of the last end on a later turn; the clock moves a
    // little at every look until the delay has passed after it.
    ASSERT_TRUE(watch([&] {
        Clock::advance(QNNetworkActivityIndicatorManager::kInvisibilityDelay / 4);
        return !shown;
    })) << "off once the last one ended, after the manager's delay";
    EXPECT_EQ(rises, 1);

    QNNetworkActivityIndicatorManager::sharedManager().setEnabled(false);
    QNNetworkActivityIndicatorManager::sharedManager().setIndicatorVisibilityHandler(nullptr);
    manager->invalidateSessionCancelingTasks(true);
    application.resetForTests();
    Clock::useReal();
}
