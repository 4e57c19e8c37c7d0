// The errors of URL loading: the kURLErrorDomain codes with the platform's
// descriptions and the failing URL in the user info, so that every failure a
// task reports reads the same wherever it was detected.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/Error.h"

namespace foundation {

// Codes of the domain that Error.h leaves out.
namespace URLError {
inline constexpr int64_t Unknown = -1;
inline constexpr int64_t HTTPTooManyRedirects = -1007;
inline constexpr int64_t RequestBodyStreamExhausted = -1021;
inline constexpr int64_t FileDoesNotExist = -1100;
inline constexpr int64_t CannotWriteToFile = -3003;
}  // namespace URLError

// `host` fills the description of an untrusted certificate; `underlying`
// says what the transport saw.
ErrorPtr makeURLError(int64_t code, const std::string& failingURL, const std::string& host = {},
                      ErrorPtr underlying = nullptr);

}  // namespace foundation
