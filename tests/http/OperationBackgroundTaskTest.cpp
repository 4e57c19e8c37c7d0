// Operations that run as background tasks of the application: one task held
// from the first request until the operation is gone, a second request
// keeping the first task, and the system's expiry calling the handler and
// cancelling the operation.
#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/RunLoop.h"
#include "foundation/URLErrors.h"
#include "http/QNHTTPRequestOperation.h"
#include "service/TestServer.h"
#include "uikit/UIApplication.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;
using uikit::UIApplication;

namespace {

bool waitForTask(const std::function<bool()>& predicate) {
    return RunLoop::main().runUntil(predicate, 20);
}

bool isLive(uikit::UIBackgroundTaskIdentifier identifier) {
    auto live = UIApplication::sharedApplication().backgroundTasks();
    return std::find(live.begin(), live.end(), identifier) != live.end();
}

}  // namespace

TEST(OperationBackgroundTask, HeldWhileTheOperationLivesAndEndedWhenItIsGone) {
    UIApplication::sharedApplication().resetForTests();
    TestServer server;
    server.on("GET", "/quick", Reply::text("done"));
    ASSERT_TRUE(server.start());
    auto operation = QNHTTPRequestOperation::operationWithRequest(URLRequest(*URL::URLWithString(server.urlFor("/quick"))));
    EXPECT_EQ(operation->backgroundTaskIdentifier(), uikit::UIBackgroundTaskInvalid);
    operation->setShouldExecuteAsBackgroundTaskWithExpirationHandler(nullptr);
    auto identifier = operation->backgroundTaskIdentifier();
    ASSERT_NE(identifier, uikit::UIBackgroundTaskInvalid);
    EXPECT_TRUE(isLive(identifier));
    operation->setShouldExecuteAsBackgroundTaskWithExpirationHandler([] { FAIL() << "the first handler stays"; });
    EXPECT_EQ(operation->backgroundTaskIdentifier(), identifier) << "a second request keeps the first task";
    EXPECT_EQ(UIApplication::sharedApplication().backgroundTasks().size(), 1u);

    std::weak_ptr<QNHTTPRequestOperation> weak = operation;
    bool finished = false;
    operation->setCompletionBlockWithSuccess([&](const QNHTTPRequestOperationPtr&, const Value&) { finished = true; },
                                             [&](const QNHTTPRequestOperationPtr&, const ErrorPtr&) { finished = true; });
    operation->start();
    operation.reset();
    // The last reference may go on another thread, which ends the task there.
    EXPECT_TRUE(waitForTask([&] { return finished && weak.expired() && !isLive(identifier); }))
        << "the finished operation ends its task when it goes";
}

TEST(OperationBackgroundTask, TheSystemsExpiryCallsTheHandlerAndCancelsTheOperation) {
    UIApplication::sharedApplication().resetForTests();
    TestServer server;
    Reply never;
    never.neverAnswer = true;
    server.on("GET", "/slow", never);
    ASSERT_TRUE(server.start());
    auto operation = QNHTTPRequestOperation::operationWithRequest(URLRequest(*URL::URLWithString(server.urlFor("/slow"))));
    int expired = 0;
    operation->setShouldExecuteAsBackgroundTaskWithExpirationHandler([&] { ++expired; });
    auto identifier = operation->backgroundTaskIdentifier();
    ErrorPtr error;
    operation->setCompletionBlockWithSuccess(nullptr, [&](const QNHTTPRequestOperationPtr&, const ErrorPtr& e) { error = e; });
    operation->start();
    ASSERT_TRUE(waitForTask([&] { return operation->isExecuting() && server.requestCount() == 1; }));

    // Another task of the application that ends itself when told.
    auto& application = UIApplication::sharedApplication();
    uikit::UIBackgroundTaskIdentifier other = uikit::UIBackgroundTaskInvalid;
    other = application.beginBackgroundTaskWithExpirationHandler([&] { application.endBackgroundTask(other); });
    EXPECT_NE(other, identifier);

    application.expireBackgroundTasks();
    EXPECT_EQ(expired, 1);
    EXPECT_TRUE(operation->isCancelled());
    EXPECT_EQ(operation->backgroundTaskIdentifier(), uikit::UIBackgroundTaskInvalid);
    EXPECT_TRUE(application.backgroundTasks().empty());
    ASSERT_TRUE(waitForTask([&] { return error != nullptr; }));
    EXPECT_EQ(error->code(), URLError::Cancelled);
    application.endBackgroundTask(uikit::UIBackgroundTaskInvalid);  // nothing to end
    application.endBackgroundTask(identifier);                      // already ended
    EXPECT_TRUE(application.backgroundTasks().empty());
}
