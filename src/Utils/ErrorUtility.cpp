#include "Utils/ErrorUtility.h"

#include "foundation/HTTPURLResponse.h"

namespace ErrorUtility {

int64_t HTTPErrorCode(const foundation::ErrorPtr& error) {
    if (!error) return 0;
    if (auto response = error->userInfoValue(kErrorResponseObjectKey).objectAs<foundation::HTTPURLResponse>()) {
        return response->statusCode();
    }
    return error->code();
}

}  // namespace ErrorUtility
