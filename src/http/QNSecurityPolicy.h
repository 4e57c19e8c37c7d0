// Decides whether the server trust of a TLS handshake is accepted: the
// chain under the SSL policy for the host (or the basic X.509 policy), and
// optionally pinned to certificates or public keys shipped in the bundle's
// resources ("*.cer", DER). The application keeps the default policy: no
// pinning, host name verified, invalid certificates refused.
// A policy is a plain value: set it up, then evaluate from any thread.
// Evaluation changes the trust it is given (its policies, and in
// certificate mode its anchors).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "security/PublicKey.h"
#include "security/Trust.h"

enum class QNSSLPinningMode : unsigned {
    None = 0,         // no pinning
    PublicKey = 1,    // the server's public keys must match pinned keys
    Certificate = 2,  // the chain must verify against, and match, the pinned certificates
};

class QNSecurityPolicy {
public:
    // Mode none, chain and host name validated, invalid certificates refused.
    QNSecurityPolicy() = default;

    // The bundle's "*.cer" resources, read once per process in the order of
    // their names; a file that cannot be read is left out.
    static const std::vector<foundation::Data>& defaultPinnedCertificates();
    static std::shared_ptr<QNSecurityPolicy> defaultPolicy();
    // The mode, pinned to defaultPinnedCertificates().
    static std::shared_ptr<QNSecurityPolicy> policyWithPinningMode(QNSSLPinningMode mode);

    QNSSLPinningMode SSLPinningMode() const { return mode_; }
    void setSSLPinningMode(QNSSLPinningMode mode) { mode_ = mode; }
    bool validatesCertificateChain() const { return validatesCertificateChain_; }
    void setValidatesCertificateChain(bool validates) { validatesCertificateChain_ = validates; }
    bool allowInvalidCertificates() const { return allowInvalidCertificates_; }
    void setAllowInvalidCertificates(bool allow) { allowInvalidCertificates_ = allow; }
    bool validatesDomainName() const { return validatesDomainName_; }
    void setValidatesDomainName(bool validates) { validatesDomainName_ = validates; }

    const std::optional<std::vector<foundation::Data>>& pinnedCertificates() const { return pinnedCertificates_; }
    // Also derives pinnedPublicKeys: one key per entry that yields one, in
    // order; nothing when the certificates are nothing.
    void setPinnedCertificates(std::optional<std::vector<foundation::Data>> certificates);
    const std::optional<std::vector<security::PublicKeyPtr>>& pinnedPublicKeys() const { return pinnedPublicKeys_; }

    // Whether to accept the trust for the host (nothing: no name to check).
    bool evaluateServerTrust(security::Trust& serverTrust, const std::optional<std::string>& domain) const;
    bool evaluateServerTrust(security::Trust& serverTrust) const {
        return evaluateServerTrust(serverTrust, std::nullopt);
    }

private:
    QNSSLPinningMode mode_ = QNSSLPinningMode::None;
    bool validatesCertificateChain_ = true;
    bool allowInvalidCertificates_ = false;
    bool validatesDomainName_ = true;
    std::optional<std::vector<foundation::Data>> pinnedCertificates_;
    std::optional<std::vector<security::PublicKeyPtr>> pinnedPublicKeys_;
};
