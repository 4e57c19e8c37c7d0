// A failed operation told with its cause: the app's own message says only
// that a load, delta or refresh failed; the service's reason (its "error"
// text, its status, a refused token) is what the user can act on.
#pragma once

#include <string>

#include "foundation/Error.h"

namespace quovana {

// Forgets the failures of earlier operations; the dispatcher calls it
// before each command.
void forgetServiceFailures();

// The message for a failed operation. When the service refused the token
// since the last forget: that the session has ended and to log in again,
// with the service's text. Otherwise the app's message with the first
// failed call's description beside it, else with the operation's own
// error, else alone.
std::string messageWithCause(const std::string& appMessage, const foundation::ErrorPtr& operationError = nullptr);

}  // namespace quovana
