// The errors of URL loading: the kURLErrorDomain codes with the platform's
// descriptions and the failing URL in the user info, so that every failure a
// task reports reads the same wherever it was detected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"

namespace foundation {

// A refused server certificate's error: the ServerTrust it came in.
inline constexpr const char* kURLErrorFailingURLPeerTrustErrorKey = "NSURLErrorFailingURLPeerTrustErrorKey";

// `host` fills the description of an untrusted certificate; `underlying`
// says what the transport saw.
ErrorPtr makeURLError(int64_t code, const std::string& failingURL, const std::string& host = {},
                      ErrorPtr underlying = nullptr);
// ServerCertificateUntrusted with the chain the server presented for the host
// under kURLErrorFailingURLPeerTrustErrorKey, so that whoever reports the
// refusal can say what is wrong with the certificate.
ErrorPtr makeUntrustedCertificateError(const std::string& failingURL, const std::string& host,
                                       std::vector<Data> presentedChain, ErrorPtr underlying = nullptr);

}  // namespace foundation
