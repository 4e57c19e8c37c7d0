// The completion path of one task. A transport error (or a download that
// could not be moved) goes straight to the completion; otherwise the
// response is serialized on the processing queue first. Either way the
// completion runs on the manager's completion queue inside its completion
// group, and the task-complete notification follows on the main queue.
#include "http/QNURLSessionManagerTaskDelegate.h"

#include <algorithm>

#include "foundation/FileManager.h"
#include "foundation/NotificationCenter.h"
#include "http/QNNetworking.h"
#include "http/QNURLSessionManager.h"

using namespace foundation;

ErrorPtr QNMoveDownloadedFile(const URLSessionDownloadTaskPtr& downloadTask, const URL& location,
                              const URL& destination) {
    ErrorPtr error;
    if (FileManager::defaultManager().moveItemAtPath(location.path(), destination.path(), &error)) return nullptr;
    NotificationCenter::defaultCenter().postNotificationName(kQNURLSessionDownloadTaskDidFailToMoveFileNotification,
                                                             Value(downloadTask), Value(error->userInfo()));
    return error;
}

size_t QNExpectedBodySize(const std::shared_ptr<URLResponse>& response) {
    // The announced length is only a hint (a hostile head may claim
    // anything), so the room is bounded. It counts the bytes on the wire: a
    // compressed body arrives inflated, JSON text to some four times that.
    constexpr int64_t kLargestReservedBody = int64_t(16) << 20;
    constexpr int64_t kInflation = 4;
    int64_t expected = response ? std::min(response->expectedContentLength(), kLargestReservedBody) : 0;
    if (expected <= 0) return 0;
    auto http = std::dynamic_pointer_cast<HTTPURLResponse>(response);
    if (http && http->valueForHTTPHeaderField("Content-Encoding")) expected *= kInflation;
    return static_cast<size_t>(std::min(expected, kLargestReservedBody));
}

void QNURLSessionManagerTaskDelegate::setDownloadMoveError(ErrorPtr error) {
    moveError_ = std::move(error);
    // The file is not there, so there is no place to report.
    if (moveError_) downloadFileURL_.reset();
}

void QNURLSessionManagerTaskDelegate::didReceiveResponse(const std::shared_ptr<URLResponse>& response) {
    // With the room a JSON reader looks past the body, so the body is read
    // where it lies.
    if (data_.empty()) data_.vector().reserve(QNExpectedBodySize(response) + foundation::Data::kReadPadding);
}

void QNURLSessionManagerTaskDelegate::didSendBodyData(int64_t totalBytesSent, int64_t totalBytesExpectedToSend) {
    progress_->setTotalUnitCount(totalBytesExpectedToSend);
    progress_->setCompletedUnitCount(totalBytesSent);
}

void QNURLSessionManagerTaskDelegate::didWriteData(int64_t totalBytesWritten, int64_t totalBytesExpectedToWrite) {
    progress_->setTotalUnitCount(totalBytesExpectedToWrite);
    progress_->setCompletedUnitCount(totalBytesWritten);
}

void QNURLSessionManagerTaskDelegate::didResumeAtOffset(int64_t fileOffset, int64_t expectedTotalBytes) {
    progress_->setTotalUnitCount(expectedTotalBytes);
    progress_->setCompletedUnitCount(fileOffset);
}

void QNURLSessionManagerTaskDelegate::didFinishDownloadingToURL(const URLSessionPtr& session,
                                                                const URLSessionDownloadTaskPtr& downloadTask,
                                                                const URL& location) {
    downloadFileURL_.reset();
    if (!didFinishDownloading_) return;
    downloadFileURL_ = didFinishDownloading_(session, downloadTask, location);
    if (downloadFileURL_) setDownloadMoveError(QNMoveDownloadedFile(downloadTask, location, *downloadFileURL_));
}

void QNURLSessionManagerTaskDelegate::didCompleteWithError(const URLSessionPtr& session, const URLSessionTaskPtr& task,
                                                           const ErrorPtr& error) {
    (void)session;
    auto manager = manager_.lock();
    std::shared_ptr<QNURLResponseSerialization> serializer = responseSerializer_ ? responseSerializer_
                                                             : manager            ? manager->responseSerializer()
                                                                                  : nullptr;
    dispatch::QueuePtr queue = completionQueue_ ? completionQueue_
                               : manager    ? manager->deliveryQueue()
                                            : dispatch::Queue::main();
    dispatch::GroupPtr group = manager ? manager->completionGroup() : nullptr;
    if (!group) group = QNURLSessionManager::sharedCompletionGroup();

    // The user info holds the body and the result; it is built only when
    // someone listens for the notification.
    const bool announced =
        NotificationCenter::defaultCenter().hasObserversForName(kQNNetworkingTaskDidCompleteNotification);
    // The body itself joins the user info only after the serializer has read
    // it, so it is moved there rather than copied.
    const bool announcesBody = announced && !downloadFileURL_;
    Value::Dictionary userInfo;
    if (announced) {
        if (auto object = std::dynamic_pointer_cast<Object>(serializer))
            userInfo[kQNNetworkingTaskDidCompleteResponseSerializerKey] = Value(object);
        if (downloadFileURL_)
            userInfo[kQNNetworkingTaskDidCompleteAssetPathKey] = Value(downloadFileURL_->absoluteString());
    }
    // The task has ended: its body goes to the serializer, in the form the
    // serializer reads, so that no copy is made on the way.
    std::optional<Data> data(std::move(data_));

    // Keeps this delegate until the completion has run and been announced.
    auto self = shared_from_this();
    auto finish = [self, task, group, queue, announced](Value object, ErrorPtr failure, Value::Dictionary info) {
        auto complete = [self, task, object = std::move(object), failure, info = std::move(info),
                         announced]() mutable {
            if (self->completionHandler_) self->completionHandler_(task->response(), object, failure);
            // Nobody listening: no hop to the main queue for it.
            if (!announced &&
                !NotificationCenter::defaultCenter().hasObserversForName(kQNNetworkingTaskDidCompleteNotification))
                return;
            Value userInfo = announced ? Value(std::move(info)) : Value();
            dispatch::Queue::main()->async([task, userInfo = std::move(userInfo)] {
                NotificationCenter::defaultCenter().postNotificationName(kQNNetworkingTaskDidCompleteNotification,
                                                                         Value(task), userInfo);
            });
        };
        // Asked to complete on the processing queue, and already there.
        if (queue == QNURLSessionManager::processingQueue() && queue->isCurrent()) {
            group->enter();
            complete();
            group->leave();
        } else {
            group->async(queue, std::move(complete));
        }
    };

    ErrorPtr failure = error ? error : moveError_;
    if (failure) {
        userInfo[kQNNetworkingTaskDidCompleteErrorKey] = Value(std::const_pointer_cast<Error>(failure));
        if (announcesBody) userInfo[kQNNetworkingTaskDidCompleteResponseDataKey] = Value(std::move(*data));
        finish(Value(), failure, std::move(userInfo));
        return;
    }
    QNURLSessionManager::processingQueue()->async([self, task, serializer, data = std::move(data),
                                                   userInfo = std::move(userInfo), finish, announced,
                                                   announcesBody]() mutable {
        ErrorPtr serializationError;
        Value object;
        if (serializer) object = serializer->responseObjectForResponse(task->response(), data, &serializationError);
        if (announcesBody) userInfo[kQNNetworkingTaskDidCompleteResponseDataKey] = Value(std::move(*data));
        if (self->downloadFileURL_) object = Value(self->downloadFileURL_->absoluteString());
        if (announced && object) userInfo[kQNNetworkingTaskDidCompleteSerializedResponseKey] = object;
        if (announced && serializationError)
            userInfo[kQNNetworkingTaskDidCompleteErrorKey] = Value(std::const_pointer_cast<Error>(serializationError));
        finish(std::move(object), serializationError, std::move(userInfo));
    });
}
