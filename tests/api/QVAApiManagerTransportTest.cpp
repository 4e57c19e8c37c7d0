// The API client's transport against a loopback server: paths resolve under
// "<root>/v1", "Link" paging collects every page and cannot loop, service
// errors become QVAError with the status, the merged GET, the login body,
// and the bearer token going only to the service root's origin.
#include <mutex>

#include "ApiTestSupport.h"
#include "foundation/Thread.h"
#include "dispatch/Queue.h"
#include "Utils/ErrorUtility.h"
#include "api/DocumentInfoXMLParserDelegate.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "http/QNNetworking.h"
#include "model/QVAError.h"
#include "model/QVARoom.h"
#include "model/QVAUserAccount.h"

using foundation::Value;

namespace {

class QVAApiManagerTransportTest : public apitest::ApiTest {
protected:
    std::shared_ptr<const ModelClass> rooms = ModelClass::of<QVARoom>();

    testservice::Reply page(const std::string& items, std::optional<std::string> link) {
        auto reply = json(items);
        if (link) reply.headers.push_back({"Link", *link});
        return reply;
    }
    std::vector<std::string> ids(const Value& result) {
        std::vector<std::string> out;
        if (!result.array()) return out;
        for (const auto& item : *result.array())
            if (auto room = item.objectAs<QVARoom>()) out.push_back(room->itemId().value_or("?"));
        return out;
    }
};

TEST_F(QVAApiManagerTransportTest, PaginatedGetFollowsEveryLinkWithTheToken) {
    serve("GET", path("events/42/rooms"),
              page(R"([{"id":"1"},{"id":"2"}])", "<" + server.urlFor(path("pages/2")) + ">; rel=\"next\""));
    serve("GET", path("pages/2"), page(R"([{"id":"3"}])", "<" + server.urlFor(path("pages/3")) + ">; rel=next"));
    serve("GET", path("pages/3"), page(R"([{"id":"4"},"plain",7])", std::nullopt));

    auto outcome = call([&](auto done) {
        api().GETWithAuthentication("events/42/rooms", std::string("tok"), Value(), rooms, done);
    });
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(ids(outcome.result), (std::vector<std::string>{"1", "2", "3", "4"}));
    // A text element of a page is kept, other elements are skipped.
    ASSERT_TRUE(outcome.result.array());
    EXPECT_EQ(outcome.result.array()->size(), 5u);
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].path, "/api/v1/events/42/rooms");
    for (const auto& request : requests) {
        EXPECT_EQ(request.header("Authorization"), std::optional<std::string>("Bearer tok"));
        EXPECT_EQ(request.header("Content-Type"), std::optional<std::string>("application/json"));
    }
}

TEST_F(QVAApiManagerTransportTest, PaginationStopsAtRepeatsAndAtUnusableLinks) {
    foundation::ScopedLogCapture log;
    // A → B → A: each page read once.
    serve("GET", path("a"), page(R"([{"id":"a"}])", "<" + server.urlFor(path("b")) + ">"));
    serve("GET", path("b"), page(R"([{"id":"b"}])", "<" + server.urlFor(path("a")) + ">"));
    auto cycle = call([&](auto done) { api().GET("a", Value(), true, rooms, done); });
    EXPECT_EQ(cycle.error, nullptr);
    EXPECT_EQ(ids(cycle.result), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(server.requestCount(), 2u);
    bool logged = false;
    for (const auto& line : log.lines()) logged |= line.find("Infinite recursivity for call") != std::string::npos;
    EXPECT_TRUE(logged);

    // A first page that links to itself by its relative path's absolute form.
    server.clearRequests();
    serve("GET", path("self"), page(R"([{"id":"s"}])", "<" + server.urlFor(path("self")) + ">"));
    auto self = call([&](auto done) { api().GET("self", Value(), true, rooms, done); });
    EXPECT_EQ(ids(self.result), (std::vector<std::string>{"s"}));
    EXPECT_EQ(server.requestCount(), 1u);

    // A "Link" value not in "<...>" form ends the listing.
    server.clearRequests();
    serve("GET", path("odd"), page(R"([{"id":"o"}])", server.urlFor(path("b"))));
    auto odd = call([&](auto done) { api().GET("odd", Value(), true, rooms, done); });
    EXPECT_EQ(ids(odd.result), (std::vector<std::string>{"o"}));
    EXPECT_EQ(server.requestCount(), 1u);

    // A failing page reports its error together with the earlier pages' items.
    serve("GET", path("first"), page(R"([{"id":"f"}])", "<" + server.urlFor(path("broken")) + ">"));
    serve("GET", path("broken"), json(R"({"error":"down"})", 500));
    auto broken = call([&](auto done) { api().GET("first", Value(), true, rooms, done); });
    EXPECT_NE(broken.error, nullptr);
    EXPECT_EQ(ids(broken.result), (std::vector<std::string>{"f"}));
}

TEST_F(QVAApiManagerTransportTest, NextPagesLeaveWhileTheMainQueueIsBusyAndKeepTheListingsToken) {
    constexpr int kPages = 8;
    auto chain = [&](int i) { return path("chain/" + std::to_string(i)); };
    for (int i = 1; i <= kPages; ++i) {
        std::optional<std::string> link;
        if (i < kPages) link = "<" + server.urlFor(chain(i + 1)) + ">; rel=\"next\"";
        serve("GET", chain(i), page(R"([{"id":")" + std::to_string(i) + R"("}])", link));
    }
    bool allAskedFor = false;
    auto outcome = call([&](auto done) {
        api().GETWithAuthentication("chain/1", std::string("tok"), Value(), rooms, done);
        // The main queue is held until every page was asked for, and another
        // call's token is set meanwhile: the listing goes on with its own.
        dispatch::Queue::main()->async([&] {
            api().setAuthorizationHeaderWithCode(std::string("other"));
            allAskedFor = server.waitForRequestCount(kPages, apitest::kManagerWait);
        });
    });
    EXPECT_TRUE(allAskedFor);
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(ids(outcome.result), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    for (const auto& request : server.requests())
        EXPECT_EQ(request.header("Authorization"), std::optional<std::string>("Bearer tok")) << request.path;

    // A listing with parameters has each page's request built with them, as
    // the first one was.
    server.clearRequests();
    serve("GET", path("with"), page(R"([{"id":"w"}])", "<" + server.urlFor(path("more")) + ">"));
    serve("GET", path("more"), page(R"([{"id":"m"}])", std::nullopt));
    auto withParameters = call([&](auto done) {
        api().GETWithAuthentication("with", std::string("tok"), Value::dictionary({{"lang", "fr"}}), rooms, done);
    });
    EXPECT_EQ(ids(withParameters.result), (std::vector<std::string>{"w", "m"}));
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].path, "/api/v1/more?lang=fr");
}

TEST_F(QVAApiManagerTransportTest, ACancelledPageEndsTheListingWithThePagesBeforeIt) {
    serve("GET", path("c1"), page(R"([{"id":"1"}])", "<" + server.urlFor(path("c2")) + ">"));
    serve("GET", path("c2"), page(R"([{"id":"2"}])", "<" + server.urlFor(path("c3")) + ">"));
    testservice::Reply held = json("[]");
    held.neverAnswer = true;
    serve("GET", path("c3"), held);
    auto outcome = call([&](auto done) {
        api().GET("c1", Value(), true, rooms, done);
        dispatch::Queue::main()->async([&] {
            ASSERT_TRUE(server.waitForRequestCount(3, apitest::kManagerWait));
            for (const auto& task : api().dataTasks()) {
                const auto& url = task->originalRequest().url();
                if (url && url->path() == path("c3")) task->cancel();
            }
        });
    });
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(outcome.error->code(), foundation::URLError::Cancelled);
    EXPECT_EQ(ids(outcome.result), (std::vector<std::string>{"1", "2"}));
}

// A listing read page by page hands its pages over in page order, also when
// a later page is read before an earlier one's body has come, and ends
// after the last.
TEST_F(QVAApiManagerTransportTest, PagesAreHandedOverOneByOneInPageOrder) {
    auto first = page(R"([{"id":"1"},{"id":"2"},{"id":"3"},{"id":"4"},{"id":"5"},{"id":"6"}])",
                      "<" + server.urlFor(path("o2")) + ">");
    first.stallAfterBytes = 8;
    serve("GET", path("o1"), first);
    serve("GET", path("o2"), page(R"([{"id":"7"}])", "<" + server.urlFor(path("o3")) + ">"));
    serve("GET", path("o3"), page(R"([{"id":"8"},{"id":"9"}])", std::nullopt));

    std::mutex mutex;
    std::vector<std::vector<std::string>> handed;
    bool handedOnMain = false;
    auto outcome = call([&](auto done) {
        api().paginatedPagesWithAuthentication(
            "o1", std::string("tok"),
            [&](Value::Array items) {
                std::vector<std::string> ids;
                for (const auto& item : items) ids.push_back(item["id"].stringValue());
                std::lock_guard lock(mutex);
                handedOnMain = handedOnMain || foundation::isMainThread();
                handed.push_back(std::move(ids));
            },
            [done](const foundation::ErrorPtr& error) { done(error, Value()); });
        // The later pages are asked for on the first one's head; its body
        // follows once they have been read.
        dispatch::Queue::main()->async([&] {
            ASSERT_TRUE(server.waitForRequestCount(3, apitest::kManagerWait));
            server.resumeStalledReplies();
        });
    });
    EXPECT_EQ(outcome.error, nullptr);
    std::lock_guard lock(mutex);
    EXPECT_EQ(handed, (std::vector<std::vector<std::string>>{{"1", "2", "3", "4", "5", "6"}, {"7"}, {"8", "9"}}));
    EXPECT_FALSE(handedOnMain);
    for (const auto& request : server.requests())
        EXPECT_EQ(request.header("Authorization"), std::optional<std::string>("Bearer tok"));
}

TEST_F(QVAApiManagerTransportTest, AListAnsweredWithSomethingElseIsAnError) {
    // A notice served with 200 in place of the first page is no empty list.
    serve("GET", path("notice"), json(R"({"notice":"down for maintenance"})"));
    auto notice = call([&](auto done) { api().GET("notice", Value(), true, rooms, done); });
    ASSERT_NE(notice.error, nullptr);
    EXPECT_NE(notice.error->localizedDescription().find("not a list"), std::string::npos);
    ASSERT_TRUE(notice.result.array());
    EXPECT_TRUE(notice.result.array()->empty());
    // Without a model class the body stays raw: still no list.
    auto raw = call([&](auto done) { api().GET("notice", Value(), true, nullptr, done); });
    EXPECT_NE(raw.error, nullptr);

    // A later page that is not a list ends the list with the error and the
    // pages received.
    serve("GET", path("start"), page(R"([{"id":"s"}])", "<" + server.urlFor(path("notice")) + ">"));
    auto later = call([&](auto done) { api().GET("start", Value(), true, rooms, done); });
    EXPECT_NE(later.error, nullptr);
    EXPECT_EQ(ids(later.result), (std::vector<std::string>{"s"}));
}

TEST_F(QVAApiManagerTransportTest, FailuresAndUnexpectedBodiesAreMapped) {
    serve("GET", path("events/9"), json(R"({"error":"Event not found"})", 404));
    auto missing = call([&](auto done) { api().getEventWithId(std::string("9"), std::string("tok"), done); });
    auto error = std::dynamic_pointer_cast<const QVAError>(missing.error);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->QVAServiceErrorMessage(), std::optional<std::string>("Event not found"));
    EXPECT_EQ(ErrorUtility::HTTPErrorCode(missing.error), 404);
    EXPECT_TRUE(missing.result.isNothing());

    // A non-JSON error body: a plain error that still knows the status.
    serve("GET", path("events/current"), testservice::Reply::text("gateway down", 502));
    auto down = call([&](auto done) { api().getEventWithId(std::string(""), std::string("tok"), done); });
    ASSERT_NE(down.error, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<const QVAError>(down.error), nullptr);
    EXPECT_EQ(ErrorUtility::HTTPErrorCode(down.error), 502);
    EXPECT_EQ(server.lastRequest()->path, "/api/v1/events/current");

    // An empty DELETE answer: fine without a result class, an error with one.
    serve("DELETE", path("things/1"), testservice::Reply::text("", 204));
    auto plain = call([&](auto done) {
        api().DELETEWithAuthentication("things/1", std::string("tok"), Value(), nullptr, done);
    });
    EXPECT_EQ(plain.error, nullptr);
    EXPECT_TRUE(plain.result.isNothing());
    auto typed = call([&](auto done) {
        api().DELETEWithAuthentication("things/1", std::string("tok"), Value(), rooms, done);
    });
    ASSERT_NE(typed.error, nullptr);
    EXPECT_NE(typed.error->localizedDescription().find("Unexpected response type"), std::string::npos);

    // A status service answering with a list gives (nil, nil).
    serve("GET", path("events/1/sessions/5/status"), json("[]"));
    auto status = call([&](auto done) {
        api().getSessionStatusMessageForSubactivityId(std::string("5"), std::string("1"), std::string("tok"), done);
    });
    EXPECT_EQ(status.error, nullptr);
    EXPECT_TRUE(status.result.isNothing());
}

TEST_F(QVAApiManagerTransportTest, MergedGet) {
    auto none = call([&](auto done) { api().mergedGET({}, Value(), true, rooms, done); });
    EXPECT_EQ(none.error, nullptr);
    ASSERT_TRUE(none.result.array());
    EXPECT_TRUE(none.result.array()->empty());
    EXPECT_EQ(server.requestCount(), 0u);

    serve("GET", path("r1"), json(R"([{"id":"1"}])"));
    serve("GET", path("r2"), json(R"([{"id":"2"},{"id":"3"}])"));
    auto both = call([&](auto done) { api().mergedGET({"r1", "r2"}, Value(), true, rooms, done); });
    EXPECT_EQ(both.error, nullptr);
    EXPECT_EQ(both.result.array()->size(), 3u);

    serve("GET", path("r3"), json(R"({"error":"no"})", 500));
    auto failed = call([&](auto done) { api().mergedGET({"r1", "r3"}, Value(), true, rooms, done); });
    ASSERT_NE(failed.error, nullptr);
    EXPECT_EQ(failed.error->localizedDescription(), "Failed to load all delta updates for QVARoom");
    EXPECT_TRUE(failed.result.isNothing());
}

// The network mark goes off when a request ends, before its models are made
// on the processing queue: whoever waits for the app to settle must still
// see the answer as on its way until its completion has run.
TEST_F(QVAApiManagerTransportTest, AnAnswerIsInProgressFromItsRequestsEndUntilItsCompletionRan) {
    serve("GET", path("room"), json(R"({"id":"7"})"));
    bool completed = false;
    int endsSeen = 0, endsUncovered = 0;
    int marker = 0;
    foundation::NotificationCenter::defaultCenter().addObserver(
        &marker,
        [&](const foundation::Notification&) {
            ++endsSeen;
            if (!completed && QVAApiManager::deliveriesInProgress() == 0) ++endsUncovered;
        },
        kQNNetworkingTaskDidCompleteNotification);
    auto outcome = call([&](auto done) {
        api().GET("room", Value(), false, rooms, [&, done](const foundation::ErrorPtr& error, const Value& result) {
            completed = true;
            done(error, result);
        });
    });
    foundation::RunLoop::main().runUntil([&] { return endsSeen > 0; }, 5);
    foundation::NotificationCenter::defaultCenter().removeObserver(&marker);
    EXPECT_EQ(outcome.error, nullptr);
    EXPECT_EQ(endsSeen, 1);
    EXPECT_EQ(endsUncovered, 0);
    EXPECT_EQ(QVAApiManager::deliveriesInProgress(), 0);
}

TEST_F(QVAApiManagerTransportTest, LoginBodyAndHeader) {
    serve("POST", path("authentication/login"), json(R"({"accessToken":"new","id":"u1"})"));
    auto first = call([&](auto done) {
        api().authenticateWithUsername(std::string("ann\\x"), std::string("p\\w\"d"), done);
    });
    EXPECT_EQ(first.error, nullptr);
    auto account = first.result.objectAs<QVAUserAccount>();
    ASSERT_NE(account, nullptr);
    auto login = *server.lastRequest();
    EXPECT_EQ(login.header("Authorization"), std::nullopt);
    const Value body = bodyOf(login);
    ASSERT_TRUE(body.dictionary());
    EXPECT_EQ(body.dictionary()->size(), 3u);
    EXPECT_EQ(*body["login_type"].string(), "password");
    EXPECT_EQ(*body["username"].string(), "ann\\x");
    EXPECT_EQ(*body["password"].string(), "p\\\\w\"d");

    // A token set by an authenticated call and then cleared stays away.
    serve("GET", path("user/privacy_settings"), json("{}"));
    call([&](auto done) { api().getPrivacySettingsForAuthCode(std::string("old"), done); });
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer old"));
    api().clearAuthorizationHeader();
    call([&](auto done) { api().authenticateByPasscode(std::string("12\\3"), done); });
    auto passcode = *server.lastRequest();
    EXPECT_EQ(passcode.header("Authorization"), std::nullopt);
    EXPECT_EQ(*bodyOf(passcode)["passcode"].string(), "12\\\\3");
    EXPECT_EQ(*bodyOf(passcode)["login_type"].string(), "passcoded");
}

TEST_F(QVAApiManagerTransportTest, TokenGoesToTheServiceOriginOnly) {
    // Another origin: the same host on another port.
    testservice::TestServer other;
    ASSERT_TRUE(other.start());
    auto feed = testservice::Reply::text("<rss><channel></channel></rss>");
    feed.contentType = "application/rss+xml";
    serve(other, "GET", "/version.json", json(R"({"version":"1"})"));
    serve(other, "GET", "/doc.pdf", testservice::Reply::text("%PDF-1.4"));
    serve(other, "GET", "/feed", feed);
    serve(other, "GET", "/api/v1/moved", json("{}"));
    serve(other, "GET", "/files/elsewhere.svg", testservice::Reply::text("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
    // The service protects its feeds and files with the API's token.
    serve("GET", "/feeds/reports", feed);
    serve("GET", "/files/level1.svg", testservice::Reply::text("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
    serve("GET", "/outside", json("{}"));
    serve("GET", "/feeds/moved", testservice::Reply::redirect(302, other.urlFor("/feed")));
    serve("GET", "/files/moved.svg", testservice::Reply::redirect(302, other.urlFor("/files/elsewhere.svg")));
    serve("GET", path("moved"), testservice::Reply::redirect(307, other.urlFor("/api/v1/moved")));
    serve("GET", path("user/privacy_settings"), json("{}"));
    auto lastToken = [&] { return server.lastRequest()->header("Authorization"); };
    const std::optional<std::string> bearer("Bearer secret");

    call([&](auto done) { api().getPrivacySettingsForAuthCode(std::string("secret"), done); });
    ASSERT_EQ(lastToken(), bearer);
    call([&](auto done) {
        api().requestForUrlString(server.urlFor("/outside"), "GET", Value(),
                                  [done](auto error, auto result, auto) { done(error, result); });
    });
    EXPECT_EQ(server.lastRequest()->path, "/outside");
    EXPECT_EQ(lastToken(), bearer);
    auto ownFeed = call([&](auto done) {
        api().getXMLDataFromURL(server.urlFor("/feeds/reports"), std::make_shared<DocumentInfoXMLParserDelegate>(),
                                done);
    });
    EXPECT_EQ(ownFeed.error, nullptr);
    EXPECT_EQ(server.lastRequest()->path, "/feeds/reports");
    EXPECT_EQ(lastToken(), bearer);
    auto ownMap = call([&](auto done) {
        api().streamRequestForRelFileName(std::string("level1.svg"), server.urlFor("/files/level1.svg"), Value(),
                                          std::string("secret"), std::string("E1"), 30, done);
    });
    EXPECT_EQ(ownMap.error, nullptr);
    EXPECT_EQ(server.lastRequest()->path, "/files/level1.svg");
    EXPECT_EQ(lastToken(), bearer);

    // Other origins never see it: asked directly or reached by a redirect.
    call([&](auto done) {
        api().requestForUrlString(other.urlFor("/version.json"), "GET", Value(),
                                  [done](auto error, auto result, auto) { done(error, result); });
    });
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "secret"}})));
    auto document = call([&](auto done) {
        api().getFileFromUrl(other.urlFor("/doc.pdf"), std::string("doc.pdf"), std::nullopt, std::nullopt, done);
    });
    EXPECT_EQ(document.error, nullptr);
    auto parsed = call([&](auto done) {
        api().getXMLDataFromURL(other.urlFor("/feed"), std::make_shared<DocumentInfoXMLParserDelegate>(), done);
    });
    EXPECT_EQ(parsed.error, nullptr);
    auto movedFeed = call([&](auto done) {
        api().getXMLDataFromURL(server.urlFor("/feeds/moved"), std::make_shared<DocumentInfoXMLParserDelegate>(),
                                done);
    });
    EXPECT_EQ(movedFeed.error, nullptr);
    auto movedMap = call([&](auto done) {
        api().streamRequestForRelFileName(std::string("moved.svg"), server.urlFor("/files/moved.svg"), Value(),
                                          std::string("secret"), std::string("E1"), 30, done);
    });
    EXPECT_EQ(movedMap.error, nullptr);
    auto movedCall = call([&](auto done) { api().GET("moved", Value(), false, nullptr, done); });
    EXPECT_EQ(movedCall.error, nullptr);
    // The redirecting hops themselves were on the service's origin.
    EXPECT_EQ(lastToken(), bearer);

    ASSERT_EQ(other.requestCount(), 6u);
    for (const auto& request : other.requests())
        EXPECT_EQ(request.header("Authorization"), std::nullopt) << request.path;
}

TEST_F(QVAApiManagerTransportTest, ParameterTexts) {
    Value::Dictionary collection;
    QVAApiManager::addRequestParameter(Value(12), "n", &collection);
    QVAApiManager::addRequestParameter(Value(), "missing", &collection);
    QVAApiManager::addRequestParameter(Value::null(), "null", &collection);
    QVAApiManager::addRequestParameter(Value("t"), "t", &collection);
    QVAApiManager::addRequestParameter(Value(1), "ignored", nullptr);
    EXPECT_EQ(collection, (Value::Dictionary{{"n", "12"}, {"missing", ""}, {"null", ""}, {"t", "t"}}));
}

}  // namespace
