// Progress views, alerts, activity indicators, refresh controls and web views
// following URL session tasks and connection operations.
#include <gtest/gtest.h>

#include <atomic>

#include "foundation/Error.h"
#include "foundation/InputStream.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionConfiguration.h"
#include "foundation/URLSessionTask.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNNetworking.h"
#include "http/UIActivityIndicatorViewQNNetworking.h"
#include "http/UIAlertViewQNNetworking.h"
#include "http/UIProgressViewQNNetworking.h"
#include "http/UIRefreshControlQNNetworking.h"
#include "http/UIWebViewQNNetworking.h"
#include "http/UIWebView_QNNetworking.h"
#include "service/TestServer.h"
#include "uikit/AlertStack.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIProgressView.h"
#include "uikit/UIRefreshControl.h"
#include "uikit/UIWebView.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;

namespace {

constexpr double kConvenienceWait = 20;

bool waitForView(const std::function<bool()>& predicate) { return RunLoop::main().runUntil(predicate, kConvenienceWait); }

// Runs what is already queued on the main loop.
void drainMainLoop() {
    bool done = false;
    dispatch::Queue::main()->async([&] { done = true; });
    waitForView([&] { return done; });
}

URLRequest getRequestFor(const TestServer& server, const std::string& path) {
    return URLRequest(*URL::URLWithString(server.urlFor(path)));
}

class UIKitConveniencesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
    }
    void TearDown() override {
        session->invalidateAndCancel();
        server.stop();
    }
    bool completes(const URLSessionTaskPtr& task) {
        return waitForView([&] { return task->state() == URLSessionTask::State::Completed; });
    }

    TestServer server;
    URLSessionPtr session;
};

TEST_F(UIKitConveniencesTest, ProgressFollowsKnownSizesOnlyAndStopsAtCompletion) {
    Reply body = Reply::text(std::string(10000, 'x'));
    body.contentType = "application/octet-stream";
    server.on("GET", "/body", body);
    server.on("POST", "/upload", Reply::text("ok"));

    auto download = std::make_shared<uikit::UIProgressView>();
    auto task = session->dataTaskWithRequest(getRequestFor(server, "/body"));
    UIProgressViewQNNetworking::setProgressWithDownloadProgressOfTask(download, task, true);
    // Told of the completion after the view's observers, in the same round:
    // the task's state alone turns before they are told.
    std::atomic<bool> toldAfterTheView = false;
    task->addObserver("state", [&](const URLSessionTaskPtr& t, const std::string&) {
        if (t->state() == URLSessionTask::State::Completed) toldAfterTheView = true;
    });
    task->resume();
    ASSERT_TRUE(waitForView([&] { return toldAfterTheView.load(); }));
    drainMainLoop();
    EXPECT_FLOAT_EQ(download->progress(), 1.0f);
    EXPECT_TRUE(download->lastChangeAnimated());
    // Both observations are gone.
    EXPECT_FALSE(task->removeObserver(1));
    EXPECT_FALSE(task->removeObserver(2));

    // A streamed body of unknown length: bytes go out, the bar stays.
    URLRequest post = getRequestFor(server, "/upload");
    post.setHTTPMethod("POST");
    post.setHTTPBodyStream(InputStream::inputStreamWithData(Data::fromString(std::string(10000, 'y'))));
    auto upload = session->uploadTaskWithStreamedRequest(post);
    auto unknown = std::make_shared<uikit::UIProgressView>();
    UIProgressViewQNNetworking::setProgressWithUploadProgressOfTask(unknown, upload, false);
    upload->resume();
    ASSERT_TRUE(completes(upload));
    drainMainLoop();
    EXPECT_EQ(upload->countOfBytesSent(), 10000);
    EXPECT_LE(upload->countOfBytesExpectedToSend(), 0);
    EXPECT_EQ(unknown->progress(), 0);
}

TEST_F(UIKitConveniencesTest, OperationProgressChainsOntoTheBlockItFinds) {
    Reply body = Reply::text(std::string(5000, 'x'));
    body.contentType = "application/octet-stream";
    server.on("GET", "/body", body);
    auto operation = QNHTTPRequestOperation::operationWithRequest(getRequestFor(server, "/body"));
    int64_t earlierSaw = 0;
    operation->setDownloadProgressBlock([&](uint64_t, int64_t total, int64_t) { earlierSaw = total; });
    auto view = std::make_shared<uikit::UIProgressView>();
    UIProgressViewQNNetworking::setProgressWithDownloadProgressOfOperation(view, operation, false);
    bool done = false;
    operation->setCompletionBlockWithSuccess([&](const auto&, const auto&) { done = true; },
                                             [&](const auto&, const auto&) { done = true; });
    operation->start();
    ASSERT_TRUE(waitForView([&] { return done; }));
    drainMainLoop();
    EXPECT_EQ(earlierSaw, 5000);
    EXPECT_FLOAT_EQ(view->progress(), 1.0f);
}

TEST_F(UIKitConveniencesTest, AlertsShowForErrorsOnlyAndRegisterOnce) {
    auto& alerts = uikit::AlertStack::shared();
    size_t before = alerts.entries().size();

    // Success: no alert, and the registration is gone.
    auto fine = session->dataTaskWithRequest(getRequestFor(server, "/none"));
    UIAlertViewQNNetworking::showAlertViewForTaskWithErrorOnCompletion(fine, {});
    NotificationCenter::defaultCenter().postNotificationName(kQNNetworkingTaskDidCompleteNotification, Value(fine));
    EXPECT_EQ(alerts.entries().size(), before);

    auto failing = session->dataTaskWithRequest(getRequestFor(server, "/none"));
    UIAlertViewQNNetworking::showAlertViewForTaskWithErrorOnCompletion(failing, {});
    Value::Dictionary info;
    info[kQNNetworkingTaskDidCompleteErrorKey] = Value(std::const_pointer_cast<Error>(Error::make("Test", 42)));
    NotificationCenter::defaultCenter().postNotificationName(kQNNetworkingTaskDidCompleteNotification, Value(failing),
                                                             Value(std::move(info)));
    ASSERT_EQ(alerts.entries().size(), before + 1);
    auto alert = std::dynamic_pointer_cast<uikit::UIAlertView>(alerts.entries().back());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Error");
    EXPECT_EQ(alert->message(), "Test Error: 42");
    EXPECT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Dismiss");
    alert->tapButtonAtIndex(0);
    // Once only.
    NotificationCenter::defaultCenter().postNotificationName(kQNNetworkingTaskDidCompleteNotification, Value(failing),
                                                             Value(std::move(info)));
    EXPECT_EQ(alerts.entries().size(), before);
}

TEST_F(UIKitConveniencesTest, TheAlertTextRule) {
    using UIAlertViewQNNetworking::alertTitleAndMessageForError;
    auto both = Error::make("D", 1, {{kLocalizedDescriptionKey, Value("Offline")},
                                     {kLocalizedRecoverySuggestionErrorKey, Value("Try later")},
                                     {kLocalizedFailureReasonErrorKey, Value("No network")}});
    EXPECT_EQ(alertTitleAndMessageForError(both), (std::pair<std::string, std::string>{"Offline", "Try later"}));
    auto reason = Error::make("D", 1, {{kLocalizedDescriptionKey, Value("Offline")},
                                       {kLocalizedFailureReasonErrorKey, Value("No network")}});
    EXPECT_EQ(alertTitleAndMessageForError(reason), (std::pair<std::string, std::string>{"Offline", "No network"}));
    auto described = Error::withDescription("D", 1, "Offline");
    EXPECT_EQ(alertTitleAndMessageForError(described), (std::pair<std::string, std::string>{"Error", "Offline"}));
    // A reason without description is not enough for the first form.
    auto bare = Error::make("D", 7, {{kLocalizedFailureReasonErrorKey, Value("No network")}});
    EXPECT_EQ(alertTitleAndMessageForError(bare), (std::pair<std::string, std::string>{"Error", "D Error: 7"}));
}

TEST_F(UIKitConveniencesTest, PausingAnOperationDropsItsAlertAndStopsItsIndicator) {
    Reply slow = Reply::text(std::string(20000, 'x'));
    slow.stallAfterBytes = 100;
    server.on("GET", "/slow", slow);
    auto operation = QNHTTPRequestOperation::operationWithRequest(getRequestFor(server, "/slow"));
    auto indicator = std::make_shared<uikit::UIActivityIndicatorView>();
    auto refresh = std::make_shared<uikit::UIRefreshControl>();
    UIActivityIndicatorViewQNNetworking::setAnimatingWithStateOfOperation(indicator, operation);
    UIRefreshControlQNNetworking::setRefreshingWithStateOfOperation(refresh, operation);
    EXPECT_FALSE(indicator->isAnimating());
    UIAlertViewQNNetworking::showAlertViewForRequestOperationWithErrorOnCompletion(operation, {});
    size_t before = uikit::AlertStack::shared().entries().size();

    operation->start();
    ASSERT_TRUE(waitForView([&] { return indicator->isAnimating() && refresh->isRefreshing(); }));
    ASSERT_TRUE(server.waitForRequestCount(1, kConvenienceWait));
    operation->pause();
    ASSERT_TRUE(waitForView([&] { return !indicator->isAnimating() && !refresh->isRefreshing(); }));
    EXPECT_EQ(uikit::AlertStack::shared().entries().size(), before);

    // The registration went with that finish: a later failure shows nothing.
    operation->cancel();
    drainMainLoop();
    EXPECT_EQ(uikit::AlertStack::shared().entries().size(), before);
    server.resumeStalledReplies();
}

TEST_F(UIKitConveniencesTest, IndicatorsAndRefreshControlsFollowTasks) {
    auto indicator = std::make_shared<uikit::UIActivityIndicatorView>();
    indicator->startAnimating();
    UIActivityIndicatorViewQNNetworking::setAnimatingWithStateOfTask(indicator, nullptr);
    EXPECT_TRUE(indicator->isAnimating());

    auto task = session->dataTaskWithRequest(getRequestFor(server, "/none"));
    UIActivityIndicatorViewQNNetworking::setAnimatingWithStateOfTask(indicator, task);
    EXPECT_FALSE(indicator->isAnimating());  // suspended
    auto post = [&](const char* name) { NotificationCenter::defaultCenter().postNotificationName(name, Value(task)); };
    post(kQNNetworkingTaskDidResumeNotification);
    ASSERT_TRUE(waitForView([&] { return indicator->isAnimating(); }));
    post(kQNNetworkingTaskDidSuspendNotification);
    ASSERT_TRUE(waitForView([&] { return !indicator->isAnimating(); }));
    // A new call with no task removes the registrations.
    UIActivityIndicatorViewQNNetworking::setAnimatingWithStateOfTask(indicator, nullptr);
    post(kQNNetworkingTaskDidResumeNotification);
    drainMainLoop();
    EXPECT_FALSE(indicator->isAnimating());

    auto refresh = std::make_shared<uikit::UIRefreshControl>();
    refresh->beginRefreshing();
    UIRefreshControlQNNetworking::setRefreshingWithStateOfTask(refresh, task);  // suspended: ends, not followed
    EXPECT_FALSE(refresh->isRefreshing());
    post(kQNNetworkingTaskDidResumeNotification);
    drainMainLoop();
    EXPECT_FALSE(refresh->isRefreshing());
}

class LoadLog : public uikit::UIWebViewDelegate {
public:
    int started = 0;
    int finished = 0;
    void webViewDidStartLoad(uikit::UIWebView&) override { ++started; }
    void webViewDidFinishLoad(uikit::UIWebView&) override { ++finished; }
};

TEST_F(UIKitConveniencesTest, WebViewsLoadThroughAnOperationAndShowWhatSuccessReturns) {
    Reply page = Reply::text("<p>caf\xe9</p>");
    page.contentType = "text/html; charset=iso-8859-1";
    server.on("GET", "/page", page);
    auto view = std::make_shared<uikit::UIWebView>();
    auto log = std::make_shared<LoadLog>();
    view->setDelegate(log);
    std::string seen;
    int64_t progressed = 0;
    UIWebViewQNNetworking::loadRequest(
        view, getRequestFor(server, "/page"), [&](uint64_t, int64_t total, int64_t) { progressed = total; },
        [&](const std::shared_ptr<HTTPURLResponse>&, const std::string& html) {
            seen = html;
            return html + "<p>\xc3\xa0 bient\xc3\xb4t</p>";
        },
        nullptr);
    EXPECT_EQ(log->started, 1);
    ASSERT_TRUE(UIWebView_QNNetworking::qn_HTTPRequestOperation(*view));
    ASSERT_TRUE(waitForView([&] { return view->data().has_value(); }));
    EXPECT_EQ(seen, "<p>caf\xc3\xa9</p>");
    EXPECT_EQ(progressed, 11);
    // Encoded back in the page's own encoding.
    EXPECT_EQ(view->data()->toString(), std::string("<p>caf\xe9</p><p>\xe0 bient\xf4t</p>"));
    EXPECT_EQ(view->MIMEType(), "text/html");
    EXPECT_EQ(view->textEncodingName(), "iso-8859-1");
    EXPECT_EQ(view->baseURL()->absoluteString(), server.urlFor("/page"));
    EXPECT_GE(log->finished, 1);
    EXPECT_EQ(server.lastRequest()->header("Accept-Language").has_value(), true);

    server.on("GET", "/broken", Reply::text("nope", 500));
    ErrorPtr failed;
    UIWebViewQNNetworking::loadRequestMIMEType(view, getRequestFor(server, "/broken"), std::string("text/plain"), std::nullopt,
                                               nullptr, nullptr, [&](const ErrorPtr& e) { failed = e; });
    ASSERT_TRUE(waitForView([&] { return failed != nullptr; }));
    EXPECT_EQ(failed->code(), -1011);
}

}  // namespace
