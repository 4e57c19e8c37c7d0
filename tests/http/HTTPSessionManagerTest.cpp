// The HTTP session manager against the in-process test server: a GET below
// the base URL over HTTPS, refused certificates that never reach the
// server, the verbs, requests that cannot be built, and the base URL rule.
#include <gtest/gtest.h>

#include "SessionManagerTestSupport.h"
#include "TestCertificateChain.h"
#include "foundation/URLErrors.h"
#include "http/QNHTTPSessionManager.h"
#include "http/QNMultipartFormData.h"
#include "http/QNNetworking.h"
#include "service/TestCertificateAuthority.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestCertificateAuthority;
using testservice::TestServer;

namespace {

Reply json(std::string body, int status = 200) {
    Reply reply = Reply::text(std::move(body), status);
    reply.contentType = "application/json";
    return reply;
}

struct SessionOutcome {
    int calls = 0;
    bool onMain = false;
    URLSessionDataTaskPtr task;
    Value object;
    ErrorPtr error;

    QNHTTPSessionManager::Success success() {
        return [this](const URLSessionDataTaskPtr& t, const Value& o) { record(t, o, nullptr); };
    }
    QNHTTPSessionManager::Failure failure() {
        return [this](const URLSessionDataTaskPtr& t, const ErrorPtr& e) { record(t, Value(), e); };
    }
    void record(const URLSessionDataTaskPtr& t, const Value& o, const ErrorPtr& e) {
        std::tie(calls, onMain, task, object, error) = std::make_tuple(calls + 1, isMainThread(), t, o, e);
    }
};

}  // namespace

TEST(QNHTTPSessionManager, GetOverHTTPSDeliversJSONOnTheMainThreadAndIsAnnouncedOnce) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    TestCertificateAuthority::ScopedTrust trust(authority.caFile());
    TestServer server({authority.serverCertificateFile(), authority.serverKeyFile()});
    ASSERT_TRUE(server.start());
    server.on("GET", "/api/v1/events/current", json(R"({"id":"E1","rooms":[1,2]})"));

    NotificationLog log({kQNNetworkingTaskDidResumeNotification, kQNNetworkingTaskDidCompleteNotification});
    auto manager = QNHTTPSessionManager::managerWithBaseURL(URL::URLWithString(server.urlFor("/api/v1/")));
    SessionOutcome outcome;
    auto task = manager->GET("events/current", Value(), outcome.success(), outcome.failure());
    ASSERT_TRUE(waitFor([&] { return !log.about(kQNNetworkingTaskDidCompleteNotification, task).empty(); }));
    drainMainQueue();

    EXPECT_TRUE(outcome.calls == 1 && outcome.onMain && outcome.task == task && !outcome.error);
    EXPECT_EQ(outcome.object, Value::dictionary({{"id", "E1"}, {"rooms", Value::array({1, 2})}}));
    ASSERT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(server.lastRequest()->path, "/api/v1/events/current");
    EXPECT_EQ(log.about(kQNNetworkingTaskDidResumeNotification, task).size(), 1u);
    auto complete = log.about(kQNNetworkingTaskDidCompleteNotification, task);
    ASSERT_EQ(complete.size(), 1u);
    EXPECT_TRUE(complete[0].onMain);
    EXPECT_EQ(complete[0].notification.userInfo[kQNNetworkingTaskDidCompleteSerializedResponseKey], outcome.object);
    releaseManager(manager);
}

TEST(QNHTTPSessionManager, RefusedCertificatesNeverReachTheServer) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    auto selfSigned = authority.makeUntrustedServerCertificate();
    TestCertificateChain otherHost("DNS:other.quovana.test");
    ASSERT_TRUE(selfSigned && otherHost.valid);
    using Case = std::pair<std::string, TestServer::TLSFiles>;  // anchors, server
    for (const Case& c : {Case{authority.caFile(), {selfSigned->certificate, selfSigned->key}},
                          Case{otherHost.rootFile, {otherHost.serverChainFile, otherHost.serverKeyFile}}}) {
        TestCertificateAuthority::ScopedTrust trust(c.first);
        TestServer server(c.second);
        ASSERT_TRUE(server.start());
        server.on("GET", "/api/v1/events/current", json("{}"));
        auto manager = QNHTTPSessionManager::managerWithBaseURL(URL::URLWithString(server.urlFor("/api/v1")));
        SessionOutcome outcome;
        auto task = manager->GET("events/current", Value(), outcome.success(), outcome.failure());
        ASSERT_TRUE(waitFor([&] { return outcome.calls > 0; }));
        EXPECT_EQ(outcome.task, task);
        EXPECT_EQ(outcome.error ? outcome.error->code() : 0, URLError::Cancelled);
        // Beneath the cancellation, why: the certificate was refused.
        const auto why = outcome.error ? outcome.error->underlyingError() : nullptr;
        EXPECT_EQ(why ? why->code() : 0, URLError::ServerCertificateUntrusted);
        EXPECT_EQ(server.requestCount(), 0u);
        releaseManager(manager);
    }
}

TEST(QNHTTPSessionManager, VerbsBuildTheirRequestsAndReportFailures) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("*", "/api/items", [](const testservice::RecordedRequest& r) {
        return json(R"({"method":")" + r.method + R"(","body":")" + r.body + R"("})");
    });
    server.on("GET", "/api/missing", json(R"({"error":"no such item"})", 404));
    auto manager = QNHTTPSessionManager::managerWithBaseURL(URL::URLWithString(server.urlFor("/api")));
    EXPECT_EQ(manager->baseURL()->absoluteString(), server.urlFor("/api/"));

    SessionOutcome post, del, head, missing;
    auto params = Value::dictionary({{"name", "Ada"}});
    manager->POST("items", params, post.success(), post.failure());
    manager->DELETE(server.urlFor("/api/items"), params, del.success(), del.failure());
    bool headDone = false;
    manager->HEAD(
        "items", Value(), [&](const URLSessionDataTaskPtr& t) { headDone = t != nullptr; }, head.failure());
    manager->GET("missing", Value(), missing.success(), missing.failure());
    ASSERT_TRUE(waitFor([&] { return post.calls && del.calls && headDone && missing.calls; }));
    EXPECT_EQ(post.object, Value::dictionary({{"method", "POST"}, {"body", "name=Ada"}}));
    EXPECT_EQ(del.object, Value::dictionary({{"method", "DELETE"}, {"body", ""}}));
    EXPECT_EQ(head.calls, 0);
    ASSERT_TRUE(missing.error && missing.task);
    EXPECT_EQ(missing.error->code(), URLError::BadServerResponse);

    // The multipart POST streams its form through an upload task.
    server.on("POST", "/api/upload", json(R"({"ok":true})", 201));
    SessionOutcome upload;
    auto task = manager->POST(
        "upload", Value::dictionary({{"a", "x"}}),
        [](QNMultipartFormData& form) { form.appendPartWithFileData(Data::fromString("PNG"), "f", "f.png", "image/png"); },
        upload.success(), upload.failure());
    EXPECT_TRUE(std::dynamic_pointer_cast<URLSessionUploadTask>(task));
    ASSERT_TRUE(waitFor([&] { return upload.calls == 1; }));
    EXPECT_EQ(upload.object, Value::dictionary({{"ok", true}}));
    auto recorded = server.lastRequest();
    ASSERT_TRUE(recorded);
    ASSERT_EQ(recorded->formParts.size(), 2u);
    EXPECT_EQ(recorded->formParts[0].content, "x");
    EXPECT_EQ(recorded->formParts[1].filename, "f.png");

    // A request that cannot be built gives no task, and the failure comes later.
    manager->requestSerializer()->setQueryStringSerializationWithBlock(
        [](const URLRequest&, const Value&, ErrorPtr* error) -> std::optional<std::string> {
            *error = Error::make("test", 7);
            return std::nullopt;
        });
    SessionOutcome unbuilt;
    EXPECT_FALSE(manager->GET("items", params, unbuilt.success(), unbuilt.failure()));
    EXPECT_EQ(unbuilt.calls, 0);
    ASSERT_TRUE(waitFor([&] { return unbuilt.calls == 1; }));
    EXPECT_FALSE(unbuilt.task);
    EXPECT_EQ(unbuilt.error->code(), 7);
    releaseManager(manager);
}

TEST(QNHTTPSessionManager, BaseURLsGetATrailingSlashAndSurviveArchivesAndCopies) {
    auto baseOf = [](const char* text) {
        auto manager = QNHTTPSessionManager::managerWithBaseURL(URL::URLWithString(text));
        std::string base = manager->baseURL() ? manager->baseURL()->absoluteString() : "(none)";
        releaseManager(manager);
        return base;
    };
    EXPECT_EQ(baseOf("https://example.org/api/v1"), "https://example.org/api/v1/");
    EXPECT_EQ(baseOf("https://example.org/api/v1/"), "https://example.org/api/v1/");
    EXPECT_EQ(baseOf("https://example.org"), "https://example.org");

    QNRegisterSessionManagerArchiveClasses();
    URLSessionConfiguration configuration;
    configuration.setTimeoutIntervalForRequest(12);
    configuration.setHTTPMaximumConnectionsPerHost(2);
    auto manager =
        QNHTTPSessionManager::managerWithBaseURL(URL::URLWithString("https://example.org/api"), configuration);
    manager->requestSerializer()->setValue("Bearer t", "Authorization");
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QNHTTPSessionManager>(
        KeyedArchiver::archivedDataWithRootObject(Value(manager)));
    auto copied = std::dynamic_pointer_cast<QNHTTPSessionManager>(manager->copy());
    for (auto* other : {&restored, &copied}) {
        ASSERT_TRUE(*other);
        EXPECT_EQ((*other)->baseURL()->absoluteString(), "https://example.org/api/");
        EXPECT_EQ((*other)->sessionConfiguration().timeoutIntervalForRequest(), 12);
        EXPECT_EQ((*other)->sessionConfiguration().HTTPMaximumConnectionsPerHost(), 2);
        EXPECT_EQ((*other)->requestSerializer()->valueForHTTPHeaderField("Authorization"), "Bearer t");
        EXPECT_NE((*other)->requestSerializer(), manager->requestSerializer());
        releaseManager(*other);
    }
    releaseManager(manager);
}
