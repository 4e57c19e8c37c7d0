// The URL session manager over plain HTTP: where completions run and what the
// completion notification carries, resume and suspend announced for the
// manager's own tasks only, downloads (a file that cannot be moved fails its
// task) and upload progress.
#include <gtest/gtest.h>

#include "SessionManagerTestSupport.h"
#include "foundation/FileManager.h"
#include "foundation/InputStream.h"
#include "foundation/NetworkConditions.h"
#include "support/TemporaryDirectory.h"
#include "foundation/URLErrors.h"
#include "http/QNJSONResponseSerializer.h"
#include "http/QNNetworking.h"
#include "http/QNURLSessionManagerTaskDelegate.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;

namespace {

struct Completion {
    int calls = 0;
    bool onMain = false;
    bool onQueue = false;
    Value object;
    ErrorPtr error;
    dispatch::QueuePtr queue;

    QNURLSessionManager::CompletionHandler handler() {
        return [this](const std::shared_ptr<URLResponse>&, const Value& o, const ErrorPtr& e) {
            std::tie(calls, onMain, onQueue, object, error) =
                std::make_tuple(calls + 1, isMainThread(), queue && queue->isCurrent(), o, e);
        };
    }
};

URLRequest requestFor(const std::string& url) {
    return URLRequest(*URL::URLWithString(url));
}

}  // namespace

TEST(QNURLSessionManager, CompletionsRunWhereAskedAndTheNotificationTellsTheOutcome) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply json = Reply::text(R"({"ok":true})");
    json.contentType = "application/json";
    server.on("GET", "/json", json);
    server.on("GET", "/text", Reply::text("plain"));
    auto manager = QNURLSessionManager::manager();
    EXPECT_EQ(manager->operationQueue()->maxConcurrentOperationCount(), 1);
    EXPECT_EQ(manager->reachabilityManager().get(), &QNNetworkReachabilityManager::sharedManager());
    NotificationLog log({kQNNetworkingTaskDidCompleteNotification});

    Completion onQueue;
    onQueue.queue = dispatch::Queue::createSerial("test.completion");
    manager->setCompletionQueue(onQueue.queue);
    auto task = manager->dataTaskWithRequest(requestFor(server.urlFor("/json")), onQueue.handler());
    EXPECT_EQ(task->taskDescription(), manager->taskDescriptionForSessionTasks());
    task->resume();
    ASSERT_TRUE(waitFor([&] { return !log.about(kQNNetworkingTaskDidCompleteNotification, task).empty(); }));
    EXPECT_TRUE(onQueue.onQueue);
    EXPECT_EQ(onQueue.object, Value::dictionary({{"ok", true}}));
    auto note = log.about(kQNNetworkingTaskDidCompleteNotification, task)[0];
    EXPECT_TRUE(note.onMain);
    const Value& info = note.notification.userInfo;
    EXPECT_EQ(info[kQNNetworkingTaskDidCompleteResponseDataKey], Value(Data::fromString(R"({"ok":true})")));
    EXPECT_EQ(info[kQNNetworkingTaskDidCompleteSerializedResponseKey], onQueue.object);
    EXPECT_EQ(info[kQNNetworkingTaskDidCompleteResponseSerializerKey].object(),
              std::dynamic_pointer_cast<Object>(manager->responseSerializer()));
    EXPECT_FALSE(info[kQNNetworkingTaskDidCompleteErrorKey]);

    // Unset, the completion runs on the main thread; a body the serializer
    // refuses and a transport failure both arrive as the error.
    manager->setCompletionQueue(nullptr);
    Completion text, offline;
    manager->dataTaskWithRequest(requestFor(server.urlFor("/text")), text.handler())->resume();
    ASSERT_TRUE(waitFor([&] { return text.calls == 1; }));
    NetworkConditions::setOffline(true);
    auto offlineTask = manager->dataTaskWithRequest(requestFor(server.urlFor("/json")), offline.handler());
    offlineTask->resume();
    bool noted = waitFor([&] { return !log.about(kQNNetworkingTaskDidCompleteNotification, offlineTask).empty(); });
    NetworkConditions::setOffline(false);
    ASSERT_TRUE(noted);
    EXPECT_TRUE(text.onMain && text.error && text.error->domain() == kQNURLResponseSerializationErrorDomain);
    EXPECT_TRUE(offline.calls == 1 && !offline.object && offline.error);
    EXPECT_EQ(offline.error ? offline.error->code() : 0, URLError::NotConnectedToInternet);
    Value offlineInfo = log.about(kQNNetworkingTaskDidCompleteNotification, offlineTask)[0].notification.userInfo;
    EXPECT_EQ(offlineInfo[kQNNetworkingTaskDidCompleteErrorKey].object(),
              std::const_pointer_cast<Error>(offline.error));
    EXPECT_EQ(offlineInfo[kQNNetworkingTaskDidCompleteResponseDataKey], Value(Data()));
    releaseManager(manager);
}

TEST(QNURLSessionManager, AResponseHeadIsToldBeforeTheCompletion) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply json = Reply::text(R"([1,2])");
    json.contentType = "application/json";
    json.headers.push_back({"Link", "<next>"});
    server.on("GET", "/list", json);
    server.on("GET", "/missing", Reply::text("gone", 404));
    auto manager = QNURLSessionManager::manager();

    for (const char* path : {"/list", "/missing"}) {
        std::atomic<int> heads = 0;
        std::atomic<int64_t> status = 0;
        std::string link;
        bool headFirst = false;
        Completion completion;
        auto handler = completion.handler();
        manager
            ->dataTaskWithRequest(
                requestFor(server.urlFor(path)),
                [&](const std::shared_ptr<URLResponse>& response) {
                    auto http = std::dynamic_pointer_cast<HTTPURLResponse>(response);
                    status = http ? http->statusCode() : 0;
                    link = http ? http->valueForHTTPHeaderField("Link").value_or("") : "";
                    ++heads;
                },
                [&](const std::shared_ptr<URLResponse>& response, const Value& object, const ErrorPtr& error) {
                    headFirst = heads == 1;
                    handler(response, object, error);
                })
            ->resume();
        ASSERT_TRUE(waitFor([&] { return completion.calls == 1; }));
        EXPECT_TRUE(headFirst) << path;
        EXPECT_EQ(heads, 1);
        if (std::string(path) == "/list") {
            EXPECT_EQ(status, 200);
            EXPECT_EQ(link, "<next>");
            EXPECT_EQ(completion.object, Value::array({1, 2}));
        } else {
            EXPECT_EQ(status, 404);
            EXPECT_TRUE(completion.error);
        }
    }
    releaseManager(manager);
}

// Without a response hook the body flows without the head waiting for the
// delegate queue; a hook set later is asked about the next response, and its
// answer stands.
TEST(QNURLSessionManager, AResponseHookDecidesWhetherTheBodyIsTaken) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply json = Reply::text(R"({"ok":true})");
    json.contentType = "application/json";
    server.on("GET", "/json", json);
    auto manager = QNURLSessionManager::manager();
    EXPECT_FALSE(manager->implementsDidReceiveResponse());

    Completion plain;
    manager->dataTaskWithRequest(requestFor(server.urlFor("/json")), plain.handler())->resume();
    ASSERT_TRUE(waitFor([&] { return plain.calls == 1; }));
    EXPECT_EQ(plain.object, Value::dictionary({{"ok", true}}));

    std::atomic<int> asked = 0;
    manager->setDataTaskDidReceiveResponseBlock(
        [&](const URLSessionPtr&, const URLSessionDataTaskPtr&, const std::shared_ptr<URLResponse>&) {
            ++asked;
            return URLSessionResponseDisposition::Cancel;
        });
    EXPECT_TRUE(manager->implementsDidReceiveResponse());
    Completion refused;
    manager->dataTaskWithRequest(requestFor(server.urlFor("/json")), refused.handler())->resume();
    ASSERT_TRUE(waitFor([&] { return refused.calls == 1; }));
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code(), URLError::Cancelled);
    releaseManager(manager);
}

// A listing's pages complete on the processing queue, where their bodies are
// parsed, with no hop to the completion queue; the completion notification
// is still posted on the main thread for whoever listens.
TEST(QNURLSessionManager, ATasksOwnCompletionQueueRunsItsCompletionWhereTheBodyWasParsed) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply json = Reply::text(R"([1,2])");
    json.contentType = "application/json";
    server.on("GET", "/list", json);
    auto manager = QNURLSessionManager::manager();
    NotificationLog log({kQNNetworkingTaskDidCompleteNotification});

    Completion completion;
    completion.queue = QNURLSessionManager::processingQueue();
    auto task = manager->dataTaskWithRequest(requestFor(server.urlFor("/list")), nullptr, completion.handler(),
                                             QNURLSessionManager::processingQueue());
    task->resume();
    ASSERT_TRUE(waitFor([&] { return !log.about(kQNNetworkingTaskDidCompleteNotification, task).empty(); }));
    EXPECT_EQ(completion.calls, 1);
    EXPECT_TRUE(completion.onQueue);
    EXPECT_EQ(completion.object, Value::array({1, 2}));
    EXPECT_TRUE(log.about(kQNNetworkingTaskDidCompleteNotification, task)[0].onMain);
    releaseManager(manager);
}

TEST(QNURLSessionManager, ResumeAndSuspendAreAnnouncedForTheManagersOwnTasks) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply hold;
    hold.neverAnswer = true;
    server.on("GET", "/hold", hold);
    auto mine = QNURLSessionManager::manager();
    auto other = QNURLSessionManager::manager();
    NotificationLog log({kQNNSURLSessionTaskDidResumeNotification, kQNNSURLSessionTaskDidSuspendNotification,
                         kQNNetworkingTaskDidResumeNotification, kQNNetworkingTaskDidSuspendNotification});
    Completion completion;
    auto task = mine->dataTaskWithRequest(requestFor(server.urlFor("/hold")), completion.handler());
    task->resume();
    task->resume();
    EXPECT_EQ(log.about(kQNNSURLSessionTaskDidResumeNotification, task).size(), 1u);  // synchronously
    ASSERT_TRUE(server.waitForRequestCount(1, 10));
    task->suspend();
    task->suspend();
    EXPECT_EQ(log.about(kQNNSURLSessionTaskDidSuspendNotification, task).size(), 1u);
    EXPECT_EQ(mine->tasks(), std::vector<URLSessionTaskPtr>{task});
    EXPECT_EQ(mine->dataTasks().size(), 1u);
    EXPECT_TRUE(mine->uploadTasks().empty() && other->tasks().empty());
    EXPECT_FALSE(mine->tasksForKeyPath("runningTasks"));
    drainMainQueue();
    EXPECT_EQ(log.about(kQNNetworkingTaskDidResumeNotification, task).size(), 1u);
    EXPECT_EQ(log.about(kQNNetworkingTaskDidSuspendNotification, task).size(), 1u);

    // A task the manager did not make is heard by nobody.
    auto foreign = mine->session()->dataTaskWithRequest(requestFor(server.urlFor("/hold")));
    foreign->resume();
    foreign->cancel();
    task->cancel();
    ASSERT_TRUE(waitFor([&] { return completion.calls == 1; }));
    EXPECT_EQ(completion.error->code(), URLError::Cancelled);
    drainMainQueue();
    EXPECT_EQ(log.about(kQNNSURLSessionTaskDidResumeNotification, foreign).size(), 1u);
    EXPECT_TRUE(log.about(kQNNetworkingTaskDidResumeNotification, foreign).empty());
    releaseManager(mine);
    releaseManager(other);
}

TEST(QNURLSessionManager, DownloadsLandAtTheirDestinationOrFailTheTask) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/file", Reply::text("file body"));
    server.on("POST", "/upload", [](const testservice::RecordedRequest& r) { return Reply::text(r.body); });
    TemporaryDirectory folder;
    auto manager = QNURLSessionManager::manager();
    manager->setResponseSerializer(QNHTTPResponseSerializer::serializer());
    NotificationLog log({kQNURLSessionDownloadTaskDidFailToMoveFileNotification});
    URL saved = URL::fileURLWithPath(folder / "saved.txt");
    auto to = [](URL url) { return [url](const URL&, const std::shared_ptr<URLResponse>&) { return url; }; };

    Completion first, second;
    manager->downloadTaskWithRequest(requestFor(server.urlFor("/file")), nullptr, to(saved), first.handler())->resume();
    ASSERT_TRUE(waitFor([&] { return first.calls == 1; }));
    EXPECT_EQ(first.object, Value(saved.absoluteString()));
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(saved.path())->toString(), "file body");
    // The destination is taken now: the move fails, and so does the task.
    auto blocked =
        manager->downloadTaskWithRequest(requestFor(server.urlFor("/file")), nullptr, to(saved), second.handler());
    blocked->resume();
    ASSERT_TRUE(waitFor([&] { return second.calls == 1; }));
    EXPECT_FALSE(second.object);
    EXPECT_EQ(second.error ? second.error->code() : 0, CocoaError::FileWriteFileExists);
    EXPECT_EQ(log.about(kQNURLSessionDownloadTaskDidFailToMoveFileNotification, blocked).size(), 1u);

    // The manager's hook decides before the task's own destination.
    URL hooked = URL::fileURLWithPath(folder / "hooked.txt");
    manager->setDownloadTaskDidFinishDownloadingBlock(
        [hooked](const URLSessionPtr&, const URLSessionDownloadTaskPtr&, const URL&) { return hooked; });
    Completion third;
    bool ownAsked = false;
    auto own = [&](const URL&, const std::shared_ptr<URLResponse>&) {
        return ownAsked = true, std::optional<URL>(saved);
    };
    manager->downloadTaskWithRequest(requestFor(server.urlFor("/file")), nullptr, own, third.handler())->resume();
    ASSERT_TRUE(waitFor([&] { return third.calls == 1; }));
    EXPECT_FALSE(ownAsked);
    EXPECT_EQ(third.object, Value(hooked.absoluteString()));

    // Upload progress: the body's length, or "Content-Length" for a stream.
    QNURLSessionManagerProgressPtr dataProgress, streamProgress;
    Completion fromData, fromStream;
    URLRequest post = requestFor(server.urlFor("/upload"));
    post.setHTTPMethod("POST");
    auto upload = manager->uploadTaskWithRequest(post, Data::fromString("12345"), &dataProgress, fromData.handler());
    EXPECT_EQ(dataProgress->totalUnitCount(), 5);
    upload->resume();
    post.setValue("7", "Content-Length");
    post.setHTTPBodyStream(InputStream::inputStreamWithData(Data::fromString("abcdefg")));
    manager->uploadTaskWithStreamedRequest(post, &streamProgress, fromStream.handler())->resume();
    EXPECT_EQ(streamProgress->totalUnitCount(), 7);
    ASSERT_TRUE(waitFor([&] { return fromData.calls == 1 && fromStream.calls == 1; }));
    EXPECT_EQ(dataProgress->completedUnitCount(), 5);
    EXPECT_EQ(fromStream.object, Value(Data::fromString("abcdefg")));
    releaseManager(manager);
}

TEST(QNURLSessionManager, RoomForABodyFollowsItsHeadWithinBounds) {
    auto response = [](std::initializer_list<std::pair<const char*, const char*>> fields) {
        HTTPHeaders headers;
        for (auto [name, value] : fields) headers.set(name, value);
        return std::make_shared<HTTPURLResponse>(URL::URLWithString("http://h/p"), 200, headers);
    };
    EXPECT_EQ(QNExpectedBodySize(nullptr), 0u);
    EXPECT_EQ(QNExpectedBodySize(response({})), 0u);
    EXPECT_EQ(QNExpectedBodySize(response({{"Content-Length", "0"}})), 0u);
    EXPECT_EQ(QNExpectedBodySize(response({{"Content-Length", "1000"}})), 1000u);
    EXPECT_EQ(QNExpectedBodySize(response({{"Content-Length", "1000"}, {"Content-Encoding", "gzip"}})), 4000u);
    // A head that claims more than any page holds gets a bounded room, and
    // no overflow when the claim is compressed too.
    for (const char* encoding : {"deflate", "gzip"}) {
        EXPECT_EQ(QNExpectedBodySize(response({{"Content-Length", "9223372036854775807"},
                                               {"Content-Encoding", encoding}})),
                  size_t(16) << 20);
    }
    EXPECT_EQ(QNExpectedBodySize(std::make_shared<URLResponse>(std::nullopt, "text/plain", 12, std::nullopt)), 12u);
}
