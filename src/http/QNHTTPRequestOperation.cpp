// Serialization runs on the concurrent processing queue so that parsing a
// large body never holds up the main thread or the network thread; the
// success or failure block then goes to the completion queue.
#include "http/QNHTTPRequestOperation.h"

#include "http/QNNetworking.h"

using namespace foundation;

namespace {

// Never destroyed, like the connection operation's queue and group: a
// response still being processed at exit must not find them gone.
dispatch::QueuePtr processingQueue() {
    static const auto* queue =
        new dispatch::QueuePtr(dispatch::Queue::createConcurrent(kQNHTTPRequestOperationProcessingQueueLabel));
    return *queue;
}

dispatch::GroupPtr sharedHTTPCompletionGroup() {
    static const auto* group = new dispatch::GroupPtr(dispatch::Group::create());
    return *group;
}

}  // namespace

QNHTTPRequestOperation::QNHTTPRequestOperation(URLRequest request)
    : QNURLConnectionOperation(std::move(request)), responseSerializer_(QNHTTPResponseSerializer::serializer()) {}

QNHTTPRequestOperationPtr QNHTTPRequestOperation::operationWithRequest(URLRequest request) {
    return std::make_shared<QNHTTPRequestOperation>(std::move(request));
}

std::shared_ptr<HTTPURLResponse> QNHTTPRequestOperation::response() const {
    return std::dynamic_pointer_cast<HTTPURLResponse>(QNURLConnectionOperation::response());
}

std::shared_ptr<QNHTTPResponseSerializer> QNHTTPRequestOperation::responseSerializer() const {
    std::lock_guard guard(lock());
    return responseSerializer_;
}

void QNHTTPRequestOperation::setResponseSerializer(std::shared_ptr<QNHTTPResponseSerializer> serializer) {
    std::lock_guard guard(lock());
    responseSerializer_ = std::move(serializer);
    responseObject_ = Value();
    responseSerializationError_ = nullptr;
}

Value QNHTTPRequestOperation::responseObject() {
    std::lock_guard guard(lock());
    if (!responseObject_ && !responseSerializationError_ && isFinished() && !QNURLConnectionOperation::error() &&
        responseSerializer_) {
        ErrorPtr error;
        responseObject_ = responseSerializer_->responseObjectForResponse(QNURLConnectionOperation::response(),
                                                                         responseData(), &error);
        if (error) responseSerializationError_ = error;
    }
    return responseObject_;
}

ErrorPtr QNHTTPRequestOperation::responseSerializationError() const {
    std::lock_guard guard(lock());
    return responseSerializationError_;
}

ErrorPtr QNHTTPRequestOperation::error() const {
    std::lock_guard guard(lock());
    return responseSerializationError_ ? responseSerializationError_ : QNURLConnectionOperation::error();
}

void QNHTTPRequestOperation::setCompletionBlockWithSuccess(Success success, Failure failure) {
    // Weakly: the started operation keeps itself alive until its completion
    // ran; from here on the chain holds it.
    std::weak_ptr<QNHTTPRequestOperation> weak = std::static_pointer_cast<QNHTTPRequestOperation>(self());
    setCompletionBlock([weak, success, failure] {
        auto operation = weak.lock();
        if (!operation) return;
        dispatch::GroupPtr callerGroup = operation->completionGroup();
        if (callerGroup) callerGroup->enter();
        processingQueue()->async([operation, success, failure, callerGroup] {
            dispatch::QueuePtr queue = operation->completionQueue();
            if (!queue) queue = dispatch::Queue::main();
            dispatch::GroupPtr group = callerGroup ? callerGroup : sharedHTTPCompletionGroup();
            auto fail = [&](const ErrorPtr& error) {
                if (failure) group->async(queue, [operation, failure, error] { failure(operation, error); });
            };
            if (ErrorPtr error = operation->error()) {
                fail(error);
            } else {
                Value object = operation->responseObject();
                if (ErrorPtr serializationError = operation->error()) fail(serializationError);
                else if (success) group->async(queue, [operation, success, object] { success(operation, object); });
            }
            if (callerGroup) callerGroup->leave();
        });
    });
}

void QNHTTPRequestOperation::pause() {
    QNURLConnectionOperation::pause();
    std::lock_guard guard(lock());
    OutputStreamPtr stream = outputStream();
    uint64_t offset = 0;
    Value fileOffset = stream->propertyForKey("NSStreamFileCurrentOffsetKey");
    Value memory = stream->propertyForKey(kStreamDataWrittenToMemoryStreamKey);
    if (fileOffset.isNumber()) offset = static_cast<uint64_t>(fileOffset.integerValue());
    else if (const Data* data = memory.data()) offset = data->length();
    // File streams here keep no offset property: what we wrote is where the
    // file ends, as the stream was opened fresh.
    else offset = bytesWrittenToOutputStream();

    URLRequest request = this->request();
    if (auto http = response()) {
        if (auto etag = http->valueForHTTPHeaderField("ETag")) request.setValue(*etag, "If-Range");
    }
    request.setValue("bytes=" + std::to_string(offset) + "-", "Range");
    setRequest(std::move(request));
}

std::shared_ptr<QNURLConnectionOperation> QNHTTPRequestOperation::copy() const {
    auto operation = operationWithRequest(request());
    copyInto(*operation);
    if (auto serializer = responseSerializer()) operation->setResponseSerializer(serializer->copy());
    return operation;
}
