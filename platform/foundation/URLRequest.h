// A URL load request as a value: a non-const URLRequest is the platform's
// mutable request. The timeout defaults to 60 s so that a server that never
// answers cannot hold a caller for ever.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Data.h"
#include "foundation/HTTPHeaders.h"
#include "foundation/URL.h"

namespace foundation {

class InputStream;

class URLRequest {
public:
    enum class CachePolicy { UseProtocolCachePolicy = 0, ReloadIgnoringLocalCacheData = 1, ReturnCacheDataElseLoad = 2, ReturnCacheDataDontLoad = 3, ReloadIgnoringLocalAndRemoteCacheData = 4 };

    URLRequest() = default;
    explicit URLRequest(URL url) : url_(std::move(url)) {}

    const std::optional<URL>& url() const { return url_; }
    void setURL(std::optional<URL> url) { url_ = std::move(url); }
    const std::string& httpMethod() const { return method_; }
    void setHTTPMethod(std::string method) { method_ = std::move(method); }

    const HTTPHeaders& allHTTPHeaderFields() const { return headers_; }
    std::optional<std::string> valueForHTTPHeaderField(std::string_view name) const { return headers_.get(name); }
    // A missing value removes the field.
    void setValue(std::optional<std::string> value, std::string_view field) {
        if (value) headers_.set(field, std::move(*value));
        else headers_.remove(field);
    }
    void addValue(std::string_view value, std::string_view field) { headers_.add(field, value); }

    const std::optional<Data>& httpBody() const { return body_; }
    void setHTTPBody(std::optional<Data> body) { body_ = std::move(body); }
    const std::shared_ptr<InputStream>& httpBodyStream() const { return bodyStream_; }
    void setHTTPBodyStream(std::shared_ptr<InputStream> stream) { bodyStream_ = std::move(stream); }

    double timeoutInterval() const { return timeout_; }
    void setTimeoutInterval(double seconds) { timeout_ = seconds; }
    CachePolicy cachePolicy() const { return cachePolicy_; }
    void setCachePolicy(CachePolicy p) { cachePolicy_ = p; }
    bool HTTPShouldHandleCookies() const { return handleCookies_; }
    void setHTTPShouldHandleCookies(bool b) { handleCookies_ = b; }
    bool HTTPShouldUsePipelining() const { return pipelining_; }
    void setHTTPShouldUsePipelining(bool b) { pipelining_ = b; }
    bool allowsCellularAccess() const { return cellular_; }
    void setAllowsCellularAccess(bool b) { cellular_ = b; }
    int networkServiceType() const { return serviceType_; }
    void setNetworkServiceType(int t) { serviceType_ = t; }

private:
    std::optional<URL> url_;
    std::string method_ = "GET";
    HTTPHeaders headers_;
    std::optional<Data> body_;
    std::shared_ptr<InputStream> bodyStream_;
    double timeout_ = 60.0;
    CachePolicy cachePolicy_ = CachePolicy::UseProtocolCachePolicy;
    bool handleCookies_ = true;
    bool pipelining_ = false;
    bool cellular_ = true;
    int serviceType_ = 0;
};

}  // namespace foundation
