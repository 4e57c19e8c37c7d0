// The connection operation for HTTP: once the response is in, a response
// serializer turns it into an object, off the main thread, and exactly one
// of the success and failure blocks reports the result on the completion
// queue. A paused download resumes with a byte-range request ("Range" from
// where the body stopped, "If-Range" with the response's "ETag").
// Invariants: the response object is computed at most once per serializer,
// only after the operation finished without a transport error, under the
// operation's lock.
#pragma once

#include <functional>
#include <memory>

#include "foundation/HTTPURLResponse.h"
#include "http/QNHTTPResponseSerializer.h"
#include "http/QNURLConnectionOperation.h"

class QNHTTPRequestOperation;
using QNHTTPRequestOperationPtr = std::shared_ptr<QNHTTPRequestOperation>;

class QNHTTPRequestOperation : public QNURLConnectionOperation {
public:
    using Success = std::function<void(const QNHTTPRequestOperationPtr&, const foundation::Value& responseObject)>;
    using Failure = std::function<void(const QNHTTPRequestOperationPtr&, const foundation::ErrorPtr& error)>;

    explicit QNHTTPRequestOperation(foundation::URLRequest request);
    static QNHTTPRequestOperationPtr operationWithRequest(foundation::URLRequest request);
    std::string className() const override { return "QNHTTPRequestOperation"; }

    std::shared_ptr<foundation::HTTPURLResponse> response() const;
    std::shared_ptr<QNHTTPResponseSerializer> responseSerializer() const;
    // Clears the response object and its error, so the next ask serializes again.
    void setResponseSerializer(std::shared_ptr<QNHTTPResponseSerializer> serializer);
    // Absent before the operation finished or after a transport error.
    foundation::Value responseObject();
    foundation::ErrorPtr responseSerializationError() const;
    // The serializer's error when it gave one, else the transport error.
    foundation::ErrorPtr error() const override;

    void setCompletionBlockWithSuccess(Success success, Failure failure);
    void pause() override;

    // Same request, blocks, completion queue and group, and a copy of the
    // serializer; not the success and failure blocks.
    std::shared_ptr<QNURLConnectionOperation> copy() const override;

    // The base's archived form and the response serializer under
    // "responseSerializer".
    void encodeWithCoder(foundation::KeyedArchiver& coder) override;
    static QNHTTPRequestOperationPtr initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    std::shared_ptr<QNHTTPResponseSerializer> responseSerializer_;
    foundation::Value responseObject_;
    foundation::ErrorPtr responseSerializationError_;
};
