// What a URL session tells its delegate, on the session's delegate queue, one
// call at a time and in the order things happened. A delegate derives from
// the layers it cares about (session, task, data, download); every method has
// the platform's default behaviour as its body, so a delegate overrides only
// what it needs. Questions (a challenge, a redirect, a response disposition,
// a new body stream) are answered through the completion given, exactly
// once, from any thread, at once or later; the task waits for the answer.
// The session holds its delegate strongly until it has been invalidated.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "foundation/CachedURLResponse.h"
#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/InputStream.h"
#include "foundation/URL.h"
#include "foundation/URLAuthenticationChallenge.h"
#include "foundation/URLRequest.h"

namespace foundation {

class URLSession;
class URLSessionTask;
class URLSessionDataTask;
class URLSessionDownloadTask;
using URLSessionPtr = std::shared_ptr<URLSession>;
using URLSessionTaskPtr = std::shared_ptr<URLSessionTask>;
using URLSessionDataTaskPtr = std::shared_ptr<URLSessionDataTask>;
using URLSessionDownloadTaskPtr = std::shared_ptr<URLSessionDownloadTask>;

// The answer to a response of a data task (the platform's numbers).
enum class URLSessionResponseDisposition {
    Cancel = 0,  // the task fails as cancelled
    Allow = 1,   // the body follows as data
    BecomeDownload = 2,  // the body goes to a file, through a new download task
};

using URLSessionChallengeCompletion = std::function<void(URLSessionAuthChallengeDisposition, URLCredentialPtr)>;

class URLSessionDelegate {
public:
    virtual ~URLSessionDelegate() = default;

    // The last call the session makes; the session lets the delegate go after it.
    virtual void didBecomeInvalidWithError(const URLSessionPtr& session, const ErrorPtr& error) {
        (void)session;
        (void)error;
    }
    // Server trust, when the task-level method leaves it to the session.
    virtual void didReceiveChallenge(const URLSessionPtr& session, const URLAuthenticationChallengePtr& challenge,
                                     URLSessionChallengeCompletion completion) {
        (void)session;
        (void)challenge;
        completion(URLSessionAuthChallengeDisposition::PerformDefaultHandling, nullptr);
    }
    // A background session's last running task has ended and every event
    // before it was delivered. Called only when the delegate says it
    // implements it.
    virtual bool implementsDidFinishEventsForBackgroundURLSession() const { return true; }
    virtual void didFinishEventsForBackgroundURLSession(const URLSessionPtr& session) { (void)session; }
};

class URLSessionTaskDelegate : public virtual URLSessionDelegate {
public:
    // A redirect response arrived; answer the request to follow, or nothing to
    // stop there (the redirect response then becomes the task's response).
    // A delegate that says it does not implement this is not asked, and the
    // redirect is followed.
    virtual bool implementsWillPerformHTTPRedirection() const { return true; }
    virtual void willPerformHTTPRedirection(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                            const std::shared_ptr<HTTPURLResponse>& response, URLRequest newRequest,
                                            std::function<void(std::optional<URLRequest>)> completion) {
        (void)session;
        (void)task;
        (void)response;
        completion(std::move(newRequest));
    }
    // The task-level challenge; by default the session-level method decides.
    virtual void taskDidReceiveChallenge(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                         const URLAuthenticationChallengePtr& challenge,
                                         URLSessionChallengeCompletion completion) {
        (void)task;
        didReceiveChallenge(session, challenge, std::move(completion));
    }
    // A streamed body must be sent again (a redirect that keeps the body);
    // a fresh stream of the same bytes, or none to fail the task.
    virtual void needNewBodyStream(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                   std::function<void(InputStreamPtr)> completion) {
        (void)session;
        (void)task;
        completion(nullptr);
    }
    virtual void didSendBodyData(const URLSessionPtr& session, const URLSessionTaskPtr& task, int64_t bytesSent,
                                 int64_t totalBytesSent, int64_t totalBytesExpectedToSend) {
        (void)session;
        (void)task;
        (void)bytesSent;
        (void)totalBytesSent;
        (void)totalBytesExpectedToSend;
    }
    // Exactly once per task, last; a null error means success.
    virtual void didCompleteWithError(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                      const ErrorPtr& error) {
        (void)session;
        (void)task;
        (void)error;
    }
};

class URLSessionDataDelegate : public virtual URLSessionTaskDelegate {
public:
    // Before the body of a data or upload task; the body waits for the answer.
    // A delegate that says it does not implement this is not asked, and the
    // body follows.
    virtual bool implementsDidReceiveResponse() const { return true; }
    virtual void didReceiveResponse(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                    const std::shared_ptr<URLResponse>& response,
                                    std::function<void(URLSessionResponseDisposition)> completion) {
        (void)session;
        (void)dataTask;
        (void)response;
        completion(URLSessionResponseDisposition::Allow);
    }
    // After BecomeDownload: the data task ends here without a completion call;
    // the download task goes on and completes instead.
    virtual void didBecomeDownloadTask(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                       const URLSessionDownloadTaskPtr& downloadTask) {
        (void)session;
        (void)dataTask;
        (void)downloadTask;
    }
    // The body in pieces, decoded, in order.
    virtual void didReceiveData(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                const Data& data) {
        (void)session;
        (void)dataTask;
        (void)data;
    }
    // Before a GET's response is kept in the session's URL cache: answer the
    // response to keep, or none to keep nothing. A delegate that says it
    // does not implement this is not asked, and the proposed one is kept.
    virtual bool implementsWillCacheResponse() const { return true; }
    virtual void willCacheResponse(const URLSessionPtr& session, const URLSessionDataTaskPtr& dataTask,
                                   CachedURLResponsePtr proposedResponse,
                                   std::function<void(CachedURLResponsePtr)> completion) {
        (void)session;
        (void)dataTask;
        completion(std::move(proposedResponse));
    }
};

class URLSessionDownloadDelegate : public virtual URLSessionTaskDelegate {
public:
    // The body is complete in a temporary file, removed when this returns: move
    // or copy it from here.
    virtual void didFinishDownloadingToURL(const URLSessionPtr& session, const URLSessionDownloadTaskPtr& downloadTask,
                                           const URL& location) = 0;
    virtual void didWriteData(const URLSessionPtr& session, const URLSessionDownloadTaskPtr& downloadTask,
                              int64_t bytesWritten, int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) {
        (void)session;
        (void)downloadTask;
        (void)bytesWritten;
        (void)totalBytesWritten;
        (void)totalBytesExpectedToWrite;
    }
    // A download made from resume data got its response: the file goes on
    // from `fileOffset` (0 when the server sent the whole body again).
    virtual void didResumeAtOffset(const URLSessionPtr& session, const URLSessionDownloadTaskPtr& downloadTask,
                                   int64_t fileOffset, int64_t expectedTotalBytes) {
        (void)session;
        (void)downloadTask;
        (void)fileOffset;
        (void)expectedTotalBytes;
    }
};

}  // namespace foundation
