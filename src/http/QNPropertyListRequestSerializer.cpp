// Property-list request bodies. Nothing in the app sends them; they are part
// of the library's request building all the same.
#include "http/QNPropertyListRequestSerializer.h"

#include "foundation/PropertyList.h"
#include "http/QNNetworking.h"

using foundation::ErrorPtr;
using foundation::PropertyListSerialization;
using foundation::URLRequest;
using foundation::Value;

namespace {

constexpr const char* kFormatArchiveKey = "format";
constexpr const char* kWriteOptionsArchiveKey = "writeOptions";

std::optional<foundation::Data> write(const Value& plist, unsigned format, ErrorPtr* error) {
    if (format != PropertyListSerialization::XMLFormat_v1_0) {
        if (error) {
            *error = foundation::Error::withDescription(foundation::kCocoaErrorDomain,
                                                        PropertyListSerialization::kWriteInvalidError,
                                                        QNLocalizedString(QNNetworkingMessage::kPropertyListFormatUnsupported));
        }
        return std::nullopt;
    }
    return PropertyListSerialization::dataWithPropertyList(plist, error);
}

}  // namespace

std::shared_ptr<QNPropertyListRequestSerializer> QNPropertyListRequestSerializer::serializer() {
    return serializerWithFormat(PropertyListSerialization::XMLFormat_v1_0, 0);
}

std::shared_ptr<QNPropertyListRequestSerializer> QNPropertyListRequestSerializer::serializerWithFormat(
    unsigned format, unsigned writeOptions) {
    auto serializer = std::make_shared<QNPropertyListRequestSerializer>();
    serializer->setFormat(format);
    serializer->setWriteOptions(writeOptions);
    return serializer;
}

std::optional<URLRequest> QNPropertyListRequestSerializer::requestBySerializingRequest(const URLRequest& request,
                                                                                       const Value& parameters,
                                                                                       ErrorPtr* error) const {
    if (encodesParametersInURI(request)) {
        return QNHTTPRequestSerializer::requestBySerializingRequest(request, parameters, error);
    }
    URLRequest result = request;
    addDefaultHeaders(result);
    if (!parameters.isAbsent()) {
        if (!result.valueForHTTPHeaderField("Content-Type")) result.setValue("application/x-plist", "Content-Type");
        result.setHTTPBody(write(parameters, format_, error));
    }
    return result;
}

std::shared_ptr<QNHTTPRequestSerializer> QNPropertyListRequestSerializer::copy() const {
    auto copy = std::make_shared<QNPropertyListRequestSerializer>();
    copyConfigurationTo(*copy);
    copy->format_ = format_;
    copy->writeOptions_ = writeOptions_;
    return copy;
}

void QNPropertyListRequestSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPRequestSerializer::encodeWithCoder(coder);
    coder.encodeInt64(format_, kFormatArchiveKey);
    coder.encodeInt64(writeOptions_, kWriteOptionsArchiveKey);
}

std::shared_ptr<QNPropertyListRequestSerializer> QNPropertyListRequestSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNPropertyListRequestSerializer>();
    serializer->decodeConfiguration(coder);
    serializer->format_ = static_cast<unsigned>(coder.decodeInt64ForKey(kFormatArchiveKey));
    serializer->writeOptions_ = static_cast<unsigned>(coder.decodeInt64ForKey(kWriteOptionsArchiveKey));
    return serializer;
}
