// Downloads continued from resume data, the session's URL cache and the
// end-of-events call of background sessions, against the in-process test
// server. Delegate calls go to the main queue; the tests run the main loop.
#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "foundation/FileManager.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/URLCache.h"
#include "foundation/URLSession.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::RecordedRequest;
using testservice::Reply;
using testservice::TestServer;

namespace {

constexpr double kTransferWait = 10.0;
constexpr size_t kFileSize = 1024 * 1024;
constexpr size_t kHalf = kFileSize / 2;

bool waitForTransfer(const std::function<bool()>& predicate) {
    return RunLoop::main().runUntil(predicate, kTransferWait);
}

URLRequest transferRequestFor(const std::string& url) {
    return URLRequest(*URL::URLWithString(url));
}

std::string fileBody() {
    std::string body(kFileSize, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 31 + i / 997) & 0xff);
    return body;
}

class Listener : public URLSessionDataDelegate, public URLSessionDownloadDelegate {
public:
    struct Log {
        bool done = false;
        ErrorPtr error;
        std::string body;
        std::string downloaded;
        int64_t written = 0;
        std::optional<int64_t> resumedAt;
        int64_t resumedExpected = 0;
    };
    std::map<uint64_t, Log> logs;
    // Whether the cache question is asked, and what is answered.
    bool asksAboutCaching = true;
    bool keepsProposedResponse = true;
    int cacheQuestions = 0;
    int backgroundEventsFinished = 0;
    int completionsBeforeFinishedEvents = -1;
    int completions = 0;
    bool offMain = false;

    Log& log(const URLSessionTaskPtr& task) { return logs[task->taskIdentifier()]; }

    void didCompleteWithError(const URLSessionPtr&, const URLSessionTaskPtr& task, const ErrorPtr& error) override {
        check();
        log(task).done = true;
        log(task).error = error;
        ++completions;
    }
    void didReceiveData(const URLSessionPtr&, const URLSessionDataTaskPtr& task, const Data& data) override {
        log(task).body += data.toString();
    }
    void didFinishDownloadingToURL(const URLSessionPtr&, const URLSessionDownloadTaskPtr& task,
                                   const URL& location) override {
        if (auto data = FileManager::defaultManager().contentsAtPath(location.path()))
            log(task).downloaded = data->toString();
    }
    void didWriteData(const URLSessionPtr&, const URLSessionDownloadTaskPtr& task, int64_t, int64_t total,
                      int64_t) override {
        log(task).written = total;
    }
    void didResumeAtOffset(const URLSessionPtr&, const URLSessionDownloadTaskPtr& task, int64_t offset,
                           int64_t expected) override {
        log(task).resumedAt = offset;
        log(task).resumedExpected = expected;
    }
    bool implementsWillCacheResponse() const override { return asksAboutCaching; }
    void willCacheResponse(const URLSessionPtr&, const URLSessionDataTaskPtr&, CachedURLResponsePtr proposed,
                           std::function<void(CachedURLResponsePtr)> completion) override {
        check();
        ++cacheQuestions;
        completion(keepsProposedResponse ? proposed : nullptr);
    }
    void didFinishEventsForBackgroundURLSession(const URLSessionPtr&) override {
        check();
        ++backgroundEventsFinished;
        completionsBeforeFinishedEvents = completions;
    }

private:
    void check() {
        if (OperationQueue::currentQueue() != OperationQueue::mainQueue()) offMain = true;
    }
};

struct Session {
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    URLSessionPtr session;
    explicit Session(URLSessionConfiguration configuration = URLSessionConfiguration::defaultSessionConfiguration()) {
        session = URLSession::sessionWithConfiguration(configuration, listener, OperationQueue::mainQueue());
    }
    ~Session() { session->invalidateAndCancel(); }
    Listener::Log& run(const URLSessionTaskPtr& task) {
        task->resume();
        EXPECT_TRUE(waitForTransfer([&] { return listener->log(task).done; })) << task->description();
        return listener->log(task);
    }
};

// A download of the server's "/file" cancelled once half of it has arrived.
struct HalfDownload {
    std::optional<Data> resumeData;
    bool handed = false;
};

HalfDownload downloadHalf(Session& s, TestServer& server) {
    HalfDownload half;
    auto task = s.session->downloadTaskWithRequest(transferRequestFor(server.urlFor("/file")));
    task->resume();
    EXPECT_TRUE(waitForTransfer([&] { return s.listener->log(task).written >= static_cast<int64_t>(kHalf); }));
    task->cancelByProducingResumeData([&](std::optional<Data> data) {
        half.resumeData = std::move(data);
        half.handed = true;
    });
    EXPECT_TRUE(waitForTransfer([&] { return s.listener->log(task).done; }));
    EXPECT_TRUE(half.handed) << "the resume data comes before the completion";
    EXPECT_EQ(s.listener->log(task).error ? s.listener->log(task).error->code() : 0, URLError::Cancelled);
    server.resumeStalledReplies();
    return half;
}

}  // namespace

TEST(URLSessionResumeData, ACancelledDownloadContinuesWithARangeRequest) {
    const std::string body = fileBody();
    TestServer server;
    server.on("GET", "/file", [&](const RecordedRequest& request) {
        Reply reply = Reply::resource(request, body, "\"v1\"");
        if (!request.header("Range")) reply.stallAfterBytes = kHalf;
        return reply;
    });
    ASSERT_TRUE(server.start());
    Session s;
    HalfDownload half = downloadHalf(s, server);
    ASSERT_TRUE(half.resumeData);

    auto resumed = s.session->downloadTaskWithResumeData(*half.resumeData);
    Listener::Log& log = s.run(resumed);
    EXPECT_FALSE(log.error) << log.error->description();
    auto second = server.lastRequest();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->header("Range").value_or(""), "bytes=" + std::to_string(kHalf) + "-");
    EXPECT_EQ(second->header("If-Range").value_or(""), "\"v1\"");
    EXPECT_EQ(log.resumedAt.value_or(-1), static_cast<int64_t>(kHalf));
    EXPECT_EQ(log.resumedExpected, static_cast<int64_t>(kFileSize));
    EXPECT_EQ(log.written, static_cast<int64_t>(kFileSize));
    EXPECT_TRUE(log.downloaded == body) << "the finished file differs from the original";
    EXPECT_EQ(resumed->countOfBytesReceived(), static_cast<int64_t>(kFileSize));
}

TEST(URLSessionResumeData, AServerThatSendsTheWholeBodyAgainRestartsTheFile) {
    const std::string body = fileBody();
    TestServer server;
    server.on("GET", "/file", [&](const RecordedRequest& request) {
        // Ranges ignored: the whole resource every time.
        Reply reply;
        reply.contentType = "application/octet-stream";
        reply.headers.emplace_back("Last-Modified", "Mon, 07 Dec 2026 10:00:00 GMT");
        reply.body = body;
        if (!request.header("Range")) reply.stallAfterBytes = kHalf;
        return reply;
    });
    ASSERT_TRUE(server.start());
    Session s;
    HalfDownload half = downloadHalf(s, server);
    ASSERT_TRUE(half.resumeData) << "Last-Modified is a validator too";

    auto resumed = s.session->downloadTaskWithResumeData(*half.resumeData);
    Listener::Log& log = s.run(resumed);
    EXPECT_FALSE(log.error);
    EXPECT_EQ(server.lastRequest()->header("If-Range").value_or(""), "Mon, 07 Dec 2026 10:00:00 GMT");
    EXPECT_EQ(log.resumedAt.value_or(-1), 0);
    EXPECT_EQ(log.downloaded.size(), body.size());
    EXPECT_TRUE(log.downloaded == body);
}

TEST(URLSessionResumeData, DataThatCannotBeContinuedFailsCleanly) {
    TestServer server;
    server.on("GET", "/plain", Reply::text("no validator here"));
    ASSERT_TRUE(server.start());
    Session s;

    // Nothing to continue from: no validator, and a task that never started.
    auto plain = s.session->downloadTaskWithRequest(transferRequestFor(server.urlFor("/plain")));
    plain->resume();
    ASSERT_TRUE(waitForTransfer([&] { return s.listener->log(plain).done; }));
    bool handed = false;
    std::optional<Data> none = Data::fromString("x");
    plain->cancelByProducingResumeData([&](std::optional<Data> data) {
        handed = true;
        none = std::move(data);
    });
    ASSERT_TRUE(waitForTransfer([&] { return handed; }));
    EXPECT_FALSE(none) << "a completed task gives no resume data";

    auto unstarted = s.session->downloadTaskWithRequest(transferRequestFor(server.urlFor("/plain")));
    handed = false;
    none = Data::fromString("x");
    unstarted->cancelByProducingResumeData([&](std::optional<Data> data) {
        handed = true;
        none = std::move(data);
    });
    ASSERT_TRUE(waitForTransfer([&] { return handed && s.listener->log(unstarted).done; }));
    EXPECT_FALSE(none);

    // Garbage, a foreign archive, and resume data whose file has gone.
    Value::Dictionary foreign{{"url", Value(server.urlFor("/plain"))}, {"bytesReceived", Value(3)}};
    Value::Dictionary goneFile{{"resumeDataVersion", Value(1)},    {"url", Value(server.urlFor("/plain"))},
                               {"file", Value("/nonexistent/qva")}, {"bytesReceived", Value(3)},
                               {"entityTag", Value("\"t\"")}};
    for (const Data& data : {Data::fromString("garbage"), Data(),
                             KeyedArchiver::archivedDataWithRootObject(Value(std::move(foreign))),
                             KeyedArchiver::archivedDataWithRootObject(Value(std::move(goneFile)))}) {
        size_t before = server.requestCount();
        auto task = s.session->downloadTaskWithResumeData(data);
        ASSERT_TRUE(task);
        Listener::Log& log = s.run(task);
        ASSERT_TRUE(log.error);
        EXPECT_EQ(log.error->domain(), kURLErrorDomain);
        EXPECT_EQ(log.error->code(), URLError::CannotOpenFile);
        EXPECT_EQ(server.requestCount(), before);
    }
}

TEST(URLSessionCache, CacheableResponsesAreKeptOnlyWithTheDelegatesConsent) {
    TestServer server;
    Reply fresh = Reply::text("fresh body");
    fresh.headers.emplace_back("Cache-Control", "max-age=600");
    server.on("GET", "/fresh", fresh);
    Reply noStore = Reply::text("private body");
    noStore.headers.emplace_back("Cache-Control", "no-store, max-age=600");
    server.on("GET", "/private", noStore);
    ASSERT_TRUE(server.start());

    auto countFor = [&](const std::string& path) {
        size_t n = 0;
        for (const auto& r : server.requests()) n += r.path == path;
        return n;
    };
    auto configurationWithOwnCache = [] {
        auto configuration = URLSessionConfiguration::defaultSessionConfiguration();
        configuration.setURLCache(std::make_shared<URLCache>());
        return configuration;
    };

    {
        // Not asked: the proposed response is kept and answers the second GET.
        Session s(configurationWithOwnCache());
        s.listener->asksAboutCaching = false;
        Listener::Log& first = s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/fresh"))));
        Listener::Log& second = s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/fresh"))));
        EXPECT_EQ(countFor("/fresh"), 1u);
        EXPECT_EQ(first.body, "fresh body");
        EXPECT_EQ(second.body, "fresh body");
        EXPECT_FALSE(second.error);
        EXPECT_EQ(s.listener->cacheQuestions, 0);

        // A request that ignores the cache loads again.
        URLRequest reload = transferRequestFor(server.urlFor("/fresh"));
        reload.setCachePolicy(URLRequest::CachePolicy::ReloadIgnoringLocalCacheData);
        s.run(s.session->dataTaskWithRequest(reload));
        EXPECT_EQ(countFor("/fresh"), 2u);
    }
    {
        // Asked, and answering nothing: nothing is kept.
        Session s(configurationWithOwnCache());
        s.listener->keepsProposedResponse = false;
        s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/fresh"))));
        s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/fresh"))));
        EXPECT_EQ(countFor("/fresh"), 4u);
        EXPECT_EQ(s.listener->cacheQuestions, 2);
        EXPECT_FALSE(s.listener->offMain);
    }
    {
        // "no-store" is never kept, not even offered.
        Session s(configurationWithOwnCache());
        s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/private"))));
        s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/private"))));
        EXPECT_EQ(countFor("/private"), 2u);
        EXPECT_EQ(s.listener->cacheQuestions, 0);
    }
}

TEST(URLSessionCache, TheDefaultPolicyWantsAFreshResponseTheReturnPoliciesTakeAnyKept) {
    TestServer server;
    server.on("GET", "/stale", Reply::text("no freshness given"));
    ASSERT_TRUE(server.start());
    auto configuration = URLSessionConfiguration::defaultSessionConfiguration();
    auto cache = std::make_shared<URLCache>();
    configuration.setURLCache(cache);
    Session s(configuration);

    URLRequest onlyCache = transferRequestFor(server.urlFor("/stale"));
    onlyCache.setCachePolicy(URLRequest::CachePolicy::ReturnCacheDataDontLoad);
    Listener::Log& missing = s.run(s.session->dataTaskWithRequest(onlyCache));
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->code(), URLError::ResourceUnavailable);
    EXPECT_EQ(server.requestCount(), 0u);

    s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/stale"))));
    s.run(s.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/stale"))));
    EXPECT_EQ(server.requestCount(), 2u) << "kept, but not fresh";
    EXPECT_TRUE(cache->cachedResponseForRequest(transferRequestFor(server.urlFor("/stale"))));

    URLRequest elseLoad = transferRequestFor(server.urlFor("/stale"));
    elseLoad.setCachePolicy(URLRequest::CachePolicy::ReturnCacheDataElseLoad);
    Listener::Log& cached = s.run(s.session->dataTaskWithRequest(elseLoad));
    EXPECT_EQ(cached.body, "no freshness given");
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST(URLCache, KeepsGETResponsesWithinItsCapacity) {
    URLCache cache(2000);
    auto response = std::make_shared<HTTPURLResponse>(200);
    URLRequest a = transferRequestFor("http://example.test/a");
    URLRequest b = transferRequestFor("http://example.test/b");
    URLRequest post = transferRequestFor("http://example.test/a");
    post.setHTTPMethod("POST");
    cache.storeCachedResponse(std::make_shared<CachedURLResponse>(response, Data(std::string(90, 'a').data(), 90)), a);
    EXPECT_TRUE(cache.cachedResponseForRequest(a));
    EXPECT_FALSE(cache.cachedResponseForRequest(post));
    cache.storeCachedResponse(std::make_shared<CachedURLResponse>(response, Data(std::string(101, 'b').data(), 101)), b);
    EXPECT_FALSE(cache.cachedResponseForRequest(b)) << "more than a twentieth of the capacity";
    cache.storeCachedResponse(std::make_shared<CachedURLResponse>(response, Data(std::string(100, 'b').data(), 100)), b);
    EXPECT_EQ(cache.currentMemoryUsage(), 190u);
    cache.setMemoryCapacity(150);
    EXPECT_FALSE(cache.cachedResponseForRequest(a)) << "the least recently used goes first";
    EXPECT_TRUE(cache.cachedResponseForRequest(b));
    cache.removeAllCachedResponses();
    EXPECT_EQ(cache.currentMemoryUsage(), 0u);
}

TEST(URLSessionBackground, TheDelegateHearsOnceWhenTheLastTaskHasEnded) {
    TestServer server;
    server.on("GET", "/one", Reply::text("1"));
    server.on("GET", "/two", Reply::text("2"));
    ASSERT_TRUE(server.start());
    Session background(URLSessionConfiguration::backgroundSessionConfigurationWithIdentifier("com.quovana.test.bg"));
    auto one = background.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/one")));
    auto two = background.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/two")));
    one->resume();
    two->resume();
    ASSERT_TRUE(waitForTransfer([&] { return background.listener->backgroundEventsFinished > 0; }));
    EXPECT_EQ(background.listener->completionsBeforeFinishedEvents, 2);
    EXPECT_EQ(background.listener->backgroundEventsFinished, 1);
    EXPECT_FALSE(background.listener->offMain);

    Session plain;
    plain.run(plain.session->dataTaskWithRequest(transferRequestFor(server.urlFor("/one"))));
    EXPECT_EQ(plain.listener->backgroundEventsFinished, 0);
}
