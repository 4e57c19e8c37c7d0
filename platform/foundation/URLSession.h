// A URL session: makes data, upload and download tasks from requests, runs
// their transfers on the one network thread all sessions share, and tells
// its delegate what happens, on its delegate queue, in order. Sessions are
// independent: each has its own connections and its own idea of server
// trust.
// Invariants: delegate calls of one session never overlap and keep the order
// in which things happened, whatever the width of the delegate queue; an
// invalidated session makes no more tasks (asking is a programming error),
// tells its delegate didBecomeInvalidWithError once its last task has
// completed, and then lets the delegate go; until then the session holds
// its delegate (as the delegate usually holds the session, a session that
// is never invalidated is never released).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Object.h"
#include "foundation/OperationQueue.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSessionConfiguration.h"
#include "foundation/URLSessionDelegate.h"
#include "foundation/URLSessionTask.h"

namespace foundation {

class URLSession : public Object {
public:
    // Without a queue the session makes a serial one for its delegate.
    static URLSessionPtr sessionWithConfiguration(const URLSessionConfiguration& configuration,
                                                  std::shared_ptr<URLSessionDelegate> delegate = nullptr,
                                                  OperationQueuePtr delegateQueue = nullptr);
    ~URLSession() override;
    std::string className() const override { return "NSURLSession"; }

    const URLSessionConfiguration& configuration() const { return configuration_; }
    // Null once the session has been invalidated and has let it go.
    std::shared_ptr<URLSessionDelegate> delegate() const;
    const OperationQueuePtr& delegateQueue() const { return delegateQueue_; }

    URLSessionDataTaskPtr dataTaskWithRequest(const URLRequest& request);
    // The same, or null once the session has been invalidated: for work that
    // may race an invalidation it did not ask for (a listing's next page).
    URLSessionDataTaskPtr dataTaskWithRequestIfValid(const URLRequest& request);
    URLSessionDataTaskPtr dataTaskWithURL(const URL& url);
    // The body is read from the file when the task starts; the request's own
    // body is ignored.
    URLSessionUploadTaskPtr uploadTaskWithRequest(const URLRequest& request, const URL& fromFile);
    URLSessionUploadTaskPtr uploadTaskWithRequest(const URLRequest& request, const Data& fromData);
    // The body is the request's body stream.
    URLSessionUploadTaskPtr uploadTaskWithStreamedRequest(const URLRequest& request);
    URLSessionDownloadTaskPtr downloadTaskWithRequest(const URLRequest& request);
    // Continues a download cancelled with cancelByProducingResumeData: asks
    // for the rest with "Range" and "If-Range"; a server that sends the whole
    // body instead restarts the file. Data that cannot be read gives a task
    // that fails with the cannot-open-file error when resumed.
    URLSessionDownloadTaskPtr downloadTaskWithResumeData(const Data& resumeData);

    using TasksHandler = std::function<void(std::vector<URLSessionDataTaskPtr> dataTasks,
                                            std::vector<URLSessionUploadTaskPtr> uploadTasks,
                                            std::vector<URLSessionDownloadTaskPtr> downloadTasks)>;
    // The tasks not yet completed, handed over on the delegate queue.
    void getTasksWithCompletionHandler(TasksHandler handler);

    // No new tasks; the running ones go on to their end.
    void finishTasksAndInvalidate();
    // No new tasks; the running ones are cancelled.
    void invalidateAndCancel();

private:
    friend class URLSessionTask;
    friend class URLSessionEngine;

    URLSession(const URLSessionConfiguration& configuration, std::shared_ptr<URLSessionDelegate> delegate,
               OperationQueuePtr delegateQueue);
    URLSessionPtr self();
    void requireValid(const char* operation) const;  // under mutex_
    template <class T>
    std::shared_ptr<T> makeTask(URLSessionTask::Kind kind, const URLRequest& request,
                                const std::function<void(URLSessionTask&)>& configure = {},
                                bool nullWhenInvalidated = false);

    // Runs `event` on the delegate queue after every event enqueued before.
    void enqueueEvent(std::function<void()> event);

    // While one lives on the calling thread (the network thread, for one turn
    // of its loop), an event joins its session's line at once, but the
    // delegate queue is asked to drain that line only when the batch ends: a
    // page's head, body and end, read in one turn, cost the delegate queue
    // one hand-over instead of one each. Nested batches join the outer one.
    class EventBatch {
    public:
        EventBatch();
        ~EventBatch();
        EventBatch(const EventBatch&) = delete;
        EventBatch& operator=(const EventBatch&) = delete;

    private:
        std::vector<URLSessionPtr> owed_;  // sessions whose line waits for a drain
        bool outermost_;
    };
    void scheduleDrain();
    void drainEvents();
    static constexpr int kEventsPerOperation = 32;
    // The engine's report that a task has completed (or, with `silently`, has
    // turned into a download task): the task leaves the session.
    void taskDidComplete(const URLSessionTaskPtr& task, const ErrorPtr& error, bool silently = false);
    // A download task that carries on the transfer of `dataTask`.
    URLSessionDownloadTaskPtr makeDownloadTaskFrom(const URLSessionTaskPtr& dataTask);
    void enqueueInvalidation();  // under mutex_

    const URLSessionConfiguration configuration_;
    const OperationQueuePtr delegateQueue_;

    mutable std::mutex mutex_;
    std::shared_ptr<URLSessionDelegate> delegate_;
    uint64_t nextIdentifier_ = 1;
    bool invalidated_ = false;
    bool invalidationQueued_ = false;
    std::vector<URLSessionTaskPtr> liveTasks_;

    std::mutex eventMutex_;
    std::deque<std::function<void()>> events_;
    bool draining_ = false;

    // The network thread's connection cache for this session (a curl share).
    void* share_ = nullptr;
};

}  // namespace foundation
