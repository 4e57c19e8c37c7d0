// What a session manager keeps for one of its tasks: the task's progress,
// the body collected so far, where a download went, and the caller's
// completion, which it calls exactly once when the task ends, after the
// manager's response serializer has turned the response into a result. It
// holds no reference to its task (the task comes with every call) and only
// a weak one to its manager. Every call arrives on the session's delegate
// queue, one at a time.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "dispatch/Queue.h"
#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"
#include "http/QNURLSessionManagerProgress.h"

class QNURLSessionManager;
class QNURLResponseSerialization;

class QNURLSessionManagerTaskDelegate : public std::enable_shared_from_this<QNURLSessionManagerTaskDelegate> {
public:
    using CompletionHandler =
        std::function<void(const std::shared_ptr<foundation::URLResponse>& response,
                           const foundation::Value& responseObject, const foundation::ErrorPtr& error)>;
    // (session, download task, temporary file) → where the file should go;
    // nothing leaves it to be removed.
    using DownloadTaskDidFinishDownloading = std::function<std::optional<foundation::URL>(
        const foundation::URLSessionPtr&, const foundation::URLSessionDownloadTaskPtr&, const foundation::URL&)>;

    explicit QNURLSessionManagerTaskDelegate(std::weak_ptr<QNURLSessionManager> manager)
        : manager_(std::move(manager)), progress_(std::make_shared<QNURLSessionManagerProgress>(0)) {}

    const QNURLSessionManagerProgressPtr& progress() const { return progress_; }
    const foundation::Data& mutableData() const { return data_; }
    const std::optional<foundation::URL>& downloadFileURL() const { return downloadFileURL_; }
    void setDownloadFileURL(std::optional<foundation::URL> url) { downloadFileURL_ = std::move(url); }
    void setDownloadTaskDidFinishDownloading(DownloadTaskDidFinishDownloading block) {
        didFinishDownloading_ = std::move(block);
    }
    void setCompletionHandler(CompletionHandler handler) { completionHandler_ = std::move(handler); }
    // Where the completion runs instead of the manager's completion queue.
    // The processing queue runs it in place, right after the response is
    // serialized there, with no hop. Set it before the task is resumed.
    void setCompletionQueue(dispatch::QueuePtr queue) { completionQueue_ = std::move(queue); }
    // What reads the body instead of the manager's serializer. Set it
    // before the task is resumed.
    void setResponseSerializer(std::shared_ptr<QNURLResponseSerialization> serializer) {
        responseSerializer_ = std::move(serializer);
    }
    // The download could not be moved to downloadFileURL: the task completes
    // with this error and without a result.
    void setDownloadMoveError(foundation::ErrorPtr error);

    void didCompleteWithError(const foundation::URLSessionPtr& session, const foundation::URLSessionTaskPtr& task,
                              const foundation::ErrorPtr& error);
    // Also makes room for the body the head announces, so a body that comes
    // in many pieces is not regrown (and recopied) piece by piece.
    void didReceiveResponse(const std::shared_ptr<foundation::URLResponse>& response);
    void didReceiveData(const foundation::Data& data) { data_.append(data); }
    void didSendBodyData(int64_t totalBytesSent, int64_t totalBytesExpectedToSend);
    void didWriteData(int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite);
    void didResumeAtOffset(int64_t fileOffset, int64_t expectedTotalBytes);
    // Asks the own destination block where the file goes and moves it there.
    void didFinishDownloadingToURL(const foundation::URLSessionPtr& session,
                                   const foundation::URLSessionDownloadTaskPtr& downloadTask,
                                   const foundation::URL& location);

private:
    std::weak_ptr<QNURLSessionManager> manager_;
    QNURLSessionManagerProgressPtr progress_;
    foundation::Data data_;
    std::optional<foundation::URL> downloadFileURL_;
    foundation::ErrorPtr moveError_;
    DownloadTaskDidFinishDownloading didFinishDownloading_;
    CompletionHandler completionHandler_;
    dispatch::QueuePtr completionQueue_;
    std::shared_ptr<QNURLResponseSerialization> responseSerializer_;
};

// Moves a finished download to `destination`; on failure posts the
// file-manager-error notification (object the task, user info the error's)
// on the calling thread and gives the error.
foundation::ErrorPtr QNMoveDownloadedFile(const foundation::URLSessionDownloadTaskPtr& downloadTask,
                                          const foundation::URL& location, const foundation::URL& destination);
// The room to make for a response's body before it arrives: its announced
// length, allowing for the inflation of a compressed one, within a bound.
size_t QNExpectedBodySize(const std::shared_ptr<foundation::URLResponse>& response);
