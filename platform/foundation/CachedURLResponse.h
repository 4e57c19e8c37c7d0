// A response kept by a URL cache: the response as it arrived and its whole
// body. A value once made; sessions hand it to their delegate before storing
// it, and the delegate may answer another one (or none, to keep nothing).
#pragma once

#include <memory>

#include "foundation/Data.h"
#include "foundation/HTTPURLResponse.h"

namespace foundation {

class CachedURLResponse {
public:
    CachedURLResponse(std::shared_ptr<URLResponse> response, Data data)
        : response_(std::move(response)), data_(std::move(data)) {}

    const std::shared_ptr<URLResponse>& response() const { return response_; }
    const Data& data() const { return data_; }

private:
    std::shared_ptr<URLResponse> response_;
    Data data_;
};

using CachedURLResponsePtr = std::shared_ptr<const CachedURLResponse>;

}  // namespace foundation
