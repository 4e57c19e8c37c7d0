// Trying serializers in turn.
#include "http/QNCompoundResponseSerializer.h"

using foundation::Data;
using foundation::ErrorPtr;
using foundation::Value;

namespace {
constexpr const char* kSerializersArchiveKey = "responseSerializers";
}

std::shared_ptr<QNCompoundResponseSerializer> QNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
    Serializers serializers) {
    auto compound = std::make_shared<QNCompoundResponseSerializer>();
    compound->setResponseSerializers(std::move(serializers));
    return compound;
}

Value QNCompoundResponseSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                              const std::optional<Data>& data, ErrorPtr* error) const {
    for (const auto& member : serializers_) {
        if (!member) continue;
        ErrorPtr memberError;
        Value result = member->responseObjectForResponse(response, data, &memberError);
        if (!result.isAbsent()) {
            if (error) *error = QNErrorChainedWithUnderlyingError(memberError, *error);
            return result;
        }
    }
    return QNHTTPResponseSerializer::responseObjectForResponse(response, data, error);
}

std::shared_ptr<QNHTTPResponseSerializer> QNCompoundResponseSerializer::copy() const {
    auto copy = std::make_shared<QNCompoundResponseSerializer>();
    copyConfigurationTo(*copy);
    copy->serializers_ = serializers_;
    return copy;
}

void QNCompoundResponseSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPResponseSerializer::encodeWithCoder(coder);
    coder.encodeObjects(serializers_, kSerializersArchiveKey);
}

std::shared_ptr<QNCompoundResponseSerializer> QNCompoundResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto compound = std::make_shared<QNCompoundResponseSerializer>();
    compound->decodeConfiguration(coder);
    compound->serializers_ = coder.decodeArrayOfObjectsOfClass<QNHTTPResponseSerializer>(kSerializersArchiveKey);
    return compound;
}
