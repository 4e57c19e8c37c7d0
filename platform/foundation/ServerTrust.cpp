// Chain and host-name verification with OpenSSL against the default store.
// The store is loaded for each evaluation so that a changed $SSL_CERT_FILE
// (tests point it at their own authority) takes effect at once.
#include "foundation/ServerTrust.h"

#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>

namespace foundation {

namespace {

X509* parseDER(const Data& der) {
    const unsigned char* p = der.bytes();
    return d2i_X509(nullptr, &p, static_cast<long>(der.length()));
}

bool isIPAddress(const std::string& host) {
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

}  // namespace

bool ServerTrust::evaluateDefault() const {
    if (chain_.empty() || host_.empty()) return false;
    X509* leaf = parseDER(chain_.front());
    STACK_OF(X509)* untrusted = sk_X509_new_null();
    X509_STORE* store = X509_STORE_new();
    X509_STORE_CTX* ctx = X509_STORE_CTX_new();
    bool ok = leaf && untrusted && store && ctx;
    for (size_t i = 1; ok && i < chain_.size(); ++i) {
        X509* cert = parseDER(chain_[i]);
        if (!cert || !sk_X509_push(untrusted, cert)) {
            X509_free(cert);
            ok = false;
        }
    }
    ok = ok && X509_STORE_set_default_paths(store) == 1 && X509_STORE_CTX_init(ctx, store, leaf, untrusted) == 1;
    if (ok) {
        X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(ctx);
        X509_VERIFY_PARAM_set_purpose(param, X509_PURPOSE_SSL_SERVER);
        ok = isIPAddress(host_) ? X509_VERIFY_PARAM_set1_ip_asc(param, host_.c_str()) == 1
                                : X509_VERIFY_PARAM_set1_host(param, host_.c_str(), host_.size()) == 1;
    }
    ok = ok && X509_verify_cert(ctx) == 1;
    X509_STORE_CTX_free(ctx);
    X509_STORE_free(store);
    sk_X509_pop_free(untrusted, X509_free);
    X509_free(leaf);
    return ok;
}

}  // namespace foundation
