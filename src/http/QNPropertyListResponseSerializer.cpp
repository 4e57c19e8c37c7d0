// Property-list response bodies.
#include "http/QNPropertyListResponseSerializer.h"

#include "foundation/PropertyList.h"

using foundation::Data;
using foundation::ErrorPtr;
using foundation::PropertyListSerialization;
using foundation::Value;

namespace {
constexpr const char* kResponseFormatArchiveKey = "format";
constexpr const char* kReadOptionsArchiveKey = "readOptions";
}  // namespace

QNPropertyListResponseSerializer::QNPropertyListResponseSerializer() {
    setAcceptableContentTypes(std::set<std::string>{"application/x-plist"});
}

std::shared_ptr<QNPropertyListResponseSerializer> QNPropertyListResponseSerializer::serializer() {
    return serializerWithFormat(PropertyListSerialization::XMLFormat_v1_0, 0);
}

std::shared_ptr<QNPropertyListResponseSerializer> QNPropertyListResponseSerializer::serializerWithFormat(
    unsigned format, unsigned readOptions) {
    auto serializer = std::make_shared<QNPropertyListResponseSerializer>();
    serializer->setFormat(format);
    serializer->setReadOptions(readOptions);
    return serializer;
}

Value QNPropertyListResponseSerializer::responseObjectForResponse(
    const std::shared_ptr<foundation::URLResponse>& response, const std::optional<Data>& data,
    ErrorPtr* error) const {
    if (!shouldDecodeBody(response, data, error) || !data || data->empty()) return Value();
    ErrorPtr serializationError;
    Value result = PropertyListSerialization::propertyListWithData(*data, &serializationError);
    if (error) *error = QNErrorChainedWithUnderlyingError(serializationError, *error);
    return result;
}

std::shared_ptr<QNHTTPResponseSerializer> QNPropertyListResponseSerializer::copy() const {
    auto copy = std::make_shared<QNPropertyListResponseSerializer>();
    copyConfigurationTo(*copy);
    copy->format_ = format_;
    copy->readOptions_ = readOptions_;
    return copy;
}

void QNPropertyListResponseSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPResponseSerializer::encodeWithCoder(coder);
    coder.encodeInt64(format_, kResponseFormatArchiveKey);
    coder.encodeInt64(readOptions_, kReadOptionsArchiveKey);
}

std::shared_ptr<QNPropertyListResponseSerializer> QNPropertyListResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNPropertyListResponseSerializer>();
    serializer->decodeConfiguration(coder);
    serializer->format_ = static_cast<unsigned>(coder.decodeInt64ForKey(kResponseFormatArchiveKey));
    serializer->readOptions_ = static_cast<unsigned>(coder.decodeInt64ForKey(kReadOptionsArchiveKey));
    return serializer;
}
