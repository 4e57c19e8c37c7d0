// The archived form of the connection and HTTP request operations. Writing
// pauses the operation first, so what is written is a resting state: an
// executing or paused operation is written as ready, and its request is the
// one a resume would send (for an HTTP operation, with the byte range).
#include <mutex>

#include "foundation/KeyedArchiver.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNSerializerArchiving.h"
#include "http/QNURLConnectionOperation.h"
#include "http/QNURLLoadingArchives.h"

using namespace foundation;

namespace {

constexpr const char* kRequestKey = "request";
constexpr const char* kStateKey = "state";
constexpr const char* kResponseKey = "response";
constexpr const char* kErrorKey = "error";
constexpr const char* kResponseDataKey = "responseData";
constexpr const char* kTotalBytesReadKey = "totalBytesRead";
constexpr const char* kResponseSerializerKey = "responseSerializer";

// Writes an operation, which cannot be a Coding object itself.
class OperationArchive : public Coding {
public:
    explicit OperationArchive(std::shared_ptr<QNURLConnectionOperation> operation)
        : operation_(std::move(operation)) {}
    std::string className() const override { return operation_->className(); }
    void encodeWithCoder(KeyedArchiver& coder) const override { operation_->encodeWithCoder(coder); }

private:
    std::shared_ptr<QNURLConnectionOperation> operation_;
};

}  // namespace

std::shared_ptr<Coding> QNURLConnectionOperation::archivable() {
    return std::make_shared<OperationArchive>(self());
}

void QNURLConnectionOperation::encodeWithCoder(KeyedArchiver& coder) {
    pause();
    std::lock_guard guard(lock_);
    QNEncodeURLRequest(coder, request_, kRequestKey);
    QNOperationState state = state_;
    if (state == QNOperationState::Executing || state == QNOperationState::Paused) state = QNOperationState::Ready;
    coder.encodeInt64(static_cast<int64_t>(state), kStateKey);
    QNEncodeURLResponse(coder, response_, kResponseKey);
    QNEncodeError(coder, error_, kErrorKey);
    if (responseData_) coder.encodeObject(Value(*responseData_), kResponseDataKey);
    coder.encodeInt64(totalBytesRead_, kTotalBytesReadKey);
}

void QNURLConnectionOperation::decodeArchivedFields(const KeyedUnarchiver& coder) {
    int64_t state = coder.decodeInt64ForKey(kStateKey);
    // Through the state rules: a finished operation comes back ready. An
    // archive never holds an executing one; such a state is not taken, as no
    // connection would stand behind it.
    if (state == static_cast<int64_t>(QNOperationState::Paused) || state == static_cast<int64_t>(QNOperationState::Finished))
        setState(static_cast<QNOperationState>(state));
    std::lock_guard guard(lock_);
    response_ = QNDecodeHTTPURLResponse(coder, kResponseKey);
    error_ = QNDecodeError(coder, kErrorKey);
    if (const Data* data = coder.decodeObjectForKey(kResponseDataKey).data()) responseData_ = *data;
    totalBytesRead_ = coder.decodeInt64ForKey(kTotalBytesReadKey);
}

std::shared_ptr<QNURLConnectionOperation> QNURLConnectionOperation::initWithCoder(const KeyedUnarchiver& coder) {
    auto operation = operationWithRequest(QNDecodeURLRequest(coder, kRequestKey).value_or(URLRequest()));
    operation->decodeArchivedFields(coder);
    return operation;
}

void QNURLConnectionOperation::registerArchiveClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        QNRegisterSerializerArchiveClasses();
        QNRegisterURLLoadingArchiveClasses();
        KeyedArchiver::registerClass("QNURLConnectionOperation", [](KeyedUnarchiver& coder) -> ObjectPtr {
            return QNURLConnectionOperation::initWithCoder(coder);
        });
        KeyedArchiver::registerClass("QNHTTPRequestOperation", [](KeyedUnarchiver& coder) -> ObjectPtr {
            return QNHTTPRequestOperation::initWithCoder(coder);
        });
    });
}

void QNHTTPRequestOperation::encodeWithCoder(KeyedArchiver& coder) {
    QNURLConnectionOperation::encodeWithCoder(coder);
    if (auto serializer = responseSerializer())
        coder.encodeObject(Value(std::static_pointer_cast<Object>(serializer)), kResponseSerializerKey);
}

QNHTTPRequestOperationPtr QNHTTPRequestOperation::initWithCoder(const KeyedUnarchiver& coder) {
    auto operation = operationWithRequest(QNDecodeURLRequest(coder, kRequestKey).value_or(URLRequest()));
    operation->decodeArchivedFields(coder);
    if (auto serializer = coder.decodeObjectOfClass<QNHTTPResponseSerializer>(kResponseSerializerKey))
        operation->setResponseSerializer(std::move(serializer));
    return operation;
}
