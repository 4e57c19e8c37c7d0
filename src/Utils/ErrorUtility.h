// The HTTP status of a failed service call, as the login and session screens
// compare it (400 rejected login, 409 conflicting change).
#pragma once

#include <cstdint>

#include "foundation/Error.h"

namespace ErrorUtility {

// The user-info key under which the service layer keeps the HTTP response.
inline constexpr const char* kErrorResponseObjectKey = "errorResponseObjectKey";

// The status code of the stored HTTP response, else the error's own code
// (0 for no error).
int64_t HTTPErrorCode(const foundation::ErrorPtr& error);

}  // namespace ErrorUtility
