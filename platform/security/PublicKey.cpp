// Keys are compared by OpenSSL rather than byte for byte, so that two
// encodings of one key (explicit or named curve parameters) still match.
#include "security/PublicKey.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace security {

namespace {

EVP_PKEY* parsePublicKey(const foundation::Data& der) {
    const unsigned char* p = der.bytes();
    return d2i_PUBKEY(nullptr, &p, static_cast<long>(der.length()));
}

}  // namespace

PublicKeyPtr PublicKey::createWithSubjectPublicKeyInfo(const foundation::Data& der) {
    if (der.empty()) return nullptr;
    EVP_PKEY* key = parsePublicKey(der);
    if (!key) return nullptr;
    EVP_PKEY_free(key);
    return PublicKeyPtr(new PublicKey(der));
}

bool PublicKey::isEqual(const PublicKey& other) const {
    if (der_ == other.der_) return true;
    EVP_PKEY* a = parsePublicKey(der_);
    EVP_PKEY* b = parsePublicKey(other.der_);
    bool equal = a && b && EVP_PKEY_eq(a, b) == 1;
    EVP_PKEY_free(a);
    EVP_PKEY_free(b);
    return equal;
}

}  // namespace security
