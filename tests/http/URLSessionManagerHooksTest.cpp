// The session manager's downloads continued from resume data, and the hooks
// it answers for only while they are set: caching and the end of a
// background session's events.
#include <gtest/gtest.h>

#include <atomic>

#include "SessionManagerTestSupport.h"
#include "foundation/FileManager.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/URLCache.h"
#include "foundation/URLErrors.h"
#include "http/QNHTTPResponseSerializer.h"
#include "http/QNHTTPSessionManager.h"
#include "service/TestServer.h"
#include "support/TemporaryDirectory.h"

using namespace foundation;
using testservice::RecordedRequest;
using testservice::Reply;
using testservice::TestServer;

namespace {

struct HooksOutcome {
    int calls = 0;
    bool onMain = false;
    Value object;
    ErrorPtr error;
    QNURLSessionManager::CompletionHandler handler() {
        return [this](const std::shared_ptr<URLResponse>&, const Value& o, const ErrorPtr& e) {
            ++calls;
            onMain = isMainThread();
            object = o;
            error = e;
        };
    }
};

URLRequest hooksRequestFor(const std::string& url) {
    return URLRequest(*URL::URLWithString(url));
}

}  // namespace

TEST(QNURLSessionManagerResume, ADownloadCancelledWithResumeDataContinuesToItsDestination) {
    constexpr size_t kSize = 1024 * 1024;
    std::string body(kSize, '\0');
    for (size_t i = 0; i < kSize; ++i) body[i] = static_cast<char>((i * 7 + i / 4093) & 0xff);
    TestServer server;
    server.on("GET", "/big", [&](const RecordedRequest& request) {
        Reply reply = Reply::resource(request, body, "\"big-1\"");
        if (!request.header("Range")) reply.stallAfterBytes = kSize / 2;
        return reply;
    });
    ASSERT_TRUE(server.start());
    TemporaryDirectory folder;
    auto manager = QNURLSessionManager::manager();
    manager->setResponseSerializer(QNHTTPResponseSerializer::serializer());
    std::atomic<int64_t> written{0};
    manager->setDownloadTaskDidWriteDataBlock(
        [&](const URLSessionPtr&, const URLSessionDownloadTaskPtr&, int64_t, int64_t total, int64_t) { written = total; });
    std::atomic<int64_t> resumedAt{-1};
    manager->setDownloadTaskDidResumeBlock(
        [&](const URLSessionPtr&, const URLSessionDownloadTaskPtr&, int64_t offset, int64_t) { resumedAt = offset; });
    URL saved = URL::fileURLWithPath(folder / "big.bin");
    auto destination = [saved](const URL&, const std::shared_ptr<URLResponse>&) { return saved; };

    HooksOutcome cancelled;
    auto first = manager->downloadTaskWithRequest(hooksRequestFor(server.urlFor("/big")), nullptr, destination,
                                                  cancelled.handler());
    first->resume();
    ASSERT_TRUE(waitFor([&] { return written >= static_cast<int64_t>(kSize / 2); }));
    std::optional<Data> resumeData;
    bool handed = false;
    // Handed over on the session's delegate queue; looked at on the main one.
    first->cancelByProducingResumeData([&](std::optional<Data> data) {
        dispatch::Queue::main()->async([&, data] {
            resumeData = data;
            handed = true;
        });
    });
    ASSERT_TRUE(waitFor([&] { return handed && cancelled.calls == 1; }));
    server.resumeStalledReplies();
    EXPECT_EQ(cancelled.error ? cancelled.error->code() : 0, URLError::Cancelled);
    ASSERT_TRUE(resumeData);

    HooksOutcome finished;
    QNURLSessionManagerProgressPtr progress;
    auto second = manager->downloadTaskWithResumeData(*resumeData, &progress, destination, finished.handler());
    ASSERT_TRUE(second);
    ASSERT_TRUE(progress);
    second->resume();
    ASSERT_TRUE(waitFor([&] { return finished.calls == 1; }));
    EXPECT_FALSE(finished.error) << finished.error->description();
    EXPECT_TRUE(finished.onMain);
    EXPECT_EQ(finished.object, Value(saved.absoluteString()));
    EXPECT_EQ(resumedAt.load(), static_cast<int64_t>(kSize / 2));
    EXPECT_EQ(server.lastRequest()->header("Range").value_or(""), "bytes=" + std::to_string(kSize / 2) + "-");
    EXPECT_EQ(server.lastRequest()->header("If-Range").value_or(""), "\"big-1\"");
    auto file = FileManager::defaultManager().contentsAtPath(saved.path());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->toString() == body) << "the file differs from the original";

    // Garbage resume data: a task that fails, through the completion.
    HooksOutcome garbage;
    auto broken = manager->downloadTaskWithResumeData(Data::fromString("not resume data"), nullptr, destination,
                                                      garbage.handler());
    broken->resume();
    ASSERT_TRUE(waitFor([&] { return garbage.calls == 1; }));
    EXPECT_EQ(garbage.error ? garbage.error->code() : 0, URLError::CannotOpenFile);
    releaseManager(manager);
}

TEST(QNURLSessionManagerHooks, CachingIsTheSessionsUnlessTheHookDecides) {
    TestServer server;
    Reply cacheable = Reply::text("{\"a\":1}");
    cacheable.contentType = "application/json";
    cacheable.headers.emplace_back("Cache-Control", "max-age=600");
    server.on("GET", "/hooked", cacheable);
    server.on("GET", "/plain", cacheable);
    Reply noStore = cacheable;
    noStore.headers = {{"Cache-Control", "max-age=600, no-store"}};
    server.on("GET", "/private", noStore);
    ASSERT_TRUE(server.start());
    auto configuration = URLSessionConfiguration::defaultSessionConfiguration();
    configuration.setURLCache(std::make_shared<URLCache>());
    auto manager = QNURLSessionManager::manager(configuration);
    auto count = [&](const std::string& path) {
        size_t n = 0;
        for (const auto& r : server.requests()) n += r.path == path;
        return n;
    };
    auto get = [&](const std::string& path) {
        HooksOutcome outcome;
        manager->dataTaskWithRequest(hooksRequestFor(server.urlFor(path)), outcome.handler())->resume();
        EXPECT_TRUE(waitFor([&] { return outcome.calls == 1; }));
        return outcome;
    };

    EXPECT_FALSE(manager->implementsWillCacheResponse());
    int asked = 0;
    manager->setDataTaskWillCacheResponseBlock(
        [&](const URLSessionPtr&, const URLSessionDataTaskPtr&, const CachedURLResponsePtr&) {
            ++asked;
            return CachedURLResponsePtr();
        });
    EXPECT_TRUE(manager->implementsWillCacheResponse());
    get("/hooked");
    get("/hooked");
    EXPECT_EQ(count("/hooked"), 2u) << "the hook kept nothing";
    EXPECT_EQ(asked, 2);

    manager->setDataTaskWillCacheResponseBlock(nullptr);
    EXPECT_FALSE(manager->implementsWillCacheResponse());
    HooksOutcome first = get("/plain");
    HooksOutcome second = get("/plain");
    EXPECT_EQ(count("/plain"), 1u) << "without the hook the session keeps the response";
    EXPECT_EQ(second.object, first.object);
    EXPECT_EQ(second.object["a"], Value(1));

    get("/private");
    get("/private");
    EXPECT_EQ(count("/private"), 2u);
    EXPECT_EQ(asked, 2);
    releaseManager(manager);
}

TEST(QNURLSessionManagerHooks, ABackgroundSessionsEndOfEventsReachesTheHookOnTheMainQueue) {
    TestServer server;
    server.on("GET", "/a", Reply::text("a"));
    server.on("GET", "/b", Reply::text("b"));
    ASSERT_TRUE(server.start());
    auto manager =
        QNURLSessionManager::manager(URLSessionConfiguration::backgroundSessionConfigurationWithIdentifier("bg.hooks"));
    int heard = 0;
    bool onMain = false;
    URLSessionPtr heardSession;
    manager->setDidFinishEventsForBackgroundURLSessionBlock([&](const URLSessionPtr& session) {
        ++heard;
        onMain = isMainThread();
        heardSession = session;
    });
    HooksOutcome a, b;
    // Both tasks exist before either runs: a session whose first task ended
    // before the second was made has rightly had nothing left to do once.
    auto taskA = manager->dataTaskWithRequest(hooksRequestFor(server.urlFor("/a")), a.handler());
    auto taskB = manager->dataTaskWithRequest(hooksRequestFor(server.urlFor("/b")), b.handler());
    taskA->resume();
    taskB->resume();
    ASSERT_TRUE(waitFor([&] { return heard > 0 && a.calls == 1 && b.calls == 1; }));
    drainMainQueue();
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(onMain);
    EXPECT_EQ(heardSession, manager->session());

    heardSession.reset();
    releaseManager(manager);
}

namespace {

// An archive as one written where session configurations cannot be archived:
// the background session is named by its identifier alone.
class IdentifierOnlyArchive : public Coding {
public:
    std::string className() const override { return QNHTTPSessionManager::kClassName; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeObject(Value("https://example.org/api/"), "baseURL");
        coder.encodeObject(Value("bg.named"), "identifier");
    }
};

}  // namespace

TEST(QNURLSessionManagerHooks, ArchivesKeepABackgroundSessionsIdentifier) {
    QNRegisterSessionManagerArchiveClasses();
    auto manager = QNHTTPSessionManager::managerWithBaseURL(
        URL::URLWithString("https://example.org/api/"),
        URLSessionConfiguration::backgroundSessionConfigurationWithIdentifier("bg.archived"));
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QNHTTPSessionManager>(
        KeyedArchiver::archivedDataWithRootObject(Value(manager)));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->sessionConfiguration().identifier().value_or(""), "bg.archived");
    auto named = KeyedUnarchiver::unarchiveObjectOfClass<QNHTTPSessionManager>(
        KeyedArchiver::archivedDataWithRootObject(Value(std::make_shared<IdentifierOnlyArchive>())));
    ASSERT_TRUE(named);
    EXPECT_EQ(named->sessionConfiguration().identifier().value_or(""), "bg.named");
    EXPECT_EQ(named->baseURL()->absoluteString(), "https://example.org/api/");
    releaseManager(named);
    releaseManager(restored);
    releaseManager(manager);
}
