// Owns one URL session and is the delegate of that session and of every task
// made through it. For each task it keeps a task delegate that tracks
// progress, collects the body, moves a download to its destination and, when
// the task ends, has the response serializer make the result and calls the
// caller's completion exactly once. It also turns task life events into the
// library's notifications (".task.resume", ".task.suspend", ".task.complete",
// ".session.invalidate"), which the network activity indicator counts.
//
// Threads: session callbacks and hooks arrive on operationQueue (width 1);
// platform tasks are made one at a time on the process-wide serial queue
// "com.quovana.networking.session.manager.creation"; responses are parsed on
// the concurrent queue "com.quovana.networking.session.manager.processing";
// completions run on completionQueue (the main queue unless set), inside
// completionGroup (one process-wide group unless set); the task
// notifications are always posted on the main queue.
//
// A manager is made with make<T>() (or manager()), which gives it its
// session; the session holds the manager until invalidateSessionCancelingTasks
// lets it go.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/NotificationCenter.h"
#include "foundation/OperationQueue.h"
#include "foundation/URLSession.h"
#include "http/QNNetworkReachabilityManager.h"
#include "http/QNSecurityPolicy.h"
#include "http/QNURLResponseSerialization.h"
#include "http/QNURLSessionManagerProgress.h"
#include "http/QNURLSessionManagerTaskDelegate.h"

class QNURLSessionManager : public foundation::Coding,
                            public foundation::URLSessionDataDelegate,
                            public foundation::URLSessionDownloadDelegate {
public:
    using CompletionHandler = QNURLSessionManagerTaskDelegate::CompletionHandler;
    // (temporary file, response) → where a download should go.
    using Destination = std::function<std::optional<foundation::URL>(
        const foundation::URL& targetPath, const std::shared_ptr<foundation::URLResponse>& response)>;
    using TaskDelegatePtr = std::shared_ptr<QNURLSessionManagerTaskDelegate>;

    // Hooks: each extends one session delegate method and runs on the
    // delegate queue after (or, where it answers, instead of) the manager's
    // own handling.
    using SessionDidBecomeInvalidBlock =
        std::function<void(const foundation::URLSessionPtr&, const foundation::ErrorPtr&)>;
    // Writes the credential to use through its last argument.
    using SessionDidReceiveAuthenticationChallengeBlock = std::function<foundation::URLSessionAuthChallengeDisposition(
        const foundation::URLSessionPtr&, const foundation::URLAuthenticationChallengePtr&,
        foundation::URLCredentialPtr*)>;
    // Nothing refuses the redirect.
    using TaskWillPerformHTTPRedirectionBlock = std::function<std::optional<foundation::URLRequest>(
        const foundation::URLSessionPtr&, const foundation::URLSessionTaskPtr&,
        const std::shared_ptr<foundation::HTTPURLResponse>&, const foundation::URLRequest&)>;
    using TaskDidReceiveAuthenticationChallengeBlock = std::function<foundation::URLSessionAuthChallengeDisposition(
        const foundation::URLSessionPtr&, const foundation::URLSessionTaskPtr&,
        const foundation::URLAuthenticationChallengePtr&, foundation::URLCredentialPtr*)>;
    using TaskNeedNewBodyStreamBlock = std::function<foundation::InputStreamPtr(const foundation::URLSessionPtr&,
                                                                                const foundation::URLSessionTaskPtr&)>;
    // (session, task, bytes sent, total sent, total expected)
    using TaskDidSendBodyDataBlock = std::function<void(
        const foundation::URLSessionPtr&, const foundation::URLSessionTaskPtr&, int64_t, int64_t, int64_t)>;
    using TaskDidCompleteBlock = std::function<void(const foundation::URLSessionPtr&,
                                                    const foundation::URLSessionTaskPtr&, const foundation::ErrorPtr&)>;
    using DataTaskDidReceiveResponseBlock = std::function<foundation::URLSessionResponseDisposition(
        const foundation::URLSessionPtr&, const foundation::URLSessionDataTaskPtr&,
        const std::shared_ptr<foundation::URLResponse>&)>;
    using DataTaskDidBecomeDownloadTaskBlock =
        std::function<void(const foundation::URLSessionPtr&, const foundation::URLSessionDataTaskPtr&,
                           const foundation::URLSessionDownloadTaskPtr&)>;
    using DataTaskDidReceiveDataBlock = std::function<void(
        const foundation::URLSessionPtr&, const foundation::URLSessionDataTaskPtr&, const foundation::Data&)>;
    // (session, task, temporary file) → destination; nothing leaves the task
    // delegate to decide.
    using DownloadTaskDidFinishDownloadingBlock = QNURLSessionManagerTaskDelegate::DownloadTaskDidFinishDownloading;
    // (session, task, bytes written, total written, total expected)
    using DownloadTaskDidWriteDataBlock = std::function<void(
        const foundation::URLSessionPtr&, const foundation::URLSessionDownloadTaskPtr&, int64_t, int64_t, int64_t)>;
    // (session, task, proposed response) → the response to keep; nothing keeps none.
    using DataTaskWillCacheResponseBlock = std::function<foundation::CachedURLResponsePtr(
        const foundation::URLSessionPtr&, const foundation::URLSessionDataTaskPtr&,
        const foundation::CachedURLResponsePtr&)>;
    using DidFinishEventsForBackgroundURLSessionBlock = std::function<void(const foundation::URLSessionPtr&)>;
    // (session, task, file offset, expected total)
    using DownloadTaskDidResumeBlock = std::function<void(
        const foundation::URLSessionPtr&, const foundation::URLSessionDownloadTaskPtr&, int64_t, int64_t)>;

    // Makes a manager of class T (this class or a subclass) from T's
    // constructor arguments and gives it its session. Managers are made only
    // this way: a constructed manager has no session until then.
    template <class T = QNURLSessionManager, class... Args>
    static std::shared_ptr<T> make(Args&&... args) {
        std::shared_ptr<T> manager(new T(std::forward<Args>(args)...));
        static_cast<QNURLSessionManager&>(*manager).attachSession();
        return manager;
    }
    static std::shared_ptr<QNURLSessionManager> manager(
        std::optional<foundation::URLSessionConfiguration> configuration = std::nullopt) {
        return make<QNURLSessionManager>(std::move(configuration));
    }

    // Without a configuration, the platform's default one.
    explicit QNURLSessionManager(std::optional<foundation::URLSessionConfiguration> configuration = std::nullopt);
    ~QNURLSessionManager() override;

    const foundation::URLSessionPtr& session() const { return session_; }
    const foundation::OperationQueuePtr& operationQueue() const { return operationQueue_; }
    const foundation::URLSessionConfiguration& sessionConfiguration() const { return configuration_; }
    // "%p" of this manager; written into the description of every task the
    // manager registers, which is how it knows its own tasks.
    const std::string& taskDescriptionForSessionTasks() const { return taskDescription_; }

    // Applied to every task when it ends (read then, not when it was made).
    std::shared_ptr<QNURLResponseSerialization> responseSerializer() const;
    void setResponseSerializer(std::shared_ptr<QNURLResponseSerialization> serializer);
    // The task's body read by `serializer` instead: before it is resumed.
    void setResponseSerializerForTask(const foundation::URLSessionTaskPtr& task,
                                      std::shared_ptr<QNURLResponseSerialization> serializer) const;
    std::shared_ptr<QNSecurityPolicy> securityPolicy() const;
    void setSecurityPolicy(std::shared_ptr<QNSecurityPolicy> policy);
    // The shared manager unless set; held for callers, never started here.
    std::shared_ptr<QNNetworkReachabilityManager> reachabilityManager() const;
    void setReachabilityManager(std::shared_ptr<QNNetworkReachabilityManager> manager);
    // Null means the main queue.
    dispatch::QueuePtr completionQueue() const;
    void setCompletionQueue(dispatch::QueuePtr queue);
    // Where completions arrive: the completion queue, else the main queue.
    dispatch::QueuePtr deliveryQueue() const;
    // Null means the one process-wide group.
    dispatch::GroupPtr completionGroup() const;
    void setCompletionGroup(dispatch::GroupPtr group);
    bool attemptsToRecreateUploadTasksForBackgroundSessions() const;
    void setAttemptsToRecreateUploadTasksForBackgroundSessions(bool attempts);

    // The session's unfinished tasks. These wait for the session's answer on
    // the delegate queue, so asking from that queue is a programming error.
    std::vector<foundation::URLSessionTaskPtr> tasks() const;
    std::vector<foundation::URLSessionTaskPtr> dataTasks() const;
    std::vector<foundation::URLSessionTaskPtr> uploadTasks() const;
    std::vector<foundation::URLSessionTaskPtr> downloadTasks() const;
    // "tasks", "dataTasks", "uploadTasks" or "downloadTasks"; nothing for any other key.
    std::optional<std::vector<foundation::URLSessionTaskPtr>> tasksForKeyPath(const std::string& keyPath) const;

    // Task creation. Each returns the task suspended: the caller resumes it.
    // `progress`, when given, receives the task's progress.
    foundation::URLSessionDataTaskPtr dataTaskWithRequest(const foundation::URLRequest& request,
                                                          CompletionHandler completionHandler = {});
    // The same, with `didReceiveResponse` told of the response head as soon
    // as it arrives, before the body: on the session's network thread, so it
    // must return at once and never wait on the network. A `completionQueue`
    // takes the completion instead of the completion queue; the processing
    // queue runs it in place, where the response was serialized.
    using ResponseHandler = foundation::URLSessionDataTask::HeadObserver;
    foundation::URLSessionDataTaskPtr dataTaskWithRequest(const foundation::URLRequest& request,
                                                          ResponseHandler didReceiveResponse,
                                                          CompletionHandler completionHandler,
                                                          dispatch::QueuePtr completionQueue = nullptr);
    // The same, or null (and neither handler called) once the session has
    // been invalidated, instead of the error of asking an invalidated
    // session: for requests made from the session's own callbacks.
    foundation::URLSessionDataTaskPtr dataTaskIfValidWithRequest(const foundation::URLRequest& request,
                                                                 ResponseHandler didReceiveResponse,
                                                                 CompletionHandler completionHandler,
                                                                 dispatch::QueuePtr completionQueue = nullptr);
    foundation::URLSessionUploadTaskPtr uploadTaskWithRequest(const foundation::URLRequest& request,
                                                              const foundation::URL& fromFile,
                                                              QNURLSessionManagerProgressPtr* progress,
                                                              CompletionHandler completionHandler);
    foundation::URLSessionUploadTaskPtr uploadTaskWithRequest(const foundation::URLRequest& request,
                                                              const foundation::Data& fromData,
                                                              QNURLSessionManagerProgressPtr* progress,
                                                              CompletionHandler completionHandler);
    foundation::URLSessionUploadTaskPtr uploadTaskWithStreamedRequest(const foundation::URLRequest& request,
                                                                      QNURLSessionManagerProgressPtr* progress,
                                                                      CompletionHandler completionHandler);
    // The completion's result is the destination URL's absolute string when
    // the file got there.
    foundation::URLSessionDownloadTaskPtr downloadTaskWithRequest(const foundation::URLRequest& request,
                                                                  QNURLSessionManagerProgressPtr* progress,
                                                                  Destination destination,
                                                                  CompletionHandler completionHandler);
    // Continues a download cancelled with its resume data (see
    // URLSessionDownloadTask::cancelByProducingResumeData).
    foundation::URLSessionDownloadTaskPtr downloadTaskWithResumeData(const foundation::Data& resumeData,
                                                                     QNURLSessionManagerProgressPtr* progress,
                                                                     Destination destination,
                                                                     CompletionHandler completionHandler);

    // The task delegates, by task identifier.
    TaskDelegatePtr delegateForTask(const foundation::URLSessionTaskPtr& task) const;
    void setDelegate(TaskDelegatePtr delegate, const foundation::URLSessionTaskPtr& task);
    void removeDelegateForTask(const foundation::URLSessionTaskPtr& task);
    void removeAllDelegates();
    void addDelegateForDataTask(const foundation::URLSessionTaskPtr& task, CompletionHandler completionHandler);
    void addDelegateForUploadTask(const foundation::URLSessionTaskPtr& task, QNURLSessionManagerProgressPtr* progress,
                                  CompletionHandler completionHandler);
    void addDelegateForDownloadTask(const foundation::URLSessionDownloadTaskPtr& task,
                                    QNURLSessionManagerProgressPtr* progress, Destination destination,
                                    CompletionHandler completionHandler);

    // Both are the task delegate's one progress (null without a delegate).
    QNURLSessionManagerProgressPtr uploadProgressForTask(const foundation::URLSessionTaskPtr& task) const;
    QNURLSessionManagerProgressPtr downloadProgressForTask(const foundation::URLSessionTaskPtr& task) const;

    // On the main queue, later: YES cancels the running tasks, NO lets them
    // finish; either way the session then lets this manager go.
    void invalidateSessionCancelingTasks(bool cancelPendingTasks);

    void setSessionDidBecomeInvalidBlock(SessionDidBecomeInvalidBlock block);
    void setSessionDidReceiveAuthenticationChallengeBlock(SessionDidReceiveAuthenticationChallengeBlock block);
    void setTaskWillPerformHTTPRedirectionBlock(TaskWillPerformHTTPRedirectionBlock block);
    void setTaskDidReceiveAuthenticationChallengeBlock(TaskDidReceiveAuthenticationChallengeBlock block);
    void setTaskNeedNewBodyStreamBlock(TaskNeedNewBodyStreamBlock block);
    void setTaskDidSendBodyDataBlock(TaskDidSendBodyDataBlock block);
    void setTaskDidCompleteBlock(TaskDidCompleteBlock block);
    void setDataTaskDidReceiveResponseBlock(DataTaskDidReceiveResponseBlock block);
    void setDataTaskDidBecomeDownloadTaskBlock(DataTaskDidBecomeDownloadTaskBlock block);
    void setDataTaskDidReceiveDataBlock(DataTaskDidReceiveDataBlock block);
    void setDownloadTaskDidFinishDownloadingBlock(DownloadTaskDidFinishDownloadingBlock block);
    void setDownloadTaskDidWriteDataBlock(DownloadTaskDidWriteDataBlock block);
    void setDownloadTaskDidResumeBlock(DownloadTaskDidResumeBlock block);
    void setDataTaskWillCacheResponseBlock(DataTaskWillCacheResponseBlock block);
    // Runs on the main queue, later.
    void setDidFinishEventsForBackgroundURLSessionBlock(DidFinishEventsForBackgroundURLSessionBlock block);

    // The manager answers the redirect, caching and background events
    // questions only while their hook is set; otherwise the session applies
    // its own defaults. Responses it always hears: its task delegates pass
    // the response head on (and without the hook it answers allow, the
    // session's own default).
    bool implementsWillPerformHTTPRedirection() const override;
    bool implementsWillCacheResponse() const override;
    bool implementsDidFinishEventsForBackgroundURLSession() const override;

    std::string className() const override { return kClassName; }
    std::string description() const override;

    // The archive keeps the session configuration only; serializers, policy
    // and hooks start at their defaults in the copy.
    static constexpr const char* kClassName = "QNURLSessionManager";
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNURLSessionManager> initWithCoder(const foundation::KeyedUnarchiver& coder);
    // A new manager of the same class on the session's configuration.
    virtual std::shared_ptr<QNURLSessionManager> copy() const;

    // Session delegate methods (the session calls them on operationQueue).
    void didBecomeInvalidWithError(const foundation::URLSessionPtr& session,
                                   const foundation::ErrorPtr& error) override;
    void didReceiveChallenge(const foundation::URLSessionPtr& session,
                             const foundation::URLAuthenticationChallengePtr& challenge,
                             foundation::URLSessionChallengeCompletion completion) override;
    void willPerformHTTPRedirection(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                                    const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                    foundation::URLRequest newRequest,
                                    std::function<void(std::optional<foundation::URLRequest>)> completion) override;
    void taskDidReceiveChallenge(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                                 const foundation::URLAuthenticationChallengePtr& challenge,
                                 foundation::URLSessionChallengeCompletion completion) override;
    void needNewBodyStream(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                           std::function<void(foundation::InputStreamPtr)> completion) override;
    void didSendBodyData(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                         int64_t bytesSent, int64_t totalBytesSent, int64_t totalBytesExpectedToSend) override;
    void didCompleteWithError(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                              const foundation::ErrorPtr& error) override;
    void didReceiveResponse(const foundation::URLSessionPtr& session, const foundation::URLSessionDataTaskPtr& dataTask,
                            const std::shared_ptr<foundation::URLResponse>& response,
                            std::function<void(foundation::URLSessionResponseDisposition)> completion) override;
    // Only a response hook decides anything about a response: without one
    // the session lets the body flow at once instead of waiting for an
    // answer from the delegate queue.
    bool implementsDidReceiveResponse() const override;
    void didBecomeDownloadTask(const foundation::URLSessionPtr& session,
                               const foundation::URLSessionDataTaskPtr& dataTask,
                               const foundation::URLSessionDownloadTaskPtr& downloadTask) override;
    void didReceiveData(const foundation::URLSessionPtr& session, const foundation::URLSessionDataTaskPtr& dataTask,
                        const foundation::Data& data) override;
    void didFinishDownloadingToURL(const foundation::URLSessionPtr& session,
                                   const foundation::URLSessionDownloadTaskPtr& downloadTask,
                                   const foundation::URL& location) override;
    void didWriteData(const foundation::URLSessionPtr& session,
                      const foundation::URLSessionDownloadTaskPtr& downloadTask, int64_t bytesWritten,
                      int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) override;
    void didResumeAtOffset(const foundation::URLSessionPtr& session,
                           const foundation::URLSessionDownloadTaskPtr& downloadTask, int64_t fileOffset,
                           int64_t expectedTotalBytes) override;
    void willCacheResponse(const foundation::URLSessionPtr& session, const foundation::URLSessionDataTaskPtr& dataTask,
                           foundation::CachedURLResponsePtr proposedResponse,
                           std::function<void(foundation::CachedURLResponsePtr)> completion) override;
    void didFinishEventsForBackgroundURLSession(const foundation::URLSessionPtr& session) override;

    // The process-wide queues and group (see the threads above).
    static const dispatch::QueuePtr& taskCreationQueue();
    static const dispatch::QueuePtr& processingQueue();
    static const dispatch::GroupPtr& sharedCompletionGroup();

private:
    struct Hooks {
        SessionDidBecomeInvalidBlock sessionDidBecomeInvalid;
        SessionDidReceiveAuthenticationChallengeBlock sessionDidReceiveChallenge;
        TaskWillPerformHTTPRedirectionBlock taskWillPerformHTTPRedirection;
        TaskDidReceiveAuthenticationChallengeBlock taskDidReceiveChallenge;
        TaskNeedNewBodyStreamBlock taskNeedNewBodyStream;
        TaskDidSendBodyDataBlock taskDidSendBodyData;
        TaskDidCompleteBlock taskDidComplete;
        DataTaskDidReceiveResponseBlock dataTaskDidReceiveResponse;
        DataTaskDidBecomeDownloadTaskBlock dataTaskDidBecomeDownloadTask;
        DataTaskDidReceiveDataBlock dataTaskDidReceiveData;
        DownloadTaskDidFinishDownloadingBlock downloadTaskDidFinishDownloading;
        DownloadTaskDidWriteDataBlock downloadTaskDidWriteData;
        DownloadTaskDidResumeBlock downloadTaskDidResume;
        DataTaskWillCacheResponseBlock dataTaskWillCacheResponse;
        DidFinishEventsForBackgroundURLSessionBlock didFinishEventsForBackgroundURLSession;
    };

    // The second half of making a manager: the session, the tasks it
    // already has, and the resume and suspend observers.
    void attachSession();
    const foundation::URLSessionPtr& requireSession() const;
    std::shared_ptr<QNURLSessionManager> self();
    // A copy of one hook, taken under the lock.
    template <class Block>
    Block hook(Block Hooks::*member) const {
        std::lock_guard lock(mutex_);
        return hooks_.*member;
    }
    TaskDelegatePtr makeTaskDelegate(CompletionHandler completionHandler);
    void registerTaskDelegate(TaskDelegatePtr delegate, QNURLSessionManagerProgressPtr* progress,
                              const foundation::URLSessionTaskPtr& task);
    void taskLifecycleChanged(const foundation::Notification& notification, const char* postedName);
    // Server-trust evaluation for a challenge without a hook.
    std::pair<foundation::URLSessionAuthChallengeDisposition, foundation::URLCredentialPtr> evaluateChallenge(
        const foundation::URLAuthenticationChallengePtr& challenge, bool taskLevel) const;

    const foundation::URLSessionConfiguration configuration_;
    const foundation::OperationQueuePtr operationQueue_;
    const std::string taskDescription_;
    foundation::URLSessionPtr session_;

    mutable std::mutex mutex_;
    std::shared_ptr<QNURLResponseSerialization> responseSerializer_;
    std::shared_ptr<QNSecurityPolicy> securityPolicy_;
    std::shared_ptr<QNNetworkReachabilityManager> reachabilityManager_;
    dispatch::QueuePtr completionQueue_;
    dispatch::GroupPtr completionGroup_;
    bool attemptsToRecreateUploadTasks_ = false;
    Hooks hooks_;

    // Guards the task delegates and nothing else.
    mutable std::mutex delegatesMutex_;
    std::map<uint64_t, TaskDelegatePtr> delegates_;
};

// Registers the session managers (and the serializers they hold) with the
// keyed unarchiver; idempotent, call before unarchiving a manager.
void QNRegisterSessionManagerArchiveClasses();
// A session configuration's archived form, as the managers archive it.
void QNEncodeSessionConfiguration(foundation::KeyedArchiver& coder,
                                  const foundation::URLSessionConfiguration& configuration, const std::string& key);
std::optional<foundation::URLSessionConfiguration> QNDecodeSessionConfiguration(
    const foundation::KeyedUnarchiver& coder, const std::string& key);
