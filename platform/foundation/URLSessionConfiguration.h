// How a URL session loads: its timeouts and the header fields it adds to
// every request. A value; the session keeps its own copy, so changing a
// configuration after making a session does not change the session.
#pragma once

#include <optional>
#include <string>

#include "foundation/HTTPHeaders.h"

namespace foundation {

class URLSessionConfiguration {
public:
    static URLSessionConfiguration defaultSessionConfiguration() { return {}; }

    // Set only for background sessions, which this platform does not run.
    const std::optional<std::string>& identifier() const { return identifier_; }

    // The longest wait for the next byte of a request; a request's own
    // timeout counts when it is shorter.
    double timeoutIntervalForRequest() const { return requestTimeout_; }
    void setTimeoutIntervalForRequest(double seconds) { requestTimeout_ = seconds; }

    // Fields added to every request that does not set them itself.
    const HTTPHeaders& HTTPAdditionalHeaders() const { return additionalHeaders_; }
    void setHTTPAdditionalHeaders(HTTPHeaders headers) { additionalHeaders_ = std::move(headers); }

private:
    std::optional<std::string> identifier_;
    double requestTimeout_ = 60.0;
    HTTPHeaders additionalHeaders_;
};

}  // namespace foundation
