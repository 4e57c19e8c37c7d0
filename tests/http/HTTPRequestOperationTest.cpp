// Connection and HTTP request operations against the local test server:
// downloads to memory and to files, pause and resume with byte ranges,
// cancellation, failing output streams, serializer rejections, batches and
// the start and finish notifications the activity indicator counts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>

#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/Thread.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNNetworkActivityIndicatorManager.h"
#include "http/QNNetworking.h"
#include "service/TestCertificateAuthority.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::RecordedRequest;
using testservice::TestCertificateAuthority;
using testservice::Reply;
using testservice::TestServer;

namespace {

constexpr double kOperationWait = 20;

std::string bodyOfSize(size_t size) {
    std::string body(size, 0);
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
    return body;
}

URLRequest operationRequestFor(const TestServer& server, const std::string& path) {
    return URLRequest(*URL::URLWithString(server.urlFor(path)));
}

std::string operationTempPath(const std::string& name) {
    return "/tmp/qn-operation-" + std::to_string(::getpid()) + "-" + name;
}

// Outcome of one operation's success and failure blocks.
struct OperationOutcome {
    int successes = 0;
    int failures = 0;
    bool onMain = true;
    Value object;
    ErrorPtr error;

    void attach(const QNHTTPRequestOperationPtr& operation) {
        operation->setCompletionBlockWithSuccess(
            [this](const QNHTTPRequestOperationPtr&, const Value& value) {
                onMain = onMain && isMainThread();
                object = value;
                successes++;
            },
            [this](const QNHTTPRequestOperationPtr&, const ErrorPtr& e) {
                onMain = onMain && isMainThread();
                error = e;
                failures++;
            });
    }
    bool done() const { return successes + failures > 0; }
};

// Takes bytes until `limit`, then fails as a full disk does.
class FullDiskStream : public OutputStream {
public:
    explicit FullDiskStream(size_t limit) : limit_(limit) {}
    void open() override {
        if (status_ == StreamStatus::NotOpen) status_ = StreamStatus::Open;
    }
    long write(const uint8_t*, size_t length) override {
        if (taken_ >= limit_) {
            fail(Error::make(kPOSIXErrorDomain, 28));  // ENOSPC
            return -1;
        }
        size_t n = std::min(length, limit_ - taken_);
        taken_ += n;
        return static_cast<long>(n);
    }
    bool hasSpaceAvailable() const override { return status_ == StreamStatus::Open; }

private:
    size_t limit_;
    size_t taken_ = 0;
};

}  // namespace

TEST(HTTPRequestOperation, DownloadsToMemoryAndToFile) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply slow = Reply::text("hello, world");
    slow.stallAfterBytes = 5;
    server.on("GET", "/doc", slow);
    const std::string big = bodyOfSize(200000);
    server.on("GET", "/file", Reply::text(big));

    std::vector<std::string> notifications;
    NotificationCenter::defaultCenter().addObserver(
        &notifications, [&](const Notification& n) { notifications.push_back(n.name); }, "");
    QNNetworkActivityIndicatorManager indicator;
    indicator.setEnabled(true);
    bool shown = false;
    indicator.setIndicatorVisibilityHandler([&](bool visible) { shown = visible; });

    auto memory = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/doc"));
    OperationOutcome memoryOutcome;
    memoryOutcome.attach(memory);
    EXPECT_FALSE(memory->responseObject());  // not finished: nothing computed
    memory->start();
    // On while the body is held back, off once it is done.
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return shown && memory->totalBytesRead() == 5; }, kOperationWait));
    server.resumeStalledReplies();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return memoryOutcome.done(); }, kOperationWait));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return !shown; }, kOperationWait));
    EXPECT_EQ(memoryOutcome.successes, 1);
    EXPECT_TRUE(memoryOutcome.onMain);
    EXPECT_EQ(memory->responseString(), "hello, world");
    EXPECT_EQ(memory->response()->statusCode(), 200);
    EXPECT_EQ(memory->totalBytesRead(), 12);
    EXPECT_EQ(memory->state(), QNOperationState::Finished);

    const std::string path = operationTempPath("download");
    auto file = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/file"));
    file->setOutputStream(OutputStream::outputStreamToFileAtPath(path, false));
    OperationOutcome fileOutcome;
    fileOutcome.attach(file);
    int64_t lastProgress = 0;
    file->setDownloadProgressBlock([&](uint64_t, int64_t total, int64_t expected) {
        EXPECT_TRUE(isMainThread());
        EXPECT_EQ(expected, static_cast<int64_t>(big.size()));
        lastProgress = total;
    });
    file->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return fileOutcome.done(); }, kOperationWait));
    EXPECT_EQ(fileOutcome.successes, 1);
    EXPECT_FALSE(file->responseData());
    EXPECT_TRUE(file->outputStream());
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(path).value_or(Data()).toString(), big);
    RunLoop::main().runUntil([&] { return lastProgress == static_cast<int64_t>(big.size()); }, kOperationWait);
    EXPECT_EQ(lastProgress, static_cast<int64_t>(big.size()));

    RunLoop::main().runUntil([&] { return indicator.activityCount() == 0; }, kOperationWait);
    EXPECT_EQ(indicator.activityCount(), 0);
    NotificationCenter::defaultCenter().removeObserver(&notifications);
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), kQNNetworkingOperationDidStartNotification), 2);
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), kQNNetworkingOperationDidFinishNotification), 2);
    FileManager::defaultManager().removeItemAtPath(path);
}

TEST(HTTPRequestOperation, PausedDownloadResumesWithARange) {
    TestServer server;
    ASSERT_TRUE(server.start());
    const std::string body = bodyOfSize(5000);
    server.on("GET", "/big", [body](const RecordedRequest& request) {
        Reply reply = Reply::resource(request, body, "\"v1\"");
        if (!request.header("Range")) reply.stallAfterBytes = 1024;
        return reply;
    });
    const std::string path = operationTempPath("resumed");
    auto operation = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/big"));
    operation->setOutputStream(OutputStream::outputStreamToFileAtPath(path, false));
    OperationOutcome outcome;
    outcome.attach(operation);
    operation->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return operation->totalBytesRead() == 1024; }, kOperationWait));

    operation->pause();
    EXPECT_TRUE(operation->isPaused());
    EXPECT_FALSE(operation->isReady());
    EXPECT_EQ(operation->request().valueForHTTPHeaderField("Range"), "bytes=1024-");
    EXPECT_EQ(operation->request().valueForHTTPHeaderField("If-Range"), "\"v1\"");
    operation->cancel();  // a paused operation stays paused
    EXPECT_TRUE(operation->isPaused());
    operation->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return outcome.done(); }, kOperationWait));
    // Cancelled while paused: the resumed start ends it as cancelled.
    EXPECT_EQ(outcome.failures, 1);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Cancelled);

    // Again without the cancel: the file is completed from the range.
    auto again = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/big"));
    again->setOutputStream(OutputStream::outputStreamToFileAtPath(path, false));
    OperationOutcome second;
    second.attach(again);
    again->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return again->totalBytesRead() == 1024; }, kOperationWait));
    again->pause();
    again->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return second.done(); }, kOperationWait));
    EXPECT_EQ(second.successes, 1);
    EXPECT_EQ(again->response()->statusCode(), 206);
    auto last = server.lastRequest();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->header("Range"), "bytes=1024-");
    EXPECT_EQ(last->header("If-Range"), "\"v1\"");
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(path).value_or(Data()).toString(), body);

    // A memory download paused before any data asks from 0.
    auto memory = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/nothing"));
    memory->pause();
    EXPECT_EQ(memory->request().valueForHTTPHeaderField("Range"), "bytes=0-");
    OperationOutcome third;
    third.attach(memory);
    memory->cancel();
    memory->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return third.done(); }, kOperationWait));
    EXPECT_EQ(third.error->code(), URLError::Cancelled);
    server.resumeStalledReplies();
    FileManager::defaultManager().removeItemAtPath(path);
}

TEST(HTTPRequestOperation, CancellationAndFailuresCompleteOnce) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/data", Reply::text(bodyOfSize(300000)));
    server.on("GET", "/missing", Reply::text("{\"error\":\"no\"}", 404));

    // Cancelled before start: -999, no request sent, one failure.
    auto cancelled = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/data"));
    OperationOutcome cancelledOutcome;
    cancelledOutcome.attach(cancelled);
    cancelled->cancel();
    cancelled->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return cancelledOutcome.done(); }, kOperationWait));
    EXPECT_EQ(cancelledOutcome.failures, 1);
    EXPECT_EQ(cancelledOutcome.error->code(), URLError::Cancelled);
    EXPECT_EQ(cancelledOutcome.error->domain(), kURLErrorDomain);
    cancelled->cancel();  // finished: nothing changes
    EXPECT_TRUE(cancelled->isFinished());

    // A path under a regular file cannot be written: failure, no success.
    const std::string plain = operationTempPath("plain");
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("x"), plain, false));
    auto unwritable = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/data"));
    unwritable->setOutputStream(OutputStream::outputStreamToFileAtPath(plain + "/file", false));
    OperationOutcome unwritableOutcome;
    unwritableOutcome.attach(unwritable);
    unwritable->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return unwritableOutcome.done(); }, kOperationWait));
    EXPECT_EQ(unwritableOutcome.successes, 0);
    EXPECT_EQ(unwritableOutcome.failures, 1);
    EXPECT_TRUE(unwritableOutcome.error);

    // A write that fails midway (a full disk) fails with the stream's error.
    auto full = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/data"));
    full->setOutputStream(std::make_shared<FullDiskStream>(1000));
    OperationOutcome fullOutcome;
    fullOutcome.attach(full);
    full->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return fullOutcome.done(); }, kOperationWait));
    EXPECT_EQ(fullOutcome.successes, 0);
    ASSERT_TRUE(fullOutcome.error);
    EXPECT_EQ(fullOutcome.error->domain(), kPOSIXErrorDomain);
    EXPECT_EQ(fullOutcome.error->code(), 28);

    // The serializer rejects a 404: its error, from then on the operation's.
    auto rejected = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/missing"));
    OperationOutcome rejectedOutcome;
    rejectedOutcome.attach(rejected);
    rejected->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return rejectedOutcome.done(); }, kOperationWait));
    EXPECT_EQ(rejectedOutcome.failures, 1);
    EXPECT_EQ(rejectedOutcome.error->domain(), kQNURLResponseSerializationErrorDomain);
    EXPECT_EQ(rejected->error(), rejectedOutcome.error);
    EXPECT_FALSE(rejected->QNURLConnectionOperation::error());

    // Nothing runs twice, even given time.
    RunLoop::main().runUntil([] { return false; }, 0.2);
    for (const OperationOutcome* o : {&cancelledOutcome, &unwritableOutcome, &fullOutcome, &rejectedOutcome})
        EXPECT_EQ(o->successes + o->failures, 1);
    FileManager::defaultManager().removeItemAtPath(plain);
}

TEST(HTTPRequestOperation, QueuesGroupsAndBatches) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/a", Reply::text("A"));
    server.on("GET", "/b", Reply::text("B"));

    // A caller's group stays busy until the success block ran on its queue.
    auto group = dispatch::Group::create();
    auto queue = dispatch::Queue::createSerial("test.completion");
    std::atomic<int> ran{0};
    auto operation = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/a"));
    operation->setCompletionGroup(group);
    operation->setCompletionQueue(queue);
    operation->setCompletionBlockWithSuccess(
        [&](const QNHTTPRequestOperationPtr&, const Value&) {
            EXPECT_TRUE(queue->isCurrent());
            ran++;
        },
        nullptr);
    auto operationQueue = OperationQueue::create();
    operationQueue->addOperation(operation);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return ran == 1; }, kOperationWait));
    EXPECT_TRUE(group->wait(kOperationWait));
    EXPECT_EQ(operation->description().rfind("<QNHTTPRequestOperation: 0x", 0), 0u);
    EXPECT_NE(operation->description().find("state: isFinished, cancelled: NO"), std::string::npos);

    // A copy is a fresh, ready operation with the same settings.
    auto copy = std::dynamic_pointer_cast<QNHTTPRequestOperation>(operation->copy());
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->isReady());
    EXPECT_EQ(copy->completionQueue(), queue);
    EXPECT_EQ(copy->request().url(), operation->request().url());
    EXPECT_NE(copy->responseSerializer(), operation->responseSerializer());

    // A batch: progress per operation, then one completion with the list.
    std::vector<std::pair<size_t, size_t>> progress;
    size_t completed = 0;
    auto first = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/a"));
    auto second = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/b"));
    auto batch = QNURLConnectionOperation::batchOfRequestOperations(
        {first, second}, [&](size_t finished, size_t total) { progress.emplace_back(finished, total); },
        [&](const std::vector<std::shared_ptr<QNURLConnectionOperation>>& operations) {
            completed = operations.size();
        });
    ASSERT_EQ(batch.size(), 3u);
    operationQueue->addOperations(batch, false);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return completed == 2; }, kOperationWait));
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress.back().second, 2u);

    bool emptyDone = false;
    auto empty = QNURLConnectionOperation::batchOfRequestOperations(
        {}, nullptr, [&](const std::vector<std::shared_ptr<QNURLConnectionOperation>>& operations) {
            emptyDone = operations.empty();
        });
    ASSERT_EQ(empty.size(), 1u);
    operationQueue->addOperations(empty, false);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return emptyDone; }, kOperationWait));
}

TEST(HTTPRequestOperation, TrustAndRedirects) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    TestServer server({authority.serverCertificateFile(), authority.serverKeyFile()});
    ASSERT_TRUE(server.start());
    server.on("GET", "/secure", Reply::text("secret"));
    server.on("GET", "/old", Reply::redirect(302, "/secure"));
    auto untrusted = authority.makeUntrustedServerCertificate();
    ASSERT_TRUE(untrusted);
    TestServer impostor({untrusted->certificate, untrusted->key});
    ASSERT_TRUE(impostor.start());
    impostor.on("GET", "/secure", Reply::text("fake"));
    TestCertificateAuthority::ScopedTrust trust(authority.caFile());

    // The default policy accepts the trusted chain, and redirects are followed.
    auto trusted = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/old"));
    OperationOutcome trustedOutcome;
    trustedOutcome.attach(trusted);
    trusted->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return trustedOutcome.done(); }, kOperationWait));
    EXPECT_EQ(trustedOutcome.successes, 1);
    EXPECT_EQ(trusted->responseString(), "secret");

    // It refuses the impostor: the challenge is cancelled.
    auto refused = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(impostor, "/secure"));
    OperationOutcome refusedOutcome;
    refusedOutcome.attach(refused);
    refused->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return refusedOutcome.done(); }, kOperationWait));
    EXPECT_EQ(refusedOutcome.failures, 1);
    EXPECT_EQ(refusedOutcome.error->code(), URLError::Cancelled);

    // A challenge block replaces the policy; a redirect block may stop.
    auto accepted = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(impostor, "/secure"));
    accepted->setWillSendRequestForAuthenticationChallengeBlock(
        [](URLConnection& connection, const URLAuthenticationChallengePtr& challenge) {
            connection.useCredential(URLCredential::credentialForTrust(challenge->protectionSpace().serverTrust()),
                                     challenge);
        });
    OperationOutcome acceptedOutcome;
    acceptedOutcome.attach(accepted);
    accepted->start();
    auto stopped = QNHTTPRequestOperation::operationWithRequest(operationRequestFor(server, "/old"));
    stopped->setRedirectResponseBlock(
        [](URLConnection&, const URLRequest&, const std::shared_ptr<URLResponse>&) { return std::nullopt; });
    stopped->responseSerializer()->setAcceptableStatusCodes(std::nullopt);
    OperationOutcome stoppedOutcome;
    stoppedOutcome.attach(stopped);
    stopped->start();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return acceptedOutcome.done() && stoppedOutcome.done(); }, kOperationWait));
    EXPECT_EQ(accepted->responseString(), "fake");
    EXPECT_EQ(stopped->response()->statusCode(), 302);
}
