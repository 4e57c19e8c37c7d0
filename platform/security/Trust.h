// Server trust for the HTTP library's security policy: the certificates a
// server presented (leaf first), the policies to check them against and the
// anchors that may end their chain; evaluation says whether they hold.
// Anchors are the system's trust store ($SSL_CERT_FILE and $SSL_CERT_DIR
// honoured, read at each evaluation) until setAnchorCertificates replaces
// them, after which only those anchor this trust (and an anchor need not be
// a root: a pinned intermediate or leaf ends the chain too).
// Invariants: a trust always holds at least one certificate; after an
// evaluation that found the chain valid, the certificates are the verified
// chain, from the leaf up to and including the anchor; otherwise they are the
// ones presented. Not safe for concurrent use: one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/ServerTrust.h"
#include "security/Certificate.h"
#include "security/Policy.h"
#include "security/PublicKey.h"

namespace security {

// Whether an operation could run at all (the platform's status codes).
enum class Status : int32_t {
    Success = 0,
    Parameter = -50,  // a missing or malformed argument
    Allocate = -108,  // the library could not make what it needed
};

// The verdict of an evaluation (the platform's numbers). This stand-in gives
// Unspecified for a valid chain and RecoverableTrustFailure otherwise; the
// other values exist for callers that test for them.
enum class TrustResult : uint32_t {
    Invalid = 0,
    Proceed = 1,
    Confirm = 2,
    Deny = 3,
    Unspecified = 4,
    RecoverableTrustFailure = 5,
    FatalTrustFailure = 6,
    OtherError = 7,
};

class Trust;
using TrustPtr = std::shared_ptr<Trust>;

class Trust {
public:
    // Parameter when there are no certificates.
    static Status create(std::vector<CertificatePtr> certificates, std::vector<PolicyPtr> policies, TrustPtr* trust);
    // The chain a TLS server presented, under the SSL policy for its host;
    // null when the chain is empty or holds something that is not a
    // certificate.
    static TrustPtr createWithServerTrust(const foundation::ServerTrust& serverTrust);

    // Replaces every policy; an evaluation checks all of them.
    Status setPolicies(std::vector<PolicyPtr> policies);
    // From now on only these anchor the trust.
    Status setAnchorCertificates(std::vector<CertificatePtr> anchors);

    // Success with the verdict in *result, or why the evaluation could not run.
    Status evaluate(TrustResult* result);

    size_t certificateCount() const { return chain_.size(); }
    // Null past the end.
    CertificatePtr certificateAtIndex(size_t index) const;
    // The leaf's key; null when the library cannot read it.
    PublicKeyPtr copyPublicKey() const;

private:
    Trust(std::vector<CertificatePtr> certificates, std::vector<PolicyPtr> policies)
        : presented_(certificates), chain_(std::move(certificates)), policies_(std::move(policies)) {}

    std::vector<CertificatePtr> presented_;
    std::vector<CertificatePtr> chain_;
    std::vector<PolicyPtr> policies_;
    bool customAnchors_ = false;
    std::vector<CertificatePtr> anchors_;
};

}  // namespace security
