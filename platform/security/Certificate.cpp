// Certificates are checked by parsing once here; the trust evaluation parses
// the bytes again when it needs them, so no OpenSSL handle outlives a call.
#include "security/Certificate.h"

#include <openssl/x509.h>

namespace security {

CertificatePtr Certificate::createWithData(const foundation::Data& der) {
    if (der.empty()) return nullptr;
    const unsigned char* p = der.bytes();
    X509* cert = d2i_X509(nullptr, &p, static_cast<long>(der.length()));
    bool whole = cert && p == der.bytes() + der.length();
    X509_free(cert);
    if (!whole) return nullptr;
    return CertificatePtr(new Certificate(der));
}

}  // namespace security
