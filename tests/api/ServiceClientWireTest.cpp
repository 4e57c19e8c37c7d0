// The API client as the local meeting service sees it: the headers of a
// login and of an authenticated read, and no token for another origin; a
// stalled reports feed that holds up no other call nor its cancellation; a
// client replaced by a new service root let go once its last call ended.
#include <gtest/gtest.h>

#include <memory>

#include "api/DocumentInfoXMLParserDelegate.h"
#include "api/LocalServiceTest.h"
#include "foundation/Error.h"
#include "foundation/JSONSerialization.h"
#include "http/QNDeviceEnvironment.h"
#include "service/TestServer.h"

namespace {

using foundation::ErrorPtr;
using foundation::Value;

struct Ended {
    bool done = false;
    ErrorPtr error;
};

// A completion that records its outcome in a slot the test and a late
// callback can both reach.
std::function<void(const ErrorPtr&, const Value&)> into(const std::shared_ptr<Ended>& ended) {
    return [ended](const ErrorPtr& error, const Value&) {
        ended->done = true;
        ended->error = error;
    };
}

class ServiceClientWireTest : public apitest::LocalServiceTest {
protected:
    void TearDown() override {
        QNDeviceEnvironment::setPreferredLanguages(std::nullopt);
        LocalServiceTest::TearDown();
    }

    QVAApiManager& api() { return QVAApiManager::sharedApiManager(); }

    testservice::RecordedRequest lastRequestTo(const std::string& path) {
        std::optional<testservice::RecordedRequest> found;
        for (const auto& request : service->server().requests())
            if (request.path == path) found = request;
        EXPECT_TRUE(found) << path;
        return found.value_or(testservice::RecordedRequest{});
    }
    void waitFor(const std::shared_ptr<Ended>& ended) {
        ASSERT_TRUE(loop.runUntil([&] { return ended->done; }, apitest::kWait));
    }
};

TEST_F(ServiceClientWireTest, LoginAndReadsCarryTheClientsHeadersAndTheTokenStaysInItsOrigin) {
    // The languages are read when a client is made.
    QNDeviceEnvironment::setPreferredLanguages(std::vector<std::string>{"de-CH", "fr", "en"});
    QVAApiManager::setServiceRoot(service->rootURL());
    const auto user = service->demoAccount();

    auto login = std::make_shared<Ended>();
    api().authenticateWithUsername(user.username, user.password, into(login));
    waitFor(login);
    EXPECT_EQ(login->error, nullptr);
    auto sent = lastRequestTo(apiPath("authentication/login"));
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.header("Authorization"), std::nullopt);
    EXPECT_EQ(sent.header("Accept-Encoding"), std::optional<std::string>("gzip,deflate"));
    EXPECT_EQ(sent.header("Accept-Language"), std::optional<std::string>("de-CH;q=1, fr;q=0.9, en;q=0.8"));
    EXPECT_EQ(sent.header("Content-Type"), std::optional<std::string>("application/json"));
    EXPECT_EQ(foundation::JSONSerialization::JSONObjectWithString(sent.body)["username"].stringValue(), user.username);

    auto read = std::make_shared<Ended>();
    api().getPrivacySettingsForAuthCode(token(), into(read));
    waitFor(read);
    sent = lastRequestTo(apiPath("user/privacy_settings"));
    EXPECT_EQ(sent.header("Authorization"), std::optional<std::string>("Bearer " + token()));
    EXPECT_EQ(sent.header("Accept-Encoding"), std::optional<std::string>("gzip,deflate"));
    EXPECT_EQ(sent.header("Accept-Language"), std::optional<std::string>("de-CH;q=1, fr;q=0.9, en;q=0.8"));

    // Another origin (the same host on another port) never sees the token,
    // neither through a plain request nor through the feed.
    testservice::TestServer other;
    ASSERT_TRUE(other.start());
    other.on("GET", "/version.json", [](const testservice::RecordedRequest&) {
        auto reply = testservice::Reply::text(R"({"version":"1"})");
        reply.contentType = "application/json";
        return reply;
    });
    other.on("GET", "/feed", [](const testservice::RecordedRequest&) {
        auto reply = testservice::Reply::text("<rss><channel></channel></rss>");
        reply.contentType = "application/rss+xml";
        return reply;
    });
    auto outside = std::make_shared<Ended>();
    api().requestForUrlString(
        other.urlFor("/version.json"), "GET", Value(),
        [outside](const ErrorPtr& error, const Value& result, auto) { into(outside)(error, result); });
    waitFor(outside);
    auto feed = std::make_shared<Ended>();
    api().getXMLDataFromURL(other.urlFor("/feed"), std::make_shared<DocumentInfoXMLParserDelegate>(), into(feed));
    waitFor(feed);
    ASSERT_EQ(other.requestCount(), 2u);
    for (const auto& request : other.requests()) EXPECT_EQ(request.header("Authorization"), std::nullopt);
}

TEST_F(ServiceClientWireTest, AStalledReportsFeedHoldsUpNoOtherCallNorItsCancellation) {
    auto event = fetchEvent(eventId());
    ASSERT_TRUE(event && event->reportsRssFeedUrl());
    makeCurrent(account(), event);
    const std::string feedPath = "/feeds/" + eventId() + "/reports.rss";
    service->injectFault("GET", feedPath, {.stall = true});
    auto feed = std::make_shared<Ended>();
    api().refreshReportsForEventId(eventId(), token(), into(feed));
    ASSERT_TRUE(loop.runUntil([&] { return service->requestCount("GET", feedPath) == 1; }, apitest::kWait));

    // A read goes through while the feed hangs.
    auto read = std::make_shared<Ended>();
    api().getPrivacySettingsForAuthCode(token(), into(read));
    waitFor(read);
    EXPECT_EQ(read->error, nullptr);

    // A call that hangs too is cancelled, and its completion arrives.
    service->injectFault("GET", apiPath("user/privacy_settings"), {.stall = true});
    auto hanging = std::make_shared<Ended>();
    api().getPrivacySettingsForAuthCode(token(), into(hanging));
    ASSERT_TRUE(loop.runUntil([&] { return service->requestCount("GET", apiPath("user/privacy_settings")) == 2; },
                              apitest::kWait));
    api().cancelAllHTTPOperationTasks();
    waitFor(hanging);
    ASSERT_NE(hanging->error, nullptr);
    EXPECT_EQ(hanging->error->code(), foundation::URLError::Cancelled);
    EXPECT_FALSE(feed->done);

    // The feed ends once the service lets go of it.
    service->stop();
    waitFor(feed);
}

TEST_F(ServiceClientWireTest, AReplacedClientIsReleasedOnceItsLastCallHasEnded) {
    std::weak_ptr<foundation::Object> replaced = api().shared_from_this();
    service->injectFault("GET", apiPath("user/privacy_settings"), {.stall = true});
    auto hanging = std::make_shared<Ended>();
    api().getPrivacySettingsForAuthCode(token(), into(hanging));
    ASSERT_TRUE(loop.runUntil([&] { return service->requestCount("GET", apiPath("user/privacy_settings")) == 1; },
                              apitest::kWait));

    QVAApiManager::setServiceRoot(service->rootURL());
    loop.runDueTasks();
    EXPECT_FALSE(replaced.expired());
    EXPECT_FALSE(hanging->done);

    // Its call ends (the service lets go); then nothing holds the client.
    service->stop();
    waitFor(hanging);
    EXPECT_TRUE(loop.runUntil([&] { return replaced.expired(); }, apitest::kWait));

    // A client that never made a call goes as soon as it is replaced.
    std::weak_ptr<foundation::Object> idle = api().shared_from_this();
    QVAApiManager::setServiceRoot(service->rootURL());
    EXPECT_TRUE(loop.runUntil([&] { return idle.expired(); }, apitest::kWait));
}

}  // namespace
