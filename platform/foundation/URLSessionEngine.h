// The one network thread behind every URL session (internal to URL
// loading): it drives a curl multi handle for all transfers, turns what
// libcurl reports into task state and delegate events, and waits for the
// delegate's answers without ever blocking. Commands reach it by posting to
// its run loop, from any thread.
// Invariants: transfers, curl handles and session connection caches are
// touched on the network thread only; a task completes exactly once; a
// session never has more transfers in the multi handle for one host than its
// configuration's per-host maximum, and the ones waiting for a connection
// start in the order they came to wait; every
// task with a transfer is kept alive by the engine until it completes; at
// process exit the thread is stopped before the TLS library is torn down.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Error.h"
#include "foundation/InputStream.h"
#include "foundation/URLAuthenticationChallenge.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionDelegate.h"
#include "foundation/URLSessionTask.h"

namespace foundation {

class Thread;
struct URLTransfer;

class URLSessionEngine {
public:
    static URLSessionEngine& shared();

    void startTask(URLSessionTaskPtr task);
    void cancelTask(URLSessionTaskPtr task);
    void setTaskSuspended(URLSessionTaskPtr task, bool suspended);
    // Cancels a download, keeping what it received as resume data when it
    // can be continued; the handler runs on the delegate queue before the
    // task's completion.
    void cancelTaskProducingResumeData(URLSessionTaskPtr task,
                                       std::function<void(std::optional<Data>)> completionHandler);
    // A session's connection cache, released once its session is gone.
    void releaseShare(void* share);

    // While one lives, what the calling thread asks of the network thread
    // wakes it once, at the batch's end: a delegate's answers to one event (a
    // disposition, a request it starts) cost one wake instead of one each.
    // Nested batches join the outer one.
    class PostBatch {
    public:
        PostBatch();
        ~PostBatch();
        PostBatch(const PostBatch&) = delete;
        PostBatch& operator=(const PostBatch&) = delete;

    private:
        bool wakeOwed_ = false;
        bool outermost_;
    };

    // libcurl's and OpenSSL's callbacks (network thread).
    static size_t onHeader(char* buffer, size_t size, size_t count, void* transfer);
    static size_t onBody(char* buffer, size_t size, size_t count, void* transfer);
    static size_t onRead(char* buffer, size_t size, size_t count, void* transfer);
    static int onSeek(void* transfer, int64_t offset, int origin);
    static int onSSLContext(void* easy, void* sslContext, void* transferId);
    static int verifyChain(void* storeContext, void* transferId);

private:
    URLSessionEngine();
    // False once the engine has stopped (process exit).
    bool post(std::function<void()> work);
    void wake();
    void run();
    void stop();

    void begin(URLSessionTaskPtr task);
    bool startHop(URLSessionTaskPtr task);
    bool prepareBody(const URLSessionTaskPtr& task, URLTransfer& t);
    void transferDone(void* easy, int result);
    void checkTimeouts();
    long millisecondsToNextTimeout() const;
    void applyPause(URLTransfer& t);
    void releaseCurl(URLTransfer& t);
    // An easy handle for a transfer of the session whose connection cache
    // is `share`: one its last transfer left, reset, or a new one.
    void* takeEasy(void* share);
    void releaseIdleEasy(void* share);
    // The transfer goes into the multi handle once its session has a
    // connection to the host free; false when it waits in the host's line.
    bool enterMulti(const URLSessionTaskPtr& task, URLTransfer& t);
    void addToMulti(URLTransfer& t);
    // Gives back the transfer's connection, or its place in the line.
    void releaseConnection(URLTransfer& t);
    // Starts the waiting transfers whose hosts have a connection free again.
    void admitWaiting();
    void* makeShare();

    // False when the transfer must stop (a download file could not be made).
    bool headersDone(URLTransfer& t);
    // Hands the response to the task (and asks a data delegate what to do);
    // false when a download's file could not be made.
    bool beginResponse(const URLSessionTaskPtr& task);
    bool deliverBody(URLTransfer& t, const uint8_t* bytes, size_t length);
    void flushHeldBody(URLTransfer& t);
    void succeed(URLSessionTaskPtr task);
    void finish(URLSessionTaskPtr task, ErrorPtr error);
    ErrorPtr errorFor(const URLSessionTask& task, int64_t code, ErrorPtr underlying = nullptr) const;

    // Resume data and the URL cache (URLSessionEngine_ResumeAndCache.cpp).
    // A download made from resume data opens its file where it stopped and
    // asks for the rest; false when it failed (and was finished).
    bool prepareResumedDownload(const URLSessionTaskPtr& task);
    // The response of a resumed download: go on (206) or start the file again.
    void continueResumedDownload(const URLSessionTaskPtr& task, URLTransfer& t);
    std::optional<Data> takeResumeData(const URLSessionTask& task, URLTransfer& t);
    // True when the task was answered from (or, with its policy, failed
    // for want of) the cache.
    bool answerFromCache(const URLSessionTaskPtr& task);
    // Whether the response just begun may go to the cache.
    void decideCacheability(const URLSessionTask& task, URLTransfer& t);
    void keepForCache(URLTransfer& t, const uint8_t* bytes, size_t length);
    void offerToCache(const URLSessionTaskPtr& task, URLTransfer& t);

    void redirect(URLSessionTaskPtr task);
    void onRedirectAnswer(URLSessionTaskPtr task, std::optional<URLRequest> request);
    void stopRedirect(URLSessionTaskPtr task);
    void onBodyStreamAnswer(URLSessionTaskPtr task, InputStreamPtr stream);
    void onDisposition(URLSessionTaskPtr task, URLSessionResponseDisposition disposition);
    URLSessionTaskPtr becomeDownload(URLSessionTaskPtr dataTask);
    bool openDownloadFile(URLTransfer& t);
    void askTrust(URLSessionTaskPtr task);
    void onTrustAnswer(URLSessionTaskPtr task, URLSessionAuthChallengeDisposition disposition,
                       URLCredentialPtr credential);

    // Runs `event` on the task's session's delegate queue, in order, with
    // the delegate (null when the session has none).
    static void deliver(const URLSessionTask& task,
                        std::function<void(const URLSessionPtr&, URLSessionDelegate*)> event);
    URLSessionTaskPtr activeTask(uint64_t transferId) const;

    std::shared_ptr<Thread> thread_;
    void* multi_ = nullptr;  // CURLM*
    uint64_t nextTransferId_ = 1;
    std::map<uint64_t, URLSessionTaskPtr> active_;
    std::set<void*> shares_;  // CURLSH* of sessions
    // Easy handles whose transfers ended, by the share they were used with,
    // for that session's next transfers: a handle made and torn down per
    // request cost the thread more than the request's own set-up. A session
    // never gets another's (nor its TLS state); none are kept once the
    // thread has stopped.
    std::map<void*, std::vector<void*>> idleEasy_;
    bool keepsIdleEasy_ = true;
    // The network thread posted to its own loop during this turn.
    bool postedFromOwnThread_ = false;

    // Connections in use per session and host, and the transfers waiting
    // for one, by transfer id.
    struct HostConnections {
        int inUse = 0;
        int limit = 1;
        std::deque<uint64_t> waiting;
    };
    std::map<std::pair<const void*, std::string>, HostConnections> hostConnections_;
    bool connectionsFreed_ = false;

    std::mutex stopMutex_;
    std::condition_variable stoppedCondition_;
    bool stopRequested_ = false;
    bool stopped_ = false;
};

}  // namespace foundation
