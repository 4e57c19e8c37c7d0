// An X.509 certificate as the trust evaluation sees it: DER bytes known to
// parse as a certificate. Immutable once made, so it may be shared freely
// between threads and trusts.
#pragma once

#include <memory>

#include "foundation/Data.h"

namespace security {

class Certificate;
using CertificatePtr = std::shared_ptr<const Certificate>;

class Certificate {
public:
    // Null when the bytes are not exactly one DER-encoded certificate.
    static CertificatePtr createWithData(const foundation::Data& der);

    // The DER encoding, as it was given.
    const foundation::Data& data() const { return der_; }

private:
    explicit Certificate(foundation::Data der) : der_(std::move(der)) {}

    foundation::Data der_;
};

}  // namespace security
