#include "api/ServiceFailureRecorder.h"

#include <mutex>

#include "Utils/ErrorUtility.h"
#include "foundation/HTTPURLResponse.h"
#include "http/QNNetworking.h"

namespace ServiceFailureRecorder {

namespace {

constexpr int64_t kUnauthorized = 401;

// The status of the answer: the API client keeps the response under its own
// key, the HTTP library's operations (feed, files) under theirs.
int64_t httpStatus(const foundation::ErrorPtr& error) {
    for (const char* key : {ErrorUtility::kErrorResponseObjectKey, kQNResponseSerializationErrorResponseKey})
        if (auto response = error->userInfoValue(key).objectAs<foundation::HTTPURLResponse>())
            return response->statusCode();
    return 0;
}

struct Record {
    std::mutex mutex;
    foundation::ErrorPtr first;
    foundation::ErrorPtr refusedToken;
};

Record& shared() {
    static Record* record = new Record();
    return *record;
}

}  // namespace

void record(const foundation::ErrorPtr& error) {
    if (!error) return;
    const bool refused = httpStatus(error) == kUnauthorized;
    auto& r = shared();
    std::lock_guard lock(r.mutex);
    if (!r.first) r.first = error;
    if (refused && !r.refusedToken) r.refusedToken = error;
}

void reset() {
    auto& r = shared();
    std::lock_guard lock(r.mutex);
    r.first = nullptr;
    r.refusedToken = nullptr;
}

foundation::ErrorPtr firstFailure() {
    auto& r = shared();
    std::lock_guard lock(r.mutex);
    return r.first;
}

foundation::ErrorPtr firstRefusedToken() {
    auto& r = shared();
    std::lock_guard lock(r.mutex);
    return r.refusedToken;
}

}  // namespace ServiceFailureRecorder
