// The response of a URL load. HTTP responses add the status and header fields;
// the service layer keeps one in error user info so screens can read the
// status of a failed call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/HTTPHeaders.h"
#include "foundation/Object.h"
#include "foundation/URL.h"

namespace foundation {

class URLResponse : public Object {
public:
    URLResponse(std::optional<URL> url, std::optional<std::string> mimeType, int64_t expectedContentLength,
                std::optional<std::string> textEncodingName)
        : url_(std::move(url)), mimeType_(std::move(mimeType)), expectedLength_(expectedContentLength),
          textEncodingName_(std::move(textEncodingName)) {}

    const std::optional<URL>& url() const { return url_; }
    // Lower-case type without parameters ("application/json").
    const std::optional<std::string>& MIMEType() const { return mimeType_; }
    // -1 when unknown.
    int64_t expectedContentLength() const { return expectedLength_; }
    // The "charset" parameter of the content type, lower-cased.
    const std::optional<std::string>& textEncodingName() const { return textEncodingName_; }
    // The file name a download would be saved under.
    std::string suggestedFilename() const;
    std::string className() const override { return "NSURLResponse"; }

protected:
    std::optional<URL> url_;
    std::optional<std::string> mimeType_;
    int64_t expectedLength_;
    std::optional<std::string> textEncodingName_;
};

class HTTPURLResponse : public URLResponse {
public:
    // A response known only by its status (tests, error bodies built by hand).
    explicit HTTPURLResponse(int64_t statusCode) : HTTPURLResponse(std::nullopt, statusCode, {}) {}
    // Derives the MIME type, encoding and expected length from the headers.
    HTTPURLResponse(std::optional<URL> url, int64_t statusCode, HTTPHeaders headers);

    int64_t statusCode() const { return statusCode_; }
    const HTTPHeaders& allHeaderFields() const { return headers_; }
    std::optional<std::string> valueForHTTPHeaderField(std::string_view name) const { return headers_.get(name); }
    // The platform's lower-case reason phrase: 404 gives "not found".
    static std::string localizedStringForStatusCode(int64_t statusCode);
    std::string className() const override { return "NSHTTPURLResponse"; }

private:
    int64_t statusCode_;
    HTTPHeaders headers_;
};

}  // namespace foundation
