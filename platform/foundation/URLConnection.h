// A connection-style URL load (the HTTP library's operations use it): one
// request, its delegate told of each step — redirects, trust challenges,
// response, body pieces, upload progress, the end — all on the thread whose
// run loop the connection was scheduled in. Many connections share one curl
// multi handle per such thread.
// With NetworkConditions offline, a start fails with "not connected" (-1009).
// GET responses are kept in the shared URL cache (with the delegate's
// consent) and answer later requests whose cache policy allows it.
// Invariants: start(), cancel() and the challenge answers are called on the
// scheduled thread; after cancel() the delegate hears nothing more; the
// connection holds its delegate until it finished, failed or was cancelled.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "foundation/CachedURLResponse.h"
#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/URLAuthenticationChallenge.h"
#include "foundation/URLRequest.h"

namespace foundation {

class RunLoop;
class URLConnection;
using URLConnectionPtr = std::shared_ptr<URLConnection>;

class URLConnectionDelegate {
public:
    virtual ~URLConnectionDelegate() = default;

    // Answered synchronously through the connection's useCredential,
    // continueWithoutCredential or cancelAuthenticationChallenge. Only server
    // trust is challenged. Unanswered, the standard verification decides.
    virtual void connectionWillSendRequestForAuthenticationChallenge(URLConnection& connection,
                                                                     const URLAuthenticationChallengePtr& challenge) {
        (void)connection;
        (void)challenge;
    }
    virtual bool connectionShouldUseCredentialStorage(URLConnection& connection) {
        (void)connection;
        return true;
    }
    // A redirect: the request to follow it with, or nothing to take the
    // redirect response itself as the response.
    virtual std::optional<URLRequest> connectionWillSendRequest(URLConnection& connection, const URLRequest& request,
                                                                const std::shared_ptr<URLResponse>& redirectResponse) {
        (void)connection;
        (void)redirectResponse;
        return request;
    }
    virtual void connectionDidSendBodyData(URLConnection& connection, int64_t bytesWritten,
                                           int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) {
        (void)connection;
        (void)bytesWritten;
        (void)totalBytesWritten;
        (void)totalBytesExpectedToWrite;
    }
    virtual void connectionDidReceiveResponse(URLConnection& connection, const std::shared_ptr<URLResponse>& response) {
        (void)connection;
        (void)response;
    }
    virtual void connectionDidReceiveData(URLConnection& connection, const Data& data) {
        (void)connection;
        (void)data;
    }
    // Before a GET's response goes to the shared URL cache, just before the
    // load finishes: the response to keep, or none to keep nothing.
    virtual CachedURLResponsePtr connectionWillCacheResponse(URLConnection& connection,
                                                             CachedURLResponsePtr cachedResponse) {
        (void)connection;
        return cachedResponse;
    }
    virtual void connectionDidFinishLoading(URLConnection& connection) { (void)connection; }
    virtual void connectionDidFailWithError(URLConnection& connection, const ErrorPtr& error) {
        (void)connection;
        (void)error;
    }
};

class URLConnection : public std::enable_shared_from_this<URLConnection> {
public:
    // Not started: schedule it, then start it on the scheduled thread.
    static URLConnectionPtr connectionWithRequest(const URLRequest& request,
                                                  std::shared_ptr<URLConnectionDelegate> delegate);
    ~URLConnection();

    // The loop whose thread drives the transfer; the caller's own loop when
    // never scheduled.
    void scheduleInRunLoop(RunLoop& loop);
    void start();
    // Stops the transfer; no delegate call follows.
    void cancel();

    const URLRequest& originalRequest() const { return original_; }
    const URLRequest& currentRequest() const { return current_; }

    // Challenge answers, from inside the delegate's challenge call.
    void useCredential(const URLCredentialPtr& credential, const URLAuthenticationChallengePtr& challenge);
    void continueWithoutCredential(const URLAuthenticationChallengePtr& challenge);
    void cancelAuthenticationChallenge(const URLAuthenticationChallengePtr& challenge);

    struct Transfer;  // the curl side (URLConnection.cpp)

private:
    URLConnection(const URLRequest& request, std::shared_ptr<URLConnectionDelegate> delegate);
    // The load answered by what the cache keeps, as a loaded one would be.
    void answerFromCache(const CachedURLResponsePtr& cached);

    URLRequest original_;
    URLRequest current_;
    std::shared_ptr<URLConnectionDelegate> delegate_;
    RunLoop* loop_ = nullptr;
    bool started_ = false;
    std::unique_ptr<Transfer> transfer_;
    friend struct Transfer;
    friend class URLConnectionDriver;
};

}  // namespace foundation
