// The errors of URL loading: the kURLErrorDomain codes with the platform's
// descriptions and the failing URL in the user info, so that every failure a
// task reports reads the same wherever it was detected.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/Error.h"

namespace foundation {

// `host` fills the description of an untrusted certificate; `underlying`
// says what the transport saw.
ErrorPtr makeURLError(int64_t code, const std::string& failingURL, const std::string& host = {},
                      ErrorPtr underlying = nullptr);

}  // namespace foundation
