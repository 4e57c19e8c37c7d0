// The base response serializer: checks a finished HTTP response's status code
// and MIME type against what is acceptable and, itself, hands the body back
// unchanged. Subclasses parse the body (JSON, XML, property lists) after the
// same checks. Errors are in the response-serialization domain with the
// URL-loading codes -1016 (content type) and -1011 (status), and carry the
// response, the body and the failing URL in their user info. Configured once,
// then only read, so one serializer serves concurrent calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "foundation/Charset.h"
#include "foundation/KeyedArchiver.h"
#include "http/QNURLResponseSerialization.h"

class QNHTTPResponseSerializer : public foundation::Coding, public QNURLResponseSerialization {
public:
    QNHTTPResponseSerializer();
    static std::shared_ptr<QNHTTPResponseSerializer> serializer();

    // Fallback encoding of text bodies; UTF-8 unless set.
    foundation::StringEncoding stringEncoding() const { return stringEncoding_; }
    void setStringEncoding(foundation::StringEncoding encoding) { stringEncoding_ = encoding; }
    // 200 to 299 unless set; nothing turns the status check off.
    const std::optional<std::set<int64_t>>& acceptableStatusCodes() const { return acceptableStatusCodes_; }
    void setAcceptableStatusCodes(std::optional<std::set<int64_t>> codes) { acceptableStatusCodes_ = std::move(codes); }
    // MIME types without parameters, matched exactly; nothing (the base
    // class's default) turns the content-type check off.
    const std::optional<std::set<std::string>>& acceptableContentTypes() const { return acceptableContentTypes_; }
    void setAcceptableContentTypes(std::optional<std::set<std::string>> types) {
        acceptableContentTypes_ = std::move(types);
    }

    // Whether the response is acceptable. Only HTTP responses are tested. The
    // content-type error is made only for a non-empty body and a response with
    // a URL (otherwise the response is refused without error); the status
    // error only for a response with a URL, with the content-type error under
    // it. The error is stored in *error only when the response is refused.
    bool validateResponse(const std::shared_ptr<foundation::URLResponse>& response,
                          const std::optional<foundation::Data>& data, foundation::ErrorPtr* error) const;

    // The body unchanged (absent without body), whatever the validation says;
    // its error is in *error.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    // A new serializer of the same class with the acceptable codes and types
    // and the subclass's own settings; the string encoding returns to UTF-8.
    virtual std::shared_ptr<QNHTTPResponseSerializer> copy() const;

    static constexpr const char* kClassName = "QNHTTPResponseSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNHTTPResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

protected:
    // The check every parsing serializer runs first: false means "return no
    // result" (refused and no error out-parameter, or a content-type refusal).
    // After true the validation error, if any, is in *error.
    bool shouldDecodeBody(const std::shared_ptr<foundation::URLResponse>& response,
                          const std::optional<foundation::Data>& data, foundation::ErrorPtr* error) const;
    void copyConfigurationTo(QNHTTPResponseSerializer& target) const;
    void decodeConfiguration(const foundation::KeyedUnarchiver& coder);

private:
    foundation::StringEncoding stringEncoding_ = foundation::StringEncoding::UTF8;
    std::optional<std::set<int64_t>> acceptableStatusCodes_;
    std::optional<std::set<std::string>> acceptableContentTypes_;
};

// `error` with `underlying` chained under it. With no error, the underlying
// one; with no underlying error, or when `error` already has one, `error`.
foundation::ErrorPtr QNErrorChainedWithUnderlyingError(const foundation::ErrorPtr& error,
                                                       const foundation::ErrorPtr& underlying);

// Whether the error or any error chained under it has the code in the domain.
bool QNErrorChainContainsCodeInDomain(const foundation::ErrorPtr& error, int64_t code, const std::string& domain);
