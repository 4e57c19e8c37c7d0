// Evaluation with OpenSSL's verifier: one verification of the presented chain
// per policy, all against one store of anchors made for this evaluation (so a
// changed $SSL_CERT_FILE counts at once). The host name is checked on the
// leaf after the chain has verified, as the SSL policy asks.
#include "security/Trust.h"

#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

#include <string>

namespace security {

namespace {

X509* parseCertificate(const foundation::Data& der) {
    const unsigned char* p = der.bytes();
    return d2i_X509(nullptr, &p, static_cast<long>(der.length()));
}

CertificatePtr certificateOf(X509* cert) {
    unsigned char* out = nullptr;
    int length = i2d_X509(cert, &out);
    if (length <= 0) return nullptr;
    foundation::Data der(out, static_cast<size_t>(length));
    OPENSSL_free(out);
    return Certificate::createWithData(der);
}

bool isIPAddress(const std::string& host) {
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

bool leafNamesHost(X509* leaf, const std::string& host) {
    if (isIPAddress(host)) return X509_check_ip_asc(leaf, host.c_str(), 0) == 1;
    return X509_check_host(leaf, host.c_str(), host.size(), 0, nullptr) == 1;
}

// Everything one evaluation needs from OpenSSL, released together.
struct Verifier {
    X509* leaf = nullptr;
    STACK_OF(X509) * untrusted = nullptr;
    X509_STORE* store = nullptr;

    ~Verifier() {
        sk_X509_pop_free(untrusted, X509_free);
        X509_STORE_free(store);
        X509_free(leaf);
    }

    // Whether the chain holds under the policy; the verified chain in *chain.
    bool verify(const Policy& policy, bool partialChain, std::vector<CertificatePtr>* chain) const {
        X509_STORE_CTX* ctx = X509_STORE_CTX_new();
        bool ok = ctx && X509_STORE_CTX_init(ctx, store, leaf, untrusted) == 1;
        if (ok) {
            X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(ctx);
            if (partialChain) X509_VERIFY_PARAM_set_flags(param, X509_V_FLAG_PARTIAL_CHAIN);
            if (policy.kind() == Policy::Kind::SSL)
                X509_VERIFY_PARAM_set_purpose(param,
                                              policy.isServer() ? X509_PURPOSE_SSL_SERVER : X509_PURPOSE_SSL_CLIENT);
            ok = X509_verify_cert(ctx) == 1;
        }
        if (ok && policy.kind() == Policy::Kind::SSL && policy.hostName() && !policy.hostName()->empty())
            ok = leafNamesHost(leaf, *policy.hostName());
        if (ok) {
            chain->clear();
            STACK_OF(X509)* verified = X509_STORE_CTX_get0_chain(ctx);
            for (int i = 0; verified && i < sk_X509_num(verified); ++i) {
                CertificatePtr cert = certificateOf(sk_X509_value(verified, i));
                if (!cert) {
                    ok = false;
                    break;
                }
                chain->push_back(std::move(cert));
            }
        }
        X509_STORE_CTX_free(ctx);
        return ok;
    }
};

}  // namespace

Status Trust::create(std::vector<CertificatePtr> certificates, std::vector<PolicyPtr> policies, TrustPtr* trust) {
    if (!trust) return Status::Parameter;
    *trust = nullptr;
    if (certificates.empty()) return Status::Parameter;
    for (const auto& c : certificates)
        if (!c) return Status::Parameter;
    std::erase(policies, nullptr);
    trust->reset(new Trust(std::move(certificates), std::move(policies)));
    return Status::Success;
}

TrustPtr Trust::createWithServerTrust(const foundation::ServerTrust& serverTrust) {
    std::vector<CertificatePtr> certificates;
    for (const auto& der : serverTrust.certificateChain()) {
        CertificatePtr cert = Certificate::createWithData(der);
        if (!cert) return nullptr;
        certificates.push_back(std::move(cert));
    }
    std::optional<std::string> host;
    if (!serverTrust.host().empty()) host = serverTrust.host();
    TrustPtr trust;
    create(std::move(certificates), {Policy::createSSL(true, std::move(host))}, &trust);
    return trust;
}

Status Trust::setPolicies(std::vector<PolicyPtr> policies) {
    std::erase(policies, nullptr);
    policies_ = std::move(policies);
    return Status::Success;
}

Status Trust::setAnchorCertificates(std::vector<CertificatePtr> anchors) {
    std::erase(anchors, nullptr);
    anchors_ = std::move(anchors);
    customAnchors_ = true;
    return Status::Success;
}

Status Trust::evaluate(TrustResult* result) {
    if (!result) return Status::Parameter;
    chain_ = presented_;
    Verifier v;
    v.leaf = parseCertificate(presented_.front()->data());
    v.untrusted = sk_X509_new_null();
    v.store = X509_STORE_new();
    if (!v.leaf || !v.untrusted || !v.store) return Status::Allocate;
    for (size_t i = 1; i < presented_.size(); ++i) {
        X509* cert = parseCertificate(presented_[i]->data());
        if (!cert || !sk_X509_push(v.untrusted, cert)) {
            X509_free(cert);
            return Status::Allocate;
        }
    }
    if (customAnchors_) {
        for (const auto& anchor : anchors_) {
            X509* cert = parseCertificate(anchor->data());
            // The store takes its own reference.
            if (cert) X509_STORE_add_cert(v.store, cert);
            X509_free(cert);
        }
    } else {
        // A store that cannot be read anchors nothing, and the chain fails.
        X509_STORE_set_default_paths(v.store);
    }

    std::vector<PolicyPtr> policies = policies_;
    if (policies.empty()) policies.push_back(Policy::createBasicX509());
    std::vector<CertificatePtr> verified;
    bool valid = true;
    for (const auto& policy : policies) {
        if (!v.verify(*policy, customAnchors_, &verified)) {
            valid = false;
            break;
        }
    }
    if (valid) chain_ = std::move(verified);
    *result = valid ? TrustResult::Unspecified : TrustResult::RecoverableTrustFailure;
    return Status::Success;
}

CertificatePtr Trust::certificateAtIndex(size_t index) const {
    return index < chain_.size() ? chain_[index] : nullptr;
}

PublicKeyPtr Trust::copyPublicKey() const {
    X509* leaf = parseCertificate(presented_.front()->data());
    if (!leaf) return nullptr;
    PublicKeyPtr key;
    unsigned char* out = nullptr;
    int length = i2d_PUBKEY(X509_get0_pubkey(leaf), &out);
    if (length > 0) {
        key = PublicKey::createWithSubjectPublicKeyInfo(foundation::Data(out, static_cast<size_t>(length)));
        OPENSSL_free(out);
    }
    X509_free(leaf);
    return key;
}

}  // namespace security
