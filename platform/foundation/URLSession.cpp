// Sessions: making tasks, the ordered hand-over of events to the delegate
// queue, and invalidation.
//
// Events go through the session's own FIFO and reach the delegate queue one
// operation at a time, so a delegate sees them in order even on a queue that
// runs several operations at once.
#include "foundation/URLSession.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "foundation/FileManager.h"
#include "foundation/URLResumeData.h"
#include "foundation/URLSessionEngine.h"

namespace foundation {

URLSessionPtr URLSession::sessionWithConfiguration(const URLSessionConfiguration& configuration,
                                                   std::shared_ptr<URLSessionDelegate> delegate,
                                                   OperationQueuePtr delegateQueue) {
    if (!delegateQueue) {
        delegateQueue = OperationQueue::create();
        delegateQueue->setMaxConcurrentOperationCount(1);
        delegateQueue->setName("com.quovana.urlsession.delegate");
    }
    return URLSessionPtr(new URLSession(configuration, std::move(delegate), std::move(delegateQueue)));
}

URLSession::URLSession(const URLSessionConfiguration& configuration, std::shared_ptr<URLSessionDelegate> delegate,
                       OperationQueuePtr delegateQueue)
    : configuration_(configuration), delegateQueue_(std::move(delegateQueue)), delegate_(std::move(delegate)) {}

URLSession::~URLSession() {
    // A session that never loaded anything has no connection cache, and must
    // not start the network thread for nothing (at exit, it could no longer).
    if (share_) URLSessionEngine::shared().releaseShare(share_);
}

URLSessionPtr URLSession::self() {
    return std::static_pointer_cast<URLSession>(shared_from_this());
}

std::shared_ptr<URLSessionDelegate> URLSession::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_;
}

void URLSession::requireValid(const char* operation) const {
    if (invalidated_)
        raise(kInternalInconsistencyException,
              std::string(operation) + ": task created in a session that has been invalidated");
}

template <class T>
std::shared_ptr<T> URLSession::makeTask(URLSessionTask::Kind kind, const URLRequest& request,
                                        const std::function<void(URLSessionTask&)>& configure,
                                        bool nullWhenInvalidated) {
    uint64_t identifier;
    {
        std::lock_guard lock(mutex_);
        if (nullWhenInvalidated && invalidated_) return nullptr;
        requireValid("makeTask");
        identifier = nextIdentifier_++;
    }
    std::shared_ptr<T> task(new T(kind, identifier, self(), request));
    int64_t expected = 0;
    if (request.httpBodyStream()) expected = kURLSessionTransferSizeUnknown;
    else if (request.httpBody()) expected = static_cast<int64_t>(request.httpBody()->length());
    task->expectedToSend_ = expected;
    if (configure) configure(*task);
    std::lock_guard lock(mutex_);
    liveTasks_.push_back(task);
    return task;
}

URLSessionDataTaskPtr URLSession::dataTaskWithRequest(const URLRequest& request) {
    return makeTask<URLSessionDataTask>(URLSessionTask::Kind::Data, request);
}

URLSessionDataTaskPtr URLSession::dataTaskWithRequestIfValid(const URLRequest& request) {
    return makeTask<URLSessionDataTask>(URLSessionTask::Kind::Data, request, {}, true);
}

URLSessionDataTaskPtr URLSession::dataTaskWithURL(const URL& url) {
    return dataTaskWithRequest(URLRequest(url));
}

URLSessionUploadTaskPtr URLSession::uploadTaskWithRequest(const URLRequest& request, const URL& fromFile) {
    return makeTask<URLSessionUploadTask>(URLSessionTask::Kind::Upload, request, [&](URLSessionTask& task) {
        task.bodySource_ = URLSessionTask::BodySource::File;
        task.uploadFilePath_ = fromFile.path();
        auto size = FileManager::defaultManager().fileSizeAtPath(task.uploadFilePath_);
        task.expectedToSend_ = size ? static_cast<int64_t>(*size) : kURLSessionTransferSizeUnknown;
    });
}

URLSessionUploadTaskPtr URLSession::uploadTaskWithRequest(const URLRequest& request, const Data& fromData) {
    return makeTask<URLSessionUploadTask>(URLSessionTask::Kind::Upload, request, [&](URLSessionTask& task) {
        task.bodySource_ = URLSessionTask::BodySource::Data;
        task.uploadData_ = fromData;
        task.expectedToSend_ = static_cast<int64_t>(fromData.length());
    });
}

URLSessionUploadTaskPtr URLSession::uploadTaskWithStreamedRequest(const URLRequest& request) {
    return makeTask<URLSessionUploadTask>(URLSessionTask::Kind::Upload, request);
}

URLSessionDownloadTaskPtr URLSession::downloadTaskWithRequest(const URLRequest& request) {
    return makeTask<URLSessionDownloadTask>(URLSessionTask::Kind::Download, request);
}

URLSessionDownloadTaskPtr URLSession::downloadTaskWithResumeData(const Data& resumeData) {
    std::optional<URLResumeInfo> info = decodeResumeData(resumeData);
    URLRequest request = info ? info->request : URLRequest();
    auto task = makeTask<URLSessionDownloadTask>(URLSessionTask::Kind::Download, request);
    if (info) task->resumeFrom_ = std::make_shared<const URLResumeInfo>(std::move(*info));
    else task->unreadableResumeData_ = true;
    return task;
}

URLSessionDownloadTaskPtr URLSession::makeDownloadTaskFrom(const URLSessionTaskPtr& dataTask) {
    uint64_t identifier;
    {
        std::lock_guard lock(mutex_);
        identifier = nextIdentifier_++;
    }
    URLSessionDownloadTaskPtr task(
        new URLSessionDownloadTask(URLSessionTask::Kind::Download, identifier, self(), dataTask->originalRequest()));
    task->current_ = dataTask->currentRequest();
    task->response_ = dataTask->response();
    task->expectedToReceive_ = dataTask->countOfBytesExpectedToReceive();
    task->state_ = URLSessionTask::State::Running;
    task->started_ = true;
    std::lock_guard lock(mutex_);
    liveTasks_.push_back(task);
    return task;
}

void URLSession::getTasksWithCompletionHandler(TasksHandler handler) {
    std::vector<URLSessionDataTaskPtr> data;
    std::vector<URLSessionUploadTaskPtr> upload;
    std::vector<URLSessionDownloadTaskPtr> download;
    {
        std::lock_guard lock(mutex_);
        for (const auto& task : liveTasks_) {
            switch (task->kind()) {
                case URLSessionTask::Kind::Data: data.push_back(std::static_pointer_cast<URLSessionDataTask>(task)); break;
                case URLSessionTask::Kind::Upload:
                    upload.push_back(std::static_pointer_cast<URLSessionUploadTask>(task));
                    break;
                case URLSessionTask::Kind::Download:
                    download.push_back(std::static_pointer_cast<URLSessionDownloadTask>(task));
                    break;
            }
        }
    }
    enqueueEvent([handler = std::move(handler), data = std::move(data), upload = std::move(upload),
                  download = std::move(download)] { handler(data, upload, download); });
}

void URLSession::finishTasksAndInvalidate() {
    std::lock_guard lock(mutex_);
    invalidated_ = true;
    if (liveTasks_.empty() && !invalidationQueued_) enqueueInvalidation();
}

void URLSession::invalidateAndCancel() {
    std::vector<URLSessionTaskPtr> tasks;
    {
        std::lock_guard lock(mutex_);
        invalidated_ = true;
        tasks = liveTasks_;
        if (liveTasks_.empty() && !invalidationQueued_) enqueueInvalidation();
    }
    for (auto& task : tasks) task->cancel();
}

void URLSession::enqueueInvalidation() {
    invalidationQueued_ = true;
    auto session = self();
    enqueueEvent([session] {
        if (auto delegate = session->delegate()) delegate->didBecomeInvalidWithError(session, nullptr);
        std::shared_ptr<URLSessionDelegate> released;
        {
            std::lock_guard lock(session->mutex_);
            released = std::move(session->delegate_);
        }
    });
}

void URLSession::taskDidComplete(const URLSessionTaskPtr& task, const ErrorPtr& error, bool silently) {
    std::lock_guard lock(mutex_);
    std::erase(liveTasks_, task);
    if (!silently) {
        auto session = self();
        enqueueEvent([session, task, error] {
            auto delegate = session->delegate();
            if (auto* d = dynamic_cast<URLSessionTaskDelegate*>(delegate.get()))
                d->didCompleteWithError(session, task, error);
        });
    }
    // A background session tells its delegate when it has nothing left to do.
    if (!silently && configuration_.identifier() && liveTasks_.empty()) {
        enqueueEvent([session = self()] {
            auto delegate = session->delegate();
            if (delegate && delegate->implementsDidFinishEventsForBackgroundURLSession())
                delegate->didFinishEventsForBackgroundURLSession(session);
        });
    }
    if (invalidated_ && liveTasks_.empty() && !invalidationQueued_) enqueueInvalidation();
}

namespace {
// The sessions owed a drain by the batch open on this thread, if any.
thread_local std::vector<URLSessionPtr>* tlsOwedDrains = nullptr;
}  // namespace

URLSession::EventBatch::EventBatch() : outermost_(tlsOwedDrains == nullptr) {
    if (outermost_) tlsOwedDrains = &owed_;
}

URLSession::EventBatch::~EventBatch() {
    if (!outermost_) return;
    tlsOwedDrains = nullptr;
    for (auto& session : owed_) session->scheduleDrain();
}

void URLSession::enqueueEvent(std::function<void()> event) {
    {
        std::lock_guard lock(eventMutex_);
        events_.push_back(std::move(event));
        if (draining_) return;
        draining_ = true;
        // The line is this session's own until the drain it is owed starts:
        // what is queued meanwhile waits behind this event.
        if (tlsOwedDrains) {
            tlsOwedDrains->push_back(self());
            return;
        }
    }
    scheduleDrain();
}

void URLSession::scheduleDrain() {
    delegateQueue_->addOperationWithBlock([session = self()] { session->drainEvents(); });
}

void URLSession::drainEvents() {
    // The events already queued run in this one operation, in order: an
    // operation per event would pay the delegate queue's thread hand-overs
    // for every one. After a batch the queue's other operations get a turn.
    for (int n = 0; n < kEventsPerOperation; ++n) {
        std::function<void()> event;
        {
            std::lock_guard lock(eventMutex_);
            if (events_.empty()) {
                draining_ = false;
                return;
            }
            event = std::move(events_.front());
            events_.pop_front();
        }
        URLSessionEngine::PostBatch answers;
        event();
    }
    {
        std::lock_guard lock(eventMutex_);
        if (events_.empty()) {
            draining_ = false;
            return;
        }
    }
    scheduleDrain();
}

}  // namespace foundation
