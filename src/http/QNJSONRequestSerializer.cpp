// JSON request bodies. Body parameters are never URL-encoded here, so the
// custom query builder of the base class plays no part in them.
#include "http/QNJSONRequestSerializer.h"

#include "foundation/JSONSerialization.h"

using foundation::ErrorPtr;
using foundation::URLRequest;
using foundation::Value;

namespace {
constexpr const char* kWritingOptionsArchiveKey = "writingOptions";
}

std::shared_ptr<QNJSONRequestSerializer> QNJSONRequestSerializer::serializerWithWritingOptions(unsigned options) {
    auto serializer = std::make_shared<QNJSONRequestSerializer>();
    serializer->setWritingOptions(options);
    return serializer;
}

std::optional<URLRequest> QNJSONRequestSerializer::requestBySerializingRequest(const URLRequest& request,
                                                                               const Value& parameters,
                                                                               ErrorPtr* error) const {
    if (encodesParametersInURI(request)) {
        return QNHTTPRequestSerializer::requestBySerializingRequest(request, parameters, error);
    }
    URLRequest result = request;
    addDefaultHeaders(result);
    if (!parameters.isAbsent()) {
        if (!result.valueForHTTPHeaderField("Content-Type")) result.setValue("application/json", "Content-Type");
        result.setHTTPBody(foundation::JSONSerialization::dataWithJSONObject(parameters, writingOptions_, error));
    }
    return result;
}

std::shared_ptr<QNHTTPRequestSerializer> QNJSONRequestSerializer::copy() const {
    auto copy = std::make_shared<QNJSONRequestSerializer>();
    copyConfigurationTo(*copy);
    copy->writingOptions_ = writingOptions_;
    return copy;
}

void QNJSONRequestSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPRequestSerializer::encodeWithCoder(coder);
    coder.encodeInt64(writingOptions_, kWritingOptionsArchiveKey);
}

std::shared_ptr<QNJSONRequestSerializer> QNJSONRequestSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNJSONRequestSerializer>();
    serializer->decodeConfiguration(coder);
    serializer->writingOptions_ = static_cast<unsigned>(coder.decodeInt64ForKey(kWritingOptionsArchiveKey));
    return serializer;
}
