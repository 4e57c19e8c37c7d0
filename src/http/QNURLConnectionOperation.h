// A queueable operation that loads one URL request over a URL connection.
// Every connection of every operation runs on the one "QNNetworking" thread;
// the body goes into an output stream (memory unless the caller sets one),
// progress and the start and finish notifications reach the main queue, and
// the completion block runs on the completion queue inside a dispatch group.
// The operation drives its own state (ready, executing, paused, finished)
// and can be cancelled, paused and resumed.
// Invariants: state changes follow the allowed table and are announced to
// queues; finished is final; the recursive lock guards state, streams,
// response data and the completion block; connection work and delegate calls
// happen on the network thread only; totalBytesRead changes on the main queue.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Charset.h"
#include "foundation/InputStream.h"
#include "foundation/Operation.h"
#include "foundation/OutputStream.h"
#include "foundation/URLConnection.h"
#include "foundation/Value.h"

namespace foundation {
class Coding;
class KeyedArchiver;
class KeyedUnarchiver;
class Thread;
}  // namespace foundation
class QNSecurityPolicy;

enum class QNOperationState : int { Paused = -1, Ready = 1, Executing = 2, Finished = 3 };

class QNURLConnectionOperation : public foundation::Operation, public foundation::URLConnectionDelegate {
public:
    using UploadProgressBlock = std::function<void(int64_t bytesWritten, int64_t totalBytesWritten,
                                                   int64_t totalBytesExpectedToWrite)>;
    using DownloadProgressBlock =
        std::function<void(uint64_t bytesRead, int64_t totalBytesRead, int64_t totalBytesExpectedToRead)>;
    using AuthenticationChallengeBlock =
        std::function<void(foundation::URLConnection&, const foundation::URLAuthenticationChallengePtr&)>;
    // (connection, proposed response) → the response to keep, or none.
    using CacheResponseBlock = std::function<foundation::CachedURLResponsePtr(
        foundation::URLConnection&, const foundation::CachedURLResponsePtr&)>;
    using RedirectResponseBlock = std::function<std::optional<foundation::URLRequest>(
        foundation::URLConnection&, const foundation::URLRequest&, const std::shared_ptr<foundation::URLResponse>&)>;

    // Use make_shared (or the factory): the operation hands itself to the
    // network thread.
    explicit QNURLConnectionOperation(foundation::URLRequest request);
    static std::shared_ptr<QNURLConnectionOperation> operationWithRequest(foundation::URLRequest request);
    ~QNURLConnectionOperation() override;
    std::string className() const override { return "QNURLConnectionOperation"; }

    // The shared network thread, started on first use.
    static foundation::Thread& networkRequestThread();

    foundation::URLRequest request() const;
    std::shared_ptr<foundation::URLResponse> response() const;
    // The transport error, the cancellation error or a stream error.
    virtual foundation::ErrorPtr error() const;
    std::optional<foundation::Data> responseData() const;
    std::optional<std::string> responseString();
    foundation::StringEncoding responseStringEncoding();
    QNOperationState state() const;
    int64_t totalBytesRead() const;

    bool shouldUseCredentialStorage() const;
    void setShouldUseCredentialStorage(bool use);
    foundation::URLCredentialPtr credential() const;
    void setCredential(foundation::URLCredentialPtr credential);
    std::shared_ptr<QNSecurityPolicy> securityPolicy() const;
    void setSecurityPolicy(std::shared_ptr<QNSecurityPolicy> policy);

    // The request's body stream; setting one replaces the request.
    foundation::InputStreamPtr inputStream() const;
    void setInputStream(foundation::InputStreamPtr stream);
    // Made to memory on first use when none was set.
    foundation::OutputStreamPtr outputStream();
    void setOutputStream(foundation::OutputStreamPtr stream);

    dispatch::QueuePtr completionQueue() const;
    void setCompletionQueue(dispatch::QueuePtr queue);
    dispatch::GroupPtr completionGroup() const;
    void setCompletionGroup(dispatch::GroupPtr group);
    foundation::Value userInfo() const;
    void setUserInfo(foundation::Value userInfo);

    void start() override;
    void cancel() override;
    virtual void pause();
    void resume();
    bool isPaused() const;
    bool isReady() const override;
    bool isExecuting() const override;
    bool isFinished() const override;
    bool isConcurrent() const override { return true; }

    // The application's background task the operation holds (0: none).
    uint64_t backgroundTaskIdentifier() const;
    // Begins one background task unless one is held (a second call keeps the
    // first). When the system takes the time back, the handler runs, the
    // operation is cancelled and the task ends; an operation destroyed while
    // holding its task ends it.
    void setShouldExecuteAsBackgroundTaskWithExpirationHandler(std::function<void()> handler);

    // Runs the block on the completion queue (main by default) inside the
    // completion group (a shared one by default) once the operation finished.
    void setCompletionBlock(std::function<void()> block);

    void setUploadProgressBlock(UploadProgressBlock block);
    void setDownloadProgressBlock(DownloadProgressBlock block);
    // The blocks as set (empty when none), so a caller can chain onto them.
    UploadProgressBlock uploadProgressBlock() const;
    DownloadProgressBlock downloadProgressBlock() const;
    // Replaces the built-in challenge handling.
    void setWillSendRequestForAuthenticationChallengeBlock(AuthenticationChallengeBlock block);
    void setRedirectResponseBlock(RedirectResponseBlock block);
    // Decides what the URL cache keeps; without it, a cancelled operation
    // keeps nothing and any other keeps the proposed response.
    void setCacheResponseBlock(CacheResponseBlock block);

    // The operations followed by one that runs once all of them completed;
    // progress gets (finished so far, count) after each one's completion.
    static std::vector<foundation::OperationPtr> batchOfRequestOperations(
        const std::vector<std::shared_ptr<QNURLConnectionOperation>>& operations,
        std::function<void(size_t finished, size_t total)> progressBlock,
        std::function<void(const std::vector<std::shared_ptr<QNURLConnectionOperation>>&)> completionBlock);

    std::string description() const override;

    // A new operation of the same kind for the same request with the same
    // blocks, completion queue and group.
    virtual std::shared_ptr<QNURLConnectionOperation> copy() const;

    // The archived form: pauses the operation first, then writes "request",
    // "state" (ready for an executing or paused operation), "response",
    // "error", "responseData" and "totalBytesRead". An operation is no
    // Coding object itself (it is an Operation); archivable() gives the one
    // that writes it, under the operation's class name.
    static bool supportsSecureCoding() { return true; }
    virtual void encodeWithCoder(foundation::KeyedArchiver& coder);
    std::shared_ptr<foundation::Coding> archivable();
    // A new ready operation for the archived request with the archived
    // response, error, data and count (the state goes through the state
    // rules, so a finished one comes back ready).
    static std::shared_ptr<QNURLConnectionOperation> initWithCoder(const foundation::KeyedUnarchiver& coder);
    // Registers both operation classes, and what their archives hold, with
    // the keyed unarchiver; idempotent.
    static void registerArchiveClasses();

    // Connection delegate (network thread).
    void connectionWillSendRequestForAuthenticationChallenge(
        foundation::URLConnection& connection, const foundation::URLAuthenticationChallengePtr& challenge) override;
    bool connectionShouldUseCredentialStorage(foundation::URLConnection& connection) override;
    std::optional<foundation::URLRequest> connectionWillSendRequest(
        foundation::URLConnection& connection, const foundation::URLRequest& request,
        const std::shared_ptr<foundation::URLResponse>& redirectResponse) override;
    void connectionDidSendBodyData(foundation::URLConnection& connection, int64_t bytesWritten,
                                   int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) override;
    void connectionDidReceiveResponse(foundation::URLConnection& connection,
                                      const std::shared_ptr<foundation::URLResponse>& response) override;
    void connectionDidReceiveData(foundation::URLConnection& connection, const foundation::Data& data) override;
    foundation::CachedURLResponsePtr connectionWillCacheResponse(
        foundation::URLConnection& connection, foundation::CachedURLResponsePtr cachedResponse) override;
    void connectionDidFinishLoading(foundation::URLConnection& connection) override;
    void connectionDidFailWithError(foundation::URLConnection& connection, const foundation::ErrorPtr& error) override;

protected:
    std::recursive_mutex& lock() const { return lock_; }
    void setRequest(foundation::URLRequest request);
    // Bytes the output stream took since it was set (where a resumed body continues).
    uint64_t bytesWrittenToOutputStream() const;
    void copyInto(QNURLConnectionOperation& target) const;
    // The fields initWithCoder reads after the request.
    void decodeArchivedFields(const foundation::KeyedUnarchiver& coder);
    std::shared_ptr<QNURLConnectionOperation> self();

private:
    void setState(QNOperationState state);
    void performOnNetworkThread(void (QNURLConnectionOperation::*work)());
    void operationDidStart();
    void operationDidPause();
    void cancelConnection();
    void finish();
    void endLoading();
    void postNotification(const char* name);
    void failFromStream(foundation::URLConnection& connection, foundation::ErrorPtr error);
    void endBackgroundTaskOnDestruction();

    mutable std::recursive_mutex lock_;
    QNOperationState state_ = QNOperationState::Ready;
    foundation::URLRequest request_;
    std::shared_ptr<foundation::URLResponse> response_;
    foundation::ErrorPtr error_;
    std::optional<foundation::Data> responseData_;
    std::optional<std::string> responseString_;
    foundation::StringEncoding responseStringEncoding_ = foundation::StringEncoding::None;
    bool shouldUseCredentialStorage_ = true;
    foundation::URLCredentialPtr credential_;
    std::shared_ptr<QNSecurityPolicy> securityPolicy_;
    foundation::OutputStreamPtr outputStream_;
    uint64_t bytesWritten_ = 0;
    dispatch::QueuePtr completionQueue_;
    dispatch::GroupPtr completionGroup_;
    foundation::Value userInfo_;
    foundation::URLConnectionPtr connection_;
    int64_t totalBytesRead_ = 0;  // main queue
    uint64_t backgroundTaskIdentifier_ = 0;
    // Set by start(), released once the completion was handed on: a caller
    // may start an operation and let go of it, and the completion blocks
    // must not hold the operation themselves (an operation never started
    // would then never be freed).
    std::shared_ptr<QNURLConnectionOperation> keepAlive_;
    bool completionInstalled_ = false;

    UploadProgressBlock uploadProgress_;
    DownloadProgressBlock downloadProgress_;
    AuthenticationChallengeBlock authenticationChallenge_;
    RedirectResponseBlock redirectResponse_;
    CacheResponseBlock cacheResponse_;
};
