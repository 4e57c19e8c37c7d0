// How a URL session loads: its timeouts, the header fields it adds to every
// request, the cache it keeps responses in and, for a background session,
// its identifier. A value; the session keeps its own copy, so changing a
// configuration after making a session does not change the session (the
// cache is shared by reference, as caches are).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/HTTPHeaders.h"

namespace foundation {

class URLCache;

class URLSessionConfiguration {
public:
    static URLSessionConfiguration defaultSessionConfiguration() { return {}; }
    // A session whose delegate hears didFinishEventsForBackgroundURLSession
    // each time its last running task has ended.
    static URLSessionConfiguration backgroundSessionConfigurationWithIdentifier(std::string identifier) {
        URLSessionConfiguration configuration;
        configuration.identifier_ = std::move(identifier);
        return configuration;
    }

    // Set only for background sessions.
    const std::optional<std::string>& identifier() const { return identifier_; }

    // The longest wait for the next byte of a request; a request's own
    // timeout counts when it is shorter.
    double timeoutIntervalForRequest() const { return requestTimeout_; }
    void setTimeoutIntervalForRequest(double seconds) { requestTimeout_ = seconds; }

    // Fields added to every request that does not set them itself.
    const HTTPHeaders& HTTPAdditionalHeaders() const { return additionalHeaders_; }
    void setHTTPAdditionalHeaders(HTTPHeaders headers) { additionalHeaders_ = std::move(headers); }

    // The most connections the session has open to one host at a time (at
    // least one). Tasks beyond it wait for a connection to come free and go
    // on over it, so a burst of requests reuses a few connections instead of
    // opening one each. The phone's default.
    int HTTPMaximumConnectionsPerHost() const { return maximumConnectionsPerHost_; }
    void setHTTPMaximumConnectionsPerHost(int count) { maximumConnectionsPerHost_ = count < 1 ? 1 : count; }

    // The shared cache unless set; null keeps nothing.
    std::shared_ptr<URLCache> urlCache() const;
    void setURLCache(std::shared_ptr<URLCache> cache) { cache_ = std::move(cache); }

private:
    std::optional<std::string> identifier_;
    double requestTimeout_ = 60.0;
    int maximumConnectionsPerHost_ = 4;
    HTTPHeaders additionalHeaders_;
    std::optional<std::shared_ptr<URLCache>> cache_;
};

}  // namespace foundation
