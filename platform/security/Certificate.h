// An X.509 certificate as the trust evaluation sees it: DER bytes known to
// parse as a certificate. Immutable once made, so it may be shared freely
// between threads and trusts.
#pragma once

#include <memory>
#include <string>
#include <vector>

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
    // The hosts it names: the DNS names and IP addresses of its subject
    // alternative names, in their order, else its subject's common name;
    // names that are not printable ASCII are left out.
    std::vector<std::string> hostNames() const;

private:
    explicit Certificate(foundation::Data der) : der_(std::move(der)) {}

    foundation::Data der_;
};

}  // namespace security
