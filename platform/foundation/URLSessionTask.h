// One load of a URL session: a data task (body to the delegate as data), an
// upload task (a data task whose body comes from data, a file or a stream)
// or a download task (body to a temporary file). A task is made suspended;
// resume() starts it. Every method may be called from any thread.
// Invariants: the identifier is unique within its session; the state only
// moves forward to Completed (Running and Suspended alternate before that);
// a task completes once, and after that resume, suspend and cancel do
// nothing; the transfer behind a task belongs to the session's network
// thread and is touched nowhere else.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/Object.h"
#include "foundation/URLRequest.h"

namespace foundation {

class URLSession;
class URLSessionTask;
struct URLTransfer;
using URLSessionTaskPtr = std::shared_ptr<URLSessionTask>;

// A length the task cannot tell (the platform's NSURLSessionTransferSizeUnknown).
inline constexpr int64_t kURLSessionTransferSizeUnknown = -1;

class URLSessionTask : public Object {
public:
    // The platform's numbers.
    enum class State { Running = 0, Suspended = 1, Canceling = 2, Completed = 3 };
    enum class Kind { Data, Upload, Download };
    enum class LifecycleEvent { Resumed, Suspended };
    using LifecycleObserver = std::function<void(const URLSessionTaskPtr& task, LifecycleEvent event)>;

    ~URLSessionTask() override;
    std::string className() const override;
    std::string description() const override;

    uint64_t taskIdentifier() const { return identifier_; }
    Kind kind() const { return kind_; }
    // The request as the task was made with it (none when it had no URL).
    const URLRequest& originalRequest() const { return original_; }
    // The request being loaded: differs from the original after a redirect.
    URLRequest currentRequest() const;
    // Set once the final response has arrived (an HTTPURLResponse).
    std::shared_ptr<URLResponse> response() const;
    State state() const;
    // The error the task completed with, if any.
    ErrorPtr error() const;
    std::string taskDescription() const;
    void setTaskDescription(std::string description);

    int64_t countOfBytesSent() const;
    int64_t countOfBytesExpectedToSend() const;
    int64_t countOfBytesReceived() const;
    int64_t countOfBytesExpectedToReceive() const;

    // Starts a new task or continues a suspended one.
    void resume();
    // Holds a running task's transfer where it is (no bytes move, its
    // timeout does not run) until resume().
    void suspend();
    // Ends the task with the cancelled error (-999), whatever its state
    // short of completed.
    void cancel();

    // Hears every resume of a task that was not running and every suspend of
    // a task that was running, of every session, synchronously on the
    // calling thread (the HTTP library watches its tasks this way). Returns
    // an id for removal.
    static int addLifecycleObserver(LifecycleObserver observer);
    static void removeLifecycleObserver(int id);

    // Observation of one task's key paths, "state", "countOfBytesSent" and
    // "countOfBytesReceived" (another key path is refused with 0): the
    // observer hears each change of the value, synchronously on the thread
    // that changed it, with the task lock released; the state's observers
    // hear the completion once. Returns an id for removal; removing an id
    // this task does not know is refused with false.
    using KeyPathObserver = std::function<void(const URLSessionTaskPtr& task, const std::string& keyPath)>;
    int addObserver(const std::string& keyPath, KeyPathObserver observer);
    bool removeObserver(int id);

protected:
    URLSessionTask(Kind kind, uint64_t identifier, std::shared_ptr<URLSession> session, URLRequest request);

private:
    friend class URLSession;
    friend class URLSessionEngine;

    // Where an upload's body comes from; Request means the request's own body.
    enum class BodySource { Request, Data, File };

    void setCurrentRequest(URLRequest request);
    void setResponse(std::shared_ptr<URLResponse> response);
    void addBytesSent(int64_t count);
    void setBytesExpectedToSend(int64_t count);
    void addBytesReceived(int64_t count);
    void setBytesExpectedToReceive(int64_t count);
    // Marks the task completed; false when it was already.
    bool markCompleted(ErrorPtr error);

    const Kind kind_;
    const uint64_t identifier_;
    const std::shared_ptr<URLSession> session_;
    const URLRequest original_;

    BodySource bodySource_ = BodySource::Request;
    Data uploadData_;
    std::string uploadFilePath_;

    mutable std::mutex mutex_;
    URLRequest current_;
    std::shared_ptr<URLResponse> response_;
    State state_ = State::Suspended;
    bool started_ = false;
    ErrorPtr error_;
    std::string description_;
    int64_t sent_ = 0;
    int64_t expectedToSend_ = 0;
    int64_t received_ = 0;
    int64_t expectedToReceive_ = kURLSessionTransferSizeUnknown;

    struct KeyPathObservation {
        std::string keyPath;
        KeyPathObserver observer;
    };
    // Tells the observers of that key path; call without the task lock.
    void notifyObservers(const char* keyPath);
    mutable std::mutex observersMutex_;
    int nextObserverId_ = 1;
    std::vector<std::pair<int, KeyPathObservation>> observers_;

    // The network thread's side; see the invariants.
    std::unique_ptr<URLTransfer> transfer_;
};

class URLSessionDataTask : public URLSessionTask {
public:
    // Told of the final response's head on the network thread, as soon as
    // it is read and before the delegate hears of it: for a caller that acts
    // on a header alone (a listing's next page) and need not wait for the
    // delegate queue. It must return at once and never wait on the network.
    // Set it before the task is resumed.
    using HeadObserver = std::function<void(const std::shared_ptr<URLResponse>& response)>;
    void setHeadObserver(HeadObserver observer);
    HeadObserver headObserver() const;

protected:
    using URLSessionTask::URLSessionTask;
    friend class URLSession;

private:
    mutable std::mutex headObserverMutex_;
    HeadObserver headObserver_;
};

class URLSessionUploadTask : public URLSessionDataTask {
protected:
    using URLSessionDataTask::URLSessionDataTask;
    friend class URLSession;
};

struct URLResumeInfo;

class URLSessionDownloadTask : public URLSessionTask {
public:
    // Cancels the task and hands over, on the session's delegate queue before
    // the task's completion, data from which URLSession's
    // downloadTaskWithResumeData continues it; none when it cannot be
    // continued (nothing received yet, no "ETag" or "Last-Modified", not a
    // GET, or already completed).
    void cancelByProducingResumeData(std::function<void(std::optional<Data> resumeData)> completionHandler);

protected:
    using URLSessionTask::URLSessionTask;
    friend class URLSession;
    friend class URLSessionEngine;

private:
    // Set when made from resume data: where the file and the request go on.
    std::shared_ptr<const URLResumeInfo> resumeFrom_;
    // Made from resume data that could not be read: the task fails at start.
    bool unreadableResumeData_ = false;
};

using URLSessionDataTaskPtr = std::shared_ptr<URLSessionDataTask>;
using URLSessionUploadTaskPtr = std::shared_ptr<URLSessionUploadTask>;
using URLSessionDownloadTaskPtr = std::shared_ptr<URLSessionDownloadTask>;

}  // namespace foundation
