// URL sessions against the in-process test server: bodies, failures as
// errors, uploads and downloads, redirects, a task's head observer, server
// trust and the session's own life. Delegate calls go to the main queue, so the tests wait by
// running the main loop.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/NetworkConditions.h"
#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/Thread.h"
#include "foundation/URLErrors.h"
#include "foundation/URLSession.h"
#include "support/TemporaryDirectory.h"  // tests/foundation
#include "service/TestCertificateAuthority.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestCertificateAuthority;
using testservice::TestServer;

namespace {

constexpr double kWait = 10.0;

bool waitFor(const std::function<bool()>& predicate) {
    return RunLoop::main().runUntil(predicate, kWait);
}

URLRequest requestFor(const std::string& url) {
    return URLRequest(*URL::URLWithString(url));
}

// Records what the session says, per task, and answers as scripted.
class Recorder : public URLSessionDataDelegate, public URLSessionDownloadDelegate {
public:
    struct TaskLog {
        std::vector<std::string> events;
        std::string body;
        int completions = 0;
        ErrorPtr error;
        std::shared_ptr<URLResponse> response;
        int64_t totalSent = 0;
        int64_t expectedToSend = 0;
        int64_t totalWritten = 0;
        std::string downloaded;
        std::string downloadPath;
    };

    URLSessionResponseDisposition disposition = URLSessionResponseDisposition::Allow;
    // Keeps the disposition's answer for the test to give later.
    bool holdDisposition = false;
    std::function<void(URLSessionResponseDisposition)> heldAnswer;
    bool followRedirects = true;
    std::function<void(const URLAuthenticationChallengePtr&, const URLSessionChallengeCompletion&)> onChallenge;
    OperationQueuePtr expectedQueue = OperationQueue::mainQueue();

    std::map<uint64_t, TaskLog> logs;
    std::vector<URLAuthenticationChallengePtr> challenges;
    std::shared_ptr<HTTPURLResponse> redirectResponse;
    std::optional<URLRequest> proposedRequest;
    URLSessionDownloadTaskPtr becameDownload;
    std::atomic<int> completed{0};
    std::atomic<bool> invalidated{false};
    std::atomic<bool> offQueue{false};

    TaskLog& log(const URLSessionTaskPtr& task) { return logs[task->taskIdentifier()]; }
    bool isDone(const URLSessionTaskPtr& task) { return completedIds.count(task->taskIdentifier()) > 0; }

    void didBecomeInvalidWithError(const URLSessionPtr&, const ErrorPtr&) override {
        check();
        invalidated = true;
    }
    void didReceiveChallenge(const URLSessionPtr&, const URLAuthenticationChallengePtr& challenge,
                             URLSessionChallengeCompletion completion) override {
        check();
        challenges.push_back(challenge);
        if (onChallenge) onChallenge(challenge, completion);
        else completion(URLSessionAuthChallengeDisposition::PerformDefaultHandling, nullptr);
    }
    void willPerformHTTPRedirection(const URLSessionPtr&, const URLSessionTaskPtr& task,
                                    const std::shared_ptr<HTTPURLResponse>& response, URLRequest newRequest,
                                    std::function<void(std::optional<URLRequest>)> completion) override {
        check();
        log(task).events.push_back("redirect " + std::to_string(response->statusCode()));
        redirectResponse = response;
        proposedRequest = newRequest;
        if (followRedirects) completion(std::move(newRequest));
        else completion(std::nullopt);
    }
    void didSendBodyData(const URLSessionPtr&, const URLSessionTaskPtr& task, int64_t, int64_t total,
                         int64_t expected) override {
        check();
        log(task).totalSent = total;
        log(task).expectedToSend = expected;
    }
    void didCompleteWithError(const URLSessionPtr&, const URLSessionTaskPtr& task, const ErrorPtr& error) override {
        check();
        TaskLog& l = log(task);
        l.events.push_back("complete");
        l.completions++;
        l.error = error;
        l.response = task->response();
        completedIds.insert(task->taskIdentifier());
        completed++;
    }
    void didReceiveResponse(const URLSessionPtr&, const URLSessionDataTaskPtr& task,
                            const std::shared_ptr<URLResponse>& response,
                            std::function<void(URLSessionResponseDisposition)> completion) override {
        check();
        log(task).events.push_back("response");
        log(task).response = response;
        if (holdDisposition) heldAnswer = std::move(completion);
        else completion(disposition);
    }
    void didBecomeDownloadTask(const URLSessionPtr&, const URLSessionDataTaskPtr& task,
                               const URLSessionDownloadTaskPtr& download) override {
        check();
        log(task).events.push_back("became download");
        becameDownload = download;
    }
    void didReceiveData(const URLSessionPtr&, const URLSessionDataTaskPtr& task, const Data& data) override {
        check();
        TaskLog& l = log(task);
        if (l.events.empty() || l.events.back() != "data") l.events.push_back("data");
        l.body += data.toString();
    }
    void didFinishDownloadingToURL(const URLSessionPtr&, const URLSessionDownloadTaskPtr& task,
                                   const URL& location) override {
        check();
        TaskLog& l = log(task);
        l.events.push_back("downloaded");
        l.downloadPath = location.path();
        if (auto data = FileManager::defaultManager().contentsAtPath(location.path())) l.downloaded = data->toString();
    }
    void didWriteData(const URLSessionPtr&, const URLSessionDownloadTaskPtr& task, int64_t, int64_t total,
                      int64_t) override {
        check();
        log(task).totalWritten = total;
    }

private:
    void check() {
        if (OperationQueue::currentQueue() != expectedQueue) offQueue = true;
    }
    std::set<uint64_t> completedIds;
};

struct SessionUnderTest {
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    URLSessionPtr session;

    explicit SessionUnderTest(URLSessionConfiguration configuration = URLSessionConfiguration::defaultSessionConfiguration()) {
        session = URLSession::sessionWithConfiguration(configuration, recorder, OperationQueue::mainQueue());
    }
    ~SessionUnderTest() {
        session->invalidateAndCancel();
        waitFor([&] { return recorder->invalidated.load(); });
    }

    // Resumes the task and waits for its completion; the task's log.
    Recorder::TaskLog& run(const URLSessionTaskPtr& task) {
        task->resume();
        EXPECT_TRUE(waitFor([&] { return recorder->isDone(task); })) << task->description();
        return recorder->log(task);
    }
};

int64_t errorCode(const ErrorPtr& error) {
    return error ? error->code() : 0;
}

}  // namespace

TEST(URLSession, DataTasksDeliverTheirBodyAndCompleteOnce) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply hello = Reply::text("hello, world");
    hello.contentType = "text/plain; charset=UTF-8";
    hello.headers.emplace_back("X-Answer", "42");
    server.on("GET", "/hello", hello);
    Reply zipped = Reply::text(std::string(2000, 'z'));
    zipped.contentType = "application/octet-stream";  // a type the server would not compress by itself
    zipped.gzip = true;
    server.on("GET", "/zipped", zipped);
    server.on("*", "/echo", [](const testservice::RecordedRequest& r) {
        return Reply::text(r.method + " " + r.body, 201);
    });

    SessionUnderTest t;
    URLRequest request = requestFor(server.urlFor("/hello?x=1"));
    request.setValue("yes", "X-Test");
    auto task = t.session->dataTaskWithRequest(request);
    EXPECT_EQ(task->state(), URLSessionTask::State::Suspended);
    auto other = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello")));
    EXPECT_NE(task->taskIdentifier(), other->taskIdentifier());
    other->cancel();

    auto& log = t.run(task);
    EXPECT_EQ(log.body, "hello, world");
    EXPECT_EQ(log.completions, 1);
    EXPECT_EQ(log.error, nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"response", "data", "complete"}));
    EXPECT_EQ(task->state(), URLSessionTask::State::Completed);
    EXPECT_EQ(task->countOfBytesReceived(), 12);
    auto response = std::dynamic_pointer_cast<HTTPURLResponse>(task->response());
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 200);
    EXPECT_EQ(response->MIMEType(), "text/plain");
    EXPECT_EQ(response->textEncodingName(), "utf-8");
    EXPECT_EQ(response->valueForHTTPHeaderField("x-answer"), "42");
    EXPECT_EQ(response->url()->absoluteString(), server.urlFor("/hello?x=1"));
    auto recorded = server.lastRequest();
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->path, "/hello?x=1");
    EXPECT_EQ(recorded->header("x-test"), "yes");

    // Compressed on the wire, plain for the delegate.
    auto zippedTask = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/zipped")));
    auto& zippedLog = t.run(zippedTask);
    EXPECT_EQ(zippedLog.body, std::string(2000, 'z'));
    EXPECT_EQ(std::dynamic_pointer_cast<HTTPURLResponse>(zippedTask->response())->valueForHTTPHeaderField("Content-Encoding"),
              "gzip");
    EXPECT_NE(server.lastRequest()->header("Accept-Encoding")->find("gzip"), std::string::npos);

    // Methods and bodies of the request itself.
    URLRequest put = requestFor(server.urlFor("/echo"));
    put.setHTTPMethod("PUT");
    put.setHTTPBody(Data::fromString("payload"));
    auto& putLog = t.run(t.session->dataTaskWithRequest(put));
    EXPECT_EQ(putLog.body, "PUT payload");
    EXPECT_EQ(server.lastRequest()->header("Content-Length"), "7");
    URLRequest head = requestFor(server.urlFor("/hello"));
    head.setHTTPMethod("HEAD");
    auto headTask = t.session->dataTaskWithRequest(head);
    auto& headLog = t.run(headTask);
    EXPECT_EQ(headLog.body, "");
    EXPECT_EQ(std::dynamic_pointer_cast<HTTPURLResponse>(headTask->response())->statusCode(), 200);

    // A session without a delegate loads all the same.
    auto plain = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
    auto quiet = plain->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello")));
    quiet->resume();
    EXPECT_TRUE(waitFor([&] { return quiet->state() == URLSessionTask::State::Completed; }));
    EXPECT_EQ(quiet->error(), nullptr);
    EXPECT_EQ(quiet->countOfBytesReceived(), 12);

    EXPECT_FALSE(t.recorder->offQueue);
    // Nothing more arrives once the session has said it is done.
    t.session->finishTasksAndInvalidate();
    EXPECT_TRUE(waitFor([&] { return t.recorder->invalidated.load(); }));
    EXPECT_EQ(t.recorder->log(task).completions, 1);
    EXPECT_EQ(t.recorder->log(other).completions, 1);
    EXPECT_THROW(t.session->dataTaskWithRequest(request), Exception);
}

// The network thread hands a finished transfer's libcurl handle to the
// session's next one: nothing of the request before may ride along.
TEST(URLSession, ATransferCarriesNothingOfTheSessionsTransferBeforeIt) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("*", "/echo", [](const testservice::RecordedRequest& r) { return Reply::text(r.method + " " + r.body); });
    URLSessionConfiguration configuration;
    configuration.setHTTPMaximumConnectionsPerHost(1);
    SessionUnderTest t(configuration);

    URLRequest remove = requestFor(server.urlFor("/echo"));
    remove.setHTTPMethod("DELETE");
    remove.setValue("once", "X-Only-Once");
    EXPECT_EQ(t.run(t.session->dataTaskWithRequest(remove)).body, "DELETE ");
    EXPECT_EQ(t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/echo")))).body, "GET ");
    EXPECT_FALSE(server.lastRequest()->header("X-Only-Once"));

    URLRequest post = requestFor(server.urlFor("/echo"));
    post.setHTTPMethod("POST");
    post.setHTTPBody(Data::fromString("payload"));
    EXPECT_EQ(t.run(t.session->dataTaskWithRequest(post)).body, "POST payload");
    URLRequest head = requestFor(server.urlFor("/echo"));
    head.setHTTPMethod("HEAD");
    auto headTask = t.session->dataTaskWithRequest(head);
    EXPECT_EQ(t.run(headTask).error, nullptr);
    EXPECT_EQ(server.lastRequest()->method, "HEAD");
    auto& get = t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/echo"))));
    EXPECT_EQ(get.body, "GET ");
    EXPECT_FALSE(server.lastRequest()->header("Content-Length"));

    // A failed transfer's successor loads as any other.
    EXPECT_NE(t.run(t.session->dataTaskWithURL(*URL::URLWithString("http://127.0.0.1:1/echo"))).error, nullptr);
    EXPECT_EQ(t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/echo")))).body, "GET ");
    EXPECT_EQ(server.requestCount(), 6u);
}

TEST(URLSession, ALateDispositionStillGetsTheWholeBodyInOrder) {
    TestServer server;
    ASSERT_TRUE(server.start());
    // One body that fits what is held while the answer is awaited, one that
    // does not and so pauses the transfer until the answer.
    std::string small = "a small page";
    std::string large;
    for (int i = 0; large.size() < 3u << 20; ++i) large += std::to_string(i) + ",";
    server.on("GET", "/small", Reply::text(small));
    Reply big = Reply::text(large);
    big.contentType = "application/octet-stream";
    server.on("GET", "/large", big);

    SessionUnderTest t;
    t.recorder->holdDisposition = true;
    for (const auto& [path, body] : {std::pair{"/small", small}, std::pair{"/large", large}}) {
        auto task = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor(path)));
        task->resume();
        ASSERT_TRUE(waitFor([&] { return t.recorder->heldAnswer != nullptr; })) << path;
        // The answer comes on a later turn of the delegate's queue.
        auto answer = std::move(t.recorder->heldAnswer);
        t.recorder->heldAnswer = nullptr;
        answer(URLSessionResponseDisposition::Allow);
        ASSERT_TRUE(waitFor([&] { return t.recorder->isDone(task); })) << path;
        auto& log = t.recorder->log(task);
        EXPECT_EQ(log.body.size(), body.size()) << path;
        EXPECT_TRUE(log.body == body) << path;
        EXPECT_EQ(log.events, (std::vector<std::string>{"response", "data", "complete"})) << path;
        EXPECT_EQ(task->countOfBytesReceived(), static_cast<int64_t>(body.size())) << path;
    }
}

TEST(URLSession, FailuresArriveAsURLErrors) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply silent;
    silent.neverAnswer = true;
    server.on("GET", "/silent", silent);
    Reply dropped = Reply::text("partial");
    dropped.dropConnection = true;
    server.on("GET", "/dropped", dropped);

    SessionUnderTest t;

    // Cancelled while the server holds the request.
    auto hanging = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/silent")));
    hanging->resume();
    ASSERT_TRUE(server.waitForRequestCount(1, kWait));
    hanging->cancel();
    auto& cancelled = t.run(hanging);
    EXPECT_EQ(errorCode(cancelled.error), URLError::Cancelled);
    EXPECT_EQ(cancelled.error->domain(), kURLErrorDomain);
    EXPECT_EQ(cancelled.error->failingURLString(), server.urlFor("/silent"));
    EXPECT_EQ(hanging->state(), URLSessionTask::State::Completed);

    // Cancelled before it ever started.
    auto never = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/silent")));
    never->cancel();
    EXPECT_TRUE(waitFor([&] { return t.recorder->isDone(never); }));
    EXPECT_EQ(errorCode(t.recorder->log(never).error), URLError::Cancelled);

    // A server that never answers runs into the request's timeout.
    URLRequest impatient = requestFor(server.urlFor("/silent"));
    impatient.setTimeoutInterval(0.5);
    auto& timedOut = t.run(t.session->dataTaskWithRequest(impatient));
    EXPECT_EQ(errorCode(timedOut.error), URLError::TimedOut);
    EXPECT_EQ(timedOut.error->localizedDescription(), "The request timed out.");

    // The connection goes away in the middle of the body.
    auto& lost = t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/dropped"))));
    EXPECT_EQ(errorCode(lost.error), URLError::NetworkConnectionLost);

    // Offline: no request leaves.
    size_t before = server.requestCount();
    NetworkConditions::setOffline(true);
    auto& offline = t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello"))));
    NetworkConditions::setOffline(false);
    EXPECT_EQ(errorCode(offline.error), URLError::NotConnectedToInternet);
    EXPECT_EQ(offline.error->failingURLString(), server.urlFor("/hello"));
    EXPECT_EQ(server.requestCount(), before);

    // Nobody listens, and a scheme that is not loaded here.
    TestServer gone;
    ASSERT_TRUE(gone.start());
    std::string goneURL = gone.urlFor("/x");
    gone.stop();
    auto& refused = t.run(t.session->dataTaskWithURL(*URL::URLWithString(goneURL)));
    EXPECT_EQ(errorCode(refused.error), URLError::CannotConnectToHost);
    auto& unsupported = t.run(t.session->dataTaskWithURL(*URL::URLWithString("ftp://127.0.0.1/file")));
    EXPECT_EQ(errorCode(unsupported.error), URLError::UnsupportedURL);

    // A delegate that refuses the response.
    t.recorder->disposition = URLSessionResponseDisposition::Cancel;
    server.on("GET", "/refused", Reply::text("unwanted"));
    auto& refusedBody = t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/refused"))));
    EXPECT_EQ(errorCode(refusedBody.error), URLError::Cancelled);
    EXPECT_EQ(refusedBody.body, "");
    EXPECT_FALSE(t.recorder->offQueue);
}

TEST(URLSession, UploadsSendAndDownloadsLandInAFile) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("POST", "/upload", [](const testservice::RecordedRequest& r) {
        return Reply::text("got " + std::to_string(r.body.size()));
    });
    std::string big(100000, 'b');
    server.on("GET", "/file", Reply::text(big));
    SessionUnderTest t;
    TemporaryDirectory dir;

    URLRequest post = requestFor(server.urlFor("/upload"));
    post.setHTTPMethod("POST");
    post.setValue("application/octet-stream", "Content-Type");

    auto fromData = t.session->uploadTaskWithRequest(post, Data::fromString("0123456789"));
    EXPECT_EQ(fromData->countOfBytesExpectedToSend(), 10);
    auto& dataLog = t.run(fromData);
    EXPECT_EQ(dataLog.body, "got 10");
    EXPECT_EQ(server.lastRequest()->body, "0123456789");
    EXPECT_EQ(dataLog.totalSent, 10);
    EXPECT_EQ(dataLog.expectedToSend, 10);
    EXPECT_EQ(fromData->countOfBytesSent(), 10);

    std::string path = dir / "upload.bin";
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString(big), path, false));
    auto& fileLog = t.run(t.session->uploadTaskWithRequest(post, URL::fileURLWithPath(path)));
    EXPECT_EQ(fileLog.body, "got 100000");
    EXPECT_EQ(server.lastRequest()->body, big);
    auto& missing = t.run(t.session->uploadTaskWithRequest(post, URL::fileURLWithPath(dir / "missing")));
    EXPECT_EQ(errorCode(missing.error), URLError::FileDoesNotExist);

    // A stream of unknown length goes chunked.
    URLRequest streamed = post;
    streamed.setHTTPBodyStream(InputStream::inputStreamWithData(Data::fromString("streamed body")));
    auto streamTask = t.session->uploadTaskWithStreamedRequest(streamed);
    EXPECT_EQ(streamTask->countOfBytesExpectedToSend(), kURLSessionTransferSizeUnknown);
    auto& streamLog = t.run(streamTask);
    EXPECT_EQ(streamLog.body, "got 13");
    EXPECT_EQ(server.lastRequest()->body, "streamed body");
    EXPECT_EQ(server.lastRequest()->header("Transfer-Encoding"), "chunked");

    // A download: the delegate finds the file; it is gone afterwards.
    auto download = t.session->downloadTaskWithRequest(requestFor(server.urlFor("/file")));
    auto& downloadLog = t.run(download);
    EXPECT_EQ(downloadLog.error, nullptr);
    EXPECT_EQ(downloadLog.events, (std::vector<std::string>{"downloaded", "complete"}));
    EXPECT_EQ(downloadLog.downloaded, big);
    EXPECT_EQ(downloadLog.totalWritten, 100000);
    EXPECT_FALSE(downloadLog.downloadPath.empty());
    EXPECT_FALSE(FileManager::defaultManager().fileExistsAtPath(downloadLog.downloadPath));

    // A data task whose delegate turns it into a download.
    t.recorder->disposition = URLSessionResponseDisposition::BecomeDownload;
    auto turned = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/file")));
    turned->resume();
    ASSERT_TRUE(waitFor([&] { return t.recorder->becameDownload && t.recorder->isDone(t.recorder->becameDownload); }));
    auto& turnedLog = t.recorder->log(t.recorder->becameDownload);
    EXPECT_EQ(turnedLog.downloaded, big);
    EXPECT_EQ(t.recorder->log(turned).completions, 0);
    EXPECT_EQ(turned->state(), URLSessionTask::State::Completed);
    EXPECT_NE(t.recorder->becameDownload->taskIdentifier(), turned->taskIdentifier());
    EXPECT_FALSE(t.recorder->offQueue);
}

TEST(URLSession, RedirectsAreReportedAndFollowed) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/old", Reply::redirect(302, "/new?moved=1"));
    server.on("GET", "/new", Reply::text("new place"));
    server.on("POST", "/form", Reply::redirect(303, server.urlFor("/new")));
    SessionUnderTest t;

    auto task = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/old")));
    auto& log = t.run(task);
    EXPECT_EQ(log.body, "new place");
    EXPECT_EQ(log.events, (std::vector<std::string>{"redirect 302", "response", "data", "complete"}));
    ASSERT_TRUE(t.recorder->redirectResponse);
    EXPECT_EQ(t.recorder->redirectResponse->statusCode(), 302);
    EXPECT_EQ(t.recorder->proposedRequest->url()->absoluteString(), server.urlFor("/new?moved=1"));
    EXPECT_EQ(task->originalRequest().url()->absoluteString(), server.urlFor("/old"));
    EXPECT_EQ(task->currentRequest().url()->absoluteString(), server.urlFor("/new?moved=1"));
    EXPECT_EQ(std::dynamic_pointer_cast<HTTPURLResponse>(task->response())->statusCode(), 200);

    // After a POST, a 303 is fetched with GET and no body.
    URLRequest form = requestFor(server.urlFor("/form"));
    form.setHTTPMethod("POST");
    form.setHTTPBody(Data::fromString("a=1"));
    auto& formLog = t.run(t.session->dataTaskWithRequest(form));
    EXPECT_EQ(formLog.body, "new place");
    EXPECT_EQ(server.lastRequest()->method, "GET");
    EXPECT_EQ(server.lastRequest()->body, "");

    // The delegate may stop: the redirect response is then the answer.
    t.recorder->followRedirects = false;
    size_t before = server.requestCount();
    auto stopped = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/old")));
    auto& stoppedLog = t.run(stopped);
    EXPECT_EQ(stoppedLog.error, nullptr);
    EXPECT_EQ(stoppedLog.body, "moved");
    EXPECT_EQ(std::dynamic_pointer_cast<HTTPURLResponse>(stopped->response())->statusCode(), 302);
    EXPECT_EQ(server.requestCount(), before + 1);
}

// A listing asks for its next page from the head alone: the observer hears
// the final response's head on the network thread, once, after redirects,
// and it is the response the delegate then gets.
TEST(URLSession, AHeadObserverHearsTheFinalHeadOnceOnTheNetworkThread) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/old", Reply::redirect(302, "/new"));
    server.on("GET", "/new", Reply::text("new place"));
    SessionUnderTest t;

    auto task = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/old")));
    std::mutex mutex;
    std::vector<std::shared_ptr<URLResponse>> heads;
    std::atomic<bool> onMain{false};
    task->setHeadObserver([&](const std::shared_ptr<URLResponse>& response) {
        if (isMainThread()) onMain = true;
        std::lock_guard lock(mutex);
        heads.push_back(response);
    });
    auto& log = t.run(task);
    EXPECT_EQ(log.body, "new place");
    EXPECT_FALSE(onMain.load());
    std::lock_guard lock(mutex);
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<HTTPURLResponse>(heads[0])->statusCode(), 200);
    EXPECT_EQ(heads[0], log.response);
}

TEST(URLSession, ServerTrustGoesToTheDelegate) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    TestServer server({authority.serverCertificateFile(), authority.serverKeyFile()});
    ASSERT_TRUE(server.start());
    server.on("GET", "/secure", Reply::text("secret"));
    auto untrustedFiles = authority.makeUntrustedServerCertificate();
    ASSERT_TRUE(untrustedFiles);
    TestServer impostor({untrustedFiles->certificate, untrustedFiles->key});
    ASSERT_TRUE(impostor.start());
    impostor.on("GET", "/secure", Reply::text("fake"));
    TestCertificateAuthority::ScopedTrust trust(authority.caFile());

    SessionUnderTest t;
    auto& log = t.run(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/secure"))));
    EXPECT_EQ(log.error, nullptr);
    EXPECT_EQ(log.body, "secret");
    ASSERT_EQ(t.recorder->challenges.size(), 1u);
    const URLProtectionSpace& space = t.recorder->challenges[0]->protectionSpace();
    EXPECT_EQ(space.authenticationMethod(), kURLAuthenticationMethodServerTrust);
    EXPECT_EQ(space.host(), "127.0.0.1");
    EXPECT_EQ(space.port(), server.port());
    ASSERT_TRUE(space.serverTrust());
    EXPECT_EQ(space.serverTrust()->host(), "127.0.0.1");
    EXPECT_FALSE(space.serverTrust()->certificateChain().empty());
    EXPECT_TRUE(space.serverTrust()->evaluateDefault());
    EXPECT_FALSE(ServerTrust("example.org", space.serverTrust()->certificateChain()).evaluateDefault());

    // Default handling refuses a certificate no trusted authority signed.
    auto& refused = t.run(t.session->dataTaskWithURL(*URL::URLWithString(impostor.urlFor("/secure"))));
    EXPECT_EQ(errorCode(refused.error), URLError::ServerCertificateUntrusted);
    EXPECT_EQ(refused.error->failingURLString(), impostor.urlFor("/secure"));
    ASSERT_EQ(t.recorder->challenges.size(), 2u);
    EXPECT_FALSE(t.recorder->challenges[1]->protectionSpace().serverTrust()->evaluateDefault());

    // The delegate may accept it anyway, or cancel.
    t.recorder->onChallenge = [](const URLAuthenticationChallengePtr& c, const URLSessionChallengeCompletion& done) {
        done(URLSessionAuthChallengeDisposition::UseCredential,
             URLCredential::credentialForTrust(c->protectionSpace().serverTrust()));
    };
    SessionUnderTest accepting;
    accepting.recorder->onChallenge = t.recorder->onChallenge;
    auto& accepted = accepting.run(accepting.session->dataTaskWithURL(*URL::URLWithString(impostor.urlFor("/secure"))));
    EXPECT_EQ(accepted.error, nullptr);
    EXPECT_EQ(accepted.body, "fake");
    SessionUnderTest cancelling;
    cancelling.recorder->onChallenge = [](const URLAuthenticationChallengePtr&, const URLSessionChallengeCompletion& done) {
        done(URLSessionAuthChallengeDisposition::CancelAuthenticationChallenge, nullptr);
    };
    auto& cancelled = cancelling.run(cancelling.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/secure"))));
    EXPECT_EQ(errorCode(cancelled.error), URLError::Cancelled);

    // Without a delegate the standard verdict holds.
    auto plain = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
    auto good = plain->dataTaskWithURL(*URL::URLWithString(server.urlFor("/secure")));
    auto bad = plain->dataTaskWithURL(*URL::URLWithString(impostor.urlFor("/secure")));
    good->resume();
    bad->resume();
    EXPECT_TRUE(waitFor([&] {
        return good->state() == URLSessionTask::State::Completed && bad->state() == URLSessionTask::State::Completed;
    }));
    EXPECT_EQ(good->error(), nullptr);
    EXPECT_EQ(errorCode(bad->error()), URLError::ServerCertificateUntrusted);
}

TEST(URLSession, SessionsKeepTrackOfTheirTasks) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply silent;
    silent.neverAnswer = true;
    server.on("GET", "/silent", silent);
    server.on("GET", "/hello", Reply::text("hello"));

    // The session's own serial queue when none is given.
    auto recorder = std::make_shared<Recorder>();
    auto session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration(), recorder);
    ASSERT_TRUE(session->delegateQueue());
    EXPECT_EQ(session->delegateQueue()->maxConcurrentOperationCount(), 1);
    recorder->expectedQueue = session->delegateQueue();

    std::vector<URLSessionTask::LifecycleEvent> lifecycle;
    std::mutex lifecycleMutex;
    int observer = URLSessionTask::addLifecycleObserver([&](const URLSessionTaskPtr&, URLSessionTask::LifecycleEvent e) {
        std::lock_guard lock(lifecycleMutex);
        lifecycle.push_back(e);
    });
    auto hanging = session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/silent")));
    auto upload = session->uploadTaskWithRequest(requestFor(server.urlFor("/hello")), Data::fromString("x"));
    hanging->resume();
    hanging->resume();  // already running: nothing to announce
    ASSERT_TRUE(server.waitForRequestCount(1, kWait));
    hanging->suspend();
    hanging->suspend();
    EXPECT_EQ(hanging->state(), URLSessionTask::State::Suspended);
    hanging->resume();
    URLSessionTask::removeLifecycleObserver(observer);
    {
        std::lock_guard lock(lifecycleMutex);
        EXPECT_EQ(lifecycle, (std::vector<URLSessionTask::LifecycleEvent>{URLSessionTask::LifecycleEvent::Resumed,
                                                                          URLSessionTask::LifecycleEvent::Suspended,
                                                                          URLSessionTask::LifecycleEvent::Resumed}));
    }

    std::atomic<bool> listed{false};
    size_t dataCount = 0, uploadCount = 0, downloadCount = 0;
    session->getTasksWithCompletionHandler([&](auto data, auto uploads, auto downloads) {
        dataCount = data.size();
        uploadCount = uploads.size();
        downloadCount = downloads.size();
        listed = true;
    });
    ASSERT_TRUE(waitFor([&] { return listed.load(); }));
    EXPECT_EQ(dataCount, 1u);
    EXPECT_EQ(uploadCount, 1u);
    EXPECT_EQ(downloadCount, 0u);

    // Invalidating with cancellation ends both, then the session.
    session->invalidateAndCancel();
    ASSERT_TRUE(waitFor([&] { return recorder->invalidated.load(); }));
    EXPECT_EQ(recorder->completed.load(), 2);
    EXPECT_EQ(errorCode(recorder->log(hanging).error), URLError::Cancelled);
    EXPECT_EQ(errorCode(recorder->log(upload).error), URLError::Cancelled);
    EXPECT_EQ(session->delegate(), nullptr);
    EXPECT_FALSE(recorder->offQueue);

    // finishTasksAndInvalidate lets a running task end first.
    auto finishing = std::make_shared<Recorder>();
    auto second = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration(), finishing,
                                                       OperationQueue::mainQueue());
    auto last = second->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello")));
    last->resume();
    second->finishTasksAndInvalidate();
    ASSERT_TRUE(waitFor([&] { return finishing->invalidated.load(); }));
    EXPECT_EQ(finishing->log(last).body, "hello");
    EXPECT_EQ(finishing->log(last).error, nullptr);
}

TEST(URLSession, ABurstOfRequestsGoesOverTheSessionsFewConnectionsToTheHost) {
    TestServer server;
    ASSERT_TRUE(server.start());
    server.on("GET", "/hello", Reply::text("hello"));
    EXPECT_EQ(URLSessionConfiguration::defaultSessionConfiguration().HTTPMaximumConnectionsPerHost(), 4);

    for (int limit : {4, 2}) {
        SCOPED_TRACE(limit);
        URLSessionConfiguration configuration;
        configuration.setHTTPMaximumConnectionsPerHost(limit);
        server.clearRequests();
        SessionUnderTest t(configuration);
        std::vector<URLSessionDataTaskPtr> tasks;
        for (int i = 0; i < 16; ++i)
            tasks.push_back(t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello"))));
        for (auto& task : tasks) task->resume();
        ASSERT_TRUE(waitFor([&] { return t.recorder->completed.load() == 16; }));
        for (auto& task : tasks) {
            EXPECT_EQ(t.recorder->log(task).body, "hello");
            EXPECT_EQ(t.recorder->log(task).error, nullptr);
        }
        std::set<int> connections;
        for (const auto& request : server.requests()) connections.insert(request.remotePort);
        EXPECT_EQ(server.requestCount(), 16u);
        EXPECT_LE(connections.size(), size_t(limit));
    }
}

TEST(URLSession, TasksBeyondTheMaximumWaitTheirTurnAndCanStillBeCancelledOrTimeOut) {
    TestServer server;
    ASSERT_TRUE(server.start());
    Reply silent;
    silent.neverAnswer = true;
    server.on("GET", "/silent", silent);
    server.on("GET", "/hello", Reply::text("hello"));
    URLSessionConfiguration configuration;
    configuration.setHTTPMaximumConnectionsPerHost(1);
    SessionUnderTest t(configuration);

    auto holding = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/silent")));
    holding->resume();
    ASSERT_TRUE(server.waitForRequestCount(1, kWait));

    // In line behind it.
    auto cancelled = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello")));
    cancelled->resume();
    cancelled->cancel();
    EXPECT_EQ(errorCode(t.run(cancelled).error), URLError::Cancelled);
    URLRequest impatient = requestFor(server.urlFor("/hello"));
    impatient.setTimeoutInterval(0.3);
    EXPECT_EQ(errorCode(t.run(t.session->dataTaskWithRequest(impatient)).error), URLError::TimedOut);
    EXPECT_EQ(server.requestCount(), 1u);

    // Another host has an allowance of its own.
    std::string otherHost = "http://localhost:" + std::to_string(server.port()) + "/hello";
    EXPECT_EQ(t.run(t.session->dataTaskWithURL(*URL::URLWithString(otherHost))).body, "hello");

    // The connection comes free: the next in line goes on.
    auto next = t.session->dataTaskWithURL(*URL::URLWithString(server.urlFor("/hello")));
    next->resume();
    holding->cancel();
    auto& answered = t.run(next);
    EXPECT_EQ(answered.body, "hello");
    EXPECT_EQ(answered.error, nullptr);
    EXPECT_EQ(errorCode(t.recorder->log(holding).error), URLError::Cancelled);
}
