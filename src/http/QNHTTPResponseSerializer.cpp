// Response validation and the error rules the parsing serializers share. A
// refused status still lets a subclass parse the body, because the service
// explains its failures in the body; a refused content type does not, because
// the body is then in a form the subclass cannot read.
#include "http/QNHTTPResponseSerializer.h"

#include "foundation/Format.h"
#include "http/QNNetworking.h"

using foundation::Data;
using foundation::Error;
using foundation::ErrorPtr;
using foundation::Value;

namespace {

constexpr const char* kStatusCodesArchiveKey = "acceptableStatusCodes";
constexpr const char* kContentTypesArchiveKey = "acceptableContentTypes";

Value::Dictionary validationUserInfo(const std::string& description,
                                     const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                     const std::optional<Data>& data) {
    Value::Dictionary info;
    info[foundation::kLocalizedDescriptionKey] = Value(description);
    info[foundation::kURLErrorFailingURLErrorKey] = Value(response->url()->absoluteString());
    info[kQNResponseSerializationErrorResponseKey] = Value(response);
    if (data) info[kQNResponseSerializationErrorDataKey] = Value(*data);
    return info;
}

}  // namespace

QNHTTPResponseSerializer::QNHTTPResponseSerializer() {
    std::set<int64_t> codes;
    for (int64_t code = 200; code < 300; ++code) codes.insert(codes.end(), code);
    acceptableStatusCodes_ = std::move(codes);
}

std::shared_ptr<QNHTTPResponseSerializer> QNHTTPResponseSerializer::serializer() {
    return std::make_shared<QNHTTPResponseSerializer>();
}

bool QNHTTPResponseSerializer::validateResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<Data>& data, ErrorPtr* error) const {
    auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
    if (!http) return true;

    bool valid = true;
    ErrorPtr validationError;
    const auto& mimeType = http->MIMEType();
    if (acceptableContentTypes_ && !(mimeType && acceptableContentTypes_->count(*mimeType))) {
        valid = false;
        if (data && !data->empty() && http->url()) {
            std::string description = foundation::Format(
                QNLocalizedString(QNNetworkingMessage::kUnacceptableContentType), mimeType ? Value(*mimeType) : Value());
            validationError = Error::make(kQNURLResponseSerializationErrorDomain,
                                          foundation::URLError::CannotDecodeContentData,
                                          validationUserInfo(description, http, data));
        }
    }
    if (acceptableStatusCodes_ && !acceptableStatusCodes_->count(http->statusCode()) && http->url()) {
        valid = false;
        std::string description =
            foundation::Format(QNLocalizedString(QNNetworkingMessage::kUnacceptableStatusCode),
                               foundation::HTTPURLResponse::localizedStringForStatusCode(http->statusCode()),
                               http->statusCode());
        auto statusError = Error::make(kQNURLResponseSerializationErrorDomain, foundation::URLError::BadServerResponse,
                                       validationUserInfo(description, http, data));
        validationError = QNErrorChainedWithUnderlyingError(statusError, validationError);
    }
    if (!valid && error) *error = validationError;
    return valid;
}

bool QNHTTPResponseSerializer::shouldDecodeBody(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<Data>& data, ErrorPtr* error) const {
    if (validateResponse(response, data, error)) return true;
    if (!error) return false;
    return !QNErrorChainContainsCodeInDomain(*error, foundation::URLError::CannotDecodeContentData,
                                             kQNURLResponseSerializationErrorDomain);
}

Value QNHTTPResponseSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                          const std::optional<Data>& data, ErrorPtr* error) const {
    validateResponse(response, data, error);
    return data ? Value(*data) : Value();
}

void QNHTTPResponseSerializer::copyConfigurationTo(QNHTTPResponseSerializer& target) const {
    target.acceptableStatusCodes_ = acceptableStatusCodes_;
    target.acceptableContentTypes_ = acceptableContentTypes_;
}

std::shared_ptr<QNHTTPResponseSerializer> QNHTTPResponseSerializer::copy() const {
    auto copy = std::make_shared<QNHTTPResponseSerializer>();
    copyConfigurationTo(*copy);
    return copy;
}

void QNHTTPResponseSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    if (acceptableStatusCodes_) {
        Value::Array codes;
        for (int64_t code : *acceptableStatusCodes_) codes.emplace_back(code);
        coder.encodeObject(Value(std::move(codes)), kStatusCodesArchiveKey);
    }
    if (acceptableContentTypes_) {
        Value::Array types;
        for (const auto& type : *acceptableContentTypes_) types.emplace_back(type);
        coder.encodeObject(Value(std::move(types)), kContentTypesArchiveKey);
    }
}

void QNHTTPResponseSerializer::decodeConfiguration(const foundation::KeyedUnarchiver& coder) {
    acceptableStatusCodes_.reset();
    if (const auto* codes = coder.decodeObjectForKey(kStatusCodesArchiveKey).array()) {
        acceptableStatusCodes_.emplace();
        for (const auto& code : *codes) {
            if (code.isInteger()) acceptableStatusCodes_->insert(code.integerValue());
        }
    }
    acceptableContentTypes_.reset();
    if (const auto* types = coder.decodeObjectForKey(kContentTypesArchiveKey).array()) {
        acceptableContentTypes_.emplace();
        for (const auto& type : *types) {
            if (type.isString()) acceptableContentTypes_->insert(*type.string());
        }
    }
}

std::shared_ptr<QNHTTPResponseSerializer> QNHTTPResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNHTTPResponseSerializer>();
    serializer->decodeConfiguration(coder);
    return serializer;
}

ErrorPtr QNErrorChainedWithUnderlyingError(const ErrorPtr& error, const ErrorPtr& underlying) {
    if (!error) return underlying;
    if (!underlying || error->underlyingError()) return error;
    return Error::make(error->domain(), error->code(), error->userInfo(), underlying);
}

bool QNErrorChainContainsCodeInDomain(const ErrorPtr& error, int64_t code, const std::string& domain) {
    for (const Error* e = error.get(); e; e = e->underlyingError().get()) {
        if (e->code() == code && e->domain() == domain) return true;
    }
    return false;
}
