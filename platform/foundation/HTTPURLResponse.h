// The response of an HTTP request as the URL-loading layer hands it over. The
// service layer keeps it in error user info so screens can read the status of
// a failed call.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/Object.h"

namespace foundation {

class HTTPURLResponse : public Object {
public:
    explicit HTTPURLResponse(int64_t statusCode) : statusCode_(statusCode) {}
    int64_t statusCode() const { return statusCode_; }
    std::string className() const override { return "NSHTTPURLResponse"; }

private:
    int64_t statusCode_;
};

}  // namespace foundation
